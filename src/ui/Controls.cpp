#include "ui/Controls.h"

#include "model/Cp1252.h"
#include "model/TextRules.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

void keepLightField(QWidget* box) {
    const QPalette theme = box->palette();
    QPalette light(FieldColours::face);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
            light.setColor(group, role, theme.color(group, role));
        if (group != QPalette::Disabled)
            light.setColor(group, QPalette::Base, FieldColours::field);
    }
    box->setPalette(light);
}

ListBox::ListBox(const QString& name, QWidget* parent) : QListWidget(parent) {
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::onSelectionChanged);
    connect(this, &QAbstractItemView::clicked, this, &ListBox::onClicked);
}

void ListBox::addEntry(const QString& text, qint16 itemData) {
    auto* entry = new QListWidgetItem(text, this);
    entry->setData(Qt::UserRole, itemData);
}

qint16 ListBox::itemData(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry ? qint16(entry->data(Qt::UserRole).toInt()) : 0;
}

void ListBox::showListIndex(int index) {
    m_showing = true;
    if (index >= 0 && index < count()) {
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(index));
    } else {
        clearSelection();
        index = -1;
    }
    m_showing = false;
    m_index = index;
}

void ListBox::setListIndex(int index) {
    emit chosen(index >= 0 && index < count() ? index : -1);
}

void ListBox::onSelectionChanged() {
    if (m_showing)
        return;
    const QList<QListWidgetItem*> selection = selectedItems();
    if (selection.isEmpty()) {
        // A list box cannot be emptied by the user (a Ctrl-click would); keep the entry.
        if (m_index >= 0) {
            const QSignalBlocker blocker(this);
            setCurrentRow(m_index, QItemSelectionModel::ClearAndSelect);
        }
        return;
    }
    m_pressChose = true;
    const int chosenRow = row(selection.first());
    // Shown as chosen until the session says otherwise.
    m_index = chosenRow;
    emit chosen(chosenRow);
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    m_pressChose = false;
    QListWidget::mousePressEvent(event);
}

// Qt's list view tells screen readers that its current entry has the focus
// even when the program moves it in a list without focus; a read or an open
// would then drag the reader's attention through all 44 lists, away from
// the status box. Only the list with the focus says so.
void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (hasFocus())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

// A click that left the selection as it was still runs the click behaviour,
// as a selection by the program does: after a read, a click on the selected
// channel shows the designation box again.
void ListBox::onClicked(const QModelIndex& index) {
    if (!m_pressChose && index.row() == m_index)
        emit chosen(m_index);
    m_pressChose = false;
}

StorableTextValidator::StorableTextValidator(int typedLimit, QObject* parent)
    : QValidator(parent), m_typedLimit(typedLimit) {}

namespace {
qsizetype unstorableCharacters(const QString& text) {
    return std::count_if(text.begin(), text.end(),
                         [](QChar c) { return !Cp1252::isStorableText(QStringView(&c, 1)); });
}
} // namespace

void StorableTextValidator::accept(const QString& text) {
    m_length = text.size();
    m_unstorable = unstorableCharacters(text);
}

QValidator::State StorableTextValidator::validate(QString& input, int&) const {
    if (unstorableCharacters(input) > m_unstorable)
        return Invalid;
    if (m_typedLimit > 0 && input.size() > m_typedLimit && input.size() > m_length)
        return Invalid;
    return Acceptable;
}

TextBox::TextBox(const QString& name, int typedLimit, QWidget* parent)
    : QLineEdit(parent), m_validator(new StorableTextValidator(typedLimit, this)) {
    setObjectName(name);
    // A file with a longer text is refused, so nothing is cut on opening.
    setMaxLength(int(TextRules::maxTextLength));
    setValidator(m_validator);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_validator->accept(text); });
}

void TextBox::setText(const QString& text) {
    m_validator->accept(text);
    QLineEdit::setText(text);
}

// Undo and redo belong to the window, which undoes a box's typing as one
// step among the clicks; the box's own undo would know only its keys.
bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

StatusBox::StatusBox(const QString& name, QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(name);
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Read-only, and reached by Tab to be read again; no key changes anything.
    setFocusPolicy(Qt::TabFocus);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setAccessibleName("STATUS");
    // Three lines of the longest messages must fit the box's 41 pixels.
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    document()->setDocumentMargin(0);
    setViewportMargins(2, 0, 2, 0);
}

namespace {
constexpr int statusSideMargin = 2; // the viewport's margins, left and right

// The height the text's glyphs take, wrapped as the box wraps it, at width:
// the last line is read once its letters are in, its descent may be cut.
qreal wrappedHeight(const QString& text, const QFont& font, const QTextOption& option,
                    qreal width) {
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    qreal height = 0;
    qreal lastDescent = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += line.height();
        lastDescent = line.descent();
    }
    layout.endLayout();
    return height - lastDescent;
}

QString shortenedPath(const QString& text, qsizetype at, qsizetype size, qsizetype kept) {
    const qsizetype head = (kept + 1) / 2;
    const qsizetype tail = kept - head;
    return text.left(at + head) + QChar(0x2026) + text.mid(at + size - tail);
}
} // namespace

// A message too long for the box's lines has the device it names
// shortened in the middle, and where that is not enough its letters made
// smaller, so the reason at its end is always seen; text() stays whole.
// A screen reader speaks text that appears in the box with the focus only
// when it can tell why: text that arrives selected it reads out. So each
// message arrives selected, drawn in the box's own colours (setColours), and
// is heard as it comes while the box has the focus (Form1 gives it the focus
// when a message is shown). The description carries it too, for readers
// that take it from there.
void StatusBox::setText(const QString& text) {
    m_text = text;
    if (!m_designFont)
        m_designFont = font();
    QFont chosen = *m_designFont;
    QString shown = text;
    for (qreal size = m_designFont->pointSizeF(); size >= smallestPointSize; size -= 0.25) {
        QFont candidate = *m_designFont;
        candidate.setPointSizeF(size);
        if (const auto fitting = fitted(text, candidate)) {
            chosen = candidate;
            shown = *fitting;
            break;
        }
    }
    if (font() != chosen)
        setFont(chosen);
    setPlainText(shown);
    selectAll();
    setAccessibleDescription(text.trimmed());
}

std::optional<QString> StatusBox::fitted(const QString& text, const QFont& face) const {
    const QRect room = contentsRect();
    // One cursor's width stays free at the end of each line, as the box keeps it.
    const qreal width = room.width() - 2 * statusSideMargin - cursorWidth() - 1;
    const QTextOption option = document()->defaultTextOption();
    const auto fits = [&](const QString& candidate) {
        return wrappedHeight(candidate, face, option, width) <= room.height();
    };
    if (width <= 0 || fits(text))
        return text;
    const qsizetype at = m_device.isEmpty() ? -1 : text.indexOf(m_device);
    const qsizetype size = m_device.size();
    constexpr qsizetype shortest = 8; // enough to recognise the adapter's end
    if (at < 0 || size <= shortest || !fits(shortenedPath(text, at, size, shortest)))
        return std::nullopt;
    qsizetype low = shortest, high = size - 1; // the most characters that still fit
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (fits(shortenedPath(text, at, size, mid)))
            low = mid;
        else
            high = mid - 1;
    }
    return shortenedPath(text, at, size, low);
}

QColor StatusBox::background() const {
    return palette().color(QPalette::Base);
}

QColor StatusBox::textColour() const {
    return palette().color(QPalette::Text);
}

void StatusBox::setColours(const QColor& background, const QColor& text) {
    QPalette p = palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Highlight, background);
    p.setColor(QPalette::HighlightedText, text);
    setPalette(p);
}

CommandButton::CommandButton(const QString& name, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setObjectName(name);
}

void CommandButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, text());
}

OptionButton::OptionButton(const QString& name, const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent) {
    setObjectName(name);
}

namespace {
constexpr int plateMargin = 2; // the plate's light round the caption's letters

double luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// Readable text by the usual measure, 4.5 : 1.
bool readableOn(const QColor& text, const QColor& background) {
    const double a = luminance(text), b = luminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 4.5;
}
} // namespace

int OptionButton::indicatorWidth() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this);
}

QRect OptionButton::captionRect() const {
    const QRect room = rect().adjusted(indicatorWidth() + 4, 0, 0, 0);
    const QRect letters = fontMetrics().boundingRect(
        room, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text());
    return letters.adjusted(-plateMargin, -plateMargin, plateMargin, plateMargin) & rect();
}

bool OptionButton::captionOnPlate() const {
    const QPalette& p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        if (!readableOn(p.color(group, QPalette::WindowText), p.color(group, QPalette::Window)))
            return true;
    return false;
}

void OptionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = indicatorWidth();
    option.rect = QRect(0, (height() - indicator) / 2, indicator, indicator);
    style()->drawPrimitive(QStyle::PE_IndicatorRadioButton, &option, &painter, this);
    const QRect caption = captionRect();
    if (captionOnPlate())
        painter.fillRect(caption, FieldColours::face);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect textRect = rect().adjusted(indicator + 4, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = caption.adjusted(plateMargin, plateMargin, -plateMargin, -plateMargin);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

Decoration::Decoration(const QString& name, const QColor& colour, QLineF line, QWidget* parent)
    : QWidget(parent), m_colour(colour), m_line(line) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

Decoration::Decoration(const QString& name, const QColor& colour, QWidget* parent)
    : QWidget(parent), m_colour(colour) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Decoration::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(m_colour.isValid() ? m_colour : palette().color(QPalette::WindowText), 1));
    if (m_line)
        painter.drawLine(*m_line);
    else
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
