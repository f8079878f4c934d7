#include "Clipboard.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <sys/stat.h>

using Rows = QList<int>;

namespace {

const QString kCopied = QStringLiteral(
    "Results have been copied to the clipboard.\r\rClick a text area where you normally type "
    "and press Ctrl+V to paste the clipboard.");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void fill(ResultView* view, const QStringList& items, const Rows& checked = {})
{
    view->list().Clear();
    for (const QString& item : items)
        view->list().Add(item);
    for (int position : checked)
        view->list().SetChecked(position, true);
}

QString errorAt(const char* procedure, int line)
{
    return QStringLiteral("in Braidwell2021/08/31.Form1.%1 at line %2\r\r")
        .arg(QLatin1String(procedure))
        .arg(line);
}

} // namespace

class Test : public QObject
{
    Q_OBJECT
    std::unique_ptr<WindowFixture> fixture;
    std::unique_ptr<Form1> form;

private slots:
    void init()
    {
        fixture = std::make_unique<WindowFixture>();
        form = fixture->window();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void cleanup()
    {
        form.reset();
        fixture.reset();
    }

    void copy_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<Rows>("checked");
        QTest::addColumn<QStringList>("second"); // column 2, when the list has one
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, QStringList items, Rows checked, QStringList second,
                      QString expected) {
            QTest::newRow(name) << items << checked << second << expected;
        };
        row("checked only, in order", {"a", "b", "c", "d", "e"}, {4, 2}, {}, "b\r\nd\r\n");
        row("trailing blanks go", {"kiwi  ", "  fig", "   ", "x\t"}, {1, 2, 3, 4}, {},
            "kiwi\r\n  fig\r\n\r\nx\t\r\n");
        row("none checked", {"a"}, {}, {}, "");
        row("empty list", {}, {}, {}, "before");
        row("two columns", {"a", "abc"}, {1, 2}, {"x", "y"}, "a  \tx\r\nabc\ty\r\n");
        row("unchecked rows widen", {"\U0001F600", "long"}, {1}, {"x", "y"}, "\U0001F600  \tx\r\n");
        row("empty last cell", {"a"}, {1}, {""}, "a\t\r\n");
    }
    void copy()
    {
        QFETCH(QStringList, items);
        QFETCH(Rows, checked);
        QFETCH(QStringList, second);
        QFETCH(QString, expected);
        fill(form->ListView1, items, checked);
        if (!second.isEmpty())
            form->ListView1->list().AddColumn(QStringLiteral("Second"));
        for (int i = 0; i < second.size(); ++i)
            form->ListView1->list().SetSubItemText(i + 1, 2, second[i]);
        for (int click = 1; click <= 2; ++click) {
            form->PushButton8->click();
            QCOMPARE(clipboardText(), expected);
            QCOMPARE(fixture->boxes.prompts(), QStringList(click, kCopied));
            QCOMPARE(fixture->boxes.shown.last().style, 0);
        }
    }

    // Commands that run while a copy waits for the window's events.
    void copyWhileChanging_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("firstBox");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("clear all")
            << "PushButton7" << errorAt("PushButton8_Click", 106) << "before";
        QTest::newRow("Delete") << "" << errorAt("PushButton8_Click", 106) << "before";
        QTest::newRow("copy list 2") << "PushButton9" << kCopied << "a\r\nb\r\nc\r\n";
    }
    void copyWhileChanging()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QString, firstBox);
        QFETCH(QString, clipboard);
        fill(form->ListView1, {"a", "b", "c"}, {1, 2, 3});
        fill(form->ListView2, {"z"}, {1});
        form->ListView1->list().SetCurrentPosition(1);
        QTimer::singleShot(0, form.get(), [&] {
            if (meanwhile.isEmpty())
                QTest::keyClick(form->ListView1, Qt::Key_Delete);
            else
                form->findChild<QPushButton*>(meanwhile)->click();
        });
        form->PushButton8->click();
        QCOMPARE(fixture->boxes.shown.size(), 2);
        QVERIFY(fixture->boxes.shown[0].prompt.contains(firstBox));
        QCOMPARE(fixture->boxes.shown[1].prompt, kCopied);
        QCOMPARE(clipboardText(), clipboard);
    }

    void copyKeepsWindowResponsive()
    {
        {
            const ResultList::BulkUpdate bulk(form->ListView1->list());
            for (int i = 0; i < 1000000; ++i)
                form->ListView1->list().Add(QStringLiteral("line number %1 of the list").arg(i));
        }
        form->ListView1->list().SetAllChecked(true);
        form->show();
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(5);
        QElapsedTimer clock;
        clock.start();
        form->PushButton8->click();
        const qint64 spent = clock.elapsed();
        QCOMPARE(clipboardText().count(QStringLiteral("\r\n")), 1000000);
        // A pause at least every 20 ms of work lets the timer in.
        QVERIFY2(ticks >= qMax<qint64>(4, spent / 60), qPrintable(QString::number(ticks)));
    }

    void save_data()
    {
        QTest::addColumn<QString>("name");     // what the dialog picks; empty for Cancel
        QTest::addColumn<QByteArray>("old");   // a read-only file there before, or "<fifo>"
        QTest::addColumn<QByteArray>("bytes"); // the file afterwards
        QTest::addColumn<Rows>("pointerAtBox");
        const QByteArray none("<missing>");
        QTest::newRow("as listed")
            << "out" << QByteArray() << QByteArray("a\r\n\r\nb \t\r\n") << Rows{};
        QTest::newRow("cancel") << "" << QByteArray() << none << Rows{};
        QTest::newRow("read-only")
            << "old.txt" << QByteArray("old") << QByteArray("old") << Rows{11};
        QTest::newRow("no such folder") << "gone/out.txt" << QByteArray() << none << Rows{11};
        QTest::newRow("a FIFO that nobody reads")
            << "fifo" << QByteArray("<fifo>") << QByteArray("<fifo>") << Rows{11};
    }
    void save()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, pointerAtBox);
        fill(form->ListView1, {"a", "", "b \t"});
        const QString path = QDir(fixture->scratchPath()).filePath(name);
        if (old == "<fifo>") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (!old.isEmpty()) {
            fixture->file(name, old);
            QFile::setPermissions(path, QFile::ReadOwner);
        }
        if (!name.isEmpty())
            fixture->dialogAnswer = QStringList{path};
        form->CommonDialog1->FileName = QStringLiteral("previous.txt");
        form->CommonDialog1->Flags = 0x280201; // as a browse leaves them
        Rows pointers;
        fixture->boxes.onShow = [&](const MsgBoxRequest&) {
            pointers.append(form->MousePointer());
        };
        form->PushButton2->click();
        QCOMPARE(fixture->dialogs.size(), 1);
        const DialogRequest& asked = fixture->dialogs[0];
        QCOMPARE(QStringList({asked.title, asked.nameFilters.join('|'), asked.fileName,
                              QString::number(asked.flags, 16), QString::number(asked.save)}),
                 QStringList(
                     {"Save", "Text Files(*.txt) (*.txt)|All Files (*.*) (*)", "", "280201", "1"}));
        if (bytes != "<fifo>") // reading the FIFO would wait for a writer
            QCOMPARE(readFile(path), bytes);
        QCOMPARE(pointers, pointerAtBox);
        QCOMPARE(form->MousePointer(), 0);
        if (!pointers.isEmpty())
            QVERIFY(fixture->boxes.shown[0].prompt.contains(errorAt("PushButton2_Click", 120)));
    }

    void buttonsActOnTheirOwnList()
    {
        ResultView* views[] = {form->ListView1, form->ListView2, form->ListView3};
        QPushButton* buttons[][2] = {{form->PushButton8, form->PushButton2},
                                     {form->PushButton9, form->PushButton5},
                                     {form->PushButton10, form->PushButton6}};
        for (int i = 0; i < 3; ++i)
            fill(views[i], {QString::number(i + 1)}, {1});
        for (int list = 0; list < 3; ++list) {
            fixture->dialogAnswer = QStringList{fixture->file(QStringLiteral("out.txt"), "")};
            buttons[list][0]->click();
            buttons[list][1]->click();
            const QString expected = QStringLiteral("%1\r\n").arg(list + 1);
            QCOMPARE(clipboardText(), expected);
            QCOMPARE(readFile(fixture->dialogAnswer[0]), expected.toUtf8());
        }
    }

    void deleteKey_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("pointer");
        QTest::addColumn<int>("current"); // 0: none
        QTest::addColumn<QString>("left");
        QTest::newRow("Delete") << "Del" << 0 << 2 << "ac";
        QTest::newRow("Ctrl+Delete") << "Ctrl+Del" << 0 << 1 << "bc";
        QTest::newRow("Shift+Alt+Delete") << "Shift+Alt+Del" << 0 << 3 << "ab";
        QTest::newRow("held down") << "Del, Del" << 0 << 1 << "c";
        QTest::newRow("Backspace") << "Backspace" << 0 << 2 << "abc";
        QTest::newRow("busy") << "Del" << 11 << 2 << "abc";
        QTest::newRow("no current line") << "Del" << 0 << 0 << "abc";
    }
    void deleteKey()
    {
        QFETCH(QString, keys);
        QFETCH(int, pointer);
        QFETCH(int, current);
        QFETCH(QString, left);
        fill(form->ListView1, {"x"});
        fill(form->ListView2, {"a", "b", "c"});
        fill(form->ListView3, {"y"});
        if (current)
            form->ListView2->list().SetCurrentPosition(current);
        form->SetMousePointer(pointer);
        QTest::keySequence(form->ListView2, QKeySequence(keys));
        form->SetMousePointer(0);
        QCOMPARE(itemsOf(form->ListView2->list()).join(QString()), left);
        QCOMPARE(itemsOf(form->ListView1->list()) + itemsOf(form->ListView3->list()),
                 QStringList({"x", "y"}));
    }

    void clearAll()
    {
        for (int pointer : {11, 0}) {
            for (ResultView* view : {form->ListView1, form->ListView2, form->ListView3})
                fill(view, {"a", "b"}, {1});
            form->SetMousePointer(pointer);
            form->PushButton7->click();
            form->SetMousePointer(0);
            QCOMPARE(form->ListView1->list().Count(), pointer == 11 ? 2 : 0);
            QCOMPARE(form->ListView2->list().Count() + form->ListView3->list().Count(), 0);
        }
        QVERIFY(fixture->boxes.shown.isEmpty());
    }

    void checkMarks_data()
    {
        QTest::addColumn<Rows>("before");
        QTest::addColumn<Rows>("select");    // the last one current; none: Ctrl+A
        QTest::addColumn<QString>("action"); // keys, or a context-menu entry
        QTest::addColumn<Rows>("after");
        auto row = [](const char* name, Rows before, Rows select, QString action, Rows after) {
            QTest::newRow(name) << before << select << action << after;
        };
        row("Space checks the selection", {}, {2, 3}, "Space", {2, 3});
        row("and unchecks it", {}, {2, 3}, "Space, Space", {});
        row("mixed: as the current line", {3}, {3, 1}, "Space", {1, 3});
        row("Ctrl+A, Space", {2}, {}, "Space", {1, 2, 3, 4});
        row("Check All", {2}, {1}, "Check All", {1, 2, 3, 4});
        row("Uncheck All", {1, 4}, {1}, "Uncheck All", {});
    }
    void checkMarks()
    {
        QFETCH(Rows, before);
        QFETCH(Rows, select);
        QFETCH(QString, action);
        QFETCH(Rows, after);
        ResultView* view = form->ListView2;
        fill(view, {"a", "b", "c", "d"}, before);
        for (int row : select)
            view->selectionModel()->setCurrentIndex(view->list().index(row - 1),
                                                    QItemSelectionModel::Select);
        if (select.isEmpty())
            QTest::keySequence(view, QKeySequence(QStringLiteral("Ctrl+A")));
        if (action.startsWith(QLatin1String("Space")))
            QTest::keySequence(view, QKeySequence(action));
        for (QAction* entry : view->actions())
            if (entry->text() == action)
                entry->trigger();
        QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
        Rows checked;
        for (int i = 1; i <= 4; ++i)
            if (view->list().IsChecked(i))
                checked.append(i);
        QCOMPARE(checked, after);
        QCOMPARE(view->toolTip(), QStringLiteral("4 lines, %1 checked").arg(after.size()));
    }

    void clipboardRetries_data()
    {
        QTest::addColumn<int>("busy"); // attempts that find the clipboard busy
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("busyLeft");
        QTest::newRow("clear succeeds last") << 999 << "new" << 0;
        QTest::newRow("set succeeds last") << 1999 << "new" << 0;
        QTest::newRow("both give up") << 2001 << "before" << 1;
    }
    void clipboardRetries()
    {
        QFETCH(int, busy);
        QFETCH(QString, text);
        QFETCH(int, busyLeft);
        ClipboardTesting::SetBusyAttempts(busy);
        ClearClipboard();
        QCOMPARE(SetClipboardText(QStringLiteral("new"), 0), qint16(text == "new" ? -1 : 0));
        QCOMPARE(ClipboardTesting::BusyAttempts(), busyLeft);
        ClipboardTesting::SetBusyAttempts(0);
        QCOMPARE(clipboardText(), text);
    }
};

QTEST_MAIN(Test)
#include "tst_result_commands.moc"
