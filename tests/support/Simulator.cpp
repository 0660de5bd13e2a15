#include "Simulator.h"

#ifndef PANELSIM_PATH
#error "PANELSIM_PATH names the simulator program"
#endif

Simulator::Simulator(const QStringList& arguments) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(PANELSIM_PATH, arguments);
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

Simulator::~Simulator() {
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(1000);
}
