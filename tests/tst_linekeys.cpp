#include "compare/CaseFolding.h"
#include "compare/DistinctEstimate.h"
#include "compare/LineHash.h"
#include "compare/LineKeys.h"
#include "compare/LineTable.h"
#include "compare/WorkPacer.h"
#include "platform/AnsiCodec.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// The characters beyond ASCII of an encoded line lowered one by one by way
// of its text, as the nested loops of the comparison would lower them.
QByteArray referenceLowered(const QByteArray& line)
{
    QString text = AnsiCodec::Decode(line);
    for (QChar& c : text) {
        if (c.unicode() >= 0x80)
            c = c.toLower();
    }
    return AnsiCodec::Encode(text);
}

bool hasByteFromC4(const QByteArray& line)
{
    for (char c : line) {
        if (static_cast<unsigned char>(c) >= 0xC4)
            return true;
    }
    return false;
}

// What the folding functions make of one line, checked against its text;
// result receives the line lowered.
void checkLowering(const QByteArray& line, std::string& buffer, QByteArray& result)
{
    size_t length = 0;
    const bool changed =
        Engine::lowerBeyondAscii(line.constData(), size_t(line.size()), buffer, length);
    result = changed ? QByteArray(buffer.data(), qsizetype(length)) : line;
    QCOMPARE(result, referenceLowered(line));
    QCOMPARE(changed, result != line);
    // A line said to stay the same is never looked at again.
    if (changed)
        QVERIFY(Engine::mayChangeWhenLowered(line.constData(), size_t(line.size())));
    QCOMPARE(Engine::withinLatin1(line.constData(), size_t(line.size())), !hasByteFromC4(line));
}

Engine::Keys keysOf(const LineTable& table, bool matchCase, bool trim, bool inHalves)
{
    Engine::WorkPacer pacer(nullptr, 0);
    Engine::Keys keys;
    Engine::computeKeys(table, matchCase, trim, pacer, keys, inHalves);
    return keys;
}

quint32 hashOf(int n)
{
    const QByteArray line = "key " + QByteArray::number(n);
    std::uint64_t high;
    return Engine::shortHash(LineHash::hash<false>(line.constData(), size_t(line.size()), high));
}

} // namespace

class TestLineKeys : public QObject
{
    Q_OBJECT
private slots:
    void lowering_data();
    void lowering();
    void generatedLinesLowerAsTheirText();
    void equalLinesShareAHash_data();
    void equalLinesShareAHash();
    void keysInHalvesMatchKeysWhole_data();
    void keysInHalvesMatchKeysWhole();
    void distinctKeysEstimated_data();
    void distinctKeysEstimated();
};

void TestLineKeys::lowering_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("lowered");
    auto row = [](const char* name, const QByteArray& line, const QByteArray& lowered) {
        QTest::newRow(name) << line << lowered;
    };
    row("empty", "", "");
    row("ascii letters are left to the hash", "Hello World", "Hello World");
    row("latin-1 small letters", "caf\xC3\xA9 \xC3\xBF", "caf\xC3\xA9 \xC3\xBF");
    row("latin-1 capital", "CAF\xC3\x89", "CAF\xC3\xA9");
    row("the last latin-1 capital", "\xC3\x9E", "\xC3\xBE");
    row("multiplication sign is no capital", "2 \xC3\x97 3", "2 \xC3\x97 3");
    row("capital sharp s shrinks to two bytes", "STRA\xE1\xBA\x9E", "STRA\xC3\x9F");
    row("dotted capital i stays, as QChar has it", "\xC4\xB0stanbul", "\xC4\xB0stanbul");
    row("kelvin sign lowers to k", "5 \xE2\x84\xAA", "5 k");
    row("greek and cyrillic", "\xCE\xA3\xD0\x96", "\xCF\x83\xD0\xB6");
    row("capitals that grow to three bytes", QByteArray("\xC8\xBA").repeated(40),
        QByteArray("\xE2\xB1\xA5").repeated(40));
    row("escapes stay", "\xC9t\xC3", "\xC9t\xC3");
    row("four-byte capitals stay", "\xF0\x90\x90\x80", "\xF0\x90\x90\x80");
    // Sixteen bytes are looked at a time, then the last sixteen.
    row("capital after sixteen bytes", "abcdefghijklmnop\xC3\x89", "abcdefghijklmnop\xC3\xA9");
    row("capital across the sixteenth byte", "abcdefghijklmno\xC3\x89xyz",
        "abcdefghijklmno\xC3\xA9xyz");
    row("capital in the last bytes only", "0123456789abcdefghijklmnopqrstu\xC3\x80",
        "0123456789abcdefghijklmnopqrstu\xC3\xA0");
    row("a capital among small latin-1 letters", QByteArray("\xC3\xA9").repeated(9) + "\xC3\x80",
        QByteArray("\xC3\xA9").repeated(9) + "\xC3\xA0");
}

void TestLineKeys::lowering()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, lowered);
    std::string buffer;
    QByteArray result;
    checkLowering(line, buffer, result);
    QCOMPARE(result, lowered);
}

void TestLineKeys::generatedLinesLowerAsTheirText()
{
    // Short pieces at every offset, so that what the wide checks see at the
    // edges of sixteen and eight bytes varies; one buffer for all, as keys
    // are made.
    const QList<QByteArray> pieces = {
        "a",        "Z",        "\xC3\xA9", "\xC3\x89", "\xC3\x97",         "\xC3\x9F",
        "\xC3\x9E", "\xC2\x85", "\xC4\xB0", "\xC8\xBA", "\xE2\x84\xAA",     "\xE1\xBA\x9E",
        "\xCE\xA3", "\xC3",     "\x89",     "\xE9",     "\xF0\x90\x90\x80", "\xED\xA0\x80",
        "0123456"};
    QRandomGenerator random(5);
    std::string buffer;
    QByteArray result;
    for (int round = 0; round < 20000; ++round) {
        QByteArray line;
        const int parts = int(random.bounded(24));
        for (int p = 0; p < parts; ++p)
            line += pieces[random.bounded(int(pieces.size()))];
        checkLowering(line, buffer, result);
        if (QTest::currentTestFailed()) {
            qWarning() << "line" << line.toHex(' ');
            return;
        }
    }
}

void TestLineKeys::equalLinesShareAHash_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("trim");
    QTest::newRow("ascii case") << u"Hello"_s << u"hELLO"_s << false << false;
    QTest::newRow("latin-1 case") << u"\u00C9COLE"_s << u"\u00E9cole"_s << false << false;
    QTest::newRow("kelvin sign and capital k") << u"\u212A"_s << u"K"_s << false << false;
    QTest::newRow("greek case") << u"\u03A9MEGA"_s << u"\u03C9mega"_s << false << false;
    QTest::newRow("capital sharp s and sharp s") << u"\u1E9E"_s << u"\u00DF"_s << false << false;
    QTest::newRow("a capital that grows") << u"x\u023A"_s << u"X\u2C65"_s << false << false;
    // One line lowered beyond Latin-1, the other hashed from its own bytes.
    QTest::newRow("latin-1 capitals and a kelvin sign")
        << u"\u00C9K"_s << u"\u00E9\u212A"_s << false << false;
    QTest::newRow("blanks at the ends") << u" \tabc\t "_s << u"abc"_s << true << true;
    QTest::newRow("blanks and case") << u"  \u00C9COLE"_s << u"\u00E9cole\t"_s << false << true;
    QTest::newRow("beyond ascii, exact") << u"\u03A9mega"_s << u"\u03A9mega"_s << true << false;
    QTest::newRow("held as text") << u"\xD800x"_s << u"\xD800X"_s << false << false;
}

void TestLineKeys::equalLinesShareAHash()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, matchCase);
    QFETCH(bool, trim);
    const LineTable table = LineTable::FromText(a + QLatin1Char('\n') + b);
    QCOMPARE(table.size(), 2);
    const Engine::Keys keys = keysOf(table, matchCase, trim, false);
    QCOMPARE(keys.hash[0], keys.hash[1]);
}

void TestLineKeys::keysInHalvesMatchKeysWhole_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("trim");
    QTest::newRow("exact") << true << false;
    QTest::newRow("ignore case") << false << false;
    QTest::newRow("exact, blanks ignored") << true << true;
    QTest::newRow("ignore case, blanks ignored") << false << true;
}

void TestLineKeys::keysInHalvesMatchKeysWhole()
{
    QFETCH(bool, matchCase);
    QFETCH(bool, trim);
    // Enough lines to be keyed in halves; lines held as text and lines
    // lowered into new keys on both sides of the cut.
    const QStringList kinds = {u"plain %1"_s,       u"\u00C9T\u00C9 %1"_s, u" \u212A%1\t"_s,
                               u"\xD800 text %1"_s, u"\u023A %1"_s,        u"%1"_s,
                               u"\u1E9E\u00DF%1"_s, u"\xD800\u00C9 %1 "_s};
    QStringList lines;
    for (int i = 0; i < 70000; ++i)
        lines << kinds[i % kinds.size()].arg(i);
    const LineTable table = LineTable::FromText(lines.join(QLatin1Char('\n')));
    const Engine::Keys whole = keysOf(table, matchCase, trim, false);
    const Engine::Keys halves = keysOf(table, matchCase, trim, true);
    QVERIFY(whole.hash == halves.hash);
    QVERIFY(whole.lowered == halves.lowered);
    QVERIFY(whole.sketch == halves.sketch);
    QCOMPARE(halves.made.size(), whole.made.size());
    QVERIFY(!whole.made.empty());
    for (size_t k = 0; k < whole.made.size(); ++k) {
        const auto& [line, key] = whole.made[k];
        const auto& [otherLine, other] = halves.made[k];
        QCOMPARE(otherLine, line);
        QCOMPARE(other.len, key.len);
        if (key.len == Engine::kTextKey) {
            QCOMPARE(halves.texts[other.hash], whole.texts[key.hash]);
        } else {
            QCOMPARE(other.hash, key.hash);
            QCOMPARE(QByteArrayView(other.ptr, qsizetype(other.len)),
                     QByteArrayView(key.ptr, qsizetype(key.len)));
        }
    }
}

void TestLineKeys::distinctKeysEstimated_data()
{
    QTest::addColumn<int>("onlyA");
    QTest::addColumn<int>("shared");
    QTest::addColumn<int>("onlyB");
    QTest::addColumn<int>("copies"); // of each key in each file
    QTest::newRow("none") << 0 << 0 << 0 << 1;
    QTest::newRow("one") << 1 << 0 << 0 << 1;
    QTest::newRow("one, many times over") << 0 << 1 << 0 << 50;
    QTest::newRow("a few hundred in one file") << 300 << 0 << 0 << 1;
    QTest::newRow("thousands, repeated") << 5000 << 0 << 0 << 3;
    QTest::newRow("the same keys in both") << 0 << 20000 << 0 << 1;
    QTest::newRow("half of them shared") << 50000 << 50000 << 50000 << 1;
    QTest::newRow("none shared") << 100000 << 0 << 100000 << 2;
}

void TestLineKeys::distinctKeysEstimated()
{
    QFETCH(int, onlyA);
    QFETCH(int, shared);
    QFETCH(int, onlyB);
    QFETCH(int, copies);
    std::vector<quint8> a(size_t(1) << Engine::kSketchBits), b(a.size());
    for (int copy = 0; copy < copies; ++copy) {
        for (int n = 0; n < onlyA + shared; ++n)
            Engine::sketchAdd(a, hashOf(n));
        for (int n = onlyA; n < onlyA + shared + onlyB; ++n)
            Engine::sketchAdd(b, hashOf(n));
    }
    // The sketch's standard error is 1.6 %; few keys are counted closer.
    const double distinct = onlyA + shared + onlyB;
    const double estimate = Engine::sketchCount(a, b);
    QVERIFY2(std::abs(estimate - distinct) <= 0.05 * distinct + 0.5,
             qPrintable(u"%1 estimated for %2"_s.arg(estimate).arg(distinct)));
    QCOMPARE(Engine::sketchCount(b, a), estimate);
}

QTEST_GUILESS_MAIN(TestLineKeys)
#include "tst_linekeys.moc"
