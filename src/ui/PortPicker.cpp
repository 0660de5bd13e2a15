#include "ui/PortPicker.h"

#include "ui/Controls.h"
#include "ui/Twips.h"

#include <QLineEdit>

#include <algorithm>

namespace {
const QString separator = QStringLiteral(" \u2013 ");

QString shown(const PortNames::Port& port) {
    QString name = port.device;
#ifndef Q_OS_WIN
    if (name.startsWith(QLatin1String("/dev/")) && !name.mid(5).contains('/'))
        name = name.mid(5);
#endif
    return port.description.isEmpty() ? port.device : name + separator + port.description;
}
} // namespace

PortPicker::PortPicker(Enumeration enumerate, QWidget* parent)
    : QComboBox(parent), m_enumerate(std::move(enumerate)) {
    setObjectName("PortPicker");
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setClearButtonEnabled(false);
    setToolTip("SERIAL DEVICE OF THE PANEL CABLE: CHOOSE ONE OR TYPE ITS PATH");
    setAccessibleName("SERIAL PORT");
    connect(this, &QComboBox::activated, this, [this] { emit deviceChosen(device()); });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { emit deviceChosen(device()); });
}

QString PortPicker::device() const {
    const QString text = currentText().trimmed();
    const int index = findText(text);
    if (index >= 0 && !itemData(index).toString().isEmpty())
        return itemData(index).toString();
    return text;
}

void PortPicker::setDevice(const QString& device) {
    refresh();
    showDevice(device);
}

// A listed device by its entry, any other as typed text.
void PortPicker::showDevice(const QString& device) {
    const int index = findData(device);
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(device);
}

void PortPicker::refresh() {
    const QString current = device();
    QList<PortNames::Port> ports = m_enumerate ? m_enumerate() : QList<PortNames::Port>{};
    for (const QString& fixed : m_fixed) {
        const bool listed = std::any_of(ports.begin(), ports.end(), [&](const PortNames::Port& p) {
            return p.device == fixed;
        });
        if (!fixed.isEmpty() && !listed)
            ports.append({fixed, {}});
    }
    std::sort(ports.begin(), ports.end(), [](const PortNames::Port& a, const PortNames::Port& b) {
        return PortNames::lessByNumber(a.device, b.device);
    });
    const QSignalBlocker quiet(this);
    clear();
    for (const PortNames::Port& port : ports)
        addItem(shown(port), port.device);
    showDevice(current);
}

void PortPicker::showPopup() {
    refresh();
    QComboBox::showPopup();
}

PortPicker* addPortPicker(QWidget* window, PortPicker::Enumeration enumerate) {
    auto* caption = new QLabel("SERIAL PORT", window);
    caption->setObjectName("PortPickerCaption");
    caption->setGeometry(twipsRect(960, 240, 3480, 255));
    auto* picker = new PortPicker(std::move(enumerate), window);
    picker->setGeometry(twipsRect(960, 510, 3480, 375));
    QFont plain = window->font();
    plain.setBold(false);
    picker->setFont(plain);
    keepLightField(picker);
    caption->setBuddy(picker);
    return picker;
}
