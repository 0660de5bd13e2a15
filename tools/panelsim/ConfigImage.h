#pragma once

#include <QString>

class PanelEngine;

// Puts the configuration of a .zqc file into the panel's memory as a write
// from the tool would leave it: addresses 0 ... 24.
bool loadConfigFile(const QString& path, PanelEngine& engine, QString* error);
