#include "widgets/ResultPane.h"

#include "results/ListKinds.h"
#include "widgets/FindBar.h"
#include "widgets/ListCounts.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QPushButton>

namespace {

template <typename Widget, typename... Args> Widget* named(const char* name, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

ResultPane::ResultPane(const ListKind& kind, QWidget* parent)
    : QGroupBox(CaptionText(kind), parent), View(named<ResultView>(kind.controls.list, this)),
      Save(named<QPushButton>(kind.controls.save, tr("Save Results As Text File"), this)),
      Copy(named<QPushButton>(kind.controls.copy, tr("Copy Results To Clipboard"), this)),
      Counts(named<ListCounts>(kind.controls.counts, View, this)),
      Find(named<FindBar>(kind.controls.findBar, View, this)), m_kind(kind)
{
    setObjectName(QLatin1String(kind.controls.frame));
    connect(Find, &FindBar::opened, this, [this] {
        Save->hide();
        Copy->hide();
    });
    connect(Find, &FindBar::closed, this, [this] {
        Save->show();
        Copy->show();
    });
    // In the list's context menu, and its keys while the list has the focus.
    auto action = [this](const char* name, const QString& text, const QKeySequence& keys,
                         void (FindBar::*go)()) {
        auto* entry = new QAction(text, View);
        entry->setObjectName(QLatin1String(name));
        entry->setShortcut(keys);
        entry->setShortcutContext(Qt::WidgetShortcut);
        connect(entry, &QAction::triggered, Find, go);
        View->addAction(entry);
    };
    action("find", tr("Find..."), QKeySequence::Find, &FindBar::Open);
    action("findNext", tr("Find Next"), QKeySequence(Qt::Key_F3), &FindBar::FindNext);
    action("findPrevious", tr("Find Previous"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
           &FindBar::FindPrevious);
}

ResultList& ResultPane::List() const
{
    return View->list();
}

QString ResultPane::LineNumbersKey() const
{
    QString number = QLatin1String(m_kind.controls.list);
    while (!number.isEmpty() && !number.front().isDigit())
        number.remove(0, 1);
    return QStringLiteral("LineNumbers") + number;
}

void ResultPane::PlaceFindBar()
{
    Find->setGeometry(Save->geometry().united(Copy->geometry()));
}

void ResultPane::TabThroughFindBar()
{
    QWidget* previous = View;
    for (QWidget* part : Find->findChildren<QWidget*>())
        if (part->focusPolicy() != Qt::NoFocus) {
            setTabOrder(previous, part);
            previous = part;
        }
}
