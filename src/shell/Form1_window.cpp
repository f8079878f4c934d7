// The window itself: its controls, the wiring of the handlers, start-up
// (Form_Load), the two path fields kept in the settings store, the size and
// place kept between runs, and the window's events. Where the controls go is
// in Form1_layout.cpp.

#include "shell/Form1.h"
#include "widgets/ControlAccessible.h"

#include "desktop/AppInfo.h"
#include "desktop/BusyProgress.h"
#include "desktop/CommonDialog.h"
#include "desktop/SettingsStore.h"
#include "desktop/SkinFramework.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "results/ListKinds.h"
#include "shell/ErrorTrap.h"
#include "shell/StartupRoutines.h"
#include "widgets/OverlapBar.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

const QStringList kPlacementKeys = {"WindowLeft",   "WindowTop",    "WindowWidth",
                                    "WindowHeight", "WindowScreen", "WindowMaximized"};

QFont arialBold(qreal points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The window's rows, top to bottom: a row's controls move up together when
// the gaps between the rows close.
void paintWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Button, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Each list's line numbers as the user left them; a settings file that
// cannot be read was reported for the paths, and here means none shown.
void showLineNumbersAsKept(const std::array<ResultPane*, kListCount>& panes)
{
    QStringList keys;
    for (const ResultPane* pane : panes)
        keys.append(pane->LineNumbersKey());
    QStringList kept;
    try {
        kept = GetSettings(QStringLiteral("Harrowmere"), ProductName(), keys);
    } catch (...) {
        return;
    }
    for (size_t i = 0; i < panes.size(); ++i)
        panes[i]->View->ShowLineNumbers(kept.value(qsizetype(i)) == QLatin1String("1"));
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    // What a screen reader gets of Qt's controls, before any of them is made.
    InstallControlAccessible();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    // Sizable down to the designed size (less on a screen too small for it),
    // with minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(arialBold(9));
    paintWhite(this);
    buildControls();
    buildWindowScroll();
    setMinimumSize(designedWidth(), designedHeight(false));
    resize(designedWidth(), designedHeight(false));
    connectCommands();
    describeControls();
    fitToScreen(false);
    layoutControls();
    m_placementSaver.setSingleShot(true);
    m_placementSaver.setInterval(500);
    connect(&m_placementSaver, &QTimer::timeout, this, &Form1::savePlacement);
    m_frameWatch.setInterval(100);
    connect(&m_frameWatch, &QTimer::timeout, this, [this] {
        if (frameHeight() != m_fittedFrame)
            fitToScreen(true);
        else if (--m_frameChecks > 0)
            return;
        m_frameWatch.stop();
    });
}

Form1::~Form1()
{
    // A comparison left behind by Cancel stops at the engine's next look, and
    // so does the search for near misses.
    stopNearMissSearch();
    m_workers.CancelAll();
    m_workers.Wait();
    // The focus moves while the controls go, after this part of the window
    // is gone: it no longer scrolls them into view.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void Form1::buildControls()
{
    auto dress = [](QPushButton* b) {
        b->setFont(arialBold(11.25));
        b->setAutoDefault(false);
        QPalette palette = b->palette();
        palette.setColor(QPalette::Button, Qt::white);
        b->setPalette(palette);
    };
    auto button = [&dress](const char* name, const QString& caption, QWidget* container) {
        auto* b = new QPushButton(caption, container);
        b->setObjectName(QString::fromLatin1(name));
        dress(b);
        return b;
    };
    auto frame = [this](const char* name, const QString& caption) {
        auto* f = new QGroupBox(caption, this);
        f->setObjectName(QString::fromLatin1(name));
        paintWhite(f);
        return f;
    };
    auto field = [](const char* name, QWidget* container) {
        auto* t = new QLineEdit(container);
        t->setObjectName(QString::fromLatin1(name));
        return t;
    };

    // In the order of the window's description; a frame's contents follow it.
    PushButton11 = button("PushButton11", tr("Help"), this);
    Frame6 = frame("Frame6", tr("Text File #1"));
    Text1 = field("Text1", Frame6);
    PushButton3 = button("PushButton3", tr("..."), Frame6);
    PushButton13 = button("PushButton13", tr("Paste"), Frame6);
    Frame5 = frame("Frame5", tr("Compare Options"));
    auto option = [](const char* name, const QString& caption, QWidget* container) {
        auto* c = new QCheckBox(caption, container);
        c->setObjectName(QString::fromLatin1(name));
        paintWhite(c);
        return c;
    };
    Check7 = option("Check7", tr("Match Case"), Frame5);
    Check8 = option("Check8", tr("Ignore Blanks At Line Ends"), Frame5);
    Check9 = option("Check9", tr("List Each Line Once"), Frame5);
    Check8->setToolTip(
        tr("Blanks and tabs at the start and end of a line do not count when lines are compared"));
    Check9->setToolTip(
        tr("Each list holds a line only at its first place; later repeats are left out"));
    buildOptionsPanel();
    Frame4 = frame("Frame4", tr("Text File #2"));
    Text2 = field("Text2", Frame4);
    PushButton4 = button("PushButton4", tr("..."), Frame4);
    PushButton14 = button("PushButton14", tr("Paste"), Frame4);
    // The result panes as the description has them, the last list first.
    for (size_t i = Panes.size(); i-- > 0;) {
        auto* pane = new ResultPane(kListKinds[i], this);
        paintWhite(pane);
        dress(pane->Save);
        dress(pane->Copy);
        pane->setVisible(ListShown(kListKinds[i], CompareOptions()));
        Panes[i] = pane;
    }
    CommonDialog1 = new CommonDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    PushButton1 = button("PushButton1", tr("Start Comparing"), this);
    PushButton7 = button("PushButton7", tr("Clear All Results"), this);
    PushButton12 = button("PushButton12", tr("Load Sample/Example Files"), this);
    SkinFramework1 = new SkinFramework(this);
    SkinFramework1->setObjectName(QStringLiteral("SkinFramework1"));
    Overlap1 = new OverlapBar(this);
    Overlap1->setObjectName(QStringLiteral("Overlap1"));

    // The tab order follows the tab indexes, the panel's controls after the
    // other options; frames take no focus.
    std::vector<QWidget*> tabOrder;
    for (ResultPane* pane : Panes)
        tabOrder.push_back(pane->View);
    tabOrder.push_back(PushButton1);
    for (ResultPane* pane : Panes)
        tabOrder.push_back(pane->Save);
    tabOrder.insert(tabOrder.end(), {Text1, PushButton13, PushButton3, Text2, PushButton14,
                                     PushButton4, Check7, Check8, Check9, Toggle1, Spin1, Combo1,
                                     Check12, Text4, Text3, Check10, Check11, PushButton7});
    for (ResultPane* pane : Panes)
        tabOrder.push_back(pane->Copy);
    tabOrder.insert(tabOrder.end(), {PushButton11, PushButton12});
    for (size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    for (QGroupBox* f : {Frame4, Frame5, Frame6})
        f->setFocusPolicy(Qt::NoFocus);
    for (ResultPane* pane : Panes)
        pane->setFocusPolicy(Qt::NoFocus);
}

void Form1::buildOptionsPanel()
{
    // The toggle sits in the frame's caption row at its right end, a second
    // caption that opens and closes the panel.
    Toggle1 = new QToolButton(Frame5);
    Toggle1->setObjectName(QStringLiteral("Toggle1"));
    Toggle1->setCheckable(true);
    Toggle1->setAutoRaise(true);
    Toggle1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Toggle1->setArrowType(Qt::RightArrow);
    paintWhite(Toggle1);

    Panel1 = new QWidget(Frame5);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->hide();
    auto caption = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    };
    Label1 = caption("Label1", tr("Compare &Field"));
    // Field numbers and names: digits, letters and the like, commas between.
    const auto* fieldList = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\x00-\\x1f\\x7f]*")), Panel1);
    Spin1 = new QLineEdit(Panel1);
    Spin1->setObjectName(QStringLiteral("Spin1"));
    Spin1->setValidator(fieldList);
    Spin1->setPlaceholderText(tr("Whole line"));
    Spin1->setToolTip(
        tr("Compares only these fields of each line, counted from 1 (\"1,3\"), or named in the "
           "first line (\"id,region\"); empty compares the whole line. With a key, lines of "
           "file 1 whose key file 2 holds on another line are listed as changed"));
    Label1->setBuddy(Spin1);
    Label2 = caption("Label2", tr("&Delimiter"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = new QComboBox(Panel1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->addItems(DelimiterChoices());
    Combo1->setToolTip(
        tr("What separates the fields: one character; Space splits at runs of blanks and tabs; "
           "with \",\" or \";\" a field in double quotes may hold it"));
    Label2->setBuddy(Combo1);
    Label3 = caption("Label3", tr("&Key Pattern"));
    Text3 = new QLineEdit(Panel1);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setPlaceholderText(tr("regular expression; first group is compared"));
    Text3->setToolTip(
        tr("Compares the pattern's first group, or its whole match when it has no group; a line it "
           "does not match is compared whole"));
    Label3->setBuddy(Text3);
    auto option = [this](const char* name, const QString& text, const QString& tip) {
        auto* c = new QCheckBox(text, Panel1);
        c->setObjectName(QString::fromLatin1(name));
        c->setToolTip(tip);
        paintWhite(c);
        return c;
    };
    Check10 = option("Check10", tr("&Look-Alike Lines Match"),
                     tr("No-break and other Unicode spaces, zero-width characters, "
                        "NFC/NFD spellings and Windows-1252 bytes count as what "
                        "they look like"));
    Check11 = option("Check11", tr("&Skip Empty Lines"),
                     tr("Lines whose compared part is empty are in no list"));
    Check12 = option("Check12", tr("First line &names the fields"),
                     tr("The first line of each file holds the fields' names: it is "
                        "neither compared nor listed, and fields can be given by name"));
    Label4 = caption("Label4", tr("I&gnore fields"));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text4 = new QLineEdit(Panel1);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setValidator(fieldList);
    Text4->setPlaceholderText(tr("none"));
    Text4->setToolTip(
        tr("Fields whose differences do not make a line changed (\"4,5\", or names with the first "
           "line naming the fields); never a field of the key"));
    Label4->setBuddy(Text4);

    connect(Toggle1, &QToolButton::toggled, this, &Form1::Toggle1_Click);
    // A skin changes the caption's width; the toggle takes it once the
    // button has taken the skin.
    Toggle1->installEventFilter(this);
    connect(Spin1, &QLineEdit::textChanged, this, &Form1::showToggleState);
    connect(Text4, &QLineEdit::textChanged, this, &Form1::showToggleState);
    connect(Check12, &QCheckBox::toggled, this, &Form1::showToggleState);
    connect(Combo1, &QComboBox::currentTextChanged, this, &Form1::showToggleState);
    connect(Text3, &QLineEdit::textChanged, this, &Form1::showToggleState);
    connect(Check10, &QCheckBox::toggled, this, &Form1::showToggleState);
    connect(Check11, &QCheckBox::toggled, this, &Form1::showToggleState);
    showToggleState();
}

void Form1::showToggleState()
{
    // The options of a closed panel still count: its toggle says so, lest a
    // comparison surprise whoever forgot them.
    const CompareOptions options = CurrentCompareOptions();
    const bool set = !Spin1->text().trimmed().isEmpty() || !options.keyPattern.isEmpty() ||
                     options.lookAlike || options.skipEmpty || options.header ||
                     !Text4->text().trimmed().isEmpty();
    const bool open = Toggle1->isChecked();
    Toggle1->setText(!open && set ? tr("&More Options (set)") : tr("&More Options"));
    fitToggle();
}

void Form1::connectCommands()
{
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connectResultCommands();
    connectInputCommands();
    connectNearMissCommands();
}

void Form1::Form_Load()
{
    ErrorTrap trap(QStringLiteral("Form_Load"));
    trap.Run(100, [this] { ApplySkin(*this); });
    const QString pointerFile = AppFile(QStringLiteral("\\HAND-M.CUR"));
    if (trap.If(104, [&] { return FileSystem::FileExists(pointerFile); }))
        trap.Run(106, [&] { SetMouseIcon(LoadPicture(pointerFile)); });
    trap.Run(108, [] { MaybeOpenHomePage(); });
    trap.Run(110, [this] {
        setWindowTitle(ProductName());
        setWindowIcon(MainIcon());
        SetApplicationTitle();
    });
    for (size_t i = 0; i < Panes.size(); ++i) {
        ResultList* list = &Panes[i]->List();
        // The lists shown only with a key come after the three designed ones.
        const int line = i < 3 ? 128 + 4 * int(i) : 146 + 4 * int(i - 3);
        trap.Run(line, [list] { list->AddColumn(Form1::tr("Result(s)")); });
        trap.Run(line + 2, [list] { list->SetColumnWidth(1, 6300); });
    }
    trap.Run(140, [this] {
        Text1->setText(
            GetSetting(QStringLiteral("Harrowmere"), ProductName(), QStringLiteral("File1")));
    });
    trap.Run(142, [this] {
        Text2->setText(
            GetSetting(QStringLiteral("Harrowmere"), ProductName(), QStringLiteral("File2")));
    });
    trap.Run(144, [this] { restorePlacement(); });
    showLineNumbersAsKept(Panes);
    // The keyboard focus starts in the first list, the lowest tab index.
    Panes[0]->View->setFocus();
}

// A settings file that cannot be used was reported when start-up read it; a
// box on every keystroke would make the field unusable, so typing goes on and
// the path is simply not remembered.
void Form1::Text1_Change()
{
    try {
        SaveSetting(QStringLiteral("Harrowmere"), ProductName(), QStringLiteral("File1"),
                    Text1->text());
    } catch (const RuntimeError&) {
    }
}

void Form1::Text2_Change()
{
    try {
        SaveSetting(QStringLiteral("Harrowmere"), ProductName(), QStringLiteral("File2"),
                    Text2->text());
    } catch (const RuntimeError&) {
    }
}

void Form1::restorePlacement()
{
    // The size and place are a convenience: a settings file that cannot be
    // read was reported for the paths already, and here means "none kept".
    QStringList kept;
    try {
        kept = GetSettings(QStringLiteral("Harrowmere"), ProductName(), kPlacementKeys);
    } catch (...) {
        return;
    }
    // Put back where it was when that place is still on the same screen and
    // holds the whole window; otherwise the designed size, centred.
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool number = false;
        values[i] = kept[i].toInt(&number);
        if (!number)
            return;
    }
    const QRect place(values[0], values[1], values[2], values[3]);
    const QString& screenName = kept[4];
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto on = std::find_if(screens.begin(), screens.end(),
                                 [&](const QScreen* s) { return s->name() == screenName; });
    if (on == screens.end() || place.width() < minimumWidth() || place.height() < minimumHeight() ||
        !(*on)->availableGeometry().contains(place))
        return;
    setGeometry(place);
    m_centred = true;
    if (kept[5] == QLatin1String("1"))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void Form1::savePlacement()
{
    m_placementSaver.stop();
    if (!isVisible())
        return;
    // Failing to keep the size and place must not stand in the way of the
    // window or its closing. All of them go in one write of the file.
    try {
        // Kept as it is with the options panel closed and the designed lists alone, as
        // the next start shows it.
        QRect place = normalGeometry();
        place.setHeight(place.height() - m_panelGrewWindowBy - m_bandsGrewWindowBy);
        const QStringList values = {QString::number(place.x()),
                                    QString::number(place.y()),
                                    QString::number(place.width()),
                                    QString::number(place.height()),
                                    screen() ? screen()->name() : QString(),
                                    isMaximized() ? QStringLiteral("1") : QStringLiteral("0")};
        QList<std::pair<QString, QString>> pairs;
        for (int i = 0; i < values.size(); ++i)
            pairs.append({kPlacementKeys[i], values[i]});
        SaveSettings(QStringLiteral("Harrowmere"), ProductName(), pairs);
    } catch (...) {
    }
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        // The command that works is cancelled; the window closes when it has ended.
        m_busy->Cancel();
        m_closeAsked = true;
        event->ignore();
        return;
    }
    // Closing the window ends the program; the paths were saved as they
    // changed, the window's size and place are kept now. The near misses
    // still being found are not waited for.
    stopNearMissSearch();
    savePlacement();
    event->accept();
    QApplication::quit();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
    if (isVisible())
        m_placementSaver.start();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        m_placementSaver.start();
}

void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible())
        m_placementSaver.start();
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_screenFollowed && windowHandle()) {
        m_screenFollowed = true;
        // Another screen, or another work area on this one, has its own room.
        connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* where) {
            watchScreen(where);
            fitToScreen(false);
        });
        watchScreen(screen());
    }
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* where = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(where->availableGeometry().center());
            move(frame.topLeft());
        }
        fitToScreen(true);
        // The desktop frames the window a moment after it shows, and tells
        // the toolkit without an event: the minimum height and the place
        // take the frame's real height once it is known.
        m_frameChecks = 30;
        m_frameWatch.start();
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Toggle1 &&
        (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange))
        QMetaObject::invokeMethod(
            this, [this] { fitToggle(); }, Qt::QueuedConnection);
    if (handleInputEvent(watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}
