#include "widgets/ClipboardText.h"

#include "desktop/AppInfo.h"
#include "desktop/BusyProgress.h"
#include "desktop/Clipboard.h"
#include "platform/AnsiCodec.h"
#include "platform/RuntimeError.h"
#include "results/ResultList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <vector>

namespace {

// Lets the window handle its events while a long list is read: once at the
// start of each pass and then whenever about 20 ms of work have gone by. The
// clock is looked at only every so many items: a pause per item would spend
// most of a long copy in the event loop.
class Pauses
{
public:
    Pauses(ResultList& list, BusyProgress* progress) : m_list(&list), m_progress(progress) {}

    // Thrown at a pause once the copy was cancelled.
    struct Cancelled
    {
    };

    // The amount of work the progress counts steps against.
    void setTotal(qint64 total) { m_total = total; }

    // The list, still there after any pause.
    ResultList& list() const
    {
        if (!m_list)
            throw RuntimeError(QCoreApplication::translate(
                "ClipboardText", "The list was closed while it was being copied"));
        return *m_list;
    }

    void startPass()
    {
        pause();
        m_steps = 0;
    }

    void step()
    {
        ++m_done;
        if (++m_steps % kStepsPerLook == 0 && m_clock.elapsed() >= kWorkMs)
            pause();
    }

private:
    void pause()
    {
        DoEvents();
        if (m_progress) {
            m_progress->Update(
                QCoreApplication::translate("ClipboardText", "Copying to the clipboard..."), m_done,
                m_total);
            if (m_progress->Cancelled())
                throw Cancelled();
        }
        m_clock.start();
    }

    static constexpr int kStepsPerLook = 256;
    static constexpr qint64 kWorkMs = 20;
    QPointer<ResultList> m_list;
    BusyProgress* m_progress;
    QElapsedTimer m_clock;
    unsigned m_steps = 0;
    qint64 m_done = 0, m_total = 0;
};

// A cell as the list shows it: a byte that is not UTF-8 goes to the
// clipboard as the character the user sees.
QString cell(const ResultList& list, int position, int column)
{
    return column == 1 ? list.ShownText(position)
                       : AnsiCodec::ShownText(list.SubItemText(position, column));
}

// Which items go to the clipboard: the checked ones, or the selected ones.
enum class Which
{
    Checked,
    Selected
};

bool wanted(const ResultList& list, int position, Which which)
{
    return which == Which::Checked
               ? list.IsChecked(position)
               : list.selectionModel()->isRowSelected(position - 1, QModelIndex());
}

// How many items go, for the room the text takes.
qint64 wantedCount(const ResultList& list, Which which)
{
    if (which == Which::Checked)
        return list.CheckedCount();
    qint64 count = 0;
    for (const QItemSelectionRange& range : list.selectionModel()->selection())
        count += range.height();
    return qMin<qint64>(count, list.Count());
}

// The clipboard text of target's checked or selected items.
QString clipboardText(ResultList& target, BusyProgress* progress, Which which)
{
    // Nothing here holds on to the list's storage across a pause: every read
    // goes through the list by position, and a position that is gone throws.
    Pauses pauses(target, progress);
    const int columns = target.ColumnCount();
    pauses.setTotal(qint64(target.Count()) * (columns + 1));

    // Each column's width: its longest cell over all items, checked or not.
    std::vector<qsizetype> widths;
    qint64 cellChars = 0;
    int measured = 0;
    for (int column = 1; column <= columns; ++column) {
        qsizetype widest = 0;
        measured = pauses.list().Count();
        pauses.startPass();
        for (int position = 1; position <= measured; ++position) {
            const qsizetype length = cell(pauses.list(), position, column).size();
            widest = qMax(widest, length);
            cellChars += length;
            pauses.step();
        }
        widths.push_back(widest);
    }

    QString text;
    const int count = pauses.list().Count();
    if (measured > 0) {
        // Room for the checked share of the cells, their tabs and line ends.
        const double share = double(wantedCount(pauses.list(), which)) / measured;
        text.reserve(qsizetype(share * double(cellChars + qint64(measured) * (columns + 2))));
    }
    pauses.startPass();
    for (int position = 1; position <= count; ++position) {
        pauses.step();
        if (!wanted(pauses.list(), position, which))
            continue;
        const qsizetype rowStart = text.size();
        for (int column = 1; column <= columns; ++column) {
            const QString value = cell(pauses.list(), position, column);
            text.append(value);
            if (column == columns)
                break;
            // A cell longer than its width (the list changed since it was
            // measured) goes in without padding.
            const qsizetype width = widths[size_t(column - 1)];
            if (width > value.size())
                text.resize(text.size() + width - value.size(), QLatin1Char(' '));
            text.append(QLatin1Char('\t'));
        }
        // The checked lines lose their trailing blanks; the selected ones
        // go as they are.
        if (which == Which::Checked) {
            qsizetype end = text.size();
            while (end > rowStart && text.at(end - 1) == QLatin1Char(' '))
                --end;
            text.truncate(end);
        }
        text.append(QLatin1String("\r\n"));
    }
    // The guess above was high when mostly short items are checked.
    if (text.capacity() > 2 * text.size() + 4096)
        text.squeeze();
    return text;
}

} // namespace

namespace {

bool copyToClipboard(ResultList& list, BusyProgress* progress, Which which)
{
    // Ctrl+C with nothing selected keeps what the clipboard held.
    if (list.Count() == 0 || (which == Which::Selected && wantedCount(list, which) == 0))
        return true;
    QString text;
    try {
        text = clipboardText(list, progress, which);
    } catch (const Pauses::Cancelled&) {
        return false;
    }
    ClearClipboard();
    // Reported, so that no one is told the lines are on the clipboard when
    // another program kept it the whole time.
    if (!SetClipboardText(text, 0))
        throw RuntimeError(
            QCoreApplication::translate(
                "ClipboardText",
                "The clipboard could not be opened: another program kept it busy for %1 attempts")
                .arg(kClipboardAttempts));
    return true;
}

} // namespace

bool CopyListToClipboard(ResultList& list, BusyProgress* progress)
{
    return copyToClipboard(list, progress, Which::Checked);
}

bool CopySelectionToClipboard(ResultList& list, BusyProgress* progress)
{
    return copyToClipboard(list, progress, Which::Selected);
}
