#include "site/Handover.h"

#include "platform/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace {
// One key for a folder however it was named: "site", "./site/", "/work/site".
QString keyOf(const QString& folder) {
    return QDir(folder).absolutePath();
}
} // namespace

QString Handover::folderName(const QString& folder) {
    return QFileInfo(keyOf(folder)).fileName();
}

Handover::Fields Handover::remembered(const QString& folder, const Settings* settings) {
    Fields fields;
    if (settings) {
        fields.name = settings->siteValue(keyOf(folder), Settings::siteName);
        fields.by = settings->siteValue(keyOf(folder), Settings::siteConfiguredBy);
    }
    if (fields.name.isEmpty())
        fields.name = folderName(folder);
    return fields;
}

void Handover::remember(const QString& folder, const Fields& fields, Settings* settings) {
    if (!settings)
        return;
    settings->setSiteValue(keyOf(folder), Settings::siteName, fields.name.trimmed());
    settings->setSiteValue(keyOf(folder), Settings::siteConfiguredBy, fields.by.trimmed());
}
