#pragma once

#include "files/RecordFile.h"

#include <QByteArray>
#include <QString>

// The traffic log for support: every byte sent and received, one command or
// reply a line, with the port's opening and closing and each transaction's
// outcome, each line time-stamped and written through at once.
//
//   2026-12-08 14:03:07.412  >  56 00 3F 30 30 56   V.?00V
//   2026-12-08 14:03:07.431  <  30 30 36 31 30      00610
class LinkTrace {
public:
    // Appends to path; false with a reason when it may not or cannot be
    // opened (a pipe, a device, a configuration file or a PDF).
    bool open(const QString& path, QString* error) { return m_file.open(path, error); }
    // A line that could not be written: reported once, at once.
    std::optional<QString> failure() const { return m_file.failure(); }
    void setFailureReport(RecordFile::FailureReport report) {
        m_file.setFailureReport(std::move(report));
    }

    void sent(const QByteArray& bytes) { line('>', bytes); }
    void received(const QByteArray& bytes) { line('<', bytes); }
    // An event in words: the port opened or closed, a fault, an outcome.
    void note(const QString& text);

    // "56 00 3F 30 30 56   V.?00V": hex, then the printable characters.
    static QString render(const QByteArray& bytes);

private:
    void line(char direction, const QByteArray& bytes);
    void write(const QString& text);

    RecordFile m_file;
};
