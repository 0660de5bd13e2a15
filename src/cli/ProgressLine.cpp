#include "cli/ProgressLine.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

QString ProgressLine::text(int done, int of) {
    constexpr int width = 20;
    const int filled = of > 0 ? qBound(0, done * width / of, width) : 0;
    const QString bar =
        QStringLiteral("[%1%2]").arg(QString(filled, u'#'), QString(width - filled, u' '));
    QString step;
    if (done <= 0)
        step = QStringLiteral("handshake");
    else if (done == 1)
        step = QStringLiteral("handshake done, identity");
    else
        step = QStringLiteral("handshake, identity, %1 of %2 values").arg(done - 2).arg(of - 2);
    return QStringLiteral("%1 %2 of %3: %4").arg(bar).arg(done).arg(of).arg(step);
}

void ProgressLine::show(int done, int of) {
    const QString line = text(done, of);
    // Carriage return and overwrite; blanks cover a longer line before it.
    const qsizetype pad = qMax<qsizetype>(0, m_shown - line.size());
    m_write(QLatin1Char('\r') + line + QString(pad, u' '));
    m_shown = line.size() + pad;
}

void ProgressLine::clear() {
    if (m_shown == 0)
        return;
    m_write(QLatin1Char('\r') + QString(m_shown, u' ') + QLatin1Char('\r'));
    m_shown = 0;
}

bool ProgressLine::standardErrorIsTerminal() {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(fileno(stderr)) != 0;
#endif
}
