#pragma once

#include "files/ConfigFile.h"

#include <QFile>
#include <QString>
#include <QTest>

// A configuration file of a site: the panel's name and nothing assigned.
inline void writeSiteConfig(const QString& path, const QString& panel) {
    ConfigFileLine config;
    config.model = ConfigFile::modelText;
    config.panel = panel;
    config.code.fill(160);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(ConfigFile::format(config));
}
