#include "files/FileCommands.h"

#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"
#include "files/FileNames.h"
#include "files/FileSave.h"
#include "model/ChannelCode.h"
#include "model/Completeness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString readTitle = QStringLiteral("READ CONFIGURATION FILE");
const QString writeTitle = QStringLiteral("WRITE CONFIGURATION FILE");
const QString mismatchTitle = QStringLiteral("FILE/MODEL MIS-MATCH");
const QString mismatchText =
    QStringLiteral("AN ERROR HAS OCCURRED READING THE FILE BECAUSE THE FILE\n"
                   "WAS NOT CREATED FOR THE 00-00561-(MDL) OR 00-00567-(MDL)\n"
                   "-------------THE FILE READ OPERATION IS BEING ABANDONED!--------------");
const QString nameMissing = QStringLiteral("Name must be entered in PANEL NAME field");
const QString notSavedTitle = QStringLiteral("FILE NOT SAVED");
const QString notSavedText = QStringLiteral("THE CONFIGURATION FILE WAS NOT SAVED:\n%1\n%2");

// The labels whose captions stand before the last five values of a file.
constexpr std::array<int, 5> fileCaptionLabels = {19, 1, 17, 15, 16};
constexpr std::array<RecordInt, 5> fileValues = {
    &ConfigRecord::bl, &ConfigRecord::dimch, &ConfigRecord::indpercent, &ConfigRecord::blpercent,
    &ConfigRecord::dindpercent};
constexpr std::array<RecordText, 5> fileCaptions = {&ConfigRecord::blchan, &ConfigRecord::dimchan,
                                                    &ConfigRecord::indpct, &ConfigRecord::blpct,
                                                    &ConfigRecord::dindpct};

} // namespace

FileCommands::FileCommands(ConfigScreen& window, Dialogs& dialogs)
    : m_window(window), m_dialogs(dialogs) {}

FileOutcome FileCommands::WRITE_FILE_Click() {
    return save(std::nullopt, {});
}

FileOutcome FileCommands::saveAs(const QString& path, const Writer& write) {
    return save(path, write);
}

// The checks come first, then the dialog (unless the path was chosen
// already), then the file.
FileOutcome FileCommands::save(const std::optional<QString>& chosen, const Writer& write) {
    ConfigRecord& r = m_window.record();
    m_window.setStatusVisible(false);
    r.error_flag = 0;
    r.wmodel = ConfigFile::modelText;
    m_window.CollectAssignments();
    FileOutcome outcome;
    if (r.error_flag == 1 || r.error_flag == 2) {
        outcome.kind = FileOutcome::Kind::Incomplete;
        outcome.item = m_window.incompleteItem().value_or(-1);
        outcome.shown = Completeness::message(r.error_flag, Completeness::Command::Save);
        m_window.setStatusVisible(true);
        m_window.setStatusColour(ConfigScreen::StatusColour::Red);
        m_window.setStatusText(outcome.shown);
        return outcome;
    }
    const QString panel = m_window.boxText(2);
    if (panel.isEmpty()) {
        outcome.kind = FileOutcome::Kind::NameMissing;
        outcome.shown = nameMissing;
        m_dialogs.message(nameMissing);
        if (panelNameMissing)
            panelNameMissing();
        return outcome;
    }
    const auto path = chosen ? chosen
                             : m_dialogs.chooseSavePath(writeTitle, ConfigFile::dialogFilter,
                                                        FileNames::fromPanelName(panel) + ".zqc");
    if (!path)
        return outcome; // cancelled
    outcome.path = *path;

    // The file is replaced only once the whole line is safely on disk; a
    // failed save leaves the previous file as it was and says why, naming
    // the file as the file system spells it.
    const ConfigFileLine line = lineToSave();
    const QByteArray bytes = ConfigFile::format(line);
    if (const auto failure = write ? write(*path, bytes) : FileSave::replaceWhole(*path, bytes)) {
        outcome.kind = FileOutcome::Kind::NotSaved;
        outcome.reason = *failure;
        outcome.shown = notSavedText.arg(QDir::toNativeSeparators(*path), *failure);
        m_dialogs.message(outcome.shown, notSavedTitle);
        return outcome;
    }
    outcome.kind = FileOutcome::Kind::Saved;
    outcome.line = line;
    return outcome;
}

ConfigFileLine FileCommands::lineToSave() const {
    ConfigRecord& r = m_window.record();
    ConfigFileLine line;
    line.model = r.wmodel;
    line.panel = m_window.boxText(2);
    for (int i = 0; i < 20; ++i) {
        line.desig[i] = m_window.boxText(i + 3);
        line.code[i] = r.*Items::outgoing[i];
    }
    for (int i = 0; i < 5; ++i) {
        line.caption[i] = m_window.labelCaption(fileCaptionLabels[i]);
        line.value[i] = r.*fileValues[i];
    }
    return line;
}

FileOutcome FileCommands::READ_FILE_Click() {
    m_window.setStatusVisible(false);
    const auto path = m_dialogs.chooseOpenPath(readTitle, ConfigFile::dialogFilter);
    if (!path)
        return {};
    return open(*path);
}

FileOutcome FileCommands::open(const QString& path) {
    ConfigFileRead read = readConfigFile(path);
    FileOutcome outcome;
    outcome.path = path;
    if (!read.line) {
        outcome.kind = FileOutcome::Kind::Refused;
        outcome.failure = read.failure;
        outcome.reason = read.reason;
        if (read.failure != ConfigFileRead::Failure::AccessDenied) {
            outcome.shown = mismatchText;
            m_dialogs.message(mismatchText, mismatchTitle);
        }
        return outcome;
    }
    showFile(*read.line);
    outcome.kind = FileOutcome::Kind::Shown;
    outcome.line = std::move(read.line);
    return outcome;
}

void FileCommands::showFile(const ConfigFileLine& line) {
    ConfigRecord& r = m_window.record();
    r.rmodel = line.model;
    r.panel = line.panel;
    for (int i = 0; i < 20; ++i) {
        r.*Items::desig[i] = line.desig[i];
        r.*Items::code[i] = line.code[i];
    }
    for (int i = 0; i < 5; ++i) {
        r.*fileCaptions[i] = line.caption[i];
        r.*fileValues[i] = line.value[i];
    }

    m_window.setBoxText(2, r.panel);
    auto showCode = [&](qint16 code, int moduleList) {
        r.A = code;
        SplitChannelCode(r);
        m_window.selectListEntry(moduleList, r.m_index);
        m_window.selectListEntry(moduleList + 1, r.c_index);
    };
    for (int i = 0; i < 20; ++i) {
        m_window.setBoxText(i + 3, r.*Items::desig[i]);
        showCode(r.*Items::code[i], 2 * i + 1);
    }
    showCode(r.bl, 41);
    showCode(r.dimch, 43);
    m_window.showIntensity(IntensitySetting::Backlight);
    m_window.showIntensity(IntensitySetting::Indicator);
    m_window.showIntensity(IntensitySetting::Dimmed);
    m_window.ShowSwitchView();
}
