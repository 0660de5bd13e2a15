#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

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

    // The configuration files last opened or saved, the latest first.
    QStringList recentFiles() const { return m_store->value(recentFilesKey).toStringList(); }
    void setRecentFiles(const QStringList& paths) { m_store->setValue(recentFilesKey, paths); }

    // A site's name and who configured it, as entered in the site window for
    // that folder; empty when nothing was.
    QString siteValue(const QString& folder, const QString& key) const {
        return m_store->value(siteKey(folder, key)).toString();
    }
    void setSiteValue(const QString& folder, const QString& key, const QString& value) {
        m_store->setValue(siteKey(folder, key), value);
    }
    static inline const QString siteName = QStringLiteral("name");
    static inline const QString siteConfiguredBy = QStringLiteral("configuredBy");

private:
    // A folder's path holds slashes, which settings take for groups.
    static QString siteKey(const QString& folder, const QString& key) {
        return QStringLiteral("sites/%1/%2")
            .arg(QString::fromLatin1(folder.toUtf8().toBase64(QByteArray::Base64UrlEncoding)), key);
    }
    static inline const QString serialPortKey = QStringLiteral("link/serialPort");
    static inline const QString recentFilesKey = QStringLiteral("files/recent");
    std::unique_ptr<QSettings> m_store;
};
