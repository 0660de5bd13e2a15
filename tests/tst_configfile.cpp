#include "StorableAlphabet.h"
#include "files/ConfigFile.h"
#include "model/Cp1252.h"
#include "model/IntensityCode.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

namespace {
const std::array<QString, 5> standardCaptions = {
    QStringLiteral("BACKLIGHT"), QStringLiteral("DIMMING"), QStringLiteral("NORMAL INDICATOR (%)"),
    QStringLiteral("NORMAL BACKLIGHTING (%)"),
    QStringLiteral("DIMMED BACKLIGHTING AND INDICATOR (%)")};

// A configuration with commas, blanks and characters of the upper half.
ConfigFileLine knownLine() {
    ConfigFileLine l;
    l.model = ConfigFile::modelText;
    l.panel = QStringLiteral("LOBBY");
    l.desig = {QStringLiteral("Door, left"),
               QString::fromUtf8("Café €5"),
               QString(),
               QChar(0x81) + QStringLiteral("x"),
               QStringLiteral("SW5"),
               QStringLiteral(" SW6 "),
               QStringLiteral("SW7"),
               QStringLiteral("SW8"),
               QStringLiteral("SW9"),
               QStringLiteral("SW10"),
               QStringLiteral("LED1"),
               QStringLiteral("LED2"),
               QStringLiteral("LED3"),
               QStringLiteral("LED4"),
               QStringLiteral("LED5"),
               QStringLiteral("LED6"),
               QStringLiteral("LED7"),
               QStringLiteral("LED8"),
               QStringLiteral("LED9"),
               QString::fromUtf8("ÿ")};
    l.code = {12,  0,   160, 159, 44,  55,  66,  77,  88,  99,
              100, 101, 102, 103, 104, 105, 106, 107, 108, 9};
    l.caption = standardCaptions;
    l.value = {40, 160, 7, 5, 10};
    return l;
}

// knownLine() as the tool must write it, byte by byte.
const QByteArray knownBytes =
    "\"00-00561-MDL or 00-00567-MDL\",\"LOBBY\","
    "\"Door, left\",12,\"Caf\xe9 \x80"
    "5\",0,\"\",160,\"\x81x\",159,\"SW5\",44,\" SW6 \",55,\"SW7\",66,\"SW8\",77,"
    "\"SW9\",88,\"SW10\",99,\"LED1\",100,\"LED2\",101,\"LED3\",102,\"LED4\",103,"
    "\"LED5\",104,\"LED6\",105,\"LED7\",106,\"LED8\",107,\"LED9\",108,\"\xff\",9,"
    "\"BACKLIGHT\",40,\"DIMMING\",160,\"NORMAL INDICATOR (%)\",7,"
    "\"NORMAL BACKLIGHTING (%)\",5,\"DIMMED BACKLIGHTING AND INDICATOR (%)\",10\r\n";

// The 52 fields of a line as written, without separators.
QList<QByteArray> fieldTokens(const ConfigFileLine& l) {
    auto quoted = [](const QString& s) { return '"' + Cp1252::encode(s) + '"'; };
    QList<QByteArray> t{quoted(l.model), quoted(l.panel)};
    for (size_t i = 0; i < l.desig.size(); ++i)
        t << quoted(l.desig[i]) << QByteArray::number(l.code[i]);
    for (size_t i = 0; i < l.caption.size(); ++i)
        t << quoted(l.caption[i]) << QByteArray::number(l.value[i]);
    return t;
}

// Names of the fields in which two lines differ, for a readable failure.
QString differences(const ConfigFileLine& a, const ConfigFileLine& b) {
    QStringList d;
    if (a.model != b.model)
        d << "model";
    if (a.panel != b.panel)
        d << "panel";
    for (size_t i = 0; i < a.desig.size(); ++i) {
        if (a.desig[i] != b.desig[i])
            d << QString("desig[%1] '%2' vs '%3'").arg(i).arg(a.desig[i], b.desig[i]);
        if (a.code[i] != b.code[i])
            d << QString("code[%1] %2 vs %3").arg(i).arg(a.code[i]).arg(b.code[i]);
    }
    for (size_t i = 0; i < a.caption.size(); ++i) {
        if (a.caption[i] != b.caption[i])
            d << QString("caption[%1]").arg(i);
        if (a.value[i] != b.value[i])
            d << QString("value[%1] %2 vs %3").arg(i).arg(a.value[i]).arg(b.value[i]);
    }
    return d.join("; ");
}

QString randomText(QRandomGenerator& rng, const QString& alphabet, int maxLength) {
    QString s;
    const int n = rng.bounded(maxLength + 1);
    for (int i = 0; i < n; ++i)
        s += alphabet.at(rng.bounded(alphabet.size()));
    return s;
}

ConfigFileLine randomLine(QRandomGenerator& rng) {
    static const QString alphabet = storableAlphabet();
    ConfigFileLine l;
    l.model = rng.bounded(2) ? ConfigFile::modelText : randomText(rng, alphabet, 30);
    l.panel = randomText(rng, alphabet, 20);
    for (size_t i = 0; i < l.desig.size(); ++i) {
        l.desig[i] = randomText(rng, alphabet, 20);
        l.code[i] = qint16(rng.bounded(161));
    }
    for (size_t i = 0; i < l.caption.size(); ++i)
        l.caption[i] = rng.bounded(4) ? standardCaptions[i] : randomText(rng, alphabet, 40);
    l.value[0] = qint16(rng.bounded(161));
    l.value[1] = qint16(rng.bounded(161));
    for (size_t i = 2; i < l.value.size(); ++i)
        l.value[i] = IntensityCode::codes[rng.bounded(IntensityCode::entryCount)];
    return l;
}

// Whatever parse accepts must be written and read back unchanged.
void verifyRewriteReadsBack(const ConfigFileLine& parsed) {
    const QByteArray rewritten = ConfigFile::format(parsed);
    const auto again = ConfigFile::parse(rewritten);
    QVERIFY2(again, rewritten.constData());
    QVERIFY2(differences(*again, parsed).isEmpty(), qPrintable(differences(*again, parsed)));
    QCOMPARE(ConfigFile::format(*again), rewritten);
}

// knownBytes with field `index` (1-based) replaced by `token`.
QByteArray withField(int index, const QByteArray& token) {
    QList<QByteArray> t = fieldTokens(knownLine());
    t[index - 1] = token;
    return t.join(',') + "\r\n";
}
} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT

private slots:
    void writesExactBytes();
    void randomLinesRoundTrip();
    void everyCodeRoundTrips();
    void longestTextsFitAndReadBack();
    void severalLinesReadAsOne_data();
    void severalLinesReadAsOne();
    void fieldCount_data();
    void fieldCount();
    void captionsAreNotChecked();
    void integerField_data();
    void integerField();
    void textField_data();
    void textField();
    void unclosedQuoteAtEndFails();
    void readsOnlyTheGivenBytes();
    void readsAtMostMaxBytes_data();
    void readsAtMostMaxBytes();
    void damagedLinesAreRefusedOrReadConsistently();
    void hostileInputs_data();
    void hostileInputs();

    void everyByteRoundTrips();
    void upperHalfCharacters();
    void canEncode_data();
    void canEncode();
    void isStorableText_data();
    void isStorableText();
};

void TestConfigFile::writesExactBytes() {
    QCOMPARE(ConfigFile::format(knownLine()), knownBytes);
    const auto read = ConfigFile::parse(knownBytes);
    QVERIFY(read);
    QVERIFY2(differences(*read, knownLine()).isEmpty(),
             qPrintable(differences(*read, knownLine())));
}

void TestConfigFile::randomLinesRoundTrip() {
    QRandomGenerator rng(561);
    for (int n = 0; n < 2000; ++n) {
        const ConfigFileLine line = randomLine(rng);
        const QByteArray bytes = ConfigFile::format(line);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), qsizetype(1));
        const auto read = ConfigFile::parse(bytes);
        QVERIFY2(read, bytes.constData());
        QVERIFY2(differences(*read, line).isEmpty(), qPrintable(differences(*read, line)));
        QCOMPARE(ConfigFile::format(*read), bytes);
    }
}

void TestConfigFile::everyCodeRoundTrips() {
    ConfigFileLine line = knownLine();
    for (qint16 code = 0; code <= 160; ++code) {
        line.code.fill(code);
        line.value[0] = line.value[1] = code;
        const auto read = ConfigFile::parse(ConfigFile::format(line));
        QVERIFY(read);
        QCOMPARE(read->code, line.code);
        QCOMPARE(read->value, line.value);
    }
    for (const qint16 intensity : IntensityCode::codes) {
        line.value[2] = line.value[3] = line.value[4] = intensity;
        const auto read = ConfigFile::parse(ConfigFile::format(line));
        QVERIFY(read);
        QCOMPARE(read->value, line.value);
    }
}

void TestConfigFile::longestTextsFitAndReadBack() {
    ConfigFileLine line = knownLine();
    const QString longest(ConfigFile::maxTextLength, QChar(0x20AC));
    line.panel = longest;
    line.desig.fill(longest);
    line.code.fill(-32768);
    line.value.fill(-32768);
    const QByteArray bytes = ConfigFile::format(line);
    QVERIFY(bytes.size() <= ConfigFile::maxBytes);
    const auto read = ConfigFile::parse(bytes);
    QVERIFY(read);
    QVERIFY(differences(*read, line).isEmpty());
}

void TestConfigFile::severalLinesReadAsOne_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QList<QByteArray> t = fieldTokens(knownLine());
    QList<QByteArray> pairs{t[0] + ',' + t[1]};
    for (int i = 2; i < t.size(); i += 2)
        pairs << t[i] + ',' + t[i + 1];

    QTest::newRow("each field on a LF line") << t.join('\n') + '\n';
    QTest::newRow("each field on a CR LF line") << t.join("\r\n") + "\r\n";
    QTest::newRow("each field on a CR line") << t.join('\r');
    QTest::newRow("one pair a line") << pairs.join("\r\n") + "\r\n";
    QTest::newRow("broken after the commas") << t.join(",\r\n") + "\r\n";
    QTest::newRow("broken before the commas") << t.join("\n,") + "\n";
    QTest::newRow("blank lines between") << t.join("\r\n\r\n\n\r") + "\r\n\r\n";
    QTest::newRow("blank lines before") << "\r\n\n" + t.join(',') + "\r\n";
    QTest::newRow("blanks around fields") << " " + t.join(" ,\t") + " \r\n";
    QTest::newRow("no line end after the last field") << t.join(',');
}

void TestConfigFile::severalLinesReadAsOne() {
    QFETCH(QByteArray, bytes);
    const auto read = ConfigFile::parse(bytes);
    QVERIFY(read);
    QVERIFY2(differences(*read, knownLine()).isEmpty(),
             qPrintable(differences(*read, knownLine())));
}

void TestConfigFile::fieldCount_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("reads");
    const QList<QByteArray> t = fieldTokens(knownLine());
    // Beyond field 52 even a malformed integer or an open quote is ignored.
    const QList<QByteArray> extra{"\"EXTRA\"", "99999999", "\"never closed",
                                  QByteArray("\x00\xff", 2)};

    QTest::newRow("nothing") << QByteArray() << false;
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n") << false;
    QTest::newRow("1 field") << t.first(1).join(',') + "\r\n" << false;
    QTest::newRow("30 fields") << t.first(30).join(',') + "\r\n" << false;
    QTest::newRow("51 fields") << t.first(51).join(',') + "\r\n" << false;
    QTest::newRow("51 fields and a comma") << t.first(51).join(',') + ",\r\n" << false;
    QTest::newRow("51 fields and an empty last") << t.first(51).join(',') + ",,\r\n" << false;
    QTest::newRow("52 fields") << t.join(',') + "\r\n" << true;
    QTest::newRow("53 fields") << (t + extra.first(1)).join(',') + "\r\n" << true;
    QTest::newRow("56 fields") << (t + extra).join(',') + "\r\n" << true;
    QTest::newRow("more lines after") << t.join(',') + "\r\n" + extra.join("\r\n") << true;
}

void TestConfigFile::fieldCount() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, reads);
    const auto read = ConfigFile::parse(bytes);
    QCOMPARE(read.has_value(), reads);
    if (reads)
        QVERIFY(differences(*read, knownLine()).isEmpty());
}

void TestConfigFile::captionsAreNotChecked() {
    ConfigFileLine other = knownLine();
    other.caption = {QString(), QStringLiteral("x"), QStringLiteral("ANY, TEXT"),
                     QStringLiteral("12"), QString::fromUtf8("Licht €")};
    const auto read = ConfigFile::parse(ConfigFile::format(other));
    QVERIFY(read);
    QCOMPARE(read->caption, other.caption);
    QCOMPARE(read->value, knownLine().value);
    QCOMPARE(read->code, knownLine().code);
}

void TestConfigFile::integerField_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<int>("value");

    const struct {
        const char* token;
        bool reads;
        int value;
    } cases[] = {
        {"0", true, 0},         {"160", true, 160},
        {"32767", true, 32767}, {"-32768", true, -32768},
        {"+7", true, 7},        {"-0", true, 0},
        {"007", true, 7},       {"00000000000000000000000012", true, 12},
        {" 12\t", true, 12},    {"", false, 0},
        {" ", false, 0},        {"abc", false, 0},
        {"40000", false, 0},    {"32768", false, 0},
        {"-32769", false, 0},   {"99999999999999999999999", false, 0},
        {"1.5", false, 0},      {"12abc", false, 0},
        {"1 2", false, 0},      {"-", false, 0},
        {"+", false, 0},        {"--1", false, 0},
        {"0x10", false, 0},     {"\"12\"", false, 0},
    };
    for (const int field : {4, 42, 52}) {
        for (const auto& c : cases) {
            const QByteArray tag = QByteArray::number(field) + ": '" + c.token + "'";
            QTest::newRow(tag.constData()) << field << QByteArray(c.token) << c.reads << c.value;
        }
    }
}

void TestConfigFile::integerField() {
    QFETCH(int, field);
    QFETCH(QByteArray, token);
    QFETCH(bool, reads);
    QFETCH(int, value);
    const auto read = ConfigFile::parse(withField(field, token));
    QCOMPARE(read.has_value(), reads);
    if (!reads)
        return;
    const qint16 got = field == 52 ? read->value[4] : read->code[size_t(field / 2 - 2)];
    QCOMPARE(int(got), value);
}

void TestConfigFile::textField_data() {
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<QString>("value");

    QTest::newRow("quoted") << QByteArray("\"LOBBY\"") << true << "LOBBY";
    QTest::newRow("blanks inside quotes kept") << QByteArray("\" LOB BY \"") << true << " LOB BY ";
    QTest::newRow("blanks outside quotes skipped") << QByteArray(" \"LOBBY\"\t") << true << "LOBBY";
    QTest::newRow("empty quoted") << QByteArray("\"\"") << true << "";
    QTest::newRow("comma inside quotes") << QByteArray("\"A,B\"") << true << "A,B";
    QTest::newRow("line end inside quotes") << QByteArray("\"A\r\nB\"") << true << "A\r\nB";
    QTest::newRow("unquoted") << QByteArray("LOBBY") << true << "LOBBY";
    QTest::newRow("unquoted, trimmed") << QByteArray("  LOB BY ") << true << "LOB BY";
    QTest::newRow("unquoted empty") << QByteArray() << true << "";
    QTest::newRow("upper half decoded")
        << QByteArray("\"\x80\x9f\xe9\"") << true << QString::fromUtf8("€Ÿé");
    // A text saved with a quote inside ends at that quote; the rest of it is skipped.
    QTest::newRow("inner quote") << QByteArray("\"12\" SPOTS\"") << true << "12";
    QTest::newRow("text after closing quote") << QByteArray("\"LOBBY\"x") << true << "LOBBY";
    QTest::newRow("two quoted texts") << QByteArray("\"LOB\" \"BY\"") << true << "LOB";
    QTest::newRow("inner quote then a comma")
        << QByteArray("\"LOB\"BY, \"X\"") << false << ""; // the fields after it shift
    QTest::newRow("quote inside unquoted") << QByteArray("LOB\"BY") << false << "";
    QTest::newRow("longest a box holds") << "\"" + QByteArray(ConfigFile::maxTextLength, 'x') + '"'
                                         << true << QString(ConfigFile::maxTextLength, 'x');
    QTest::newRow("longer than a box holds")
        << "\"" + QByteArray(ConfigFile::maxTextLength + 1, 'x') + '"' << false << "";
}

void TestConfigFile::textField() {
    QFETCH(QByteArray, token);
    QFETCH(bool, reads);
    QFETCH(QString, value);
    const auto read = ConfigFile::parse(withField(2, token));
    QCOMPARE(read.has_value(), reads);
    if (!reads)
        return;
    QCOMPARE(read->panel, value);
    QCOMPARE(read->desig, knownLine().desig);
}

void TestConfigFile::unclosedQuoteAtEndFails() {
    const QList<QByteArray> t = fieldTokens(knownLine());
    QVERIFY(!ConfigFile::parse(t.first(50).join(',') + ",\"DIMMED BACKLIGHTING,10\r\n"));
    QVERIFY(!ConfigFile::parse("\"" + QByteArray(100000, 'x')));
}

void TestConfigFile::readsOnlyTheGivenBytes() {
    // The bytes after the view hold the rest of a valid line; they must not be read.
    const QByteArray full = knownBytes;
    QVERIFY(!ConfigFile::parse(QByteArrayView(full).first(full.lastIndexOf(','))));
    QVERIFY(!ConfigFile::parse(QByteArrayView(full).first(full.indexOf("BACKLIGHT\""))));
    QVERIFY(!ConfigFile::parse(QByteArrayView(full).first(0)));
}

void TestConfigFile::readsAtMostMaxBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("reads");

    // Pads the first caption, whose length is not limited, so that the line
    // ends `before` bytes short of maxBytes.
    auto padded = [](qsizetype before, const QByteArray& tail) {
        ConfigFileLine l = knownLine();
        const qsizetype base = ConfigFile::format(l).size();
        l.caption[0] += QString(ConfigFile::maxBytes - before - base, QChar('x'));
        return ConfigFile::format(l) + tail;
    };
    const QByteArray garbage(1 << 20, '\xff');

    QTest::newRow("line then 1 MiB") << knownBytes + garbage << true;
    QTest::newRow("line ends at maxBytes, more follows") << padded(0, garbage) << true;
    QTest::newRow("line of exactly maxBytes") << padded(0, {}) << true;
    // Field 52 is "10": here its "0" lies beyond maxBytes, so "1" must not be read.
    QTest::newRow("last digits beyond maxBytes") << padded(-3, {}) << false;
    QTest::newRow("line end beyond maxBytes") << padded(-2, {}) << false;
    QTest::newRow("line end partly beyond maxBytes") << padded(-1, {}) << true;
    // A file longer than maxBytes is read only that far: what a reader gets.
    QTest::newRow("maxBytes read, last digits cut")
        << padded(-3, {}).first(ConfigFile::maxBytes) << false;
    QTest::newRow("maxBytes read, line end cut")
        << padded(-2, {}).first(ConfigFile::maxBytes) << false;
    QTest::newRow("long caption") << padded(-100, {}) << false;
    QTest::newRow("70 000 bytes beyond") << padded(-70000, {}) << false;
}

void TestConfigFile::readsAtMostMaxBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, reads);
    const auto read = ConfigFile::parse(bytes);
    QCOMPARE(read.has_value(), reads);
    if (reads)
        QCOMPARE(read->value, knownLine().value);
}

void TestConfigFile::damagedLinesAreRefusedOrReadConsistently() {
    QRandomGenerator rng(567);
    const QByteArray troublemakers("\",\r\n -+0123456789\x80\xff");
    int accepted = 0;
    for (int n = 0; n < 3000; ++n) {
        QByteArray bytes = ConfigFile::format(randomLine(rng));
        for (int k = 1 + rng.bounded(3); k > 0; --k) {
            const qsizetype at = rng.bounded(bytes.size());
            const char c = troublemakers.at(rng.bounded(troublemakers.size()));
            switch (rng.bounded(3)) {
            case 0:
                bytes.remove(at, 1);
                break;
            case 1:
                bytes.insert(at, c);
                break;
            default:
                bytes[at] = c;
            }
        }
        const auto read = ConfigFile::parse(bytes);
        if (!read)
            continue;
        ++accepted;
        verifyRewriteReadsBack(*read);
        if (QTest::currentTestFailed())
            return;
    }
    // Some damage (a changed digit, a blank) leaves a readable line.
    QVERIFY(accepted > 100);
}

void TestConfigFile::hostileInputs_data() {
    QTest::addColumn<QByteArray>("bytes"); // random bytes are the fuzzer's part
    QTest::newRow("only quotes") << QByteArray(1 << 20, '"');
    QTest::newRow("only commas") << QByteArray(1 << 20, ',');
    QTest::newRow("only line ends") << QByteArray(1 << 20, '\n');
    QTest::newRow("only digits") << QByteArray(1 << 20, '7');
    QTest::newRow("only blanks") << QByteArray(1 << 20, ' ');
    QTest::newRow("only NUL") << QByteArray(1 << 20, '\0');
    QTest::newRow("empty texts") << QByteArray("\"\",").repeated(1 << 16);
    QTest::newRow("open quote then 1 MiB") << "\"" + QByteArray(1 << 20, 'x');
}

void TestConfigFile::hostileInputs() {
    QFETCH(QByteArray, bytes);
    const auto read = ConfigFile::parse(bytes);
    if (read)
        verifyRewriteReadsBack(*read);
}

void TestConfigFile::everyByteRoundTrips() {
    QSet<QChar> seen;
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, char(b));
        const QString decoded = Cp1252::decode(byte);
        QCOMPARE(decoded.size(), qsizetype(1));
        QVERIFY(Cp1252::canEncode(decoded[0]));
        QCOMPARE(Cp1252::encode(decoded), byte);
        seen.insert(decoded[0]);
    }
    QCOMPARE(seen.size(), qsizetype(256));
}

void TestConfigFile::upperHalfCharacters() {
    QByteArray upper;
    for (int b = 0x80; b < 0x100; ++b)
        upper += char(b);
    QString expected =
        QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
    for (char16_t u = 0xA0; u <= 0xFF; ++u)
        expected += QChar(u);
    QCOMPARE(Cp1252::decode(upper), expected);
    QCOMPARE(Cp1252::encode(expected), upper);
}

void TestConfigFile::canEncode_data() {
    QTest::addColumn<int>("unicode");
    QTest::addColumn<bool>("encodable");
    QTest::newRow("NUL") << 0x0000 << true;
    QTest::newRow("A") << 0x0041 << true;
    QTest::newRow("euro") << 0x20AC << true;
    QTest::newRow("trade mark") << 0x2122 << true;
    QTest::newRow("Y diaeresis") << 0x0178 << true;
    QTest::newRow("undefined 0x81") << 0x0081 << true;
    QTest::newRow("undefined 0x9D") << 0x009D << true;
    QTest::newRow("y diaeresis") << 0x00FF << true;
    QTest::newRow("U+0080, whose byte is the euro") << 0x0080 << false;
    QTest::newRow("U+009F, whose byte is Y diaeresis") << 0x009F << false;
    QTest::newRow("A macron") << 0x0100 << false;
    QTest::newRow("CJK") << 0x4E2D << false;
    QTest::newRow("surrogate") << 0xD83D << false;
    QTest::newRow("replacement") << 0xFFFD << false;
}

void TestConfigFile::canEncode() {
    QFETCH(int, unicode);
    QFETCH(bool, encodable);
    QCOMPARE(Cp1252::canEncode(QChar(char16_t(unicode))), encodable);
    if (!encodable)
        QCOMPARE(Cp1252::encode(QString(QChar(char16_t(unicode)))), QByteArray("?"));
}

void TestConfigFile::isStorableText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("storable");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("plain") << "LOBBY 2" << true;
    QTest::newRow("comma and upper half") << QString::fromUtf8("Café, €5 ™") << true;
    QTest::newRow("all storable") << storableAlphabet() << true;
    QTest::newRow("double quote") << "12\" pipe" << false;
    QTest::newRow("line feed") << "A\nB" << false;
    QTest::newRow("carriage return") << "A\rB" << false;
    QTest::newRow("tab") << "A\tB" << false;
    QTest::newRow("NUL") << QString(QChar(0)) << false;
    QTest::newRow("DEL") << QString(QChar(0x7F)) << false;
    QTest::newRow("A macron") << QString(QChar(0x100)) << false;
    QTest::newRow("emoji") << QString::fromUtf8("A😀") << false;
}

void TestConfigFile::isStorableText() {
    QFETCH(QString, text);
    QFETCH(bool, storable);
    QCOMPARE(Cp1252::isStorableText(text), storable);
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
