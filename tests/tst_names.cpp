#include "files/FileNames.h"
#include "link/PortNames.h"

#include <QTest>

// The names a configuration file may have, and the serial port names the
// user types, as every system the site uses takes them.
class TestNames : public QObject {
    Q_OBJECT
private slots:
    void whyNotPortable_data();
    void whyNotPortable();
    void panelNameBecomesAPortableFileName_data();
    void panelNameBecomesAPortableFileName();
    void typedPortNames_data();
    void typedPortNames();
};

void TestNames::whyNotPortable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");
    const QString device = "is a device name";
    QTest::newRow("plain") << "LOBBY.zqc"
                           << "";
    QTest::newRow("beyond ASCII") << QString::fromUtf8("CAFÉ €.zqc") << "";
    QTest::newRow("spaces and dots inside") << "EAST WING.2.zqc"
                                            << "";
    QTest::newRow("empty") << ""
                           << "is empty";
    for (const char* c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        QTest::newRow(qPrintable(QString("character %1").arg(c)))
            << QString("A%1B.zqc").arg(c) << QString("holds the character %1").arg(c);
    QTest::newRow("tab") << "A\tB.zqc"
                         << "holds a control character";
    QTest::newRow("new line") << "A\nB.zqc"
                              << "holds a control character";
    QTest::newRow("delete") << QString("A") + QChar(0x7f) + "B.zqc"
                            << "holds a control character";
    QTest::newRow("trailing dot") << "LOBBY.zqc."
                                  << "ends in a dot or a space";
    QTest::newRow("trailing space") << "LOBBY.zqc "
                                    << "ends in a dot or a space";
    for (const char* name : {"CON", "prn", "Aux", "nul.zqc", "NUL.tar.gz", "COM1.zqc", "com9",
                             "LPT1.zqc", "lpt9.ZQC", "CON .zqc", "aux  .txt"})
        QTest::newRow(name) << name << device;
    for (const char* sup : {"\u00b9", "\u00b2", "\u00b3"}) {
        QTest::newRow(qPrintable(QString("COM") + QString::fromUtf8(sup)))
            << QString("COM") + QString::fromUtf8(sup) + ".zqc" << device;
        QTest::newRow(qPrintable(QString("lpt") + QString::fromUtf8(sup)))
            << QString("lpt") + QString::fromUtf8(sup) << device;
    }
    for (const char* name : {"COM10.zqc", "COM0.zqc", "LPT.zqc", "CONSOLE.zqc", "NULL.zqc",
                             "LOBBY CON.zqc", "_CON.zqc", "COM\u2074.zqc"})
        QTest::newRow(name) << QString::fromUtf8(name) << "";
}

void TestNames::whyNotPortable() {
    QFETCH(QString, name);
    QFETCH(QString, why);
    QCOMPARE(FileNames::whyNotPortable(name), why);
}

void TestNames::panelNameBecomesAPortableFileName_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "LOBBY 2"
                           << "LOBBY 2";
    QTest::newRow("forbidden characters") << "A:B*C?D<E>F|G\"H/I\\J"
                                          << "A_B_C_D_E_F_G_H_I_J";
    QTest::newRow("control characters") << "A\tB\x01"
                                        << "A_B_";
    QTest::newRow("device name") << "con"
                                 << "_con";
    QTest::newRow("device name and a space") << "PRN "
                                             << "_PRN ";
    QTest::newRow("device name with more") << "COM1.OLD"
                                           << "_COM1.OLD";
    QTest::newRow("superscript port")
        << QString::fromUtf8("COM\u00b2") << QString::fromUtf8("_COM\u00b2");
    QTest::newRow("superscript printer")
        << QString::fromUtf8("lpt\u00b3") << QString::fromUtf8("_lpt\u00b3");
    QTest::newRow("device name, spaces before the dot") << "com1  .OLD"
                                                        << "_com1  .OLD";
    QTest::newRow("COM10 is no device") << "COM10"
                                        << "COM10";
    QTest::newRow("device name inside") << "LOBBY COM1"
                                        << "LOBBY COM1";
}

// Whatever the panel is called, the proposed file is one Windows takes.
void TestNames::panelNameBecomesAPortableFileName() {
    QFETCH(QString, panel);
    QFETCH(QString, file);
    QCOMPARE(FileNames::fromPanelName(panel), file);
    QCOMPARE(FileNames::whyNotPortable(file + ".zqc"), QString());
}

void TestNames::typedPortNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("elsewhere");
    // Windows knows COM10 and above only by its upper-case name.
    QTest::newRow("lower case") << "com10"
                                << "COM10"
                                << "com10";
    QTest::newRow("mixed case") << "Com3"
                                << "COM3"
                                << "Com3";
    QTest::newRow("upper case") << "COM12"
                                << "COM12"
                                << "COM12";
    QTest::newRow("spaces around") << " com4 "
                                   << "COM4"
                                   << "com4";
    QTest::newRow("device namespace") << "\\\\.\\com15"
                                      << "COM15"
                                      << "\\\\.\\com15";
    QTest::newRow("device namespace, forward") << "//./com7"
                                               << "COM7"
                                               << "//./com7";
    QTest::newRow("not a number") << "comx"
                                  << "comx"
                                  << "comx";
    QTest::newRow("a path") << "/dev/ttyUSB0"
                            << "/dev/ttyUSB0"
                            << "/dev/ttyUSB0";
    QTest::newRow("a path in capitals stays") << "/dev/ttyS0"
                                              << "/dev/ttyS0"
                                              << "/dev/ttyS0";
}

void TestNames::typedPortNames() {
    QFETCH(QString, typed);
    QFETCH(QString, windows);
    QFETCH(QString, elsewhere);
    QCOMPARE(PortNames::normalised(typed, PortNames::System::Windows), windows);
    QCOMPARE(PortNames::normalised(typed, PortNames::System::Other), elsewhere);
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
