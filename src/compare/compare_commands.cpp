// The "Start Comparing" command.

#include "AppInfo.h"
#include "CompareEngine.h"
#include "CompareSession.h"
#include "CompareTexts.h"
#include "ErrorTrap.h"
#include "FileSystem.h"
#include "Form1.h"
#include "MsgBox.h"
#include "ResultView.h"

#include <QCheckBox>
#include <QLineEdit>

void Form1::PushButton1_Click()
{
    ErrorTrap trap(QStringLiteral("PushButton1_Click"));
    trap.Run(100, [] { DoEvents(); });
    if (trap.If(102, [this] { return Text1->text().isEmpty(); })) {
        trap.Run(104, [] { MsgBox(CompareTexts::ForgotFile1()); });
        return;
    }
    if (trap.If(106, [this] { return Text2->text().isEmpty(); })) {
        trap.Run(108, [] { MsgBox(CompareTexts::ForgotFile2()); });
        return;
    }
    if (trap.If(110, [this] { return !FileSystem::RegularFileLookup(Text1->text()); })) {
        trap.Run(112, [] { MsgBox(CompareTexts::File1NotFound()); });
        return;
    }
    if (trap.If(114, [this] { return !FileSystem::RegularFileLookup(Text2->text()); })) {
        trap.Run(116, [] { MsgBox(CompareTexts::File2NotFound()); });
        return;
    }
    trap.Run(118, [this] { SetMousePointer(11); });
    {
        // The three calls share what they read while both files stay unchanged.
        const CompareSession session;
        auto fill = [this](ResultView* view, auto&& engineCall) {
            const ResultList::BulkUpdate bulk(view->list());
            engineCall(Text1->text(), Text2->text(), qint16(CheckValue(Check7) == 1 ? -1 : 0),
                       view->list());
        };
        trap.Run(120, [&] {
            fill(ListView1, [](const QString& one, const QString& two, qint16 exact,
                               ResultList& target) { ListLinesInBoth(one, two, exact, target); });
        });
        trap.Run(122, [&] {
            fill(ListView2, [](const QString& one, const QString& two, qint16 exact,
                               ResultList& target) { ListLinesNotIn(one, two, exact, target); });
        });
        trap.Run(124, [&] {
            fill(ListView3, [](const QString& one, const QString& two, qint16 exact,
                               ResultList& target) { ListLinesNotIn(two, one, exact, target); });
        });
    }
    trap.Run(126, [this] { SetMousePointer(0); });
}
