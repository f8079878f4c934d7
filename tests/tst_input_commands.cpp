#include "desktop/SettingsStore.h"
#include "platform/PastedText.h"
#include "platform/RuntimeError.h"
#include "shell/ErrorTrap.h"
#include "tests/WindowTestSupport.h"
#include "widgets/HelpPage.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QCompleter>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kBrowseTitle =
    QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");
const QString kSamplesQuestion =
    QStringLiteral("Would you like this software to open the folder where these sample files are "
                   "stored (so that you can view them before working with them)?");

QString remembered(const char* key)
{
    return GetSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                      QString::fromLatin1(key));
}

// A control of the window by its design name; "ListView1 header" is that list's header.
QWidget* control(Form1& form, const QString& name)
{
    if (name == QLatin1String("Form1"))
        return &form;
    const QStringList parts = name.split(QLatin1Char(' '));
    auto* widget = form.findChild<QWidget*>(parts[0]);
    if (auto* list = qobject_cast<ResultView*>(widget))
        return parts.size() > 1 ? list->header()->viewport() : list->viewport();
    return widget;
}

// A point on the control that no child of it covers.
QPoint bareSpot(QWidget* widget)
{
    return qobject_cast<QGroupBox*>(widget) || widget->isWindow() ? QPoint(4, widget->height() / 2)
                                                                  : widget->rect().center();
}

// Drags mime data onto pos of the window the way Qt picks the drop target: the
// widget there, or its nearest ancestor that accepts drops. The drop is
// delivered either way; returns the action it was taken with (Ignore: refused).
Qt::DropAction dragOnto(Form1& form, QPoint pos, const QMimeData& data, Qt::DropActions actions)
{
    QWidget* target = form.childAt(pos) ? form.childAt(pos) : &form;
    while (!target->isWindow() && !target->acceptDrops())
        target = target->parentWidget();
    const QPoint local = target->mapFrom(&form, pos);
    QDragEnterEvent enter(local, actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(local, actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    if (enter.isAccepted() != drop.isAccepted())
        qWarning("the drag and the drop were answered differently");
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

} // namespace

class Test : public QObject
{
    Q_OBJECT
private slots:
    void browse_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<QStringList>>("picks"); // one per click; empty = Cancel
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("inOther"); // what the other field then holds
        QTest::addColumn<bool>("refused");    // with a message
        const QString a = QStringLiteral("/data/lists/a.txt"), b = QStringLiteral("/data/b.txt");
        const QString untouched = QStringLiteral("untouched");
        QTest::newRow("file 1") << "PushButton3" << QList<QStringList>{{a}} << a << untouched
                                << false;
        QTest::newRow("file 2") << "PushButton4" << QList<QStringList>{{b}} << b << untouched
                                << false;
        QTest::newRow("cancel after a pick")
            << "PushButton3" << QList<QStringList>{{a}, {}} << a << untouched << false;
        QTest::newRow("pick after a pick")
            << "PushButton4" << QList<QStringList>{{a}, {b}} << b << untouched << false;
        // Two: the first here, the second in the other field, whichever button.
        QTest::newRow("two from file 1's button")
            << "PushButton3" << QList<QStringList>{{b, a}} << b << a << false;
        QTest::newRow("two from file 2's button")
            << "PushButton4" << QList<QStringList>{{b, a}} << b << a << false;
        QTest::newRow("three: a message, nothing changed")
            << "PushButton3" << QList<QStringList>{{a, b, a}} << "earlier" << untouched << true;
        QTest::newRow("cancel") << "PushButton4" << QList<QStringList>{{}} << "earlier" << untouched
                                << false;
    }
    void browse()
    {
        QFETCH(QString, button);
        QFETCH(QList<QStringList>, picks);
        QFETCH(QString, expected);
        QFETCH(QString, inOther);
        QFETCH(bool, refused);
        WindowFixture fixture;
        auto form = fixture.window();
        const bool first = button == QLatin1String("PushButton3");
        QLineEdit* field = first ? form->Text1 : form->Text2;
        QLineEdit* other = first ? form->Text2 : form->Text1;
        field->setText(QStringLiteral("earlier"));
        other->setText(QStringLiteral("untouched"));
        for (const QStringList& pick : picks) {
            fixture.dialogAnswer = pick;
            form->findChild<QPushButton*>(button)->click();
        }
        QCOMPARE(fixture.dialogs.size(), picks.size());
        for (const DialogRequest& shown : std::as_const(fixture.dialogs)) {
            QVERIFY(!shown.save);
            QCOMPARE(shown.title, kBrowseTitle);
            QCOMPARE(shown.flags, 0x280201);
            QCOMPARE(shown.fileName, QString()); // emptied before every show
        }
        QCOMPARE(form->CommonDialog1->Filter,
                 QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QCOMPARE(field->text(), expected);
        QCOMPARE(other->text(), inOther);
        QCOMPARE(remembered(first ? "File1" : "File2"), expected);
        QCOMPARE(remembered(first ? "File2" : "File1"), inOther);
        QCOMPARE(fixture.boxes.prompts(),
                 refused ? QStringList(QStringLiteral("Please select one or two files: the first "
                                                      "goes into this field, the second into the "
                                                      "other one."))
                         : QStringList());
        // The shared dialog keeps the flags for the save dialog that may follow.
        form->CommonDialog1->ShowSave();
        QCOMPARE(fixture.dialogs.last().flags, 0x280201);
    }

    // Qt's own dialog, driven as a person would: a typed name fills the field
    // whether or not its file exists yet.
    void realDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected"); // in the scratch folder
        QTest::addColumn<QString>("inFile2");  // the same, "" for untouched
        QTest::newRow("a name of no file yet") << "new.txt"
                                               << "new.txt"
                                               << "";
        QTest::newRow("an existing file") << "a.txt"
                                          << "a.txt"
                                          << "";
        QTest::newRow("two files: the first here, the second in file 2") << "\"b.txt\" \"a.txt\""
                                                                         << "b.txt"
                                                                         << "a.txt";
    }
    void realDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(QString, inFile2);
        WindowFixture fixture;
        fixture.file(QStringLiteral("a.txt"), "a");
        fixture.file(QStringLiteral("b.txt"), "b");
        CommonDialogTesting::SetChooser({});
        auto form = fixture.window();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QString title;
        QSize size;
        bool openEnabled = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll.stop();
            title = dialog->windowTitle();
            size = dialog->size();
            dialog->setDirectory(fixture.scratchPath());
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
            QPushButton* open =
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
            openEnabled = open->isEnabled();
            if (openEnabled)
                open->click();
            else
                dialog->reject();
        });
        poll.start(10);
        form->PushButton3->click();
        QCOMPARE(title, kBrowseTitle);
        QVERIFY(openEnabled);
        QCOMPARE(form->Text1->text(), QDir(fixture.scratchPath()).filePath(expected));
        QCOMPARE(form->Text2->text(),
                 inFile2.isEmpty() ? QString() : QDir(fixture.scratchPath()).filePath(inFile2));
        // Room for a path and the file list's columns, as far as the screen allows.
        const QSize screen = form->screen()->availableGeometry().size();
        QVERIFY2(size.width() >= qMin(880, screen.width() * 8 / 10) &&
                     size.height() >= qMin(540, screen.height() * 8 / 10),
                 qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
    }

    // Paste keeps the clipboard's text as a file of the user's own and puts
    // its path in the field. Cases about another user's doing are set up by
    // that user (setpriv), in a cache folder everybody may write, as /tmp.
    void paste_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("clipboard"); // "<image>": an image and no text
        QTest::addColumn<QString>("before");    // how the folder is found
        QTest::addColumn<QString>("outcome");   // "written", "no text", or the failure's reason
        const QString text = QStringLiteral(u"id\r\nM\u00FCller\n\n\u20AC 5\tx");
        QTest::newRow("text as file 1") << "PushButton13" << text << ""
                                        << "written";
        QTest::newRow("text as file 2") << "PushButton14"
                                        << "a\nb\n"
                                        << ""
                                        << "written";
        QTest::newRow("a second paste the same second") << "PushButton13"
                                                        << "a"
                                                        << "pasted"
                                                        << "written";
        QTest::newRow("empty clipboard") << "PushButton13"
                                         << ""
                                         << ""
                                         << "no text";
        QTest::newRow("an image, no text") << "PushButton14"
                                           << "<image>"
                                           << ""
                                           << "no text";
        QTest::newRow("our folder left open to others") << "PushButton13"
                                                        << "a"
                                                        << "open"
                                                        << "written";
        QTest::newRow("links planted under the names in our open folder") << "PushButton13"
                                                                          << "a"
                                                                          << "planted links"
                                                                          << "written";
        QTest::newRow("the folder a link another user planted") << "PushButton13"
                                                                << "a"
                                                                << "linked folder"
                                                                << "it is a symbolic link";
        QTest::newRow("the folder made by another user") << "PushButton14"
                                                         << "a"
                                                         << "their folder"
                                                         << "it belongs to another user";
        QTest::newRow("the file size limit while writing")
            << "PushButton14" << QString(3000, QLatin1Char('x')) << "limited"
            << "File too large";
        QTest::newRow("a file where the folders go") << "PushButton13"
                                                     << "a"
                                                     << "blocked"
                                                     << "Not a directory";
    }
    void paste()
    {
        QFETCH(QString, button);
        QFETCH(QString, clipboard);
        QFETCH(QString, before);
        QFETCH(QString, outcome);
        WindowFixture fixture;
        const bool asOther = before == QLatin1String("planted links") ||
                             before == QLatin1String("linked folder") ||
                             before == QLatin1String("their folder");
        if (asOther && !changesUserForPermissions())
            QSKIP("another user's doing needs root to set up");
        // Everybody may write the cache folder, sticky as /tmp; the folder is
        // the user's own only as the program makes it.
        QDir scratch(fixture.scratchPath());
        ::chmod(QFile::encodeName(scratch.path()).constData(), 0755);
        const QString cache = scratch.filePath(QStringLiteral("cache"));
        const QString folder = cache + QStringLiteral("/pasted");
        const QString theirs = cache + QStringLiteral("/theirs");
        QVERIFY(scratch.mkdir(QStringLiteral("cache")));
        ::chmod(QFile::encodeName(cache).constData(), 01777);
        PastedText::SetFolderForTests(folder);
        const std::shared_ptr<void> unhook(nullptr,
                                           [](void*) { PastedText::SetFolderForTests({}); });
        auto asNobody = [](const QString& script) {
            return QProcess::execute(
                QStringLiteral("setpriv"),
                {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "sh", "-c", script});
        };
        const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
        if (before == QLatin1String("pasted")) {
            QVERIFY(QDir().mkpath(folder));
            fixture.file("cache/pasted/pasted-1-" + stamp + ".txt", "earlier paste");
        } else if (before == QLatin1String("open") || before == QLatin1String("planted links")) {
            QVERIFY(QDir().mkpath(folder));
            ::chmod(QFile::encodeName(folder).constData(), 0777);
        } else if (before == QLatin1String("blocked")) {
            QVERIFY(scratch.rmdir(QStringLiteral("cache")));
            fixture.file(QStringLiteral("cache"), "a file");
        }
        if (before == QLatin1String("planted links")) {
            // Under every name the program may pick in the next seconds,
            // pointing at a file of the other user's that it could write.
            QString script = QStringLiteral("echo theirs > '%1' && chmod 666 '%1'").arg(theirs);
            const QDateTime now = QDateTime::currentDateTime();
            for (int second = 0; second < 5; ++second)
                script += QStringLiteral(" && ln -s '%1' '%2/pasted-1-%3.txt'")
                              .arg(theirs, folder, now.addSecs(second).toString("yyyyMMdd-HHmmss"));
            QCOMPARE(asNobody(script), 0);
        } else if (before == QLatin1String("linked folder")) {
            QCOMPARE(
                asNobody(
                    QStringLiteral("mkdir -m 777 '%1' && ln -s '%1' '%2'").arg(theirs, folder)),
                0);
        } else if (before == QLatin1String("their folder")) {
            QCOMPARE(asNobody(QStringLiteral("mkdir -m 777 '%1'").arg(folder)), 0);
        }

        if (clipboard == QLatin1String("<image>")) {
            auto* data = new QMimeData;
            data->setImageData(QImage(2, 2, QImage::Format_RGB32));
            QGuiApplication::clipboard()->setMimeData(data);
        } else {
            QGuiApplication::clipboard()->setText(clipboard);
        }
        auto form = fixture.window();
        const bool first = button == QLatin1String("PushButton13");
        QLineEdit* field = first ? form->Text1 : form->Text2;
        QLineEdit* other = first ? form->Text2 : form->Text1;
        field->setText(QStringLiteral("earlier"));
        other->setText(QStringLiteral("untouched"));
        {
            // As under "ulimit -f 1": a write past 1 KiB fails, with SIGXFSZ ignored as main() has
            // it.
            rlimit saved;
            ::getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = 1024;
            const auto previous = ::signal(SIGXFSZ, SIG_IGN);
            if (before == QLatin1String("limited"))
                ::setrlimit(RLIMIT_FSIZE, &small);
            form->findChild<QPushButton*>(button)->click();
            ::setrlimit(RLIMIT_FSIZE, &saved);
            ::signal(SIGXFSZ, previous);
        }

        QCOMPARE(other->text(), QStringLiteral("untouched"));
        if (outcome != QLatin1String("written")) {
            QCOMPARE(field->text(), QStringLiteral("earlier"));
            QCOMPARE(fixture.boxes.shown.size(), 1);
            const QString prompt = fixture.boxes.shown[0].prompt;
            if (outcome == QLatin1String("no text"))
                QCOMPARE(prompt, QStringLiteral("The clipboard holds no text to paste. Copy the "
                                                "lines to compare, then click Paste again."));
            else
                QVERIFY2(prompt.contains(outcome) && prompt.contains(QStringLiteral("at line 106")),
                         qPrintable(prompt));
            // Nothing went where another user could read or swap it.
            if (QFileInfo(theirs).isDir())
                QCOMPARE(QDir(theirs).entryList(QDir::Files | QDir::Hidden), QStringList());
            if (before == QLatin1String("their folder") || before == QLatin1String("limited"))
                QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
            return;
        }
        QVERIFY2(fixture.boxes.shown.isEmpty(), qPrintable(fixture.boxes.prompts().join('|')));
        const QString path = field->text();
        QCOMPARE(QFileInfo(path).absolutePath(), folder);
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^pasted-%1-\\d{8}-\\d{6}(-\\d+)?\\.txt$").arg(first ? 1 : 2))
                     .match(QFileInfo(path).fileName())
                     .hasMatch(),
                 qPrintable(path));
        QCOMPARE(readFile(path), clipboard.toUtf8());
        QCOMPARE(remembered(first ? "File1" : "File2"), path);
        struct stat file, dir;
        QVERIFY(::lstat(QFile::encodeName(path).constData(), &file) == 0);
        QVERIFY(S_ISREG(file.st_mode) && file.st_uid == ::geteuid());
        QCOMPARE(file.st_mode & 07777, mode_t(0600));
        QVERIFY(::lstat(QFile::encodeName(folder).constData(), &dir) == 0);
        QCOMPARE(dir.st_mode & 07777, mode_t(0700));
        if (before == QLatin1String("planted links"))
            QCOMPARE(readFile(theirs), QByteArray("theirs\n"));
        if (before == QLatin1String("pasted"))
            QCOMPARE(readFile(folder + "/pasted-1-" + stamp + ".txt"), QByteArray("earlier paste"));
    }

    void browseFailureIsReported()
    {
        WindowFixture fixture;
        auto form = fixture.window();
        form->Text2->setText(QStringLiteral("earlier"));
        CommonDialogTesting::SetChooser([](const DialogRequest&) -> QStringList {
            throw RuntimeError(QStringLiteral("No dialog"));
        });
        form->PushButton4->click();
        QCOMPARE(fixture.boxes.prompts(),
                 QStringList(ErrorTrap(QStringLiteral("PushButton4_Click"))
                                 .MessageFor(QStringLiteral("No dialog"), 108)));
        QCOMPARE(form->Text2->text(), QStringLiteral("earlier"));
    }

    void samples_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("folder"); // the program's folder, when not the fixture's
        QTest::addColumn<bool>("opens");
        QTest::newRow("yes") << 6 << QString() << true;
        QTest::newRow("no") << 7 << QString() << false;
        QTest::newRow("yes, folder with blanks") << 6 << "My Programs" << true;
        QTest::newRow("yes, folder with # and %") << 6 << "Tools #2 (100%)" << true;
    }
    void samples()
    {
        QFETCH(int, answer);
        QFETCH(QString, folder);
        QFETCH(bool, opens);
        WindowFixture fixture;
        auto form = fixture.window();
        QString program = fixture.programPath();
        if (!folder.isEmpty()) {
            program = fixture.scratchPath() + QLatin1Char('/') + folder;
            SetAppPath(program);
        }
        fixture.boxes.yesNoAnswer = answer;
        fixture.launches.succeed = false; // a folder that cannot be shown stays silent
        QStringList order;
        connect(form->Text1, &QLineEdit::textChanged, [&] { order << "Text1"; });
        connect(form->Text2, &QLineEdit::textChanged, [&] { order << "Text2"; });
        QStringList fieldsWhenAsked;
        fixture.boxes.onShow = [&](const MsgBoxRequest&) {
            fieldsWhenAsked = {form->Text1->text(), form->Text2->text()};
        };
        form->PushButton12->click();
        form->PushButton12->click(); // asks again, same paths
        const QStringList paths = {program + QStringLiteral("/Samples/sample1.txt"),
                                   program + QStringLiteral("/Samples/sample2.txt")};
        QCOMPARE(fieldsWhenAsked, paths);
        QCOMPARE(order, QStringList({"Text1", "Text2"})); // the second press changes nothing
        QCOMPARE(QStringList({remembered("File1"), remembered("File2")}), paths);
        QCOMPARE(fixture.boxes.prompts(), QStringList({kSamplesQuestion, kSamplesQuestion}));
        QCOMPARE(fixture.boxes.shown[0].style, 4);
        QCOMPARE(fixture.boxes.shown[0].title, AppTitle());
        QCOMPARE(fixture.launches.opened.size(), opens ? 2 : 0);
        // The folder goes as a file address: a blank, # or % is part of its name.
        for (const QUrl& url : std::as_const(fixture.launches.opened)) {
            QCOMPARE(url.scheme(), QStringLiteral("file"));
            QCOMPARE(url.toLocalFile(), program + QStringLiteral("/Samples/"));
        }
    }

    // The shipped samples show at a glance what the tool does: every list has
    // lines, a repeated line stays repeated, and "Match Case" moves a line.
    void samplesShowWhatTheToolDoes()
    {
        WindowFixture fixture;
        auto form = fixture.window();
        form->PushButton12->click();
        QList<QStringList> byCase[2];
        for (bool matchCase : {false, true}) {
            form->Check7->setChecked(matchCase);
            form->PushButton1->click();
            for (ResultView* list :
                 {form->Panes[0]->View, form->Panes[1]->View, form->Panes[2]->View})
                byCase[matchCase] << itemsOf(list->list());
        }
        bool repeated = false;
        for (QStringList items : byCase[0]) {
            QVERIFY(!items.isEmpty());
            repeated = repeated || items.removeDuplicates() > 0;
        }
        QVERIFY(repeated);
        QCOMPARE(byCase[1][0].size(), byCase[0][0].size() - 1);
        QCOMPARE(byCase[1][2].size(), byCase[0][2].size() + 1);
    }

    void help()
    {
        WindowFixture fixture;
        auto form = fixture.window();
        form->Text1->setText(QStringLiteral("one"));
        form->PushButton11->click();
        QCOMPARE(fixture.boxes.prompts(),
                 QStringList(QStringLiteral("Questions? Please contact Team Harrowmere at ") +
                             QStringLiteral(QUILLMARK_CONTACT_PAGE)));
        QCOMPARE(fixture.boxes.shown[0].style, 0);
        QCOMPARE(fixture.boxes.shown[0].title, QStringLiteral("Quillmark"));
        QCOMPARE(form->Text1->text(), QStringLiteral("one"));
        QVERIFY(fixture.launches.opened.isEmpty() && fixture.dialogs.isEmpty());

        // F1 opens the page that explains the window, once, from a field or a
        // list; it names every option as its box does and says what each mark is.
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        for (QWidget* at :
             {static_cast<QWidget*>(form->Text1), static_cast<QWidget*>(form->Panes[1]->View)}) {
            at->setFocus();
            QTest::keyClick(at, Qt::Key_F1);
        }
        const auto pages = form->findChildren<HelpPage*>();
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0]->isVisible());
        const QString text = pages[0]->Text();
        QStringList options;
        for (const QCheckBox* box : form->Frame5->findChildren<QCheckBox*>())
            options.append(box->text().remove(QLatin1Char('&')));
        for (const QLabel* label : form->Panel1->findChildren<QLabel*>())
            options.append(label->text().remove(QLatin1Char('&')));
        QCOMPARE(options.size(), 10);
        for (const QString& option : options)
            QVERIFY2(text.contains(option), qPrintable(option));
        for (const char* mark : {"ends with 2 blanks", "ends with a tab", "has a no-break space",
                                 "not UTF-8", "distinct lines only in file 1"})
            QVERIFY2(text.contains(QLatin1String(mark)), mark);
        QVERIFY(fixture.boxes.shown.size() == 1);
    }

    void hover_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        for (int i = 1; i <= 14; ++i) {
            const QString button = QStringLiteral("PushButton%1").arg(i);
            QTest::addRow("%s", qPrintable(button)) << button << 0 << 99;
            QTest::addRow("%s busy", qPrintable(button)) << button << 11 << 11;
        }
        QStringList resets = {"Form1", "ListView1 header"};
        for (int i = 1; i <= 6; ++i)
            resets << QStringLiteral("Frame%1").arg(i);
        for (int i = 1; i <= 3; ++i)
            resets << QStringLiteral("ListView%1").arg(i);
        for (const QString& surface : std::as_const(resets)) {
            QTest::addRow("%s", qPrintable(surface)) << surface << 99 << 0;
            QTest::addRow("%s busy", qPrintable(surface)) << surface << 11 << 11;
        }
        for (const char* still : {"Text1", "Text2", "Check7"}) {
            QTest::addRow("%s keeps the hand", still) << still << 99 << 99;
            QTest::addRow("%s keeps the arrow", still) << still << 0 << 0;
        }
    }
    void hover()
    {
        QFETCH(QString, name);
        QFETCH(int, before);
        QFETCH(int, after);
        WindowFixture fixture;
        auto form = fixture.window();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWidget* widget = control(*form, name);
        QVERIFY(widget);
        // The offscreen cursor sends the window a real move, but only when it moves.
        QTest::mouseMove(widget, bareSpot(widget) + QPoint(0, 1));
        form->SetMousePointer(before);
        QTest::mouseMove(widget, bareSpot(widget));
        QCOMPARE(form->MousePointer(), after);
        if (after == 11)
            QCOMPARE(widget->cursor().shape(), Qt::WaitCursor);
        form->SetMousePointer(0);
    }

    void handShowsOverButtonsOnly()
    {
        WindowFixture fixture;
        auto form = fixture.window();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->HasMouseIcon()); // HAND-M.CUR beside the program
        QTest::mouseMove(form->PushButton7, QPoint(5, 5));
        QTest::mouseMove(form->PushButton7);
        QCOMPARE(form->PushButton7->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(form->Text1->cursor().shape(), Qt::IBeamCursor);
        QTest::mouseMove(form->Panes[2], bareSpot(form->Panes[2]));
        QCOMPARE(form->PushButton7->cursor().shape(), Qt::ArrowCursor);
    }

    // Each path field offers the paths last used in it, most recent first,
    // kept for the next window: those a comparison started with, and those
    // browsed for or dropped. Steps are "how:name" in the scratch folder.
    void recentFiles_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected"); // file 1's, most recent first
        QTest::newRow("most recent first")
            << QStringList{"compare:a", "browse:b", "drop:c"} << QStringList{"c", "b", "a"};
        QTest::newRow("a path used again moves to the top")
            << QStringList{"compare:a", "compare:b", "browse:a"} << QStringList{"a", "b"};
        QStringList twelve, lastTen;
        for (int i = 1; i <= 12; ++i)
            twelve << QStringLiteral("compare:f%1").arg(i), lastTen.prepend(twelve.last().mid(8));
        QTest::newRow("ten at most") << twelve << lastTen.mid(0, 10);
        QTest::newRow("any name comes back")
            << QStringList{"compare:line\nbreak", "compare:back\\nslash", "browse:key=value",
                           "drop:na\u00efve \u00fc.txt"}
            << QStringList{"na\u00efve \u00fc.txt", "key=value", "back\\nslash", "line\nbreak"};
        QTest::newRow("not pasted text, nor a file not found")
            << QStringList{"compare:a", "paste:", "missing:gone"} << QStringList{"a"};
    }
    void recentFiles()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        WindowFixture fixture;
        const QString scratch = fixture.scratchPath() + QLatin1Char('/');
        PastedText::SetFolderForTests(scratch + QStringLiteral("pasted"));
        const std::shared_ptr<void> restore(nullptr,
                                            [](void*) { PastedText::SetFolderForTests({}); });
        const QString other = fixture.file(QStringLiteral("other"), "x\n");
        auto form = fixture.window();
        bool compared = false;
        for (const QString& step : std::as_const(steps)) {
            const QString how = step.section(QLatin1Char(':'), 0, 0);
            const QString name = step.section(QLatin1Char(':'), 1);
            if (how != QLatin1String("missing") && !name.isEmpty())
                fixture.file(name, "x\n");
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(scratch + name)});
            QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
            fixture.dialogAnswer = {scratch + name};
            if (how == QLatin1String("browse"))
                form->PushButton3->click();
            else if (how == QLatin1String("drop"))
                dragOnto(*form, form->Text1->mapTo(form.get(), QPoint(4, 4)), data, Qt::CopyAction);
            else if (how == QLatin1String("paste"))
                form->PushButton13->click();
            else
                form->Text1->setText(scratch + name);
            if (how == QLatin1String("browse") || how == QLatin1String("drop"))
                continue;
            form->Text2->setText(other);
            form->PushButton1->click();
            compared = compared || how == QLatin1String("compare");
        }
        QStringList paths;
        for (const QString& name : std::as_const(expected))
            paths.append(scratch + name);
        // A fresh window offers them, file 2's field its own.
        auto fresh = fixture.window();
        const auto offered = [](QLineEdit* field) {
            return qobject_cast<QStringListModel*>(field->completer()->model())->stringList();
        };
        QCOMPARE(offered(fresh->Text1), paths);
        QCOMPARE(offered(fresh->Text2), compared ? QStringList{other} : QStringList());
        fresh->show();
        fresh->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fresh.get()));
        fresh->Text1->setFocus();
        // Alt+Down (as the button at the field's end) lists all of them;
        // a choice fills the field as typing would.
        QCompleter* completer = fresh->Text1->completer();
        QTest::keyClick(fresh->Text1, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(completer->completionCount(), paths.size());
        completer->popup()->setCurrentIndex(
            completer->completionModel()->index(paths.size() - 1, 0));
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QCOMPARE(fresh->Text1->text(), paths.last());
        QCOMPARE(offered(fresh->Text1), paths); // Return chose; it compared nothing
        QCOMPARE(remembered("File1"), paths.last());
    }

    void drop_data()
    {
        QTest::addColumn<QString>("onto");
        QTest::addColumn<QStringList>("items");  // file names in the scratch folder, or URLs
        QTest::addColumn<QString>("text");       // plain text instead of URLs
        QTest::addColumn<QStringList>("fields"); // "1" and "2" are the texts before
        using L = QStringList;
        QTest::newRow("one file on field 1") << "Text1" << L{"a"} << "" << L{"a", "2"};
        QTest::newRow("one file on frame 1") << "Frame6" << L{"a"} << "" << L{"a", "2"};
        QTest::newRow("one file on browse 1") << "PushButton3" << L{"a"} << "" << L{"a", "2"};
        QTest::newRow("one file on field 2") << "Text2" << L{"b"} << "" << L{"1", "b"};
        QTest::newRow("missing file") << "Text1" << L{"gone"} << "" << L{"gone", "2"};
        QTest::newRow("one file elsewhere") << "ListView1" << L{"a"} << "" << L{"1", "2"};
        QTest::newRow("two files on window") << "Form1" << L{"a", "b"} << "" << L{"a", "b"};
        QTest::newRow("two files on a list") << "ListView3" << L{"b", "a"} << "" << L{"b", "a"};
        // Two on a path field: the first there, as the browse buttons do.
        QTest::newRow("two files on field 2") << "Text2" << L{"a", "b"} << "" << L{"b", "a"};
        QTest::newRow("two files on frame 1") << "Frame6" << L{"b", "a"} << "" << L{"b", "a"};
        QTest::newRow("three files") << "Form1" << L{"a", "b", "a"} << "" << L{"1", "2"};
        QTest::newRow("folder") << "Text1" << L{"dir"} << "" << L{"1", "2"};
        QTest::newRow("file and folder") << "Form1" << L{"a", "dir"} << "" << L{"1", "2"};
        QTest::newRow("web address")
            << "Text1" << L{"https://example.org/a.txt"} << "" << L{"1", "2"};
        QTest::newRow("plain text") << "Text1" << L{} << "hello" << L{"1", "2"};
    }
    void drop()
    {
        QFETCH(QString, onto);
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        WindowFixture fixture;
        auto form = fixture.window();
        fixture.file(QStringLiteral("a"), "1");
        fixture.file(QStringLiteral("b"), "2");
        QDir(fixture.scratchPath()).mkdir(QStringLiteral("dir"));
        auto local = [&](const QString& name) {
            return name.contains(QLatin1Char(':'))
                       ? name
                       : fixture.scratchPath() + QLatin1Char('/') + name;
        };
        QList<QUrl> urls;
        for (const QString& item : std::as_const(items))
            urls << QUrl::fromUserInput(local(item));
        QMimeData data;
        data.setUrls(urls);
        // File browsers add the addresses as plain text, which a field would insert.
        data.setText(text.isEmpty() ? QUrl::toStringList(urls).join(QLatin1Char('\n')) : text);
        form->Text1->setText(QStringLiteral("1"));
        form->Text2->setText(QStringLiteral("2"));
        QWidget* widget = control(*form, onto);
        const QPoint spot = widget->mapTo(form.get(), bareSpot(widget));
        const Qt::DropAction taken =
            dragOnto(*form, spot, data, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
        QStringList expected;
        for (const QString& field : std::as_const(fields))
            expected << (field == QLatin1String("1") || field == QLatin1String("2") ? field
                                                                                    : local(field));
        QCOMPARE(QStringList({form->Text1->text(), form->Text2->text()}), expected);
        QCOMPARE(QStringList({remembered("File1"), remembered("File2")}), expected);
        const bool wanted = expected != QStringList({"1", "2"});
        QCOMPARE(taken, wanted ? Qt::CopyAction : Qt::IgnoreAction);
        // A source that offers only Move gets nothing: it would delete its file.
        QCOMPARE(dragOnto(*form, spot, data, Qt::MoveAction), Qt::IgnoreAction);
    }
};

QTEST_MAIN(Test)
#include "tst_input_commands.moc"
