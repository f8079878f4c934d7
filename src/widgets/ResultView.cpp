#include "widgets/ResultView.h"

#include "platform/AnsiCodec.h"
#include "results/UndoHistory.h"
#include "widgets/ChangedRows.h"
#include "widgets/LineMarks.h"
#include "widgets/ResultViewAccessible.h"

#include <QAccessible>
#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QtMath>
#include <algorithm>
#include <limits>
#include <new>

namespace {
// Rows further away than this are placed here: far outside any viewport,
// and still safe to add a widget's height to.
constexpr qint64 kFarAway = qint64(1) << 30;

int clampToFar(qint64 y)
{
    return int(std::clamp(y, -kFarAway, kFarAway));
}

// The heading's sections: the list's one column, and the line numbers',
// which shows left of it while the line numbers show.
constexpr int kTextSection = 0;
constexpr int kLineSection = 1;

// What the heading shows: the list's column title and "Line". The heading
// has a model of its own, so that a list filled anew leaves its sections
// (and their widths) alone.
class Headings : public QAbstractTableModel
{
public:
    Headings(ResultList* list, QObject* parent) : QAbstractTableModel(parent), m_list(list)
    {
        connect(list, &QAbstractItemModel::headerDataChanged, this,
                [this](Qt::Orientation orientation, int, int) {
                    emit headerDataChanged(orientation, kTextSection, kTextSection);
                });
    }
    int rowCount(const QModelIndex&) const override { return 0; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex&, int) const override { return QVariant(); }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && section == kLineSection) {
            if (role == Qt::DisplayRole)
                return ResultView::tr("Line");
            if (role == Qt::TextAlignmentRole)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant();
        }
        return m_list->headerData(section, orientation, role);
    }

private:
    ResultList* m_list;
};
} // namespace

ResultView::ResultView(QWidget* parent)
    : QAbstractItemView(parent), m_list(new ResultList(this)),
      m_header(new QHeaderView(Qt::Horizontal, this)),
      m_checkAll(new QAction(tr("Check All"), this)),
      m_uncheckAll(new QAction(tr("Uncheck All"), this)),
      m_copySelected(new QAction(tr("Copy Selected Lines"), this)),
      m_undo(new QAction(tr("Undo"), this)), m_redo(new QAction(tr("Redo"), this)),
      m_lineNumbers(new QAction(tr("Show Line Numbers"), this))
{
    // Screen readers see the lines as a table of one column.
    static const bool describedToAssistiveTechnology =
        (QAccessible::installFactory(ResultViewAccessibleFactory), true);
    Q_UNUSED(describedToAssistiveTechnology);
    setModel(m_list);
    // The list itself knows its current item: the view shares its selection model.
    QItemSelectionModel* own = selectionModel();
    setSelectionModel(m_list->selectionModel());
    delete own;
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    viewport()->setAttribute(Qt::WA_Hover);

    m_header->setModel(new Headings(m_list, this));
    // The line numbers go left of the text: the text keeps section 0.
    m_header->moveSection(kLineSection, 0);
    m_header->setSectionResizeMode(kLineSection, QHeaderView::Fixed);
    m_header->setSectionHidden(kLineSection, true);
    m_header->setSectionsMovable(false);
    m_header->setStretchLastSection(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setFocusPolicy(Qt::NoFocus);
    m_header->setHighlightSections(false);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    connect(m_header, &QHeaderView::geometriesChanged, this, &ResultView::updateGeometries);
    connect(m_list, &ResultList::columnWidthChanged, this, &ResultView::applyColumnWidth);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_list, signal, this, &ResultView::rowsChanged);
    connect(m_list, &QAbstractItemModel::modelReset, this, &ResultView::rowsChanged);
    connect(m_list, &QAbstractItemModel::layoutChanged, this, &ResultView::rowsChanged);

    m_checkAll->setObjectName(QStringLiteral("checkAll"));
    m_uncheckAll->setObjectName(QStringLiteral("uncheckAll"));
    connect(m_checkAll, &QAction::triggered, m_list, [this] {
        if (count() > 0)
            checkRuns({{1, count()}}, true, tr("Check All"));
    });
    connect(m_uncheckAll, &QAction::triggered, m_list, [this] {
        if (count() > 0)
            checkRuns({{1, count()}}, false, tr("Uncheck All"));
    });
    addAction(m_checkAll);
    addAction(m_uncheckAll);
    // Ctrl+C, shown on the right of the menu, is the action's key while the list
    // has the focus (an empty list, the action disabled, still takes it as a
    // key in keyPressEvent); the item's name stays the words alone.
    m_copySelected->setObjectName(QStringLiteral("copySelected"));
    m_copySelected->setShortcut(QKeySequence::Copy);
    m_copySelected->setShortcutContext(Qt::WidgetShortcut);
    connect(m_copySelected, &QAction::triggered, this, &ResultView::copyAsked);
    addAction(m_copySelected);
    auto separator = [this] {
        auto* line = new QAction(this);
        line->setSeparator(true);
        addAction(line);
    };
    // Undo and Redo name the step they take; their keys come here as keys
    // too (keyPressEvent) when the shortcut does not take them first.
    separator();
    m_undo->setObjectName(QStringLiteral("undo"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setObjectName(QStringLiteral("redo"));
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* step : {m_undo, m_redo}) {
        step->setShortcutContext(Qt::WidgetShortcut);
        step->setEnabled(false);
        addAction(step);
    }
    connect(m_undo, &QAction::triggered, this, &ResultView::undoAsked);
    connect(m_redo, &QAction::triggered, this, &ResultView::redoAsked);
    separator();
    m_lineNumbers->setObjectName(QStringLiteral("lineNumbers"));
    m_lineNumbers->setCheckable(true);
    connect(m_lineNumbers, &QAction::triggered, this, [this](bool shown) {
        ShowLineNumbers(shown);
        emit lineNumbersToggled(shown);
    });
    addAction(m_lineNumbers);
    separator();
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_list, &ResultList::checkedCountChanged, this, &ResultView::showCounts);
    connect(m_list, &QAbstractItemModel::rowsInserted, this, &ResultView::showCounts);
    connect(m_list, &QAbstractItemModel::rowsRemoved, this, &ResultView::showCounts);
    connect(m_list, &QAbstractItemModel::modelReset, this, &ResultView::showCounts);
    showCounts();
    updateGeometries();
}

void ResultView::applyColumnWidth(int column, int twips)
{
    m_header->resizeSection(column - 1, qRound(twips * logicalDpiX() / 1440.0));
}

int ResultView::columnWidth(int column) const
{
    return m_header->sectionSize(column);
}

void ResultView::showCounts()
{
    const int count = m_list->Count();
    const int checked = m_list->CheckedCount();
    setToolTip(tr("%1, %Ln checked", nullptr, checked)
                   .arg(count == 1 ? tr("1 line") : tr("%Ln lines", nullptr, count)));
    m_checkAll->setEnabled(checked < count);
    m_uncheckAll->setEnabled(checked > 0);
    m_copySelected->setEnabled(count > 0);
}

void ResultView::rowsChanged()
{
    m_hoverRow = -1;
    fitLineColumn();
    updateGeometries();
    viewport()->update();
}

void ResultView::reset()
{
    QAbstractItemView::reset();
    // A new comparison, Clear All: the rows start over, and so does the view.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void ResultView::SetHistory(UndoHistory* history)
{
    if (m_history)
        disconnect(m_history, nullptr, this, nullptr);
    m_history = history;
    if (m_history)
        connect(m_history, &UndoHistory::changed, this, &ResultView::showHistory);
    showHistory();
}

void ResultView::showHistory()
{
    const bool undo = m_history && m_history->CanUndo();
    const bool redo = m_history && m_history->CanRedo();
    m_undo->setEnabled(undo);
    m_undo->setText(undo ? tr("Undo %1").arg(m_history->UndoName()) : tr("Undo"));
    m_redo->setEnabled(redo);
    m_redo->setText(redo ? tr("Redo %1").arg(m_history->RedoName()) : tr("Redo"));
}

void ResultView::checkRuns(const QList<std::pair<int, int>>& runs, bool checked,
                           const QString& name)
{
    if (m_history) {
        m_history->Do(std::make_unique<ChangedMarks>(*m_list, runs, checked, name));
        return;
    }
    for (const auto& [first, last] : runs)
        m_list->SetRangeChecked(first, last, checked);
}

void ResultView::ShowLineNumbers(bool shown)
{
    m_lineNumbers->setChecked(shown);
    if (m_header->isSectionHidden(kLineSection) != shown)
        return;
    m_header->setSectionHidden(kLineSection, !shown);
    fitLineColumn();
    updateGeometries();
    viewport()->update();
}

bool ResultView::LineNumbersShown() const
{
    return !m_header->isSectionHidden(kLineSection);
}

QString ResultView::LineNumberText(int row) const
{
    if (row < 0 || row >= count())
        return QString();
    const qsizetype line = m_list->LineNumber(row + 1);
    return line < 0 ? QString() : QString::number(line + 1);
}

void ResultView::fitLineColumn()
{
    if (!LineNumbersShown())
        return;
    // A list holds its lines in file order: its last line has the largest
    // number, and the column fits that many digits.
    const qsizetype last = count() > 0 ? m_list->LineNumber(count()) : -1;
    const int digits = int(QString::number(qMax<qsizetype>(1, last + 1)).size());
    const QFontMetrics metrics(font());
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = qMax(m_header->sectionSizeHint(kLineSection),
                           metrics.horizontalAdvance(QString(digits, QLatin1Char('9'))) +
                               2 * margin + metrics.averageCharWidth());
    if (m_header->sectionSize(kLineSection) != width)
        m_header->resizeSection(kLineSection, width);
}

int ResultView::rowHeight() const
{
    if (m_rowHeight <= 0) {
        // One row with a check box and a line of text: every row is this high.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features =
            QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
        option.text = QStringLiteral("Xg");
        option.checkState = Qt::Unchecked;
        const QSize size =
            style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
        m_rowHeight = qMax(1, qMax(size.height(), fontMetrics().height()));
    }
    return m_rowHeight;
}

qint64 ResultView::topPixel() const
{
    const qint64 value = verticalScrollBar()->value();
    return m_scrollByRow ? value * rowHeight() : value;
}

qint64 ResultView::rowAtY(int y) const
{
    // y may lie above the viewport: a Shift selection reaches back to rows
    // scrolled out of view.
    return qMax<qint64>(0, topPixel() + y) / rowHeight();
}

int ResultView::pageRows() const
{
    return qMax(1, viewport()->height() / rowHeight());
}

QRect ResultView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != m_list || index.row() >= count())
        return QRect();
    const qint64 y = qint64(index.row()) * rowHeight() - topPixel();
    return QRect(m_header->sectionViewportPosition(kTextSection), clampToFar(y),
                 m_header->sectionSize(kTextSection), rowHeight());
}

void ResultView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.row() >= count())
        return;
    const int height = rowHeight();
    const qint64 top = qint64(index.row()) * height;
    const qint64 seen = qMax(height, viewport()->height());
    const qint64 now = topPixel();
    qint64 wanted = now;
    switch (hint) {
    case EnsureVisible:
        if (top < now)
            wanted = top;
        else if (top + height > now + seen)
            wanted = top + height - seen;
        break;
    case PositionAtTop:
        wanted = top;
        break;
    case PositionAtBottom:
        wanted = top + height - seen;
        break;
    case PositionAtCenter:
        wanted = top - (seen - height) / 2;
        break;
    }
    QScrollBar* bar = verticalScrollBar();
    if (m_scrollByRow)
        wanted = (wanted + height - 1) / height;
    bar->setValue(int(std::clamp<qint64>(wanted, bar->minimum(), bar->maximum())));
}

QModelIndex ResultView::indexAt(const QPoint& point) const
{
    // Anywhere on a row counts, also to the right of the column.
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return QModelIndex();
    const qint64 row = rowAtY(point.y());
    return row < count() ? m_list->index(int(row)) : QModelIndex();
}

QModelIndex ResultView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = count();
    if (rows == 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return m_list->index(0);
    qint64 row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= pageRows();
        break;
    case MovePageDown:
        row += pageRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return current;
    case MoveRight:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return current;
    }
    return m_list->index(int(std::clamp<qint64>(row, 0, rows - 1)));
}

int ResultView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ResultView::verticalOffset() const
{
    return clampToFar(topPixel());
}

bool ResultView::isIndexHidden(const QModelIndex&) const
{
    return false;
}

void ResultView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int rows = count();
    const QRect area = rect.normalized();
    if (rows == 0 || area.bottom() < -kFarAway) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    qint64 first = rowAtY(area.top());
    qint64 last = qMin<qint64>(rowAtY(area.bottom()), rows - 1);
    // A Shift selection reaches from the anchor row, which may lie so far off
    // that its place in pixels was cut to kFarAway: take the row itself.
    const int farEdge = int(kFarAway) - 2 * rowHeight();
    if (m_anchor.isValid() && m_anchor.model() == m_list) {
        if (area.top() <= -farEdge)
            first = m_anchor.row();
        if (area.bottom() >= farEdge)
            last = m_anchor.row();
    }
    if (first > last)
        std::swap(first, last);
    if (first >= rows) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    selectionModel()->select(QItemSelection(m_list->index(int(first)), m_list->index(int(last))),
                             command);
}

void ResultView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The anchor of a Shift selection: where the current row went without Shift.
    if (!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier))
        m_anchor = current;
    QAbstractItemView::currentChanged(current, previous);
    // The focus frame reaches past the column.
    for (const QModelIndex& changed : {previous, current})
        if (changed.isValid() && changed.model() == m_list)
            updateRow(changed.row());
    // A screen reader follows the current row while the list has the focus.
    if (hasFocus())
        AnnounceCurrentRow();
}

QRegion ResultView::visualRegionForSelection(const QItemSelection& selection) const
{
    const int rows = count();
    if (rows == 0)
        return QRegion();
    // Only what is in view: a selection may span millions of rows.
    const qint64 firstSeen = rowAtY(0);
    const qint64 lastSeen = qMin<qint64>(rowAtY(viewport()->height()), rows - 1);
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.model() != m_list)
            continue;
        const qint64 top = qMax<qint64>(range.top(), firstSeen);
        const qint64 bottom = qMin<qint64>(range.bottom(), lastSeen);
        if (top > bottom)
            continue;
        // The whole width: a selected row's highlight reaches the right edge.
        const QRect first = visualRect(m_list->index(int(top)));
        const QRect last = visualRect(m_list->index(int(bottom)));
        region += QRect(0, first.top(), viewport()->width(), last.bottom() - first.top() + 1);
    }
    return region;
}

QList<std::pair<int, int>> ResultView::SelectedRuns() const
{
    QList<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (range.isValid())
            runs.append({range.top() + 1, range.bottom() + 1});
    std::sort(runs.begin(), runs.end());
    // Ranges may overlap or touch; join them.
    QList<std::pair<int, int>> joined;
    for (const auto& run : runs) {
        if (!joined.isEmpty() && run.first <= joined.last().second + 1)
            joined.last().second = qMax(joined.last().second, run.second);
        else
            joined.append(run);
    }
    return joined;
}

void ResultView::updateGeometries()
{
    // Setting the margins for the heading resizes the viewport, which calls
    // back here.
    if (m_laying)
        return;
    m_laying = true;
    const int headerHeight = m_header->isHidden() ? 0 : m_header->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);

    const int height = rowHeight();
    const qint64 rows = count();
    const int seen = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    // A scroll bar counts in int: a list too tall for that scrolls by rows.
    const bool byRow = rows * height > std::numeric_limits<int>::max() / 2;
    if (byRow != m_scrollByRow) {
        const qint64 top = topPixel();
        m_scrollByRow = byRow;
        bar->setValue(int(byRow ? top / height : top));
    }
    if (m_scrollByRow) {
        bar->setRange(0, int(qMax<qint64>(0, rows - pageRows())));
        bar->setSingleStep(1);
        bar->setPageStep(pageRows());
    } else {
        bar->setRange(0, int(qMax<qint64>(0, rows * height - seen)));
        bar->setSingleStep(height);
        bar->setPageStep(qMax(1, seen));
    }
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, qMax(0, m_header->length() - viewport()->width()));
    across->setPageStep(viewport()->width());
    across->setSingleStep(qMax(1, fontMetrics().averageCharWidth() * 2));
    m_header->setOffset(across->value());
    m_laying = false;
    QAbstractItemView::updateGeometries();
}

void ResultView::scrollContentsBy(int dx, int dy)
{
    if (dx)
        m_header->setOffset(horizontalScrollBar()->value());
    if (m_scrollByRow) {
        QAbstractItemView::scrollContentsBy(dx, 0);
        viewport()->update();
        return;
    }
    QAbstractItemView::scrollContentsBy(dx, dy);
}

void ResultView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_rowHeight = 0;
        fitLineColumn();
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

void ResultView::paintEvent(QPaintEvent* event)
{
    const int rows = count();
    if (rows == 0)
        return;
    // Painting runs outside every command: should memory run out for a row's
    // text, the rows not yet painted stay blank rather than the program ending.
    try {
        QPainter painter(viewport());
        const int height = rowHeight();
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.viewItemPosition = QStyleOptionViewItem::OnlyOne;
        const QStyle::State base = option.state;
        const QModelIndex current = currentIndex();
        const bool focused = hasFocus() || viewport()->hasFocus();
        const QRect dirty = event->rect();
        const qint64 top = topPixel();
        const qint64 first = rowAtY(dirty.top());
        const QItemSelectionModel* selection = selectionModel();
        const bool lineNumbers = LineNumbersShown();
        for (qint64 row = first; row < rows; ++row) {
            const int y = int(row * height - top);
            if (y > dirty.bottom())
                break;
            const QModelIndex index = m_list->index(int(row));
            option.rect = visualRect(index);
            option.state = base;
            if (selection->isSelected(index))
                option.state |= QStyle::State_Selected;
            if (focused && index == current)
                option.state |= QStyle::State_HasFocus;
            if (row == m_hoverRow)
                option.state |= QStyle::State_MouseOver;
            if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
                // The highlight spans the viewport, past a column narrower than it.
                QStyleOptionViewItem whole = option;
                whole.rect = QRect(0, option.rect.top(), viewport()->width(), height);
                whole.index = index;
                whole.showDecorationSelected = true;
                style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &whole, &painter, this);
            }
            if (lineNumbers)
                paintLineNumber(painter, option, int(row));
            // So does the row's own drawing, its focus frame included.
            option.rect.setRight(qMax(option.rect.right(), viewport()->width() - 1));
            if (m_changes) {
                const ChangedRow changed = changedRow(int(row));
                if (!changed.partner.isNull()) {
                    paintChangedRow(painter, option, index, changed);
                    continue;
                }
            }
            const QString text = m_list->ItemText(int(row) + 1);
            const std::vector<LineMark> marks = MarksOf(text);
            if (marks.empty())
                itemDelegateForIndex(index)->paint(&painter, option, index);
            else
                paintMarkedRow(painter, option, index, text, marks);
        }
    } catch (const std::bad_alloc&) {
    }
}

void ResultView::paintLineNumber(QPainter& painter, const QStyleOptionViewItem& option,
                                 int row) const
{
    const QString number = LineNumberText(row);
    if (number.isEmpty())
        return;
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QRect cell(m_header->sectionViewportPosition(kLineSection), option.rect.top(),
                     m_header->sectionSize(kLineSection), option.rect.height());
    QColor colour = markColours(option).text;
    // Quieter than the text beside it, but for a highlighted row.
    if (!(option.state & QStyle::State_Selected))
        colour.setAlpha(150);
    painter.save();
    painter.setFont(option.font);
    painter.setPen(colour);
    painter.drawText(
        cell.adjusted(margin, 0, -margin - option.fontMetrics.averageCharWidth() / 2, 0),
        Qt::AlignRight | Qt::AlignVCenter, number);
    painter.restore();
}

void ResultView::paintMarkedRow(QPainter& painter, const QStyleOptionViewItem& base,
                                const QModelIndex& index, const QString& text,
                                const std::vector<LineMark>& marks) const
{
    // The style draws the row as it draws any other (background, selection,
    // check box, focus) but for its text, which goes in with its marks.
    QStyleOptionViewItem option = base;
    option.index = index;
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = m_list->IsChecked(index.row() + 1) ? Qt::Checked : Qt::Unchecked;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QString shown = AnsiCodec::ShownText(text);
    option.text = shown;
    QRect area = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    option.text.clear();
    style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    area.adjust(margin, 0, -margin, 0);
    PaintMarkedLine(painter, area, option.font, markColours(option), text, shown, marks);
}

std::shared_ptr<const Comparison>
ResultView::ShowChanges(std::shared_ptr<const Comparison> comparison)
{
    std::swap(m_changes, comparison);
    viewport()->update();
    return comparison;
}

ChangedRow ResultView::changedRow(int row) const
{
    if (!m_changes || row < 0 || row >= count())
        return {};
    const qsizetype line = m_list->LineNumber(row + 1);
    return line < 0 ? ChangedRow() : ChangedRowOf(*m_changes, line);
}

QString ResultView::RowChange(int row) const
{
    return changedRow(row).words;
}

void ResultView::paintChangedRow(QPainter& painter, const QStyleOptionViewItem& base,
                                 const QModelIndex& index, const ChangedRow& changed) const
{
    // As a marked row, with what its partner in file 2 has instead after an
    // arrow; the parts that differ are outlined in both.
    QStyleOptionViewItem option = base;
    option.index = index;
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = m_list->IsChecked(index.row() + 1) ? Qt::Checked : Qt::Unchecked;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QString shown1 = AnsiCodec::ShownText(changed.line);
    const QString shown2 = AnsiCodec::ShownText(changed.partner);
    option.text = shown1;
    QRect area = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    option.text.clear();
    style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    area.adjust(margin, 0, -margin, 0);
    const MarkColours colours = markColours(option);
    const qreal end = PaintMarkedLine(painter, area, option.font, colours, changed.line, shown1,
                                      MarksOf(changed.line), changed.changed1);
    const QString arrow = QStringLiteral("  \u2192  ");
    QRect rest = area;
    rest.setLeft(qCeil(end));
    const QString arrowShown = arrow;
    MarkColours arrowColours = colours;
    arrowColours.text = colours.mark;
    const qreal partnerAt =
        PaintMarkedLine(painter, rest, option.font, arrowColours, arrow, arrowShown, {});
    rest.setLeft(qCeil(partnerAt));
    if (rest.width() <= 0)
        return;
    // Of the partner, what it has in place of the outlined parts, one after
    // the other: the rest it shares, and the whole of it is in the tooltip.
    QString values;
    std::vector<ChangedRow::Span> outlined;
    for (const auto& [first, length] : changed.changed2) {
        if (!values.isEmpty())
            values += QStringLiteral(" \u00B7 ");
        const QString value = changed.partner.mid(first, length);
        outlined.emplace_back(values.size(), value.isEmpty() ? 1 : value.size());
        values += value.isEmpty() ? QStringLiteral("\u2205") : value;
    }
    if (values.isEmpty())
        PaintMarkedLine(painter, rest, option.font, colours, changed.partner, shown2,
                        MarksOf(changed.partner), changed.changed2);
    else
        PaintMarkedLine(painter, rest, option.font, colours, values, AnsiCodec::ShownText(values),
                        MarksOf(values), outlined);
}

MarkColours ResultView::markColours(const QStyleOptionViewItem& option) const
{
    return MarkColoursOf(option);
}

bool ResultView::viewportEvent(QEvent* event)
{
    // The row under the pointer shows so (a skin may colour it).
    switch (event->type()) {
    case QEvent::ToolTip: {
        // Over a changed line: what changed; elsewhere the list's counts.
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex under = indexAt(help->pos());
        const QString words = under.isValid() ? RowChange(under.row()) : QString();
        if (words.isEmpty())
            break;
        QToolTip::showText(help->globalPos(), words, viewport(), visualRect(under));
        return true;
    }
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
        const QModelIndex under = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        setHoverRow(under.isValid() ? under.row() : -1);
        break;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setHoverRow(-1);
        break;
    default:
        break;
    }
    return QAbstractItemView::viewportEvent(event);
}

void ResultView::updateRow(qint64 row)
{
    // The whole row: its highlight reaches the right edge.
    if (row < 0 || row >= count())
        return;
    const QRect at = visualRect(m_list->index(int(row)));
    viewport()->update(QRect(0, at.top(), viewport()->width(), at.height()));
}

void ResultView::setHoverRow(qint64 row)
{
    if (row == m_hoverRow)
        return;
    for (const qint64 changed : {m_hoverRow, row})
        updateRow(changed);
    m_hoverRow = row;
}

void ResultView::ToggleSelectedChecks()
{
    const QModelIndex current = currentIndex();
    QItemSelection rows = selectionModel()->selection();
    if (rows.isEmpty()) {
        if (!current.isValid())
            return;
        rows.select(current, current);
    }
    const QModelIndex lead = rows.contains(current) ? current : QModelIndex(rows.first().topLeft());
    const bool check = !m_list->IsChecked(lead.row() + 1);
    // One change per selected range: a signal per row would make a selection
    // of many thousands of rows crawl.
    QList<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : rows)
        if (range.isValid())
            runs.append({range.top() + 1, range.bottom() + 1});
    checkRuns(runs, check, check ? tr("Check") : tr("Uncheck"));
}

void ResultView::mousePressEvent(QMouseEvent* event)
{
    const QPersistentModelIndex pressed = indexAt(event->position().toPoint());
    QAbstractItemView::mousePressEvent(event);
    // A click on a row's check box makes that row the current one too, and
    // selects it as a click on its text would.
    if (pressed.isValid() && currentIndex() != pressed)
        selectionModel()->setCurrentIndex(pressed, selectionCommand(pressed, event));
}

void ResultView::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->modifiers());
    if (event->key() == Qt::Key_Space && !(event->modifiers() & ~Qt::KeypadModifier)) {
        ToggleSelectedChecks();
        event->accept();
        return;
    }
    // Not the item view's own copy, which puts the current row alone on the
    // clipboard, past the window's clipboard handling.
    if (event->matches(QKeySequence::Copy)) {
        emit copyAsked();
        event->accept();
        return;
    }
    // Undo and Redo when their shortcuts did not take the keys (the window
    // not active); with nothing to take, the keys do nothing else either.
    const bool undo = event->matches(QKeySequence::Undo);
    const bool redo = m_redo->shortcuts().contains(QKeySequence(event->keyCombination()));
    if (undo || redo) {
        if (undo && m_undo->isEnabled())
            emit undoAsked();
        else if (redo && m_redo->isEnabled())
            emit redoAsked();
        event->accept();
        return;
    }
    QAbstractItemView::keyPressEvent(event);
}
