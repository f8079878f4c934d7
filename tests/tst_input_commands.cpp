#include "desktop/SettingsStore.h"
#include "platform/RuntimeError.h"
#include "shell/ErrorTrap.h"
#include "tests/WindowTestSupport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

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
        const QString a = QStringLiteral("/data/lists/a.txt"), b = QStringLiteral("/data/b.txt");
        QTest::newRow("file 1") << "PushButton3" << QList<QStringList>{{a}} << a;
        QTest::newRow("file 2") << "PushButton4" << QList<QStringList>{{b}} << b;
        QTest::newRow("cancel after a pick") << "PushButton3" << QList<QStringList>{{a}, {}} << a;
        QTest::newRow("pick after a pick") << "PushButton4" << QList<QStringList>{{a}, {b}} << b;
        QTest::newRow("several: the first") << "PushButton3" << QList<QStringList>{{b, a}} << b;
        QTest::newRow("cancel") << "PushButton4" << QList<QStringList>{{}} << "earlier";
    }
    void browse()
    {
        QFETCH(QString, button);
        QFETCH(QList<QStringList>, picks);
        QFETCH(QString, expected);
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
        QCOMPARE(other->text(), QStringLiteral("untouched"));
        QCOMPARE(remembered(first ? "File1" : "File2"), expected);
        QVERIFY(fixture.boxes.shown.isEmpty());
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
        QTest::newRow("a name of no file yet") << "new.txt"
                                               << "new.txt";
        QTest::newRow("an existing file") << "a.txt"
                                          << "a.txt";
        QTest::newRow("two files: the first") << "\"b.txt\" \"a.txt\""
                                              << "b.txt";
    }
    void realDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
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
        // Room for a path and the file list's columns, as far as the screen allows.
        const QSize screen = form->screen()->availableGeometry().size();
        QVERIFY2(size.width() >= qMin(880, screen.width() * 8 / 10) &&
                     size.height() >= qMin(540, screen.height() * 8 / 10),
                 qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
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
            for (ResultView* list : {form->ListView1, form->ListView2, form->ListView3})
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
    }

    void hover_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        for (int i = 1; i <= 12; ++i) {
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
        QTest::mouseMove(form->Frame3, bareSpot(form->Frame3));
        QCOMPARE(form->PushButton7->cursor().shape(), Qt::ArrowCursor);
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
