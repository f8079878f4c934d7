#include "compare/CompareProgress.h"
#include "desktop/BusyProgress.h"
#include "desktop/Clipboard.h"
#include "desktop/SettingsStore.h"
#include "desktop/SkinFramework.h"
#include "platform/AnsiCodec.h"
#include "platform/RuntimeError.h"
#include "shell/CommandLine.h"
#include "shell/ErrorTrap.h"
#include "shell/StartupRoutines.h"
#include "shell/TrappedApplication.h"
#include "shell/WorkerChain.h"
#include "tests/AccessibleEvents.h"
#include "tests/ListFiles.h"
#include "tests/WindowTestSupport.h"
#include "widgets/ChangedRows.h"
#include "widgets/ListCounts.h"
#include "widgets/NearMissDialog.h"
#include "widgets/OverlapBar.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <limits>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <thread>

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndNames();
    void grownLayout_data();
    void grownLayout();
    void maximised();
    void smallScreen_data();
    void smallScreen();
    void placementRestored_data();
    void placementRestored();
    void placementKept();
    void optionsPanel_data();
    void optionsPanel();
    void tabOrderAndFirstFocus_data();
    void tabOrderAndFirstFocus();
    void checksAndTheirOrder_data();
    void checksAndTheirOrder();
    void optionBoxes_data();
    void optionBoxes();
    void comparisonFillsTheLists_data();
    void comparisonFillsTheLists();
    void keyedComparison_data();
    void keyedComparison();
    void lockedFileAfterTheChecks_data();
    void lockedFileAfterTheChecks();
    void busyComparison_data();
    void busyComparison();
    void workerChainOrder_data();
    void workerChainOrder();
    void trapText();
    void trapResumesAndStaysArmed();
    void storedSettingsRead_data();
    void storedSettingsRead();
    void dataFolder_data();
    void dataFolder();
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
    void textPiecesAtEveryOffset_data();
    void textPiecesAtEveryOffset();
    void popupListOutsideItsRows_data();
    void popupListOutsideItsRows();
    void accessibleDetails_data();
    void accessibleDetails();
    void listCountsAndCheckMarks();
    void lineMarks_data();
    void lineMarks();
    void accessibleCells_data();
    void accessibleCells();
    void accessibleOutOfRange_data();
    void accessibleOutOfRange();
    void keyboardPressesButtons_data();
    void keyboardPressesButtons();
    void menuKeyOpensListMenu_data();
    void menuKeyOpensListMenu();
    void whyIsThisLineNotIn_data();
    void whyIsThisLineNotIn();
    void accessibleTree_data();
    void accessibleTree();
    void commandLine_data();
    void commandLine();
    void givenFilesAreRemembered();
    void stopSignalEndsTheProgram_data();
    void stopSignalEndsTheProgram();
    void realBox_data();
    void realBox();
    void hostileProgramFiles_data();
    void hostileProgramFiles();
    void untrappedFailureIsReported();
};

void TestWindow::layoutAndNames()
{
    WindowFixture fixture;
    auto form = fixture.window();
    QCOMPARE(form->size(), QSize(form->Px(8040), form->Px(10635)));
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillmark"));
    // The program's icon, from the images it ships.
    QList<int> iconSizes;
    for (const QSize& size : form->windowIcon().availableSizes())
        iconSizes.append(size.width());
    std::sort(iconSizes.begin(), iconSizes.end());
    QCOMPARE(iconSizes, (QList<int>{32, 48, 128, 256}));
    // The application title lives with the program: the toolkit, which would
    // add its display name to every title bar ("Save — Quillmark"), never has one.
    QCOMPARE(AppTitle(), QStringLiteral("Quillmark"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QVERIFY(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form->minimumSize(), form->size());
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
        {"Text2", 240, 300, 5625, 345, nullptr},
        {"PushButton14", 5985, 300, 855, 345, "Paste"},
        {"Frame2", 120, 5760, 7800, 2055, "Lines In File 1 That Are Not In File 2"},
        {"ListView3", 240, 300, 7320, 1095, nullptr},
        {"PushButton10", 3960, 1485, 3600, 405, "Copy Results To Clipboard"},
        {"PushButton7", 120, 10110, 7800, 405, "Clear All Results"},
        {"Check7", 360, 300, 1335, 285, "Match Case"},
        {"Check8", 1935, 300, 2880, 285, "Ignore Blanks At Line Ends"},
        {"Check9", 5055, 300, 2250, 285, "List Each Line Once"},
        {"Frame5", 120, 2325, 7800, 705, "Compare Options"},
        {"PushButton1", 120, 3150, 3840, 405, "Start Comparing"},
        {"Overlap1", 4080, 3150, 3840, 405, nullptr},
    };
    for (const auto& e : expected) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(e.name));
        QVERIFY2(widget, e.name);
        QCOMPARE(widget->geometry(),
                 QRect(form->Px(e.left), form->Px(e.top), form->Px(e.width), form->Px(e.height)));
        if (qobject_cast<QPushButton*>(widget) || qobject_cast<QToolButton*>(widget))
            QCOMPARE(static_cast<QAbstractButton*>(widget)->text(), QLatin1String(e.caption));
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(frame->title(), QLatin1String(e.caption));
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            QCOMPARE(box->text(), QLatin1String(e.caption));
            QCOMPARE(box->parentWidget(), form->Frame5);
            // The new captions fit whole (Match Case has its designed width).
            QVERIFY2(box == form->Check7 || box->sizeHint().width() <= box->width(), e.name);
        }
    }
    // No overlap to show before a comparison.
    QVERIFY(!form->Overlap1->isVisibleTo(form.get()));
    QCOMPARE(form->Panes[0]->View->parentWidget(), form->Panes[0]);
    QCOMPARE(form->Text1->parentWidget(), form->Frame6);
    QCOMPARE(form->PushButton1->font().pointSizeF(), 11.25);
    QVERIFY(form->Check7->font().bold());
    // Each list has its one column "Result(s)", 6300 twips wide.
    for (ResultView* view : {form->Panes[0]->View, form->Panes[1]->View, form->Panes[2]->View}) {
        QCOMPARE(view->list().ColumnCount(), 1);
        QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Result(s)"));
        QCOMPARE(view->columnWidth(0), form->Px(6300));
        QCOMPARE(view->list().Count(), 0);
    }
    // It cannot be made smaller than designed, and back at that size every
    // control is where it was.
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    // More Options ends where the frame's boxes do, as wide as its skinned caption.
    QCOMPARE(form->Toggle1->text(), QStringLiteral("&More Options"));
    QCOMPARE(form->Toggle1->geometry().right() + 1, form->Px(7560));
    QCOMPARE(form->Toggle1->geometry().top(), 0);
    QCOMPARE(form->Toggle1->width(), form->Toggle1->sizeHint().width());
    const QRect before = form->PushButton7->geometry();
    form->resize(300, 300);
    QCOMPARE(form->size(), form->minimumSize());
    form->resize(form->width() + 250, form->height() + 120);
    form->resize(form->minimumSize());
    QCOMPARE(form->PushButton7->geometry(), before);
    QCOMPARE(form->Panes[1]->View->columnWidth(0), form->Px(6300));
}

// Made larger by (wider, taller) pixels, a control moves and grows by
// (dx, dy, dw, dh) from its designed place.
void TestWindow::grownLayout_data()
{
    QTest::addColumn<QSize>("larger");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("change"); // dx, dy, dw, dh
    auto row = [](const char* name, int wider, int taller, const char* control, int dx, int dy,
                  int dw, int dh) {
        QTest::newRow(name) << QSize(wider, taller) << QString::fromLatin1(control)
                            << QRect(dx, dy, dw, dh);
    };
    row("path field widens", 300, 0, "Text1", 0, 0, 300, 0);
    row("its frame widens", 300, 0, "Frame6", 0, 0, 300, 0);
    row("browse button follows the edge", 300, 0, "PushButton4", 300, 0, 0, 0);
    row("paste button follows the edge", 300, 0, "PushButton13", 300, 0, 0, 0);
    row("Help takes the left half", 301, 0, "PushButton11", 0, 0, 150, 0);
    row("samples take the right half", 301, 0, "PushButton12", 150, 0, 151, 0);
    row("options stay", 300, 90, "Check9", 0, 0, 0, 0);
    row("More Options follows the edge", 300, 90, "Toggle1", 300, 0, 0, 0);
    row("key pattern widens", 300, 90, "Text3", 0, 0, 300, 0);
    row("Start Comparing takes the left half", 301, 90, "PushButton1", 0, 0, 150, 0);
    row("the overlap takes the right half", 301, 90, "Overlap1", 150, 0, 151, 0);
    row("list 1 grows by a third", 0, 91, "ListView1", 0, 0, 0, 30);
    row("frame 2 moves and grows", 0, 91, "Frame2", 0, 30, 0, 30);
    row("frame 3 takes the rest", 0, 91, "Frame3", 0, 60, 0, 31);
    row("list 3's buttons follow its bottom", 0, 91, "PushButton10", 0, 31, 0, 0);
    row("save 2 takes the left half", 300, 90, "PushButton5", 0, 30, 150, 0);
    row("copy 2 takes the right half", 300, 90, "PushButton9", 150, 30, 150, 0);
    row("Clear All follows the bottom", 300, 91, "PushButton7", 0, 91, 300, 0);
}

void TestWindow::grownLayout()
{
    QFETCH(QSize, larger);
    QFETCH(QString, name);
    QFETCH(QRect, change);
    WindowFixture fixture;
    auto form = fixture.window();
    auto* control = form->findChild<QWidget*>(name);
    QVERIFY(control);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QRect designed = control->geometry();
    const QSize size = form->size();
    form->resize(size + larger);
    QCOMPARE(control->geometry(),
             QRect(designed.x() + change.x(), designed.y() + change.y(),
                   designed.width() + change.width(), designed.height() + change.height()));
    // The columns widen with the lists.
    QCOMPARE(form->Panes[2]->View->columnWidth(0), form->Px(6300) + larger.width());
    // Nothing overlaps, and everything stays inside its container.
    for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QList<QWidget*> inside = w->findChildren<QWidget*>(
            QRegularExpression(QStringLiteral("^(Text|PushButton|ListView|Check)\\d+$")),
            Qt::FindDirectChildrenOnly);
        for (QWidget* part : inside)
            QVERIFY2(w->rect().contains(part->geometry()), qPrintable(part->objectName()));
        if (!w->objectName().isEmpty() && !w->isWindow())
            QVERIFY2(form->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
    const QList<QWidget*> rows = {form->PushButton11, form->Frame6,      form->Frame4,
                                  form->Frame5,       form->PushButton1, form->Panes[0],
                                  form->Panes[1],     form->Panes[2],    form->PushButton7};
    for (int i = 0; i + 1 < rows.size(); ++i)
        QVERIFY2(rows[i]->geometry().bottom() < rows[i + 1]->geometry().top(),
                 qPrintable(rows[i]->objectName()));
}

void TestWindow::maximised()
{
    WindowFixture fixture;
    auto form = fixture.window();
    form->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_VERIFY(form->isMaximized());
    QVERIFY(form->width() > form->minimumWidth());
    // The three lists share the extra height, and the margins stay.
    const int heights[] = {form->Panes[0]->View->height(), form->Panes[1]->View->height(),
                           form->Panes[2]->View->height()};
    QVERIFY(heights[0] > form->Px(1095));
    QVERIFY(heights[2] - heights[0] <= 2 && heights[1] == heights[0]);
    QCOMPARE(form->height() - form->PushButton7->geometry().bottom() - 1, form->Px(120));
    QCOMPARE(form->width() - form->Panes[2]->geometry().right() - 1, form->Px(120));
    form->showNormal();
    QTRY_COMPARE(form->Panes[0]->View->height(), form->Px(1095));
}

namespace {

// The test screens: the offscreen platform's usual one first, then screens
// side by side, their work areas as their names say.
const QByteArray kTestScreens = R"({"screens": [
    {"name": "", "x": 0, "y": 0, "width": 800, "height": 800},
    {"name": "1366x768", "x": 800, "y": 0, "width": 1366, "height": 768},
    {"name": "1024x700", "x": 2166, "y": 0, "width": 1024, "height": 700},
    {"name": "1024x660", "x": 3190, "y": 0, "width": 1024, "height": 660},
    {"name": "800x400", "x": 4214, "y": 0, "width": 800, "height": 400},
    {"name": "1280x1024", "x": 5014, "y": 0, "width": 1280, "height": 1024},
    {"name": "960x540", "x": 6294, "y": 0, "width": 960, "height": 540}
]})";

QScreen* testScreen(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

// Every named control's place, and the window's size and minimum size.
QMap<QString, QRect> placesOf(Form1& form);

} // namespace

// On a screen with less room than the designed size, the window opens whole
// on it, title bar included: the lists give up height down to three rows
// each, then the gaps between the rows; the controls keep their order.
void TestWindow::smallScreen_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("how"); // "opens there", "moved there", "options open"
    QTest::addColumn<QString>("fit"); // "designed", "on screen", "scrolls"
    QTest::newRow("1366x768: as designed") << "1366x768"
                                           << "opens there"
                                           << "designed";
    QTest::newRow("1366x768, options: lists give") << "1366x768"
                                                   << "options open"
                                                   << "on screen";
    QTest::newRow("1024x700: lists give") << "1024x700"
                                          << "opens there"
                                          << "on screen";
    QTest::newRow("1024x660: gaps give too") << "1024x660"
                                             << "opens there"
                                             << "on screen";
    QTest::newRow("1024x660, moved there") << "1024x660"
                                           << "moved there"
                                           << "on screen";
    QTest::newRow("1024x700, options: top stays") << "1024x700"
                                                  << "options open"
                                                  << "least";
    QTest::newRow("800x400: controls scroll") << "800x400"
                                              << "opens there"
                                              << "scrolls";
    QTest::newRow("960x540 (200 % of 1080): controls scroll") << "960x540"
                                                              << "opens there"
                                                              << "scrolls";
    QTest::newRow("960x540, options: controls scroll") << "960x540"
                                                       << "options open"
                                                       << "scrolls";
    // A comparison on a key adds the fourth list's band.
    QTest::newRow("1366x768, four lists: lists give") << "1366x768"
                                                      << "four lists"
                                                      << "on screen";
    QTest::newRow("1024x700 (150 % of 1080), four lists") << "1024x700"
                                                          << "four lists"
                                                          << "on screen";
}

void TestWindow::smallScreen()
{
    QFETCH(QString, screen);
    QFETCH(QString, how);
    QFETCH(QString, fit);
    QScreen* where = testScreen(screen);
    QVERIFY2(where, "run on the offscreen platform for its test screens");
    WindowFixture fixture;
    QMap<QString, QRect> designed;
    {
        auto usual = fixture.window();
        usual->show();
        QVERIFY(QTest::qWaitForWindowExposed(usual.get()));
        if (how == QLatin1String("options open"))
            usual->Toggle1->click();
        if (how == QLatin1String("four lists"))
            compareOnKey(fixture, *usual);
        designed = placesOf(*usual);
    }
    auto form = fixture.window();
    if (how == QLatin1String("moved there")) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->setScreen(where);
        form->move(where->availableGeometry().topLeft());
    } else {
        // A window opens on the screen that holds its place.
        form->move(where->geometry().topLeft());
        form->show();
    }
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->screen(), where);
    if (how == QLatin1String("options open"))
        form->Toggle1->click();
    if (how == QLatin1String("four lists"))
        compareOnKey(fixture, *form);
    QVERIFY(form->Panel1->isVisible() == (how == QLatin1String("options open")));
    QCOMPARE(form->shownPanes().size(), how == QLatin1String("four lists") ? 4u : 3u);
    const QRect area = where->availableGeometry();
    const QRect frame = form->frameGeometry();
    if (fit == QLatin1String("designed")) {
        // Nothing moves on a screen with room for the designed size.
        const QMap<QString, QRect> places = placesOf(*form);
        for (auto it = designed.begin(); it != designed.end(); ++it)
            QVERIFY2(places.value(it.key()) == it.value(), qPrintable(it.key()));
    } else {
        QVERIFY(form->height() < designed[QStringLiteral("(window)")].height());
    }
    auto* scroll = form->findChild<QScrollBar*>(QStringLiteral("WindowScroll"));
    QVERIFY(scroll);
    QCOMPARE(scroll->isVisible(), fit == QLatin1String("scrolls"));
    if (fit == QLatin1String("scrolls")) {
        // No room for the least height: the window fits the screen, and
        // its controls scroll, Clear All Results last.
        QVERIFY(area.contains(frame));
        QVERIFY(!form->rect().contains(form->PushButton7->geometry()));
        form->PushButton7->setFocus();
        QVERIFY(form->rect().contains(form->PushButton7->geometry()));
        form->Text1->setFocus();
        QVERIFY(form->Text1->mapTo(form.get(), QPoint()).y() >= 0);
    } else {
        QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                      .arg(frame.x())
                                                      .arg(frame.y())
                                                      .arg(frame.width())
                                                      .arg(frame.height())));
    }
    // Each list shows three rows at least (two of four lists, or with the panel open), and
    // the rows keep their order.
    QList<QWidget*> rows = {form->PushButton11, form->Frame6, form->Frame4, form->Frame5,
                            form->PushButton1};
    for (ResultPane* pane : form->shownPanes()) {
        // A band shown just now drops its scroll bar once the events run.
        QTRY_VERIFY2(pane->View->viewport()->height() >=
                         (form->shownPanes().size() > 3 || form->Panel1->isVisible() ? 2 : 3) *
                             pane->View->rowHeight(),
                     qPrintable(pane->View->objectName()));
        rows.append(pane);
    }
    rows.append(form->PushButton7);
    for (int i = 0; i + 1 < rows.size(); ++i)
        QVERIFY2(rows[i]->geometry().bottom() < rows[i + 1]->geometry().top(),
                 qPrintable(rows[i]->objectName()));
    scroll->setValue(scroll->maximum());
    QVERIFY(form->rect().contains(form->PushButton7->geometry()));
    for (QGroupBox* box : form->shownPanes())
        for (QWidget* part : box->findChildren<QWidget*>(
                 QRegularExpression(QStringLiteral("^(PushButton|ListView)\\d+$"))))
            QVERIFY2(box->rect().contains(part->geometry()), qPrintable(part->objectName()));
    QVERIFY(form->Frame5->rect().contains(form->Panel1->geometry()) || !form->Panel1->isVisible());
    // Back on the usual screen, the minimum is the designed size again.
    form->setScreen(QGuiApplication::primaryScreen());
    QTRY_COMPARE(form->minimumHeight(), designed[QStringLiteral("(minimum)")].height());
}

void TestWindow::placementRestored_data()
{
    QTest::addColumn<QStringList>("saved"); // left, top, width, height, maximised, screen
    QTest::addColumn<QRect>("expected");    // empty: the designed size, centred
    QTest::addColumn<bool>("maximised");
    const QString screen = QGuiApplication::primaryScreen()->name();
    QTest::newRow("nothing saved") << QStringList() << QRect() << false;
    QTest::newRow("back where it was")
        << QStringList{"40", "30", "600", "740", "0", screen} << QRect(40, 30, 600, 740) << false;
    QTest::newRow("maximised") << QStringList{"40", "30", "600", "740", "1", screen}
                               << QRect(40, 30, 600, 740) << true;
    QTest::newRow("partly off the screen")
        << QStringList{"400", "30", "600", "740", "0", screen} << QRect() << false;
    QTest::newRow("smaller than designed")
        << QStringList{"40", "30", "300", "300", "0", screen} << QRect() << false;
    QTest::newRow("on a screen that is gone")
        << QStringList{"40", "30", "600", "740", "0", "HDMI-9"} << QRect() << false;
    QTest::newRow("not numbers") << QStringList{"40", "x", "600", "740", "0", screen} << QRect()
                                 << false;
}

void TestWindow::placementRestored()
{
    QFETCH(QStringList, saved);
    QFETCH(QRect, expected);
    QFETCH(bool, maximised);
    WindowFixture fixture;
    const char* keys[] = {"WindowLeft",   "WindowTop",       "WindowWidth",
                          "WindowHeight", "WindowMaximized", "WindowScreen"};
    for (int i = 0; i < saved.size(); ++i)
        SaveSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                    QLatin1String(keys[i]), saved[i]);
    auto form = fixture.window();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(fixture.boxes.shown.isEmpty());
    if (maximised) {
        QTRY_VERIFY(form->isMaximized());
        QCOMPARE(form->normalGeometry(), expected);
    } else if (!expected.isEmpty()) {
        QCOMPARE(form->geometry(), expected);
    } else {
        QCOMPARE(form->size(), form->minimumSize());
        const QPoint middle = form->screen()->availableGeometry().center();
        QVERIFY2((form->frameGeometry().center() - middle).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(form->x()).arg(form->y())));
    }
    QVERIFY(!form->isMaximized() || maximised);
}

void TestWindow::placementKept()
{
    WindowFixture fixture;
    {
        auto form = fixture.window();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->setGeometry(50, 20, 620, 760);
        QTRY_COMPARE(form->geometry(), QRect(50, 20, 620, 760));
        // Kept once the moves settle, without waiting for the window to close.
        QTRY_COMPARE(GetSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                                QStringLiteral("WindowWidth")),
                     QStringLiteral("620"));
        form->showMaximized();
        QTRY_VERIFY(form->isMaximized());
        form->close();
        QCOMPARE(GetSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                            QStringLiteral("WindowMaximized")),
                 QStringLiteral("1"));
    }
    auto again = fixture.window();
    again->show();
    QTRY_VERIFY(again->isMaximized());
    QCOMPARE(again->normalGeometry(), QRect(50, 20, 620, 760));
    // The paths are still where they were: the new keys sit beside them.
    QSettings ini(fixture.settingsFile(), QSettings::IniFormat);
    QVERIFY(ini.childGroups().contains(QStringLiteral("Quillmark")));
    QCOMPARE(ini.value(QStringLiteral("Quillmark/WindowLeft")).toString(), QStringLiteral("50"));
}

namespace {

// Sets one of the window's options as written in a test table: "Spin1=3",
// "Combo1=Tab" (a choice, or else typed), "Text3=(\\w+)", "Check10=1" (2 grays it).
void setOption(Form1& form, const QString& setting)
{
    const QString name = setting.section(QLatin1Char('='), 0, 0);
    const QString value = setting.section(QLatin1Char('='), 1);
    QWidget* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(value.toInt());
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int choice = combo->findText(value);
        if (choice >= 0)
            combo->setCurrentIndex(choice);
        else
            combo->setEditText(value);
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(value);
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setTristate(value == QLatin1String("2"));
        box->setCheckState(value == QLatin1String("1")   ? Qt::Checked
                           : value == QLatin1String("2") ? Qt::PartiallyChecked
                                                         : Qt::Unchecked);
    }
}

// The options that differ from the defaults, in a fixed order.
QString changedOptions(const CompareOptions& options)
{
    const CompareOptions plain;
    QStringList out;
    auto flag = [&](const char* name, bool value, bool usual) {
        if (value != usual)
            out.append(QLatin1String(name));
    };
    flag("matchCase", options.matchCase, plain.matchCase);
    flag("ignoreBlanks", options.ignoreBlanks, plain.ignoreBlanks);
    flag("eachOnce", options.eachOnce, plain.eachOnce);
    if (options.field != plain.field)
        out.append(QStringLiteral("field=%1").arg(options.field));
    if (options.delimiter != plain.delimiter)
        out.append(QStringLiteral("delimiter=[%1]").arg(options.delimiter));
    if (options.keyPattern != plain.keyPattern)
        out.append(QStringLiteral("keyPattern=%1").arg(options.keyPattern));
    flag("lookAlike", options.lookAlike, plain.lookAlike);
    flag("skipEmpty", options.skipEmpty, plain.skipEmpty);
    return out.join(QLatin1Char(' '));
}

QMap<QString, QRect> placesOf(Form1& form)
{
    QMap<QString, QRect> places;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (!w->objectName().isEmpty())
            places.insert(w->objectName(), w->geometry());
    places.insert(QStringLiteral("(window)"), QRect(QPoint(), form.size()));
    places.insert(QStringLiteral("(minimum)"), QRect(QPoint(), form.minimumSize()));
    return places;
}

} // namespace

void TestWindow::optionsPanel_data()
{
    QTest::addColumn<QSize>("larger"); // than designed, before the panel opens
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<QString>("how"); // "click", "Space", "Alt+M"
    QTest::newRow("designed size, clicked") << QSize() << false << "click";
    QTest::newRow("designed size, Space") << QSize() << false << "Space";
    QTest::newRow("designed size, Alt+M") << QSize() << false << "Alt+M";
    // Taller than the screen has room for below it: the lists give up some height.
    QTest::newRow("larger") << QSize(100, 260) << false << "click";
    QTest::newRow("maximised") << QSize() << true << "click";
}

void TestWindow::optionsPanel()
{
    QFETCH(QSize, larger);
    QFETCH(bool, maximised);
    QFETCH(QString, how);
    WindowFixture fixture;
    auto form = fixture.window();
    // A screen with room for the open panel at the designed size.
    form->move(testScreen(QStringLiteral("1280x1024"))->geometry().topLeft());
    form->resize(form->size() + larger);
    if (maximised)
        form->showMaximized();
    else
        form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_COMPARE(form->isMaximized(), maximised);
    const QMap<QString, QRect> before = placesOf(*form);
    const QPoint where = form->pos();
    const int listsBefore = form->Panes[0]->View->height() + form->Panes[1]->View->height() +
                            form->Panes[2]->View->height();
    auto toggle = [&] {
        if (how == QLatin1String("click"))
            QTest::mouseClick(form->Toggle1, Qt::LeftButton);
        else if (how == QLatin1String("Space"))
            QTest::keyClick(form->Toggle1, Qt::Key_Space);
        else
            QTest::keyClick(form.get(), Qt::Key_M, Qt::AltModifier);
    };
    QVERIFY(!form->Panel1->isVisible());
    toggle();
    QTRY_VERIFY(form->Toggle1->isChecked());
    QVERIFY(form->Panel1->isVisible());

    const int panel = form->Px(1620);
    QCOMPARE(form->Frame5->height(), form->Px(705) + panel);
    QCOMPARE(form->minimumHeight(), form->Px(10635) + panel);
    QVERIFY(form->Frame5->rect().contains(form->Panel1->geometry()));
    const int grew = form->height() - before[QStringLiteral("(window)")].height();
    const int listsNow = form->Panes[0]->View->height() + form->Panes[1]->View->height() +
                         form->Panes[2]->View->height();
    // What the window did not grow by, the lists gave up; never below their designed height.
    QCOMPARE(listsNow, listsBefore - (panel - grew));
    QVERIFY(form->Panes[0]->View->height() >= form->Px(1095));
    if (maximised)
        QCOMPARE(grew, 0);
    else if (larger.isEmpty())
        QCOMPARE(grew, panel);
    else
        QVERIFY(form->screen()->availableGeometry().contains(form->frameGeometry()));
    // Above the panel nothing moved; below it everything moved down by the panel.
    QCOMPARE(form->Check9->geometry(), before[QStringLiteral("Check9")]);
    QCOMPARE(form->PushButton1->geometry(),
             before[QStringLiteral("PushButton1")].translated(0, panel));
    const QList<QWidget*> rows = {form->Frame5,   form->PushButton1, form->Panes[0],
                                  form->Panes[1], form->Panes[2],    form->PushButton7};
    for (int i = 0; i + 1 < rows.size(); ++i)
        QVERIFY2(rows[i]->geometry().bottom() < rows[i + 1]->geometry().top(),
                 qPrintable(rows[i]->objectName()));
    QCOMPARE(form->height() - form->PushButton7->geometry().bottom() - 1, form->Px(120));
    // The panel's controls lie inside it and apart, their captions whole.
    const QList<QWidget*> parts = form->Panel1->findChildren<QWidget*>(
        QRegularExpression(QStringLiteral("^(Label|Spin|Combo|Text|Check)\\d+$")),
        Qt::FindDirectChildrenOnly);
    QCOMPARE(parts.size(), 11);
    for (QWidget* part : parts) {
        QVERIFY2(form->Panel1->rect().contains(part->geometry()), qPrintable(part->objectName()));
        QVERIFY2(part->sizeHint().width() <= part->width() || qobject_cast<QLineEdit*>(part),
                 qPrintable(part->objectName()));
        for (QWidget* other : parts)
            QVERIFY2(other == part || !other->geometry().intersects(part->geometry()),
                     qPrintable(part->objectName() + QLatin1Char('/') + other->objectName()));
    }
    // The toggle's caption fits, also when it tells of options set.
    QVERIFY(form->Toggle1->sizeHint().width() <= form->Toggle1->width());

    toggle();
    QTRY_VERIFY(!form->Toggle1->isChecked());
    QVERIFY(!form->Panel1->isVisible());
    // Closed again, the window is exactly as it was.
    const QMap<QString, QRect> after = placesOf(*form);
    for (auto it = before.begin(); it != before.end(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    QCOMPARE(form->pos(), where);
    // Options set in the closed panel show in its toggle, which keeps its right end.
    form->Text3->setText(QStringLiteral("x"));
    QCOMPARE(form->Toggle1->text(), QStringLiteral("&More Options (set)"));
    QCOMPARE(form->Toggle1->width(), form->Toggle1->sizeHint().width());
    QCOMPARE(form->Toggle1->geometry().right(), before[QStringLiteral("Toggle1")].right());
}

void TestWindow::tabOrderAndFirstFocus_data()
{
    QTest::addColumn<bool>("open"); // the More Options panel
    QTest::addColumn<QStringList>("order");
    const QStringList start = {
        "ListView1",   "ListView2", "ListView3",    "PushButton1", "PushButton2", "PushButton5",
        "PushButton6", "Text1",     "PushButton13", "PushButton3", "Text2",       "PushButton14",
        "PushButton4", "Check7",    "Check8",       "Check9",      "Toggle1"};
    const QStringList end = {"PushButton7",  "PushButton8",  "PushButton9",
                             "PushButton10", "PushButton11", "PushButton12"};
    QTest::newRow("panel closed") << false << start + end;
    QTest::newRow("panel open") << true
                                << start + QStringList{"Spin1", "Combo1",  "Check12", "Text4",
                                                       "Text3", "Check10", "Check11"} +
                                       end;
}

void TestWindow::tabOrderAndFirstFocus()
{
    QFETCH(bool, open);
    QFETCH(QStringList, order);
    WindowFixture fixture;
    auto form = fixture.window();
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Panes[0]->View));
    form->Toggle1->setChecked(open);
    QStringList walked;
    QWidget* w = form->Panes[0]->View;
    for (int i = 0; i < order.size(); ++i) {
        walked.append(w->objectName());
        // A box's own text field takes the focus for it.
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(form.get()) ||
               w->objectName().isEmpty() || w->focusProxy() ||
               w->objectName() == QLatin1String("qt_spinbox_lineedit"));
    }
    QCOMPARE(walked, order);
    QCOMPARE(w->objectName(), QStringLiteral("ListView1")); // and round again
}

void TestWindow::checksAndTheirOrder_data()
{
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::addColumn<QString>("message");     // the options' problem: what it must name
    QTest::addColumn<QStringList>("options"); // set before Start Comparing
    QTest::addColumn<int>("style");
    auto row = [](const char* name, const char* one, const char* two, const char* message,
                  const QStringList& options = {}, int style = kOkOnly) {
        QTest::newRow(name) << one << two << message << options << style;
    };
    row("both empty", "", "", "You forgot to input file #1.");
    row("1 missing, 2 empty", "missing", "", "You forgot to input file #2.");
    row("1 missing", "missing", "good", "File #1 not found.");
    row("1 blanks", "   ", "good", "File #1 not found.");
    row("1 a folder", "folder", "good", "File #1 not found.");
    row("2 missing", "good", "missing", "File #2 not found.");
    // The look-up takes the name as written; a pattern that would match
    // good.txt does not count as file 1 and then read as missing.
    row("1 a pattern", "g*.txt", "good", "File #1 not found.");
    row("2 a ? pattern", "good", "goo?.txt", "File #2 not found.");
    row("2 a device", "good", "/dev/null", "File #2 not found.");
    // Options that cannot be used are named once the files are there.
    row("field and pattern", "good", "good", "key field and a key pattern",
        {"Spin1=2", "Text3=^(\\w+)"}, kExclamation);
    row("pattern that does not compile", "good", "good", "\"a(b\"|missing closing parenthesis",
        {"Text3=a(b"}, kExclamation);
    row("delimiter of two characters", "good", "good", "one character", {"Spin1=2", "Combo1=::"},
        kExclamation);
    row("files first", "missing", "good", "File #1 not found.", {"Spin1=2", "Text3=(a"});
    row("names without the header line", "good", "good", "only when the first line names them",
        {"Spin1=id"}, kExclamation);
    row("a key field ignored", "good", "good", "Field 3 is part of the key",
        {"Spin1=1,3", "Text4=3"}, kExclamation);
    row("field 0", "good", "good", "number from 1 up", {"Spin1=0"}, kExclamation);
}

void TestWindow::checksAndTheirOrder()
{
    QFETCH(QString, one);
    QFETCH(QString, two);
    QFETCH(QString, message);
    QFETCH(QStringList, options);
    QFETCH(int, style);
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
        if (what.contains(QLatin1Char('*')) || what.contains(QLatin1Char('?')))
            return fixture.scratchPath() + QLatin1Char('/') + what;
        return what;
    };
    form->Panes[1]->View->list().AddAt(-1, QStringLiteral("earlier result"));
    form->Text1->setText(path(one));
    form->Text2->setText(path(two));
    for (const QString& setting : options)
        setOption(*form, setting);
    form->PushButton1->click();
    QCOMPARE(fixture.boxes.shown.size(), 1);
    const QString& prompt = fixture.boxes.shown[0].prompt;
    if (style == kExclamation) {
        QCOMPARE(prompt, CompareOptionsProblem(form->CurrentCompareOptions()));
        for (const QString& part : message.split(QLatin1Char('|')))
            QVERIFY2(prompt.contains(part), qPrintable(prompt));
    } else {
        QCOMPARE(prompt, message);
    }
    QCOMPARE(fixture.boxes.shown[0].style, style);
    QCOMPARE(fixture.boxes.shown[0].title, QStringLiteral("Quillmark"));
    QCOMPARE(itemsOf(form->Panes[1]->View->list()), QStringList{"earlier result"});
    QCOMPARE(form->MousePointer(), 0);
}

void TestWindow::optionBoxes_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("options"); // those that differ from the defaults
    QTest::addColumn<bool>("marked");     // the closed panel's toggle tells of them
    QTest::newRow("nothing set") << QStringList() << "" << false;
    QTest::newRow("Match Case") << QStringList{"Check7=2"} << "" << false; // grayed: not checked
    QTest::newRow("Ignore Blanks") << QStringList{"Check8=1"} << "ignoreBlanks" << false;
    QTest::newRow("List Each Line Once") << QStringList{"Check9=1"} << "eachOnce" << false;
    QTest::newRow("field 3") << QStringList{"Spin1=3"} << "field=3" << true;
    QTest::newRow("field with Tab")
        << QStringList{"Spin1=2", "Combo1=Tab"} << "field=2 delimiter=[\t]" << true;
    QTest::newRow("Space: runs of blanks")
        << QStringList{"Combo1=Space"} << "delimiter=[ ]" << false;
    QTest::newRow("semicolon") << QStringList{"Combo1=;"} << "delimiter=[;]" << false;
    QTest::newRow("bar") << QStringList{"Combo1=|"} << "delimiter=[|]" << false;
    QTest::newRow("a typed character") << QStringList{"Combo1=:"} << "delimiter=[:]" << false;
    QTest::newRow("key pattern") << QStringList{"Text3=^(\\w+)@"} << "keyPattern=^(\\w+)@" << true;
    QTest::newRow("Look-Alike") << QStringList{"Check10=1"} << "lookAlike" << true;
    QTest::newRow("Look-Alike grayed") << QStringList{"Check10=2"} << "" << false;
    QTest::newRow("Skip Empty") << QStringList{"Check11=1"} << "skipEmpty" << true;
}

void TestWindow::optionBoxes()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, options);
    QFETCH(bool, marked);
    WindowFixture fixture;
    auto form = fixture.window();
    for (const QString& setting : settings)
        setOption(*form, setting);
    QCOMPARE(changedOptions(form->CurrentCompareOptions()), options);
    QCOMPARE(form->Toggle1->text().endsWith(QLatin1String("(set)")), marked);
    // Open, the panel shows them itself.
    form->Toggle1->setChecked(true);
    QCOMPARE(form->Toggle1->text(), QStringLiteral("&More Options"));
    QCOMPARE(changedOptions(form->CurrentCompareOptions()), options);
}

void TestWindow::comparisonFillsTheLists_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QList<QStringList>>("lists");
    QTest::addColumn<QStringList>("counts"); // on the three frames
    // The overlap bar: distinct lines only in file 1, in both, only in file 2.
    QTest::addColumn<QList<int>>("overlap");
    QTest::addColumn<QString>("share");
    QTest::newRow("case ignored") << false
                                  << QList<QStringList>{{"Apple", "fig", "fig", ""},
                                                        {"kiwi"},
                                                        {"plum"}}
                                  << QStringList{"4 lines", "1 line", "1 line"}
                                  << QList<int>{1, 3, 1} << "60 %";
    QTest::newRow("Match Case") << true
                                << QList<QStringList>{{"fig", "fig", ""},
                                                      {"Apple", "kiwi"},
                                                      {"apple", "plum"}}
                                << QStringList{"3 lines", "2 lines", "2 lines"}
                                << QList<int>{2, 2, 2} << "33 %";
}

void TestWindow::comparisonFillsTheLists()
{
    QFETCH(bool, matchCase);
    QFETCH(QList<QStringList>, lists);
    QFETCH(QStringList, counts);
    QFETCH(QList<int>, overlap);
    QFETCH(QString, share);
    WindowFixture fixture;
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "Apple\r\nfig\r\nkiwi\r\nfig\r\n"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "fig\r\napple\r\nplum\r\n"));
    form->Check7->setChecked(matchCase);
    form->PushButton1->click();
    QVERIFY(fixture.boxes.shown.isEmpty());
    QCOMPARE(itemsOf(form->Panes[0]->View->list()), lists[0]);
    QCOMPARE(itemsOf(form->Panes[1]->View->list()), lists[1]);
    QCOMPARE(itemsOf(form->Panes[2]->View->list()), lists[2]);
    QCOMPARE(form->MousePointer(), 0);
    QCOMPARE(form->Panes[0]->View->model()->rowCount(), lists[0].size());
    QCOMPARE((QStringList{form->Panes[0]->Counts->text(), form->Panes[1]->Counts->text(),
                          form->Panes[2]->Counts->text()}),
             counts);
    QVERIFY(form->Overlap1->isVisibleTo(form.get()));
    const DistinctCounts distinct = *form->Overlap1->Counts();
    QCOMPARE((QList<int>{int(distinct.file1 - distinct.both), int(distinct.both),
                         int(distinct.file2 - distinct.both)}),
             overlap);
    QCOMPARE(SharePercent(distinct), share);
    QCOMPARE(form->Overlap1->accessibleDescription(),
             QStringLiteral("%1 distinct lines only in file 1, %2 in both, %3 only in file 2; %4 "
                            "of distinct lines in common")
                 .arg(overlap[0])
                 .arg(overlap[1])
                 .arg(overlap[2])
                 .arg(share));
    QCOMPARE(form->Overlap1->accessibleName(), QStringLiteral("Overlap of the two files"));
    // A grayed box is not "checked": the comparison ignores case then.
    form->Check7->setTristate(true);
    form->Check7->setCheckState(Qt::PartiallyChecked);
    form->PushButton1->click();
    QCOMPARE(itemsOf(form->Panes[1]->View->list()), QStringList{"kiwi"});
}

void TestWindow::keyedComparison_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("changed");  // the fourth list; empty: hidden, or an error
    QTest::addColumn<QString>("words");        // what its first line says changed
    QTest::addColumn<QStringList>("outlined"); // the parts of that line and its partner outlined
    QTest::addColumn<QString>("summary");      // in the overlap bar's description
    auto row = [](const char* name, const QStringList& options, const QStringList& changed,
                  const char* words, const QStringList& outlined, const char* summary) {
        QTest::newRow(name) << options << changed << QString::fromUtf8(words) << outlined
                            << QString::fromUtf8(summary);
    };
    row("no key: three lists", {}, {}, "", {}, "distinct lines only in file 1");
    row("field 1", {"Spin1=1"}, {"2,b@x.org,\"Lee, A\",5", "3,c@x.org,Kim,7"},
        "field 2: b@x.org \u2192 b@y.org; field 4: 5 \u2192 6", {"b@x.org", "5", "b@y.org", "6"},
        "of distinct keys in common. 1 key occurs more than once in file 2");
    row("names from the header, a field ignored", {"Check12=1", "Spin1=id", "Text4=n"},
        {"2,b@x.org,\"Lee, A\",5"}, "email: b@x.org \u2192 b@y.org", {"b@x.org", "b@y.org"},
        "unchanged, 1 changed");
    row("two key fields", {"Spin1=1, 2"}, {"3,c@x.org,Kim,7"}, "field 4: 7 \u2192 8", {"7", "8"},
        "1 changed");
    row("key pattern", {"Text3=^(\\d+)"}, {"2,b@x.org,\"Lee, A\",5", "3,c@x.org,Kim,7"},
        "\u201cx.org,\"Lee, A\",5\u201d \u2192 \u201cy.org,\"Lee, A\",6\u201d",
        {"x.org,\"Lee, A\",5", "y.org,\"Lee, A\",6"}, "2 changed");
    row("unknown name", {"Check12=1", "Spin1=key"}, {}, "No field is named \"key\"", {}, "");
}

void TestWindow::keyedComparison()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, changed);
    QFETCH(QString, words);
    QFETCH(QStringList, outlined);
    QFETCH(QString, summary);
    WindowFixture fixture;
    auto form = fixture.window();
    form->move(testScreen(QStringLiteral("1280x1024"))->geometry().topLeft()); // room for four
    const int threeLists = form->height();
    form->Text1->setText(fixture.file(QStringLiteral("1.csv"),
                                      "id,email,name,n\n1,a@x.org,Ann,1\n2,b@x.org,\"Lee, A\",5\n"
                                      "3,c@x.org,Kim,7\n4,d@x.org,Dee,1\n"));
    form->Text2->setText(fixture.file(
        QStringLiteral("2.csv"), "id,email,name,n\n3,c@x.org,Kim,8\n1,a@x.org,Ann,1\n"
                                 "2,b@y.org,\"Lee, A\",6\n5,e@x.org,Eve,2\n5,e@x.org,Eve,3\n"));
    for (const QString& setting : options)
        setOption(*form, setting);
    form->PushButton1->click();
    ResultPane* pane = form->Panes[3];
    if (words.startsWith(QLatin1String("No field"))) {
        // Told once, as the other problems of the options are; nothing shown changes.
        QCOMPARE(fixture.boxes.shown.size(), 1);
        QVERIFY2(fixture.boxes.shown[0].prompt.contains(words),
                 qPrintable(fixture.boxes.shown[0].prompt));
        QVERIFY(pane->isHidden());
        return;
    }
    QVERIFY(fixture.boxes.shown.isEmpty());
    const bool keyed = !options.isEmpty();
    // The fourth band shows with a key and grows the window by itself; the
    // header never shows in a list.
    QCOMPARE(!pane->isHidden(), keyed);
    QCOMPARE(form->height(), keyed ? form->Px(10635 + 2160) : threeLists);
    if (options.contains(QStringLiteral("Check12=1")))
        QVERIFY(!itemsOf(form->Panes[0]->View->list()).join("").contains(QLatin1String("email")));
    QVERIFY2(form->Overlap1->accessibleDescription().contains(summary),
             qPrintable(form->Overlap1->accessibleDescription()));
    if (!keyed)
        return;
    QCOMPARE(itemsOf(pane->View->list()), changed);
    QCOMPARE(pane->View->RowChange(0), words);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(pane->View)->tableInterface();
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name),
             changed[0] + QStringLiteral(", changed ") + words);
    const ChangedRow shown = ChangedRowOf(
        *[&] {
            auto comparison = pane->View->ShowChanges(nullptr);
            pane->View->ShowChanges(comparison);
            return comparison;
        }(),
        pane->View->list().LineNumber(1));
    QStringList parts;
    for (const auto& [first, length] : shown.changed1)
        parts.append(shown.line.mid(first, length));
    for (const auto& [first, length] : shown.changed2)
        parts.append(shown.partner.mid(first, length));
    QCOMPARE(parts, outlined);
    // Saved, the list holds file 1's lines alone.
    fixture.dialogAnswer = {fixture.scratchPath() + QStringLiteral("/changed.txt")};
    pane->Save->click();
    QCOMPARE(readFile(fixture.dialogAnswer[0]), (changed.join("\r\n") + "\r\n").toUtf8());
    // Cleared, the band stays until a comparison without a key hides it and
    // gives its height back.
    form->PushButton7->click();
    QVERIFY(!pane->isHidden() && pane->View->RowChange(0).isEmpty());
    for (const QString setting : {"Spin1=", "Text3=", "Text4=", "Check12=0"})
        setOption(*form, setting);
    form->PushButton1->click();
    QVERIFY(pane->isHidden());
    QCOMPARE(form->height(), threeLists);
}

void TestWindow::lockedFileAfterTheChecks_data()
{
    QTest::addColumn<QByteArray>("bytes"); // what the files hold when they may not be read
    QTest::addColumn<QString>("file1");    // in file 1's place then, if set
    QTest::addColumn<QString>("reason");
    QTest::newRow("files with lines") << QByteArray("a\nb") << QString() << "Permission denied";
    // Not "empty file": that is a file that opened and gave no bytes.
    QTest::newRow("files of length 0") << QByteArray() << QString() << "Permission denied";
    QTest::newRow("/proc/1/mem, whose reported size is 0") << QByteArray("a\nb") << "/proc/1/mem"
                                                           << "Permission denied";
}

void TestWindow::lockedFileAfterTheChecks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, file1);
    QFETCH(QString, reason);
    WindowFixture fixture;
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "a\nb"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "b\nc"));
    form->PushButton1->click();
    const QList<QStringList> before = {itemsOf(form->Panes[0]->View->list()),
                                       itemsOf(form->Panes[1]->View->list()),
                                       itemsOf(form->Panes[2]->View->list())};
    // The files pass the checks but cannot be opened by the user who runs the program.
    fixture.boxes.onShow = [&](const MsgBoxRequest&) { QCOMPARE(form->MousePointer(), 11); };
    ::chmod(QFile::encodeName(fixture.scratchPath()).constData(), 0755);
    for (const QLineEdit* field : {form->Text1, form->Text2}) {
        writeFileAt(field->text(), bytes);
        ::chmod(QFile::encodeName(field->text()).constData(), 0);
    }
    if (!file1.isEmpty())
        form->Text1->setText(file1);
    SKIP_UNLESS_UNREADABLE(form->Text1->text());
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
        // One reading serves all three lists, and file 1 is read first.
        QVERIFY2(box.prompt.startsWith(
                     QStringLiteral("Cannot open \"%1\": %2").arg(form->Text1->text(), reason)),
                 qPrintable(box.prompt));
        line += 2;
    }
    QCOMPARE(itemsOf(form->Panes[0]->View->list()), before[0]);
    QCOMPARE(itemsOf(form->Panes[1]->View->list()), before[1]);
    QCOMPARE(itemsOf(form->Panes[2]->View->list()), before[2]);
    QCOMPARE(form->MousePointer(), 0);
}

void TestWindow::busyComparison_data()
{
    QTest::addColumn<QString>("meanwhile"); // what the user tries while it runs
    QTest::addColumn<QString>("ending");    // "Cancel", "Escape", "close" or "finish"
    QTest::newRow("Cancel") << ""
                            << "Cancel";
    QTest::newRow("click Clear All, then Cancel") << "click PushButton7"
                                                  << "Cancel";
    QTest::newRow("click Start Comparing again") << "click PushButton1"
                                                 << "Cancel";
    QTest::newRow("Space on Load Sample") << "Space PushButton12"
                                          << "Cancel";
    QTest::newRow("Delete in a list") << "Delete"
                                      << "Cancel";
    QTest::newRow("typing a path") << "type"
                                   << "Cancel";
    QTest::newRow("typing a key pattern") << "type pattern"
                                          << "Cancel";
    QTest::newRow("closing More Options") << "click Toggle1"
                                          << "Cancel";
    QTest::newRow("dropping two files") << "drop"
                                        << "Cancel";
    QTest::newRow("a screen reader toggles a line") << "toggle"
                                                    << "Cancel";
    QTest::newRow("closing the window") << ""
                                        << "close";
    // As the desktop closes it, with the program's event loop running: the
    // loop ends soon after, the comparison cancelled.
    QTest::newRow("a close event under the event loop") << ""
                                                        << "close event";
    QTest::newRow("let it finish") << "click PushButton7"
                                   << "finish";
}

void TestWindow::busyComparison()
{
    QFETCH(QString, meanwhile);
    QFETCH(QString, ending);
    const bool closing = ending.startsWith(QLatin1String("close"));
    // The engine waits at each step until let go or cancelled. The hook goes
    // only once the window, which waits for its last comparison, has gone.
    std::atomic<bool> letGo{false};
    std::atomic<int> readings{0};
    const std::shared_ptr<void> unhook(nullptr, [](void*) { CompareProgress::SetTestHook({}); });
    WindowFixture fixture;
    auto form = fixture.window();
    form->show();
    const QString one = fixture.file(QStringLiteral("1.txt"), "a\nb\nc");
    const QString two = fixture.file(QStringLiteral("2.txt"), "b\nc\nd");
    form->Text1->setText(one);
    form->Text2->setText(two);
    form->PushButton1->click();
    form->Toggle1->setChecked(true);
    auto lists = [&form] {
        return QList<QStringList>{itemsOf(form->Panes[0]->View->list()),
                                  itemsOf(form->Panes[1]->View->list()),
                                  itemsOf(form->Panes[2]->View->list())};
    };
    const QList<QStringList> before = lists();
    QCOMPARE(before, (QList<QStringList>{{"b", "c"}, {"a"}, {"d"}}));
    form->Panes[0]->View->list().SetCurrentPosition(1);
    fixture.file(QStringLiteral("1.txt"), "d\ne");

    CompareProgress::SetTestHook([&](const CompareProgress& progress) {
        if (progress.Current().step == CompareProgress::Step::Reading)
            ++readings;
        while (!letGo && !progress.IsCancelled())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    bool busyCursor = false, dialogShown = false, unblocked = false;
    QElapsedTimer sinceClose;
    QString label, barName;
    double barValue = -1;
    QTimer act;
    act.setInterval(10);
    connect(&act, &QTimer::timeout, form.get(), [&] {
        if (form->MousePointer() != 11)
            return; // not yet busy
        act.stop();
        // The hourglass is the window's own, over it and its controls.
        busyCursor = form->cursor().shape() == Qt::WaitCursor &&
                     form->Text1->cursor().shape() == Qt::WaitCursor &&
                     form->Text3->cursor().shape() == Qt::WaitCursor;
        if (meanwhile.startsWith(QLatin1String("click ")))
            QTest::mouseClick(form->findChild<QAbstractButton*>(meanwhile.mid(6)), Qt::LeftButton);
        if (meanwhile.startsWith(QLatin1String("Space ")))
            QTest::keyClick(form->findChild<QPushButton*>(meanwhile.mid(6)), Qt::Key_Space);
        if (meanwhile == QLatin1String("Delete"))
            QTest::keyClick(form->Panes[0]->View, Qt::Key_Delete);
        if (meanwhile == QLatin1String("type"))
            QTest::keyClicks(form->Text1, QStringLiteral("x"));
        if (meanwhile == QLatin1String("toggle"))
            QAccessible::queryAccessibleInterface(form->Panes[0]->View)
                ->child(0)
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::toggleAction());
        if (meanwhile == QLatin1String("type pattern"))
            QTest::keyClicks(form->Text3, QStringLiteral("x"));
        if (meanwhile == QLatin1String("drop")) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(two), QUrl::fromLocalFile(one)});
            for (QEvent::Type type : {QEvent::DragEnter, QEvent::Drop}) {
                QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                Qt::NoModifier, type);
                QApplication::sendEvent(form.get(), &drop);
            }
        }
        QProgressDialog* dialog = nullptr;
        dialogShown = QTest::qWaitFor([&] {
            dialog = form->findChild<QProgressDialog*>();
            return dialog && dialog->isVisible();
        });
        if (dialog) {
            label = dialog->labelText();
            // What a screen reader reads of the bar: what is being done, and
            // a value that is never the -1 of a bar not yet set.
            QAccessibleInterface* bar =
                QAccessible::queryAccessibleInterface(dialog->findChild<QProgressBar*>());
            barName = bar->text(QAccessible::Name);
            barValue = bar->valueInterface()->currentValue().toDouble();
            // Over the window, but no modal window blocks it: the toolkit
            // would drop the desktop's request to close it.
            unblocked = dialog->parentWidget() == form.get() &&
                        !QApplication::activeModalWidget() && !dialog->isModal();
        }
        if (ending == QLatin1String("Cancel") && dialog)
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        else if (ending == QLatin1String("Escape") && dialog)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (ending == QLatin1String("close"))
            form->close();
        else if (ending == QLatin1String("close event")) {
            sinceClose.start();
            QCloseEvent close;
            QApplication::sendEvent(form.get(), &close);
        } else
            letGo = true;
    });
    act.start();
    if (ending == QLatin1String("close event")) {
        QTimer::singleShot(0, form->PushButton1, &QPushButton::click);
        QApplication::exec();
        const qint64 took = sinceClose.elapsed();
        qInfo("the event loop ended %lld ms after the close event", took);
        QVERIFY2(took < 2000, qPrintable(QString::number(took)));
    } else {
        form->PushButton1->click();
    }
    letGo = true;

    QVERIFY(busyCursor);
    QVERIFY(dialogShown);
    QVERIFY(unblocked);
    QVERIFY2(label.contains(one), qPrintable(label)); // file 1 is read first
    QCOMPARE(barName, label);
    QVERIFY2(barValue >= 0, qPrintable(QString::number(barValue)));
    QVERIFY(!form->Panes[0]->View->list().IsChecked(1)); // no line changes meanwhile
    QVERIFY2(fixture.boxes.shown.isEmpty(), qPrintable(fixture.boxes.prompts().join('|')));
    QCOMPARE(readings.load(), 1); // no second comparison
    QCOMPARE(form->Text1->text(), one);
    QCOMPARE(form->Text2->text(), two);
    QCOMPARE(form->Text3->text(), QString());
    QVERIFY(form->Toggle1->isChecked() && form->Panel1->isVisibleTo(form.get()));
    QCOMPARE(form->MousePointer(), 0);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!form->findChild<QProgressDialog*>());
    QCOMPARE(form->isVisible(), !closing);
    if (ending == QLatin1String("finish"))
        QCOMPARE(lists(), (QList<QStringList>{{"d"}, {"e"}, {"b", "c"}}));
    else
        QCOMPARE(lists(), before);
}

// A job queued after another either starts once it has ended or starts at
// once; either way it ends after it, so that memory is let go in turn. A
// failure stays with its job, and cancelling reaches the work.
void TestWindow::workerChainOrder_data()
{
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<QString>("order");
    QTest::newRow("after the previous") << false << "1 ends, 2 runs";
    QTest::newRow("at once") << true << "2 runs, 1 ends";
}

void TestWindow::workerChainOrder()
{
    QFETCH(bool, atOnce);
    QFETCH(QString, order);
    const auto start = atOnce ? WorkerChain::Start::AtOnce : WorkerChain::Start::AfterPrevious;
    std::atomic<bool> release{false};
    QStringList events;
    std::mutex lock;
    auto note = [&](const char* event) {
        const std::lock_guard held(lock);
        events << QLatin1String(event);
    };
    {
        WorkerChain chain;
        const auto first = chain.Run(
            WorkerChain::Start::AtOnce,
            [&] {
                while (!release.load())
                    std::this_thread::yield();
                note("1 ends");
            },
            [&] { release.store(true); });
        const auto second = chain.Run(start, [&] {
            note("2 runs");
            throw RuntimeError(QStringLiteral("second"));
        });
        QTRY_VERIFY(!atOnce || second->Finished());
        QCOMPARE(chain.Running(), 2);
        chain.CancelAll();
        chain.Wait();
        QCOMPARE(chain.Running(), 0);
        QVERIFY(first->Finished() && !first->Failure());
        QVERIFY(second->Failure());
    }
    QCOMPARE(events.join(QStringLiteral(", ")), order);
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

// A settings file as earlier versions wrote it is read as it is, from where
// QSettings keeps a user's file for the organisation and application.
void TestWindow::storedSettingsRead_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("file1");
    QTest::addColumn<QRect>("place");
    QTest::newRow("paths") << QByteArray(
                                  "[Quillmark]\nFile1=/home/me/a.txt\nFile2=/home/me/b.txt\n")
                           << "/home/me/a.txt" << QRect();
    QTest::newRow("escaped, with a place")
        << QByteArray("[Quillmark]\nFile1=\"/home/me/My Lists/a;b.txt\"\nFile2=\nWindowLeft=40\n"
                      "WindowTop=30\nWindowWidth=600\nWindowHeight=740\nWindowScreen=\n"
                      "WindowMaximized=0\n")
        << "/home/me/My Lists/a;b.txt" << QRect(40, 30, 600, 740);
}

void TestWindow::storedSettingsRead()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, file1);
    QFETCH(QRect, place);
    WindowFixture fixture;
    // Where QSettings itself keeps the file, with no folder of the tests'.
    SettingsTesting::SetFolder(QString());
    QCOMPARE(SettingsLocation(QStringLiteral("Harrowmere")),
             QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Harrowmere"),
                       QStringLiteral("Quillmark"))
                 .fileName());
    SettingsTesting::SetFolder(QFileInfo(QFileInfo(fixture.settingsFile()).path()).path());
    QVERIFY(QDir().mkpath(QFileInfo(fixture.settingsFile()).path()));
    QFile file(fixture.settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
    file.close();
    auto form = fixture.window();
    QCOMPARE(form->Text1->text(), file1);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (!place.isEmpty())
        QCOMPARE(form->geometry(), place);
    QVERIFY(fixture.boxes.shown.isEmpty());
}

// The program's own files (samples, skin, pointer) come from the first
// quillmark folder among the desktop's data folders, else from beside the program.
void TestWindow::dataFolder_data()
{
    QTest::addColumn<QStringList>("dirs"); // XDG_DATA_DIRS, as folders of a scratch folder
    QTest::addColumn<QStringList>("made"); // the quillmark folders that exist
    QTest::addColumn<QString>("expected"); // "" for the program's own folder
    QTest::newRow("installed") << QStringList{"usr/share"} << QStringList{"usr/share"}
                               << "usr/share";
    QTest::newRow("the first that has one")
        << QStringList{"a", "b", "c"} << QStringList{"b", "c"} << "b";
    QTest::newRow("none: the build tree") << QStringList{"a", "b"} << QStringList() << "";
}

void TestWindow::dataFolder()
{
    QFETCH(QStringList, dirs);
    QFETCH(QStringList, made);
    QFETCH(QString, expected);
    QTemporaryDir scratch;
    for (const QString& dir : made)
        QVERIFY(QDir().mkpath(scratch.filePath(dir + QStringLiteral("/quillmark/Samples"))));
    QStringList paths;
    for (const QString& dir : dirs)
        paths.append(scratch.filePath(dir));
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(paths.join(QLatin1Char(':'))));
    SetAppPath(QString());
    const QString found = AppPath();
    const QString sample = AppFile(QStringLiteral("\\Samples\\sample1.txt"));
    qputenv("XDG_DATA_DIRS", saved);
    const QString folder = expected.isEmpty()
                               ? QCoreApplication::applicationDirPath()
                               : scratch.filePath(expected + QStringLiteral("/quillmark"));
    QCOMPARE(QDir::cleanPath(found), QDir::cleanPath(folder));
    QCOMPARE(QDir::cleanPath(sample),
             QDir::cleanPath(folder + QStringLiteral("/Samples/sample1.txt")));
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
    QTest::newRow("the longest text a field takes, escaped in the file")
        << QString(32766, QChar(0x00E9)); // and one more character in the second field
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
        for (QCheckBox* option : {form->Check7, form->Check8, form->Check9})
            option->setChecked(true);
        QVERIFY(fixture.boxes.shown.isEmpty());
    }
    QVERIFY(QFile::exists(fixture.settingsFile()));
    QCOMPARE(GetSetting(QStringLiteral("Harrowmere"), QStringLiteral("Quillmark"),
                        QStringLiteral("File1")),
             value);
    auto again = fixture.window();
    QCOMPARE(again->Text1->text(), value);
    QCOMPARE(again->Text2->text(), value + QStringLiteral("2"));
    // The options start off at every start: none is remembered.
    QVERIFY(!again->Check7->isChecked() && !again->Check8->isChecked() &&
            !again->Check9->isChecked());
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
         std::initializer_list<QWidget*>{form.get(), form->Panes[0], form->Frame5, form->Check7})
        QCOMPARE(w->palette().color(w->backgroundRole()) != white, recoloured);
    QCOMPARE(!form->styleSheet().isEmpty(), skinned);
    // The skin reaches the lists themselves (its rules name their class).
    form->Panes[0]->View->ensurePolished();
    QCOMPARE(form->Panes[0]->View->palette().color(QPalette::Highlight) == QColor(0xCF, 0xE4, 0xF8),
             skinned);
    const QStringList prompts = fixture.boxes.prompts();
    if (recoloured && !skinned) {
        QCOMPARE(prompts.size(), 1);
        QVERIFY(prompts[0].contains(QStringLiteral("Form_Load at line 100\r\r")));
        QVERIFY(prompts[0].contains(path));
    } else {
        QVERIFY2(prompts.isEmpty(), qPrintable(prompts.join(QLatin1Char('|'))));
    }
    // Start-up went on after the skin: columns and caption are there.
    QCOMPARE(form->Panes[2]->View->list().ColumnCount(), 1);
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
    // The hourglass covers the window and its controls, the text fields too,
    // and nothing else: a box opened meanwhile keeps the arrow.
    form->SetMousePointer(11);
    QMessageBox box(form.get());
    for (QWidget* over :
         {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(form->Text1),
          form->Panes[1]->View->viewport(), static_cast<QWidget*>(form->PushButton3)})
        QCOMPARE(over->cursor().shape(), Qt::WaitCursor);
    QCOMPARE(box.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!QApplication::overrideCursor());
    form->SetMousePointer(0);
    QCOMPARE(form->Text1->cursor().shape(), Qt::IBeamCursor);
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
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
    QCOMPARE(fixture.launches.opened.size(), starts ? 1 : 0);
    if (starts)
        QCOMPARE(fixture.launches.opened[0],
                 QUrl(QStringLiteral("https://www.harrowmere.example/")));
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
    QTest::newRow("More Options") << "Toggle1"
                                  << "More Options"
                                  << "Opens or closes";
    QTest::newRow("compare field") << "Spin1"
                                   << "Compare Field"
                                   << "counted from 1";
    QTest::newRow("ignored fields") << "Text4"
                                    << "Ignore fields"
                                    << "never a field of the key";
    QTest::newRow("key pattern") << "Text3"
                                 << "Key Pattern"
                                 << "regular expression";
    QTest::newRow("delimiter box named, not by its text") << "Combo1"
                                                          << "Delimiter"
                                                          << "separates the fields";
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
    // The panel's captions label their boxes.
    QCOMPARE(accessibleText(form->Combo1, QAccessible::Description),
             form->Combo1->accessibleDescription());
    for (QLabel* caption : {form->Label1, form->Label2, form->Label3, form->Label4}) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(caption->buddy());
        QVERIFY(box);
        bool labelled = false;
        for (const auto& [other, relation] : box->relations(QAccessible::Label))
            labelled = labelled || other->object() == caption;
        QVERIFY2(labelled, qPrintable(caption->objectName()));
    }
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

// Every piece of every text field's text around every offset at its edges is
// answered at once: Qt's own word search spun for good at offset 0.
void TestWindow::textPiecesAtEveryOffset_data()
{
    QTest::addColumn<QString>("field"); // object name; "Combo1" its text
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("wordAt0");
    for (const char* field : {"Text1", "Text2", "Spin1", "Text3", "Text4", "Combo1", "find"}) {
        QTest::addRow("%s empty", field) << field << QString() << QString();
        QTest::addRow("%s words", field) << field << "Text File #1. Two words! x"
                                         << "Text";
        QTest::addRow("%s blank first", field) << field << " #1"
                                               << " #";
    }
}

void TestWindow::textPiecesAtEveryOffset()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, wordAt0);
    WindowFixture fixture;
    auto form = fixture.window();
    QLineEdit* edit = field == QLatin1String("Combo1") ? form->Combo1->lineEdit()
                      : field == QLatin1String("find") ? form->Panes[0]->findChild<QLineEdit*>()
                                                       : form->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setText(text);
    QCOMPARE(edit->text(), text);
    QAccessibleTextInterface* pieces = QAccessible::queryAccessibleInterface(edit)->textInterface();
    QVERIFY(pieces);
    QCOMPARE(pieces->characterCount(), int(text.size()));
    const int length = int(text.size());
    Watchdog watchdog(QStringLiteral("a text piece of ") + field);
    for (auto boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary}) {
        for (int offset : {-1, 0, length / 2, length - 1, length, length + 1}) {
            int start = -2;
            int end = -2;
            for (int which = 0; which < 3; ++which) {
                const QString piece =
                    which == 0   ? pieces->textBeforeOffset(offset, boundary, &start, &end)
                    : which == 1 ? pieces->textAtOffset(offset, boundary, &start, &end)
                                 : pieces->textAfterOffset(offset, boundary, &start, &end);
                const QString where = QStringLiteral("boundary %1 offset %2 which %3")
                                          .arg(int(boundary))
                                          .arg(offset)
                                          .arg(which);
                if (start == -1) {
                    QVERIFY2(end == -1 && piece.isEmpty(), qPrintable(where));
                    continue;
                }
                QVERIFY2(start >= 0 && start <= end && end <= length, qPrintable(where));
                QCOMPARE(piece, text.mid(start, end - start));
                // A piece at an offset inside the text holds it.
                if (which == 1 && offset >= 0 && offset < length)
                    QVERIFY2(start <= offset && offset < end, qPrintable(where));
            }
        }
    }
    int start = -2;
    int end = -2;
    QCOMPARE(pieces->textAtOffset(0, QAccessible::WordBoundary, &start, &end), wordAt0);
    if (length > 0) {
        QCOMPARE(pieces->textAtOffset(-1, QAccessible::LineBoundary, &start, &end), text);
        QCOMPARE(pieces->textAtOffset(0, QAccessible::SentenceBoundary, &start, &end),
                 text.startsWith(QLatin1String("Text")) ? QStringLiteral("Text File #1. ") : text);
    }
}

// The delimiter box's list, asked for cells outside its rows, answers with a
// cell that is not valid: Qt's AT-SPI bridge calls into whatever it gets.
void TestWindow::popupListOutsideItsRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("inside");
    QTest::newRow("first") << 0 << 0 << true;
    QTest::newRow("-1,-1") << -1 << -1 << false;
    QTest::newRow("-1,0") << -1 << 0 << false;
    QTest::newRow("0,-1") << 0 << -1 << false;
    QTest::newRow("past the rows") << 1000 << 0 << false;
    QTest::newRow("past the column") << 0 << 1 << false;
    QTest::newRow("largest") << std::numeric_limits<int>::max() << std::numeric_limits<int>::max()
                             << false;
}

void TestWindow::popupListOutsideItsRows()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, inside);
    WindowFixture fixture;
    auto form = fixture.window();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Combo1->showPopup();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(form->Combo1->view());
    QVERIFY(list && list->tableInterface());
    QAccessibleTableInterface* table = list->tableInterface();
    Watchdog watchdog(QStringLiteral("a cell of the delimiter list"));
    QAccessibleInterface* cell = table->cellAt(row, column);
    QVERIFY(cell && cell->tableCellInterface());
    QCOMPARE(cell->isValid(), inside);
    QCOMPARE(cell->tableCellInterface()->isSelected(),
             inside && form->Combo1->view()->selectionModel()->isRowSelected(row, {}));
    QCOMPARE(list->indexOfChild(cell) >= 0, inside);
    QCOMPARE(cell->tableCellInterface()->rowExtent(), inside ? 1 : 0);
    QCOMPARE(table->isRowSelected(row),
             row >= 0 && row < form->Combo1->count() &&
                 form->Combo1->view()->selectionModel()->isRowSelected(row, {}));
    if (row < 0 || row >= form->Combo1->count())
        QCOMPARE(table->rowDescription(row), QString());
    form->Combo1->hidePopup();
}

// What a screen reader hears of the smaller parts: the More Options toggle,
// an empty line, the menu's entries, a long command's bar.
void TestWindow::accessibleDetails_data()
{
    QTest::addColumn<QString>("part");
    for (const char* part :
         {"More Options", "empty line", "menu entries", "progress", "lines gone"})
        QTest::newRow(part) << part;
}

void TestWindow::accessibleDetails()
{
    QFETCH(QString, part);
    WindowFixture fixture;
    auto form = fixture.window();
    ResultView* view = form->Panes[1]->View; // lines only in file 1
    if (part == QLatin1String("More Options")) {
        QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(form->Toggle1);
        QVERIFY(toggle->state().expandable && !toggle->state().expanded);
        form->Toggle1->click();
        QVERIFY(toggle->state().expandable && toggle->state().expanded);
    } else if (part == QLatin1String("empty line")) {
        compareFiles(fixture, *form, "a\n\nb\n", "b\n");
        for (ResultPane* pane : form->Panes)
            if (itemsOf(pane->View->list()).contains(QString()))
                view = pane->View;
        const int empty = int(itemsOf(view->list()).indexOf(QString()));
        QVERIFY(empty >= 0);
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(view)->tableInterface();
        QCOMPARE(table->cellAt(empty, 0)->text(QAccessible::Name), QStringLiteral("empty line"));
    } else if (part == QLatin1String("menu entries")) {
        // The keys show on the right of the menu, and are no part of the names.
        for (QAction* entry : view->actions()) {
            QVERIFY2(!entry->text().contains(QLatin1Char('\t')), qPrintable(entry->text()));
            if (entry->text() == QLatin1String("Copy Selected Lines"))
                QCOMPARE(entry->shortcut(), QKeySequence(QKeySequence::Copy));
            if (entry->text() == QLatin1String("How to Read the Lists"))
                QCOMPARE(entry->shortcut(), QKeySequence(QKeySequence::HelpContents));
        }
        QVERIFY(accessibleText(view, QAccessible::Description)
                    .contains("Delete removes the selected lines"));
        QVERIFY(accessibleText(view, QAccessible::Description).contains("Menu key opens the menu"));
    } else if (part == QLatin1String("progress")) {
        // Updated every 15 ms for a second and a half, the bar moves a few
        // times a second, never to the value it has.
        form->show();
        BusyProgress busy(form.get(), false);
        QList<int> heard;
        bool listening = false;
        QElapsedTimer clock;
        clock.start();
        for (qint64 done = 0; clock.elapsed() < 1500; ++done) {
            busy.Update(QStringLiteral("Comparing"), done, 100000);
            if (auto* bar = form->findChild<QProgressBar*>(); bar && !listening)
                listening =
                    connect(bar, &QProgressBar::valueChanged, bar, [&heard](int v) { heard << v; });
            QTest::qWait(15);
        }
        QVERIFY2(heard.size() >= 2 && heard.size() <= 8, qPrintable(QString::number(heard.size())));
        for (int i = 1; i < heard.size(); ++i)
            QVERIFY(heard[i] != heard[i - 1]);
    } else if (part == QLatin1String("lines gone")) {
        // A Delete lets the cells of the lines that went go; the others follow their lines.
        AccessibleEvents events; // a screen reader listens
        compareFiles(fixture, *form, "a\nb\nc\nd\n", "x\n");
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(view)->tableInterface();
        QAccessibleInterface* last = table->cellAt(3, 0);
        QCOMPARE(last->text(QAccessible::Name), QStringLiteral("d"));
        view->list().TakeRange(2, 3);
        QCOMPARE(table->cellAt(1, 0), last);
        QCOMPARE(last->text(QAccessible::Name), QStringLiteral("d"));
        QCOMPARE(last->tableCellInterface()->rowIndex(), 1);
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
    ResultView* list = form->Panes[0]->View;
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

// A line with something the eye would miss is drawn with a mark, so that it
// looks unlike the line it would otherwise pass for; a screen reader hears
// the mark in words after the text.
void TestWindow::lineMarks_data()
{
    QTest::addColumn<QByteArray>("marked");    // a line's bytes, as a file holds them
    QTest::addColumn<QByteArray>("lookAlike"); // empty: none to tell it from
    QTest::addColumn<QString>("words");
    auto row = [](const char* name, const QByteArray& marked, const QByteArray& lookAlike,
                  const char* words) {
        QTest::newRow(name) << marked << lookAlike << QString::fromUtf8(words);
    };
    row("tab at the end", "apple\t", "apple", "ends with a tab");
    row("blank at the end", "apple ", "apple", "ends with a blank");
    row("blanks and a tab at the end", "apple \t ", "apple", "ends with blanks and tabs");
    row("Windows-1252 byte", "M\xFCller", "M\xC3\xBCller", "has a byte that is not UTF-8");
    row("byte with no character", "x\x81y", "xy", "has a byte that is not UTF-8");
    row("no-break space",
        "a\xC2\xA0"
        "b",
        "a b", "has a no-break space");
    row("thin space",
        "a\xE2\x80\x89"
        "b",
        "a b", "has an unusual space");
    row("zero-width space", "z\xE2\x80\x8Bw", "zw", "has a zero-width character");
    row("byte order mark inside",
        "a\xEF\xBB\xBF"
        "b",
        "ab", "has a zero-width character");
    row("control character",
        "a\x01"
        "b",
        "ab", "has a control character");
    row("decomposed accent", "Cafe\xCC\x81", "Caf\xC3\xA9", "has a decomposed accent");
    row("two kinds", "M\xFCller\t", "M\xC3\xBCller",
        "has a byte that is not UTF-8, ends with a tab");
    // Nothing to mark: heard as it reads.
    row("tab inside", "a\tb", "", "");
    row("composed accent", "Caf\xC3\xA9", "", "");
    row("accent with no composed form", "q\xCC\x81", "", "");
    row("blanks at the start", "  apple", "", "");
}

void TestWindow::lineMarks()
{
    QFETCH(QByteArray, marked);
    QFETCH(QByteArray, lookAlike);
    QFETCH(QString, words);
    WindowFixture fixture;
    auto form = fixture.window();
    // List 2: the focus (and with it a current row) is in list 1.
    ResultView* view = form->Panes[1]->View;
    view->list().AddAt(-1, AnsiCodec::Decode(marked));
    view->list().AddAt(-1, AnsiCodec::Decode(lookAlike));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(view)->tableInterface();
    const QString shown = view->list().ShownText(1);
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name),
             words.isEmpty() ? shown : shown + QStringLiteral(", ") + words);
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Value), shown);
    if (lookAlike.isEmpty())
        return;
    QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), view->list().ShownText(2));
    // The two rows as drawn, at the window's scale and at twice it.
    auto drawn = [view](int row) {
        return view->viewport()->grab(view->visualRect(view->list().index(row))).toImage();
    };
    QCOMPARE(drawn(0).size(), drawn(1).size());
    QVERIFY2(drawn(0) != drawn(1), "the marked row looks like its look-alike");
    // Copy and save stay as the bytes are.
    QCOMPARE(listFileText(view->list()), marked + "\r\n" + lookAlike + "\r\n");
}

namespace {
using Runs = QList<QPair<int, int>>;

// A window whose second list ("only in file 1") holds five lines.
std::unique_ptr<Form1> formWithFiveLines(WindowFixture& fixture)
{
    auto form = fixture.window();
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "a\nb\nc\nd\ne"));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "x"));
    form->PushButton1->click();
    form->show();
    return form;
}
} // namespace

void TestWindow::accessibleCells_data()
{
    QTest::addColumn<Runs>("ranges"); // selected first to last, from row 0
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("nothing selected") << Runs{} << QList<int>{};
    QTest::newRow("one row") << Runs{{2, 2}} << QList<int>{2};
    QTest::newRow("two apart") << Runs{{4, 4}, {0, 0}} << QList<int>{0, 4};
    QTest::newRow("overlapping ranges") << Runs{{0, 2}, {1, 3}} << QList<int>{0, 1, 2, 3};
    QTest::newRow("every row") << Runs{{0, 4}} << QList<int>{0, 1, 2, 3, 4};
}

// Every line of a list is a table cell that knows its place, its table and
// its heading, as a screen reader reads them.
void TestWindow::accessibleCells()
{
    QFETCH(Runs, ranges);
    QFETCH(QList<int>, selected);
    WindowFixture fixture;
    auto form = formWithFiveLines(fixture);
    ResultView* list = form->Panes[1]->View;
    QCOMPARE(list->list().Count(), 5);
    for (const auto& [first, last] : ranges)
        list->selectionModel()->select(
            QItemSelection(list->model()->index(first, 0), list->model()->index(last, 0)),
            QItemSelectionModel::Select);
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list);
    QAccessibleTableInterface* table = view->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 5);
    QCOMPARE(view->childCount(), 5);
    for (int row = 0; row < 5; ++row) {
        const QByteArray at = "row " + QByteArray::number(row);
        QAccessibleInterface* cell = table->cellAt(row, 0);
        QVERIFY2(cell && cell->isValid(), at);
        QCOMPARE(table->cellAt(row, 0), cell); // one object a row: its AT-SPI path stays
        QCOMPARE(cell->text(QAccessible::Name), list->list().ShownText(row + 1));
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        QVERIFY2(place, at);
        QCOMPARE(place->rowIndex(), row);
        QCOMPARE(place->columnIndex(), 0);
        QCOMPARE(place->rowExtent(), 1);
        QCOMPARE(place->columnExtent(), 1);
        QCOMPARE(place->table(), view);
        QCOMPARE(cell->parent(), view);
        QCOMPARE(view->child(row), cell);
        QCOMPARE(view->indexOfChild(cell), row);
        QCOMPARE(place->isSelected(), selected.contains(row));
        QCOMPARE(bool(cell->state().selected), selected.contains(row));
        QCOMPARE(table->isRowSelected(row), selected.contains(row));
        const QList<QAccessibleInterface*> headings = place->columnHeaderCells();
        QCOMPARE(headings.size(), 1);
        QCOMPARE(headings[0]->role(), QAccessible::ColumnHeader);
        QCOMPARE(headings[0]->text(QAccessible::Name), QStringLiteral("Result(s)"));
        QVERIFY(place->rowHeaderCells().isEmpty());
    }
    QCOMPARE(table->selectedRowCount(), selected.size());
    QCOMPARE(table->selectedCellCount(), selected.size());
    QList<int> rows = table->selectedRows();
    std::sort(rows.begin(), rows.end());
    QCOMPARE(rows, selected);
    QList<int> cellRows;
    for (QAccessibleInterface* cell : table->selectedCells())
        cellRows.append(cell->tableCellInterface()->rowIndex());
    std::sort(cellRows.begin(), cellRows.end());
    QCOMPARE(cellRows, selected);
}

void TestWindow::accessibleOutOfRange_data()
{
    QTest::addColumn<QString>("list");   // filled, cleared, shorter, never filled
    QTest::addColumn<bool>("announced"); // the change reaches the accessible table
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    const int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    QTest::newRow("row -1") << "filled" << false << -1 << 0;
    QTest::newRow("just past the end") << "filled" << false << 5 << 0;
    QTest::newRow("INT_MAX") << "filled" << false << most << 0;
    QTest::newRow("column 1") << "filled" << false << 0 << 1;
    QTest::newRow("INT_MIN, INT_MIN") << "filled" << false << least << least;
    QTest::newRow("cleared: row 0") << "cleared" << false << 0 << 0;
    QTest::newRow("cleared: its last row") << "cleared" << false << 4 << 0;
    QTest::newRow("cleared, announced: row 0") << "cleared" << true << 0 << 0;
    QTest::newRow("swapped for two lines: row 2") << "shorter" << false << 2 << 0;
    QTest::newRow("swapped, announced: row 4") << "shorter" << true << 4 << 0;
    QTest::newRow("never filled: row 0") << "never filled" << false << 0 << 0;
    QTest::newRow("never filled: row -1, column 1") << "never filled" << false << -1 << 1;
}

// A screen reader may ask for any place, also one the list no longer has:
// every answer is "nothing", and nothing ends the window.
void TestWindow::accessibleOutOfRange()
{
    QFETCH(QString, list);
    QFETCH(bool, announced);
    QFETCH(int, row);
    QFETCH(int, column);
    WindowFixture fixture;
    auto form = list == "never filled" ? fixture.window() : formWithFiveLines(fixture);
    ResultView* shown = form->Panes[1]->View;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(shown);
    QAccessibleTableInterface* table = view->tableInterface();
    // Cells made while the list was full, as a screen reader keeps them.
    QList<QAccessible::Id> made;
    for (int each = 0; each < shown->list().Count(); ++each)
        made.append(QAccessible::uniqueId(table->cellAt(each, 0)));
    if (list == "cleared") {
        form->PushButton7->click();
    } else if (list == "shorter") {
        form->Text1->setText(fixture.file(QStringLiteral("3.txt"), "p\nq"));
        form->PushButton1->click();
        QCOMPARE(shown->list().Count(), 2);
    }
    if (announced) {
        // What the view sends while a screen reader listens (not on offscreen).
        QAccessibleTableModelChangeEvent reset(shown, QAccessibleTableModelChangeEvent::ModelReset);
        table->modelChange(&reset);
    }
    shown->selectAll(); // a place outside is not selected even then
    const QItemSelection before = shown->selectionModel()->selection();

    // Qt's AT-SPI bridge calls into what cellAt gives without looking, so
    // there is a cell, and it stands for nothing.
    QAccessibleInterface* cell = table->cellAt(row, column);
    QVERIFY(cell);
    QVERIFY(!cell->isValid());
    QVERIFY(cell->state().invalid);
    QVERIFY(cell->text(QAccessible::Name).isEmpty());
    QVERIFY(cell->rect().isEmpty());
    QAccessibleTableCellInterface* place = cell->tableCellInterface();
    QVERIFY(place);
    QCOMPARE(place->rowIndex(), -1);
    QCOMPARE(place->columnIndex(), -1);
    QCOMPARE(place->rowExtent(), 0);
    QCOMPARE(place->columnExtent(), 0);
    QVERIFY(!place->isSelected());
    QCOMPARE(place->table(), nullptr);
    QVERIFY(place->columnHeaderCells().isEmpty());
    QVERIFY(place->rowHeaderCells().isEmpty());
    QCOMPARE(view->indexOfChild(cell), -1);
    if (row < 0 || row >= shown->list().Count()) {
        QCOMPARE(view->child(row), nullptr);
        QVERIFY(!table->isRowSelected(row));
        QVERIFY(!table->selectRow(row));
        QVERIFY(!table->unselectRow(row));
    }
    if (column != 0)
        QVERIFY(table->columnDescription(column).isEmpty());
    QCOMPARE(shown->selectionModel()->selection(), before);
    QCOMPARE(table->selectedRowCount(), shown->list().Count());

    // A cell made before the change stands for the line now at its row, or
    // is gone or stands for nothing.
    for (QAccessible::Id id : std::as_const(made)) {
        QAccessibleInterface* old = QAccessible::accessibleInterface(id);
        if (!old)
            continue;
        QAccessibleTableCellInterface* oldPlace = old->tableCellInterface();
        QVERIFY(oldPlace);
        if (old->isValid()) {
            QVERIFY(oldPlace->rowIndex() < shown->list().Count());
            QCOMPARE(old->text(QAccessible::Name),
                     shown->list().ShownText(oldPlace->rowIndex() + 1));
            continue;
        }
        QCOMPARE(oldPlace->rowIndex(), -1);
        QCOMPARE(oldPlace->rowExtent(), 0);
        QVERIFY(!oldPlace->isSelected());
        QCOMPARE(oldPlace->table(), nullptr);
        QVERIFY(old->text(QAccessible::Name).isEmpty());
        QVERIFY(old->rect().isEmpty());
    }
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
    // Start Comparing is the default button: Return or Enter in a path field presses it.
    QTest::newRow("Return in file 1's field") << "Text1" << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("keypad Enter in file 2's field")
        << "Text2" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
    QTest::newRow("Escape in a path field does not")
        << "Text1" << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Return on More Options") << "Toggle1" << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Return in the key pattern does not")
        << "Text3" << int(Qt::Key_Return) << 0 << false;
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
    const bool compared = form->Panes[0]->View->list().Count() > 0;
    const bool helped = !fixture.boxes.shown.isEmpty() &&
                        fixture.boxes.shown[0].prompt.startsWith(QStringLiteral("Questions?"));
    QCOMPARE(compared || helped || form->Toggle1->isChecked(), pressed);
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
    form->Panes[2]->View->list().AddAt(-1, QStringLiteral("x"));
    form->Panes[2]->View->setCurrentIndex(form->Panes[2]->View->model()->index(0, 0));
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
    QTest::keyClick(form->Panes[2]->View, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(shown.mid(0, 2), (QStringList{"Check All", "Uncheck All"}));
    QVERIFY(form->Panes[2]->View->list().IsChecked(1));
}

namespace {

// Opens list's menu with the Menu key at its current row and chooses "Why is
// this line not in ...?" when it is there and enabled; returns what the menu
// offered of it: "" when not there, "(disabled)" after its text when so.
QString askWhyNotIn(ResultView* list)
{
    QString offered;
    QTimer::singleShot(0, [&offered] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (!action->text().startsWith(QLatin1String("Why")))
                    continue;
                offered = action->text() +
                          (action->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
                menu->close();
                if (action->isEnabled())
                    action->trigger();
                return;
            }
            menu->close();
        }
    });
    QTest::keyClick(list, Qt::Key_Menu);
    return offered;
}

} // namespace

void TestWindow::whyIsThisLineNotIn_data()
{
    QTest::addColumn<QByteArray>("file1");
    QTest::addColumn<QByteArray>("file2");
    QTest::addColumn<QStringList>("options"); // as setOption takes them
    QTest::addColumn<int>("list");            // 2 or 3
    QTest::addColumn<QList<int>>("deleted");  // positions deleted first, one by one
    QTest::addColumn<int>("position");        // the row asked about
    // "", "clear", "compare again", "early" (asked before the look-alikes are
    // found), "clear while looking", "compare again while looking", "close
    // while looking" or "short of memory" (while finding them)
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QStringList>("shown"); // the dialog's text, line by line
    const QStringList plain{"Check7=0", "Check8=0"};
    const QString lookAlike =
        QStringLiteral("Differs only in how the characters are written (composed accents, "
                       "no-break spaces, look-alike forms): turn on Look-Alike Lines Match.");
    const QByteArray latin("kiwi\r\nM\xFCller\r\n"), utf8("M\xC3\xBCller\r\nplum\r\n");
    QTest::newRow("Windows-1252 against UTF-8")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << ""
        << "Why is this line not in File #2?"
        << QStringList{"Line 2 of File #1:",
                       QString::fromUtf8("    \"M\xC3\xBCller\""),
                       "is not in File #2.",
                       "",
                       "1 line of File #2 looks like it, but for what differs.",
                       "",
                       "Line 1 of File #2:",
                       QString::fromUtf8("    \"M\xC3\xBCller\""),
                       "    " + lookAlike};
    // The UTF-8 line of list 3 and the Windows-1252 line of file 1 it looks like.
    const QStringList fromList3{"Line 1 of File #2:",
                                QString::fromUtf8("    \"M\xC3\xBCller\""),
                                "is not in File #1.",
                                "",
                                "1 line of File #1 looks like it, but for what differs.",
                                "",
                                "Line 2 of File #1:",
                                QString::fromUtf8("    \"M\xC3\xBCller\""),
                                "    " + lookAlike};
    QTest::newRow("the other way, from list 3")
        << latin << utf8 << plain << 3 << QList<int>{} << 1 << ""
        << "Why is this line not in File #1?" << fromList3;
    QTest::newRow("a tab at the end, Ignore Blanks unchecked")
        << QByteArray("apple\t\n") << QByteArray("pear\napple\n") << plain << 2 << QList<int>{} << 1
        << ""
        << "Why is this line not in File #2?"
        << QStringList{
               "Line 1 of File #1:",
               "    \"apple\t\"",
               "is not in File #2.",
               "",
               "1 line of File #2 looks like it, but for what differs.",
               "",
               "Line 2 of File #2:",
               "    \"apple\"",
               "    Differs only in blanks at the ends: turn on Ignore Blanks At Line Ends."};
    QTest::newRow("a tab against a blank inside the line")
        << QByteArray("red\tapple\n") << QByteArray("pear\nred apple\n") << plain << 2
        << QList<int>{} << 1 << ""
        << "Why is this line not in File #2?"
        << QStringList{"Line 1 of File #1:",
                       "    \"red\tapple\"",
                       "is not in File #2.",
                       "",
                       "1 line of File #2 looks like it, but for what differs.",
                       "",
                       "Line 2 of File #2:",
                       "    \"red apple\"",
                       "    Differs in a tab against a blank inside the line; no option makes "
                       "them match."};
    QTest::newRow("several look-alikes, Match Case")
        << QByteArray("Abc\n") << QByteArray("ABC\nabc \nq\nabc\n")
        << QStringList{"Check7=1", "Check8=0"} << 2 << QList<int>{} << 1 << ""
        << "Why is this line not in File #2?"
        << QStringList{"Line 1 of File #1:",
                       "    \"Abc\"",
                       "is not in File #2.",
                       "",
                       "3 lines of File #2 look like it, but for what differs.",
                       "",
                       "Line 1 of File #2:",
                       "    \"ABC\"",
                       "    Differs only in case: turn off Match Case.",
                       "",
                       "Line 2 of File #2:",
                       "    \"abc \"",
                       "    Differs in case and in blanks at the ends: turn off Match Case and "
                       "turn on Ignore Blanks At Line Ends.",
                       "",
                       "Line 4 of File #2:",
                       "    \"abc\"",
                       "    Differs only in case: turn off Match Case."};
    QTest::newRow("none comes close")
        << latin << utf8 << plain << 2 << QList<int>{} << 1 << ""
        << "Why is this line not in File #2?"
        << QStringList{"Line 1 of File #1:", "    \"kiwi\"", "is not in File #2.", "",
                       "No line of File #2 comes close to this one."};
    // Rows deleted above the one asked about leave it its own line.
    QTest::newRow("after Delete of the rows above")
        << QByteArray("a1\na2\nkey \na3\n") << QByteArray("b\nkey\n") << plain << 2
        << QList<int>{1, 1} << 1 << ""
        << "Why is this line not in File #2?"
        << QStringList{
               "Line 3 of File #1:",
               "    \"key \"",
               "is not in File #2.",
               "",
               "1 line of File #2 looks like it, but for what differs.",
               "",
               "Line 2 of File #2:",
               "    \"key\"",
               "    Differs only in blanks at the ends: turn on Ignore Blanks At Line Ends."};
    QTest::newRow("after Clear All Results")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << "clear"
        << "Why is this line not in File #2? (disabled)" << QStringList{};
    // A new comparison's lines, never the former ones.
    QTest::newRow("after a new comparison")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << "compare again"
        << "Why is this line not in File #2?"
        << QStringList{"Line 1 of File #1:", QString::fromUtf8("    \"M\xC3\xBCller\""),
                       "is not in File #2.", "", "No line of File #2 comes close to this one."};
    // Asked while the look-alikes are still being found: the dialog says so,
    // then fills in when they come.
    QTest::newRow("before the look-alikes are found")
        << latin << utf8 << plain << 3 << QList<int>{} << 1 << "early"
        << "Why is this line not in File #1?" << fromList3;
    // The search is given up at once, and nothing of it comes back.
    QTest::newRow("Clear All Results while they are being found")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << "clear while looking"
        << "Why is this line not in File #2? (disabled)" << QStringList{};
    QTest::newRow("a new comparison while they are being found")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << "compare again while looking"
        << "Why is this line not in File #2?"
        << QStringList{"Line 1 of File #1:", QString::fromUtf8("    \"M\xC3\xBCller\""),
                       "is not in File #2.", "", "No line of File #2 comes close to this one."};
    QTest::newRow("the window closed while they are being found")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << "close while looking" << QString()
        << QStringList{};
    // The lists do without them; the open dialog says so.
    QTest::newRow("memory runs short while they are being found")
        << latin << utf8 << plain << 2 << QList<int>{} << 2 << "short of memory"
        << "Why is this line not in File #2?"
        << QStringList{"Line 2 of File #1:", QString::fromUtf8("    \"M\xC3\xBCller\""),
                       "is not in File #2.", "",
                       "The lines of File #2 that look like it could not be found: there was not "
                       "enough memory."};
}

void TestWindow::whyIsThisLineNotIn()
{
    QFETCH(QByteArray, file1);
    QFETCH(QByteArray, file2);
    QFETCH(QStringList, options);
    QFETCH(int, list);
    QFETCH(QList<int>, deleted);
    QFETCH(int, position);
    QFETCH(QString, then);
    QFETCH(QString, offered);
    QFETCH(QStringList, shown);
    // The look-alikes are found on a thread of their own; held there, for the
    // rows that ask before they are found, until let go or given up.
    std::atomic<bool> hold{then == QLatin1String("early") ||
                           then.endsWith(QLatin1String("looking")) ||
                           then == QLatin1String("short of memory")};
    const std::shared_ptr<void> unhook(nullptr, [](void*) { CompareProgress::SetTestHook({}); });
    CompareProgress::SetTestHook([&hold, then](const CompareProgress& progress) {
        if (progress.Current().step != CompareProgress::Step::LookAlikes)
            return;
        for (int waited = 0; waited < 5000 && hold && !progress.IsCancelled(); ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (then == QLatin1String("short of memory"))
            throw std::bad_alloc();
    });
    WindowFixture fixture;
    auto form = fixture.window();
    const std::shared_ptr<void> release(nullptr, [&hold](void*) { hold = false; });
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Text1->setText(fixture.file(QStringLiteral("1.txt"), file1));
    form->Text2->setText(fixture.file(QStringLiteral("2.txt"), file2));
    for (const QString& option : options)
        setOption(*form, option);
    form->PushButton1->click();
    QVERIFY(fixture.boxes.shown.isEmpty());
    ResultView* view = list == 2 ? form->Panes[1]->View : form->Panes[2]->View;
    view->setFocus();
    for (const int row : deleted) {
        view->setCurrentIndex(view->model()->index(row - 1, 0));
        QTest::keyClick(view, Qt::Key_Delete);
    }
    view->setCurrentIndex(view->model()->index(position - 1, 0));
    if (then == QLatin1String("clear")) {
        QCOMPARE(askWhyNotIn(view), offered.section(QLatin1Char(' '), 0, -2));
        QVERIFY(form->findChild<NearMissDialog*>()->isVisible());
        form->PushButton7->click();
        QVERIFY(!form->findChild<NearMissDialog*>()->isVisible());
    } else if (then == QLatin1String("compare again")) {
        QVERIFY(!askWhyNotIn(view).isEmpty());
        form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "M\xC3\xBCller\r\n"));
        form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "Muller\r\n"));
        form->PushButton1->click();
        QVERIFY(!form->findChild<NearMissDialog*>()->isVisible());
        view->setFocus();
        view->setCurrentIndex(view->model()->index(0, 0));
    } else if (then.endsWith(QLatin1String("while looking"))) {
        QCOMPARE(askWhyNotIn(view), QStringLiteral("Why is this line not in File #2?"));
        auto* dialog = form->findChild<NearMissDialog*>();
        QVERIFY(dialog->isVisible() && dialog->IsWaiting());
        QCOMPARE(dialog->Text().split(QLatin1Char('\n')).mid(0, 3),
                 (QStringList{"Line 2 of File #1:", QString::fromUtf8("    \"M\xC3\xBCller\""),
                              "is not in File #2."}));
        QElapsedTimer took;
        took.start();
        if (then.startsWith(QLatin1String("clear"))) {
            form->PushButton7->click();
        } else if (then.startsWith(QLatin1String("close"))) {
            form->close();
            QVERIFY(!form->isVisible());
        } else {
            // The new comparison starts at once, not once the search has run.
            form->Text1->setText(fixture.file(QStringLiteral("1.txt"), "M\xC3\xBCller\r\n"));
            form->Text2->setText(fixture.file(QStringLiteral("2.txt"), "Muller\r\n"));
            form->PushButton1->click();
            QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
            QCOMPARE(itemsOf(form->Panes[1]->View->list()),
                     QStringList{QString::fromUtf8("M\xC3\xBCller")});
            view->setFocus();
            view->setCurrentIndex(view->model()->index(0, 0));
        }
        // Nothing is left running for the old lists (the new ones' search is
        // held); the program ends once the window has closed.
        if (!then.startsWith(QLatin1String("compare")))
            QTRY_VERIFY_WITH_TIMEOUT(!form->WorkRunning(), 2000);
        if (then.startsWith(QLatin1String("close")))
            return;
        QCoreApplication::processEvents();
        QVERIFY(!dialog->isVisible());
    }
    QCOMPARE(askWhyNotIn(view), offered);
    auto* dialog = form->findChild<NearMissDialog*>();
    if (shown.isEmpty()) {
        QVERIFY(!dialog || !dialog->isVisible());
        return;
    }
    QVERIFY(dialog && dialog->isVisible());
    if (hold) {
        // The line at once; what looks like it once found.
        QCOMPARE(dialog->Text().split(QLatin1Char('\n')),
                 shown.mid(0, 4) << QStringLiteral("Still looking for lines of File #%1 that look "
                                                   "like it...")
                                        .arg(3 - (list - 1)));
        QVERIFY(dialog->IsWaiting());
        hold = false;
    }
    QTRY_VERIFY(!dialog->IsWaiting());
    QCOMPARE(dialog->Text().split(QLatin1Char('\n')), shown);
    if (then == QLatin1String("short of memory"))
        QCOMPARE(askWhyNotIn(view), offered + QStringLiteral(" (disabled)"));
    QCOMPARE(dialog->windowTitle(), offered);
    // A screen reader hears the list with what it says in brief, and each
    // look-alike with how it differs.
    auto* text = dialog->findChild<QListWidget*>();
    QCOMPARE(text->accessibleName(), offered);
    QCOMPARE(text->accessibleDescription(), shown[0].chopped(1) + QStringLiteral(". ") + shown[4]);
    if (shown.size() > 8)
        QVERIFY(text->item(2)
                    ->data(Qt::AccessibleDescriptionRole)
                    .toString()
                    .startsWith(shown[8].trimmed()));
    // Whatever a screen reader meets in it has a name, but the row of buttons.
    for (QWidget* part : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QDialogButtonBox*>(part))
            QVERIFY2(
                !QAccessible::queryAccessibleInterface(part)->text(QAccessible::Name).isEmpty(),
                part->metaObject()->className());
    // The parts selected are copied as the dialog's text has them.
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(GetClipboardText(), shown.join(QLatin1Char('\n')));
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
}

void TestWindow::accessibleTree_data()
{
    QTest::addColumn<QString>("container"); // its object name; empty: the window
    QTest::addColumn<bool>("moreOptions");
    QTest::newRow("the window") << "" << false;
    QTest::newRow("the window, More Options open") << "" << true;
    for (const char* frame : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6"})
        QTest::newRow(frame) << frame << false;
    QTest::newRow("More Options") << "Panel1" << true;
}

// What a screen reader walks: every control that shows has a name, and the
// children of each frame and of the window come as they show, top to bottom
// and, on one line, left to right.
void TestWindow::accessibleTree()
{
    QFETCH(QString, container);
    QFETCH(bool, moreOptions);
    WindowFixture fixture;
    auto form = fixture.window();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Toggle1->setChecked(moreOptions);
    QObject* root = container.isEmpty() ? static_cast<QObject*>(form.get())
                                        : form->findChild<QWidget*>(container);
    QVERIFY(root);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(root);
    QRect before;
    QString beforeName;
    for (int i = 0; i < face->childCount(); ++i) {
        QAccessibleInterface* child = face->child(i);
        QVERIFY(child);
        if (child->state().invisible || child->rect().isEmpty())
            continue;
        const QRect at = child->rect();
        const QString name = child->text(QAccessible::Name);
        const QString what = QStringLiteral("%1 (%2) at %3,%4")
                                 .arg(child->object() ? child->object()->objectName() : name)
                                 .arg(int(child->role()))
                                 .arg(at.x())
                                 .arg(at.y());
        if (child->role() != QAccessible::StaticText)
            QVERIFY2(!name.isEmpty(), qPrintable(what));
        if (!before.isNull()) {
            // On one line (the two overlap from top to bottom): left to right.
            const bool oneLine = at.top() < before.bottom() && before.top() < at.bottom();
            const bool inOrder = oneLine ? at.left() >= before.left() : at.top() >= before.top();
            QVERIFY2(inOrder, qPrintable(what + QStringLiteral(" after ") + beforeName));
        }
        before = at;
        beforeName = what;
    }
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
    QTest::newRow("--help-all") << QStringList{"--help-all", "/1"} << help << QStringList{} << 0;
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
    // --help-all names Qt's own options as well; --help does not.
    QVERIFY(CommandLineHelp(true).contains(QStringLiteral("-platform NAME")));
    QVERIFY(!CommandLineHelp().contains(QStringLiteral("-platform NAME")));
    QVERIFY(ParseCommandLine({QStringLiteral("--help-all")}).qtOptions);
}

void TestWindow::stopSignalEndsTheProgram_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// The program itself: once its handlers are in place, the signal ends it as
// it would end a program without them.
void TestWindow::stopSignalEndsTheProgram()
{
    QFETCH(int, signal);
    QTemporaryDir home;
    const pid_t pid = startWithDefaultSignals(
        {QUILLMARK_BINARY_DIR "/quillmark"},
        {"QT_QPA_PLATFORM=offscreen", "HOME=" + QFile::encodeName(home.path()),
         "XDG_CONFIG_HOME=" + QFile::encodeName(home.path())});
    QVERIFY(pid > 0);
    const auto caught = [pid, signal] {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("SigCgt:"))
                return ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1) != 0;
        return false;
    };
    bool ready = false;
    for (int waited = 0; waited < 20000 && !ready; waited += 5) {
        ready = caught();
        if (!ready)
            QThread::msleep(5);
    }
    QVERIFY(ready);
    QVERIFY(::kill(pid, signal) == 0);
    const int status = waitForEnd(pid);
    QVERIFY2(WIFSIGNALED(status), qPrintable(QString::number(status)));
    QCOMPARE(WTERMSIG(status), signal);
}

// A box as it really shows: its exact title, every line whole, and the
// normal arrow over it even while the window is busy.
void TestWindow::realBox_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("title"); // given
    QTest::addColumn<QString>("shown"); // in its title bar
    QTest::addColumn<int>("pointer");
    QTest::newRow("help") << QStringLiteral("Questions? Please contact Team Harrowmere at "
                                            "https://www.harrowmere.example/contact/")
                          << 0 << QString() << "Quillmark" << 0;
    QTest::newRow("error while busy")
        << ErrorTrap(QStringLiteral("PushButton2_Click"))
               .MessageFor(QStringLiteral("Cannot write \"/gone/x.txt\": No such file"), 120)
        << 48 << "Application Error"
        << "Application Error" << 11;
}

void TestWindow::realBox()
{
    QFETCH(QString, prompt);
    QFETCH(int, style);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QFETCH(int, pointer);
    WindowFixture fixture;
    MsgBoxTesting::SetAnswerer({});
    auto form = fixture.window();
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->SetMousePointer(pointer);
    QString seenTitle;
    Qt::CursorShape over = Qt::BlankCursor;
    QStringList cut;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        seenTitle = box->windowTitle();
        over = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                              : box->cursor().shape();
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            if (QFontMetrics(label->font()).horizontalAdvance(line) > label->contentsRect().width())
                cut.append(line);
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    QCOMPARE(MsgBox(prompt, style, title), 1);
    QCOMPARE(seenTitle, shown);
    QCOMPARE(over, Qt::ArrowCursor);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('|'))));
    QCOMPARE(form->cursor().shape(), pointer == 11 ? Qt::WaitCursor : Qt::ArrowCursor);
    form->SetMousePointer(0);
}

void TestWindow::hostileProgramFiles_data()
{
    QTest::addColumn<QString>("file"); // in the program or settings folder
    QTest::addColumn<QString>("what"); // "fifo", "zero" (a link to /dev/zero) or "huge"
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("reason");
    const QStringList settingsLines{"Form_Load at line 140", "Form_Load at line 142"};
    QTest::newRow("settings file is a FIFO") << "<settings>"
                                             << "fifo" << settingsLines << "it is a FIFO";
    QTest::newRow("settings file links to /dev/zero")
        << "<settings>"
        << "zero" << settingsLines << "it is a device";
    QTest::newRow("settings file over 1 MiB") << "<settings>"
                                              << "huge" << settingsLines << "too large";
    QTest::newRow("pointer file is a FIFO")
        << "HAND-M.CUR"
        << "fifo" << QStringList{"Form_Load at line 106"} << "it is a FIFO";
    QTest::newRow("pointer file links to /dev/zero")
        << "HAND-M.CUR"
        << "zero" << QStringList{"Form_Load at line 106"} << "it is a device";
    QTest::newRow("pointer file over 1 MiB")
        << "HAND-M.CUR"
        << "huge" << QStringList{"Form_Load at line 106"} << "too large";
    QTest::newRow("skin file is a FIFO: no skin") << "x/o.cjs"
                                                  << "fifo" << QStringList{} << "";
    QTest::newRow("skin file links to /dev/zero: no skin") << "x/o.cjs"
                                                           << "zero" << QStringList{} << "";
    QTest::newRow("skin file over 1 MiB")
        << "x/o.cjs"
        << "huge" << QStringList{"Form_Load at line 100"} << "too large";
    QTest::newRow("skin picture is a FIFO")
        << "x/pic.png"
        << "fifo" << QStringList{"Form_Load at line 100"} << "it is a FIFO";
    QTest::newRow("skin picture links to /dev/zero")
        << "x/pic.png"
        << "zero" << QStringList{"Form_Load at line 100"} << "it is a device";
}

// Files beside the program and the settings file are read before the window
// shows: none of them may stop or flood the start. The window comes up, says
// what is wrong, and typing in a field still works.
void TestWindow::hostileProgramFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, what);
    QFETCH(QStringList, lines);
    QFETCH(QString, reason);
    WindowFixture fixture;
    const QString path =
        file == QLatin1String("<settings>") ? fixture.settingsFile() : fixture.programFile(file);
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    const QByteArray native = QFile::encodeName(path);
    if (what == QLatin1String("fifo"))
        QVERIFY(::mkfifo(native.constData(), 0600) == 0);
    else if (what == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else
        writeFileAt(path, "[Quillmark]\nFile1=" + QByteArray((qint64(1) << 20) + 1, 'x'));
    const bool picture = file == QLatin1String("x/pic.png");
    if (picture)
        writeFileAt(fixture.programFile(QStringLiteral("x/o.cjs")),
                    SkinFramework::Signature().toLatin1() + "\nQPushButton { image: url(" + native +
                        "); }");

    auto form = fixture.window();
    const QStringList prompts = fixture.boxes.prompts();
    QCOMPARE(prompts.size(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QVERIFY2(prompts[i].contains(lines[i]), qPrintable(prompts[i]));
        QVERIFY2(prompts[i].contains(reason), qPrintable(prompts[i]));
        QVERIFY2(prompts[i].contains(path), qPrintable(prompts[i]));
    }
    QVERIFY(form->styleSheet().isEmpty() || !file.startsWith(QLatin1String("x/")));
    if (file.startsWith(QLatin1String("x/")) && !picture && lines.isEmpty())
        QVERIFY(form->palette().color(QPalette::Window) == QColor(Qt::white)); // as without a skin
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillmark"));                // start-up went on
    form->Text1->setText(QStringLiteral("typed")); // does not wait on the settings file
    QCOMPARE(form->Text1->text(), QStringLiteral("typed"));
    QCOMPARE(fixture.boxes.shown.size(), lines.size());
}

namespace {

// A widget whose painting runs out of memory.
class Exhausted : public QWidget
{
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::bad_alloc();
        return QWidget::event(event);
    }
};

} // namespace

void TestWindow::untrappedFailureIsReported()
{
    WindowFixture fixture;
    Exhausted widget;
    QEvent event(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&widget, &event), false);
    QCOMPARE(fixture.boxes.shown.size(), 1);
    QCOMPARE(fixture.boxes.shown[0].title, QStringLiteral("Application Error"));
    QVERIFY(fixture.boxes.shown[0].prompt.startsWith(QStringLiteral("Out of memory\r\r")));
}

// The window program's own application object, so that the failures which
// leave an event are met as in the program.
int main(int argc, char* argv[])
{
    // Screens beside the usual one, for the window on screens of several
    // sizes: the offscreen platform takes them from a file. The first screen
    // stays the platform's own.
    QTemporaryDir screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        const QString config = screens.filePath(QStringLiteral("screens.json"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly) || file.write(kTestScreens) != kTestScreens.size())
            qFatal("cannot write %s", qPrintable(config));
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    }
    TrappedApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_window.moc"
