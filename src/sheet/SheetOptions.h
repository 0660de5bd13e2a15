#pragma once

#include <QString>
#include <QStringList>

// panelconfig sheet FILE... -o PDF
struct SheetOptions {
    QStringList files; // in the order given, one page each
    QString output;    // the PDF
};
