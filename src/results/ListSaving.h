#pragma once

#include <QString>
#include <atomic>
#include <functional>

class ListTextWriter;
class ResultList;

// What a save on another thread reads and reports.
struct SaveControl
{
    std::atomic<bool> cancel{false};
    std::atomic<qint64> done{0}; // items written so far

    // Tests hold a save before each piece and before the commit (on the
    // writer's thread) to make it as slow as they need.
    static void SetTestHook(std::function<void(const SaveControl&)> hook);
};

// Writes every item of list to path, each followed by CR LF, in list order,
// a piece at a time, the list being read meanwhile and not changed. Returns
// false when control.cancel was set before the whole text was on disk: an
// existing file is then left as it was. Throws RuntimeError when the file
// cannot be written.
bool SaveListInPieces(const QString& path, const ResultList& list, SaveControl& control);

// The save above for any text: fill hands its items to the writer, calling
// more after each, and stops when more says so (the save was cancelled).
bool SaveInPieces(const QString& path, SaveControl& control,
                  const std::function<void(ListTextWriter&, const std::function<bool()>&)>& fill);
