#include "ui/PortPicker.h"

#include "ui/Controls.h"
#include "ui/Twips.h"

#include <QLineEdit>

#include <algorithm>

namespace {
const QString separator = QStringLiteral(" \u2013 ");

constexpr int findRole = Qt::UserRole + 1;

QString shown(const PortNames::Port& port, const QString& mark) {
    QString name = port.device;
#ifndef Q_OS_WIN
    if (name.startsWith(QLatin1String("/dev/")) && !name.mid(5).contains('/'))
        name = name.mid(5);
#endif
    QString text = port.description.isEmpty() ? port.device : name + separator + port.description;
    return mark.isEmpty() ? text : text + separator + mark;
}

QString markOf(const PanelFinder::Found& found) {
    switch (found.kind) {
    case PanelFinder::Found::Kind::Panel:
        return QStringLiteral("PANEL ") + PanelFinder::modelText(found).toUpper();
    case PanelFinder::Found::Kind::Held:
        return QStringLiteral("IN USE BY ANOTHER PROGRAM");
    case PanelFinder::Found::Kind::Silent:
    case PanelFinder::Found::Kind::Fault:
        break;
    }
    return {};
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
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!isFindEntry(index)) {
            m_lastDevice = device();
            emit deviceChosen(device());
            return;
        }
        showDevice(m_lastDevice);
        findPanels();
        showPopup();
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_lastDevice = device();
        emit deviceChosen(device());
    });
}

bool PortPicker::isFindEntry(int index) const {
    return index >= 0 && itemData(index, findRole).toBool();
}

void PortPicker::findPanels() {
    if (!m_finder)
        return;
    QList<PanelFinder::Candidate> ports;
    for (int i = 0; i < count(); ++i)
        if (!isFindEntry(i))
            ports.append({itemData(i).toString(), {}});
    m_marks.clear();
    for (const PanelFinder::Found& found : m_finder(ports))
        m_marks.insert(found.device, markOf(found));
    refresh();
}

QString PortPicker::device() const {
    const QString text = currentText().trimmed();
    const int index = findText(text);
    if (isFindEntry(index))
        return m_lastDevice;
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
    m_lastDevice = device;
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
        addItem(shown(port, m_marks.value(port.device)), port.device);
    if (m_finder) {
        addItem(findEntry);
        setItemData(count() - 1, true, findRole);
    }
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
