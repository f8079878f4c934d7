#include "CommandLine.h"
#include "ErrorTrap.h"
#include "RuntimeError.h"
#include "SettingsStore.h"
#include "SkinFramework.h"
#include "StartupRoutines.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndNames();
    void tabOrderAndFirstFocus();
    void checksAndTheirOrder_data();
    void checksAndTheirOrder();
    void comparisonFillsTheLists_data();
    void comparisonFillsTheLists();
    void lockedFileAfterTheChecks();
    void trapText();
    void trapResumesAndStaysArmed();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void startupWithSkin_data();
    void startupWithSkin();
    void pointerFile_data();
    void pointerFile();
    void pointerForScale_data();
    void pointerForScale();
    void homePageDraw_data();
    void homePageDraw();
    void applicationTitle_data();
    void applicationTitle();
    void accessibleNames_data();
    void accessibleNames();
    void listCountsAndCheckMarks();
    void keyboardPressesButtons_data();
    void keyboardPressesButtons();
    void menuKeyOpensListMenu_data();
    void menuKeyOpensListMenu();
    void commandLine_data();
    void commandLine();
    void givenFilesAreRemembered();
};

void TestWindow::layoutAndNames()
{
    WindowFixture fixture;
    auto form = fixture.window();
    QCOMPARE(form->size(), QSize(form->Px(8040), form->Px(10635)));
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillmark"));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    // A few controls in pixels at the test screen's resolution, and their captions.
    const struct
    {
        const char* name;
        int left, top, width, height;
        const char* caption;
    } expected[] = {
        {"PushButton11", 120, 120, 3840, 405, "Help"},
        {"PushButton12", 4080, 120, 3840, 405, "Load Sample/Example Files"},
        {"Frame4", 120, 1455, 7800, 825, "Text File #2"},
        {"PushButton4", 6960, 300, 600, 345, "..."},
        {"Frame2", 120, 5760, 7800, 2055, "Lines In File 1 That Are Not In File 2"},
        {"ListView3", 240, 300, 7320, 1095, nullptr},
        {"PushButton10", 3960, 1485, 3600, 405, "Copy Results To Clipboard"},
        {"PushButton7", 120, 10110, 7800, 405, "Clear All Results"},
    };
    for (const auto& e : expected) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(e.name));
        QVERIFY2(widget, e.name);
        QCOMPARE(widget->geometry(),
                 QRect(form->Px(e.left), form->Px(e.top), form->Px(e.width), form->Px(e.height)));
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), QLatin1String(e.caption));
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(frame->title(), QLatin1String(e.caption));
    }
    QCOMPARE(form->ListView1->parentWidget(), form->Frame1);
    QCOMPARE(form->Text1->parentWidget(), form->Frame6);
    QCOMPARE(form->PushButton1->font().pointSizeF(), 11.25);
    QVERIFY(form->Check7->font().bold());
    // Each list has its one column "Result(s)", 6300 twips wide.
    for (ResultView* view : {form->ListView1, form->ListView2, form->ListView3}) {
        QCOMPARE(view->list().ColumnCount(), 1);
        QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Result(s)"));
        QCOMPARE(view->columnWidth(0), form->Px(6300));
        QCOMPARE(view->list().Count(), 0);
    }
    // Resizing moves nothing.
    const QRect before = form->PushButton7->geometry();
    form->resize(900, 900);
    QCOMPARE(form->PushButton7->geometry(), before);
}

void TestWindow::tabOrderAndFirstFocus()
{
    WindowFixture fixture;
    auto form = fixture.window();
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->ListView1));
    QStringList order;
    QWidget* w = form->ListView1;
    for (int i = 0; i < 18; ++i) {
        order.append(w->objectName());
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(form.get()) ||
               w->objectName().isEmpty());
    }
    QCOMPARE(order,
             (QStringList{"ListView1", "ListView2", "ListView3", "PushButton1", "PushButton2",
                          "PushButton5", "PushButton6", "Text1", "PushButton3", "Text2",
                          "PushButton4", "Check7", "PushButton7", "PushButton8", "PushButton9",
                          "PushButton10", "PushButton11", "PushButton12"}));
    QCOMPARE(w->objectName(), QStringLiteral("ListView1")); // and round again
}

void TestWindow::checksAndTheirOrder_data()
{
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::addColumn<QString>("message");
    QTest::newRow("both empty") << ""
                                << ""
                                << "You forgot to input file #1.";
    QTest::newRow("1 missing, 2 empty") << "missing"
                                        << ""
                                        << "You forgot to input file #2.";
    QTest::newRow("1 missing") << "missing"
                               << "good"
                               << "File #1 not found.";
    QTest::newRow("1 blanks") << "   "
                              << "good"
                              << "File #1 not found.";
    QTest::newRow("1 a folder") << "folder"
                                << "good"
                                << "File #1 not found.";
    QTest::newRow("2 missing") << "good"
                               << "missing"
                               << "File #2 not found.";
    QTest::newRow("2 a device") << "good"
                                << "/dev/null"
                                << "File #2 not found.";
}

void TestWindow::checksAndTheirOrder()
{
    QFETCH(QString, one);
    QFETCH(QString, two);
    QFETCH(QString, message);
    WindowFixture fixture;
    auto form = fixture.window();
    const QString good = fixture.file(QStringLiteral("good.txt"), "a\nb");
    auto path = [&](const QString& what) {
        if (what == QLatin1String("good"))
            return good;
        if (what == QLatin1String("missing"))
            return fixture.scratchPath() + QStringLiteral("/missing.txt");
        if (what == QLatin1String("folder"))
            return fixture.scratchPath();
        return what;
    };
    form->ListView2->list().Add(QStringLiteral("earlier result"));
    form->Text1->setText(path(one));
    form->Text2->setText(path(two));
    form->PushButton1->click();
    QCOMPARE(fixture.boxes.prompts(), QStringList{message});
    QCOMPARE(fixture.boxes.shown[0].style, 0);
    QCOMPARE(fixture.boxes.shown[0].title, QStringLiteral("Quillmark"));
    QCOMPARE(itemsOf(form->ListView2->list()), QStringList{"earlier result"});
    QCOMPARE(form->MousePointer(), 0);
}

void TestWindow::comparisonFillsTheLists_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QList<QStringList>>("lists");
    QTest::newRow("case ignored") << false
                                  << QList<QStringList>{
                                         {"Apple", "fig", "fig", ""}, {"kiwi"}, {"plum"}};
    QTest::newRow("Match Case") << true
                                << QList<QStringList>{
                                       {"fig", "fig", ""}, {"Apple", "kiwi"}, {"apple", "plum"}};
}

void TestWindow::comparisonFillsTheLists()
{
    QFETCH(bool, matchCase);
    QFETCH(QList<QStringList>, lists);
    WindowFixture fixture;
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "Apple\r\nfig\r\nkiwi\r\nfig\r\n"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "fig\r\napple\r\nplum\r\n"));
    form->Check7->setChecked(matchCase);
    form->PushButton1->click();
    QVERIFY(fixture.boxes.shown.isEmpty());
    QCOMPARE(itemsOf(form->ListView1->list()), lists[0]);
    QCOMPARE(itemsOf(form->ListView2->list()), lists[1]);
    QCOMPARE(itemsOf(form->ListView3->list()), lists[2]);
    QCOMPARE(form->MousePointer(), 0);
    QCOMPARE(form->ListView1->model()->rowCount(), lists[0].size());
    // A grayed box is not "checked": the comparison ignores case then.
    form->Check7->setTristate(true);
    form->Check7->setCheckState(Qt::PartiallyChecked);
    form->PushButton1->click();
    QCOMPARE(itemsOf(form->ListView2->list()), QStringList{"kiwi"});
}

void TestWindow::lockedFileAfterTheChecks()
{
    WindowFixture fixture;
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "a\nb"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "b\nc"));
    form->PushButton1->click();
    const QList<QStringList> before = {itemsOf(form->ListView1->list()),
                                       itemsOf(form->ListView2->list()),
                                       itemsOf(form->ListView3->list())};
    // The files pass the checks but cannot be opened by the user who runs the program.
    fixture.boxes.onShow = [&](const MsgBoxRequest&) { QCOMPARE(form->MousePointer(), 11); };
    ::chmod(QFile::encodeName(fixture.scratchPath()).constData(), 0755);
    for (const QLineEdit* field : {form->Text1, form->Text2})
        ::chmod(QFile::encodeName(field->text()).constData(), 0);
    {
        AsUnprivilegedUser user;
        form->PushButton1->click();
    }
    QCOMPARE(fixture.boxes.shown.size(), 3);
    int line = 120;
    for (const MsgBoxRequest& box : fixture.boxes.shown) {
        QCOMPARE(box.style, 48);
        QCOMPARE(box.title, QStringLiteral("Application Error"));
        QVERIFY2(
            box.prompt.contains(QStringLiteral("in Braidwell2021/08/31.Form1.PushButton1_Click "
                                               "at line %1\r\r")
                                    .arg(line)),
            qPrintable(box.prompt));
        // The third call reads file 2 first.
        const QString first = line == 124 ? form->Text2->text() : form->Text1->text();
        QVERIFY2(box.prompt.startsWith(QStringLiteral("Cannot open \"") + first),
                 qPrintable(box.prompt));
        line += 2;
    }
    QCOMPARE(itemsOf(form->ListView1->list()), before[0]);
    QCOMPARE(itemsOf(form->ListView2->list()), before[1]);
    QCOMPARE(itemsOf(form->ListView3->list()), before[2]);
    QCOMPARE(form->MousePointer(), 0);
}

void TestWindow::trapText()
{
    const ErrorTrap trap(QStringLiteral("PushButton12_Click"));
    QCOMPARE(trap.MessageFor(QStringLiteral("Disk not ready"), 104),
             QStringLiteral("Disk not ready\r\nin Braidwell2021/08/31.Form1.PushButton12_Click at "
                            "line 104\r\rPlease email screenshot of this message to "
                            "support@harrowmere.example"));
    QVERIFY(trap.MessageFor(QString(), 100).startsWith(QStringLiteral("\r\nin ")));
    QCOMPARE(MsgBoxDisplayText(trap.MessageFor(QStringLiteral("x"), 100)).count(QLatin1Char('\n')),
             3);
}

void TestWindow::trapResumesAndStaysArmed()
{
    WindowFixture fixture;
    ErrorTrap trap(QStringLiteral("Form_Load"));
    QStringList ran;
    trap.Run(100, [&] {
        ran << "100";
        throw RuntimeError(QStringLiteral("first"));
    });
    if (trap.If(102, []() -> bool { throw RuntimeError(QStringLiteral("condition")); }))
        trap.Run(104, [&] { ran << "104"; });
    trap.Run(106, [&] { throw std::bad_alloc(); });
    trap.Run(108, [&] { ran << "108"; });
    QCOMPARE(ran, (QStringList{"100", "104", "108"}));
    const QStringList prompts = fixture.boxes.prompts();
    QCOMPARE(prompts.size(), 3);
    QVERIFY(prompts[0].startsWith(QStringLiteral("first\r\n")) &&
            prompts[0].contains(QStringLiteral("at line 100")));
    QVERIFY(prompts[1].startsWith(QStringLiteral("condition\r\n")) &&
            prompts[1].contains(QStringLiteral("at line 102")));
    QVERIFY(prompts[2].startsWith(QStringLiteral("Out of memory\r\n")) &&
            prompts[2].contains(QStringLiteral("at line 106")));
}

void TestWindow::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("path with blanks") << "/home/me/My Lists/a b.txt";
    QTest::newRow("backslashes") << "C:\\Lists\\new\\t.txt";
    QTest::newRow("ini characters") << "a=b;c#d [x] \"q\" 'r' %20";
    QTest::newRow("line breaks") << "one\ntwo\r\nthree";
    QTest::newRow("non-ASCII") << QStringLiteral(
        u"/tmp/Liste f\u00FCr G\u00E4ste \u2013 \U0001F600.txt");
    QTest::newRow("leading and trailing blanks") << "  x  ";
    QTest::newRow("empty") << "";
}

void TestWindow::settingsRoundTrip()
{
    QFETCH(QString, value);
    WindowFixture fixture;
    {
        auto form = fixture.window();
        form->Text1->setText(QStringLiteral("something else"));
        form->Text1->setText(value);
        form->Text2->setText(value + QStringLiteral("2"));
        QVERIFY(fixture.boxes.shown.isEmpty());
    }
    QVERIFY(QFile::exists(fixture.settingsFile()));
    QCOMPARE(GetSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                        QStringLiteral("File1")),
             value);
    auto again = fixture.window();
    QCOMPARE(again->Text1->text(), value);
    QCOMPARE(again->Text2->text(), value + QStringLiteral("2"));
    QVERIFY(!again->Check7->isChecked());
}

void TestWindow::startupWithSkin_data()
{
    QTest::addColumn<QByteArray>("skin"); // "<none>" for no file, "<folder>" for a folder
    QTest::addColumn<bool>("recoloured");
    QTest::addColumn<bool>("skinned");
    QTest::newRow("no skin file") << QByteArray("<none>") << false << false;
    QTest::newRow("a folder of that name") << QByteArray("<folder>") << false << false;
    QTest::newRow("the shipped skin") << QByteArray() << true << true;
    QTest::newRow("no signature") << QByteArray("QWidget { color: red; }") << true << false;
}

void TestWindow::startupWithSkin()
{
    QFETCH(QByteArray, skin);
    QFETCH(bool, recoloured);
    QFETCH(bool, skinned);
    WindowFixture fixture;
    const QString path = fixture.programFile(QStringLiteral("x/o.cjs"));
    if (skin == "<none>" || skin == "<folder>")
        QFile::remove(path);
    if (skin == "<folder>")
        QDir().mkpath(path);
    if (!skin.startsWith('<') && !skin.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(skin);
    }
    auto form = fixture.window();
    const QColor white(Qt::white);
    for (QWidget* w :
         std::initializer_list<QWidget*>{form.get(), form->Frame1, form->Frame5, form->Check7})
        QCOMPARE(w->palette().color(QPalette::Window) != white, recoloured);
    QCOMPARE(!form->styleSheet().isEmpty(), skinned);
    const QStringList prompts = fixture.boxes.prompts();
    if (recoloured && !skinned) {
        QCOMPARE(prompts.size(), 1);
        QVERIFY(prompts[0].contains(QStringLiteral("Form_Load at line 100\r\r")));
        QVERIFY(prompts[0].contains(path));
    } else {
        QVERIFY2(prompts.isEmpty(), qPrintable(prompts.join(QLatin1Char('|'))));
    }
    // Start-up went on after the skin: columns and caption are there.
    QCOMPARE(form->ListView3->list().ColumnCount(), 1);
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillmark"));
}

void TestWindow::pointerFile_data()
{
    QTest::addColumn<QString>("content"); // "<none>", "<shipped>" or bytes
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("boxes");
    QTest::newRow("missing") << "<none>" << false << 0;
    QTest::newRow("shipped hand") << "<shipped>" << true << 0;
    QTest::newRow("not a cursor") << "garbage" << false << 1;
}

void TestWindow::pointerFile()
{
    QFETCH(QString, content);
    QFETCH(bool, loaded);
    QFETCH(int, boxes);
    WindowFixture fixture;
    const QString path = fixture.programFile(QStringLiteral("HAND-M.CUR"));
    if (content != QLatin1String("<shipped>")) {
        QFile::remove(path);
        if (content != QLatin1String("<none>")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.toLatin1());
        }
    }
    auto form = fixture.window();
    QCOMPARE(form->HasMouseIcon(), loaded);
    QCOMPARE(fixture.boxes.shown.size(), boxes);
    if (boxes)
        QVERIFY(fixture.boxes.shown[0].prompt.contains(QStringLiteral("at line 106")));
    if (loaded) {
        form->SetMousePointer(99);
        QCOMPARE(form->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(form->cursor().hotSpot(), QPoint(13, 0));
    }
    form->SetMousePointer(11);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    form->SetMousePointer(0);
    QVERIFY(!QApplication::overrideCursor());
}

void TestWindow::pointerForScale_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("pixels");
    QTest::newRow("plain screen") << 1.0 << 32;
    QTest::newRow("scaled by two: the 64 px hand") << 2.0 << 64;
    QTest::newRow("scaled by three: no such image") << 3.0 << 32;
}

void TestWindow::pointerForScale()
{
    QFETCH(qreal, scale);
    QFETCH(int, pixels);
    const QCursor hand = LoadPicture(QStringLiteral(QUILLMARK_BINARY_DIR "/HAND-M.CUR"), scale);
    QCOMPARE(hand.pixmap().width(), pixels);
    // The fingertip, in the window's units.
    QCOMPARE(hand.hotSpot(), QPoint(13, 0));
}

void TestWindow::homePageDraw_data()
{
    QTest::addColumn<double>("draw");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("draw 1") << 0.0 << false << true;
    QTest::newRow("draw 7 opens the page") << 0.06 << true << true;
    QTest::newRow("draw 7, no opener") << 0.069 << true << false;
    QTest::newRow("draw 8") << 0.07 << false << true;
    QTest::newRow("draw 100") << 0.999 << false << true;
}

void TestWindow::homePageDraw()
{
    QFETCH(double, draw);
    QFETCH(bool, starts);
    QFETCH(bool, succeeds);
    WindowFixture fixture;
    RandomTesting::SetDraw([draw] { return draw; });
    fixture.launches.succeed = succeeds;
    auto form = fixture.window();
    QCOMPARE(fixture.launches.starts.size(), starts ? 1 : 0);
    if (starts)
        QCOMPARE(fixture.launches.starts[0].mid(1),
                 QStringList{QStringLiteral("https://www.harrowmere.example/")});
    QCOMPARE(fixture.boxes.shown.size(), succeeds ? 0 : 1);
    if (!succeeds)
        QVERIFY(fixture.boxes.shown[0].prompt.contains(QStringLiteral("Form_Load at line 108")));
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillmark")); // start-up went on
}

void TestWindow::applicationTitle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("one word stays whole") << "Quillmark"
                                          << "Quillmark";
    QTest::newRow("35 characters lose the last word") << "Harrowmere Line List Compare Wizard"
                                                      << "Harrowmere Line List Compare";
    QTest::newRow("48 characters lose two words")
        << "Harrowmere Plain Text Line List Compare Pro Tool"
        << "Harrowmere Plain Text Line List Compare";
    QTest::newRow("short name still loses a word") << "Quill Mark"
                                                   << "Quill";
}

void TestWindow::applicationTitle()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitleFor(name), title);
}

namespace {
QString accessibleText(QObject* object, QAccessible::Text which)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(which) : QStringLiteral("(no interface)");
}
} // namespace

void TestWindow::accessibleNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inDescription");
    QTest::newRow("path field named by its frame") << "Text2"
                                                   << "Text File #2"
                                                   << "second file";
    QTest::newRow("browse button named by its field") << "PushButton3"
                                                      << "Browse for Text File #1"
                                                      << "first file";
    QTest::newRow("list named by its frame") << "ListView2"
                                             << "Lines In File 1 That Are Not In File 2"
                                             << "0 lines, 0 checked";
    QTest::newRow("save button tells its list") << "PushButton6"
                                                << "Save Results As Text File"
                                                << "Lines In File 2 That Are Not In File 1";
    QTest::newRow("copy button tells its list") << "PushButton8"
                                                << "Copy Results To Clipboard"
                                                << "Lines In Both Text Files";
    QTest::newRow("option") << "Check7"
                            << "Match Case"
                            << "letter case";
}

void TestWindow::accessibleNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, inDescription);
    WindowFixture fixture;
    auto form = fixture.window();
    auto* widget = form->findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(accessibleText(widget, QAccessible::Name), name);
    const QString description = accessibleText(widget, QAccessible::Description);
    QVERIFY2(description.contains(inDescription), qPrintable(description));
    // Every control that takes the focus has a name and a description.
    for (QWidget* each : form->findChildren<QWidget*>()) {
        if (each->focusPolicy() == Qt::NoFocus || each->objectName().isEmpty())
            continue;
        QVERIFY2(!accessibleText(each, QAccessible::Name).isEmpty(),
                 qPrintable(each->objectName()));
        QVERIFY2(!accessibleText(each, QAccessible::Description).isEmpty(),
                 qPrintable(each->objectName()));
    }
}

void TestWindow::listCountsAndCheckMarks()
{
    WindowFixture fixture;
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "a\nb\nc"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "b\nc\nd"));
    form->PushButton1->click();
    form->show(); // the rows are laid out for a shown list
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    ResultView* list = form->ListView1;
    QVERIFY(accessibleText(list, QAccessible::Description).startsWith("2 lines, 0 checked"));
    list->list().SetChecked(2, true);
    QVERIFY(accessibleText(list, QAccessible::Description).startsWith("2 lines, 1 checked"));
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(list)->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 2);
    QAccessibleInterface* first = table->cellAt(0, 0);
    QAccessibleInterface* second = table->cellAt(1, 0);
    QVERIFY(first && second);
    QCOMPARE(second->text(QAccessible::Name), QStringLiteral("c"));
    QVERIFY(first->state().checkable && !first->state().checked);
    QVERIFY(second->state().checkable && second->state().checked);
    form->PushButton7->click(); // Clear All Results
    QVERIFY(accessibleText(list, QAccessible::Description).startsWith("0 lines"));
}

void TestWindow::keyboardPressesButtons_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("Return") << "PushButton1" << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("keypad Enter") << "PushButton1" << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                  << true;
    QTest::newRow("Space") << "PushButton1" << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Ctrl+Return does not")
        << "PushButton1" << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
    QTest::newRow("Return on Help") << "PushButton11" << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Return in a path field does not")
        << "Text1" << int(Qt::Key_Return) << 0 << false;
}

void TestWindow::keyboardPressesButtons()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, pressed);
    WindowFixture fixture;
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "a\nb"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "b"));
    auto* widget = form->findChild<QWidget*>(control);
    QVERIFY(widget);
    QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const bool compared = form->ListView1->list().Count() > 0;
    const bool helped = !fixture.boxes.shown.isEmpty() &&
                        fixture.boxes.shown[0].prompt.startsWith(QStringLiteral("Questions?"));
    QCOMPARE(compared || helped, pressed);
}

void TestWindow::menuKeyOpensListMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << 0;
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void TestWindow::menuKeyOpensListMenu()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    WindowFixture fixture;
    auto form = fixture.window();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->ListView3->list().Add(QStringLiteral("x"));
    form->ListView3->setCurrentIndex(form->ListView3->model()->index(0, 0));
    QStringList shown;
    // The menu runs its own loop: read it and choose "Check All" from inside.
    QTimer::singleShot(0, [&shown] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                shown.append(action->text());
            menu->actions().first()->trigger();
            menu->close();
        }
    });
    QTest::keyClick(form->ListView3, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(shown, (QStringList{"Check All", "Uncheck All"}));
    QVERIFY(form->ListView3->list().IsChecked(1));
}

void TestWindow::commandLine_data()
{
    const QString here = QDir::currentPath();
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("ignored");
    const int open = int(CommandLine::Action::Open), help = int(CommandLine::Action::Help),
              version = int(CommandLine::Action::Version), error = int(CommandLine::Action::Error);
    QTest::newRow("nothing") << QStringList{} << open << QStringList{} << 0;
    QTest::newRow("two absolute") << QStringList{"/a/1.txt", "/b/2.txt"} << open
                                  << QStringList{"/a/1.txt", "/b/2.txt"} << 0;
    QTest::newRow("relative made absolute")
        << QStringList{"./x/../1.txt"} << open << QStringList{here + "/1.txt"} << 0;
    QTest::newRow("file URL") << QStringList{"file:///tmp/with%20blank.txt"} << open
                              << QStringList{"/tmp/with blank.txt"} << 0;
    QTest::newRow("more than two")
        << QStringList{"/1", "/2", "/3", "/4"} << open << QStringList{"/1", "/2"} << 2;
    QTest::newRow("empty name empties the field")
        << QStringList{"", "/2"} << open << QStringList{"", "/2"} << 0;
    QTest::newRow("after --, a dash is a name")
        << QStringList{"--", "-v"} << open << QStringList{here + "/-v"} << 0;
    QTest::newRow("help wins") << QStringList{"/1", "--help", "--bogus"} << help
                               << QStringList{"/1"} << 0;
    QTest::newRow("-h") << QStringList{"-h"} << help << QStringList{} << 0;
    QTest::newRow("--version") << QStringList{"--version"} << version << QStringList{} << 0;
    QTest::newRow("unknown option")
        << QStringList{"--bogus", "/1"} << error << QStringList{"/1"} << 0;
}

void TestWindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, files);
    QFETCH(int, ignored);
    const CommandLine parsed = ParseCommandLine(arguments);
    QCOMPARE(int(parsed.action), action);
    QCOMPARE(parsed.files, files);
    QCOMPARE(parsed.ignoredFiles, ignored);
    QCOMPARE(parsed.error.isEmpty(), action != int(CommandLine::Action::Error));
}

void TestWindow::givenFilesAreRemembered()
{
    WindowFixture fixture;
    SaveSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"), QStringLiteral("File2"),
                QStringLiteral("/kept.txt"));
    auto form = fixture.window();
    OpenGivenFiles(*form, {QStringLiteral("/given.txt")});
    QCOMPARE(form->Text1->text(), QStringLiteral("/given.txt"));
    QCOMPARE(form->Text2->text(), QStringLiteral("/kept.txt"));
    QCOMPARE(GetSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                        QStringLiteral("File1")),
             QStringLiteral("/given.txt"));
    QVERIFY(CommandLineHelp().contains(fixture.programPath()));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
