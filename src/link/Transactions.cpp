// The read and write transactions: handshake, identity check at address 63,
// then the memory map walked in order, one paced byte at a time.

#include "link/LinkTexts.h"
#include "link/PanelLink.h"
#include "link/PanelProtocol.h"
#include "model/ChannelCode.h"
#include "model/Completeness.h"
#include "model/MemoryMap.h"

#include <algorithm>

using Colour = ConfigScreen::StatusColour;

// Runs a walk with the port open, and closes the port on every way out: a
// port that will not open, fails midway or a window being closed ends the
// walk at its next wait. A quiet walk (a probe) shows nothing of its own.
void PanelLink::overPort(const QString& name, void (PanelLink::*walk)(), bool quiet) {
    m_stopRequested = false;
    m_shortTake = false;
    m_outcome = Outcome::Done;
    m_identityRead.reset();
    if (m_trace)
        m_trace->note(name + QStringLiteral(" started"));
    m_port.setPortNumber(1);
    m_port.setSettings(LinkTexts::settings);
    try {
        if (!m_deviceChosen) {
            m_outcome = Outcome::PortFault;
            if (!quiet)
                failStatus(LinkTexts::noDevice);
        } else if (m_port.open()) {
            (this->*walk)();
        } else {
            m_outcome = Outcome::PortFault;
            if (!quiet) {
                failStatus(m_port.fault().value_or(QString()));
                if (const QString remedy = m_port.faultRemedy(); !remedy.isEmpty())
                    message(remedy);
            }
        }
    } catch (const Stopped& stop) {
        m_outcome = stop.status.isEmpty() ? Outcome::Stopped : Outcome::PortFault;
        if (!stop.status.isEmpty() && !quiet)
            failStatus(stop.status);
    } catch (const CutReply&) {
        m_outcome = Outcome::BadData;
        if (!quiet)
            failStatus(LinkTexts::badData);
    }
    m_port.close();
    Timer1.stop(); // nothing waits on it until the next transaction arms it
    if (m_trace)
        m_trace->note(name + QStringLiteral(" ended: ") + outcomeText(quiet));
}

QString PanelLink::outcomeText(bool quiet) const {
    if (m_outcome == Outcome::Stopped)
        return QStringLiteral("stopped");
    if (quiet)
        return m_outcome == Outcome::Done ? QStringLiteral("a panel answered")
                                          : QStringLiteral("no panel answered");
    return m_window.statusText();
}

PanelLink::Outcome PanelLink::probe() {
    overPort(QStringLiteral("probe"), &PanelLink::probeWalk, true);
    return m_outcome;
}

void PanelLink::probeWalk() {
    if (!Handshake())
        m_outcome = Outcome::NoResponse;
}

void PanelLink::message(const QString& text, const QString& title) {
    if (m_trace)
        m_trace->note(QStringLiteral("message: ") + QString(text).replace('\n', ' '));
    m_dialogs.message(text, title);
}

void PanelLink::fail(Outcome outcome, const QString& text) {
    m_outcome = outcome;
    failStatus(text);
}

void PanelLink::failStatus(const QString& text) {
    m_window.setStatusVisible(true);
    m_window.setStatusColour(Colour::Red);
    showStatus(text);
}

// Only a value read just now counts: a reply too short or too garbled to
// read leaves an older value in A, which must not pass for the panel's
// identity, and says nothing of the panel's model either.
PanelLink::Identity PanelLink::readIdentity() {
    WaitTick();
    r.address_l = MemoryMap::identityAddress;
    ReadPanelByte();
    if (!m_valueRead)
        return Identity::Unread;
    if (r.error_flag == 0)
        m_identityRead = r.A;
    const auto& codes = MemoryMap::identityCodes;
    return r.error_flag == 0 && std::find(codes.begin(), codes.end(), r.A) != codes.end()
               ? Identity::Supported
               : Identity::Foreign;
}

void PanelLink::READ_CONFIG_Click() {
    m_window.setStatusColour(Colour::Yellow);
    showStatus(LinkTexts::startingRead);
    m_window.setStatusVisible(true);
    m_window.setBoxText(2, QString());
    overPort(QStringLiteral("read"), &PanelLink::readWalk);
    r.config_flag = 1;
    m_window.ShowSwitchView();
    r.config_flag = 0;
}

// Both transactions begin alike: a panel must answer the handshake and be
// one of the two models. False, with the outcome set, when it is not.
bool PanelLink::panelAnswers(const QString& mismatchText) {
    emit stepsDone(0, steps);
    if (!Handshake()) {
        fail(Outcome::NoResponse, LinkTexts::noResponse);
        return false;
    }
    emit stepsDone(1, steps);
    switch (readIdentity()) {
    case Identity::Supported:
        emit stepsDone(2, steps);
        return true;
    case Identity::Unread:
        fail(Outcome::BadData, LinkTexts::badData);
        return false;
    case Identity::Foreign:
        break;
    }
    m_outcome = Outcome::Mismatch;
    message(mismatchText, LinkTexts::mismatchTitle);
    return false;
}

void PanelLink::readWalk() {
    if (!panelAnswers(LinkTexts::readMismatch))
        return;
    for (const MemoryMap::Cell& cell : MemoryMap::cells) {
        if (r.error_flag == 1) {
            fail(Outcome::BadData, LinkTexts::badData);
            return;
        }
        WaitTick();
        r.address_l = cell.address;
        ReadPanelByte();
        if (!m_valueRead)
            continue; // nothing was read: the item keeps what it showed
        m_valuesRead[size_t(cell.address)] = r.A;
        emit stepsDone(3 + cell.address, steps);
        if (cell.isChannel) {
            SplitChannelCode(r);
            m_window.selectListEntry(cell.moduleList, r.m_index);
            m_window.selectListEntry(cell.channelList, r.c_index);
            if (cell.designationBox) {
                m_window.setBoxText(cell.designationBox, QString());
                m_window.setBoxVisible(cell.designationBox, false);
            }
        } else {
            r.*intensityRow(cell.setting).field = r.A;
            m_window.showIntensity(cell.setting);
        }
    }
    if (r.error_flag == 1) {
        fail(Outcome::BadData, LinkTexts::badData);
        return;
    }
    WaitTick();
    checkNoRest();
    m_window.setStatusColour(Colour::Green);
    showStatus(LinkTexts::readSuccessful);
}

void PanelLink::COMPARE_CONFIG_Click() {
    m_window.setStatusColour(Colour::Yellow);
    showStatus(LinkTexts::startingCompare);
    m_window.setStatusVisible(true);
    overPort(QStringLiteral("compare"), &PanelLink::compareWalk);
}

// The read's walk, keeping the values to itself. Unlike the read, a value
// that cannot be read ends it at once: a compare must not report an item
// as agreeing on a value it never got.
void PanelLink::compareWalk() {
    if (!panelAnswers(LinkTexts::readMismatch))
        return;
    for (const MemoryMap::Cell& cell : MemoryMap::cells) {
        WaitTick();
        r.address_l = cell.address;
        ReadPanelByte();
        if (!m_valueRead || r.error_flag == 1) {
            fail(Outcome::BadData, LinkTexts::badData);
            return;
        }
        m_valuesRead[size_t(cell.address)] = r.A;
        emit stepsDone(3 + cell.address, steps);
    }
    WaitTick();
}

qint16 PanelLink::intensityToWrite(IntensitySetting setting) {
    const int list = intensityRow(setting).list;
    if (m_window.listIndex(list) == -1)
        m_window.selectListEntry(list, 0);
    return m_window.itemData(list, m_window.listIndex(list));
}

void PanelLink::WRITE_CONFIG_Click() {
    m_window.setStatusColour(Colour::Yellow);
    m_window.setStatusVisible(true);
    showStatus(LinkTexts::startingWrite);
    r.error_flag = 0;
    m_window.CollectAssignments();
    // The assignment codes are fixed here. bl and dimch are also the editors'
    // fields, which a click during the transaction would change.
    for (size_t k = 0; k < m_outgoing.size(); ++k)
        m_outgoing[k] = r.*MemoryMap::cells[k].outgoing;
    overPort(QStringLiteral("write"), &PanelLink::writeWalk);
}

void PanelLink::writeWalk() {
    if (r.error_flag == 1 || r.error_flag == 2) {
        fail(Outcome::Incomplete,
             Completeness::message(r.error_flag, Completeness::Command::Write));
        return;
    }
    if (!panelAnswers(LinkTexts::writeMismatch))
        return;
    for (const MemoryMap::Cell& cell : MemoryMap::cells) {
        WaitTick();
        r.address_l = cell.address;
        if (cell.isChannel) {
            r.data_l = m_outgoing[size_t(cell.address)];
        } else {
            // Taken from the list at this moment: a change made during the
            // transaction still reaches the panel.
            r.data_l = intensityToWrite(cell.setting);
        }
        WriteVerifiedByte();
        if (r.error_flag == 1) {
            fail(Outcome::BadData, LinkTexts::badData);
            return;
        }
        emit stepsDone(3 + cell.address, steps);
    }
    WaitTick();
    checkNoRest();
    m_window.setStatusColour(Colour::Green);
    showStatus(LinkTexts::programmed);
}
