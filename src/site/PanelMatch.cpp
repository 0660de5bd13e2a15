#include "site/PanelMatch.h"

#include "files/FileCommands.h"
#include "model/Completeness.h"
#include "platform/AnsweringDialogs.h"
#include "session/PanelWords.h"
#include "session/Session.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace PanelMatch {

QStringList expand(const QStringList& filesAndFolders, std::vector<Refused>* refused) {
    QStringList files;
    for (const QString& name : filesAndFolders) {
        const QFileInfo info(name);
        if (info.isDir()) {
            QDir folder(name);
            const QStringList found = folder.entryList({QStringLiteral("*.zqc")},
                                                       QDir::Files | QDir::Readable | QDir::Hidden,
                                                       QDir::Name | QDir::IgnoreCase);
            if (found.isEmpty())
                refused->push_back({name, QStringLiteral("no .zqc file in this folder")});
            for (const QString& file : found)
                files << folder.filePath(file);
        } else if (info.exists()) {
            files << name;
        } else {
            refused->push_back({name, QStringLiteral("no such file or folder")});
        }
    }
    return files;
}

Sent valuesToSend(const QString& path) {
    AnsweringDialogs dialogs;
    Session session(dialogs);
    FileCommands files(session, dialogs);
    const FileOutcome opened = files.open(path);
    if (!opened.done()) // the open command's message, or why it would not read the file
        return {std::nullopt, opened.shown.isEmpty() ? opened.reason : opened.shown};
    if (auto values = session.valuesToSend())
        return {values, {}};
    ConfigRecord& r = session.record();
    r.error_flag = 0;
    session.CollectAssignments();
    return {std::nullopt, Completeness::message(r.error_flag, Completeness::Command::Write)};
}

std::vector<Configuration> load(const QStringList& files, std::vector<Refused>* refused) {
    std::vector<Configuration> configurations;
    for (const QString& path : files) {
        const Sent sent = valuesToSend(path);
        if (sent.values)
            configurations.push_back({path, *sent.values});
        else
            refused->push_back({path, sent.reason});
    }
    return configurations;
}

Outcome match(const PanelValues& panel, const std::vector<Configuration>& configurations) {
    Outcome outcome;
    std::vector<Compared> compared;
    for (const Configuration& configuration : configurations) {
        const QString& path = configuration.path;
        Compared c{path, {}};
        for (size_t k = 0; k < panel.size(); ++k)
            if (panel[k] != configuration.values[k])
                c.differences.push_back({k, panel[k], configuration.values[k]});
        if (c.differences.empty())
            outcome.matching << path;
        compared.push_back(std::move(c));
    }
    if (!outcome.matching.isEmpty() || compared.empty())
        return outcome;
    const size_t fewest =
        std::min_element(compared.begin(), compared.end(), [](const auto& a, const auto& b) {
            return a.differences.size() < b.differences.size();
        })->differences.size();
    for (Compared& c : compared)
        if (c.differences.size() == fewest)
            outcome.nearest.push_back(std::move(c));
    return outcome;
}

QString holdsText(const QStringList& matching) {
    return QStringLiteral("THE SWITCH PANEL HOLDS %1").arg(matching.join(QStringLiteral(", ")));
}

QString noneText(const Outcome& outcome) {
    const size_t n = outcome.nearest.empty() ? 0 : outcome.nearest.front().differences.size();
    return QStringLiteral("NO FILE MATCHES THE SWITCH PANEL; NEAREST: %1 ITEM%2 DIFFER%3")
        .arg(n)
        .arg(n == 1 ? "" : "S")
        .arg(n == 1 ? "S" : "");
}

QString describe(const ConfigScreen& screen, const Compared& compared) {
    QStringList items;
    for (const Difference& d : compared.differences)
        items << QStringLiteral("%1 (panel %2, file %3)")
                     .arg(PanelWords::item(screen, d.cell), PanelWords::value(d.cell, d.panel),
                          PanelWords::value(d.cell, d.file));
    return QStringLiteral("%1: %2").arg(QFileInfo(compared.path).fileName(),
                                        items.join(QStringLiteral(", ")));
}

} // namespace PanelMatch
