// The window itself: its controls and their designed places, the wiring of
// the handlers, start-up (Form_Load), the two path fields kept in the
// settings store, and the size and place kept between runs.

#include "shell/Form1.h"

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
#include "widgets/FindBar.h"
#include "widgets/ListCounts.h"
#include "widgets/OverlapBar.h"
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
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

// How a control follows the window when it is larger than designed: across,
// it keeps its place and size, widens with the window, moves with its right
// edge, or takes the left or right half of a row of two buttons that share
// the extra width.
enum class Across
{
    Keep,
    Widen,
    Follow,
    LeftHalf,
    RightHalf
};

// Down, the three result frames share the extra height equally: a frame moves
// down by what the frames above it gained and grows by its own share, its list
// grows with it and its buttons move down with its bottom edge. "Clear All
// Results" follows the window's bottom edge. A window shorter than designed
// (a small screen) takes the height from the lists the same way, down to
// three rows each, then from the room around each frame's buttons, then from
// the gaps between the window's rows.
enum class Down
{
    Still,
    Frame,
    List,
    Below,
    Bottom
};

// One control of the window: where it sits at the designed size (in twips,
// inside its container) and how it follows a larger window.
struct Placement
{
    QWidget* widget;
    int left, top, width, height;
    Across across = Across::Keep;
    Down down = Down::Still;
    int band = 0; // the result frame whose share of the height applies
};

// The window's designed size, in twips, and what the open options panel adds
// to the height of its frame and of the window.
constexpr int kDesignedWidth = 8040;
constexpr int kDesignedHeight = 10635;
constexpr int kPanelHeight = 1200;
// A result list's designed height, and the least gap left between two rows of
// the window on a screen too small for the designed size.
constexpr int kListHeight = 1095;
constexpr int kLeastGap = 30;
// Inside a result frame: the gap between the list and its buttons, and the
// room under the buttons, as designed and at the least.
constexpr int kListToButtons = 90, kLeastListToButtons = 30;
constexpr int kUnderButtons = 165, kLeastUnderButtons = 60;

// The keys that keep the window's size and place, beside the two paths.
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
std::vector<std::vector<QWidget*>> rowsOf(const Form1& f)
{
    return {{f.PushButton11, f.PushButton12},
            {f.Frame6},
            {f.Frame4},
            {f.Frame5},
            {f.PushButton1, f.Overlap1},
            {f.Frame1},
            {f.Frame2},
            {f.Frame3},
            {f.PushButton7}};
}

// The gaps above each row and below the last one, for the controls' places.
std::vector<int> rowGaps(const Form1& form, const QHash<QWidget*, QRect>& places, int height)
{
    std::vector<int> gaps;
    int bottom = 0;
    for (const auto& row : rowsOf(form)) {
        int top = INT_MAX, end = 0;
        for (QWidget* w : row) {
            top = qMin(top, places.value(w).top());
            end = qMax(end, places.value(w).bottom() + 1);
        }
        gaps.push_back(top - bottom);
        bottom = end;
    }
    gaps.push_back(height - bottom);
    return gaps;
}

// A result list's least height: its heading and three rows.
int leastListHeight(const ResultView* list)
{
    const int heading = list->header()->isHidden() ? 0 : list->header()->sizeHint().height();
    return heading + 3 * list->rowHeight() + 2 * list->frameWidth();
}

void paintWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Button, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
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
    setMinimumSize(Px(kDesignedWidth), Px(kDesignedHeight));
    resize(Px(kDesignedWidth), Px(kDesignedHeight));
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
    if (m_worker.joinable())
        m_worker.join();
}

void Form1::buildControls()
{
    auto button = [this](const char* name, const QString& caption, QWidget* container) {
        auto* b = new QPushButton(caption, container);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(arialBold(11.25));
        b->setAutoDefault(false);
        QPalette palette = b->palette();
        palette.setColor(QPalette::Button, Qt::white);
        b->setPalette(palette);
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
    auto list = [](const char* name, QWidget* container) {
        auto* l = new ResultView(container);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };

    // In the order of the window's description; a frame's contents follow it.
    PushButton11 = button("PushButton11", QStringLiteral("Help"), this);
    Frame6 = frame("Frame6", QStringLiteral("Text File #1"));
    Text1 = field("Text1", Frame6);
    PushButton3 = button("PushButton3", QStringLiteral("..."), Frame6);
    PushButton13 = button("PushButton13", QStringLiteral("Paste"), Frame6);
    Frame5 = frame("Frame5", QStringLiteral("Compare Options"));
    auto option = [](const char* name, const QString& caption, QWidget* container) {
        auto* c = new QCheckBox(caption, container);
        c->setObjectName(QString::fromLatin1(name));
        paintWhite(c);
        return c;
    };
    Check7 = option("Check7", QStringLiteral("Match Case"), Frame5);
    Check8 = option("Check8", QStringLiteral("Ignore Blanks At Line Ends"), Frame5);
    Check9 = option("Check9", QStringLiteral("List Each Line Once"), Frame5);
    Check8->setToolTip(QStringLiteral(
        "Blanks and tabs at the start and end of a line do not count when lines are compared"));
    Check9->setToolTip(QStringLiteral(
        "Each list holds a line only at its first place; later repeats are left out"));
    buildOptionsPanel();
    Frame4 = frame("Frame4", QStringLiteral("Text File #2"));
    Text2 = field("Text2", Frame4);
    PushButton4 = button("PushButton4", QStringLiteral("..."), Frame4);
    PushButton14 = button("PushButton14", QStringLiteral("Paste"), Frame4);
    Frame3 = frame("Frame3", QString::fromLatin1(kListKinds[2].caption));
    ListView3 = list("ListView3", Frame3);
    PushButton6 = button("PushButton6", QStringLiteral("Save Results As Text File"), Frame3);
    PushButton10 = button("PushButton10", QStringLiteral("Copy Results To Clipboard"), Frame3);
    Frame2 = frame("Frame2", QString::fromLatin1(kListKinds[1].caption));
    ListView2 = list("ListView2", Frame2);
    PushButton5 = button("PushButton5", QStringLiteral("Save Results As Text File"), Frame2);
    PushButton9 = button("PushButton9", QStringLiteral("Copy Results To Clipboard"), Frame2);
    Frame1 = frame("Frame1", QString::fromLatin1(kListKinds[0].caption));
    ListView1 = list("ListView1", Frame1);
    PushButton2 = button("PushButton2", QStringLiteral("Save Results As Text File"), Frame1);
    PushButton8 = button("PushButton8", QStringLiteral("Copy Results To Clipboard"), Frame1);
    CommonDialog1 = new CommonDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    PushButton1 = button("PushButton1", QStringLiteral("Start Comparing"), this);
    PushButton7 = button("PushButton7", QStringLiteral("Clear All Results"), this);
    PushButton12 = button("PushButton12", QStringLiteral("Load Sample/Example Files"), this);
    SkinFramework1 = new SkinFramework(this);
    SkinFramework1->setObjectName(QStringLiteral("SkinFramework1"));
    const std::tuple<ListCounts**, ResultView*, QGroupBox*, const char*> counts[] = {
        {&Counts1, ListView1, Frame1, "Counts1"},
        {&Counts2, ListView2, Frame2, "Counts2"},
        {&Counts3, ListView3, Frame3, "Counts3"}};
    for (const auto& [member, view, box, name] : counts) {
        *member = new ListCounts(view, box);
        (*member)->setObjectName(QLatin1String(name));
    }
    Overlap1 = new OverlapBar(this);
    Overlap1->setObjectName(QStringLiteral("Overlap1"));

    // The tab order follows the tab indexes, the panel's controls after the
    // other options; frames take no focus.
    QWidget* const tabOrder[] = {ListView1,    ListView2,    ListView3,   PushButton1,  PushButton2,
                                 PushButton5,  PushButton6,  Text1,       PushButton13, PushButton3,
                                 Text2,        PushButton14, PushButton4, Check7,       Check8,
                                 Check9,       Toggle1,      Spin1,       Combo1,       Text3,
                                 Check10,      Check11,      PushButton7, PushButton8,  PushButton9,
                                 PushButton10, PushButton11, PushButton12};
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    for (QGroupBox* f : {Frame1, Frame2, Frame3, Frame4, Frame5, Frame6})
        f->setFocusPolicy(Qt::NoFocus);
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
    Label1 = caption("Label1", QStringLiteral("Compare &Field"));
    Spin1 = new QSpinBox(Panel1);
    Spin1->setObjectName(QStringLiteral("Spin1"));
    Spin1->setRange(0, 9999);
    Spin1->setSpecialValueText(QStringLiteral("Whole line"));
    Spin1->setToolTip(QStringLiteral("Compares only this field of each line, counted from 1; a "
                                     "line with fewer fields compares as empty"));
    Label1->setBuddy(Spin1);
    Label2 = caption("Label2", QStringLiteral("&Delimiter"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = new QComboBox(Panel1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->addItems(DelimiterChoices());
    Combo1->setToolTip(QStringLiteral(
        "What separates the fields: one character; Space splits at runs of blanks and tabs; "
        "with \",\" or \";\" a field in double quotes may hold it"));
    Label2->setBuddy(Combo1);
    Label3 = caption("Label3", QStringLiteral("&Key Pattern"));
    Text3 = new QLineEdit(Panel1);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setPlaceholderText(QStringLiteral("regular expression; first group is compared"));
    Text3->setToolTip(QStringLiteral(
        "Compares the pattern's first group, or its whole match when it has no group; a line it "
        "does not match is compared whole"));
    Label3->setBuddy(Text3);
    auto option = [this](const char* name, const QString& text, const QString& tip) {
        auto* c = new QCheckBox(text, Panel1);
        c->setObjectName(QString::fromLatin1(name));
        c->setToolTip(tip);
        paintWhite(c);
        return c;
    };
    Check10 = option("Check10", QStringLiteral("&Look-Alike Lines Match"),
                     QStringLiteral("No-break and other Unicode spaces, zero-width characters, "
                                    "NFC/NFD spellings and Windows-1252 bytes count as what "
                                    "they look like"));
    Check11 = option("Check11", QStringLiteral("&Skip Empty Lines"),
                     QStringLiteral("Lines whose compared part is empty are in no list"));

    connect(Toggle1, &QToolButton::toggled, this, &Form1::Toggle1_Click);
    // A skin changes the caption's width; the toggle takes it once the
    // button has taken the skin.
    Toggle1->installEventFilter(this);
    connect(Spin1, &QSpinBox::valueChanged, this, &Form1::showToggleState);
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
    const bool set = options.field > 0 || !options.keyPattern.isEmpty() || options.lookAlike ||
                     options.skipEmpty;
    const bool open = Toggle1->isChecked();
    Toggle1->setText(!open && set ? QStringLiteral("&More Options (set)")
                                  : QStringLiteral("&More Options"));
    fitToggle();
}

void Form1::fitToggle()
{
    // The toggle is as wide as its caption, from the right end of its place,
    // so that the frame's line shows up to its caption as up to the frame's own.
    if (m_toggleSlot.isEmpty())
        return;
    QRect r = m_toggleSlot;
    r.setLeft(r.right() + 1 - qMin(r.width(), Toggle1->sizeHint().width()));
    Toggle1->setGeometry(r);
}

void Form1::Toggle1_Click(bool open)
{
    Toggle1->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    const int panel = Px(kPanelHeight);
    const bool fixedSize = windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    if (open) {
        // The window grows down by the panel while the screen has room below
        // it; a maximised window, or one at the screen's bottom, keeps its
        // size and its lists give up the height, never below their designed
        // height while the screen has room for it, never below three rows.
        int grow = fixedSize ? 0 : panel;
        if (!fixedSize && isVisible() && screen()) {
            const int bottom = frameGeometry().top() + frameHeight() + height() - 1;
            grow = qBound(0, screen()->availableGeometry().bottom() - bottom, panel);
        }
        const int minimum = fittedMinimumHeight(true);
        grow = qMax(grow, minimum - height());
        // Taken before the new minimum, which may already resize the window.
        const int target = height() + grow;
        setMinimumHeight(minimum);
        m_panelGrewWindowBy = grow;
        Panel1->show();
        resize(width(), target);
        // A window that had to grow past the screen's bottom moves up as far
        // as its top allows, and back down when the panel closes.
        m_panelMovedWindowBy = 0;
        if (!fixedSize && isVisible() && screen()) {
            const QRect screenArea = screen()->availableGeometry();
            m_panelMovedWindowBy =
                qBound(0, frameGeometry().bottom() - screenArea.bottom(), y() - screenArea.top());
            if (m_panelMovedWindowBy > 0)
                move(x(), y() - m_panelMovedWindowBy);
        }
    } else {
        Panel1->hide();
        setMinimumHeight(fittedMinimumHeight(false));
        if (!fixedSize) {
            if (m_panelGrewWindowBy > 0)
                resize(width(), qMax(minimumHeight(), height() - m_panelGrewWindowBy));
            if (m_panelMovedWindowBy > 0)
                move(x(), y() + m_panelMovedWindowBy);
        }
        m_panelGrewWindowBy = 0;
        m_panelMovedWindowBy = 0;
    }
    layoutControls();
    showToggleState();
}

QHash<QWidget*, QRect> Form1::placesFor(int width, int height, bool panelOpen) const
{
    using enum Across;
    using enum Down;
    const Placement placements[] = {
        {PushButton11, 120, 120, 3840, 405, LeftHalf},
        {Frame6, 120, 580, 7800, 825, Widen},
        {Text1, 240, 300, 5625, 345, Widen},
        {PushButton13, 5985, 300, 855, 345, Follow},
        {PushButton3, 6960, 300, 600, 345, Follow},
        {Frame5, 120, 2325, 7800, 705, Widen},
        {Check7, 360, 300, 1335, 285},
        {Check8, 1935, 300, 2880, 285},
        {Check9, 5055, 300, 2250, 285},
        {Toggle1, 4860, 0, 2700, 240, Follow}, // at most: see fitToggle
        // The panel's controls line up with the three boxes above them.
        {Panel1, 120, 600, 7560, 1185, Widen},
        {Label1, 240, 60, 1455, 345},
        {Spin1, 1815, 60, 1500, 345},
        {Label2, 3435, 60, 1380, 345},
        {Combo1, 4935, 60, 1500, 345},
        {Label3, 240, 480, 1455, 345},
        {Text3, 1815, 480, 5625, 345, Widen},
        {Check10, 240, 900, 3000, 285},
        {Check11, 4935, 900, 2250, 285},
        {Frame4, 120, 1455, 7800, 825, Widen},
        {Text2, 240, 300, 5625, 345, Widen},
        {PushButton14, 5985, 300, 855, 345, Follow},
        {PushButton4, 6960, 300, 600, 345, Follow},
        {Frame3, 120, 7920, 7800, 2055, Widen, Frame, 2},
        {ListView3, 240, 300, 7320, 1095, Widen, List, 2},
        {PushButton6, 240, 1485, 3600, 405, LeftHalf, Below, 2},
        {PushButton10, 3960, 1485, 3600, 405, RightHalf, Below, 2},
        {Frame2, 120, 5760, 7800, 2055, Widen, Frame, 1},
        {ListView2, 240, 300, 7320, 1095, Widen, List, 1},
        {PushButton5, 240, 1485, 3600, 405, LeftHalf, Below, 1},
        {PushButton9, 3960, 1485, 3600, 405, RightHalf, Below, 1},
        {Frame1, 120, 3615, 7800, 2055, Widen, Frame, 0},
        {ListView1, 240, 300, 7320, 1095, Widen, List, 0},
        {PushButton2, 240, 1485, 3600, 405, LeftHalf, Below, 0},
        {PushButton8, 3960, 1485, 3600, 405, RightHalf, Below, 0},
        // Start Comparing shares its row with the overlap of the last comparison.
        {PushButton1, 120, 3150, 3840, 405, LeftHalf},
        {Overlap1, 4080, 3150, 3840, 405, RightHalf},
        {PushButton7, 120, 10110, 7800, 405, Widen, Bottom},
        {PushButton12, 4080, 120, 3840, 405, RightHalf},
    };
    // The open panel makes the options frame taller and moves everything under it down.
    const int panel = panelOpen ? Px(kPanelHeight) : 0;
    const QWidget* const underPanel[] = {PushButton1, Overlap1, Frame1,
                                         Frame2,      Frame3,   PushButton7};
    const int wider = qMax(0, width - Px(kDesignedWidth));
    const int designed = designedHeight(panelOpen);
    // Taller than designed, the lists share the extra height; shorter, they
    // give it up alike, down to three rows each; the room around their
    // buttons and the gaps between the rows give the rest.
    const int taller = qMax(0, height - designed);
    const int listSlack = qMax(0, Px(kListHeight) - leastListHeight(ListView1));
    const int fromLists = qMin(qMax(0, designed - height), 3 * listSlack);
    int share[3] = {taller / 3, taller / 3, taller - 2 * (taller / 3)};
    if (fromLists > 0) {
        share[0] = -(fromLists / 3);
        share[1] = -((fromLists + share[0]) / 2);
        share[2] = -fromLists - share[0] - share[1];
    }
    // Then each result frame closes the room around its buttons.
    const int liftSlack = Px(kListToButtons) - Px(kLeastListToButtons);
    const int trimSlack = liftSlack + Px(kUnderButtons) - Px(kLeastUnderButtons);
    const int fromFrames = qMin(qMax(0, designed - height - fromLists), 3 * trimSlack);
    int trim[3] = {fromFrames / 3, (fromFrames - fromFrames / 3) / 2, 0};
    trim[2] = fromFrames - trim[0] - trim[1];
    const int lift[3] = {qMin(trim[0], liftSlack), qMin(trim[1], liftSlack),
                         qMin(trim[2], liftSlack)};
    const int above[3] = {0, share[0] - trim[0], share[0] + share[1] - trim[0] - trim[1]};
    const int downBy = taller - fromLists - fromFrames;
    QHash<QWidget*, QRect> places;
    for (const Placement& p : placements) {
        QRect r(Px(p.left), Px(p.top), Px(p.width), Px(p.height));
        switch (p.across) {
        case Keep:
            break;
        case Widen:
            r.setWidth(r.width() + wider);
            break;
        case Follow:
            r.translate(wider, 0);
            break;
        case LeftHalf:
            r.setWidth(r.width() + wider / 2);
            break;
        case RightHalf:
            r.translate(wider / 2, 0);
            r.setWidth(r.width() + wider - wider / 2);
            break;
        }
        switch (p.down) {
        case Still:
            break;
        case Frame:
            r.translate(0, above[p.band]);
            r.setHeight(r.height() + share[p.band] - trim[p.band]);
            break;
        case List:
            r.setHeight(r.height() + share[p.band]);
            break;
        case Below:
            r.translate(0, share[p.band] - lift[p.band]);
            break;
        case Bottom:
            r.translate(0, downBy);
            break;
        }
        if (p.widget == Frame5)
            r.setHeight(r.height() + panel);
        else if (std::ranges::find(underPanel, p.widget) != std::end(underPanel))
            r.translate(0, panel);
        places.insert(p.widget, r);
    }
    // What the lists could not give comes from the gaps between the rows,
    // each giving in proportion to what it has above the least gap; the rows
    // keep their order.
    int fromGaps = qMax(0, designed - height - fromLists - fromFrames);
    if (fromGaps > 0) {
        const std::vector<int> gaps = rowGaps(*this, places, designed - fromLists - fromFrames);
        const int least = Px(kLeastGap);
        int slack = 0;
        for (int gap : gaps)
            slack += qMax(0, gap - least);
        fromGaps = qMin(fromGaps, slack);
        std::vector<int> take(gaps.size());
        int taken = 0;
        for (size_t i = 0; i < gaps.size(); ++i) {
            take[i] = int(qint64(fromGaps) * qMax(0, gaps[i] - least) / qMax(1, slack));
            taken += take[i];
        }
        for (size_t i = 0; taken < fromGaps && i < gaps.size(); ++i)
            if (gaps[i] - least > take[i]) {
                ++take[i];
                ++taken;
            }
        int up = 0;
        const auto rows = rowsOf(*this);
        for (size_t i = 0; i < rows.size(); ++i) {
            up += take[i];
            for (QWidget* w : rows[i])
                places[w].translate(0, -up);
        }
    }
    return places;
}

int Form1::designedHeight(bool panelOpen) const
{
    return Px(kDesignedHeight) + (panelOpen ? Px(kPanelHeight) : 0);
}

int Form1::leastHeight(bool panelOpen) const
{
    const int designed = designedHeight(panelOpen);
    const int listSlack = qMax(0, Px(kListHeight) - leastListHeight(ListView1));
    const std::vector<int> gaps =
        rowGaps(*this, placesFor(Px(kDesignedWidth), designed, panelOpen), designed);
    int gapSlack = 0;
    for (int gap : gaps)
        gapSlack += qMax(0, gap - Px(kLeastGap));
    const int trimSlack =
        Px(kListToButtons) - Px(kLeastListToButtons) + Px(kUnderButtons) - Px(kLeastUnderButtons);
    return designed - 3 * listSlack - 3 * trimSlack - gapSlack;
}

int Form1::fittedMinimumHeight(bool panelOpen) const
{
    const int designed = designedHeight(panelOpen);
    if (!screen())
        return designed;
    const int room = screen()->availableGeometry().height() - frameHeight();
    return qBound(leastHeight(panelOpen), room, designed);
}

int Form1::frameHeight() const
{
    // At a fractional scale the frame's device pixels round to fewer
    // pixels of the window's: one more keeps its last row on the screen.
    const int rounding = devicePixelRatioF() == std::floor(devicePixelRatioF()) ? 0 : 1;
    if (isVisible() && frameGeometry().height() > height())
        return frameGeometry().height() - height() + rounding;
    return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
}

void Form1::fitToScreen(bool onScreen)
{
    m_fittedFrame = frameHeight();
    const int minimum = fittedMinimumHeight(Panel1->isVisibleTo(this));
    setMinimumHeight(minimum);
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) || !screen())
        return;
    const QRect area = screen()->availableGeometry();
    const int fits = qMax(minimum, area.height() - m_fittedFrame);
    const int newHeight = qMin(height(), fits);
    if (newHeight != height())
        resize(width(), newHeight);
    if (onScreen && isVisible()) {
        // The title bar first: a window taller than the screen runs off its
        // bottom. Until the desktop has framed the window, its place is the
        // client area's, and the title bar will sit above it.
        const bool framed = frameGeometry() != geometry();
        const int top = framed ? frameGeometry().top() : geometry().top() - m_fittedFrame;
        const int bottom = top + m_fittedFrame + newHeight - 1;
        int dy = qMin(0, area.bottom() - bottom);
        dy = qMax(dy, area.top() - top);
        if (dy != 0)
            move(x(), y() + dy);
    }
}

void Form1::watchScreen(QScreen* where)
{
    disconnect(m_screenWatch);
    if (where)
        m_screenWatch =
            connect(where, &QScreen::availableGeometryChanged, this, [this] { fitToScreen(true); });
}

namespace {

// A screen reader walks a container's children in the order the toolkit keeps
// them, which is the order they were made in. Raising each in the order it
// shows (top to bottom, and on one line left to right) makes the two the
// same; siblings here do not overlap, but for a find bar over its list's
// buttons, which comes after them and so stays on top.
void orderAsShown(QWidget* container)
{
    std::vector<QWidget*> children;
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow())
            children.push_back(widget);
    }
    // By top; then those that share a line with the one before, left to right.
    std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
        return a->geometry().top() < b->geometry().top();
    });
    for (auto line = children.begin(); line != children.end();) {
        int bottom = (*line)->geometry().bottom();
        auto end = std::next(line);
        for (; end != children.end() && (*end)->geometry().top() <= bottom; ++end)
            bottom = std::max(bottom, (*end)->geometry().bottom());
        std::stable_sort(line, end, [](const QWidget* a, const QWidget* b) {
            return a->geometry().left() < b->geometry().left();
        });
        line = end;
    }
    for (QWidget* widget : children)
        widget->raise();
}

} // namespace

void Form1::layoutControls()
{
    const QHash<QWidget*, QRect> places = placesFor(width(), height(), Panel1->isVisibleTo(this));
    for (auto it = places.begin(); it != places.end(); ++it)
        it.key()->setGeometry(it.value());
    m_toggleSlot = Toggle1->geometry();
    fitToggle();
    // The list columns widen with the lists, keeping any width the user gave them.
    const int wider = qMax(0, width() - Px(kDesignedWidth));
    const int widen = wider - m_columnsWidenedBy;
    m_columnsWidenedBy = wider;
    if (widen != 0)
        for (ResultView* list : {ListView1, ListView2, ListView3})
            list->header()->resizeSection(0, qMax(0, list->columnWidth(0) + widen));
    // A find bar lies over its list's two buttons.
    const std::pair<QPushButton*, QPushButton*> rows[] = {
        {PushButton2, PushButton8}, {PushButton5, PushButton9}, {PushButton6, PushButton10}};
    for (size_t i = 0; i < m_findBars.size(); ++i)
        if (m_findBars[i])
            m_findBars[i]->setGeometry(
                rows[i].first->geometry().united(rows[i].second->geometry()));
    for (QWidget* container : std::initializer_list<QWidget*>{this, Frame1, Frame2, Frame3, Frame4,
                                                              Frame5, Frame6, Panel1})
        orderAsShown(container);
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
    const std::pair<int, ResultView*> lists[] = {
        {128, ListView1}, {132, ListView2}, {136, ListView3}};
    for (const auto& [line, view] : lists) {
        trap.Run(line, [view] { view->list().AddColumn(QStringLiteral("Result(s)")); });
        trap.Run(line + 2, [view] { view->list().SetColumnWidth(1, 6300); });
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
    // The keyboard focus starts in the first list, the lowest tab index.
    ListView1->setFocus();
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
        // Kept as it is with the options panel closed, as the next start shows it.
        QRect place = normalGeometry();
        place.setHeight(place.height() - m_panelGrewWindowBy);
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
