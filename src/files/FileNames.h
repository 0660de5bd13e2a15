#pragma once

#include <QString>

// File names that every system the site uses accepts: files travel between
// the site's Windows laptops, USB sticks and Linux, so one rule, Windows'
// (the strictest), decides for the panel name's file and for a name given in
// a schedule alike.
namespace FileNames {

// Why Windows would refuse NAME as the name of a file in a folder, in words
// that follow "it" ("holds the character *"); empty when it takes it.
// Refused: an empty name, \ / : * ? " < > | and control characters, a dot or
// space at the end, and a device name (CON, PRN, AUX, NUL, COM1 … COM9,
// LPT1 … LPT9, COM¹ … COM³, LPT¹ … LPT³) in any case, with or without an
// extension ("nul.tar.gz", "CON .zqc").
QString whyNotPortable(QStringView name);

// The panel name as the start of a file name: each character Windows
// refuses becomes "_", and a device name gets a "_" in front, so that the
// name with an extension appended is always portable.
QString fromPanelName(const QString& name);

} // namespace FileNames
