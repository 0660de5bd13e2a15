#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The panel simulator program on a pseudo-terminal, for end-to-end tests.
class Simulator {
public:
    explicit Simulator(const QStringList& arguments);
    ~Simulator();

    bool started() const { return !m_device.isEmpty(); }
    QString device() const { return m_device; }

private:
    QProcess m_process;
    QString m_device;
};
