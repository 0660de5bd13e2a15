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
#include <QSaveFile>

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
constexpr std::array<int, 5> captionLabels = {19, 1, 17, 15, 16};
constexpr std::array<RecordInt, 5> fileValues = {
    &ConfigRecord::bl, &ConfigRecord::dimch, &ConfigRecord::indpercent, &ConfigRecord::blpercent,
    &ConfigRecord::dindpercent};
constexpr std::array<RecordText, 5> fileCaptions = {&ConfigRecord::blchan, &ConfigRecord::dimchan,
                                                    &ConfigRecord::indpct, &ConfigRecord::blpct,
                                                    &ConfigRecord::dindpct};

} // namespace

FileCommands::FileCommands(ConfigScreen& window, Dialogs& dialogs)
    : m_window(window), m_dialogs(dialogs) {}

void FileCommands::WRITE_FILE_Click() {
    writeFile(std::nullopt);
}

void FileCommands::saveTo(const QString& path) {
    writeFile(path);
}

void FileCommands::writeFile(const std::optional<QString>& given) {
    ConfigRecord& r = m_window.record();
    m_window.setStatusVisible(false);
    r.error_flag = 0;
    r.wmodel = ConfigFile::modelText;
    m_window.CollectAssignments();
    if (r.error_flag == 1 || r.error_flag == 2) {
        m_window.setStatusVisible(true);
        m_window.setStatusColour(ConfigScreen::StatusColour::Red);
        m_window.setStatusText(Completeness::message(r.error_flag, Completeness::Command::Save));
        return;
    }
    const QString panel = m_window.boxText(2);
    if (panel.isEmpty()) {
        m_dialogs.message(nameMissing);
        if (panelNameMissing)
            panelNameMissing();
        return;
    }
    const auto path = given ? given
                            : m_dialogs.chooseSavePath(writeTitle, ConfigFile::dialogFilter,
                                                       FileNames::fromPanelName(panel) + ".zqc");
    if (!path)
        return;

    ConfigFileLine line;
    line.model = r.wmodel;
    line.panel = panel;
    for (int i = 0; i < 20; ++i) {
        line.desig[i] = m_window.boxText(i + 3);
        line.code[i] = r.*Items::outgoing[i];
    }
    for (int i = 0; i < 5; ++i) {
        line.caption[i] = m_window.labelCaption(captionLabels[i]);
        line.value[i] = r.*fileValues[i];
    }
    if (save(*path, ConfigFile::format(line)) && fileDone)
        fileDone(*path);
}

// The file is replaced only once the whole line is safely on disk; a failed
// save leaves the previous file as it was and says why, naming the file as
// the file system spells it.
bool FileCommands::save(const QString& path, const QByteArray& bytes) {
    const auto failure = FileSave::replaceWhole(path, bytes);
    if (failure)
        m_dialogs.message(notSavedText.arg(QDir::toNativeSeparators(path), *failure),
                          notSavedTitle);
    return !failure;
}

void FileCommands::READ_FILE_Click() {
    m_window.setStatusVisible(false);
    const auto path = m_dialogs.chooseOpenPath(readTitle, ConfigFile::dialogFilter);
    if (path)
        open(*path);
}

bool FileCommands::open(const QString& path) {
    const ConfigFileRead read = readConfigFile(path);
    if (!read.line) {
        if (read.failure != ConfigFileRead::Failure::AccessDenied)
            m_dialogs.message(mismatchText, mismatchTitle);
        return false;
    }
    showFile(*read.line);
    if (fileDone)
        fileDone(path);
    return true;
}

void FileCommands::showFile(const ConfigFileLine& line) {
    shownLine = line;
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
