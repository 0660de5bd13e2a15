#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

// Windows-1252, the 8-bit code page of configuration files: Latin-1 with 27
// printable characters in 0x80 ... 0x9F. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 characters of the
// same value, so every byte decodes and encodes back to itself.
namespace Cp1252 {
QString decode(QByteArrayView bytes);

// Meant for text that canEncode entirely; anything else becomes '?'.
QByteArray encode(QStringView text);

bool canEncode(QChar c);

// True when the text can be saved in a configuration file and read back
// exactly: every character encodable, no double quote (it would end the
// field), no control character.
bool isStorableText(QStringView text);
} // namespace Cp1252
