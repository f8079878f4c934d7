#include "AnsiCodec.h"

#include <QtTest>

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
    QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("two-byte") << QByteArray("\xC3\xA9t\xC3\xA9")
                              << QStringLiteral(u"\u00E9t\u00E9");
    QTest::newRow("three-byte") << QByteArray("\xE2\x82\xAC") << QStringLiteral(u"\u20AC");
    QTest::newRow("four-byte") << QByteArray("\xF0\x9F\x98\x80") << QStringLiteral(u"\U0001F600");
    QTest::newRow("latin-1 byte") << QByteArray("caf\xE9") << QStringLiteral(u"caf\xDCE9");
    QTest::newRow("cut sequence") << QByteArray("\xE2\x82") << QStringLiteral(u"\xDCE2\xDC82");
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << QStringLiteral(u"\xDCC0\xDCAF");
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << QStringLiteral(u"\xDCED\xDCA0\xDC80");
    QTest::newRow("beyond unicode")
        << QByteArray("\xF4\x90\x80\x80") << QStringLiteral(u"\xDCF4\xDC90\xDC80\xDC80");
    QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString();
}

void TestAnsiCodec::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(AnsiCodec::Decode(bytes), text);
    QCOMPARE(AnsiCodec::Encode(text), bytes);
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
