// "Why is this line not in File #2?" and "... File #1?": the look-alikes of
// a line only in one file, found with the comparison (Form1_compare.cpp).

#include "compare/NearMisses.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/NearMissDialog.h"
#include "widgets/ResultView.h"

#include <QAction>

void Form1::connectNearMissCommands()
{
    const struct
    {
        ResultView* list;
        void (Form1::*handler)();
        int otherFile;
    } lists[] = {{ListView2, &Form1::ListView2_WhyNotIn, 2},
                 {ListView3, &Form1::ListView3_WhyNotIn, 1}};
    for (size_t i = 0; i < std::size(lists); ++i) {
        const auto& l = lists[i];
        auto* separator = new QAction(l.list);
        separator->setSeparator(true);
        l.list->addAction(separator);
        auto* why = new QAction(
            QStringLiteral("Why is this line not in File #%1?").arg(l.otherFile), l.list);
        why->setObjectName(QStringLiteral("whyNotIn"));
        connect(why, &QAction::triggered, this, l.handler);
        l.list->addAction(why);
        m_whyNotIn[i] = why;
        // Only for a row the near misses know: one of the comparison's lines.
        ResultList* items = &l.list->list();
        connect(items->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &Form1::enableNearMissCommands);
        for (auto change : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted})
            connect(items, change, this, &Form1::enableNearMissCommands);
        connect(items, &QAbstractItemModel::modelReset, this, &Form1::enableNearMissCommands);
    }
    enableNearMissCommands();
}

void Form1::enableNearMissCommands()
{
    const ResultView* lists[] = {ListView2, ListView3};
    for (size_t i = 0; i < std::size(lists); ++i) {
        const ResultList& items = lists[i]->list();
        const int current = items.CurrentPosition();
        m_whyNotIn[i]->setEnabled(m_nearMisses && current >= 1 && current <= items.Count() &&
                                  items.LineNumber(current) >= 0);
    }
}

void Form1::ListView2_WhyNotIn()
{
    explainMissingLine(ListView2, 1);
}

void Form1::ListView3_WhyNotIn()
{
    explainMissingLine(ListView3, 2);
}

void Form1::explainMissingLine(ResultView* list, int file)
{
    ErrorTrap trap(file == 1 ? QStringLiteral("ListView2_WhyNotIn")
                             : QStringLiteral("ListView3_WhyNotIn"));
    if (MousePointer() == kHourglass || !m_nearMisses)
        return;
    const ResultList& items = list->list();
    const int current = items.CurrentPosition();
    if (current < 1 || current > items.Count() || items.LineNumber(current) < 0)
        return;
    trap.Run(100, [&] {
        if (!m_nearMissDialog)
            m_nearMissDialog = new NearMissDialog(this);
        m_nearMissDialog->Explain(*m_nearMisses, file, items.LineNumber(current));
        m_nearMissDialog->show();
        m_nearMissDialog->raise();
        m_nearMissDialog->activateWindow();
    });
}

void Form1::forgetNearMisses()
{
    if (m_nearMissDialog)
        m_nearMissDialog->close();
    m_nearMisses.reset();
    enableNearMissCommands();
}
