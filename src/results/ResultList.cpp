#include "results/ResultList.h"

#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>

ResultList::ResultList(QObject* parent)
    : QAbstractListModel(parent), m_selection(new QItemSelectionModel(this, this))
{
}

void ResultList::checkPosition(int position) const
{
    if (position < 1 || position > Count())
        throw RuntimeError(ResultList::tr("Invalid list position %1: the list holds %2 items")
                               .arg(position)
                               .arg(Count()));
}

const ResultList::Row& ResultList::row(int position) const
{
    checkPosition(position);
    return m_rows[size_t(position - 1)];
}

QByteArrayView ResultList::storedBytes(const Row& r) const
{
    qint64 where = qint64(r.bits & kWhere);
    qint64 length = qint64((r.bits >> kLengthShift) & kLongLength);
    if (quint64(length) == kLongLength)
        std::tie(where, length) = m_long[size_t(where)];
    if (r.bits & kShared)
        return QByteArrayView(reinterpret_cast<const char*>(where), length);
    return QByteArrayView(m_text.constData() + where, length);
}

void ResultList::beginChange()
{
    if (m_bulkDepth > 0 && !m_resetting) {
        beginResetModel();
        m_resetting = true;
    }
}

ResultList::BulkUpdate::BulkUpdate(ResultList& list) : m_list(list)
{
    ++m_list.m_bulkDepth;
}

ResultList::BulkUpdate::~BulkUpdate()
{
    if (--m_list.m_bulkDepth == 0 && m_list.m_resetting) {
        m_list.m_resetting = false;
        m_list.endResetModel();
        emit m_list.checkedCountChanged(m_list.m_checkedCount);
    }
}

void ResultList::Clear()
{
    const bool bulk = m_bulkDepth > 0;
    if (bulk)
        beginChange();
    else
        beginResetModel();
    // Give the memory back: a list may have held millions of lines.
    m_text = QByteArray();
    m_owners.clear();
    std::vector<Row>().swap(m_rows);
    std::vector<std::pair<qint64, qint64>>().swap(m_long);
    std::vector<QStringList>().swap(m_subItems);
    std::vector<quint32>().swap(m_lines);
    m_checkedCount = 0;
    if (!bulk) {
        endResetModel();
        emit checkedCountChanged(0);
    }
}

void ResultList::SwapItems(ResultList& other)
{
    if (&other == this)
        return;
    // Inside a BulkUpdate the reset is announced when it ends.
    auto begin = [](ResultList& list) {
        if (list.m_bulkDepth > 0)
            list.beginChange();
        else
            list.beginResetModel();
    };
    auto end = [](ResultList& list) {
        if (list.m_bulkDepth == 0) {
            list.endResetModel();
            emit list.checkedCountChanged(list.m_checkedCount);
        }
    };
    begin(*this);
    begin(other);
    std::swap(m_text, other.m_text);
    std::swap(m_owners, other.m_owners);
    std::swap(m_rows, other.m_rows);
    std::swap(m_long, other.m_long);
    std::swap(m_subItems, other.m_subItems);
    std::swap(m_lines, other.m_lines);
    std::swap(m_checkedCount, other.m_checkedCount);
    end(other);
    end(*this);
}

struct ResultList::Items
{
    QByteArray text;
    std::vector<std::shared_ptr<const void>> owners;
    std::vector<Row> rows;
    std::vector<std::pair<qint64, qint64>> longItems;
    std::vector<QStringList> subItems;
    std::vector<quint32> lines;
    int checkedCount = 0;
};

struct ResultList::TakenRange
{
    int first = 0;
    std::vector<Row> rows;
    std::vector<QStringList> subItems; // empty when the list had none
    std::vector<quint32> lines;        // empty when the list had none
    int checked = 0;
    // The list's texts, taken along with its last items.
    std::shared_ptr<Items> storage;
};

std::shared_ptr<ResultList::Items> ResultList::TakeItems()
{
    auto items = std::make_shared<Items>();
    const BulkUpdate bulk(*this);
    beginChange();
    std::swap(items->text, m_text);
    std::swap(items->owners, m_owners);
    std::swap(items->rows, m_rows);
    std::swap(items->longItems, m_long);
    std::swap(items->subItems, m_subItems);
    std::swap(items->lines, m_lines);
    items->checkedCount = std::exchange(m_checkedCount, 0);
    return items;
}

void ResultList::PutItems(Items& items)
{
    if (!m_rows.empty())
        throw RuntimeError(ResultList::tr("Items can only be put back into an empty list"));
    const BulkUpdate bulk(*this);
    beginChange();
    std::swap(items.text, m_text);
    std::swap(items.owners, m_owners);
    std::swap(items.rows, m_rows);
    std::swap(items.longItems, m_long);
    std::swap(items.subItems, m_subItems);
    std::swap(items.lines, m_lines);
    m_checkedCount = std::exchange(items.checkedCount, 0);
}

void ResultList::append(qint64 where, qint64 length, quint64 flags, qsizetype line)
{
    // Positions are 32-bit: a list of more lines could not be read back.
    if (m_rows.size() >= size_t(std::numeric_limits<int>::max()))
        throw RuntimeError(ResultList::tr("A list holds at most 2,147,483,647 lines"));
    Row r{flags};
    if (quint64(length) < kLongLength && quint64(where) <= kWhere) {
        r.bits |= quint64(where) | (quint64(length) << kLengthShift);
    } else {
        r.bits |= quint64(m_long.size()) | (kLongLength << kLengthShift);
        m_long.emplace_back(where, length);
    }
    const bool bulk = m_bulkDepth > 0;
    if (bulk)
        beginChange();
    else
        beginInsertRows(QModelIndex(), Count(), Count());
    if (line >= 0 || !m_lines.empty()) {
        m_lines.resize(m_rows.size(), kNoLine);
        m_lines.push_back(line >= 0 && line < qsizetype(kNoLine) ? quint32(line) : kNoLine);
    }
    m_rows.push_back(r);
    if (!m_subItems.empty())
        m_subItems.resize(m_rows.size());
    if (!bulk)
        endInsertRows();
}

void ResultList::AddAt(qsizetype line, const QString& text)
{
    const qint64 offset = m_text.size();
    if (AnsiCodec::HasExactEncoding(text)) {
        AnsiCodec::AppendEncoded(text, m_text);
        append(offset, m_text.size() - offset, 0, line);
    } else {
        // Text with no byte form (a lone surrogate from a UTF-16 file) is kept as it is.
        m_text.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        append(offset, m_text.size() - offset, kUtf16, line);
    }
}

void ResultList::AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                             QByteArrayView bytes)
{
    // The lines of one comparison come from one or two buffers.
    if (std::find(m_owners.rbegin(), m_owners.rend(), owner) == m_owners.rend())
        m_owners.push_back(owner);
    append(reinterpret_cast<qint64>(bytes.data()), bytes.size(), kShared, line);
}

QString ResultList::ItemText(int position) const
{
    const Row& r = row(position);
    const QByteArrayView bytes = storedBytes(r);
    if (r.bits & kUtf16) {
        QString text(bytes.size() / 2, Qt::Uninitialized);
        std::memcpy(text.data(), bytes.data(), size_t(bytes.size()));
        return text;
    }
    return AnsiCodec::Decode(bytes);
}

QString ResultList::ShownText(int position) const
{
    return AnsiCodec::ShownText(ItemText(position));
}

void ResultList::WriteItemLine(int position, ListTextWriter& out) const
{
    const Row& r = row(position);
    if (r.bits & kUtf16)
        out.Add(ItemText(position));
    else
        out.AddEncoded(storedBytes(r));
}

QString ResultList::SubItemText(int position, int column) const
{
    checkPosition(position);
    if (column < 2 || m_subItems.empty())
        return QString();
    return m_subItems[size_t(position - 1)].value(column - 2);
}

void ResultList::SetSubItemText(int position, int column, const QString& text)
{
    checkPosition(position);
    if (column < 2)
        throw RuntimeError(ResultList::tr("Invalid column %1 for a sub-item").arg(column));
    if (m_subItems.empty())
        m_subItems.resize(m_rows.size());
    QStringList& cells = m_subItems[size_t(position - 1)];
    while (cells.size() < column - 1)
        cells.append(QString());
    cells[column - 2] = text;
}

bool ResultList::IsChecked(int position) const
{
    return row(position).bits & kChecked;
}

qsizetype ResultList::LineNumber(int position) const
{
    checkPosition(position);
    if (m_lines.empty() || m_lines[size_t(position - 1)] == kNoLine)
        return -1;
    return qsizetype(m_lines[size_t(position - 1)]);
}

void ResultList::SetChecked(int position, bool checked)
{
    checkPosition(position);
    Row& r = m_rows[size_t(position - 1)];
    if (bool(r.bits & kChecked) == checked)
        return;
    r.bits ^= kChecked;
    m_checkedCount += checked ? 1 : -1;
    const QModelIndex at = index(position - 1);
    emit dataChanged(at, at, {Qt::CheckStateRole});
    emit checkedCountChanged(m_checkedCount);
}

void ResultList::SetAllChecked(bool checked)
{
    if (!m_rows.empty())
        SetRangeChecked(1, Count(), checked);
}

void ResultList::SetRangeChecked(int first, int last, bool checked)
{
    checkPosition(first);
    checkPosition(last);
    for (int position = first; position <= last; ++position) {
        Row& r = m_rows[size_t(position - 1)];
        if (bool(r.bits & kChecked) != checked) {
            r.bits ^= kChecked;
            m_checkedCount += checked ? 1 : -1;
        }
    }
    emit dataChanged(index(first - 1), index(last - 1), {Qt::CheckStateRole});
    emit checkedCountChanged(m_checkedCount);
}

std::vector<bool> ResultList::CheckMarks(int first, int last) const
{
    checkPosition(first);
    checkPosition(last);
    std::vector<bool> marks;
    marks.reserve(size_t(qMax(0, last - first + 1)));
    for (int position = first; position <= last; ++position)
        marks.push_back(m_rows[size_t(position - 1)].bits & kChecked);
    return marks;
}

void ResultList::SetCheckMarks(int first, const std::vector<bool>& marks)
{
    if (marks.empty())
        return;
    const int last = first + int(marks.size()) - 1;
    checkPosition(first);
    checkPosition(last);
    for (size_t i = 0; i < marks.size(); ++i) {
        Row& r = m_rows[size_t(first - 1) + i];
        if (bool(r.bits & kChecked) != marks[i]) {
            r.bits ^= kChecked;
            m_checkedCount += marks[i] ? 1 : -1;
        }
    }
    emit dataChanged(index(first - 1), index(last - 1), {Qt::CheckStateRole});
    emit checkedCountChanged(m_checkedCount);
}

int ResultList::CurrentPosition() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void ResultList::SetCurrentPosition(int position)
{
    checkPosition(position);
    m_selection->setCurrentIndex(index(position - 1), QItemSelectionModel::ClearAndSelect);
}

void ResultList::Remove(int position)
{
    RemoveRange(position, position);
}

void ResultList::RemoveRange(int first, int last)
{
    removeRows(first, last, nullptr);
}

std::shared_ptr<ResultList::TakenRange> ResultList::TakeRange(int first, int last)
{
    auto taken = std::make_shared<TakenRange>();
    removeRows(first, last, taken.get());
    return taken;
}

void ResultList::removeRows(int first, int last, TakenRange* keep)
{
    checkPosition(first);
    checkPosition(last);
    if (last < first)
        return;
    const bool bulk = m_bulkDepth > 0;
    if (bulk)
        beginChange();
    else
        beginRemoveRows(QModelIndex(), first - 1, last - 1);
    const auto from = m_rows.begin() + (first - 1);
    const auto to = m_rows.begin() + last;
    const int wasChecked =
        int(std::count_if(from, to, [](const Row& r) { return bool(r.bits & kChecked); }));
    if (keep && first == 1 && last == Count()) {
        // Every item: the rows themselves go, whatever their number.
        keep->first = first;
        keep->checked = wasChecked;
        std::swap(keep->rows, m_rows);
        std::swap(keep->subItems, m_subItems);
        std::swap(keep->lines, m_lines);
    } else if (keep) {
        keep->first = first;
        keep->checked = wasChecked;
        keep->rows.assign(from, to);
        if (!m_subItems.empty())
            keep->subItems.assign(std::make_move_iterator(m_subItems.begin() + (first - 1)),
                                  std::make_move_iterator(m_subItems.begin() + last));
        if (!m_lines.empty())
            keep->lines.assign(m_lines.begin() + (first - 1), m_lines.begin() + last);
    }
    if (!m_rows.empty())
        m_rows.erase(from, to);
    if (!m_subItems.empty())
        m_subItems.erase(m_subItems.begin() + (first - 1), m_subItems.begin() + last);
    if (!m_lines.empty())
        m_lines.erase(m_lines.begin() + (first - 1), m_lines.begin() + last);
    // Most of the rows taken: the rest move to a block of their size, so the
    // rows kept to be put back are not held twice.
    if (m_rows.size() < m_rows.capacity() / 2) {
        m_rows.shrink_to_fit();
        m_lines.shrink_to_fit();
        m_subItems.shrink_to_fit();
    }
    if (m_rows.empty()) {
        // The last item is gone: so is its text, unless the rows may come back.
        if (keep) {
            keep->storage = std::make_shared<Items>();
            std::swap(keep->storage->text, m_text);
            std::swap(keep->storage->owners, m_owners);
            std::swap(keep->storage->longItems, m_long);
        }
        m_text = QByteArray();
        m_owners.clear();
        m_long.clear();
        m_lines.clear();
        m_subItems.clear();
    }
    m_checkedCount -= wasChecked;
    if (!bulk) {
        endRemoveRows();
        if (wasChecked)
            emit checkedCountChanged(m_checkedCount);
    }
}

int ResultList::PutRange(TakenRange& taken)
{
    const int first = taken.first;
    const qsizetype added = qsizetype(taken.rows.size());
    if (first < 1 || first > Count() + 1 || added > std::numeric_limits<int>::max() - Count() ||
        (taken.storage && (!m_rows.empty() || !m_text.isEmpty() || !m_owners.empty())))
        throw RuntimeError(ResultList::tr("The lines cannot go back: the list has changed"));
    if (added == 0)
        return first;
    const bool bulk = m_bulkDepth > 0;
    if (bulk)
        beginChange();
    else
        beginInsertRows(QModelIndex(), first - 1, first - 1 + int(added) - 1);
    if (taken.storage) {
        std::swap(taken.storage->text, m_text);
        std::swap(taken.storage->owners, m_owners);
        std::swap(taken.storage->longItems, m_long);
        taken.storage.reset();
    }
    const size_t at = size_t(first - 1);
    const size_t had = m_rows.size();
    if (had == 0) {
        // Into an empty list: the rows themselves come back.
        std::swap(m_rows, taken.rows);
        std::swap(m_lines, taken.lines);
        std::swap(m_subItems, taken.subItems);
    } else {
        m_rows.insert(m_rows.begin() + qsizetype(at), taken.rows.begin(), taken.rows.end());
        if (!taken.lines.empty() || !m_lines.empty()) {
            m_lines.resize(had, kNoLine);
            if (taken.lines.empty())
                m_lines.insert(m_lines.begin() + qsizetype(at), size_t(added), kNoLine);
            else
                m_lines.insert(m_lines.begin() + qsizetype(at), taken.lines.begin(),
                               taken.lines.end());
        }
        if (!taken.subItems.empty() || !m_subItems.empty()) {
            m_subItems.resize(had);
            if (taken.subItems.empty())
                m_subItems.insert(m_subItems.begin() + qsizetype(at), size_t(added), QStringList());
            else
                m_subItems.insert(m_subItems.begin() + qsizetype(at),
                                  std::make_move_iterator(taken.subItems.begin()),
                                  std::make_move_iterator(taken.subItems.end()));
        }
    }
    m_checkedCount += taken.checked;
    const bool checked = taken.checked > 0;
    taken = TakenRange{};
    if (!bulk) {
        endInsertRows();
        if (checked)
            emit checkedCountChanged(m_checkedCount);
    }
    return first;
}

void ResultList::AddColumn(const QString& title)
{
    const bool first = m_columns.empty();
    m_columns.push_back({title, -1});
    if (first)
        emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ResultList::SetColumnWidth(int column, int twips)
{
    if (column < 1 || column > ColumnCount())
        throw RuntimeError(ResultList::tr("Invalid column %1: the list has %2 columns")
                               .arg(column)
                               .arg(ColumnCount()));
    m_columns[size_t(column - 1)].twips = twips;
    emit columnWidthChanged(column, twips);
}

QString ResultList::ColumnTitle(int column) const
{
    return column >= 1 && column <= ColumnCount() ? m_columns[size_t(column - 1)].title : QString();
}

int ResultList::ColumnWidth(int column) const
{
    return column >= 1 && column <= ColumnCount() ? m_columns[size_t(column - 1)].twips : -1;
}

int ResultList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant ResultList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count() || index.column() != 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return ShownText(index.row() + 1);
    case Qt::CheckStateRole:
        return IsChecked(index.row() + 1) ? Qt::Checked : Qt::Unchecked;
    default:
        return QVariant();
    }
}

bool ResultList::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= Count() || role != Qt::CheckStateRole)
        return false;
    SetChecked(index.row() + 1, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ResultList::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

QVariant ResultList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0)
        return ColumnTitle(1);
    return QAbstractListModel::headerData(section, orientation, role);
}
