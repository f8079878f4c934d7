#include "widgets/NearMissDialog.h"

#include "desktop/Clipboard.h"
#include "platform/AnsiCodec.h"
#include "widgets/LineMarks.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHash>
#include <QKeyEvent>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QtMath>

namespace {

// What an item of the list holds beyond its text (Qt::DisplayRole).
enum Role
{
    CaptionRole = Qt::UserRole,
    LineRole,         // the line as its file has it; none for a part without a line
    NoteRole,         // what is said under the line
    NoteIndentedRole, // whether the note lines up with the line
};

QString fileName(int file)
{
    return NearMissDialog::tr("File #%1").arg(file);
}

// The part of a line that is shown, and what follows it: a long line is cut short.
std::pair<QString, QString> cutShort(const QString& line)
{
    if (line.size() <= NearMissDialog::kMostShown)
        return {line, QStringLiteral("\"")};
    qsizetype cut = NearMissDialog::kMostShown;
    if (line[cut - 1].isHighSurrogate())
        --cut;
    return {line.left(cut), QStringLiteral("\u2026\"") +
                                NearMissDialog::tr(" (%1 characters in all)")
                                    .arg(QLocale().toString(AnsiCodec::ShownText(line).size()))};
}

// A line as the lists show it, quoted so that blanks at its ends show, and
// cut short when long.
QString quoted(const QString& line)
{
    const auto [shown, after] = cutShort(line);
    return QLatin1Char('"') + AnsiCodec::ShownText(shown) + after;
}

// Draws a part: its caption, its line with the marks the lists draw, its
// note, each block under the one before, the texts wrapped at the view's width.
class PartDelegate : public QStyledItemDelegate
{
public:
    explicit PartDelegate(QListWidget* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& base,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem option = base;
        initStyleOption(&option, index);
        option.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);
        const MarkColours colours = MarkColoursOf(option);
        const QFontMetrics metrics(option.font);
        const Layout layout = layoutOf(option.font, index, option.rect);
        painter->save();
        painter->setFont(option.font);
        painter->setPen(colours.text);
        painter->drawText(layout.caption, Qt::TextWordWrap, index.data(CaptionRole).toString());
        if (!layout.line.isNull()) {
            const auto [shown, after] = cutShort(index.data(LineRole).toString());
            QRect area = layout.line;
            const QString quote = QStringLiteral("\"");
            area.setLeft(
                qCeil(PaintMarkedLine(*painter, area, option.font, colours, quote, quote, {})));
            area.setLeft(qCeil(PaintLineWithMarks(*painter, area, option.font, colours, shown)));
            PaintMarkedLine(*painter, area, option.font, colours, after, after, {});
        }
        painter->setPen(colours.text);
        painter->drawText(layout.note, Qt::TextWordWrap, index.data(NoteRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const Layout layout = layoutOf(option.font, index, QRect(QPoint(0, 0), QSize(width(), 0)));
        return {qMax(width(), layout.widest), layout.bottom + padding(option.font)};
    }

private:
    struct Layout
    {
        QRect caption, line, note;
        int bottom = 0; // from the top of the item
        int widest = 0; // the line's width, at most
    };

    int width() const { return m_list->viewport()->width() - 2 * m_list->spacing(); }
    static int padding(const QFont& font) { return QFontMetrics(font).height() / 4; }

    // Where the blocks of a part lie in rect.
    static Layout layoutOf(const QFont& font, const QModelIndex& index, const QRect& rect)
    {
        const QFontMetrics metrics(font);
        const int pad = padding(font);
        const int indent = metrics.horizontalAdvance(QStringLiteral("    "));
        const int left = rect.left() + pad, right = rect.left() + rect.width() - pad;
        auto block = [&](int top, const QString& text, int from) {
            if (text.isEmpty())
                return QRect(from, top, 0, 0);
            const QRect bounds = metrics.boundingRect(
                QRect(from, top, qMax(1, right - from), 1 << 20), Qt::TextWordWrap, text);
            return QRect(from, top, right - from, bounds.height());
        };
        Layout layout;
        layout.caption = block(rect.top() + pad, index.data(CaptionRole).toString(), left);
        int top = layout.caption.bottom() + 1;
        const QVariant line = index.data(LineRole);
        if (line.isValid()) {
            layout.line = QRect(left + indent, top, right - left - indent, metrics.height());
            top += metrics.height();
            // Wide enough for the line and a mark in every character's place.
            const QString shown = quoted(line.toString());
            layout.widest =
                2 * pad + indent + metrics.horizontalAdvance(shown) +
                int(MarksOf(shown).size()) * metrics.horizontalAdvance(QStringLiteral("<85>"));
        }
        layout.note = block(top, index.data(NoteRole).toString(),
                            index.data(NoteIndentedRole).toBool() ? left + indent : left);
        layout.bottom = layout.note.bottom() + 1 - rect.top();
        return layout;
    }

    QListWidget* m_list;
};

// A part as text: each block on a line of its own, the line quoted and indented.
QString textOf(const QString& caption, const QString& line, bool hasLine, const QString& note,
               bool noteIndented)
{
    QStringList text{caption};
    if (hasLine)
        text << QStringLiteral("    ") + quoted(line);
    if (!note.isEmpty())
        text << (noteIndented ? QStringLiteral("    ") : QString()) + note;
    return text.join(QLatin1Char('\n'));
}

} // namespace

NearMissDialog::NearMissDialog(QWidget* parent) : QDialog(parent), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("NearMissDialog"));
    m_list->setObjectName(QStringLiteral("NearMissList"));
    m_list->setItemDelegate(new PartDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setWordWrap(true);
    m_list->setSpacing(QFontMetrics(m_list->font()).height() / 4);
    m_list->installEventFilter(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    // No size grip: the window's frame resizes it, and a screen reader
    // would meet the grip as an object of no name and no role it knows.
    setSizeGripEnabled(false);
    const QFontMetrics metrics(m_list->font());
    resize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 22);
}

QString NearMissDialog::Text() const
{
    QStringList parts;
    for (int row = 0; row < m_list->count(); ++row)
        parts << m_list->item(row)->text();
    return parts.join(QStringLiteral("\n\n"));
}

bool NearMissDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+C copies the parts selected, not only the current one's text.
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NearMissDialog::copySelected() const
{
    QStringList parts;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->isSelected())
            parts << m_list->item(row)->text();
    }
    SetClipboardText(parts.isEmpty() ? Text() : parts.join(QStringLiteral("\n\n")));
}

void NearMissDialog::Explain(const NearMisses::Index& index, int file, qsizetype line)
{
    const int other = 3 - file;
    const NearMisses::Index::Found found = index.Of(file, line, kMostListed);
    const qsizetype count = qsizetype(found.alike.size()) + found.more;
    const Comparison& compared = index.Compared();
    const QString summary =
        count == 0   ? tr("No line of %1 comes close to this one.").arg(fileName(other))
        : count == 1 ? tr("1 line of %1 looks like it, but for what differs.").arg(fileName(other))
                     : tr("%1 lines of %2 look like it, but for what differs.")
                           .arg(QLocale().toString(count), fileName(other));
    const QString missing = LineText(compared, file, line);
    const CompareOptions options = OptionsOf(compared);
    // Working out which option would match keys a line some twenty ways, on
    // the window's thread: once for each text (a line repeated in the other
    // file is worked out once), and for the first few texts; the rest say
    // what differs.
    QHash<QString, QString> reasons;
    auto reasonFor = [&](const QString& text, unsigned why) {
        if (const auto known = reasons.constFind(text); known != reasons.cend())
            return *known;
        if (reasons.size() >= kMostReasoned)
            return tr("Differs in %1.").arg(NearMisses::DescribeInWords(why));
        const QString reason = file == 1 ? NearMisses::Reason(options, missing, text)
                                         : NearMisses::Reason(options, text, missing);
        reasons.insert(text, reason);
        return reason;
    };
    QList<Part> parts;
    for (const NearMisses::Index::Alike& alike : found.alike) {
        const QString text = LineText(compared, other, alike.line);
        parts << Part{tr("Line %1 of %2:").arg(QLocale().toString(alike.line + 1), fileName(other)),
                      true, text, reasonFor(text, alike.why), true};
    }
    if (found.more > 0)
        parts << Part{
            tr("... and %1 more like it, not listed here.").arg(QLocale().toString(found.more)),
            false,
            {},
            {},
            false};
    m_waiting = false;
    showLine(compared, file, line, summary, parts);
}

void NearMissDialog::ExplainLater(const Comparison& comparison, int file, qsizetype line)
{
    m_waiting = true;
    showLine(comparison, file, line,
             tr("Still looking for lines of %1 that look like it...").arg(fileName(3 - file)), {});
}

void NearMissDialog::CannotExplain()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    showParts(tr("The lines of %1 that look like it could not be found: there was "
                 "not enough memory.")
                  .arg(fileName(3 - m_file)),
              {});
}

void NearMissDialog::showLine(const Comparison& comparison, int file, qsizetype line,
                              const QString& summary, const QList<Part>& alike)
{
    m_file = file;
    m_line = line;
    m_head = Part{tr("Line %1 of %2:").arg(QLocale().toString(line + 1), fileName(file)), true,
                  LineText(comparison, file, line), tr("is not in %1.").arg(fileName(3 - file))};
    showParts(summary, alike);
}

void NearMissDialog::showParts(const QString& summary, const QList<Part>& alike)
{
    const QString title = tr("Why is this line not in %1?").arg(fileName(3 - m_file));
    setWindowTitle(title);
    setAccessibleName(title);
    m_list->setAccessibleName(title);
    m_list->setAccessibleDescription(m_head.caption.chopped(1) + QStringLiteral(". ") + summary);
    m_list->clear();
    QList<Part> parts{m_head, Part{summary, false, {}, {}, false}};
    parts << alike;
    for (const Part& part : parts) {
        const bool hasLine = part.hasLine;
        auto* item = new QListWidgetItem(
            textOf(part.caption, part.line, hasLine, part.note, part.noteIndented), m_list);
        item->setData(CaptionRole, part.caption);
        if (hasLine)
            item->setData(LineRole, part.line.isNull() ? QStringLiteral("") : part.line);
        item->setData(NoteRole, part.note);
        item->setData(NoteIndentedRole, part.noteIndented);
        // A screen reader hears the line and then what is said of it.
        QString name = part.caption;
        QStringList description;
        if (hasLine) {
            name += QLatin1Char(' ') + quoted(part.line);
            const QString marks = MarksInWords(part.line, MarksOf(part.line));
            if (!marks.isEmpty())
                description << tr("The line %1.").arg(marks);
        }
        if (part.noteIndented)
            description.prepend(part.note);
        else if (!part.note.isEmpty())
            name += QLatin1Char(' ') + part.note;
        item->setData(Qt::AccessibleTextRole, name);
        item->setData(Qt::AccessibleDescriptionRole, description.join(QLatin1Char(' ')));
    }
    m_list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    m_list->setFocus();
}
