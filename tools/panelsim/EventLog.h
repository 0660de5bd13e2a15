#pragma once

#include <QFile>
#include <QString>

// What the simulator saw and did, one line each, to a file and/or standard
// output; every line is flushed at once so a test can read it while we run.
class EventLog {
public:
    // An empty path writes no file.
    bool open(const QString& path, bool toStdout, QString* error);
    void write(const QString& line);

private:
    QFile m_file;
    bool m_stdout = false;
};
