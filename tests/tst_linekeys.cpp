#include "compare/CaseFolding.h"
#include "compare/CompareProgress.h"
#include "compare/DistinctEstimate.h"
#include "compare/KeyTable.h"
#include "compare/LineHash.h"
#include "compare/LineKeys.h"
#include "compare/LineTable.h"
#include "compare/WorkPacer.h"
#include "platform/AnsiCodec.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <cstring>
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

Engine::Keys keysOf(const LineTable& table, bool matchCase, bool trim, bool inHalves,
                    const LineHash::Hasher& hasher = {})
{
    Engine::WorkPacer pacer(nullptr, 0);
    Engine::Keys keys;
    Engine::computeKeys(table, matchCase, trim, hasher, pacer, keys, inHalves);
    return keys;
}

// The lines of bytes, split at line feeds, held as the bytes they are.
LineTable bytesTable(const QByteArray& bytes)
{
    ByteBuffer buffer(bytes.size());
    if (!bytes.isEmpty())
        std::memcpy(buffer.data(), bytes.constData(), size_t(bytes.size()));
    return LineTable::FromPiece(std::move(buffer), false);
}

// A line lowered whole, its ASCII letters too, as the comparison sees it
// when case is ignored.
QByteArray wholeLowered(const QByteArray& line)
{
    QString text = AnsiCodec::Decode(line);
    for (QChar& c : text)
        c = c.toLower();
    return AnsiCodec::Encode(text);
}

// The ways a comparison may hash: the fast hash under two seeds, the keyed one.
const QList<std::pair<const char*, LineHash::Hasher>>& hashers()
{
    static const QList<std::pair<const char*, LineHash::Hasher>> all = {
        {"fast, one seed", {{0x0123456789ABCDEFull, 0x0F1E2D3C4B5A6978ull}, false}},
        {"fast, another seed", {{0xDEADBEEF00C0FFEEull, 0x1122334455667788ull}, false}},
        {"keyed", {{0x5555AAAA5555AAAAull, 0x0102030405060708ull}, true}}};
    return all;
}

// The hash the keys of a line take from hasher, exact.
quint32 exactHash(const LineHash::Hasher& hasher, const QByteArray& bytes)
{
    std::uint64_t high;
    const size_t n = size_t(bytes.size());
    return Engine::shortHash(hasher.keyed ? hasher.of<true, false>(bytes.constData(), n, high)
                                          : hasher.of<false, false>(bytes.constData(), n, high));
}

quint32 hashOf(int n)
{
    const QByteArray line = "key " + QByteArray::number(n);
    std::uint64_t high;
    return Engine::shortHash(LineHash::hash<false>(line.constData(), size_t(line.size()), high, 0));
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
    void sipHashGivesThePublishedValues_data();
    void sipHashGivesThePublishedValues();
    void ignoringCaseHashesTheLoweredLine_data();
    void ignoringCaseHashesTheLoweredLine();
    void generatedLinesHashAsLowered();
    void linesThatDifferHashApart_data();
    void linesThatDifferHashApart();
    void seedsComeFromTheSystem();
    void lookAlikeFormInLinearWork_data();
    void lookAlikeFormInLinearWork();
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
    for (const auto& [name, hasher] : hashers()) {
        const Engine::Keys keys = keysOf(table, matchCase, trim, false, hasher);
        QVERIFY2(keys.hash[0] == keys.hash[1], name);
    }
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

void TestLineKeys::sipHashGivesThePublishedValues_data()
{
    // The reference implementation's vectors: the message is the bytes 00, 01,
    // 02 ... of the given length; SipHash-2-4 under the key 00 01 ... 0F,
    // SipHash-1-3 under the key of zeros.
    QTest::addColumn<bool>("oneThree");
    QTest::addColumn<int>("length");
    QTest::addColumn<quint64>("expected");
    const std::pair<int, quint64> twoFour[] = {
        {0, 0x726FDB47DD0E0E31ull},  {1, 0x74F839C593DC67FDull},  {7, 0xAB0200F58B01D137ull},
        {8, 0x93F5F5799A932462ull},  {15, 0xA129CA6149BE45E5ull}, {16, 0x3F2ACC7F57C29BDBull},
        {33, 0xA7F32346F95978E3ull}, {63, 0x958A324CEB064572ull}};
    const std::pair<int, quint64> oneThree[] = {
        {0, 0xD1FBA762150C532Cull},  {1, 0x68A914128E01E473ull},  {7, 0x2F098AB0C751325Aull},
        {8, 0xEAD411E67EBE2EEAull},  {15, 0xF30EB725BB91C9EAull}, {16, 0x8972188433A5C5B7ull},
        {37, 0x422A9751192FF266ull}, {63, 0x385D3E39E5F37359ull}};
    for (const auto& [length, expected] : twoFour)
        QTest::addRow("SipHash-2-4, %d bytes", length) << false << length << expected;
    for (const auto& [length, expected] : oneThree)
        QTest::addRow("SipHash-1-3, %d bytes", length) << true << length << expected;
}

void TestLineKeys::sipHashGivesThePublishedValues()
{
    QFETCH(bool, oneThree);
    QFETCH(int, length);
    QFETCH(quint64, expected);
    QByteArray message;
    for (int i = 0; i < length; ++i)
        message.append(char(i));
    const LineHash::Seed key = oneThree
                                   ? LineHash::Seed{0, 0}
                                   : LineHash::Seed{0x0706050403020100ull, 0x0F0E0D0C0B0A0908ull};
    std::uint64_t high;
    const char* p = message.constData();
    const size_t n = size_t(length);
    // The bytes hold no capital, so folding changes nothing.
    if (oneThree) {
        QCOMPARE(quint64(LineHash::sipHash<1, 3, false>(p, n, high, key)), expected);
        QCOMPARE(quint64(LineHash::sipHash<1, 3, true>(p, n, high, key)), expected);
    } else {
        QCOMPARE(quint64(LineHash::sipHash<2, 4, false>(p, n, high, key)), expected);
        QCOMPARE(quint64(LineHash::sipHash<2, 4, true>(p, n, high, key)), expected);
    }
}

void TestLineKeys::ignoringCaseHashesTheLoweredLine_data()
{
    QTest::addColumn<QByteArray>("line");
    auto row = [](const char* name, const QByteArray& line) { QTest::newRow(name) << line; };
    row("ascii capitals", "Hello WORLD, AZaz@[`{");
    row("bytes one bit from a capital stay", "@[\\]^_`{|}~\x01\x1B");
    row("a capital at every place of sixteen", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefgh");
    row("latin-1 capitals", "\xC3\x80\xC3\x89"
                            "COLE \xC3\x9E");
    row("multiplication sign and sharp s stay", "\xC3\x97 \xC3\x9F \xC3\xB7");
    // The lead byte in one word or sixteen bytes, the capital's in the next.
    row("latin-1 capital across eight bytes", "1234567\xC3\x89"
                                              "abcdef");
    row("latin-1 capital across sixteen bytes", "123456789abcdef\xC3\x89xyz");
    row("latin-1 capital across the last word", "123456789abcdefghijkl\xC3\x80");
    row("a lone lead byte before a capital's", "\xC3\xC3\x89\xC3 \x89\xC2\x89");
    row("continuation bytes without a lead", "\x89\x80\x9E abc");
    row("capitals of the lead byte's look-alikes", "\xC1\x89\xE3\x89\xD3\x89");
    row("beyond latin-1", "\xCE\xA9MEGA \xC3\x89 \xE2\x84\xAA");
    row("capital sharp s shrinks", "STRA\xE1\xBA\x9E"
                                   "E");
    row("escapes and latin-1", "\xC9t\xC3\x89t\xE9");
    row("empty", "");
}

void TestLineKeys::ignoringCaseHashesTheLoweredLine()
{
    // The hash of a line, case ignored, is the exact hash of the line as the
    // comparison lowers it: the fold reads the lowered bytes and nothing else.
    QFETCH(QByteArray, line);
    const LineTable table = bytesTable(line);
    QCOMPARE(table.size(), 1);
    for (const auto& [name, hasher] : hashers()) {
        const Engine::Keys keys = keysOf(table, false, false, false, hasher);
        QVERIFY2(keys.hash[0] == exactHash(hasher, wholeLowered(line)), name);
    }
}

void TestLineKeys::generatedLinesHashAsLowered()
{
    // Pieces at every offset, so that the lead byte of a capital meets the
    // ends of eight and of sixteen bytes.
    const QList<QByteArray> pieces = {"a",        "Q",        "@",        "`",
                                      "\xC3\x89", "\xC3\xA9", "\xC3\x97", "\xC3\x9F",
                                      "\xC3",     "\x89",     "\xC2\x85", "0123456"};
    QRandomGenerator random(7);
    QByteArray text;
    QList<QByteArray> lines;
    for (int round = 0; round < 3000; ++round) {
        QByteArray line;
        const int parts = int(random.bounded(30));
        for (int p = 0; p < parts; ++p)
            line += pieces[random.bounded(int(pieces.size()))];
        lines << line;
        text += line + '\n';
    }
    text.chop(1);
    const LineTable table = bytesTable(text);
    QCOMPARE(table.size(), qsizetype(lines.size()));
    for (const auto& [name, hasher] : hashers()) {
        const Engine::Keys keys = keysOf(table, false, false, false, hasher);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (keys.hash[size_t(i)] != exactHash(hasher, wholeLowered(lines[i])))
                QFAIL(qPrintable(
                    u"%1: line %2"_s.arg(QLatin1String(name), QLatin1String(lines[i].toHex(' ')))));
        }
    }
}

void TestLineKeys::linesThatDifferHashApart_data()
{
    // Lines that differ, ignoring case, in no more than a byte's 0x20 bit: a
    // fold that set that bit in every byte hashed them alike under every seed.
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::newRow("at sign and grave accent") << QByteArray("key-@@`@") << QByteArray("key-`@`@");
    QTest::newRow("brackets and braces") << QByteArray("[a]\\^") << QByteArray("{a}|~");
    QTest::newRow("digits and control bytes") << QByteArray("\x10\x19") << QByteArray("09");
    QTest::newRow("a lead byte and another") << QByteArray("\xC1\x89") << QByteArray("\xE1\x89");
    QTest::newRow("multiplication and division signs") << QByteArray("2\xC3\x97"
                                                                     "3")
                                                       << QByteArray("2\xC3\xB7"
                                                                     "3");
    QTest::newRow("sharp s and y with diaeresis")
        << QByteArray("\xC3\x9F") << QByteArray("\xC3\xBF");
    QTest::newRow("a capital's byte without its lead")
        << QByteArray("x\x89y\xC2\x80") << QByteArray("x\xA9y\xC2\xA0");
    QTest::newRow("long lines, one byte apart")
        << (QByteArray(40, 'z') + '@' + QByteArray(40, 'z'))
        << (QByteArray(40, 'Z') + '`' + QByteArray(40, 'Z'));
}

void TestLineKeys::linesThatDifferHashApart()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QVERIFY(wholeLowered(a) != wholeLowered(b));
    const LineTable table = bytesTable(a + '\n' + b);
    for (const auto& [name, hasher] : hashers()) {
        const Engine::Keys keys = keysOf(table, false, false, false, hasher);
        QVERIFY2(keys.hash[0] != keys.hash[1], name);
    }
}

void TestLineKeys::seedsComeFromTheSystem()
{
    // Each comparison draws its own seed; a test may fix them.
    const LineHash::Seed first = LineHash::DrawSeed(), second = LineHash::DrawSeed();
    QVERIFY(first.k0 != second.k0 || first.k1 != second.k1);
    LineHash::SetSeedTestHook([] { return LineHash::Seed{1, 2}; });
    const LineHash::Seed fixed = LineHash::DrawSeed();
    LineHash::SetSeedTestHook({});
    QCOMPARE(fixed.k0, quint64(1));
    QCOMPARE(fixed.k1, quint64(2));
    QVERIFY(LineHash::DrawSeed().k0 != 1);
}

QTEST_GUILESS_MAIN(TestLineKeys)
// The look-alike form of runs of combining marks: the marks are put in order
// once (moved counts them), after which nothing is left to move, and the
// form is Unicode's NFC; a long text is normalised in slices that Cancel
// can stop between.
void TestLineKeys::lookAlikeFormInLinearWork_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("composed"); // empty: as Qt's own NFC of text
    QTest::addColumn<qsizetype>("moved");
    const QString acute(QChar(0x301)), below(QChar(0x316)); // classes 230 and 220
    QTest::newRow("plain text") << QStringLiteral("caf\u00e9 ok") << QString() << qsizetype(0);
    QTest::newRow("one mark") << QStringLiteral("cafe\u0301") << QString() << qsizetype(0);
    QTest::newRow("two marks out of order")
        << QStringLiteral("a\u0301\u0316") << QString() << qsizetype(2);
    QTest::newRow("a mark beyond the BMP")
        << QStringLiteral("a\u0301") + QString::fromUcs4(U"\U0001D167") << QString()
        << qsizetype(2);
    QTest::newRow("equal classes keep their order")
        << QStringLiteral("e\u0301\u0300\u0316") << QString() << qsizetype(3);
    QTest::newRow("40,000 alternating pairs")
        << QStringLiteral("a") + (acute + below).repeated(40000)
        << QStringLiteral("\u00e1") + below.repeated(40000) + acute.repeated(39999)
        << qsizetype(80000);
    QTest::newRow("slices of a long line")
        << (QStringLiteral("cafe\u0301 \u1100\u1161 ") + QStringLiteral("a\u0301\u0316"))
               .repeated(20000)
        << QString() << qsizetype(40000);
}

void TestLineKeys::lookAlikeFormInLinearWork()
{
    QFETCH(QString, text);
    QFETCH(QString, composed);
    QFETCH(qsizetype, moved);
    QString ordered = text;
    QCOMPARE(KeyForm::OrderMarks(ordered), moved);
    QCOMPARE(KeyForm::OrderMarks(ordered), qsizetype(0));
    QCOMPARE(KeyForm::Composed(text),
             composed.isEmpty() ? text.normalized(QString::NormalizationForm_C) : composed);
    CompareProgress cancelled;
    cancelled.Cancel();
    if (text.size() > (1 << 16))
        QVERIFY_THROWS_EXCEPTION(CompareCancelled, KeyForm::Composed(text, &cancelled));
}

#include "tst_linekeys.moc"
