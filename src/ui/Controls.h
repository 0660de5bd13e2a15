#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

#include <optional>

// The light colours the window's fixed texts were chosen for: the white of
// the lists and boxes, the light 3-D face of the buttons.
namespace FieldColours {
inline const QColor field(255, 255, 255);
inline const QColor face(240, 240, 240);
} // namespace FieldColours

// Gives a box the light field of the lists and designation boxes: dark text
// on white, and the light 3-D colours every style draws a box's border,
// arrow and disabled text from, so that the box and its border look the same
// on a dark or high-contrast desktop as on a light one. The selection keeps
// the theme's colours.
void keepLightField(QWidget* box);

// A list box whose entries carry an integer item data. It shows a
// selection and tells what the user chose; the behaviour of a choice is the
// session's. A click on the entry that is already selected is a choice too.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    ListBox(const QString& name, QWidget* parent);

    void addEntry(const QString& text, qint16 itemData);
    qint16 itemData(int index) const;

    // The selected position, -1 when nothing is selected.
    int listIndex() const { return m_index; }
    // Shows the selection, scrolled into view; runs nothing.
    void showListIndex(int index);
    // Selecting by program: asks for the entry as a click does (chosen), or,
    // for a position that names no entry, for no selection.
    void setListIndex(int index);

signals:
    void chosen(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void onSelectionChanged();
    void onClicked(const QModelIndex& index);
    int m_index = -1;
    bool m_showing = false;
    bool m_pressChose = false; // the press of the current click changed the selection
};

// Keeps out of the panel name and designation boxes what a configuration file
// cannot hold: a double quote, a control character or a character outside
// Windows-1252. Typing beyond typedLimit characters has no effect either.
// Only what an edit adds is judged: the program may put any text in the box
// (a name from a file, say), and the user can still edit it.
class StorableTextValidator : public QValidator {
public:
    StorableTextValidator(int typedLimit, QObject* parent);
    State validate(QString& input, int& pos) const override;
    void accept(const QString& text);

private:
    int m_typedLimit;
    qsizetype m_length = 0;
    qsizetype m_unstorable = 0;
};

// A one-line text box for the panel name or a designation.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    TextBox(const QString& name, int typedLimit, QWidget* parent);

    // The program may set any text, also one longer than can be typed.
    void setText(const QString& text);

protected:
    bool event(QEvent* event) override;

private:
    StorableTextValidator* m_validator;
};

// The multi-line status box of the panel commands.
class StatusBox : public QPlainTextEdit {
    Q_OBJECT
public:
    StatusBox(const QString& name, QWidget* parent);
    QString text() const { return m_text; }
    void setText(const QString& text);
    // The device the panel commands use: where a message names it and is
    // too long for the box, its path gives way in the middle.
    void setDevice(const QString& device) { m_device = device; }
    QColor background() const;
    QColor textColour() const;
    // The fixed yellow, red and green carry black text.
    void setColours(const QColor& background, const QColor& text = Qt::black);

private:
    static constexpr qreal smallestPointSize = 6.5;
    // The text as the box shows it in face: whole, or with its device path
    // shortened; nullopt when even that does not fit.
    std::optional<QString> fitted(const QString& text, const QFont& face) const;

    QString m_text;
    QString m_device;
    std::optional<QFont> m_designFont; // the window's; a long message may take a smaller one
};

// Command and option buttons wrap their captions over several lines, as the
// window's fixed button sizes expect.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& name, const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};

// The button's face is the window around it. Its caption keeps the colour
// the window gives it; where that colour cannot be read on the window (a
// dark or high-contrast theme), a plate of the light face sits right behind
// the caption's letters.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(const QString& name, const QString& caption, QWidget* parent);
    // Where the caption is drawn, and whether it stands on the plate.
    QRect captionRect() const;
    bool captionOnPlate() const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    int indicatorWidth() const;
};

// A shape or line drawn over the panel picture; it takes no clicks. An
// invalid colour draws in the window's text colour.
class Decoration : public QWidget {
    Q_OBJECT
public:
    Decoration(const QString& name, const QColor& colour, QLineF line, QWidget* parent);
    Decoration(const QString& name, const QColor& colour, QWidget* parent); // a rectangle

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_colour;
    std::optional<QLineF> m_line;
};
