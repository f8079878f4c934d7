// What assistive technology hears of the window, and the keys that make it
// usable without a mouse.

#include "shell/Form1.h"
#include "widgets/ControlAccessible.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace {

// Enter and Return press a focused button or toggle (Space does so by itself), and the
// Menu key or Shift+F10 opens a list's menu at its current row.
class KeyboardUse : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (qobject_cast<QPushButton*>(watched) || qobject_cast<QToolButton*>(watched)) {
            auto* button = static_cast<QAbstractButton*>(watched);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                modifiers == Qt::NoModifier) {
                button->click();
                return true;
            }
        } else if (auto* list = qobject_cast<ResultView*>(watched)) {
            if ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
                const QRect row = list->visualRect(list->currentIndex());
                const QPoint at = row.isValid() ? row.center() : QPoint(0, 0);
                QContextMenuEvent menu(QContextMenuEvent::Keyboard, at,
                                       list->viewport()->mapToGlobal(at));
                QCoreApplication::sendEvent(list, &menu);
                return true;
            }
        }
        return false;
    }
};

QString countsText(const ResultList& list)
{
    const QLocale locale;
    const int count = list.Count();
    return (count == 1 ? QStringLiteral("1 line")
                       : locale.toString(count) + QStringLiteral(" lines")) +
           QStringLiteral(", ") + locale.toString(list.CheckedCount()) + QStringLiteral(" checked");
}

} // namespace

void Form1::describeControls()
{
    auto describe = [](QWidget* control, const QString& name, const QString& description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
    };
    describe(this, QStringLiteral("Quillmark"),
             QStringLiteral("Compares two text files line by line into three lists"));
    describe(PushButton11, PushButton11->text(), QStringLiteral("Tells where to send questions"));
    describe(PushButton12, PushButton12->text(),
             QStringLiteral("Fills both path fields with the sample files and offers to open "
                            "their folder"));
    const struct
    {
        QGroupBox* frame;
        QLineEdit* field;
        QPushButton* browse;
        const char* which;
    } paths[] = {{Frame6, Text1, PushButton3, "first"}, {Frame4, Text2, PushButton4, "second"}};
    for (const auto& path : paths) {
        describe(
            path.field, path.frame->title(),
            QStringLiteral("The path of the %1 file to compare").arg(QLatin1String(path.which)));
        describe(path.browse, QStringLiteral("Browse for ") + path.frame->title(),
                 QStringLiteral("Picks the %1 file with an open-file dialog")
                     .arg(QLatin1String(path.which)));
    }
    for (QPushButton* paste : {PushButton13, PushButton14}) {
        const QString which =
            paste == PushButton13 ? QStringLiteral("first") : QStringLiteral("second");
        paste->setToolTip(
            QStringLiteral("Uses the text on the clipboard as the %1 file").arg(which));
        describe(paste,
                 QStringLiteral("Paste as ") + paste->parentWidget()->property("title").toString(),
                 QStringLiteral("Keeps the text on the clipboard as a file of its own and puts "
                                "its path in the %1 field")
                     .arg(which));
    }
    describe(Check7, Check7->text(),
             QStringLiteral("When checked, lines that differ only in letter case are different"));
    describe(Toggle1, QStringLiteral("More Options"),
             QStringLiteral("Opens or closes the options of the compared fields, the field "
                            "names, the ignored fields, the key pattern, look-alike lines and "
                            "empty lines"));
    describe(Panel1, QStringLiteral("More Options"), QString());
    // The toggle is heard as expandable, expanded while the panel shows.
    Toggle1->setProperty(kExpandsProperty, Toggle1->isChecked());
    connect(Toggle1, &QToolButton::toggled, this, [this](bool open) {
        Toggle1->setProperty(kExpandsProperty, open);
        QAccessible::State changed;
        changed.expanded = true;
        changed.collapsed = true;
        QAccessibleStateChangeEvent event(Toggle1, changed);
        QAccessible::updateAccessibility(&event);
    });
    describe(Spin1, QStringLiteral("Compare Field"),
             QStringLiteral("The fields of each line that are compared, counted from 1 and "
                            "separated by commas, or their names when the first line names "
                            "them; empty compares the whole line"));
    describe(Check12, QStringLiteral("First line names the fields"), Check12->toolTip());
    describe(Text4, QStringLiteral("Ignore fields"), Text4->toolTip());
    describe(Combo1, QStringLiteral("Delimiter"),
             QStringLiteral("What separates the fields: one character, Tab, or Space for runs "
                            "of blanks and tabs"));
    describe(Text3, QStringLiteral("Key Pattern"),
             QStringLiteral("A regular expression whose first group, or whole match, is "
                            "compared; a line it does not match is compared whole"));
    // The text inside the delimiter box is heard as the box itself.
    if (auto* text = Combo1->findChild<QLineEdit*>())
        describe(text, Combo1->accessibleName(), Combo1->accessibleDescription());
    // Its open list of choices too.
    Combo1->view()->setAccessibleName(Combo1->accessibleName());
    describe(Check10, QStringLiteral("Look-Alike Lines Match"), Check10->toolTip());
    describe(Check11, QStringLiteral("Skip Empty Lines"), Check11->toolTip());
    describe(PushButton1, PushButton1->text(),
             QStringLiteral("Compares the two files and fills the three lists"));
    describe(PushButton7, PushButton7->text(), QStringLiteral("Empties all three lists"));
    for (QGroupBox* frame : {Frame4, Frame5, Frame6})
        describe(frame, frame->title(), QString());
    for (ResultPane* pane : Panes)
        describe(pane, pane->title(), QString());

    for (ResultPane* pane : Panes) {
        const QString caption = pane->title();
        ResultView* list = pane->View;
        describe(pane->Save, pane->Save->text(),
                 QStringLiteral("Saves the list \"%1\" as a text file").arg(caption));
        describe(
            pane->Copy, pane->Copy->text(),
            QStringLiteral("Copies the checked lines of \"%1\" to the clipboard").arg(caption));
        list->setAccessibleName(caption);
        // Scroll bars show arrows alone: they are named by their list.
        list->verticalScrollBar()->setAccessibleName(
            QStringLiteral("Vertical scroll bar of %1").arg(caption));
        list->horizontalScrollBar()->setAccessibleName(
            QStringLiteral("Horizontal scroll bar of %1").arg(caption));
        // The description carries the list's counts, and is announced anew as they change.
        auto counts = [list] {
            list->setAccessibleDescription(
                countsText(list->list()) +
                QStringLiteral(". Space checks the selected lines, Delete removes the selected "
                               "lines, Ctrl+C copies the selected lines, the Menu key opens the "
                               "menu."));
        };
        counts();
        ResultList* model = &list->list();
        connect(model, &ResultList::checkedCountChanged, list, counts);
        connect(model, &QAbstractItemModel::rowsInserted, list, counts);
        connect(model, &QAbstractItemModel::rowsRemoved, list, counts);
        connect(model, &QAbstractItemModel::modelReset, list, counts);
    }

    auto* keyboard = new KeyboardUse(this);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->installEventFilter(keyboard);
    Toggle1->installEventFilter(keyboard);
    for (ResultPane* pane : Panes)
        pane->View->installEventFilter(keyboard);
}
