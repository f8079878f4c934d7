#pragma once

#include "compare/LineSink.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QItemSelectionModel>
#include <QStringList>
#include <memory>
#include <vector>

class ListTextWriter;

// One result list: an ordered sequence of items (text, check mark, sub-item
// texts), its column headers and at most one current item. It is the model a
// list view shows directly, and it keeps its texts encoded in one buffer so a
// list of millions of lines stays small.
//
// Positions run from 1 to Count. Reading or removing a position outside that
// range throws RuntimeError.
class ResultList : public QAbstractListModel, public LineSink
{
    Q_OBJECT
public:
    explicit ResultList(QObject* parent = nullptr);

    // The operations the commands use.
    void Clear() override;
    void AddAt(qsizetype line, const QString& text) override;
    void AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                     QByteArrayView bytes) override;
    int Count() const { return int(m_rows.size()); }
    QString ItemText(int position) const;
    // The item's text as the list shows it and copies it: a byte that is not
    // UTF-8 is its Windows-1252 character.
    QString ShownText(int position) const;
    QString SubItemText(int position, int column) const;
    bool IsChecked(int position) const;
    // The line of its file (counted from 0) an item was made from, which
    // stays with it as items above it are removed; -1 for an item added
    // without one.
    qsizetype LineNumber(int position) const;
    int ColumnCount() const { return int(m_columns.size()); }
    // The position of the current item, or 0 when there is none.
    int CurrentPosition() const;
    void Remove(int position);
    // Removes positions first to last, announced as one change.
    void RemoveRange(int first, int last);
    void AddColumn(const QString& title);
    // Trades every item (texts, check marks, sub-items) with other, each list
    // announcing one reset; columns and the current item stay with each list.
    // A list filled elsewhere comes in at once this way.
    void SwapItems(ResultList& other);
    // A list's items with all they need (texts, check marks, sub-items, line
    // numbers), away from any list.
    struct Items;
    // Empties the list in one reset and hands its items' storage over, to be
    // let go of on another thread (freeing millions of lines takes a while)
    // or given back by PutItems: both trade the storage, whatever its size.
    std::shared_ptr<Items> TakeItems();
    // Gives an empty list the items TakeItems took, in one reset; items is
    // left empty. Throws RuntimeError when the list has items of its own.
    void PutItems(Items& items);

    // Positions taken out of a list, kept to go back to where they were: only
    // their rows, the texts stay in the list (or come along when the last
    // item went).
    struct TakenRange;
    // As RemoveRange, keeping what it removes.
    std::shared_ptr<TakenRange> TakeRange(int first, int last);
    // Puts a taken range back where it was, announced as rows inserted; it
    // must be the last range taken from the list that is not back yet.
    // Returns the first position it holds again.
    int PutRange(TakenRange& taken);
    void SetColumnWidth(int column, int twips);

    // Check marks are the user's; these serve the view and bulk commands.
    void SetChecked(int position, bool checked);
    void SetAllChecked(bool checked);
    // Sets the check marks of positions first to last, announced as one change.
    void SetRangeChecked(int first, int last, bool checked);
    int CheckedCount() const { return m_checkedCount; }
    // The check marks of positions first to last, one bit each.
    std::vector<bool> CheckMarks(int first, int last) const;
    // Sets the check marks from first on to marks, announced as one change.
    void SetCheckMarks(int first, const std::vector<bool>& marks);
    void SetSubItemText(int position, int column, const QString& text);
    void SetCurrentPosition(int position);

    QString ColumnTitle(int column) const;
    // A column's width in twips, or -1 while it has the default width.
    int ColumnWidth(int column) const;

    // Adds one item's encoded text to a list being written.
    void WriteItemLine(int position, ListTextWriter& out) const;

    // The current item lives here so that the list itself can answer for it;
    // a view shares this selection model.
    QItemSelectionModel* selectionModel() const { return m_selection; }

    // While a BulkUpdate lives, changes are announced to views as one reset
    // instead of one signal per item.
    class BulkUpdate
    {
    public:
        explicit BulkUpdate(ResultList& list);
        ~BulkUpdate();
        BulkUpdate(const BulkUpdate&) = delete;
        BulkUpdate& operator=(const BulkUpdate&) = delete;

    private:
        ResultList& m_list;
    };

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void columnWidthChanged(int column, int twips);
    void checkedCountChanged(int checked);

private:
    // Eight bytes an item, as lists have millions of them: the low 48 bits
    // hold where the text is (an offset into m_text, or with kShared the
    // address of the bytes), the next 13 its length, the top ones the flags
    // below. An item whose length does not fit has kLongLength there, and
    // the index of its place in m_long as where.
    struct Row
    {
        quint64 bits;
    };
    static constexpr quint64 kChecked = quint64(1) << 63;
    static constexpr quint64 kUtf16 = quint64(1) << 62;
    static constexpr quint64 kShared = quint64(1) << 61;
    static constexpr int kLengthShift = 48;
    static constexpr quint64 kWhere = (quint64(1) << kLengthShift) - 1;
    static constexpr quint64 kLongLength = (quint64(1) << 13) - 1;

    struct Column
    {
        QString title;
        int twips = -1;
    };

    const Row& row(int position) const;
    void checkPosition(int position) const;
    void beginChange();
    void append(qint64 where, qint64 length, quint64 flags, qsizetype line = -1);
    QByteArrayView storedBytes(const Row& r) const;
    // Removes positions first to last, keeping them in keep when given.
    void removeRows(int first, int last, TakenRange* keep);

    QByteArray m_text;
    // Buffers whose bytes rows refer to instead of a copy (the compared files).
    std::vector<std::shared_ptr<const void>> m_owners;
    std::vector<Row> m_rows;
    std::vector<std::pair<qint64, qint64>> m_long; // where and length of long items
    std::vector<QStringList> m_subItems;           // empty until an item gets one
    // Each item's line in its file, four bytes an item (lines are 32-bit);
    // empty until an item comes with one.
    std::vector<quint32> m_lines;
    static constexpr quint32 kNoLine = ~quint32(0);
    std::vector<Column> m_columns;
    int m_checkedCount = 0;
    int m_bulkDepth = 0;
    bool m_resetting = false;
    QItemSelectionModel* m_selection;
};
