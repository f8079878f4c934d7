#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "platform/OutputFile.h"
#include "platform/RuntimeError.h"
#include "platform/StopSignals.h"
#include "results/ListSaving.h"
#include "results/ResultFile.h"
#include "results/ResultList.h"
#include "tests/ListFiles.h"
#include "tests/TestSupport.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>

class TestResultList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void itemsKeepTextOrderAndDuplicates();
    void removeCurrentAndPositions();
    void outOfRangeThrows_data();
    void outOfRangeThrows();
    void checksCountAndViewRoles();
    void columnsAndSubItems();
    void bulkUpdateIsOneReset();
    void swapItemsTradesContent();
    void takenLinesGoBack_data();
    void takenLinesGoBack();
    void listTextInPieces_data();
    void listTextInPieces();
    void savedBytes_data();
    void savedBytes();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void temporaryFileIsPrivate_data();
    void temporaryFileIsPrivate();
    void stopSignalDuringSave_data();
    void stopSignalDuringSave();

private:
    QTemporaryDir m_dir;
};

void TestResultList::initTestCase()
{
    // As both programs do first: going over the file-size limit fails the
    // write instead of ending the process.
    StopSignals::SurviveFileSizeLimit();
}

void TestResultList::itemsKeepTextOrderAndDuplicates()
{
    ResultList list;
    const QStringList texts = {"b",
                               "",
                               "  a\t",
                               "b",
                               QStringLiteral(u"\xDCE9 raw"),
                               QStringLiteral(u"lone \xD800 surrogate"),
                               QStringLiteral(u"\U0001F600"),
                               QString(9000, QLatin1Char('x')), // longer than a row's length field
                               QString(5000, QChar(0xD800)) + QLatin1Char('z'),
                               QStringLiteral("after")};
    for (const QString& text : texts)
        list.AddAt(-1, text);
    list.AddAt(-1, AnsiCodec::Decode("enc\xC3\xA9"));
    // Bytes kept by their owner, short and long.
    const auto owner = std::make_shared<QByteArray>(QByteArray(20000, 'y') + "short");
    list.AddSharedAt(-1, owner, QByteArrayView(*owner).last(5));
    list.AddSharedAt(-1, owner, QByteArrayView(*owner).first(20000));
    QCOMPARE(list.Count(), int(texts.size()) + 3);
    for (int i = 0; i < int(texts.size()); ++i)
        QCOMPARE(list.ItemText(i + 1), texts[i]);
    QCOMPARE(list.ItemText(int(texts.size()) + 1), QStringLiteral(u"enc\u00E9"));
    QCOMPARE(list.ItemText(list.Count() - 1), QStringLiteral("short"));
    QCOMPARE(list.ItemText(list.Count()), QString(20000, QLatin1Char('y')));
    list.Remove(1); // every later item moves up one place
    for (int i = 1; i < int(texts.size()); ++i)
        QCOMPARE(list.ItemText(i), texts[i]);
    QCOMPARE(list.ItemText(list.Count()), QString(20000, QLatin1Char('y')));
    QVERIFY(!list.IsChecked(1));
    list.Clear();
    QCOMPARE(list.Count(), 0);
    QCOMPARE(list.CurrentPosition(), 0);
}

void TestResultList::removeCurrentAndPositions()
{
    ResultList list;
    for (const char* text : {"x", "y", "x", "z"})
        list.AddAt(-1, QString::fromLatin1(text));
    QCOMPARE(list.CurrentPosition(), 0);
    list.SetCurrentPosition(3);
    QCOMPARE(list.CurrentPosition(), 3);
    list.SetChecked(4, true);
    list.Remove(list.CurrentPosition());
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.ItemText(1), QStringLiteral("x")); // the other "x" stays
    QCOMPARE(list.ItemText(3), QStringLiteral("z"));
    QVERIFY(list.IsChecked(3)); // the check mark moved up with its item
    QVERIFY(list.CurrentPosition() > 0);
    list.AddAt(-1, QStringLiteral("w"));
    QCOMPARE(list.ItemText(4), QStringLiteral("w"));
    while (list.Count())
        list.Remove(1);
    QCOMPARE(list.CheckedCount(), 0);
    QCOMPARE(list.CurrentPosition(), 0);

    // A run of positions goes in one change, its check marks with it.
    for (const char* text : {"a", "b", "c", "d", "e"})
        list.AddAt(-1, QString::fromLatin1(text));
    list.SetChecked(2, true);
    list.SetChecked(5, true);
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    list.RemoveRange(2, 4);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.ItemText(2), QStringLiteral("e"));
    QCOMPARE(list.CheckedCount(), 1);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.RemoveRange(2, 3));
    QCOMPARE(list.Count(), 2);

    // An item's line in its file goes with it; items added without one have none.
    list.Clear();
    const auto owner = std::make_shared<QByteArray>("p\nq\nr");
    list.AddSharedAt(0, owner, QByteArrayView(*owner).first(1));
    list.AddAt(-1, QStringLiteral("plain"));
    list.AddAt(9, QStringLiteral("q"));
    list.AddSharedAt(12, owner, QByteArrayView(*owner).last(1));
    QCOMPARE(list.LineNumber(1), 0);
    QCOMPARE(list.LineNumber(2), -1);
    list.RemoveRange(1, 2);
    QCOMPARE(list.ItemText(1), QStringLiteral("q"));
    QCOMPARE(list.LineNumber(1), 9);
    QCOMPARE(list.LineNumber(2), 12);
    ResultList other;
    other.AddAt(-1, QStringLiteral("s"));
    list.SwapItems(other);
    QCOMPARE(list.LineNumber(1), -1);
    QCOMPARE(other.LineNumber(2), 12);
    other.Clear();
    other.AddAt(-1, QStringLiteral("t"));
    QCOMPARE(other.LineNumber(1), -1);
}

void TestResultList::outOfRangeThrows_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("zero") << 0;
    QTest::newRow("past the end") << 3;
    QTest::newRow("negative") << -1;
}

void TestResultList::outOfRangeThrows()
{
    QFETCH(int, position);
    ResultList list;
    list.AddAt(-1, QStringLiteral("a"));
    list.AddAt(-1, QStringLiteral("b"));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.ItemText(position));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.IsChecked(position));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.SubItemText(position, 2));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.Remove(position));
    QCOMPARE(list.Count(), 2);
}

void TestResultList::checksCountAndViewRoles()
{
    ResultList list;
    for (int i = 0; i < 5; ++i)
        list.AddAt(-1, QString::number(i));
    QSignalSpy counts(&list, &ResultList::checkedCountChanged);
    QVERIFY(list.setData(list.index(1), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(list.setData(list.index(3), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!list.setData(list.index(2), QStringLiteral("edited"), Qt::EditRole));
    QCOMPARE(list.CheckedCount(), 2);
    QCOMPARE(counts.last().at(0).toInt(), 2);
    QVERIFY(list.IsChecked(2) && list.IsChecked(4) && !list.IsChecked(3));
    QCOMPARE(list.data(list.index(3), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(list.data(list.index(2), Qt::DisplayRole).toString(), QStringLiteral("2"));
    QVERIFY(list.flags(list.index(0)) & Qt::ItemIsUserCheckable);
    QVERIFY(!list.data(list.index(7), Qt::DisplayRole).isValid());
    list.SetAllChecked(true);
    QCOMPARE(list.CheckedCount(), 5);
    list.SetAllChecked(false);
    QCOMPARE(list.CheckedCount(), 0);
}

void TestResultList::columnsAndSubItems()
{
    ResultList list;
    QCOMPARE(list.ColumnCount(), 0);
    QSignalSpy widths(&list, &ResultList::columnWidthChanged);
    list.AddColumn(QStringLiteral("Result(s)"));
    list.SetColumnWidth(1, 6300);
    QCOMPARE(list.ColumnCount(), 1);
    QCOMPARE(list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Result(s)"));
    QCOMPARE(list.ColumnWidth(1), 6300);
    QCOMPARE(widths.count(), 1);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.SetColumnWidth(2, 100));
    list.AddColumn(QStringLiteral("Second"));
    list.AddAt(-1, QStringLiteral("a"));
    list.AddAt(-1, QStringLiteral("b"));
    QCOMPARE(list.SubItemText(1, 2), QString());
    list.SetSubItemText(2, 2, QStringLiteral("y"));
    list.AddAt(-1, QStringLiteral("c"));
    QCOMPARE(list.SubItemText(2, 2), QStringLiteral("y"));
    QCOMPARE(list.SubItemText(3, 2), QString());
    list.Remove(1);
    QCOMPARE(list.SubItemText(1, 2), QStringLiteral("y"));
}

void TestResultList::bulkUpdateIsOneReset()
{
    ResultList list;
    list.AddAt(-1, QStringLiteral("old"));
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&list, &QAbstractItemModel::rowsInserted);
    {
        ResultList::BulkUpdate bulk(list);
        list.Clear();
        for (int i = 0; i < 1000; ++i)
            list.AddAt(-1, QString::number(i));
        QCOMPARE(list.Count(), 1000);
    }
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(list.ItemText(1000), QStringLiteral("999"));
    {
        ResultList::BulkUpdate unchanged(list);
    }
    QCOMPARE(resets.count(), 1);
}

void TestResultList::swapItemsTradesContent()
{
    // A list filled elsewhere comes into a shown list in one reset; columns
    // stay where they were.
    ResultList shown, fresh;
    shown.AddColumn(QStringLiteral("Result(s)"));
    shown.AddAt(-1, QStringLiteral("old"));
    shown.SetChecked(1, true);
    const auto owner = std::make_shared<QByteArray>("shared\xff");
    fresh.AddAt(-1, QStringLiteral("a"));
    fresh.AddSharedAt(-1, owner, QByteArrayView(*owner));
    fresh.SetSubItemText(1, 2, QStringLiteral("x"));
    QSignalSpy resets(&shown, &QAbstractItemModel::modelReset);
    QSignalSpy counts(&shown, &ResultList::checkedCountChanged);
    shown.SwapItems(fresh);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(counts.count(), 1);
    QCOMPARE(shown.Count(), 2);
    QCOMPARE(shown.ItemText(2), QStringLiteral(u"shared\xDCFF"));
    QCOMPARE(shown.SubItemText(1, 2), QStringLiteral("x"));
    QCOMPARE(shown.CheckedCount(), 0);
    QCOMPARE(shown.ColumnCount(), 1);
    QCOMPARE(fresh.Count(), 1);
    QVERIFY(fresh.IsChecked(1));
    QCOMPARE(fresh.CheckedCount(), 1);
    QCOMPARE(fresh.ColumnCount(), 0);
    // Inside a BulkUpdate the reset waits for its end.
    {
        ResultList::BulkUpdate bulk(shown);
        shown.SwapItems(fresh);
        QCOMPARE(resets.count(), 1);
    }
    QCOMPARE(resets.count(), 2);
    QCOMPARE(shown.ItemText(1), QStringLiteral("old"));
    // The items taken away live as long as whoever holds them.
    fresh.SetChecked(1, true);
    QSignalSpy freshResets(&fresh, &QAbstractItemModel::modelReset);
    std::shared_ptr<void> taken = fresh.TakeItems();
    QCOMPARE(freshResets.count(), 1);
    QCOMPARE(fresh.Count(), 0);
    QCOMPARE(fresh.CheckedCount(), 0);
    QCOMPARE(fresh.ColumnCount(), 0);
    QCOMPARE(owner.use_count(), 2);
    taken.reset();
    QCOMPARE(owner.use_count(), 1);
}

// What Undo needs of a list: runs taken out and put back (Delete), the items
// taken whole and put back (Clear All), old check marks set again.
void TestResultList::takenLinesGoBack_data()
{
    QTest::addColumn<QList<int>>("runs"); // first, last, first, last ...; none: the items whole
    QTest::newRow("one line") << QList<int>{3, 3};
    QTest::newRow("a run") << QList<int>{2, 4};
    QTest::newRow("two runs") << QList<int>{1, 2, 5, 6};
    QTest::newRow("every line: the texts go along") << QList<int>{1, 6};
    QTest::newRow("every line, two runs") << QList<int>{1, 3, 4, 6};
    QTest::newRow("the items whole") << QList<int>{};
}

void TestResultList::takenLinesGoBack()
{
    QFETCH(QList<int>, runs);
    ResultList list;
    list.AddColumn(QStringLiteral("Result(s)"));
    const auto owner = std::make_shared<QByteArray>("alpha\nbeta\ngam\xff");
    list.AddSharedAt(0, owner, QByteArrayView(*owner).first(5));
    list.AddAt(-1, QStringLiteral("plain"));
    list.AddSharedAt(2, owner, QByteArrayView(*owner).last(4));
    list.AddAt(7, QString(9000, QLatin1Char('L'))); // longer than a row holds
    list.AddAt(8, QStringLiteral("e"));
    list.AddAt(9, QStringLiteral("f"));
    list.SetChecked(2, true);
    list.SetChecked(5, true);
    list.SetSubItemText(3, 2, QStringLiteral("sub"));
    auto state = [&list] {
        QStringList rows;
        for (int i = 1; i <= list.Count(); ++i)
            rows.append(QStringLiteral("%1|%2|%3|%4")
                            .arg(list.ItemText(i))
                            .arg(list.LineNumber(i))
                            .arg(list.IsChecked(i))
                            .arg(list.SubItemText(i, 2)));
        return rows;
    };
    const QStringList before = state();
    QStringList left = before;
    std::vector<std::shared_ptr<ResultList::TakenRange>> taken;
    for (qsizetype i = runs.size() - 2; i >= 0; i -= 2) {
        taken.push_back(list.TakeRange(runs[i], runs[i + 1]));
        left.remove(runs[i] - 1, runs[i + 1] - runs[i] + 1);
    }
    std::shared_ptr<ResultList::Items> whole = runs.isEmpty() ? list.TakeItems() : nullptr;
    QCOMPARE(state(), runs.isEmpty() ? QStringList() : left);
    const auto checkedLeft = std::count_if(left.begin(), left.end(), [](const QString& row) {
        return row.section(QLatin1Char('|'), 2, 2) == QLatin1String("1");
    });
    QCOMPARE(list.CheckedCount(), runs.isEmpty() ? 0 : int(checkedLeft));
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    for (auto run = taken.rbegin(); run != taken.rend(); ++run)
        list.PutRange(**run);
    if (whole)
        list.PutItems(*whole);
    QCOMPARE(state(), before);
    QCOMPARE(list.CheckedCount(), 2);
    QCOMPARE(inserted.count(), runs.size() / 2);
    QCOMPARE(resets.count(), whole ? 1 : 0);
    QCOMPARE(owner.use_count(), 2); // the lines' bytes were not copied

    // Check marks as they were, whatever came between.
    const std::vector<bool> marks = list.CheckMarks(2, 5);
    QCOMPARE(marks, (std::vector<bool>{true, false, false, true}));
    list.SetAllChecked(true);
    list.SetCheckMarks(2, marks);
    QCOMPARE(list.CheckedCount(), 4);
    QVERIFY(!list.IsChecked(3) && list.IsChecked(5) && list.IsChecked(6));
}

void TestResultList::listTextInPieces_data()
{
    // Lines "=..." are added as text, the others encoded.
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<qint64>("textBytes"); // the bound the writer is given
    QTest::addColumn<QList<QByteArray>>("pieces");
    using Pieces = QList<QByteArray>;
    QTest::newRow("no lines, no piece") << QStringList{} << qint64(8) << Pieces{};
    QTest::newRow("lines that fill a piece exactly")
        << QStringList{"ab", "cd", "e"} << qint64(8) << Pieces{"ab\r\ncd\r\n", "e\r\n"};
    QTest::newRow("a line one byte over the room left")
        << QStringList{"abc", "de"} << qint64(8) << Pieces{"abc\r\n", "de\r\n"};
    QTest::newRow("a line as long as a piece")
        << QStringList{"a", "abcdef", "b"} << qint64(8) << Pieces{"a\r\n", "abcdef\r\n", "b\r\n"};
    QTest::newRow("a line longer than a piece goes out on its own")
        << QStringList{"a", "abcdefg", "b"} << qint64(8)
        << Pieces{"a\r\n", "abcdefg", "\r\n", "b\r\n"};
    QTest::newRow("empty lines") << QStringList{"", "", "", "", ""} << qint64(8)
                                 << Pieces{"\r\n\r\n\r\n\r\n", "\r\n"};
    QTest::newRow("no room given: a line a piece")
        << QStringList{"", "a"} << qint64(0) << Pieces{"\r\n", "a", "\r\n"};
    QTest::newRow("text lines encoded as a list file holds them")
        << QStringList{QStringLiteral(u"=\u00E9"), QStringLiteral(u"=caf\xDCE9"),
                       QStringLiteral(u"=\xD800")}
        << qint64(64) << Pieces{"=\xC3\xA9\r\n=caf\xE9\r\n=\xEF\xBF\xBD\r\n"};
    const QString half(600'000, QLatin1Char('x'));
    QTest::newRow("a megabyte at most")
        << QStringList{half, half} << ListTextWriter::kPieceBytes * 4
        << Pieces{half.toLatin1() + "\r\n", half.toLatin1() + "\r\n"};
}

void TestResultList::listTextInPieces()
{
    QFETCH(QStringList, lines);
    QFETCH(qint64, textBytes);
    QFETCH(QList<QByteArray>, pieces);
    QList<QByteArray> passed;
    ListTextWriter out([&passed](QByteArrayView piece) { passed.append(piece.toByteArray()); },
                       textBytes);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('=')))
            out.Add(line);
        else
            out.AddEncoded(AnsiCodec::Encode(line));
    }
    out.Flush();
    out.Flush(); // nothing more to pass on
    QCOMPARE(passed, pieces);
}

void TestResultList::savedBytes_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown"); // the rows as the view shows them, joined by '|'
    QTest::newRow("empty list") << QStringList{} << QByteArray() << QString();
    QTest::newRow("empty item and blanks")
        << QStringList{"a", "", "b  \t"} << QByteArray("a\r\n\r\nb  \t\r\n") << "a||b  \t";
    // A Latin-1 byte shows as its character and is saved as the same byte.
    QTest::newRow("utf-8 and raw bytes back")
        << QStringList{QStringLiteral(u"\u00E9"), QStringLiteral(u"caf\xDCE9"),
                       QStringLiteral(u"\xDC80 5")}
        << QByteArray("\xC3\xA9\r\ncaf\xE9\r\n\x80 5\r\n")
        << QStringLiteral(u"\u00E9|caf\u00E9|\u20AC 5");
    QTest::newRow("lines longer than 8 KiB")
        << QStringList{QString(8191, QLatin1Char('a')), "b", QString(70000, QLatin1Char('c'))}
        << QByteArray(8191, 'a') + "\r\nb\r\n" + QByteArray(70000, 'c') + "\r\n"
        << QString(8191, QLatin1Char('a')) + "|b|" + QString(70000, QLatin1Char('c'));
    QTest::newRow("lone surrogate becomes U+FFFD")
        << QStringList{QStringLiteral(u"a\xD800")} << QByteArray("a\xEF\xBF\xBD\r\n")
        << QStringLiteral(u"a\xD800");
    // Written in several pieces, a line over a megabyte on its own.
    QStringList many;
    QByteArray manyBytes;
    for (int i = 0; i < 100'000; ++i) {
        many << QStringLiteral(u"line %1 \u00E9").arg(i);
        manyBytes += "line " + QByteArray::number(i) + " \xC3\xA9\r\n";
        if (i == 50'000) {
            many << QString(1 << 20, QLatin1Char('y'));
            manyBytes += QByteArray(1 << 20, 'y') + "\r\n";
        }
    }
    QTest::newRow("over a megabyte, in several pieces") << many << manyBytes << QString();
}

void TestResultList::savedBytes()
{
    QFETCH(QStringList, items);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    ResultList list;
    for (const QString& item : items)
        list.AddAt(-1, item);
    if (!shown.isEmpty() || items.isEmpty()) {
        QStringList rows;
        for (int row = 0; row < list.Count(); ++row)
            rows.append(list.data(list.index(row), Qt::DisplayRole).toString());
        QCOMPARE(rows.join(QLatin1Char('|')), shown);
    }
    const QString path = m_dir.filePath(QStringLiteral("saved"));
    saveListToFile(path, list);
    QCOMPARE(readFile(path), bytes);
    saveListToFile(path, list); // the second save silently replaces the first
    QCOMPARE(readFile(path), bytes);
    // The window's save, in pieces, reports every item written.
    QFile::remove(path);
    SaveControl control;
    QVERIFY(SaveListInPieces(path, list, control));
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(control.done.load(), qint64(list.Count()));
    QCOMPARE(listFileText(list), bytes);
    QString text;
    for (const QString& item : items)
        text += item + QStringLiteral("\r\n");
    writeTextFile(path, text);
    QCOMPARE(readFile(path), bytes);
}

void TestResultList::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file") << "readonly"
                                    << "read-only";
    QTest::newRow("disk full (file-size limit)") << "full"
                                                 << "";
    QTest::newRow("folder in the way") << "folder"
                                       << "";
    QTest::newRow("no such folder") << "nofolder"
                                    << "";
}

void TestResultList::failedSaveKeepsOldFile()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    ResultList list;
    for (int i = 0; i < 2000; ++i)
        list.AddAt(-1, QStringLiteral("a line of some length to pass the limit %1").arg(i));
    const QByteArray old("precious old content\r\n");
    QString path = writeFile(m_dir, how + QStringLiteral(".txt"), old);
    if (how == QLatin1String("readonly"))
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    if (how == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path = m_dir.filePath(QStringLiteral("is-a-folder"))));
    if (how == QLatin1String("nofolder"))
        path = m_dir.filePath(QStringLiteral("no/such/folder.txt"));

    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    QString description;
    {
        rlimit saved;
        getrlimit(RLIMIT_FSIZE, &saved);
        if (how == QLatin1String("full")) {
            rlimit small = saved;
            small.rlim_cur = 1024;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        try {
            saveListToFile(path, list);
        } catch (const RuntimeError& error) {
            description = error.description();
        }
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    QVERIFY2(description.contains(path), qPrintable(description));
    QVERIFY2(description.contains(reason), qPrintable(description));
    if (how == QLatin1String("readonly") || how == QLatin1String("full"))
        QCOMPARE(readFile(path), old);
    // No half-written temporary is left behind.
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    if (how == QLatin1String("readonly")) {
        const QString other = m_dir.filePath(QStringLiteral("writable.txt"));
        saveListToFile(other, list);
        QVERIFY(readFile(other).startsWith("a line"));
        QFile::remove(other);
    }
}

namespace {

// What another user can do with the temporary files in folder: run as nobody
// (when the tests run as root), it tries to open each for reading and for
// appending, and says how many it saw.
QByteArray probeAsAnotherUser(const QString& folder)
{
    static const QString script =
        QStringLiteral("n=0\n"
                       "for f in \"$1\"/.quillmark-*; do\n"
                       "  [ -e \"$f\" ] || continue; n=$((n + 1))\n"
                       "  (exec 3<\"$f\") 2>/dev/null && echo \"read $f\"\n"
                       "  (exec 3>>\"$f\") 2>/dev/null && echo \"wrote $f\"\n"
                       "done\n"
                       "echo \"seen $n\"");
    QProcess probe;
    probe.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                 QStringLiteral("--clear-groups"), QStringLiteral("sh"), QStringLiteral("-c"),
                 script, QStringLiteral("sh"), folder});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
        return "the probe failed: " + probe.readAllStandardError();
    return probe.readAllStandardOutput();
}

} // namespace

void TestResultList::temporaryFileIsPrivate_data()
{
    QTest::addColumn<bool>("named"); // as on a file system without O_TMPFILE
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("oldMode"); // -1: no old file
    QTest::addColumn<int>("savedMode");
    // A /tmp-like folder, and a group's folder (group nogroup, so nobody is
    // in it) where its members share files with umask 002.
    for (const bool named : {false, true}) {
        const char* how = named ? ", named" : "";
        QTest::addRow("sticky shared folder, a private list%s", how)
            << named << 01777 << 022 << 0600 << 0600;
        QTest::addRow("sticky shared folder, a new list%s", how)
            << named << 01777 << 022 << -1 << 0644;
        QTest::addRow("group folder, umask 002, a new list%s", how)
            << named << 02775 << 002 << -1 << 0664;
        QTest::addRow("group folder, umask 002, a group's list%s", how)
            << named << 02775 << 002 << 0660 << 0660;
    }
}

void TestResultList::temporaryFileIsPrivate()
{
    QFETCH(bool, named);
    QFETCH(int, folderMode);
    QFETCH(int, mask);
    QFETCH(int, oldMode);
    QFETCH(int, savedMode);
    static int round = 0;
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    const QString folder = m_dir.filePath(QStringLiteral("shared%1").arg(++round));
    QVERIFY(QDir().mkdir(folder));
    const QByteArray nativeFolder = QFile::encodeName(folder);
    QVERIFY(::chmod(nativeFolder.constData(), mode_t(folderMode)) == 0);
    if (folderMode & S_ISGID)
        QVERIFY(::chown(nativeFolder.constData(), uid_t(-1), kUnprivilegedUser) == 0 ||
                !changesUserForPermissions());
    const QString path = folder + QStringLiteral("/list.txt");
    if (oldMode >= 0) {
        writeFileAt(path, "old\r\n");
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)) == 0);
    }

    const mode_t savedMask = ::umask(mode_t(mask));
    OutputFile::SetNamedOnlyForTests(named);
    struct stat atCreation = {};
    QByteArray createdName;
    int created = 0;
    OutputFile::SetCreatedTestHook([&](int fd, const QByteArray& name) {
        ::fstat(fd, &atCreation);
        createdName = name;
        ++created;
    });
    // Once a piece of the text is in the file, another user tries to open it.
    QByteArray probed;
    SaveControl::SetTestHook([&](const SaveControl& control) {
        if (control.done.load() > 0 && probed.isEmpty())
            probed = changesUserForPermissions() ? probeAsAnotherUser(folder) : "not probed";
    });
    const auto restore = qScopeGuard([savedMask] {
        ::umask(savedMask);
        OutputFile::SetNamedOnlyForTests(false);
        OutputFile::SetCreatedTestHook({});
        SaveControl::SetTestHook({});
    });
    ResultList list;
    for (int i = 0; i < 60000; ++i)
        list.AddAt(-1, QStringLiteral("a private line, one of a few megabytes of them: %1").arg(i));
    SaveControl control;
    QVERIFY(SaveListInPieces(path, list, control));

    // Created for this user alone, with no name where the file system allows.
    QCOMPARE(created, 1);
    QCOMPARE(atCreation.st_mode & 07777, mode_t(0600));
    QCOMPARE(createdName.isEmpty(), !named);
    if (named)
        QVERIFY2(createdName.startsWith(nativeFolder + "/.quillmark-"), createdName.constData());
    else
        QCOMPARE(atCreation.st_nlink, nlink_t(0));
    // Nobody else opened it while it held text; a named one was there to try.
    if (changesUserForPermissions())
        QCOMPARE(probed, named ? QByteArray("seen 1\n") : QByteArray("seen 0\n"));
    // The saved list has the old file's mode, or what the umask leaves.
    struct stat saved = {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &saved) == 0);
    QCOMPARE(saved.st_mode & 07777, mode_t(savedMode));
    QVERIFY(readFile(path).startsWith("a private line"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
}

void TestResultList::stopSignalDuringSave_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("window"); // the window's handler, else the companion's
    QTest::newRow("companion, SIGINT, named") << int(SIGINT) << true << false;
    QTest::newRow("companion, SIGTERM, named") << int(SIGTERM) << true << false;
    QTest::newRow("companion, SIGHUP, named") << int(SIGHUP) << true << false;
    QTest::newRow("companion, SIGTERM, unnamed") << int(SIGTERM) << false << false;
    QTest::newRow("window, SIGTERM, named") << int(SIGTERM) << true << true;
    QTest::newRow("window, SIGINT, named") << int(SIGINT) << true << true;
    QTest::newRow("window, SIGHUP, unnamed") << int(SIGHUP) << false << true;
}

void TestResultList::stopSignalDuringSave()
{
    QFETCH(int, signal);
    QFETCH(bool, named);
    QFETCH(bool, window);
    static int round = 0;
    const QString folder = m_dir.filePath(QStringLiteral("stopped%1").arg(++round));
    QVERIFY(QDir().mkdir(folder));
    const QString path = writeFileAt(folder + QStringLiteral("/list.txt"), "old\r\n");
    const QByteArray piece(1 << 20, 'x');
    OutputFile::SetNamedOnlyForTests(named);
    const auto restore = qScopeGuard([] { OutputFile::SetNamedOnlyForTests(false); });

    if (!window) {
        // The companion's handler ends the process: it runs in a child,
        // set up as the companion starts.
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (const int stop : {SIGINT, SIGTERM, SIGHUP})
                ::signal(stop, SIG_DFL);
            StopSignals::RemoveTemporariesAndEnd();
            try {
                OutputFile file(path);
                for (int i = 0; i < 4; ++i)
                    file.Write(piece);
                ::kill(::getpid(), signal);
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0); // the signal did not end it
        }
        QVERIFY(pid > 0);
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString::number(status)));
        QCOMPARE(WTERMSIG(status), signal);
    } else {
        // The window's handler: the named file goes at once, the loop hears
        // of the signal, and the save does not commit.
        StopSignals::Notifier notifier;
        OutputFile file(path);
        for (int i = 0; i < 4; ++i)
            file.Write(piece);
        QVERIFY(::kill(::getpid(), signal) == 0);
        // Another thread may take the signal: its handler writes last.
        pollfd written{notifier.Descriptor(), POLLIN, 0};
        QCOMPARE(::poll(&written, 1, 5000), 1);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
        QCOMPARE(notifier.Take(), signal);
        QString description;
        try {
            file.Commit();
        } catch (const RuntimeError& error) {
            description = error.description();
        }
        QVERIFY2(description.contains(QStringLiteral("stopped by a signal")),
                 qPrintable(description));
    }
    QCOMPARE(readFile(path), QByteArray("old\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
    // Gone with its notifier, the stop no longer holds back a save.
    saveListToFile(path, ResultList());
    QCOMPARE(readFile(path), QByteArray());
}

QTEST_GUILESS_MAIN(TestResultList)
#include "tst_resultlist.moc"
