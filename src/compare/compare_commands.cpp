// The "Start Comparing" command.

#include "AppInfo.h"
#include "CompareEngine.h"
#include "CompareTexts.h"
#include "ErrorTrap.h"
#include "FileSystem.h"
#include "Form1.h"
#include "MsgBox.h"
#include "ResultView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <exception>

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
        // The three lists come from one reading of the two files, so they
        // always agree with each other. When that reading fails, each list's
        // statement reports the failure, as each would have met it.
        std::shared_ptr<const Comparison> comparison;
        std::exception_ptr failure;
        auto fill = [&](ResultView* view, ResultKind kind) {
            if (!comparison && !failure) {
                try {
                    comparison =
                        CompareFiles(Text1->text(), Text2->text(), CurrentCompareOptions());
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            if (failure)
                std::rethrow_exception(failure);
            const ResultList::BulkUpdate bulk(view->list());
            FillList(*comparison, kind, view->list());
        };
        trap.Run(120, [&] { fill(ListView1, ResultKind::InBoth); });
        trap.Run(122, [&] { fill(ListView2, ResultKind::OnlyIn1); });
        trap.Run(124, [&] { fill(ListView3, ResultKind::OnlyIn2); });
    }
    trap.Run(126, [this] { SetMousePointer(0); });
}
