#pragma once

#include <QString>
#include <QStringList>

// panelconfig sheet FILE... -o PDF
struct SheetOptions {
    QStringList files;  // in the order given, one page each
    QString output;     // the PDF
    QString site = {};  // the site's name for the cover; a cover too with more than one file
    QString by = {};    // who configured it, for the cover
    QString paper = {}; // "A4" or "Letter"; empty: the environment's (LC_PAPER)
};
