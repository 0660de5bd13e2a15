#include "files/FileNames.h"

namespace FileNames {
namespace {

bool isRefusedCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringView(u"\\/:*?\"<>|").contains(c);
}

// Windows takes the part before the first dot, without the spaces that end
// it, as the name of the device: "com1 .zqc" opens the serial port too.
bool isDeviceName(QStringView name) {
    QStringView stem = name.left(name.indexOf(u'.'));
    while (stem.endsWith(u' '))
        stem.chop(1);
    static const QStringView plain[] = {u"CON", u"PRN", u"AUX", u"NUL"};
    for (QStringView device : plain)
        if (stem.compare(device, Qt::CaseInsensitive) == 0)
            return true;
    if (stem.size() != 4)
        return false;
    const QStringView prefix = stem.left(3);
    if (prefix.compare(u"COM", Qt::CaseInsensitive) != 0 &&
        prefix.compare(u"LPT", Qt::CaseInsensitive) != 0)
        return false;
    // 1 to 9, and the superscripts ¹ ² ³ that Windows takes for 1 2 3.
    return QStringView(u"123456789\u00b9\u00b2\u00b3").contains(stem[3]);
}

} // namespace

QString whyNotPortable(QStringView name) {
    if (name.isEmpty())
        return QStringLiteral("is empty");
    for (QChar c : name)
        if (isRefusedCharacter(c))
            return c.unicode() < 0x20 || c.unicode() == 0x7f
                       ? QStringLiteral("holds a control character")
                       : QStringLiteral("holds the character %1").arg(c);
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return QStringLiteral("ends in a dot or a space");
    if (isDeviceName(name))
        return QStringLiteral("is a device name");
    return {};
}

QString fromPanelName(const QString& name) {
    QString cleaned = name;
    for (QChar& c : cleaned)
        if (isRefusedCharacter(c))
            c = QLatin1Char('_');
    // "COM1.zqc" would name the serial port itself on Windows.
    if (isDeviceName(cleaned))
        cleaned.prepend(QLatin1Char('_'));
    return cleaned;
}

} // namespace FileNames
