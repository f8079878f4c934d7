#include "widgets/ListCounts.h"

#include "widgets/ResultView.h"

#include <QEvent>
#include <QGroupBox>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionGroupBox>

QString ListCountsText(qint64 lines, qint64 checked, bool brief)
{
    // A list holds at most 2,147,483,647 lines: the counts fit an int.
    QString text = brief && checked > 0 ? QLocale().toString(lines)
                   : lines == 1         ? ListCounts::tr("1 line")
                                        : ListCounts::tr("%Ln lines", nullptr, int(lines));
    if (checked > 0)
        text += QStringLiteral(" \u00B7 ") + ListCounts::tr("%Ln checked", nullptr, int(checked));
    return text;
}

ListCounts::ListCounts(ResultView* list, QGroupBox* frame)
    : QLabel(frame), m_list(list), m_frame(frame)
{
    // Clicks and the pointer go to the frame as before.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont plain = font();
    plain.setBold(false);
    setFont(plain);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Covers the frame's line, as the caption does.
    setAutoFillBackground(true);
    ResultList* model = &list->list();
    connect(model, &ResultList::checkedCountChanged, this, &ListCounts::place);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListCounts::place);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListCounts::place);
    connect(model, &QAbstractItemModel::modelReset, this, &ListCounts::place);
    frame->installEventFilter(this);
    list->installEventFilter(this);
    place();
}

QString ListCounts::text() const
{
    if (!m_list)
        return QString();
    const ResultList& list = m_list->list();
    return ListCountsText(list.Count(), list.CheckedCount());
}

QString ListCounts::fitting(int width) const
{
    if (!m_list)
        return QString();
    const ResultList& list = m_list->list();
    const QString full = text();
    if (fontMetrics().horizontalAdvance(full) <= width || list.CheckedCount() == 0)
        return full;
    const QString brief = ListCountsText(list.Count(), list.CheckedCount(), true);
    if (fontMetrics().horizontalAdvance(brief) <= width)
        return brief;
    return ListCountsText(list.Count(), 0);
}

void ListCounts::place()
{
    // At the right of the room from the end of the frame's caption to the
    // list's right edge, on the caption's line, as wide as its text.
    QStyleOptionGroupBox option;
    option.initFrom(m_frame);
    option.text = m_frame->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = m_frame->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = m_frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, m_frame);
    const int gap = fontMetrics().averageCharWidth() * 2;
    const int right = m_list ? m_list->geometry().right() : m_frame->width() - 1;
    const int left = caption.right() + 1 + gap;
    const int room = qMax(0, right + 1 - left);
    // What the label adds around its text (a skin's padding).
    const int padding = sizeHint().width() - fontMetrics().horizontalAdvance(QLabel::text());
    setText(fitting(room - qMax(0, padding)));
    const int wide = qMin(room, sizeHint().width());
    setGeometry(right + 1 - wide, caption.top(), wide, caption.height());
}

bool ListCounts::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::FontChange:
    case QEvent::StyleChange:
        place();
        break;
    default:
        break;
    }
    return QLabel::eventFilter(watched, event);
}
