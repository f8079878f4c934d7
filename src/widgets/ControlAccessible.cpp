#include "widgets/ControlAccessible.h"

#include "widgets/ResultView.h"

#include <QAbstractItemView>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace {

// Pieces of a text, each found from a place inside it: every loop moves on by
// at least a character and stops at the text's ends.

bool inWord(QChar c)
{
    return c.isLetterOrNumber();
}

bool endsSentence(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char('!') || c == QLatin1Char('?');
}

// The piece that holds position 0 <= at < text.size().
std::pair<int, int> pieceHolding(const QString& text, int at,
                                 QAccessible::TextBoundaryType boundary)
{
    const int length = int(text.size());
    switch (boundary) {
    case QAccessible::CharBoundary: {
        // A surrogate pair is one character.
        int start = at;
        if (text.at(at).isLowSurrogate() && at > 0 && text.at(at - 1).isHighSurrogate())
            --start;
        int end = start + 1;
        if (text.at(start).isHighSurrogate() && end < length && text.at(end).isLowSurrogate())
            ++end;
        return {start, end};
    }
    case QAccessible::WordBoundary: {
        // A run of letters and digits, or the run between two of them.
        const bool word = inWord(text.at(at));
        int start = at;
        while (start > 0 && inWord(text.at(start - 1)) == word)
            --start;
        int end = at + 1;
        while (end < length && inWord(text.at(end)) == word)
            ++end;
        return {start, end};
    }
    case QAccessible::SentenceBoundary: {
        // From the start or the end of the sentence before, up to its
        // . ! or ? and the blanks after it, or to the end of the text.
        int start = 0;
        int end = 0;
        while (end <= at) {
            start = end;
            while (end < length && !endsSentence(text.at(end)))
                ++end;
            while (end < length && endsSentence(text.at(end)))
                ++end;
            while (end < length && text.at(end).isSpace())
                ++end;
        }
        return {start, end};
    }
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
    case QAccessible::NoBoundary:
        break;
    }
    // A field holds a single line: a line, a paragraph, the whole text.
    return {0, length};
}

} // namespace

QString TextPiece(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                  TextPieceAt which, int* start, int* end)
{
    const int length = int(text.size());
    *start = *end = -1;
    if (offset == -1)
        offset = length;
    if (offset < 0 || offset > length)
        return QString();
    // The piece at the offset; at the end of the text, none for characters
    // (the end, empty), else the last one.
    std::pair<int, int> piece{offset, offset};
    if (offset < length)
        piece = pieceHolding(text, offset, boundary);
    else if (length > 0 && boundary != QAccessible::CharBoundary && which == TextPieceAt::At)
        piece = pieceHolding(text, length - 1, boundary);
    if (which == TextPieceAt::Before) {
        if (piece.first == 0)
            return QString();
        piece = pieceHolding(text, piece.first - 1, boundary);
    } else if (which == TextPieceAt::After) {
        if (piece.second >= length)
            return QString();
        piece = pieceHolding(text, piece.second, boundary);
    }
    *start = piece.first;
    *end = piece.second;
    return text.mid(piece.first, piece.second - piece.first);
}

namespace {

// Qt's own interface for an object, passed every call the wrapper does not
// answer itself. The wrapper stands in the cache for the object; Qt's
// interface stays registered under an id of its own, and goes with the wrapper.
class Wrapper : public QAccessibleInterface
{
public:
    explicit Wrapper(QAccessibleInterface* own) : m_own(QAccessible::uniqueId(own)) {}
    ~Wrapper() override { QAccessible::deleteAccessibleInterface(m_own); }

    QAccessibleInterface* own() const { return QAccessible::accessibleInterface(m_own); }

    bool isValid() const override { return own() && own()->isValid(); }
    QObject* object() const override { return own() ? own()->object() : nullptr; }
    QWindow* window() const override { return own() ? own()->window() : nullptr; }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return own() ? own()->relations(match)
                     : QList<QPair<QAccessibleInterface*, QAccessible::Relation>>();
    }
    QAccessibleInterface* focusChild() const override
    {
        return own() ? own()->focusChild() : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        return own() ? own()->childAt(x, y) : nullptr;
    }
    QAccessibleInterface* parent() const override { return own() ? own()->parent() : nullptr; }
    QAccessibleInterface* child(int index) const override
    {
        return own() ? own()->child(index) : nullptr;
    }
    int childCount() const override { return own() ? own()->childCount() : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return own() ? own()->indexOfChild(child) : -1;
    }
    QString text(QAccessible::Text t) const override { return own() ? own()->text(t) : QString(); }
    void setText(QAccessible::Text t, const QString& text) override
    {
        if (own())
            own()->setText(t, text);
    }
    QRect rect() const override { return own() ? own()->rect() : QRect(); }
    QAccessible::Role role() const override { return own() ? own()->role() : QAccessible::NoRole; }
    QAccessible::State state() const override
    {
        if (own())
            return own()->state();
        QAccessible::State s;
        s.invalid = true;
        return s;
    }
    QColor foregroundColor() const override { return own() ? own()->foregroundColor() : QColor(); }
    QColor backgroundColor() const override { return own() ? own()->backgroundColor() : QColor(); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return own() ? own()->interface_cast(type) : nullptr;
    }
    void virtual_hook(int id, void* data) override
    {
        if (own())
            own()->virtual_hook(id, data);
    }

private:
    QAccessible::Id m_own;
};

// A text field: Qt's text interface, but for the pieces around an offset.
class TextFieldAccessible : public Wrapper, public QAccessibleTextInterface
{
public:
    using Wrapper::Wrapper;

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return own() && own()->textInterface() ? static_cast<QAccessibleTextInterface*>(this)
                                                   : nullptr;
        return Wrapper::interface_cast(type);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (auto* t = ownText())
            t->selection(index, start, end);
    }
    int selectionCount() const override { return ownText() ? ownText()->selectionCount() : 0; }
    void addSelection(int start, int end) override
    {
        if (auto* t = ownText())
            t->addSelection(start, end);
    }
    void removeSelection(int index) override
    {
        if (auto* t = ownText())
            t->removeSelection(index);
    }
    void setSelection(int index, int start, int end) override
    {
        if (auto* t = ownText())
            t->setSelection(index, start, end);
    }
    int cursorPosition() const override { return ownText() ? ownText()->cursorPosition() : 0; }
    void setCursorPosition(int position) override
    {
        if (auto* t = ownText())
            t->setCursorPosition(position);
    }
    QString text(int start, int end) const override
    {
        return ownText() ? ownText()->text(start, end) : QString();
    }
    using Wrapper::text;
    int characterCount() const override { return ownText() ? ownText()->characterCount() : 0; }
    QRect characterRect(int offset) const override
    {
        return ownText() ? ownText()->characterRect(offset) : QRect();
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return ownText() ? ownText()->offsetAtPoint(point) : -1;
    }
    void scrollToSubstring(int start, int end) override
    {
        if (auto* t = ownText())
            t->scrollToSubstring(start, end);
    }
    QString attributes(int offset, int* start, int* end) const override
    {
        if (auto* t = ownText())
            return t->attributes(offset, start, end);
        *start = *end = -1;
        return QString();
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override
    {
        return piece(offset, boundary, TextPieceAt::Before, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override
    {
        return piece(offset, boundary, TextPieceAt::At, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override
    {
        return piece(offset, boundary, TextPieceAt::After, start, end);
    }

private:
    QAccessibleTextInterface* ownText() const { return own() ? own()->textInterface() : nullptr; }
    QString piece(int offset, QAccessible::TextBoundaryType boundary, TextPieceAt which, int* start,
                  int* end) const
    {
        // -2 is the cursor's place; the text as Qt gives it (none for a password).
        if (offset == -2)
            offset = cursorPosition();
        return TextPiece(text(0, characterCount()), offset, boundary, which, start, end);
    }
};

// A combo box, named as it was named rather than by its text.
class ComboAccessible : public Wrapper
{
public:
    using Wrapper::Wrapper;

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            if (const auto* box = qobject_cast<const QComboBox*>(object());
                box && !box->accessibleName().isEmpty())
                return box->accessibleName();
        return Wrapper::text(t);
    }
};

// A tool button that opens and closes a part of the window.
class ToolButtonAccessible : public Wrapper
{
public:
    using Wrapper::Wrapper;

    QAccessible::State state() const override
    {
        QAccessible::State s = Wrapper::state();
        if (const QObject* button = object()) {
            const QVariant expanded = button->property(kExpandsProperty);
            if (expanded.isValid()) {
                s.expandable = true;
                s.expanded = expanded.toBool();
                s.collapsed = !s.expanded;
            }
        }
        return s;
    }
};

// A cell outside an item view's rows: not valid, selected nowhere.
class NoCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    bool isValid() const override { return false; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text) const override { return QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return QRect(); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invalid = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return -1; }
    int rowIndex() const override { return -1; }
    int columnExtent() const override { return 0; }
    int rowExtent() const override { return 0; }
    QAccessibleInterface* table() const override { return nullptr; }
};

// An item view of Qt's (the combo box's list, the look-alikes' list): Qt's
// table, but a place outside it is a cell that is not valid, never none.
class ItemViewAccessible : public Wrapper, public QAccessibleTableInterface
{
public:
    using Wrapper::Wrapper;
    ~ItemViewAccessible() override
    {
        if (m_noCell)
            QAccessible::deleteAccessibleInterface(m_noCell);
    }

    // Qt's table takes any child for one of its own cells: the cell outside
    // it (Table.GetIndexAt asks for its index) is none of them.
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->isValid() ? Wrapper::indexOfChild(child) : -1;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return ownTable() ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
        return Wrapper::interface_cast(type);
    }

    QAccessibleInterface* cellAt(int row, int column) const override
    {
        QAccessibleTableInterface* t = ownTable();
        QAccessibleInterface* cell = nullptr;
        if (t && row >= 0 && column >= 0 && row < t->rowCount() && column < t->columnCount())
            cell = t->cellAt(row, column);
        if (cell && cell->tableCellInterface())
            return cell;
        if (!m_noCell)
            m_noCell = QAccessible::registerAccessibleInterface(new NoCell);
        return QAccessible::accessibleInterface(m_noCell);
    }
    QAccessibleInterface* caption() const override
    {
        return call<QAccessibleInterface*>(&T::caption, nullptr);
    }
    QAccessibleInterface* summary() const override
    {
        return call<QAccessibleInterface*>(&T::summary, nullptr);
    }
    int selectedCellCount() const override { return call(&T::selectedCellCount, 0); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        return call(&T::selectedCells, QList<QAccessibleInterface*>());
    }
    QString columnDescription(int column) const override
    {
        return inColumns(column) ? ownTable()->columnDescription(column) : QString();
    }
    QString rowDescription(int row) const override
    {
        return inRows(row) ? ownTable()->rowDescription(row) : QString();
    }
    int selectedColumnCount() const override { return call(&T::selectedColumnCount, 0); }
    int selectedRowCount() const override { return call(&T::selectedRowCount, 0); }
    int columnCount() const override { return call(&T::columnCount, 0); }
    int rowCount() const override { return call(&T::rowCount, 0); }
    QList<int> selectedColumns() const override { return call(&T::selectedColumns, QList<int>()); }
    QList<int> selectedRows() const override { return call(&T::selectedRows, QList<int>()); }
    bool isColumnSelected(int column) const override
    {
        return inColumns(column) && ownTable()->isColumnSelected(column);
    }
    bool isRowSelected(int row) const override
    {
        return inRows(row) && ownTable()->isRowSelected(row);
    }
    bool selectRow(int row) override { return inRows(row) && ownTable()->selectRow(row); }
    bool selectColumn(int column) override
    {
        return inColumns(column) && ownTable()->selectColumn(column);
    }
    bool unselectRow(int row) override { return inRows(row) && ownTable()->unselectRow(row); }
    bool unselectColumn(int column) override
    {
        return inColumns(column) && ownTable()->unselectColumn(column);
    }
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        if (auto* t = ownTable())
            t->modelChange(event);
    }

private:
    using T = QAccessibleTableInterface;
    QAccessibleTableInterface* ownTable() const
    {
        return own() ? own()->tableInterface() : nullptr;
    }
    template <typename R> R call(R (T::*method)() const, R none) const
    {
        QAccessibleTableInterface* t = ownTable();
        return t ? (t->*method)() : none;
    }
    bool inRows(int row) const { return row >= 0 && row < rowCount(); }
    bool inColumns(int column) const { return column >= 0 && column < columnCount(); }

    mutable QAccessible::Id m_noCell = 0;
};

// Set while the factory asks Qt for its own interface of an object.
bool askingQt = false;

enum class Kind
{
    None,
    TextField,
    Combo,
    ToolButton,
    ItemView
};

Kind kindOf(QObject* object)
{
    if (qobject_cast<QLineEdit*>(object))
        return Kind::TextField;
    if (qobject_cast<QComboBox*>(object))
        return Kind::Combo;
    if (qobject_cast<QToolButton*>(object))
        return Kind::ToolButton;
    // A result list answers for itself (ResultViewAccessible).
    if (qobject_cast<QAbstractItemView*>(object) && !qobject_cast<ResultView*>(object))
        return Kind::ItemView;
    return Kind::None;
}

QAccessibleInterface* controlFactory(const QString& className, QObject* object)
{
    // Asked once an object, for its own class: Qt's interface, then the wrapper.
    if (askingQt || !object || !object->isWidgetType() ||
        className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    const Kind kind = kindOf(object);
    if (kind == Kind::None)
        return nullptr;
    askingQt = true;
    QAccessibleInterface* own = QAccessible::queryAccessibleInterface(object);
    askingQt = false;
    if (!own)
        return nullptr;
    switch (kind) {
    case Kind::TextField:
        return new TextFieldAccessible(own);
    case Kind::Combo:
        return new ComboAccessible(own);
    case Kind::ToolButton:
        return new ToolButtonAccessible(own);
    case Kind::ItemView:
        return new ItemViewAccessible(own);
    case Kind::None:
        break;
    }
    return nullptr;
}

} // namespace

void InstallControlAccessible()
{
    QAccessible::installFactory(controlFactory);
}
