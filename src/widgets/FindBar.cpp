#include "widgets/FindBar.h"

#include "compare/KeyTable.h"
#include "widgets/ResultView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <algorithm>

namespace {

// A slice of searching stops after this long, so the window stays lively.
constexpr qint64 kSliceMilliseconds = 8;

QToolButton* toolButton(const char* name, const QString& tip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

FindBar::FindBar(ResultView* view, QWidget* parent)
    : QWidget(parent), m_view(view), m_text(new QLineEdit(this)), m_count(new QLabel(this)),
      m_previous(toolButton("findPrevious", tr("Previous match (Shift+F3)"), this)),
      m_next(toolButton("findNext", tr("Next match (F3)"), this)),
      m_close(toolButton("findClose", tr("Close (Esc)"), this))
{
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setPlaceholderText(tr("Find in this list"));
    m_text->setAccessibleName(tr("Find in this list"));
    m_text->setClearButtonEnabled(true);
    // The clear button shows a picture alone: a screen reader hears its name.
    for (QToolButton* clear : m_text->findChildren<QToolButton*>()) {
        clear->setAccessibleName(tr("Clear"));
        clear->setToolTip(tr("Clear"));
    }
    m_count->setObjectName(QStringLiteral("findCount"));
    // The count belongs to the field: a screen reader hears it with the field.
    m_count->setBuddy(m_text);
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the widest count, in the words of the user's language.
    const QString most = QLocale().toString(9999999LL);
    m_count->setMinimumWidth(
        m_count->fontMetrics().horizontalAdvance(tr("%1 of %2").arg(most, most)));
    m_previous->setArrowType(Qt::UpArrow);
    m_next->setArrowType(Qt::DownArrow);
    m_close->setText(QStringLiteral("\u00D7"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(m_text, 1);
    row->addWidget(m_count);
    row->addWidget(m_previous);
    row->addWidget(m_next);
    row->addWidget(m_close);
    setAutoFillBackground(true);
    hide();

    m_slice.setSingleShot(true);
    connect(&m_slice, &QTimer::timeout, this, &FindBar::scanSlice);
    connect(m_text, &QLineEdit::textChanged, this, [this] { restart(true); });
    connect(m_previous, &QToolButton::clicked, this, &FindBar::FindPrevious);
    connect(m_next, &QToolButton::clicked, this, &FindBar::FindNext);
    connect(m_close, &QToolButton::clicked, this, &FindBar::Close);
    for (QWidget* part : {static_cast<QWidget*>(m_text), static_cast<QWidget*>(m_previous),
                          static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_close)})
        part->installEventFilter(this);

    // Positions found before a change of the list no longer hold.
    const ResultList* list = &m_view->list();
    auto relook = [this] { restart(false); };
    connect(list, &QAbstractItemModel::modelReset, this, relook);
    connect(list, &QAbstractItemModel::rowsInserted, this, relook);
    connect(list, &QAbstractItemModel::rowsRemoved, this, relook);
    connect(list, &QAbstractItemModel::layoutChanged, this, relook);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FindBar::showStatus);
}

void FindBar::Open()
{
    if (!m_open) {
        m_open = true;
        m_announced = 0;
        show();
        raise();
        emit opened();
        restart(false);
    }
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::Close()
{
    if (!m_open)
        return;
    m_open = false;
    m_slice.stop();
    m_scanning = false;
    // The focus goes to the list before the bar hides, never by way of the
    // next control in the window (another list).
    m_view->setFocus(Qt::OtherFocusReason);
    hide();
    emit closed();
}

void FindBar::SetCaseSensitive(bool sensitive)
{
    const Qt::CaseSensitivity wanted = sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (wanted == m_case)
        return;
    m_case = wanted;
    restart(false);
}

void FindBar::SetLookAlike(bool lookAlike)
{
    if (lookAlike == m_lookAlike)
        return;
    m_lookAlike = lookAlike;
    restart(false);
}

QString FindBar::searchedText(int position) const
{
    const ResultList& list = m_view->list();
    return m_lookAlike ? KeyForm::LookAlike(list.ItemText(position)) : list.ShownText(position);
}

void FindBar::FindNext()
{
    if (!m_open)
        Open();
    step(1);
}

void FindBar::FindPrevious()
{
    if (!m_open)
        Open();
    step(-1);
}

QString FindBar::Status() const
{
    return m_count->text();
}

void FindBar::restart(bool moveToFirst)
{
    m_slice.stop();
    m_scanning = false;
    m_pending = 0;
    m_fromStart.clear();
    m_beforeStart.clear();
    m_matches.clear();
    const QString text = m_text->text();
    if (!m_open || text.isEmpty()) {
        showStatus();
        return;
    }
    const ResultList& list = m_view->list();
    // Typed text is what the list shows; in its look-alike form it finds
    // every spelling that form makes one.
    m_matcher = QStringMatcher(m_lookAlike ? KeyForm::LookAlike(text) : text, m_case);
    const int current = list.CurrentPosition();
    m_start = current >= 1 && current <= list.Count() ? current : 1;
    m_at = m_start;
    m_left = list.Count();
    m_moveToFirst = moveToFirst;
    m_scanning = true;
    // The first slice runs at once: a match near the current line shows while
    // the key that asked for it is still down. The count changes once, not
    // to "Searching…" and back, which a screen reader would say each time.
    m_quiet = true;
    scanSlice();
    m_quiet = false;
    showStatus();
}

void FindBar::scanSlice()
{
    if (!m_scanning)
        return;
    const ResultList& list = m_view->list();
    QElapsedTimer clock;
    clock.start();
    int looked = 0;
    while (m_left > 0) {
        const int position = m_at;
        if (m_matcher.indexIn(searchedText(position)) >= 0) {
            (position >= m_start ? m_fromStart : m_beforeStart).push_back(position);
            if (m_moveToFirst) {
                m_moveToFirst = false;
                moveTo(position, false);
            }
        }
        m_at = position == list.Count() ? 1 : position + 1;
        --m_left;
        if ((++looked & 255) == 0 && clock.elapsed() >= kSliceMilliseconds) {
            m_slice.start(0);
            return;
        }
    }
    finishScan();
}

void FindBar::finishScan()
{
    m_scanning = false;
    m_matches.reserve(m_beforeStart.size() + m_fromStart.size());
    m_matches.assign(m_beforeStart.begin(), m_beforeStart.end());
    m_matches.insert(m_matches.end(), m_fromStart.begin(), m_fromStart.end());
    std::vector<int>().swap(m_beforeStart);
    std::vector<int>().swap(m_fromStart);
    const int pending = m_pending;
    m_pending = 0;
    for (int i = 0; i < std::abs(pending); ++i)
        step(pending > 0 ? 1 : -1);
    showStatus();
}

void FindBar::step(int direction)
{
    if (m_text->text().isEmpty())
        return;
    if (m_scanning) {
        m_pending += direction;
        return;
    }
    if (m_matches.empty())
        return;
    const int current = m_view->list().CurrentPosition();
    int target;
    if (direction > 0) {
        // The next match after the current line, round to the first.
        const auto after = std::upper_bound(m_matches.begin(), m_matches.end(), current);
        target = after == m_matches.end() ? m_matches.front() : *after;
    } else {
        const auto at = std::lower_bound(m_matches.begin(), m_matches.end(),
                                         current >= 1 ? current : m_view->list().Count() + 1);
        target = at == m_matches.begin() ? m_matches.back() : *(at - 1);
    }
    moveTo(target, true);
}

void FindBar::moveTo(int position, bool announceSame)
{
    m_view->list().SetCurrentPosition(position);
    const QModelIndex index = m_view->model()->index(position - 1, 0);
    if (!m_view->viewport()->rect().contains(m_view->visualRect(index)))
        m_view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    // The list announces its own moves while it has the focus; from the bar,
    // the line found is announced here, the keyboard staying in the field.
    if (!m_view->hasFocus() && (position != m_announced || announceSame))
        m_view->AnnounceFoundRow();
    m_announced = position;
}

void FindBar::showStatus()
{
    if (m_quiet)
        return;
    QString status;
    if (!m_text->text().isEmpty() && m_open) {
        const QLocale locale;
        if (m_scanning) {
            status = tr("Searching\u2026");
        } else if (m_matches.empty()) {
            status = tr("Not found");
        } else {
            const int current = m_view->list().CurrentPosition();
            const auto at = std::lower_bound(m_matches.begin(), m_matches.end(), current);
            const QString total = locale.toString(qlonglong(m_matches.size()));
            if (at != m_matches.end() && *at == current)
                status = tr("%1 of %2")
                             .arg(locale.toString(qlonglong(at - m_matches.begin() + 1)), total);
            else
                status = tr("%1 found").arg(total);
        }
    }
    if (status == m_count->text())
        return;
    // The label's new name, and the field's description, which a screen
    // reader says of the focused field as it changes.
    m_count->setText(status);
    m_text->setAccessibleDescription(status);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool back = key->modifiers() & Qt::ShiftModifier;
        switch (key->key()) {
        case Qt::Key_Escape:
            Close();
            return true;
        case Qt::Key_F3:
            step(back ? -1 : 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (watched == m_text) {
                step(back ? -1 : 1);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
