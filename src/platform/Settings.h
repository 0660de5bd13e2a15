#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// What the tool remembers between runs. Every setting starts at the tool's
// default; nothing the panel or the files depend on is stored.
class Settings {
public:
    // The user's settings, under the organisation and application names that
    // main sets.
    Settings() : m_store(std::make_unique<QSettings>()) {}
    // A settings file of its own, for tests.
    explicit Settings(const QString& iniFile)
        : m_store(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

    // The serial device last chosen in the window; empty when none was.
    QString serialPort() const { return m_store->value(serialPortKey).toString(); }
    void setSerialPort(const QString& device) { m_store->setValue(serialPortKey, device); }

private:
    static inline const QString serialPortKey = QStringLiteral("link/serialPort");
    std::unique_ptr<QSettings> m_store;
};
