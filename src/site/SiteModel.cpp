#include "site/SiteModel.h"

#include "files/ConfigFileReader.h"
#include "site/NaturalOrder.h"
#include "site/SameName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>

namespace {
// The start of the log as last read: a log replaced or edited is read anew.
constexpr qint64 headBytes = 64;

QByteArray headOf(QFile& file) {
    file.seek(0);
    return file.read(headBytes);
}
} // namespace

QString SitePanel::stateText() const {
    if (!opens())
        return QStringLiteral("does not open: %1").arg(unreadable);
    switch (state) {
    case State::NotYet:
        return QStringLiteral("not yet");
    case State::Programmed:
        return QStringLiteral("programmed");
    case State::Verified:
        return QStringLiteral("verified");
    case State::Differs:
        return QStringLiteral("differs");
    case State::Failed:
        return QStringLiteral("failed: %1").arg(reason);
    }
    return {};
}

QString SitePanel::whenText() const {
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString SitePanel::commissioningText() const {
    QString text = stateText();
    if (!opens() || !when.isValid())
        return text;
    text += QLatin1Char(' ') + whenText();
    if (!port.isEmpty())
        text += QStringLiteral(" on %1").arg(port);
    return text;
}

QStringList SitePanel::fields() const {
    QString text = stateText();
    if (!sameNameAs.isEmpty())
        text += QStringLiteral("; same panel name as %1").arg(sameNameAs);
    return {file, panel, text, whenText(), port, model};
}

SiteModel::SiteModel(QObject* parent) : QObject(parent) {}

SiteModel::~SiteModel() = default;

bool SiteModel::open(const QString& folder, QString* error) {
    m_folder = QDir(folder).absolutePath();
    m_known.clear();
    m_last.clear();
    m_models.clear();
    m_logRead = 0;
    m_linesRead = m_linesIgnored = 0;
    m_head.clear();
    readFolder();
    readLog();
    rebuild();
    if (m_watcher) {
        setFollowing(false);
        setFollowing(true);
    }
    emit changed();
    if (error)
        *error = m_folderError;
    return m_folderError.isEmpty();
}

QString SiteModel::logPath() const {
    return QDir(m_folder).filePath(SiteLog::fileName);
}

QString SiteModel::name() const {
    return QFileInfo(m_folder).fileName();
}

void SiteModel::refresh() {
    m_refreshDue = false;
    if (!isOpen())
        return;
    const bool files = readFolder();
    const bool lines = readLog();
    if (!files && !lines)
        return;
    rebuild();
    if (m_watcher)
        watchLog();
    emit changed();
}

// True when the list of files, or a file, changed.
bool SiteModel::readFolder() {
    const QFileInfo info(m_folder);
    QString error;
    if (!info.exists())
        error = QStringLiteral("no such folder");
    else if (!info.isDir())
        error = QStringLiteral("not a folder");
    const QDir dir(m_folder);
    QStringList names;
    if (error.isEmpty()) {
        // A folder that cannot be listed lists as empty; only opening it tells.
        if (!info.isReadable() || !info.isExecutable())
            error = QStringLiteral("permission denied");
        else // files this user may not read too: they are listed with the reason
            names = dir.entryList({QStringLiteral("*.zqc")}, QDir::Files | QDir::System);
    }
    // By the names without ".zqc", so LOBBY comes before LOBBY-EAST.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const QStringView x = QStringView(a).chopped(4), y = QStringView(b).chopped(4);
        return naturalLess(x, y) || (!naturalLess(y, x) && naturalLess(a, b));
    });
    bool changed = names != m_files || error != m_folderError;
    m_folderError = error;
    m_files = names;
    QHash<QString, Known> known;
    for (const QString& name : names) {
        const QFileInfo file(dir.filePath(name));
        // A file rewritten at the same size within the file system's
        // timestamp resolution is taken as unchanged, as make takes it.
        Known k = m_known.value(name);
        if (k.size != file.size() || k.modified != file.lastModified()) {
            const ConfigFileRead read = readConfigFile(file.filePath());
            k = {file.lastModified(), file.size(), read.line ? read.line->panel : QString(),
                 read.reason};
            changed = true;
        }
        known.insert(name, k);
    }
    m_known = std::move(known);
    return changed;
}

// Takes the whole lines appended since the last read; true when there were
// any, or when the log was replaced.
bool SiteModel::readLog() {
    QFile file(logPath());
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        const bool had = m_logRead > 0 || !m_last.isEmpty();
        m_logRead = 0;
        m_head.clear();
        m_last.clear();
        m_models.clear();
        return had;
    }
    bool anew = false;
    if (file.size() < m_logRead || (m_logRead > 0 && headOf(file) != m_head.left(headBytes))) {
        m_logRead = 0;
        m_last.clear();
        m_models.clear();
        m_linesRead = m_linesIgnored = 0;
        anew = true;
    }
    if (file.size() == m_logRead)
        return anew;
    if (m_logRead < headBytes)
        m_head = headOf(file);
    file.seek(m_logRead);
    const QByteArray bytes = file.readAll();
    const qsizetype end = bytes.lastIndexOf('\n');
    if (end < 0) // a line still being written
        return anew;
    const QString text = QString::fromUtf8(bytes.constData(), end);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.trimmed().isEmpty())
            continue;
        ++m_linesRead;
        if (const auto parsed = SiteLog::parse(line))
            take(*parsed);
        else
            ++m_linesIgnored;
    }
    m_logRead += end + 1;
    return true;
}

// The last write or verify of a file sets its state; a read programs nothing.
// Any command that found the panel holding the file tells its model.
void SiteModel::take(const SiteLog::Line& line) {
    if (!line.model.isEmpty())
        m_models.insert(SiteLog::fileNameOf(line.file), line.model);
    Last last{SitePanel::State::Failed, line.outcome, line.time, line.port, line.command};
    if (line.command == SiteLog::write ||
        line.command.startsWith(SiteLog::write + QLatin1Char(' '))) {
        if (line.outcome == SiteLog::programmed) {
            last.state = SitePanel::State::Programmed;
            last.reason.clear();
        }
    } else if (line.command == SiteLog::verify) {
        if (line.outcome == SiteLog::agrees) {
            last.state = SitePanel::State::Verified;
            last.reason.clear();
        } else if (line.outcome == SiteLog::differs) {
            last.state = SitePanel::State::Differs;
            last.reason = line.differences;
        }
    } else {
        return;
    }
    m_last.insert(SiteLog::fileNameOf(line.file), last);
}

void SiteModel::rebuild() {
    m_panels.clear();
    m_panels.reserve(m_files.size());
    const QDir dir(m_folder);
    for (const QString& name : std::as_const(m_files)) {
        const Known& k = m_known[name];
        SitePanel p;
        p.file = name;
        p.path = dir.filePath(name);
        p.panel = k.panel;
        p.unreadable = k.unreadable;
        if (const auto last = m_last.constFind(name); last != m_last.cend()) {
            p.state = last->state;
            p.reason = last->reason;
            p.when = last->when;
            p.port = last->port;
            p.command = last->command;
        }
        p.model = m_models.value(name);
        m_panels << p;
    }
    // A file that does not open has no panel name to share.
    QList<qsizetype> rows;
    QStringList names;
    for (qsizetype i = 0; i < m_panels.size(); ++i)
        if (m_panels[i].opens()) {
            rows << i;
            names << m_panels[i].panel;
        }
    const QList<qsizetype> others = SameName::others(names);
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (others[i] >= 0)
            m_panels[rows[i]].sameNameAs = m_panels[rows[others[i]]].file;
}

int SiteModel::rowOf(const QString& path) const {
    const QFileInfo wanted(path);
    if (QFileInfo(wanted.absolutePath()) != QFileInfo(m_folder))
        return -1;
    for (int i = 0; i < m_panels.size(); ++i)
        if (m_panels[i].file == wanted.fileName())
            return i;
    return -1;
}

QString SiteModel::summary() const {
    int programmed = 0, verified = 0, failed = 0, differs = 0, closed = 0;
    for (const SitePanel& p : m_panels) {
        if (!p.opens())
            ++closed;
        else if (p.programmed())
            ++programmed;
        verified += p.opens() && p.state == SitePanel::State::Verified;
        failed += p.opens() && p.state == SitePanel::State::Failed;
        differs += p.opens() && p.state == SitePanel::State::Differs;
    }
    QString line = QStringLiteral("%1 OF %2 PROGRAMMED").arg(programmed).arg(m_panels.size());
    if (verified)
        line += QStringLiteral(" (%1 VERIFIED)").arg(verified);
    if (failed)
        line += QStringLiteral(", %1 FAILED").arg(failed);
    if (differs)
        line += QStringLiteral(", %1 %2").arg(differs).arg(differs == 1 ? "DIFFERS" : "DIFFER");
    if (closed)
        line += QStringLiteral(", %1 %2 NOT OPEN").arg(closed).arg(closed == 1 ? "DOES" : "DO");
    return line;
}

std::optional<int> SiteModel::nextToWrite(int after) const {
    const int n = int(m_panels.size());
    for (int step = 1; step <= n; ++step) {
        const int row = ((after < 0 ? -1 : after) + step) % n;
        if (row == after)
            break;
        if (m_panels[row].toWrite())
            return row;
    }
    return std::nullopt;
}

void SiteModel::setFollowing(bool on) {
    if (!on) {
        delete m_watcher;
        m_watcher = nullptr;
        return;
    }
    if (m_watcher || !isOpen())
        return;
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &SiteModel::scheduleRefresh);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &SiteModel::scheduleRefresh);
    m_watcher->addPath(m_folder);
    watchLog();
}

// A log made after the site was opened, or replaced since, is watched anew.
void SiteModel::watchLog() {
    if (m_watcher && QFileInfo::exists(logPath()) && !m_watcher->files().contains(logPath()))
        m_watcher->addPath(logPath());
}

// Many changes at once (an import writing forty files) make one refresh.
void SiteModel::scheduleRefresh() {
    if (m_refreshDue)
        return;
    m_refreshDue = true;
    QTimer::singleShot(0, this, &SiteModel::refresh);
}
