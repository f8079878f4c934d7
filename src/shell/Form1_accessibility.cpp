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
    const int count = list.Count();
    return Form1::tr("%1, %Ln checked", nullptr, list.CheckedCount())
        .arg(count == 1 ? Form1::tr("1 line") : Form1::tr("%Ln lines", nullptr, count));
}

} // namespace

void Form1::describeControls()
{
    auto describe = [](QWidget* control, const QString& name, const QString& description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
    };
    describe(this, QStringLiteral("Quillmark"),
             tr("Compares two text files line by line into three lists"));
    describe(PushButton11, PushButton11->text(), tr("Tells where to send questions"));
    describe(PushButton12, PushButton12->text(),
             tr("Fills both path fields with the sample files and offers to open "
                "their folder"));
    const struct
    {
        QGroupBox* frame;
        QLineEdit* field;
        QPushButton* browse;
        QString fieldWords, browseWords;
    } paths[] = {{Frame6, Text1, PushButton3, tr("The path of the first file to compare"),
                  tr("Picks the first file with an open-file dialog")},
                 {Frame4, Text2, PushButton4, tr("The path of the second file to compare"),
                  tr("Picks the second file with an open-file dialog")}};
    for (const auto& path : paths) {
        describe(path.field, path.frame->title(), path.fieldWords);
        describe(path.browse, tr("Browse for %1").arg(path.frame->title()), path.browseWords);
    }
    for (QPushButton* paste : {PushButton13, PushButton14}) {
        const bool first = paste == PushButton13;
        paste->setToolTip(first ? tr("Uses the text on the clipboard as the first file")
                                : tr("Uses the text on the clipboard as the second file"));
        describe(paste, tr("Paste as %1").arg(paste->parentWidget()->property("title").toString()),
                 first ? tr("Keeps the text on the clipboard as a file of its own and puts "
                            "its path in the first field")
                       : tr("Keeps the text on the clipboard as a file of its own and puts "
                            "its path in the second field"));
    }
    describe(Check7, Check7->text(),
             tr("When checked, lines that differ only in letter case are different"));
    describe(Toggle1, tr("More Options"),
             tr("Opens or closes the options of the compared fields, the field "
                "names, the ignored fields, the key pattern, look-alike lines and "
                "empty lines"));
    describe(Panel1, tr("More Options"), QString());
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
    describe(Spin1, tr("Compare Field"),
             tr("The fields of each line that are compared, counted from 1 and "
                "separated by commas, or their names when the first line names "
                "them; empty compares the whole line"));
    describe(Check12, tr("First line names the fields"), Check12->toolTip());
    describe(Text4, tr("Ignore fields"), Text4->toolTip());
    describe(Combo1, tr("Delimiter"),
             tr("What separates the fields: one character, Tab, or Space for runs "
                "of blanks and tabs"));
    describe(Text3, tr("Key Pattern"),
             tr("A regular expression whose first group, or whole match, is "
                "compared; a line it does not match is compared whole"));
    // The text inside the delimiter box is heard as the box itself.
    if (auto* text = Combo1->findChild<QLineEdit*>())
        describe(text, Combo1->accessibleName(), Combo1->accessibleDescription());
    // Its open list of choices too.
    Combo1->view()->setAccessibleName(Combo1->accessibleName());
    describe(Check10, tr("Look-Alike Lines Match"), Check10->toolTip());
    describe(Check11, tr("Skip Empty Lines"), Check11->toolTip());
    describe(PushButton1, PushButton1->text(),
             tr("Compares the two files and fills the three lists"));
    describe(PushButton7, PushButton7->text(), tr("Empties all three lists"));
    for (QGroupBox* frame : {Frame4, Frame5, Frame6})
        describe(frame, frame->title(), QString());
    for (ResultPane* pane : Panes)
        describe(pane, pane->title(), QString());

    for (ResultPane* pane : Panes) {
        const QString caption = pane->title();
        ResultView* list = pane->View;
        describe(pane->Save, pane->Save->text(),
                 tr("Saves the list \"%1\" as a text file").arg(caption));
        describe(pane->Copy, pane->Copy->text(),
                 tr("Copies the checked lines of \"%1\" to the clipboard").arg(caption));
        list->setAccessibleName(caption);
        // Scroll bars show arrows alone: they are named by their list.
        list->verticalScrollBar()->setAccessibleName(tr("Vertical scroll bar of %1").arg(caption));
        list->horizontalScrollBar()->setAccessibleName(
            tr("Horizontal scroll bar of %1").arg(caption));
        // The description carries the list's counts, and is announced anew as they change.
        auto counts = [list] {
            list->setAccessibleDescription(
                Form1::tr("%1. Space checks the selected lines, Delete removes the selected "
                          "lines, Ctrl+C copies the selected lines, the Menu key opens the "
                          "menu.")
                    .arg(countsText(list->list())));
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
