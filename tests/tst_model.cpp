#include "model/ChannelCode.h"
#include "model/IntensityCode.h"

#include <QTest>

class TestModel : public QObject {
    Q_OBJECT
private slots:
    void splitChannelCode_data();
    void splitChannelCode();
    void splitThenFormGivesTheCodeBack();
    void formingACode();
    void intensityEntryForEveryCode();
};

void TestModel::splitChannelCode_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("cIndexBefore");
    QTest::addColumn<int>("mIndex");
    QTest::addColumn<int>("cIndex");
    QTest::addColumn<int>("aAfter");
    QTest::newRow("A 1") << 0 << 5 << 1 << 0 << 0;
    QTest::newRow("A 10") << 9 << 5 << 1 << 9 << 9;
    QTest::newRow("B 1 leaves A at code mod 10") << 10 << 5 << 2 << 0 << 0;
    QTest::newRow("C 4") << 23 << 0 << 3 << 3 << 3;
    QTest::newRow("D 8") << 37 << 0 << 4 << 7 << 7;
    QTest::newRow("P 10") << 159 << 0 << 16 << 9 << 9;
    QTest::newRow("N/A keeps a stale channel") << 160 << 6 << 0 << 6 << 160;
    QTest::newRow("above N/A keeps a stale channel") << 200 << 4 << 0 << 4 << 200;
    QTest::newRow("largest code") << 32767 << 2 << 0 << 2 << 32767;
    QTest::newRow("negative gives a negative channel") << -5 << 3 << 1 << -5 << -5;
}

void TestModel::splitChannelCode() {
    QFETCH(int, code);
    QFETCH(int, cIndexBefore);
    ConfigRecord r;
    r.A = qint16(code);
    r.c_index = qint16(cIndexBefore);
    r.m_index = 99;
    SplitChannelCode(r);
    QTEST(int(r.m_index), "mIndex");
    QTEST(int(r.c_index), "cIndex");
    QTEST(int(r.A), "aAfter");
}

void TestModel::splitThenFormGivesTheCodeBack() {
    for (int code = 0; code <= 160; ++code) {
        ConfigRecord r;
        r.A = qint16(code);
        SplitChannelCode(r);
        const qint16 formed = ChannelCode::form(ChannelCode::moduleData[r.m_index],
                                                ChannelCode::channelData[r.c_index]);
        QCOMPARE(formed, qint16(code));
    }
}

void TestModel::formingACode() {
    QCOMPARE(ChannelCode::form(20, 3), qint16(23)); // "C" channel "4"
    QCOMPARE(ChannelCode::form(150, 9), qint16(159));
    for (qint16 channel = 0; channel < 10; ++channel)
        QCOMPARE(ChannelCode::form(160, channel), qint16(160));
}

void TestModel::intensityEntryForEveryCode() {
    for (int e = 0; e < IntensityCode::entryCount; ++e)
        QCOMPARE(IntensityCode::entryFor(IntensityCode::codes[e]), e);
    for (qint16 stray : {0, 8, 9, 11, -1, 160})
        QCOMPARE(IntensityCode::entryFor(stray), 0);
}

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
