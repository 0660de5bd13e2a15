// The window for every user: colours under any theme, accessible names,
// the status box announced, the Tab order and the command shortcuts.

#include "Harness.h"
#include "ui/FrameBox.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <cmath>

class TestAccess : public QObject {
    Q_OBJECT
private slots:
    void fixedColoursKeepTheirPartners_data();
    void fixedColoursKeepTheirPartners();
    void nameAndPortKeepALightField_data();
    void nameAndPortKeepALightField();
    void optionFacesAreTheWindow_data();
    void optionFacesAreTheWindow();
    void everyInputHasItsOwnAccessibleName();
    void statusChangesAreAnnounced_data();
    void statusChangesAreAnnounced();
    void aReadSendsNoTextThatStayedTheSame();
    void messagesLeaveTheKeyboardWhereItIs();
    void focusRingHidesNoNeighbour_data();
    void focusRingHidesNoNeighbour();
    void focusRingLeavesWithTheKeyboard_data();
    void focusRingLeavesWithTheKeyboard();
    void keysReachThePlaces_data();
    void keysReachThePlaces();
    void tabFollowsThePanel_data();
    void tabFollowsThePanel();
    void shortcutsRunTheirCommands_data();
    void shortcutsRunTheirCommands();
};

namespace {
// The dark colour sets of Breeze Dark and GNOME's dark style, in short.
QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(49, 54, 59));
    p.setColor(QPalette::WindowText, QColor(239, 240, 241));
    p.setColor(QPalette::Base, QColor(35, 38, 41));
    p.setColor(QPalette::AlternateBase, QColor(49, 54, 59));
    p.setColor(QPalette::Text, QColor(200, 200, 200));
    p.setColor(QPalette::Button, QColor(49, 54, 59));
    p.setColor(QPalette::ButtonText, QColor(239, 240, 241));
    p.setColor(QPalette::Midlight, QColor(70, 74, 78));
    p.setColor(QPalette::Highlight, QColor(61, 174, 233));
    p.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
    return p;
}

// A high-contrast desktop: white on black, a yellow selection.
QPalette highContrastPalette() {
    QPalette p(Qt::white, Qt::black, Qt::white, Qt::white, Qt::white, Qt::white, Qt::white,
               Qt::black, Qt::black);
    p.setColor(QPalette::Highlight, Qt::yellow);
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

QPalette themePalette(const QString& theme) {
    if (theme == "dark")
        return darkPalette();
    if (theme == "high contrast")
        return highContrastPalette();
    return QApplication::palette();
}

double luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Readable text by the usual measure (4.5 : 1), in the active and inactive window.
bool readable(QWidget* w, QPalette::ColorRole text, QPalette::ColorRole background) {
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        const QPalette& p = w->palette();
        if (contrast(p.color(group, text), p.color(group, background)) < 4.5)
            return false;
    }
    return true;
}

QString nameOf(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The texts of notification objects as they appear.
QStringList shownNotifications;
void recordEvent(QAccessibleEvent* event) {
    if (event->type() != QAccessible::ObjectShow)
        return;
    QAccessibleInterface* shown = event->accessibleInterface();
    if (shown && shown->role() == QAccessible::Notification)
        shownNotifications << shown->text(QAccessible::Name);
}

// The platform's accessibility switched on, as a reader connecting does;
// off again, and no event recorded any more, at the end of the test.
struct ReaderListening {
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    ReaderListening() {
        if (platform)
            platform->setActive(true);
    }
    ~ReaderListening() {
        QAccessible::installUpdateHandler(nullptr);
        if (platform)
            platform->setActive(false);
    }
    ReaderListening(const ReaderListening&) = delete;
    ReaderListening& operator=(const ReaderListening&) = delete;
};

// Names and descriptions sent for lists and compare marks.
QStringList textChanges;
void recordTextChange(QAccessibleEvent* event) {
    if (event->type() != QAccessible::NameChanged &&
        event->type() != QAccessible::DescriptionChanged)
        return;
    QObject* o = event->object();
    if (o && (o->inherits("QListWidget") || o->objectName().startsWith("CompareMark")))
        textChanges << o->objectName();
}

QStringList chainNames(const QString& view) {
    QStringList names;
    const int first = view == "switch" ? 1 : 21;
    for (int k = 0; k < 10; ++k)
        names << QString("List%1").arg(first + 2 * k) << QString("List%1").arg(first + 2 * k + 1)
              << QString("Text%1").arg((view == "switch" ? 3 : 13) + k);
    if (view == "lighting")
        names << "List41"
              << "List42"
              << "List43"
              << "List44"
              << "List49"
              << "List45"
              << "List46";
    names << "Text2"
          << "Option1"
          << "PRINT_SHEET"
          << "READ_FILE"
          << "WRITE_FILE"
          << "READ_CONFIG"
          << "WRITE_CONFIG"
          << "COMPARE_CONFIG"
          << "HELP";
    return names;
}
} // namespace

void TestAccess::fixedColoursKeepTheirPartners_data() {
    QTest::addColumn<QString>("theme");
    QTest::newRow("default theme") << "default";
    QTest::newRow("dark theme") << "dark";
    QTest::newRow("high-contrast theme") << "high contrast";
}

void TestAccess::fixedColoursKeepTheirPartners() {
    QFETCH(QString, theme);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QApplication::setPalette(themePalette(theme));
    Harness h;
    Form1& f = h.form();

    StatusBox* status = f.statusBox();
    const QColor fixed[] = {QColor(255, 255, 0), QColor(255, 0, 0), QColor(0, 255, 0)};
    const ConfigScreen::StatusColour colours[] = {ConfigScreen::StatusColour::Yellow,
                                                  ConfigScreen::StatusColour::Red,
                                                  ConfigScreen::StatusColour::Green};
    for (int i = 0; i < 3; ++i) {
        h.session().setStatusColour(colours[i]);
        QCOMPARE(status->background(), fixed[i]);
        QCOMPARE(status->textColour(), QColor(Qt::black));
    }
    for (int l = 1; l <= 49; ++l) {
        if (l == 47 || l == 48)
            continue;
        QCOMPARE(f.list(l)->palette().color(QPalette::Base), QColor(Qt::white));
        QVERIFY2(readable(f.list(l), QPalette::Text, QPalette::Base),
                 qPrintable(f.list(l)->objectName()));
    }
    for (int t = 3; t <= 22; ++t)
        QVERIFY(readable(f.textBox(t), QPalette::Text, QPalette::Base));
    for (const char* option : {"Option1", "Option2"}) {
        auto* button = f.findChild<QWidget*>(option);
        // The indicator: a black dot in a white circle, whatever the theme.
        QCOMPARE(button->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(button->palette().color(QPalette::Base), QColor(Qt::white));
    }
    // The white lists' scroll bars are light too, not the theme's dark groove,
    // in either view, within the lighting frames as well.
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    for (int l : {1, 2, 41, 42, 45, 49}) {
        if (l == 41)
            h.session().Option2_Click();
        QScrollBar* bar = f.list(l)->verticalScrollBar();
        QVERIFY(bar->isVisible());
        const QImage drawn = bar->grab().toImage();
        double light = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                light += luminance(drawn.pixelColor(x, y));
        light /= drawn.width() * drawn.height();
        QVERIFY2(light > 0.5, qPrintable(QString("List%1: %2").arg(l).arg(light)));
    }
    // The frames' line, in the theme's mid colour, stops short of the caption.
    for (const char* name : {"Frame1", "Frame2"}) {
        auto* frame = f.findChild<FrameBox*>(name);
        const QImage drawn = frame->grab().toImage();
        const auto at = [&drawn](int x, int y) { return drawn.pixel(x, y); };
        const QRect caption = frame->captionRect();
        const QRgb line = frame->palette().color(QPalette::Mid).rgb();
        QCOMPARE(at(caption.left() - 1, 8), line);
        QCOMPARE(at(caption.right() + 1, 8), line);
        QCOMPARE(at(0, 20), line);
        for (int x : {caption.left(), caption.left() + 1, caption.right()})
            QCOMPARE(at(x, 8), frame->palette().color(QPalette::Window).rgb());
    }
    // What the window leaves alone follows the theme.
    QCOMPARE(f.palette().color(QPalette::Window), themePalette(theme).color(QPalette::Window));
    QCOMPARE(f.findChild<QWidget*>("READ_FILE")->palette().color(QPalette::Button),
             themePalette(theme).color(QPalette::Button));
}

void TestAccess::nameAndPortKeepALightField_data() {
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QString>("box");
    for (const char* theme : {"dark", "high contrast"})
        for (const char* box : {"Text2", "PortPicker"})
            QTest::addRow("%s, %s", box, theme) << theme << box;
}

// As drawn: a white field, and at the box's edge a border that stands out
// from the field and from what lies around the box.
void TestAccess::nameAndPortKeepALightField() {
    QFETCH(QString, theme);
    QFETCH(QString, box);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QApplication::setPalette(themePalette(theme));
    Harness h;
    QTemporaryDir dir;
    Settings settings(dir.filePath("settings.ini"));
    h.tool.addPortPicker(settings, "/dev/fake", [] { return QList<PortNames::Port>{}; });
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto* w = f.findChild<QWidget*>(box);
    QVERIFY(w);
    const QImage image = f.grab().toImage();
    const QRect r = w->geometry();
    const QPoint middle(r.left() + r.width() * 3 / 5, r.center().y()); // right of any text
    const QColor field = image.pixelColor(middle);
    QCOMPARE(field, QColor(Qt::white));
    QCOMPARE(w->palette().color(QPalette::Text), QColor(Qt::black));
    struct Edge {
        QPoint outside, inside, step;
    };
    const Edge edges[] = {{{r.left() - 4, middle.y()}, {r.left(), middle.y()}, {1, 0}},
                          {{middle.x(), r.top() - 4}, {middle.x(), r.top()}, {0, 1}}};
    for (const Edge& edge : edges) {
        const QColor around = image.pixelColor(edge.outside);
        double best = 0;
        for (QPoint at = edge.inside; at != edge.inside + 4 * edge.step; at += edge.step) {
            const QColor border = image.pixelColor(at);
            best = std::max(best, std::min(contrast(border, field) * 2, contrast(border, around)));
        }
        // A border the eye finds: at least 1.5 : 1 against the white field,
        // 3 : 1 against what is around.
        QVERIFY2(best >= 3, qPrintable(QString("%1 at %2,%3: %4")
                                           .arg(box)
                                           .arg(edge.inside.x())
                                           .arg(edge.inside.y())
                                           .arg(best)));
    }
}

void TestAccess::optionFacesAreTheWindow_data() {
    fixedColoursKeepTheirPartners_data(); // the same three themes
}

// The window shows round the captions; each caption is drawn in its fixed
// colour on something it can be read on.
void TestAccess::optionFacesAreTheWindow() {
    QFETCH(QString, theme);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QApplication::setPalette(themePalette(theme));
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QColor window = themePalette(theme).color(QPalette::Window);
    const QColor captions[] = {QColor(0, 128, 0), QColor(192, 0, 0)};
    for (int i = 0; i < 2; ++i) {
        auto* option = f.findChild<OptionButton*>(QString("Option%1").arg(i + 1));
        const QImage image = option->grab().toImage();
        const QRect caption = option->captionRect();
        QVERIFY(!caption.isEmpty());
        QCOMPARE(image.pixelColor(option->width() - 2, option->height() - 2), window);
        QCOMPARE(image.pixelColor(option->width() - 2, 1), window);
        // Behind the letters: the window where they can be read on it, else the plate.
        const QColor behind = image.pixelColor(caption.topLeft());
        QVERIFY2(contrast(captions[i], behind) >= 4.5, qPrintable(behind.name()));
        QCOMPARE(behind, option->captionOnPlate() ? QColor(240, 240, 240) : window);
        int letters = 0;
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            for (int x = caption.left(); x <= caption.right(); ++x)
                letters += image.pixelColor(x, y) == captions[i];
        QVERIFY2(letters > 20, qPrintable(option->objectName()));
    }
}

void TestAccess::everyInputHasItsOwnAccessibleName() {
    Harness h;
    Form1& f = h.form();
    QCOMPARE(nameOf(f.list(1)), QString("SW1 MODULE ASSIGNMENT"));
    QCOMPARE(nameOf(f.list(20)), QString("SW10 CHANNEL ASSIGNMENT"));
    QCOMPARE(nameOf(f.list(21)), QString("LED1 MODULE ASSIGNMENT"));
    QCOMPARE(nameOf(f.list(44)), QString("DIMMING CHANNEL ASSIGNMENT"));
    QCOMPARE(nameOf(f.list(41)), QString("BACKLIGHTING MODULE ASSIGNMENT"));
    QCOMPARE(nameOf(f.list(49)), QString("NORMAL INDICATOR (%)"));
    QCOMPARE(nameOf(f.list(46)), QString("DIMMED BACKLIGHTING AND INDICATOR (%)"));
    QCOMPARE(nameOf(f.textBox(3)), QString("SW1 DESIGNATION"));
    QCOMPARE(nameOf(f.textBox(22)), QString("LED10 DESIGNATION"));
    QCOMPARE(nameOf(f.textBox(2)), QString("PANEL NAME"));
    QCOMPARE(nameOf(f.findChild<QWidget*>("WRITE_CONFIG")),
             QString("WRITE CONFIGURATION TO SWITCH PANEL"));
    // A button is named by the words on it.
    QCOMPARE(nameOf(f.findChild<QWidget*>("PRINT_SHEET")), QString("PRINT SHEET"));
    QCOMPARE(nameOf(f.findChild<QWidget*>("HELP")), QString("HELP"));

    QSet<QString> names;
    int inputs = 0;
    for (QWidget* w : f.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->isWindow() || !w->parentWidget() ||
            w->parentWidget()->focusProxy() == w || w->objectName() == "qt_scrollarea_viewport")
            continue;
        ++inputs;
        const QString name = nameOf(w);
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
    }
    // lists, intensities, text boxes, options, commands, the sheet command, help, the status,
    // the compare
    QCOMPARE(inputs, 44 + 3 + 21 + 2 + 4 + 1 + 1 + 1 + 1);
}

// As a screen reader sees it: the platform's accessibility switched on, as
// a reader connecting does, and the notifications recorded as they appear.
void TestAccess::statusChangesAreAnnounced_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("spoken");
    QTest::newRow("one message") << "A" << QStringList{"A"};
    QTest::newRow("the same message again") << "A A" << QStringList{"A"};
    QTest::newRow("two messages") << "A B" << QStringList{"A", "B"};
    QTest::newRow("hidden and shown again") << "A hide A" << QStringList{"A", "A"};
    QTest::newRow("two at once") << "A+B" << QStringList{"A. B"};
    QTest::newRow("while hidden") << "hide ~A" << QStringList{};
    // The box appears with the last command's message and gets its own at once.
    QTest::newRow("shown, then its message") << "A hide show+B" << QStringList{"A", "B"};
    // The port cannot be opened: the start and the failure come together.
    QTest::newRow("a write that fails at once")
        << "write"
        << QStringList{"STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION. "
                       "NOT FOUND"};
    QTest::newRow("undo and redo")
        << "undo redo" << QStringList{"UNDO: SW3 MODULE", "REDO: SW3 MODULE"};
}

void TestAccess::statusChangesAreAnnounced() {
    QFETCH(QString, steps);
    QFETCH(QStringList, spoken);
    const ReaderListening reader;
    QVERIFY(reader.platform);
    Harness h;
    h.port.refuseOpen = "NOT FOUND";
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    h.assignAll();
    h.session().step([&] { h.session().selectListEntry(5, 7); });
    f.list(1)->setFocus();
    QCoreApplication::processEvents();
    shownNotifications.clear();
    QAccessible::installUpdateHandler(recordEvent);
    for (const QString& step : steps.split(' ')) {
        if (step == "hide")
            h.session().setStatusVisible(false);
        else if (step == "undo")
            h.session().undo();
        else if (step == "redo")
            h.session().redo();
        else if (step.startsWith('~'))
            h.session().setStatusText(step.mid(1));
        else if (step == "write")
            f.findChild<QAbstractButton*>("WRITE_CONFIG")->click();
        else
            for (const QString& message : step.split('+')) {
                if (message == "show") {
                    h.session().setStatusVisible(true);
                    continue;
                }
                h.session().setStatusVisible(true);
                h.session().setStatusText(message);
            }
        QCoreApplication::processEvents();
    }
    QCOMPARE(shownNotifications, spoken);
    // Nothing moved the keyboard, and the box draws its text, nothing selected.
    QCOMPARE(QApplication::focusWidget(), f.list(1));
    QVERIFY(!f.statusBox()->textCursor().hasSelection());
}

// A reader that falls behind a flood of changes drops what comes amid
// them, a read's outcome among them: with a reader listening, the lighting
// view is built before any read, and a read that marks nothing sends no
// name or description of a list or a mark.
void TestAccess::aReadSendsNoTextThatStayedTheSame() {
    const ReaderListening reader;
    QVERIFY(reader.platform);
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QVERIFY(f.builtList(23));
    h.assignAll();
    f.findChild<QAbstractButton*>("WRITE_CONFIG")->click();
    QCoreApplication::processEvents();
    textChanges.clear();
    QAccessible::installUpdateHandler(recordTextChange);
    f.findChild<QAbstractButton*>("READ_CONFIG")->click();
    QCoreApplication::processEvents();
    QCOMPARE(h.session().statusText(), QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL"));
    QCOMPARE(textChanges, QStringList());
}

// A message leaves the keyboard where the user put it; after the missing
// panel name's message it goes to the panel name box.
void TestAccess::messagesLeaveTheKeyboardWhereItIs() {
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.list(1)->setFocus();
    // A save with nothing assigned: the red message is said, the keyboard stays.
    f.findChild<QAbstractButton*>("WRITE_FILE")->click();
    QCOMPARE(QApplication::focusWidget(), f.list(1));
    QVERIFY(f.statusBox()->focusPolicy() & Qt::TabFocus); // to be read again
    QVERIFY(f.statusBox()->isReadOnly());
    // Complete, but no name: after the message, the panel name box.
    h.assignAll();
    f.list(1)->setFocus();
    f.findChild<QAbstractButton*>("WRITE_FILE")->click();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(QApplication::focusWidget(), f.textBox(2));
}

void TestAccess::focusRingLeavesWithTheKeyboard_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("focusGoes");
    QTest::newRow("list, then a dialog") << "List1"
                                         << "dialog";
    QTest::newRow("designation, then another window") << "Text3"
                                                      << "window";
}

// A dialog of the window, or a window of its own: the ring is not left
// round a control that has lost the keyboard, and comes back with it.
void TestAccess::focusRingLeavesWithTheKeyboard() {
    QFETCH(QString, control);
    QFETCH(QString, focusGoes);
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QWidget* w = f.findChild<QWidget*>(control);
    w->setFocus(Qt::TabFocusReason);
    QWidget* ring = f.findChild<QWidget*>("FocusRing");
    QTRY_VERIFY(ring && ring->isVisible());
    QDialog dialog(focusGoes == "dialog" ? &f : nullptr);
    auto* edit = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    QVERIFY(!ring->isVisible());
    dialog.close();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTRY_COMPARE(QApplication::focusWidget(), w);
    QVERIFY(ring->isVisible());
}

void TestAccess::focusRingHidesNoNeighbour_data() {
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QString>("control");
    QTest::newRow("list, default theme") << "default"
                                         << "List3";
    QTest::newRow("list, dark theme") << "dark"
                                      << "List4";
    QTest::newRow("designation, default theme") << "default"
                                                << "Text5";
    QTest::newRow("designation, high contrast") << "high contrast"
                                                << "Text4";
    QTest::newRow("command, default theme") << "default"
                                            << "WRITE_CONFIG";
    QTest::newRow("command, dark theme") << "dark"
                                         << "READ_FILE";
    QTest::newRow("option, high contrast") << "high contrast"
                                           << "Option1";
    QTest::newRow("panel name, dark theme") << "dark"
                                            << "Text2";
}

// The ring changes only pixels of the focused control itself: a designation
// box and the list under it touch, and neither's ring may cut the other's
// text. It is two pixels wide along the control's visible edge, in a colour
// that stands out from the control's face; nothing at all without focus.
void TestAccess::focusRingHidesNoNeighbour() {
    QFETCH(QString, theme);
    QFETCH(QString, control);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QApplication::setPalette(themePalette(theme));
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QWidget* w = f.findChild<QWidget*>(control);
    f.findChild<QWidget*>("Option2")->setFocus();
    f.findChild<QWidget*>("Option2")->clearFocus();
    const QImage unfocused = f.grab().toImage();
    w->setFocus(Qt::TabFocusReason);
    const QImage focused = f.grab().toImage();
    int changed = 0;
    for (int y = 0; y < focused.height(); ++y)
        for (int x = 0; x < focused.width(); ++x) {
            if (focused.pixel(x, y) == unfocused.pixel(x, y))
                continue;
            ++changed;
            QWidget* shown = f.childAt(x, y);
            QVERIFY2(shown == w || w->isAncestorOf(shown),
                     qPrintable(QString("(%1, %2) of %3")
                                    .arg(x)
                                    .arg(y)
                                    .arg(shown ? shown->objectName() : "the window")));
        }
    QVERIFY(changed > 0);
    // Two pixels deep along the edges of what shows of the control (a
    // neighbour may lie over one of them), standing out from what the
    // control shows a little further in.
    const QRect r(w->mapTo(&f, QPoint(0, 0)), w->size());
    const auto mine = [&](int x, int y) {
        QWidget* at = f.childAt(x, y);
        return at == w || w->isAncestorOf(at);
    };
    const int y = r.top() + 6, x = r.center().x();
    int left = x, right = x, top = y;
    while (mine(left - 1, y))
        --left;
    while (mine(right + 1, y))
        ++right;
    while (mine(x, top - 1))
        --top;
    const QColor ring = focused.pixelColor(left, y);
    for (QPoint p : {QPoint(left + 1, y), QPoint(right, y), QPoint(right - 1, y), QPoint(x, top),
                     QPoint(x, top + 1)})
        QCOMPARE(focused.pixelColor(p), ring);
    QVERIFY(focused.pixelColor(left + 2, y) != ring || focused.pixelColor(x, top + 2) != ring);
    const QColor face = unfocused.pixelColor(left + 4, y);
    QVERIFY2(contrast(ring, face) >= 3,
             qPrintable(QString("%1 on %2").arg(ring.name(), face.name())));
    w->clearFocus();
    QCOMPARE(f.grab().toImage(), unfocused);
}

void TestAccess::keysReachThePlaces_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("lighting");
    QTest::addColumn<QString>("target");
    QTest::newRow("Alt+N panel name") << "Alt+N" << false << "Text2";
    QTest::newRow("Alt+P serial port") << "Alt+P" << false << "PortPicker";
    QTest::newRow("Alt+M SW1 module") << "Alt+M" << false << "List1";
    QTest::newRow("Alt+M LED1 module") << "Alt+M" << true << "List21";
}

void TestAccess::keysReachThePlaces() {
    QFETCH(QString, keys);
    QFETCH(bool, lighting);
    QFETCH(QString, target);
    Harness h;
    QTemporaryDir dir;
    Settings settings(dir.filePath("settings.ini"));
    h.tool.addPortPicker(settings, "/dev/fake", [] { return QList<PortNames::Port>{}; });
    Form1& f = h.form();
    if (lighting)
        h.lightingView();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.findChild<QWidget*>("WRITE_CONFIG")->setFocus();
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(keys));
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), target);
}

void TestAccess::tabFollowsThePanel_data() {
    QTest::addColumn<QString>("view");
    QTest::newRow("switch view") << "switch";
    QTest::newRow("lighting view") << "lighting";
}

// Tab walks the visible controls in the panel's order and comes round again.
void TestAccess::tabFollowsThePanel() {
    QFETCH(QString, view);
    Harness h;
    Form1& f = h.form();
    if (view == "lighting")
        h.lightingView();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const QStringList expected = chainNames(view);
    f.findChild<QWidget*>(expected.first())->setFocus();
    QStringList walked;
    for (int i = 0; i <= expected.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        walked << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(walked.mid(0, expected.size()), expected);
    QCOMPARE(walked.last(), expected.first());
}

void TestAccess::shortcutsRunTheirCommands_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("command"); // -1 for none
    QTest::newRow("Ctrl+O opens") << QKeySequence("Ctrl+O") << 0;
    QTest::newRow("Ctrl+S saves") << QKeySequence("Ctrl+S") << 1;
    QTest::newRow("Ctrl+Shift+R reads the panel") << QKeySequence("Ctrl+Shift+R") << 2;
    QTest::newRow("Ctrl+Shift+U writes the panel") << QKeySequence("Ctrl+Shift+U") << 3;
    QTest::newRow("Ctrl+W does nothing") << QKeySequence("Ctrl+W") << -1;
    QTest::newRow("Ctrl+Shift+W does nothing") << QKeySequence("Ctrl+Shift+W") << -1;
    QTest::newRow("Ctrl+R does nothing") << QKeySequence("Ctrl+R") << -1;
}

void TestAccess::shortcutsRunTheirCommands() {
    QFETCH(QKeySequence, keys);
    QFETCH(int, command);
    DialogRecorder dialogs;
    Session session(dialogs);
    Form1 f(session);
    std::array<int, 4> ran{};
    f.setCommands(
        {[&] { ++ran[2]; }, [&] { ++ran[3]; }, [&] { ++ran[0]; }, [&] { ++ran[1]; }, [] {}});
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.textBox(2)->setFocus(); // typing the panel name
    QTest::keySequence(f.textBox(2), keys);
    std::array<int, 4> expected{};
    if (command >= 0) {
        expected[size_t(command)] = 1;
        QTRY_COMPARE(ran, expected);
    }
    QTest::qWait(300); // a button's shortcut clicks it after a short delay
    QCOMPARE(ran, expected);
    QCOMPARE(f.textBox(2)->text(), QString());
    QCOMPARE(f.findChild<QAbstractButton*>("WRITE_CONFIG")->text(),
             QString("WRITE CONFIGURATION TO SWITCH PANEL"));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    TestAccess test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_access.moc"
