#include "results/ListSaving.h"

#include "platform/ListTextWriter.h"
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

bool SaveInPieces(const QString& path, SaveControl& control,
                  const std::function<void(ListTextWriter&, const std::function<bool()>&)>& fill)
{
    PendingFile file(path);
    // Cancel is looked at before each piece, a megabyte: it is seen within a
    // few milliseconds. Once it is, nothing more is written or encoded.
    qint64 added = 0; // the items handed to the writer so far
    bool cancelled = false;
    ListTextWriter out([&](QByteArrayView piece) {
        hold(control);
        cancelled = cancelled || control.cancel.load(std::memory_order_relaxed);
        if (cancelled)
            return;
        file.Write(piece);
        control.done.store(added, std::memory_order_relaxed);
    });
    fill(out, [&] {
        ++added;
        return !cancelled;
    });
    if (!cancelled)
        out.Flush();
    hold(control);
    if (cancelled || control.cancel.load(std::memory_order_relaxed))
        return false;
    file.Commit();
    return true;
}

bool SaveListInPieces(const QString& path, const ResultList& list, SaveControl& control)
{
    return SaveInPieces(path, control, [&list](ListTextWriter& out, const auto& more) {
        for (int position = 1; position <= list.Count(); ++position) {
            list.WriteItemLine(position, out);
            if (!more())
                return;
        }
    });
}
