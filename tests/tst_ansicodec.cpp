#include "platform/AnsiCodec.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestAnsiCodec : public QObject
{
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void everyByteSequenceRoundTrips();
    void exactEncoding_data();
    void exactEncoding();
};

void TestAnsiCodec::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // as a list shows it and the clipboard gets it
    auto row = [](const char* name, QByteArray bytes, QString text, QString shown) {
        QTest::newRow(name) << bytes << text << shown;
    };
    row("ascii", "abc", u"abc"_s, u"abc"_s);
    row("two-byte", "\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"_s, u"\u00E9t\u00E9"_s);
    row("three-byte", "\xE2\x82\xAC", u"\u20AC"_s, u"\u20AC"_s);
    row("four-byte", "\xF0\x9F\x98\x80", u"\U0001F600"_s, u"\U0001F600"_s);
    row("latin-1 byte", "M\xFCller", u"M\xDCFCller"_s, u"M\u00FCller"_s);
    row("cut sequence", "\xE2\x82", u"\xDCE2\xDC82"_s, u"\u00E2\u201A"_s);
    row("overlong", "\xC0\xAF", u"\xDCC0\xDCAF"_s, u"\u00C0\u00AF"_s);
    row("encoded surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"_s, u"\u00ED\u00A0\u20AC"_s);
    row("beyond unicode", "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"_s,
        u"\u00F4\u0090\u20AC\u20AC"_s);
    row("bytes windows-1252 leaves out", "\x81\x8D\x8F\x90\x9D",
        u"\xDC81\xDC8D\xDC8F\xDC90\xDC9D"_s, u"\u0081\u008D\u008F\u0090\u009D"_s);
    row("quotes and dashes", "\x93x\x94\x96\x97\x9F", u"\xDC93x\xDC94\xDC96\xDC97\xDC9F"_s,
        u"\u201Cx\u201D\u2013\u2014\u0178"_s);
    // U+10080 ends in the low surrogate U+DC80, which is no escape there.
    row("pair ending like an escape", "\xF0\x90\x82\x80\xFC", u"\U00010080\xDCFC"_s,
        u"\U00010080\u00FC"_s);
    row("nul kept", QByteArray("a\0b", 3), QStringView(u"a\0b", 3).toString(),
        QStringView(u"a\0b", 3).toString());
}

void TestAnsiCodec::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(AnsiCodec::Decode(bytes), text);
    QCOMPARE(AnsiCodec::Encode(text), bytes);
    QCOMPARE(AnsiCodec::ShownText(text), shown);
}

void TestAnsiCodec::everyByteSequenceRoundTrips()
{
    // Random bytes, biased towards the lead and continuation bytes of UTF-8.
    QRandomGenerator random(7);
    const char pool[] = "aZ\r\n\t\x80\xBF\xC2\xC3\xDF\xE0\xE2\xED\xEF\xF0\xF4\xF5\xFF";
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int length = int(random.bounded(12));
        for (int i = 0; i < length; ++i)
            bytes.append(random.bounded(3) ? pool[random.bounded(int(sizeof pool - 1))]
                                           : char(random.bounded(256)));
        const QString text = AnsiCodec::Decode(bytes);
        QCOMPARE(AnsiCodec::Encode(text), bytes);
        QVERIFY(AnsiCodec::HasExactEncoding(text));
    }
}

void TestAnsiCodec::exactEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("exact");
    QTest::newRow("plain") << QStringLiteral(u"h\u00E9llo") << true;
    QTest::newRow("lone escape") << QStringLiteral(u"a\xDCE9") << true;
    QTest::newRow("escapes that spell a character") << QStringLiteral(u"\xDCC3\xDCA9") << false;
    QTest::newRow("lone high surrogate") << QStringLiteral(u"a\xD800") << false;
    QTest::newRow("low surrogate, no escape") << QStringLiteral(u"\xDC41") << false;
    QTest::newRow("pair") << QStringLiteral(u"\U0001F600") << true;
}

void TestAnsiCodec::exactEncoding()
{
    QFETCH(QString, text);
    QFETCH(bool, exact);
    QCOMPARE(AnsiCodec::HasExactEncoding(text), exact);
}

QTEST_APPLESS_MAIN(TestAnsiCodec)
#include "tst_ansicodec.moc"
