// The window for every user: colours under any theme, accessible names,
// the status box announced, the Tab order and the command shortcuts.

#include "Harness.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScopeGuard>
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
    void statusChangesAreAnnounced();
    void messagesTakeTheKeyboard();
    void focusRingStandsOutsideTheControl_data();
    void focusRingStandsOutsideTheControl();
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

struct SeenText {
    QObject* object;
    QString inserted;
};
QList<SeenText> seenTexts;
void recordEvent(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextInserted)
        seenTexts.append(
            {event->object(), static_cast<QAccessibleTextInsertEvent*>(event)->textInserted()});
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
          << "WRITE_CONFIG";
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
    // lists, intensities, text boxes, options, commands, the sheet command, the status
    QCOMPARE(inputs, 44 + 3 + 21 + 2 + 4 + 1 + 1);
}

// As a screen reader sees it: the platform's accessibility switched on, as
// a reader connecting does, and the events recorded.
void TestAccess::statusChangesAreAnnounced() {
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    platform->setActive(true);
    Harness h;
    seenTexts.clear();
    QAccessible::installUpdateHandler(recordEvent);
    h.session().setStatusText("SWITCH PANEL HAS BEEN PROGRAMMED");
    QAccessible::installUpdateHandler(nullptr);
    platform->setActive(false);
    QCOMPARE(seenTexts.size(), 1);
    QCOMPARE(seenTexts[0].object, h.form().statusBox());
    QCOMPARE(seenTexts[0].inserted, QString("SWITCH PANEL HAS BEEN PROGRAMMED"));
    QCOMPARE(nameOf(h.form().statusBox()), QString("STATUS"));
    // Orca reads out text that arrives selected in the box with the focus,
    // and says nothing of text merely replaced; the selection is drawn in
    // the box's own colours.
    StatusBox* box = h.form().statusBox();
    QCOMPARE(box->textCursor().selectedText(), QString("SWITCH PANEL HAS BEEN PROGRAMMED"));
    h.session().setStatusColour(ConfigScreen::StatusColour::Red);
    QCOMPARE(box->palette().color(QPalette::Highlight), QColor(255, 0, 0));
    QCOMPARE(box->palette().color(QPalette::HighlightedText), QColor(Qt::black));
}

void TestAccess::messagesTakeTheKeyboard() {
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.list(1)->setFocus();
    // A save with nothing assigned: the red message is where the keyboard goes.
    f.findChild<QAbstractButton*>("WRITE_FILE")->click();
    QCOMPARE(QApplication::focusWidget(), f.statusBox());
    QVERIFY(f.statusBox()->focusPolicy() & Qt::TabFocus);
    QVERIFY(f.statusBox()->isReadOnly());
    // Complete, but no name: after the message, the panel name box.
    h.assignAll();
    f.list(1)->setFocus();
    f.findChild<QAbstractButton*>("WRITE_FILE")->click();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(QApplication::focusWidget(), f.textBox(2));
}

void TestAccess::focusRingStandsOutsideTheControl_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("focusGoes"); // where the focus goes after
    QTest::newRow("list, default theme") << false << "List1"
                                         << "nowhere";
    QTest::newRow("list, dark theme") << true << "List1"
                                      << "nowhere";
    QTest::newRow("designation, dark theme") << true << "Text3"
                                             << "nowhere";
    QTest::newRow("command, default theme") << false << "WRITE_CONFIG"
                                            << "nowhere";
    QTest::newRow("list, then a dialog") << false << "List1"
                                         << "dialog";
    QTest::newRow("designation, then another window") << false << "Text3"
                                                      << "window";
}

// Two black pixels and a white one round the control, outside it; nothing
// at all while the window has no focus in it.
void TestAccess::focusRingStandsOutsideTheControl() {
    QFETCH(bool, dark);
    QFETCH(QString, control);
    QFETCH(QString, focusGoes);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    if (dark)
        QApplication::setPalette(darkPalette());
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QWidget* w = f.findChild<QWidget*>(control);
    f.findChild<QWidget*>("Option1")->setFocus();
    f.findChild<QWidget*>("Option1")->clearFocus();
    const QImage unfocused = f.grab().toImage();
    w->setFocus(Qt::TabFocusReason);
    const QImage focused = f.grab().toImage();
    const QRect r = w->geometry();
    const int y = r.center().y();
    QCOMPARE(focused.pixelColor(r.left() - 1, y), QColor(Qt::black));
    QCOMPARE(focused.pixelColor(r.left() - 2, y), QColor(Qt::black));
    QCOMPARE(focused.pixelColor(r.left() - 3, y), QColor(Qt::white));
    QCOMPARE(focused.pixelColor(r.right() + 2, y), QColor(Qt::black));
    QCOMPARE(focused.pixelColor(r.center().x(), r.top() - 3), QColor(Qt::white));
    if (focusGoes == "nowhere") {
        w->clearFocus();
        QCOMPARE(f.grab().toImage(), unfocused);
        return;
    }
    // A dialog of the window, or a window of its own: the ring is not left
    // round a control that has lost the keyboard.
    QWidget* ring = f.findChild<QWidget*>("FocusRing");
    QVERIFY(ring && ring->isVisible());
    QDialog dialog(focusGoes == "dialog" ? &f : nullptr);
    auto* edit = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    QVERIFY(!ring->isVisible());
    QVERIFY(f.grab().toImage().pixelColor(r.left() - 2, y) != QColor(Qt::black));
    dialog.close();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTRY_COMPARE(QApplication::focusWidget(), w);
    QVERIFY(ring->isVisible()); // back with the focus
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
