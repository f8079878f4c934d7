#include "results/ListSaving.h"

#include "platform/TestHook.h"
#include "results/ResultFile.h"
#include "results/ResultList.h"

namespace {

void hold(const SaveControl& control)
{
    if (const auto& hook = TestHook<SaveControl, void(const SaveControl&)>())
        hook(control);
}

} // namespace

void SaveControl::SetTestHook(std::function<void(const SaveControl&)> hook)
{
    TestHook<SaveControl, void(const SaveControl&)>() = std::move(hook);
}

bool SaveListInPieces(const QString& path, const ResultList& list, SaveControl& control)
{
    PendingFile file(path);
    // A megabyte at a time: a list of millions of lines needs no second copy,
    // and Cancel is seen within a few milliseconds.
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QByteArray piece;
    const int count = list.Count();
    for (int position = 1; position <= count; ++position) {
        list.AppendItemLine(position, piece);
        if (piece.size() >= kPiece || position == count) {
            hold(control);
            if (control.cancel.load(std::memory_order_relaxed))
                return false;
            file.Write(piece);
            piece.clear();
            control.done.store(position, std::memory_order_relaxed);
        }
    }
    hold(control);
    if (control.cancel.load(std::memory_order_relaxed))
        return false;
    file.Commit();
    return true;
}
