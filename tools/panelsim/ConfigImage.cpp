#include "ConfigImage.h"

#include "PanelEngine.h"
#include "files/ConfigFile.h"

#include <QFile>

bool loadConfigFile(const QString& path, PanelEngine& engine, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const auto line = ConfigFile::parse(file.read(ConfigFile::maxBytes));
    if (!line) {
        *error = QStringLiteral("%1: not a readable configuration file").arg(path);
        return false;
    }
    if (line->model != ConfigFile::modelText) {
        *error =
            QStringLiteral("%1: a configuration for another model (\"%2\")").arg(path, line->model);
        return false;
    }
    for (int k = 0; k < 20; ++k)
        engine.setValue(k, line->code[k]);
    // The file keeps bl, dimch, indicator, backlighting, dimmed; the panel
    // keeps backlighting before indicator.
    engine.setValue(20, line->value[0]);
    engine.setValue(21, line->value[1]);
    engine.setValue(22, line->value[3]);
    engine.setValue(23, line->value[2]);
    engine.setValue(24, line->value[4]);
    return true;
}
