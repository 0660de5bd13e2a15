#pragma once

#include <QString>

class Settings;

// What a site's handover document is made out to: the site's name and who
// configured it, remembered per folder for the site window and the main
// window's site document alike.
namespace Handover {
struct Fields {
    QString name;
    QString by; // who configured the site
};

// The folder's own name: what a site is called until it is given a name.
QString folderName(const QString& folder);
// As last entered for folder; the name is the folder's own until one was.
// Without settings, only that.
Fields remembered(const QString& folder, const Settings* settings);
// Keeps fields, trimmed, for folder; nothing without settings.
void remember(const QString& folder, const Fields& fields, Settings* settings);
} // namespace Handover
