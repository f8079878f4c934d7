// Where the window's controls go: the designed places in twips, a row for
// each control and a band for each result pane, stretched for a larger
// window and squeezed for a small screen; the More Options panel that makes
// the window taller; fitting the window to its screen.

#include "shell/Form1.h"

#include "widgets/OverlapBar.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>
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

// Down, the result frames share the extra height equally: a frame moves
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
constexpr int kPanelHeight = 1620;
// The result frames' designed tops, one band a list shown; a list past these
// takes a band of its own below the last, and the window grows by it.
constexpr int kBandTops[] = {3615, 5760, 7920};
constexpr int kBandStep = 2160;
constexpr int kFrameHeight = 2055;

int extraBands(const Form1& f)
{
    size_t shown = 0;
    for (const ResultPane* pane : f.Panes)
        shown += pane->isHidden() ? 0 : 1;
    return qMax(0, int(shown) - int(std::size(kBandTops)));
}

int bandTop(size_t band)
{
    constexpr size_t designed = std::size(kBandTops);
    return band < designed ? kBandTops[band]
                           : kBandTops[designed - 1] + int(band - designed + 1) * kBandStep;
}
// A result list's designed height, and the least gap left between two rows of
// the window on a screen too small for the designed size.
constexpr int kListHeight = 1095;
constexpr int kLeastGap = 30;
// Inside a result frame: the gap between the list and its buttons, and the
// room under the buttons, as designed and at the least.
constexpr int kListToButtons = 90, kLeastListToButtons = 30;
constexpr int kUnderButtons = 165, kLeastUnderButtons = 60;
// The least a window that scrolls its controls is made: a few rows of them.
constexpr int kLeastScrolledHeight = 2400;

// The window's rows, top to bottom: a row's controls move up together when
// the gaps between the rows close.
std::vector<std::vector<QWidget*>> rowsOf(const Form1& f)
{
    std::vector<std::vector<QWidget*>> rows = {{f.PushButton11, f.PushButton12},
                                               {f.Frame6},
                                               {f.Frame4},
                                               {f.Frame5},
                                               {f.PushButton1, f.Overlap1}};
    for (ResultPane* pane : f.Panes)
        if (!pane->isHidden())
            rows.push_back({pane});
    rows.push_back({f.PushButton7});
    return rows;
}

// total split among n parts as evenly as whole pixels allow: the parts
// growing a larger window each take an equal share and the last the rest;
// those shrinking a smaller one take the larger shares first.
std::vector<int> growShares(int total, size_t n)
{
    std::vector<int> shares(n, total / int(n));
    shares.back() = total - (int(n) - 1) * (total / int(n));
    return shares;
}

std::vector<int> shrinkShares(int total, size_t n)
{
    std::vector<int> shares(n);
    for (size_t i = 0; i < n; ++i) {
        shares[i] = total / int(n - i);
        total -= shares[i];
    }
    return shares;
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

// A result list's least height: its heading and three rows, or two when the
// window shows more lists than the designed three (the fourth band must fit
// a 1920x1080 screen at 150 %).
int leastListHeight(const ResultView* list, size_t bands, bool panelOpen)
{
    // Three rows at least; two where a fourth band or the open panel's
    // rows of options must fit too.
    const int heading = list->header()->isHidden() ? 0 : list->header()->sizeHint().height();
    const int rows = bands > std::size(kBandTops) || panelOpen ? 2 : 3;
    return heading + rows * list->rowHeight() + 2 * list->frameWidth();
}

} // namespace

std::vector<ResultPane*> Form1::shownPanes() const
{
    std::vector<ResultPane*> shown;
    for (ResultPane* pane : Panes)
        if (!pane->isHidden())
            shown.push_back(pane);
    return shown;
}

void Form1::showListsOf(const CompareOptions& options)
{
    const int before = designedHeight(false);
    bool changed = false;
    for (size_t i = 0; i < Panes.size(); ++i) {
        const bool shown = ListShown(kListKinds[i], options);
        if (Panes[i]->isHidden() == shown) {
            Panes[i]->setVisible(shown);
            changed = true;
        }
    }
    if (!changed)
        return;
    // As the options panel does: a band that shows grows the window down
    // while the screen has room below it; a maximised window, or one at the
    // screen's bottom, keeps its size and the lists share it. A band that
    // hides gives back what its showing added.
    const int more = designedHeight(false) - before;
    const bool fixedSize = windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    int target = height();
    if (more > 0) {
        int grow = fixedSize ? 0 : more;
        if (!fixedSize && isVisible() && screen()) {
            const int bottom = frameGeometry().top() + frameHeight() + height() - 1;
            grow = qBound(0, screen()->availableGeometry().bottom() - bottom, more);
        }
        m_bandsGrewWindowBy += grow;
        target += grow;
    } else if (!fixedSize) {
        target -= qMin(m_bandsGrewWindowBy, -more);
        m_bandsGrewWindowBy = qMax(0, m_bandsGrewWindowBy + more);
    }
    const int minimum = fittedMinimumHeight(Panel1->isVisibleTo(this));
    setMinimumHeight(qMin(minimum, target));
    if (!fixedSize)
        resize(width(), qMax(minimum, target));
    setMinimumHeight(minimum);
    fitToScreen(true);
    layoutControls();
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
        // height while the screen has room for it, never below two rows.
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

namespace {

// Every control's designed place, a band for each result pane among them.
std::vector<Placement> designedPlacements(const Form1& f)
{
    using enum Across;
    using enum Down;
    std::vector<Placement> placements = {
        {f.PushButton11, 120, 120, 3840, 405, LeftHalf},
        {f.Frame6, 120, 580, 7800, 825, Widen},
        {f.Text1, 240, 300, 5625, 345, Widen},
        {f.PushButton13, 5985, 300, 855, 345, Follow},
        {f.PushButton3, 6960, 300, 600, 345, Follow},
        {f.Frame5, 120, 2325, 7800, 705, Widen},
        {f.Check7, 360, 300, 1335, 285},
        {f.Check8, 1935, 300, 2880, 285},
        {f.Check9, 5055, 300, 2250, 285},
        {f.Toggle1, 4860, 0, 2700, 240, Follow}, // at most: see fitToggle
        // The panel's controls line up with the three boxes above them.
        {f.Panel1, 120, 600, 7560, kPanelHeight - 15, Widen},
        {f.Label1, 240, 60, 1455, 345},
        {f.Spin1, 1815, 60, 1500, 345},
        {f.Label2, 3435, 60, 1380, 345},
        {f.Combo1, 4935, 60, 1500, 345},
        {f.Check12, 240, 510, 3075, 285},
        {f.Label4, 3435, 480, 1380, 345},
        {f.Text4, 4935, 480, 2505, 345, Widen},
        {f.Label3, 240, 900, 1455, 345},
        {f.Text3, 1815, 900, 5625, 345, Widen},
        {f.Check10, 240, 1320, 3000, 285},
        {f.Check11, 4935, 1320, 2250, 285},
        {f.Frame4, 120, 1455, 7800, 825, Widen},
        {f.Text2, 240, 300, 5625, 345, Widen},
        {f.PushButton14, 5985, 300, 855, 345, Follow},
        {f.PushButton4, 6960, 300, 600, 345, Follow},
        // Start Comparing shares its row with the overlap of the last comparison.
        {f.PushButton1, 120, 3150, 3840, 405, LeftHalf},
        {f.Overlap1, 4080, 3150, 3840, 405, RightHalf},
        {f.PushButton7, 120, 10110 + extraBands(f) * kBandStep, 7800, 405, Widen, Bottom},
        {f.PushButton12, 4080, 120, 3840, 405, RightHalf},
    };
    // A band for each result pane shown: the frame, its list, and its two
    // buttons sharing the row under the list.
    const std::vector<ResultPane*> shown = f.shownPanes();
    for (size_t i = 0; i < shown.size(); ++i) {
        ResultPane* pane = shown[i];
        const int band = int(i);
        placements.insert(placements.end(),
                          {{pane, 120, bandTop(i), 7800, kFrameHeight, Widen, Frame, band},
                           {pane->View, 240, 300, 7320, kListHeight, Widen, List, band},
                           {pane->Save, 240, 1485, 3600, 405, LeftHalf, Below, band},
                           {pane->Copy, 3960, 1485, 3600, 405, RightHalf, Below, band}});
    }
    return placements;
}

// How far each band's frame, list and buttons move and grow for a window
// height taller or shorter than designed.
struct BandShifts
{
    std::vector<int> share;            // what a band's list gains (less than 0: gives up)
    std::vector<int> trim;             // the room a band's frame closes around its buttons
    std::vector<int> lift;             // of which between the list and the buttons
    std::vector<int> above;            // what the bands above a band gained
    int fromLists = 0, fromFrames = 0; // what the lists and frames gave up in all
    int downBy = 0;                    // what the rows under the bands move down by
};

// Taller than designed, the lists share the extra height; shorter, they give
// it up alike, down to their least height each (listSlack); then each frame
// closes the room around its buttons (trimSlack, of which liftSlack above
// them).
BandShifts shiftBands(size_t bands, int designed, int height, int listSlack, int liftSlack,
                      int trimSlack)
{
    BandShifts b;
    const int taller = qMax(0, height - designed);
    b.fromLists = qMin(qMax(0, designed - height), int(bands) * listSlack);
    b.share = growShares(taller, bands);
    if (b.fromLists > 0) {
        b.share = shrinkShares(b.fromLists, bands);
        for (int& each : b.share)
            each = -each;
    }
    b.fromFrames = qMin(qMax(0, designed - height - b.fromLists), int(bands) * trimSlack);
    b.trim = shrinkShares(b.fromFrames, bands);
    b.lift.resize(bands);
    b.above.resize(bands);
    for (size_t i = 0; i < bands; ++i) {
        b.lift[i] = qMin(b.trim[i], liftSlack);
        b.above[i] = i == 0 ? 0 : b.above[i - 1] + b.share[i - 1] - b.trim[i - 1];
    }
    b.downBy = taller - b.fromLists - b.fromFrames;
    return b;
}

// A designed place, followed across for a window wider by `wider` and down
// by its band's shifts.
QRect follow(QRect r, const Placement& p, int wider, const BandShifts& b)
{
    using enum Across;
    using enum Down;
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
    const size_t band = size_t(p.band);
    switch (p.down) {
    case Still:
        break;
    case Frame:
        r.translate(0, b.above[band]);
        r.setHeight(r.height() + b.share[band] - b.trim[band]);
        break;
    case List:
        r.setHeight(r.height() + b.share[band]);
        break;
    case Below:
        r.translate(0, b.share[band] - b.lift[band]);
        break;
    case Bottom:
        r.translate(0, b.downBy);
        break;
    }
    return r;
}

// Moves the rows up by fromGaps in all, taken from the gaps between them
// (those of places in a window of height), each in proportion to what it has
// above least; the rows keep their order.
void closeGaps(const Form1& form, QHash<QWidget*, QRect>& places, int height, int fromGaps,
               int least)
{
    const std::vector<int> gaps = rowGaps(form, places, height);
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
    const auto rows = rowsOf(form);
    for (size_t i = 0; i < rows.size(); ++i) {
        up += take[i];
        for (QWidget* w : rows[i])
            places[w].translate(0, -up);
    }
}

} // namespace

QHash<QWidget*, QRect> Form1::placesFor(int width, int height, bool panelOpen) const
{
    // The open panel makes the options frame taller and moves everything under it down.
    const int panel = panelOpen ? Px(kPanelHeight) : 0;
    std::vector<const QWidget*> underPanel = {PushButton1, Overlap1, PushButton7};
    underPanel.insert(underPanel.end(), Panes.begin(), Panes.end());
    const int wider = qMax(0, width - Px(kDesignedWidth));
    const int designed = designedHeight(panelOpen);
    const int liftSlack = Px(kListToButtons) - Px(kLeastListToButtons);
    const BandShifts bands = shiftBands(
        shownPanes().size(), designed, height,
        qMax(0, Px(kListHeight) - leastListHeight(Panes[0]->View, shownPanes().size(), panelOpen)),
        liftSlack, liftSlack + Px(kUnderButtons) - Px(kLeastUnderButtons));
    QHash<QWidget*, QRect> places;
    for (const Placement& p : designedPlacements(*this)) {
        QRect r = follow(QRect(Px(p.left), Px(p.top), Px(p.width), Px(p.height)), p, wider, bands);
        if (p.widget == Frame5)
            r.setHeight(r.height() + panel);
        else if (std::ranges::find(underPanel, p.widget) != std::end(underPanel))
            r.translate(0, panel);
        places.insert(p.widget, r);
    }
    // What the lists and frames could not give comes from the gaps between the rows.
    const int fromGaps = designed - height - bands.fromLists - bands.fromFrames;
    if (fromGaps > 0)
        closeGaps(*this, places, designed - bands.fromLists - bands.fromFrames, fromGaps,
                  Px(kLeastGap));
    return places;
}

int Form1::designedHeight(bool panelOpen) const
{
    return Px(kDesignedHeight + extraBands(*this) * kBandStep) + (panelOpen ? Px(kPanelHeight) : 0);
}

int Form1::designedWidth() const
{
    return Px(kDesignedWidth);
}

int Form1::leastHeight(bool panelOpen) const
{
    const int designed = designedHeight(panelOpen);
    const int listSlack =
        qMax(0, Px(kListHeight) - leastListHeight(Panes[0]->View, shownPanes().size(), panelOpen));
    const std::vector<int> gaps =
        rowGaps(*this, placesFor(Px(kDesignedWidth), designed, panelOpen), designed);
    int gapSlack = 0;
    for (int gap : gaps)
        gapSlack += qMax(0, gap - Px(kLeastGap));
    const int trimSlack =
        Px(kListToButtons) - Px(kLeastListToButtons) + Px(kUnderButtons) - Px(kLeastUnderButtons);
    const int bands = int(shownPanes().size());
    return designed - bands * listSlack - bands * trimSlack - gapSlack;
}

int Form1::fittedMinimumHeight(bool panelOpen) const
{
    const int designed = designedHeight(panelOpen);
    if (!screen())
        return designed;
    const int room = screen()->availableGeometry().height() - frameHeight();
    const int least = leastHeight(panelOpen);
    // Less room than the least height: the window fits the screen and its
    // controls scroll, rather than running off the screen's bottom.
    if (room < least)
        return qMax(room, Px(kLeastScrolledHeight));
    return qBound(least, room, designed);
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
    const bool panelOpen = Panel1->isVisibleTo(this);
    const int minimum = fittedMinimumHeight(panelOpen);
    // A window that scrolls keeps its designed width beside the scroll bar.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setMinimumWidth(designedWidth() + (minimum < leastHeight(panelOpen) ? bar : 0));
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
// buttons, which comes after them and so stays on top. Hidden ones go last.
void orderAsShown(QWidget* container, QWidget* last = nullptr)
{
    std::vector<QWidget*> children;
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && widget != last)
            children.push_back(widget);
    }
    // The hidden ones go last as they are, and the window's scroll bar after
    // them: as high as the window, it would make all the others one line.
    const auto hidden = std::stable_partition(children.begin(), children.end(),
                                              [](const QWidget* w) { return !w->isHidden(); });
    std::vector<QWidget*> unseen(hidden, children.end());
    children.erase(hidden, children.end());
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
    // A hidden pane (the changed lines without a key) comes after them all,
    // where a screen reader walking the tables meets it last.
    for (QWidget* widget : unseen)
        widget->raise();
    if (last)
        last->raise();
}

} // namespace

void Form1::buildWindowScroll()
{
    m_windowScroll = new QScrollBar(Qt::Vertical, this);
    m_windowScroll->setObjectName(QStringLiteral("WindowScroll"));
    m_windowScroll->setAccessibleName(tr("Scroll the window"));
    m_windowScroll->hide();
    connect(m_windowScroll, &QScrollBar::valueChanged, this, [this] { layoutControls(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { scrollIntoView(now); });
}

void Form1::scrollIntoView(QWidget* focused)
{
    if (!focused || !m_windowScroll->isVisible() || !isAncestorOf(focused))
        return;
    // The control with the focus, whole where it fits, else its top.
    const QRect r(focused->mapTo(this, QPoint(0, 0)), focused->size());
    int value = m_windowScroll->value();
    if (r.bottom() >= height())
        value += r.bottom() + 1 - height();
    if (r.top() - (value - m_windowScroll->value()) < 0)
        value += r.top() - (value - m_windowScroll->value());
    m_windowScroll->setValue(value);
}

void Form1::wheelEvent(QWheelEvent* event)
{
    // What the lists and fields leave of a turn of the wheel scrolls the window.
    if (m_windowScroll->isVisible())
        QCoreApplication::sendEvent(m_windowScroll, event);
    else
        QWidget::wheelEvent(event);
}

void Form1::layoutControls()
{
    const bool panelOpen = Panel1->isVisibleTo(this);
    const int least = leastHeight(panelOpen);
    const bool scrolls = height() < least;
    const int bar = scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    {
        const QSignalBlocker quiet(m_windowScroll);
        m_windowScroll->setRange(0, scrolls ? least - height() : 0);
        m_windowScroll->setPageStep(height());
        m_windowScroll->setSingleStep(Px(405));
        m_windowScroll->setGeometry(width() - bar, 0, bar, height());
        m_windowScroll->setVisible(scrolls);
    }
    const int up = m_windowScroll->value();
    QHash<QWidget*, QRect> places = placesFor(width() - bar, scrolls ? least : height(), panelOpen);
    for (auto it = places.begin(); it != places.end(); ++it)
        it.key()->setGeometry(it.key()->parentWidget() == this ? it.value().translated(0, -up)
                                                               : it.value());
    m_toggleSlot = Toggle1->geometry();
    fitToggle();
    // The list columns widen with the lists, keeping any width the user gave them.
    const int wider = qMax(0, width() - bar - Px(kDesignedWidth));
    const int widen = wider - m_columnsWidenedBy;
    m_columnsWidenedBy = wider;
    if (widen != 0)
        for (ResultPane* pane : Panes)
            pane->View->header()->resizeSection(0, qMax(0, pane->View->columnWidth(0) + widen));
    // A find bar lies over its list's two buttons.
    for (ResultPane* pane : Panes)
        pane->PlaceFindBar();
    std::vector<QWidget*> containers = {this, Frame4, Frame5, Frame6, Panel1};
    containers.insert(containers.end(), Panes.begin(), Panes.end());
    for (QWidget* container : containers)
        orderAsShown(container, container == this ? m_windowScroll : nullptr);
}
