#include "files/FileNames.h"

#include <QRegularExpression>

namespace FileNames {

QString fromPanelName(const QString& name) {
    QString cleaned = name;
    for (QChar& c : cleaned) {
        if (QStringView(u"\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    // "COM1.zqc" would name the serial port itself on Windows.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\.|$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(cleaned).hasMatch())
        cleaned.prepend(QLatin1Char('_'));
    return cleaned;
}

} // namespace FileNames
