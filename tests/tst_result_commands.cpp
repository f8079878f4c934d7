#include "desktop/BusyProgress.h"
#include "desktop/Clipboard.h"
#include "platform/OutputFile.h"
#include "results/ListSaving.h"
#include "shell/QuitOnSignal.h"
#include "tests/AccessibleEvents.h"
#include "tests/WindowTestSupport.h"
#include "widgets/FindBar.h"
#include "widgets/ListCounts.h"
#include "widgets/OverlapBar.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <thread>

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
        view->list().AddAt(-1, item);
    for (int position : checked)
        view->list().SetChecked(position, true);
}

// Runs act once, inside the command that runs, as soon as the window's
// progress dialog shows (or has not come within five seconds); the dialog is
// passed on, or null.
void whenProgressShows(Form1& form, QTimer& poll, std::function<void(QProgressDialog*)> act)
{
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &form, [&form, &poll, act] {
        if (form.MousePointer() != 11 && !form.findChild<QProgressDialog*>())
            return;
        poll.stop();
        QProgressDialog* dialog = nullptr;
        if (!QTest::qWaitFor([&] {
                dialog = form.findChild<QProgressDialog*>();
                return dialog && dialog->isVisible();
            }))
            dialog = nullptr;
        act(dialog);
    });
    poll.start();
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

    // The Copy button copies the checked lines; Ctrl+C (and the menu's Copy
    // Selected Lines) the selected ones by the same rules, without a box.
    void copy_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<Rows>("checked");       // for "button"; selected for the keys
        QTest::addColumn<QStringList>("second"); // column 2, when the list has one
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("how"); // "button", keys, or "menu"
        QString how = QStringLiteral("button");
        auto row = [&how](const char* name, QStringList items, Rows checked, QStringList second,
                          QString expected) {
            QTest::newRow(name) << items << checked << second << expected << how;
        };
        row("checked only, in order", {"a", "b", "c", "d", "e"}, {4, 2}, {}, "b\r\nd\r\n");
        row("trailing blanks go", {"kiwi  ", "  fig", "   ", "x\t"}, {1, 2, 3, 4}, {},
            "kiwi\r\n  fig\r\n\r\nx\t\r\n");
        row("none checked", {"a"}, {}, {}, "");
        row("empty list", {}, {}, {}, "before");
        row("two columns", {"a", "abc"}, {1, 2}, {"x", "y"}, "a  \tx\r\nabc\ty\r\n");
        row("unchecked rows widen", {"\U0001F600", "long"}, {1}, {"x", "y"}, "\U0001F600  \tx\r\n");
        row("empty last cell", {"a"}, {1}, {""}, "a\t\r\n");
        // Bytes that are not UTF-8 go out as the characters the list shows.
        row("latin-1 bytes as shown", {QStringLiteral(u"M\xDCFCller"), QStringLiteral(u"M?ller")},
            {1, 2}, {}, QStringLiteral(u"M\u00FCller\r\nM?ller\r\n"));
        how = QStringLiteral("Ctrl+C");
        row("Ctrl+C: selected, in order", {"a", "b", "c", "d", "e"}, {4, 2, 3}, {},
            "b\r\nc\r\nd\r\n");
        row("Ctrl+C: one line", {"a", "b"}, {2}, {}, "b\r\n");
        // The selected lines go as they are: trailing blanks stay.
        row("Ctrl+C: lines as they are", {"kiwi  ", QStringLiteral(u"M\xDCFCller"), "x\t", "   "},
            {1, 2, 3, 4}, {}, QStringLiteral(u"kiwi  \r\nM\u00FCller\r\nx\t\r\n   \r\n"));
        row("Ctrl+C: nothing selected", {"a"}, {}, {}, "before");
        row("Ctrl+C: two columns", {"a", "abc"}, {1, 2}, {"x", "y"}, "a  \tx\r\nabc\ty\r\n");
        how = QStringLiteral("Ctrl+A, Ctrl+C");
        row("Ctrl+A, Ctrl+C: every line", {"a", "b", "c"}, {}, {}, "a\r\nb\r\nc\r\n");
        how = QStringLiteral("menu");
        row("Copy Selected Lines", {"a", "b", "c"}, {1, 3}, {}, "a\r\nc\r\n");
    }
    void copy()
    {
        QFETCH(QStringList, items);
        QFETCH(Rows, checked);
        QFETCH(QStringList, second);
        QFETCH(QString, expected);
        QFETCH(QString, how);
        ResultView* view = form->Panes[0]->View;
        const bool button = how == QLatin1String("button");
        fill(view, items, button ? checked : Rows{});
        if (!button)
            for (int row : checked)
                view->selectionModel()->select(view->list().index(row - 1),
                                               QItemSelectionModel::Select);
        if (!second.isEmpty())
            view->list().AddColumn(QStringLiteral("Second"));
        for (int i = 0; i < second.size(); ++i)
            view->list().SetSubItemText(i + 1, 2, second[i]);
        for (int click = 1; click <= 2; ++click) {
            if (button) {
                form->Panes[0]->Copy->click();
            } else if (how == QLatin1String("menu")) {
                view->findChild<QAction*>(QStringLiteral("copySelected"))->trigger();
            } else {
                QTest::keySequence(view, QKeySequence(how));
            }
            QCOMPARE(clipboardText(), expected);
            QCOMPARE(fixture->boxes.prompts(),
                     button ? QStringList(click, kCopied) : QStringList());
            if (button)
                QCOMPARE(fixture->boxes.shown.last().style, 0);
        }
        // Copying changes no check mark.
        QCOMPARE(view->list().CheckedCount(), button ? checked.size() : 0);
    }

    // Commands that run while a copy waits for the window's events.
    void copyWhileChanging_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("boxes"); // what each box shown holds
        QTest::addColumn<QString>("clipboard");
        // A copy that failed is reported, and not confirmed as well.
        QTest::newRow("clear all")
            << "PushButton7" << QStringList{errorAt("PushButton8_Click", 106)} << "before";
        QTest::newRow("Delete") << "" << QStringList{errorAt("PushButton8_Click", 106)} << "before";
        QTest::newRow("copy list 2")
            << "PushButton9" << QStringList{kCopied, kCopied} << "a\r\nb\r\nc\r\n";
    }
    void copyWhileChanging()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, boxes);
        QFETCH(QString, clipboard);
        fill(form->Panes[0]->View, {"a", "b", "c"}, {1, 2, 3});
        fill(form->Panes[1]->View, {"z"}, {1});
        form->Panes[0]->View->list().SetCurrentPosition(1);
        QTimer::singleShot(0, form.get(), [&] {
            if (meanwhile.isEmpty())
                QTest::keyClick(form->Panes[0]->View, Qt::Key_Delete);
            else
                form->findChild<QPushButton*>(meanwhile)->click();
        });
        form->Panes[0]->Copy->click();
        const QStringList prompts = fixture->boxes.prompts();
        QCOMPARE(prompts.size(), boxes.size());
        for (int i = 0; i < boxes.size(); ++i)
            QVERIFY2(prompts[i].contains(boxes[i]), qPrintable(prompts[i]));
        QCOMPARE(clipboardText(), clipboard);
    }

    void copyKeepsWindowResponsive()
    {
        {
            const ResultList::BulkUpdate bulk(form->Panes[0]->View->list());
            for (int i = 0; i < 1000000; ++i)
                form->Panes[0]->View->list().AddAt(
                    -1, QStringLiteral("line number %1 of the list").arg(i));
        }
        form->Panes[0]->View->list().SetAllChecked(true);
        form->show();
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(5);
        QElapsedTimer clock;
        clock.start();
        form->Panes[0]->Copy->click();
        const qint64 spent = clock.elapsed();
        QCOMPARE(clipboardText().count(QStringLiteral("\r\n")), 1000000);
        // A pause at least every 20 ms of work lets the timer in.
        QVERIFY2(ticks >= qMax<qint64>(4, spent / 60), qPrintable(QString::number(ticks)));
    }

    // A long copy shows its progress; Cancel keeps the clipboard as it was.
    void copyCancelled()
    {
        fill(form->Panes[0]->View, {"a", "b", "c"}, {1, 2});
        form->show();
        // The copy's first look at the window's events takes longer than the
        // progress dialog's delay; at its second, the dialog is there.
        bool shown = false;
        QTimer slow;
        slow.setSingleShot(true);
        connect(&slow, &QTimer::timeout, [] { QThread::msleep(BusyProgress::kDelayMs + 50); });
        slow.start(0);
        QTimer poll;
        whenProgressShows(*form, poll, [&](QProgressDialog* dialog) {
            shown = dialog;
            if (dialog)
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        form->Panes[0]->Copy->click();
        QVERIFY(shown);
        QCOMPARE(clipboardText(), QStringLiteral("before"));
        QVERIFY(fixture->boxes.shown.isEmpty());
        QVERIFY(!form->findChild<QProgressDialog*>());
        form->Panes[0]->Copy->click();
        QCOMPARE(clipboardText(), QStringLiteral("a\r\nb\r\n"));
    }

    // A save that is cancelled or cut short by closing the window leaves the
    // old file as it was.
    void saveCancelled_data()
    {
        QTest::addColumn<QString>("ending"); // "Cancel", "close" or "finish"
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Cancel") << "Cancel" << QByteArray("old");
        QTest::newRow("closing the window") << "close" << QByteArray("old");
        QTest::newRow("a close event under the event loop") << "close event" << QByteArray("old");
        QTest::newRow("let it finish") << "finish" << QByteArray("a\r\nb\r\n");
    }
    void saveCancelled()
    {
        QFETCH(QString, ending);
        QFETCH(QByteArray, bytes);
        std::atomic<bool> letGo{false};
        const std::shared_ptr<void> unhook(nullptr, [](void*) { SaveControl::SetTestHook({}); });
        SaveControl::SetTestHook([&letGo](const SaveControl& control) {
            while (!letGo && !control.cancel)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        form->show();
        fill(form->Panes[0]->View, {"a", "b"});
        const QString path = fixture->file(QStringLiteral("list.txt"), "old");
        fixture->dialogAnswer = QStringList{path};
        bool shown = false, blocked = false;
        QElapsedTimer sinceClose;
        QTimer poll;
        whenProgressShows(*form, poll, [&](QProgressDialog* dialog) {
            shown = dialog;
            // The list cannot change under the save.
            QTest::mouseClick(form->PushButton7, Qt::LeftButton);
            blocked = form->Panes[0]->View->list().Count() == 2;
            if (ending == QLatin1String("Cancel") && dialog)
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            else if (ending == QLatin1String("close"))
                form->close();
            else if (ending == QLatin1String("close event")) {
                sinceClose.start();
                QCloseEvent close;
                QApplication::sendEvent(form.get(), &close);
            } else
                letGo = true;
        });
        if (ending == QLatin1String("close event")) {
            QTimer::singleShot(0, form->Panes[0]->Save, &QPushButton::click);
            QApplication::exec();
            const qint64 took = sinceClose.elapsed();
            qInfo("the event loop ended %lld ms after the close event", took);
            QVERIFY2(took < 2000, qPrintable(QString::number(took)));
        } else {
            form->Panes[0]->Save->click();
        }
        letGo = true;
        QVERIFY(shown);
        QVERIFY(blocked);
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(QDir(fixture->scratchPath()).entryList(QDir::Files),
                 QStringList{QStringLiteral("list.txt")});
        QCOMPARE(fixture->boxes.prompts(), QStringList{replaceQuestion("list.txt")});
        QCOMPARE(form->MousePointer(), 0);
        QCOMPARE(form->isVisible(), !ending.startsWith(QLatin1String("close")));
    }

    void stopSignalDuringSave_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("named"); // a temporary file with a name, as without O_TMPFILE
        QTest::newRow("SIGTERM, named") << int(SIGTERM) << true;
        QTest::newRow("SIGINT, named") << int(SIGINT) << true;
        QTest::newRow("SIGHUP, unnamed") << int(SIGHUP) << false;
    }
    void stopSignalDuringSave()
    {
        QFETCH(int, signal);
        QFETCH(bool, named);
        OutputFile::SetNamedOnlyForTests(named);
        // The writer signals the process once a piece is in the file, then
        // waits for the window to cancel it.
        std::atomic<bool> signalled{false}, cancelled{false};
        std::atomic<int> leftAtSignal{-1};
        const QString scratch = fixture->scratchPath();
        SaveControl::SetTestHook([&](const SaveControl& control) {
            if (control.done.load() == 0 || signalled.exchange(true))
                return;
            ::kill(::getpid(), signal);
            QElapsedTimer clock;
            clock.start();
            while (!control.cancel && clock.elapsed() < 10000)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            cancelled = control.cancel.load();
            leftAtSignal = int(QDir(scratch).entryList(QDir::Files | QDir::Hidden).size());
        });
        const std::shared_ptr<void> unhook(nullptr, [](void*) {
            SaveControl::SetTestHook({});
            OutputFile::SetNamedOnlyForTests(false);
        });
        QStringList items; // 8 MB, eight pieces
        for (int i = 0; i < 20000; ++i)
            items.append(QStringLiteral("%1 ").arg(i) + QString(400, QLatin1Char('x')));
        fill(form->Panes[0]->View, items);
        const QString path = fixture->file(QStringLiteral("list.txt"), "old");
        fixture->dialogAnswer = QStringList{path};
        form->show();
        const QuitOnSignal quitOnSignal(*form);
        // As in main(): the loop runs until the signal ends it.
        QTimer::singleShot(0, form.get(), [this] { form->Panes[0]->Save->click(); });
        QApplication::exec();
        QCOMPARE(quitOnSignal.Signal(), signal);
        QVERIFY(cancelled);
        // The handler removed the named file before the window cancelled.
        QCOMPARE(leftAtSignal.load(), 1);
        QVERIFY(!form->isVisible());
        QCOMPARE(readFile(path), QByteArray("old"));
        QCOMPARE(QDir(scratch).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("list.txt")});
        QCOMPARE(fixture->boxes.prompts(), QStringList{replaceQuestion("list.txt")});
    }

    // A box opened while a copy works, and a signal meanwhile: the box does
    // not wait for a click, the copy stops and the window goes.
    void stopSignalLetsBoxesGo()
    {
        MsgBoxTesting::SetAnswerer({}); // real boxes
        fill(form->Panes[0]->View, {"a", "b", "c"}, {1, 2});
        form->show();
        const QuitOnSignal quitOnSignal(*form);
        bool signalled = false, outlived = false;
        QTimer poll, rescue;
        connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            if (!signalled) {
                signalled = true;
                ::kill(::getpid(), SIGTERM);
                rescue.start(3000);
            }
        });
        // Should the box outlive the signal, it is closed here, and told.
        rescue.setSingleShot(true);
        connect(&rescue, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                outlived = true;
                box->reject();
            }
        });
        poll.start(10);
        QTimer::singleShot(0, form.get(), [this] {
            QTimer::singleShot(0, form.get(), [this] { form->PushButton11->click(); }); // Help
            form->Panes[0]->Copy->click(); // Copy, which lets the Help click in
        });
        QApplication::exec();
        QVERIFY(signalled);
        QVERIFY(!outlived);
        QCOMPARE(quitOnSignal.Signal(), SIGTERM);
        QVERIFY(!form->isVisible());
        QCOMPARE(clipboardText(), QStringLiteral("before"));
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
        // An existing file is replaced only after Yes (the first box).
        QTest::newRow("read-only")
            << "old.txt" << QByteArray("old") << QByteArray("old") << Rows{0, 11};
        QTest::newRow("no such folder") << "gone/out.txt" << QByteArray() << none << Rows{11};
        QTest::newRow("a FIFO that nobody reads")
            << "fifo" << QByteArray("<fifo>") << QByteArray("<fifo>") << Rows{0, 11};
    }
    void save()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, pointerAtBox);
        fill(form->Panes[0]->View, {"a", "", "b \t"});
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
        form->Panes[0]->Save->click();
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
            QVERIFY(fixture->boxes.shown.last().prompt.contains(errorAt("PushButton2_Click", 120)));
    }

    // A save to a name that is taken asks first; No goes back to the dialog.
    void saveAsksBeforeReplacing_data()
    {
        QTest::addColumn<QString>("command");  // "Save", or "CSV" from the list's menu
        QTest::addColumn<int>("answer");       // to the replace question; 0: a new file
        QTest::addColumn<QByteArray>("bytes"); // the file afterwards
        QTest::newRow("existing file, Yes: replaced") << "Save" << 6 << QByteArray("a\r\n");
        QTest::newRow("existing file, No, then Cancel: kept") << "Save" << 7 << QByteArray("old");
        QTest::newRow("a new file: not asked") << "Save" << 0 << QByteArray("a\r\n");
        QTest::newRow("CSV, existing file, No, then Cancel") << "CSV" << 7 << QByteArray("old");
    }
    void saveAsksBeforeReplacing()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QByteArray, bytes);
        fill(form->Panes[0]->View, {"a"});
        const QString path = QDir(fixture->scratchPath()).filePath(QStringLiteral("list.txt"));
        if (answer)
            fixture->file(QStringLiteral("list.txt"), "old");
        fixture->dialogAnswer = QStringList{path};
        fixture->boxes.replaceAnswer = answer;
        // After No the dialog is asked again, and this time cancelled.
        fixture->boxes.onShow = [&](const MsgBoxRequest&) {
            if (answer == 7)
                fixture->dialogAnswer.clear();
        };
        if (command == QLatin1String("Save"))
            form->Panes[0]->Save->click();
        else
            form->Panes[0]->View->findChild<QAction*>(QStringLiteral("saveAllAsCsv"))->trigger();
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(fixture->boxes.prompts(),
                 answer ? QStringList{replaceQuestion("list.txt")} : QStringList());
        if (answer) // Yes, No, the warning icon, No the default
            QCOMPARE(fixture->boxes.shown[0].style, 4 + 48 + 256);
        QCOMPARE(fixture->dialogs.size(), answer == 7 ? 2 : 1);
        QCOMPARE(fixture->dialogs.last().fileName, answer == 7 ? path : QString());
    }

    // "Save All Lists As CSV..." writes what the companion's --csv writes for
    // the same files, from the lists as they are now.
    void saveAllAsCsv_data()
    {
        QTest::addColumn<bool>("onKey");
        QTest::addColumn<int>("menuOf");   // the list whose menu has the command
        QTest::addColumn<QString>("edit"); // "", "Delete" (a list's first line), "Clear All"
        QTest::newRow("as compared") << false << 0 << "";
        QTest::newRow("on a key, partners of changed lines") << true << 3 << "";
        QTest::newRow("after Delete") << false << 1 << "Delete";
        QTest::newRow("after Clear All") << false << 2 << "Clear All";
    }
    void saveAllAsCsv()
    {
        QFETCH(bool, onKey);
        QFETCH(int, menuOf);
        QFETCH(QString, edit);
        if (onKey) {
            compareOnKey(*fixture, *form);
        } else {
            // Quoted fields, a byte of no UTF-8 sequence, empty and repeated lines.
            form->Text1->setText(fixture->file(QStringLiteral("1.txt"),
                                               "a,b\nsay \"hi\"\nsame\n\xfc only\n\nsame\n"));
            form->Text2->setText(
                fixture->file(QStringLiteral("2.txt"), "same\nA,B\n\"q\"\n\r\nnew, too\n"));
            form->PushButton1->click();
        }
        const QString companion = fixture->scratchPath() + "/companion.csv";
        QCOMPARE(QProcess::execute(
                     QStringLiteral(QUILLMARK_BINARY_DIR "/quillmark-compare"),
                     QStringList{"--csv", companion, form->Text1->text(), form->Text2->text()} +
                         (onKey ? QStringList{"--field", "1"} : QStringList())),
                 0);
        QList<QByteArray> expected = readFile(companion).split('\n');
        ResultPane* pane = form->Panes[size_t(menuOf)];
        if (edit == QLatin1String("Delete")) {
            pane->List().SetCurrentPosition(1);
            QTest::keyClick(pane->View, Qt::Key_Delete);
            qsizetype row = 1;
            while (!expected[row].startsWith(pane->Kind().csvName))
                ++row;
            expected.removeAt(row);
        } else if (edit == QLatin1String("Clear All")) {
            form->PushButton7->click();
            expected = {expected[0], ""};
        }
        const QString path = fixture->scratchPath() + "/window.csv";
        fixture->dialogAnswer = QStringList{path};
        pane->View->findChild<QAction*>(QStringLiteral("saveAllAsCsv"))->trigger();
        QCOMPARE(readFile(path), expected.join('\n'));
        QCOMPARE(fixture->dialogs.last().title, QStringLiteral("Save All Lists As CSV"));
        QVERIFY(fixture->boxes.shown.isEmpty());
    }

    void buttonsActOnTheirOwnList()
    {
        ResultView* views[] = {form->Panes[0]->View, form->Panes[1]->View, form->Panes[2]->View};
        QPushButton* buttons[][2] = {{form->Panes[0]->Copy, form->Panes[0]->Save},
                                     {form->Panes[1]->Copy, form->Panes[1]->Save},
                                     {form->Panes[2]->Copy, form->Panes[2]->Save}};
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
        QTest::addColumn<Rows>("alsoSelected"); // besides the current line
        QTest::newRow("Delete") << "Del" << 0 << 2 << "ac" << Rows{};
        QTest::newRow("Ctrl+Delete") << "Ctrl+Del" << 0 << 1 << "bc" << Rows{};
        QTest::newRow("Shift+Alt+Delete") << "Shift+Alt+Del" << 0 << 3 << "ab" << Rows{};
        QTest::newRow("held down") << "Del, Del" << 0 << 1 << "c" << Rows{};
        QTest::newRow("Backspace") << "Backspace" << 0 << 2 << "abc" << Rows{};
        QTest::newRow("busy") << "Del" << 11 << 2 << "abc" << Rows{};
        QTest::newRow("no current line") << "Del" << 0 << 0 << "abc" << Rows{};
        // Every selected line goes at once; the rest close up in order.
        QTest::newRow("two apart") << "Del" << 0 << 3 << "b" << Rows{1};
        QTest::newRow("Shift+Up selects two") << "Shift+Up, Del" << 0 << 3 << "a" << Rows{};
        QTest::newRow("Ctrl+A") << "Ctrl+A, Del" << 0 << 2 << "" << Rows{};
        QTest::newRow("several, busy") << "Del" << 11 << 3 << "abc" << Rows{1};
    }
    void deleteKey()
    {
        QFETCH(QString, keys);
        QFETCH(int, pointer);
        QFETCH(int, current);
        QFETCH(QString, left);
        QFETCH(Rows, alsoSelected);
        fill(form->Panes[0]->View, {"x"});
        fill(form->Panes[1]->View, {"a", "b", "c"}, {1});
        fill(form->Panes[2]->View, {"y"});
        if (current)
            form->Panes[1]->View->list().SetCurrentPosition(current);
        for (int row : alsoSelected)
            form->Panes[1]->View->selectionModel()->select(
                form->Panes[1]->View->list().index(row - 1), QItemSelectionModel::Select);
        form->SetMousePointer(pointer);
        QTest::keySequence(form->Panes[1]->View, QKeySequence(keys));
        form->SetMousePointer(0);
        QCOMPARE(itemsOf(form->Panes[1]->View->list()).join(QString()), left);
        QCOMPARE(itemsOf(form->Panes[0]->View->list()) + itemsOf(form->Panes[2]->View->list()),
                 QStringList({"x", "y"}));
        // The frame's count follows; the checked line among them counts until it goes.
        const bool checkedLeft = left.contains(QLatin1Char('a'));
        QCOMPARE(form->Panes[1]->Counts->text(),
                 (left.size() == 1 ? QStringLiteral("1 line")
                                   : QStringLiteral("%1 lines").arg(left.size())) +
                     (checkedLeft ? QStringLiteral(" \u00B7 1 checked") : QString()));
        QCOMPARE(form->Panes[0]->Counts->text(), QStringLiteral("1 line"));
    }

    // Wherever a row is clicked, it becomes the line that Delete removes.
    void clickThenDelete_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("checks");
        QTest::newRow("check box") << "box" << true;
        QTest::newRow("text") << "text" << false;
        QTest::newRow("right of the column") << "beyond" << false;
    }
    void clickThenDelete()
    {
        QFETCH(QString, where);
        QFETCH(bool, checks);
        ResultView* view = form->Panes[1]->View;
        fill(view, {"a", "b", "c"});
        view->list().SetCurrentPosition(1);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QModelIndex third = view->list().index(2);
        const QRect row = view->visualRect(third);
        QStyleOptionViewItem option;
        option.initFrom(view);
        option.rect = row;
        option.features =
            QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box =
            view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
        const QPoint at = where == "box" ? box.center()
                          : where == "text"
                              ? QPoint(row.center().x(), row.center().y())
                              : QPoint(view->viewport()->width() - 2, row.center().y());
        QVERIFY(at.x() > row.right() || where != "beyond");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(view->list().IsChecked(3), checks);
        QCOMPARE(view->list().CurrentPosition(), 3);
        QCOMPARE(view->SelectedRuns(), (QList<std::pair<int, int>>{{3, 3}}));
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(itemsOf(view->list()), QStringList({"a", "b"}));
        QCOMPARE(view->list().CheckedCount(), 0);
    }

    // Two million lines: the keys reach every part of the list, the current
    // line is always scrolled into view, and a click there finds it again.
    void keysOnALongList_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("current"); // afterwards; 0: the list is empty
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("textPixels"); // 0: the window's font
        const int n = 2000000;
        // Rows 600 pixels tall make the list too tall for the scroll bar to
        // count in pixels: it counts rows instead.
        for (int pixels : {0, 600}) {
            const char* tall = pixels ? ", tall rows" : "";
            QTest::addRow("Ctrl+End%s", tall) << "Ctrl+End" << n << n << pixels;
            QTest::addRow("and back%s", tall) << "Ctrl+End, Ctrl+Home" << 1 << n << pixels;
            QTest::addRow("Up from the end%s", tall) << "Ctrl+End, Up, Up" << n - 2 << n << pixels;
            QTest::addRow("PageDown%s", tall) << "PgDown" << -1 << n << pixels; // a page on
            QTest::addRow("Shift+End, Delete%s", tall) << "Shift+End, Del" << 0 << 0 << pixels;
            QTest::addRow("Ctrl+End, Shift+Up, Delete%s", tall)
                << "Ctrl+End, Shift+Up, Del" << n - 2 << n - 2 << pixels;
            // Undone, the lines are back, the first of them current and in view.
            QTest::addRow("Ctrl+End, Shift+Up, Delete, Ctrl+Z%s", tall)
                << "Ctrl+End, Shift+Up, Del, Ctrl+Z" << n - 1 << n << pixels;
            QTest::addRow("Shift+End, Delete, Ctrl+Z%s", tall)
                << "Shift+End, Del, Ctrl+Z" << 1 << n << pixels;
        }
    }
    void keysOnALongList()
    {
        QFETCH(QString, keys);
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(int, textPixels);
        ResultView* view = form->Panes[0]->View;
        if (textPixels) {
            QFont tall = view->font();
            tall.setPixelSize(textPixels);
            view->setFont(tall);
        }
        {
            const ResultList::BulkUpdate bulk(view->list());
            for (int i = 1; i <= 2000000; ++i)
                view->list().AddAt(-1, QString::number(i));
        }
        view->list().SetCurrentPosition(1);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::keySequence(view, QKeySequence(keys));
        QCOMPARE(view->list().Count(), count);
        // Grouped as the locale groups digits.
        const QLocale was;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString counted = form->Panes[0]->Counts->text();
        QLocale::setDefault(was);
        QCOMPARE(counted, count == 2000000 ? QStringLiteral("2,000,000 lines")
                          : count == 0     ? QStringLiteral("0 lines")
                                           : QStringLiteral("1,999,998 lines"));
        const int page = qMax(1, view->viewport()->height() / view->rowHeight());
        if (current < 0)
            current = 1 + page;
        QCOMPARE(view->list().CurrentPosition(), current);
        if (current == 0)
            return;
        const QRect seen = view->visualRect(view->currentIndex()) & view->viewport()->rect();
        QVERIFY(!seen.isEmpty());
        QCOMPARE(view->indexAt(seen.center()), view->currentIndex());
        QCOMPARE(view->list().ItemText(current), QString::number(current));
    }

    void clearAll()
    {
        for (int pointer : {11, 0}) {
            for (ResultView* view :
                 {form->Panes[0]->View, form->Panes[1]->View, form->Panes[2]->View})
                fill(view, {"a", "b"}, {1});
            form->Overlap1->SetCounts({5, 4, 2});
            QCOMPARE(form->Panes[2]->Counts->text(), QStringLiteral("2 lines \u00B7 1 checked"));
            form->SetMousePointer(pointer);
            form->PushButton7->click();
            form->SetMousePointer(0);
            QCOMPARE(form->Panes[0]->View->list().Count(), pointer == 11 ? 2 : 0);
            QCOMPARE(form->Panes[1]->View->list().Count() + form->Panes[2]->View->list().Count(),
                     0);
            QCOMPARE(form->Panes[0]->Counts->text(),
                     pointer == 11 ? QStringLiteral("2 lines \u00B7 1 checked")
                                   : QStringLiteral("0 lines"));
            QCOMPARE(form->Panes[2]->Counts->text(), QStringLiteral("0 lines"));
            // The overlap told of the lists that went.
            QVERIFY(!form->Overlap1->isVisibleTo(form.get()));
            QVERIFY(!form->Overlap1->Counts());
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
        ResultView* view = form->Panes[1]->View;
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
        QCOMPARE(form->Panes[1]->Counts->text(),
                 after.isEmpty() ? QStringLiteral("4 lines")
                                 : QStringLiteral("4 lines \u00B7 %1 checked").arg(after.size()));
    }

    // Undo and Redo in list 2, whose lines are a to l, c checked: the keys,
    // the menu entries (named for the step) and a find between.
    void undo_data()
    {
        QTest::addColumn<Rows>("select");       // the last one current
        QTest::addColumn<QStringList>("steps"); // keys, "menu ENTRY", "find TEXT", "Clear All"
        QTest::addColumn<QString>("left");
        QTest::addColumn<Rows>("checked");
        QTest::addColumn<Rows>("selected");   // afterwards, the first current; none: not looked at
        QTest::addColumn<QString>("entries"); // Undo's and Redo's texts afterwards
        auto row = [](const char* name, Rows select, QStringList steps, QString left, Rows checked,
                      Rows selected, QString entries) {
            QTest::newRow(name) << select << steps << left << checked << selected << entries;
        };
        const QString all = QStringLiteral("abcdefghijkl");
        row("Delete, Ctrl+Z", {2}, {"Del", "Ctrl+Z"}, all, {3}, {2}, "Undo|Redo Delete");
        row("runs come back selected", {4, 1, 2}, {"Del", "Ctrl+Z"}, all, {3}, {1, 2, 4},
            "Undo|Redo Delete");
        row("Ctrl+Shift+Z redoes", {2}, {"Del", "Ctrl+Z", "Ctrl+Shift+Z"}, "acdefghijkl", {2}, {},
            "Undo Delete|Redo");
        row("a find between", {2}, {"Del", "Ctrl+Z", "find g", "Ctrl+Y"}, "acdefghijkl", {2}, {},
            "Undo Delete|Redo");
        row("the menu's entries", {2}, {"Del", "menu Undo Delete", "menu Redo Delete"},
            "acdefghijkl", {2}, {}, "Undo Delete|Redo");
        row("Check All, undone", {1}, {"menu Check All", "Ctrl+Z"}, all, {3}, {},
            "Undo|Redo Check All");
        row("Uncheck All, undone and redone", {1}, {"menu Uncheck All", "Ctrl+Z", "Ctrl+Y"}, all,
            {}, {}, "Undo Uncheck All|Redo");
        row("Space, undone", {5, 6}, {"Space", "Ctrl+Z"}, all, {3}, {}, "Undo|Redo Check");
        row("a new step drops the redo", {2}, {"Del", "Ctrl+Z", "Space", "Ctrl+Y"}, all, {2, 3}, {},
            "Undo Check|Redo");
        // Clear All of lists already empty is no step of its own.
        row("Clear All twice, one undo", {2}, {"Clear All", "Clear All", "Ctrl+Z"}, all, {3}, {},
            "Undo|Redo Clear All");
        row("ten steps back", {1}, QStringList(10, "Del") + QStringList(10, "Ctrl+Z"), all, {3},
            {1}, "Undo|Redo Delete");
        // Twenty are kept: the first of 21 stays done.
        row("the oldest fall off", {1}, QStringList(21, "Space") + QStringList(21, "Ctrl+Z"), all,
            {1, 3}, {}, "Undo|Redo Uncheck");
    }
    void undo()
    {
        QFETCH(Rows, select);
        QFETCH(QStringList, steps);
        QFETCH(QString, left);
        QFETCH(Rows, checked);
        QFETCH(Rows, selected);
        QFETCH(QString, entries);
        ResultView* view = form->Panes[1]->View;
        fill(view, QString("abcdefghijkl").split(QString(), Qt::SkipEmptyParts), {3});
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        view->setFocus();
        for (int row : select)
            view->selectionModel()->setCurrentIndex(view->list().index(row - 1),
                                                    QItemSelectionModel::Select);
        auto* bar = form->findChild<FindBar*>(QStringLiteral("FindBar2"));
        for (const QString& step : steps) {
            if (step == QLatin1String("Clear All")) {
                form->PushButton7->click();
            } else if (step.startsWith(QLatin1String("find "))) {
                QTest::keySequence(view, QKeySequence::Find);
                QTest::keyClicks(bar->TextField(), step.mid(5));
                QTest::keyClick(bar->TextField(), Qt::Key_Return);
            } else if (step.startsWith(QLatin1String("menu "))) {
                bool found = false;
                for (QAction* entry : view->actions())
                    if (entry->text() == step.mid(5) && entry->isEnabled()) {
                        entry->trigger();
                        found = true;
                    }
                QVERIFY2(found, qPrintable(step));
            } else {
                QTest::keySequence(view, QKeySequence(step));
            }
        }
        QCOMPARE(itemsOf(view->list()).join(QString()), left);
        Rows marks;
        for (int i = 1; i <= view->list().Count(); ++i)
            if (view->list().IsChecked(i))
                marks.append(i);
        QCOMPARE(marks, checked);
        QCOMPARE(view->toolTip(),
                 QStringLiteral("%1 lines, %2 checked").arg(left.size()).arg(checked.size()));
        if (!selected.isEmpty()) {
            Rows rows;
            for (const auto& [first, last] : view->SelectedRuns())
                for (int i = first; i <= last; ++i)
                    rows.append(i);
            QCOMPARE(rows, selected);
            QCOMPARE(view->list().CurrentPosition(), selected.first());
        }
        const QAction* undo = menuEntry(view, "undo");
        const QAction* redo = menuEntry(view, "redo");
        QCOMPARE(undo->text() + QLatin1Char('|') + redo->text(), entries);
        QCOMPARE(undo->isEnabled(), undo->text() != QLatin1String("Undo"));
        QCOMPARE(redo->isEnabled(), redo->text() != QLatin1String("Redo"));
        // One history: the other lists offer the same step.
        QCOMPARE(menuEntry(form->Panes[0]->View, "undo")->text(), undo->text());
    }

    // Clear All Results undone from any list: every list, its checks, the
    // overlap and the near misses come back, at once however long the lists.
    void clearAllUndone_data()
    {
        QTest::addColumn<int>("lines");         // only in file 1
        QTest::addColumn<bool>("deletedFirst"); // every line deleted before Clear All
        QTest::newRow("short lists") << 3 << false;
        QTest::newRow("a million lines") << 1000000 << false;
        QTest::newRow("lines deleted, then Clear All") << 3 << true;
    }
    void clearAllUndone()
    {
        QFETCH(int, lines);
        QFETCH(bool, deletedFirst);
        QByteArray file1;
        for (int i = 1; i <= lines; ++i)
            file1 += QByteArray::number(i) + '\n';
        compareFiles(*fixture, *form, file1 + "shared\n", "shared\nx\n");
        form->Panes[1]->View->list().SetChecked(lines, true);
        const auto counts = [this] {
            QStringList texts;
            for (ResultPane* pane : form->Panes)
                texts.append(pane->Counts->text());
            return texts + QStringList{form->Overlap1->Summary()};
        };
        const QStringList shown = counts();
        int deletes = 0;
        for (ResultPane* pane : form->Panes)
            if (deletedFirst && pane->View->list().Count() > 0) {
                QTest::keySequence(pane->View, QKeySequence::SelectAll);
                QTest::keyClick(pane->View, Qt::Key_Delete);
                ++deletes;
            }
        form->PushButton7->click();
        QCOMPARE(form->Panes[1]->View->list().Count(), 0);
        QVERIFY(!form->Overlap1->Counts());
        if (deletedFirst) {
            // Clear All of emptied lists still takes the comparison's bar
            // and near misses, which come back with the lines.
            for (int i = 0; i <= deletes; ++i)
                QTest::keySequence(form->Panes[2]->View, QKeySequence(QStringLiteral("Ctrl+Z")));
            QCOMPARE(counts(), shown);
            QVERIFY(!form->Overlap1->isHidden());
            return;
        }
        for (int round = 0; round < 2; ++round) {
            QElapsedTimer clock;
            clock.start();
            QTest::keySequence(form->Panes[2]->View, QKeySequence(QStringLiteral("Ctrl+Z")));
            const qint64 took = clock.elapsed();
            // The lists' storage comes back whole: no work a line.
            QVERIFY2(took < 16, qPrintable(QString::number(took)));
            QCOMPARE(counts(), shown);
            QCOMPARE(form->Panes[1]->View->list().CheckedCount(), 1);
            QCOMPARE(form->Panes[1]->View->list().ItemText(lines), QString::number(lines));
            QVERIFY(form->Overlap1->Counts());
            QVERIFY(!form->Overlap1->isHidden());
            QTest::keySequence(form->Panes[0]->View, QKeySequence(QStringLiteral("Ctrl+Y")));
            QCOMPARE(form->Panes[1]->View->list().Count() + form->Panes[2]->View->list().Count(),
                     0);
            QVERIFY(!form->Overlap1->Counts());
        }
        QVERIFY(fixture->boxes.shown.isEmpty());
    }

    // A new comparison starts each list over: no step to undo, and the list
    // shows from its top and left whatever was done before.
    void newComparisonStartsOver_data()
    {
        QTest::addColumn<QString>("before"); // keys in list 2, or "clear"
        QTest::newRow("after End") << "Ctrl+End, Right, Right";
        QTest::newRow("after Delete") << "Ctrl+End, Del, Right";
        QTest::newRow("after Clear All") << "clear";
    }
    void newComparisonStartsOver()
    {
        QFETCH(QString, before);
        QByteArray file1;
        for (int i = 1; i <= 300; ++i)
            file1 += QByteArray::number(i) + QByteArray(300, 'w') + '\n';
        ResultView* view = form->Panes[1]->View;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        compareFiles(*fixture, *form, file1, "x\n");
        view->list().SetCurrentPosition(1);
        if (before == QLatin1String("clear"))
            form->PushButton7->click();
        else
            QTest::keySequence(view, QKeySequence(before));
        QCOMPARE(menuEntry(view, "undo")->isEnabled(),
                 !before.startsWith(QLatin1String("Ctrl+End, R")));
        compareFiles(*fixture, *form, file1, "x\n");
        QCOMPARE(view->list().Count(), 300);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        QCOMPARE(view->horizontalScrollBar()->value(), 0);
        QVERIFY(view->verticalScrollBar()->maximum() > 0);
        for (ResultPane* pane : form->Panes)
            QVERIFY(!menuEntry(pane->View, "undo")->isEnabled());
        QTest::keySequence(view, QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(view->list().Count(), 300);
    }

    // The Line column: each line's number in its file, which stays with it;
    // the choice is each list's and kept for the next start. Find and Ctrl+C
    // leave the numbers out; a screen reader hears them in the description.
    void lineNumbers_data()
    {
        QTest::addColumn<int>("pane");
        QTest::addColumn<QStringList>("numbers"); // before and after deleting the second line
        QTest::addColumn<QString>("key");
        QTest::newRow("list 2") << 1 << QStringList{"1", "2", "4", "|", "1", "4"} << "LineNumbers2";
        QTest::newRow("list 3") << 2 << QStringList{"2", "3", "|", "2"} << "LineNumbers3";
    }
    void lineNumbers()
    {
        QFETCH(int, pane);
        QFETCH(QStringList, numbers);
        QFETCH(QString, key);
        compareFiles(*fixture, *form, "a  \nb\nc\nd\n", "c\nx\ny\n");
        ResultView* view = form->Panes[pane]->View;
        QVERIFY(!view->LineNumbersShown());
        menuEntry(view, "lineNumbers")->trigger();
        QVERIFY(view->LineNumbersShown() && menuEntry(view, "lineNumbers")->isChecked());
        QCOMPARE(view->header()->visualIndex(1), 0);
        QCOMPARE(view->header()->model()->headerData(1, Qt::Horizontal).toString(), "Line");
        QVERIFY(view->header()->sectionSize(1) < view->columnWidth(0) / 4);
        QStringList shown;
        for (int row = 0; row < view->list().Count(); ++row)
            shown.append(view->LineNumberText(row));
        view->list().SetCurrentPosition(2);
        QTest::keyClick(view, Qt::Key_Delete);
        shown.append(QStringLiteral("|"));
        for (int row = 0; row < view->list().Count(); ++row)
            shown.append(view->LineNumberText(row));
        QCOMPARE(shown, numbers);
        view->list().SetCurrentPosition(1);
        QTest::keySequence(view, QKeySequence::Copy);
        QCOMPARE(clipboardText(), view->list().ShownText(1) + QStringLiteral("\r\n"));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(view)->child(0)->text(QAccessible::Description),
            QStringLiteral("not checked, line %1").arg(numbers.first()));
        QCOMPARE(GetSetting("Harrowmere", ProductName(), key), QStringLiteral("1"));
        // The next window shows them in this list alone, until turned off.
        for (bool on : {true, false}) {
            auto next = fixture->window();
            for (int i = 0; i < 3; ++i)
                QCOMPARE(next->Panes[i]->View->LineNumbersShown(), on && i == pane);
            if (on)
                menuEntry(next->Panes[pane]->View, "lineNumbers")->trigger();
        }
    }

    // A selected row's highlight reaches the list's right edge, past its
    // column, and the line numbers' cell.
    void highlightSpansTheRow()
    {
        ResultView* view = form->Panes[0]->View;
        fill(view, {"a", "b", "c"});
        view->list().SetColumnWidth(1, 1000);
        view->ShowLineNumbers(true);
        view->list().SetCurrentPosition(2);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QImage shot = view->viewport()->grab().toImage();
        const QRect second = view->visualRect(view->list().index(1));
        const int right = shot.width() / view->devicePixelRatio() - 3;
        QVERIFY(second.right() < right - 20);
        auto at = [&](int x, const QRect& row) {
            return shot.pixel(QPoint(x, row.center().y()) * view->devicePixelRatio());
        };
        const QRect first = view->visualRect(view->list().index(0));
        QCOMPARE(at(right, second), at(second.right() - 2, second));
        QCOMPARE(at(2, second), at(second.right() - 2, second));
        QVERIFY(at(right, second) != at(right, first));
    }

    // What a screen reader is told as the current row moves and check marks
    // change in list 2: the row that takes the focus, the rows whose check
    // mark changed, the rows that joined or left the selection.
    void rowEvents_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("current");    // from 0, before the action
        QTest::addColumn<QString>("action"); // keys, a context-menu entry, or a row's action
        QTest::addColumn<Rows>("focused");
        QTest::addColumn<Rows>("checked"); // with "page": at most a page and one, these among them
        QTest::addColumn<Rows>("added");
        QTest::addColumn<Rows>("removed");
        auto row = [](const char* name, int lines, int current, QString action, Rows focused,
                      Rows checked, Rows added, Rows removed) {
            QTest::newRow(name) << lines << current << action << focused << checked << added
                                << removed;
        };
        row("Down", 5, 1, "Down", {2}, {}, {2}, {1});
        row("Up", 5, 1, "Up", {0}, {}, {0}, {1});
        row("Shift+Down keeps the row before", 5, 1, "Shift+Down", {2}, {}, {2}, {});
        row("End", 5, 1, "End", {4}, {}, {4}, {1});
        row("Home", 5, 3, "Home", {0}, {}, {0}, {3});
        row("Space", 5, 2, "Space", {}, {2}, {}, {});
        row("Space twice", 5, 2, "Space, Space", {}, {2, 2}, {}, {});
        row("Toggle action", 5, 3, "toggle", {}, {3}, {}, {});
        row("Press action", 5, 0, "press", {}, {0}, {}, {});
        row("Check All, a short list", 5, 1, "Check All page", {}, {0, 1}, {}, {});
        row("Check All, a long list", 300000, 0, "Check All page", {}, {0, 1, 2}, {}, {});
        row("Check All, far down", 300000, 250000, "Check All page", {}, {250000}, {}, {});
        row("Ctrl+A, a long list", 300000, 0, "Ctrl+A", {}, {}, {1, 2}, {});
    }
    void rowEvents()
    {
        QFETCH(int, lines);
        QFETCH(int, current);
        QFETCH(QString, action);
        QFETCH(Rows, focused);
        QFETCH(Rows, checked);
        QFETCH(Rows, added);
        QFETCH(Rows, removed);
        ResultView* view = form->Panes[1]->View;
        {
            const ResultList::BulkUpdate bulk(view->list());
            for (int i = 1; i <= lines; ++i)
                view->list().AddAt(-1, QString::number(i));
        }
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        view->setFocus();
        view->list().SetCurrentPosition(current + 1);
        view->scrollTo(view->currentIndex());
        AccessibleEvents events;
        const bool page = action.endsWith(QLatin1String(" page"));
        if (page)
            action.chop(5);
        QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(view)->child(current);
        if (action == QLatin1String("toggle") || action == QLatin1String("press")) {
            QAccessibleActionInterface* act = cell->actionInterface();
            QVERIFY(act);
            QCOMPARE(act->actionNames(), QStringList({QAccessibleActionInterface::toggleAction(),
                                                      QAccessibleActionInterface::pressAction()}));
            act->doAction(action == QLatin1String("toggle")
                              ? QAccessibleActionInterface::toggleAction()
                              : QAccessibleActionInterface::pressAction());
        } else if (action.startsWith(QLatin1String("Check"))) {
            for (QAction* entry : view->actions())
                if (entry->text() == action)
                    entry->trigger();
        } else {
            QTest::keySequence(view, QKeySequence(action));
        }
        QCOMPARE(events.children(QAccessible::Focus, view), focused);
        const Rows heard = events.checkedRows(view);
        if (page) {
            const int most = view->viewport()->height() / view->rowHeight() + 2;
            QVERIFY2(heard.size() <= most, qPrintable(QString::number(heard.size())));
            for (int row : checked)
                QVERIFY2(heard.contains(row), qPrintable(QString::number(row)));
        } else {
            QCOMPARE(heard, checked);
        }
        // Each row so named reads as it now is, "not checked" included.
        for (int row : heard) {
            QAccessibleInterface* named = QAccessible::queryAccessibleInterface(view)->child(row);
            QVERIFY(named->state().checkable);
            QCOMPARE(bool(named->state().checked), view->list().IsChecked(row + 1));
            QCOMPARE(named->text(QAccessible::Description),
                     view->list().IsChecked(row + 1) ? "checked" : "not checked");
        }
        // The row that had the focus keeps its object through a check.
        QCOMPARE(QAccessible::queryAccessibleInterface(view)->child(current), cell);
        const Rows joined = events.children(QAccessible::SelectionAdd, view);
        if (action == QLatin1String("Ctrl+A")) {
            QVERIFY(joined.size() <= view->viewport()->height() / view->rowHeight() + 2);
            for (int row : added)
                QVERIFY(joined.contains(row));
        } else {
            QCOMPARE(joined, added);
        }
        QCOMPARE(events.children(QAccessible::SelectionRemove, view), removed);
        QCOMPARE(events.count(QAccessible::SelectionWithin, view),
                 added.isEmpty() && removed.isEmpty() ? 0 : 1);
    }

    // The find bar's moves in list 2: text typed, then keys in the bar; the
    // current line after each step, and what the bar says at the end.
    void findMoves_data()
    {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("lookAlike");
        QTest::addColumn<int>("current"); // before the find; 0: none
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Rows>("lines");
        QTest::addColumn<QString>("status");
        auto row = [](const char* name, bool matchCase, int current, QStringList steps, Rows lines,
                      QString status, bool lookAlike = false) {
            QTest::newRow(name) << matchCase << lookAlike << current << steps << lines << status;
        };
        // 1 apple, 2 Banana, 3 grape, 4 APPLE pie, 5 cherry, 6 pineapple, 7 M\xFCller (the
        // byte, shown as Windows-1252), 8 cafe + combining acute, 9 no + no-break space + stop
        row("typing finds the first line", false, 0, {"apple"}, {1}, "1 of 3");
        row("from the current line on", false, 2, {"apple"}, {4}, "2 of 3");
        row("the current line itself", false, 4, {"apple"}, {4}, "2 of 3");
        row("each key looks on from there", false, 0, {"p", "i", "e"}, {1, 4, 4}, "1 of 1");
        row("Enter and F3 go on, round to the first", false, 0, {"apple", "Enter", "F3", "F3"},
            {1, 4, 6, 1}, "1 of 3");
        row("Shift+F3 goes back, round to the last", false, 0,
            {"apple", "Shift+F3", "Shift+Enter", "Shift+F3"}, {1, 6, 4, 1}, "1 of 3");
        row("Match Case", true, 0, {"apple", "F3", "F3"}, {1, 6, 1}, "1 of 2");
        row("Match Case, capitals", true, 0, {"APPLE", "F3"}, {4, 4}, "1 of 1");
        row("not found leaves the line", false, 3, {"kiwi", "F3", "Shift+F3"}, {3, 3, 3},
            "Not found");
        row("blanks count", false, 0, {"e p", "F3"}, {4, 4}, "1 of 1");
        row("emptied text stays", false, 0, {"grape", "Ctrl+A, Backspace"}, {3, 3}, "");
        row("a byte that is not UTF-8, as shown", false, 0, {"M\u00fc"}, {7}, "1 of 1");
        row("composed accent, look-alikes off", false, 0, {"caf\u00e9"}, {0}, "Not found");
        row("composed accent finds decomposed", false, 0, {"caf\u00e9"}, {8}, "1 of 1", true);
        row("plain space finds no-break", false, 0, {"no s"}, {9}, "1 of 1", true);
        row("look-alike keeps the byte found", true, 0, {"M\u00fc"}, {7}, "1 of 1", true);
    }
    void findMoves()
    {
        QFETCH(bool, matchCase);
        QFETCH(bool, lookAlike);
        QFETCH(int, current);
        QFETCH(QStringList, steps);
        QFETCH(Rows, lines);
        QFETCH(QString, status);
        ResultView* view = form->Panes[1]->View;
        fill(view, {"apple", "Banana", "grape", "APPLE pie", "cherry", "pineapple",
                    QStringLiteral("M") + QChar(0xDCFC) + QStringLiteral("ller"),
                    QStringLiteral("cafe\u0301"), QStringLiteral("no\u00A0stop")});
        if (current)
            view->list().SetCurrentPosition(current);
        form->Check7->setChecked(matchCase);
        form->Check10->setChecked(lookAlike);
        auto* bar = form->findChild<FindBar*>(QStringLiteral("FindBar2"));
        QVERIFY(bar);
        bar->Open();
        Rows after;
        for (const QString& step : steps) {
            if (QStringView(step).toLatin1() != step.toUtf8())
                bar->TextField()->insert(step); // what QTest cannot type
            else if (!step.contains(QRegularExpression(QStringLiteral("F3|Enter|\\+"))))
                QTest::keyClicks(bar->TextField(), step);
            else
                QTest::keySequence(bar->TextField(), QKeySequence(step));
            QVERIFY(!bar->IsSearching()); // a short list is searched at once
            after.append(view->list().CurrentPosition());
        }
        QCOMPARE(after, lines);
        QCOMPARE(bar->Status(), status);
        QVERIFY(fixture->boxes.shown.isEmpty());
    }

    void findBarOpensAndCloses()
    {
        fill(form->Panes[2]->View, {"one", "two", "three"});
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* bar = form->findChild<FindBar*>(QStringLiteral("FindBar3"));
        form->Panes[2]->View->setFocus();
        QTest::keySequence(form->Panes[2]->View, QKeySequence::Find);
        QVERIFY(bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar->TextField()));
        // It lies over the list's two buttons, which are out of the way meanwhile,
        // also in a larger window.
        QVERIFY(!form->Panes[2]->Save->isVisible() && !form->Panes[2]->Copy->isVisible());
        QVERIFY(form->Panes[0]->Save->isVisible());
        form->resize(form->size() + QSize(200, 150));
        QCOMPARE(bar->geometry(),
                 form->Panes[2]->Save->geometry().united(form->Panes[2]->Copy->geometry()));
        QVERIFY(bar->geometry().top() > form->Panes[2]->View->geometry().bottom());
        // Tab goes from the list into the bar and back.
        QTest::keyClick(bar->TextField(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Panes[2]->View));
        QTest::keyClick(form->Panes[2]->View, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar->TextField()));
        QTest::keyClicks(bar->TextField(), QStringLiteral("t"));
        QCOMPARE(form->Panes[2]->View->list().CurrentPosition(), 2);
        QTest::keyClick(bar->TextField(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Panes[2]->View));
        QVERIFY(form->Panes[2]->Save->isVisible() && form->Panes[2]->Copy->isVisible());
        // F3 in the list goes on with the same text; the context menu opens it too.
        QTest::keyClick(form->Panes[2]->View, Qt::Key_F3);
        QCOMPARE(form->Panes[2]->View->list().CurrentPosition(), 3);
        QTest::keyClick(bar->TextField(), Qt::Key_Escape);
        for (QAction* entry : form->Panes[0]->View->actions())
            if (entry->text() == QLatin1String("Find..."))
                entry->trigger();
        QVERIFY(form->findChild<FindBar*>(QStringLiteral("FindBar1"))->isVisible());
        QVERIFY(!bar->isVisible());
    }

    // What a screen reader hears of a find in list 2: the line found takes
    // the focus, the count is the field's description and the label's name,
    // and Escape gives the focus to list 2 alone.
    void findAnnounced_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Rows>("focused"); // rows of list 2 that took the focus, in order
        QTest::addColumn<QString>("status");
        QTest::newRow("typing finds") << QStringList{"apple"} << Rows{0} << "1 of 3";
        QTest::newRow("F3 goes on") << QStringList{"apple", "F3"} << Rows{0, 3} << "2 of 3";
        QTest::newRow("Shift+F3 round to the last")
            << QStringList{"apple", "Shift+F3"} << Rows{0, 5} << "3 of 3";
        QTest::newRow("F3 on the only match")
            << QStringList{"grape", "F3"} << Rows{2, 2} << "1 of 1";
        QTest::newRow("not found") << QStringList{"kiwi"} << Rows{} << "Not found";
        QTest::newRow("Escape") << QStringList{"cherry", "Escape"} << Rows{4, 4} << "";
    }
    void findAnnounced()
    {
        QFETCH(QStringList, steps);
        QFETCH(Rows, focused);
        QFETCH(QString, status);
        ResultView* view = form->Panes[1]->View;
        fill(view, {"apple", "Banana", "grape", "APPLE pie", "cherry", "pineapple"});
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* bar = form->findChild<FindBar*>(QStringLiteral("FindBar2"));
        auto* count = bar->findChild<QLabel*>(QStringLiteral("findCount"));
        QVERIFY(count);
        view->setFocus();
        QTest::keySequence(view, QKeySequence::Find);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar->TextField()));
        QCoreApplication::processEvents();
        AccessibleEvents events;
        for (const QString& step : steps) {
            if (step.front().isLower())
                QTest::keyClicks(bar->TextField(), step);
            else
                QTest::keySequence(bar->TextField(), QKeySequence(step));
        }
        QCoreApplication::processEvents();
        // The lines found are a change of the list's current row, the keyboard
        // staying in the field; Escape then moves the focus to the list.
        QCOMPARE(events.children(QAccessible::Selection, view) +
                     events.children(QAccessible::Focus, view),
                 focused);
        if (steps.last() == QLatin1String("Escape")) {
            // Straight back to the list: no other control took the focus on the way.
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
            for (const HeardEvent& e : events.all())
                if (e.type == QAccessible::Focus)
                    QVERIFY2(e.object == view,
                             e.object ? e.object->metaObject()->className() : "no object");
            return;
        }
        QCOMPARE(bar->Status(), status);
        // The count changes once a key at most: never to "Searching…" and back.
        QVERIFY(events.count(QAccessible::NameChanged, count) > 0);
        QVERIFY(events.count(QAccessible::NameChanged, count) <= steps.join(QString()).size());
        QVERIFY(events.count(QAccessible::DescriptionChanged, bar->TextField()) > 0);
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(bar->TextField());
        QCOMPARE(field->text(QAccessible::Description), status);
        QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Find in this list"));
        // The label names the field it counts for.
        bool labelled = false;
        for (const auto& [other, relation] : field->relations(QAccessible::Label))
            labelled = labelled || other->object() == count;
        QVERIFY(labelled);
        // The field's clear button, a picture alone, has a name.
        const QList<QToolButton*> clear = bar->TextField()->findChildren<QToolButton*>();
        QVERIFY(!clear.isEmpty());
        for (QToolButton* button : clear)
            QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                     QStringLiteral("Clear"));
    }

    // The count follows what happens to the list and to "Match Case".
    void findCountFollowsChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("status");
        QTest::newRow("Delete a match") << "Delete"
                                        << "1 of 2";
        QTest::newRow("Match Case ticked") << "Match Case"
                                           << "1 of 2";
        QTest::newRow("Clear All Results") << "Clear All"
                                           << "Not found";
        QTest::newRow("a new line") << "Add"
                                    << "1 of 4";
    }
    void findCountFollowsChanges()
    {
        QFETCH(QString, change);
        QFETCH(QString, status);
        ResultView* view = form->Panes[0]->View;
        fill(view, {"Fig", "fig", "plum", "fig tree"});
        auto* bar = form->findChild<FindBar*>(QStringLiteral("FindBar1"));
        bar->Open();
        QTest::keyClicks(bar->TextField(), QStringLiteral("fig"));
        QCOMPARE(bar->Status(), QStringLiteral("1 of 3"));
        if (change == QLatin1String("Delete"))
            QTest::keyClick(view, Qt::Key_Delete);
        else if (change == QLatin1String("Match Case"))
            form->Check7->setChecked(true);
        else if (change == QLatin1String("Clear All"))
            form->PushButton7->click();
        else
            view->list().AddAt(-1, QStringLiteral("a fig"));
        if (change == QLatin1String("Match Case"))
            view->list().SetCurrentPosition(2);
        QCOMPARE(bar->Status(), status);
        // Off a match, the bar gives the count alone.
        if (const int plum = int(itemsOf(view->list()).indexOf(QStringLiteral("plum"))) + 1) {
            view->list().SetCurrentPosition(plum);
            QVERIFY2(bar->Status().endsWith(QLatin1String(" found")), qPrintable(bar->Status()));
        }
    }

    void findKeepsWindowResponsive()
    {
        ResultList& list = form->Panes[1]->View->list();
        {
            const ResultList::BulkUpdate bulk(list);
            for (int i = 1; i <= 1000000; ++i)
                list.AddAt(-1, i == 300      ? QStringLiteral("the Needle")
                               : i == 700000 ? QStringLiteral("needle again")
                                             : QStringLiteral("line number %1 of the list").arg(i));
        }
        auto* bar = form->findChild<FindBar*>(QStringLiteral("FindBar2"));
        bar->Open();
        QTest::keyClicks(bar->TextField(), QStringLiteral("needle"));
        // The nearby match shows at once, and the rest of the list is searched
        // between the window's events.
        QCOMPARE(list.CurrentPosition(), 300);
        QVERIFY(bar->IsSearching());
        QCOMPARE(bar->Status(), QStringLiteral("Searching\u2026"));
        QTest::keyClick(bar->TextField(), Qt::Key_F3); // made once the search is through
        QTRY_VERIFY_WITH_TIMEOUT(!bar->IsSearching(), 30000);
        QCOMPARE(list.CurrentPosition(), 700000);
        QCOMPARE(bar->Status(), QStringLiteral("2 of 2"));
        QTest::keyClick(bar->TextField(), Qt::Key_F3);
        QCOMPARE(list.CurrentPosition(), 300);
    }

    void clipboardRetries_data()
    {
        QTest::addColumn<int>("busy"); // attempts that find the clipboard busy
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("busyLeft");
        QTest::addColumn<bool>("command"); // through "Copy Results To Clipboard"
        for (bool command : {false, true}) {
            const char* how = command ? ", copy command" : "";
            QTest::addRow("clear succeeds last%s", how) << 999 << "new" << 0 << command;
            QTest::addRow("set succeeds last%s", how) << 1999 << "new" << 0 << command;
            QTest::addRow("both give up%s", how) << 2001 << "before" << 1 << command;
        }
    }
    void clipboardRetries()
    {
        QFETCH(int, busy);
        QFETCH(QString, text);
        QFETCH(int, busyLeft);
        QFETCH(bool, command);
        ClipboardTesting::SetBusyAttempts(busy);
        if (command) {
            fill(form->Panes[0]->View, {"new"}, {1});
            form->Panes[0]->Copy->click();
        } else {
            ClearClipboard();
            QCOMPARE(SetClipboardText(QStringLiteral("new"), 0), qint16(text == "new" ? -1 : 0));
        }
        QCOMPARE(ClipboardTesting::BusyAttempts(), busyLeft);
        ClipboardTesting::SetBusyAttempts(0);
        QCOMPARE(clipboardText().remove(QStringLiteral("\r\n")), text);
        if (command) {
            // Confirmed only when the clipboard holds the lines; else the trap's box alone.
            const QStringList prompts = fixture->boxes.prompts();
            QCOMPARE(prompts.size(), 1);
            if (text == "new")
                QCOMPARE(prompts[0], kCopied);
            else
                QVERIFY2(prompts[0].contains(QStringLiteral("clipboard")) &&
                             prompts[0].contains(errorAt("PushButton8_Click", 106)),
                         qPrintable(prompts[0]));
        }
    }
};

QTEST_MAIN(Test)
#include "tst_result_commands.moc"
