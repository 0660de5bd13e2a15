#pragma once

#include "link/PanelFinder.h"
#include "link/PortNames.h"

#include <QComboBox>
#include <QLabel>

#include <functional>

// The serial port the panel transactions use: the ports the system knows,
// each by its device and the adapter's name, plus the devices always offered
// (the first serial port, one named on the command line). A pseudo-terminal
// or a /dev/serial/by-id path can be typed in. The list is read afresh each
// time it opens, so an adapter plugged in meanwhile appears; nothing polls.
class PortPicker : public QComboBox {
    Q_OBJECT
public:
    using Enumeration = std::function<QList<PortNames::Port>()>;

    using Finder =
        std::function<QList<PanelFinder::Found>(const QList<PanelFinder::Candidate>& ports)>;

    PortPicker(Enumeration enumerate, QWidget* parent);

    // Offers "FIND PANEL" at the end of the list: it probes the listed ports
    // with finder and marks each one a panel answers on with its model.
    void setFinder(Finder finder) { m_finder = std::move(finder); }
    static inline const QString findEntry = QStringLiteral("FIND PANEL");
    // Probes the listed ports now, as choosing FIND PANEL does.
    void findPanels();

    // Offered even when the system does not list them.
    void setFixedDevices(const QStringList& devices) { m_fixed = devices; }
    void setDevice(const QString& device);
    // The device chosen, or the text typed, without the adapter's name.
    QString device() const;
    // Reads the system's ports again, keeping the device shown.
    void refresh();

    void showPopup() override;

signals:
    // The user picked or typed a device.
    void deviceChosen(const QString& device);

private:
    void showDevice(const QString& device);
    bool isFindEntry(int index) const;

    Enumeration m_enumerate;
    QStringList m_fixed;
    Finder m_finder;
    QMap<QString, QString> m_marks; // device: what the last find said of it
    QString m_lastDevice;           // shown before FIND PANEL was chosen
};

// The caption and the picker, placed in the window's empty band above the
// panel picture.
PortPicker* addPortPicker(QWidget* window, PortPicker::Enumeration enumerate);
