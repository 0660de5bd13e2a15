// What a screen reader gets over the accessibility bus itself (AT-SPI, as
// Orca listens to it): a message in the status box arrives as the focus
// moving to the STATUS box with the message in it, and the program is listed
// once. The test runs on a private session bus and display of its own
// (dbus-run-session, xvfb-run) and skips, saying why, where those or the
// accessibility bus cannot start.

#include "Harness.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <vector>

namespace {
constexpr const char* insideMark = "PANEL_ATSPI_INSIDE";
constexpr int timeout = 30000; // ms; the bus, the registry and a program start on a busy machine
// One question to a program while it is listed: one that does not answer in
// time is asked again at the next look, not waited for until the test's end.
constexpr int lookTimeout = 5000;
const QString registry = QStringLiteral("org.a11y.atspi.Registry");
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");

QString unavailable; // why the test cannot run here, if it cannot

struct Event {
    QString sender, path, member, detail;
    int detail1;
};

struct Application {
    QString bus, path, name;
    int children;
    uint pid;
};
} // namespace

class TestAtSpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void announcedOnceInOrder_data();
    void announcedOnceInOrder();
    void listedOnceUnderAGtkTheme();

public slots:
    void record(const QDBusMessage& message);

private:
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {},
                      int waitMs = timeout);
    QVariant property(const QString& service, const QString& path, const QString& name,
                      int waitMs = timeout);
    QList<Application> applications();
    QList<Application> applicationsOf(qint64 pid);
    void hear(QStringList& heard);

    QDBusConnection m_bus{QString()};
    std::vector<Event> m_events;
    size_t m_heard = 0; // events already looked at for notifications
};

QDBusMessage TestAtSpi::call(const QString& service, const QString& path, const QString& interface,
                             const QString& method, const QVariantList& arguments, int waitMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    // The window's own accessible objects answer from this thread: the wait
    // goes on handling events.
    return m_bus.call(message, QDBus::BlockWithGui, waitMs);
}

QVariant TestAtSpi::property(const QString& service, const QString& path, const QString& name,
                             int waitMs) {
    const QDBusMessage reply =
        call(service, path, "org.freedesktop.DBus.Properties", "Get", {accessible, name}, waitMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

// The registry desktop's children: every program a screen reader lists.
QList<Application> TestAtSpi::applications() {
    QList<Application> found;
    const QDBusMessage reply = call(registry, rootPath, accessible, "GetChildren", {}, lookTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return found;
    const auto children = reply.arguments().first().value<QDBusArgument>();
    children.beginArray();
    while (!children.atEnd()) {
        Application app;
        QDBusObjectPath path;
        children.beginStructure();
        children >> app.bus >> path;
        children.endStructure();
        app.path = path.path();
        app.name = property(app.bus, app.path, "Name", lookTimeout).toString();
        app.children = property(app.bus, app.path, "ChildCount", lookTimeout).toInt();
        app.pid = m_bus.interface()->servicePid(app.bus).value();
        found.append(app);
    }
    children.endArray();
    return found;
}

QList<Application> TestAtSpi::applicationsOf(qint64 pid) {
    QList<Application> of;
    for (const Application& app : applications())
        if (app.pid == pid)
            of.append(app);
    return of;
}

void TestAtSpi::record(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    m_events.push_back({message.service(), message.path(), message.member(),
                        args.value(0).toString(), args.value(1).toInt()});
}

void TestAtSpi::initTestCase() {
    if (!unavailable.isEmpty())
        QSKIP(qPrintable(unavailable));
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected())
        QSKIP("no D-Bus session bus: dbus-run-session gave none");
    // The session bus starts the accessibility bus when asked for it, as a
    // screen reader's desktop does.
    const QDBusMessage reply =
        session.call(QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                                    "GetAddress"),
                     QDBus::Block, timeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        QSKIP(qPrintable("the accessibility bus cannot start (install at-spi2-core): " +
                         reply.errorMessage()));
    m_bus = QDBusConnection::connectToBus(reply.arguments().first().toString(), "listener");
    if (!m_bus.isConnected())
        QSKIP(
            qPrintable("the accessibility bus cannot be reached: " + m_bus.lastError().message()));

    // Qt's bridge sends only the events someone has asked the registry for,
    // named as a reader's library names them on the bus.
    for (const char* event :
         {"Object:StateChanged:focused", "Object:StateChanged:showing", "Object:TextChanged",
          "Object:TextSelectionChanged", "Object:TextCaretMoved", "Focus:"}) {
        QDBusMessage registered = call(registry, "/org/a11y/atspi/registry", registry,
                                       "RegisterEvent", {QString(event), QStringList(), QString()});
        if (registered.type() != QDBusMessage::ReplyMessage) // a registry before 2.34
            registered = call(registry, "/org/a11y/atspi/registry", registry, "RegisterEvent",
                              {QString(event)});
        if (registered.type() != QDBusMessage::ReplyMessage)
            QSKIP(qPrintable("the AT-SPI registry cannot start: " + registered.errorMessage()));
    }
    for (const char* member :
         {"StateChanged", "TextChanged", "TextSelectionChanged", "TextCaretMoved"})
        QVERIFY(m_bus.connect(QString(), QString(), "org.a11y.atspi.Event.Object", member, this,
                              SLOT(record(QDBusMessage))));
    QVERIFY(m_bus.connect(QString(), QString(), "org.a11y.atspi.Event.Focus", "Focus", this,
                          SLOT(record(QDBusMessage))));
}

void TestAtSpi::cleanupTestCase() {
    if (m_bus.isConnected())
        QDBusConnection::disconnectFromBus(m_bus.name());
}

// What a reader hears: each notification that has appeared since the last
// call, in order, by name.
void TestAtSpi::hear(QStringList& heard) {
    for (; m_heard < m_events.size(); ++m_heard) {
        const Event& e = m_events[m_heard];
        if (e.member != "StateChanged" || e.detail != "showing" || e.detail1 != 1)
            continue;
        const QDBusMessage role = call(e.sender, e.path, accessible, "GetRoleName");
        if (role.arguments().value(0).toString() == "notification")
            heard << property(e.sender, e.path, "Name").toString();
    }
}

void TestAtSpi::announcedOnceInOrder_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("heard");
    QTest::newRow("a read") << "read"
                            << QStringList{"STARTING COMMUNICATIONS TO READ SWITCH PANEL "
                                           "CONFIGURATION",
                                           "COMMUNICATIONS OK",
                                           "SWITCH PANEL DATA READ SUCCESSFUL"};
    // The port cannot be opened: start and failure at once, said together.
    QTest::newRow("a write that fails at once")
        << "write"
        << QStringList{"STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION. NOT FOUND"};
    QTest::newRow("a save with nothing assigned")
        << "save"
        << QStringList{"DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA"};
    QTest::newRow("an undo") << "undo" << QStringList{"UNDO: SW3 MODULE"};
}

// A read, a failed write, a refused save and an undo, as a screen reader
// (Orca) gets them over the accessibility bus: each message once, in order,
// with the keyboard left where it was.
void TestAtSpi::announcedOnceInOrder() {
    QFETCH(QString, action);
    QFETCH(QStringList, heard);
    Harness h;
    Form1& f = h.form();
    if (action == "write") {
        h.port.refuseOpen = "NOT FOUND";
        h.assignAll();
    }
    f.show();
    f.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(f.isActiveWindow(), timeout);
    QTRY_VERIFY_WITH_TIMEOUT(!applicationsOf(QCoreApplication::applicationPid()).isEmpty() &&
                                 applicationsOf(QCoreApplication::applicationPid())[0].children > 0,
                             timeout);
    f.list(5)->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(
        std::any_of(m_events.begin(), m_events.end(),
                    [](const Event& e) { return e.detail == "focused" && e.detail1 == 1; }),
        timeout);
    if (action == "undo")
        h.session().step([&] { h.session().selectListEntry(5, 4); });
    QCoreApplication::processEvents();
    m_events.clear();
    m_heard = 0;

    if (action == "read")
        f.findChild<QAbstractButton*>("READ_CONFIG")->click();
    else if (action == "write")
        f.findChild<QAbstractButton*>("WRITE_CONFIG")->click();
    else if (action == "save")
        f.findChild<QAbstractButton*>("WRITE_FILE")->click();
    else
        QTest::keyClick(f.list(5), Qt::Key_Z, Qt::ControlModifier);
    QStringList got;
    QTRY_VERIFY_WITH_TIMEOUT((hear(got), got.size() >= heard.size()), timeout);
    // Nothing more comes after a while on the bus.
    QTest::qWait(2000);
    hear(got);
    QCOMPARE(got, heard);
    QCOMPARE(QApplication::focusWidget(), f.list(5));
}

// GTK, started inside the program by a GTK platform theme, has a bridge of
// its own; the program must still be listed once, with its window.
void TestAtSpi::listedOnceUnderAGtkTheme() {
    const QString plugin =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platformthemes/libqgtk3.so";
    if (!QFileInfo::exists(plugin))
        QSKIP("Qt's GTK platform theme is not installed (qt6-gtk-platformtheme)");
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("NO_AT_BRIDGE");
    env.remove(insideMark);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_QPA_PLATFORMTHEME", "gtk3");
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    env.insert("XDG_CONFIG_HOME", home.path());
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(PANELCONFIG_PATH, {});
    QVERIFY(program.waitForStarted(timeout));
    const qint64 pid = program.processId();
    // Listed with its window ...
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QList<Application> listed = applicationsOf(pid);
            return std::any_of(listed.begin(), listed.end(),
                               [](const Application& a) { return a.children > 0; });
        }(),
        timeout);
    // ... and once: GTK would have come first, while the program started.
    const QList<Application> listed = applicationsOf(pid);
    program.terminate();
    if (!program.waitForFinished(timeout))
        program.kill();
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed[0].name, QString("panelconfig"));
}

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet(insideMark)) {
        // A bus and a display of the test's own, so no desktop's screen
        // reader or programs take part.
        const QString runSession = QStandardPaths::findExecutable("dbus-run-session");
        const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
        if (runSession.isEmpty())
            unavailable = "dbus-run-session is not installed (package dbus)";
        else if (xvfbRun.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
            unavailable = "no X display and no xvfb-run (package xvfb) to make one";
        if (unavailable.isEmpty()) {
            qputenv(insideMark, "1");
            std::vector<QByteArray> words{runSession.toLocal8Bit(), "--"};
            if (!xvfbRun.isEmpty())
                words.insert(words.end(), {xvfbRun.toLocal8Bit(), "-a", "-s",
                                           "-screen 0 1280x1024x24 -nolisten tcp"});
            for (int i = 0; i < argc; ++i)
                words.emplace_back(argv[i]);
            std::vector<char*> exec;
            for (QByteArray& w : words)
                exec.push_back(w.data());
            exec.push_back(nullptr);
            execv(exec[0], exec.data());
            unavailable =
                "dbus-run-session cannot be run: " + QString::fromLocal8Bit(strerror(errno));
        }
    } else if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        unavailable = "no X display inside the private session";
    }
    if (unavailable.isEmpty()) {
        // Qt's AT-SPI bridge lives in the X11 platform, and starts as a
        // reader connecting would start it.
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        qputenv("NO_AT_BRIDGE", "1");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    TestAtSpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_atspi.moc"
