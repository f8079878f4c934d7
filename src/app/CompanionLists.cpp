#include "app/CompanionLists.h"

#include "app/CompanionOptions.h"
#include "app/CompanionOutputs.h"
#include "app/CompanionReport.h"
#include "compare/CompareEngine.h"
#include "platform/FileError.h"
#include "platform/RuntimeError.h"
#include "results/ListKinds.h"
#include "results/ResultFile.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

// An output on its way to its file.
struct PendingOutput
{
    explicit PendingOutput(const OutputTarget& to) : target(to), file(to.path) {}

    const OutputTarget& target;
    PendingFile file;
};

using PendingOutputs = std::vector<std::unique_ptr<PendingOutput>>;

ListWriter writerTo(PendingFile& file)
{
    return [&file](QByteArrayView piece) { file.Write(piece); };
}

// Runs step(output) for each output that goes to a file, all side by side,
// and rethrows the first one's failure once every one is done.
template <typename Step> void eachFileSideBySide(const PendingOutputs& pending, Step step)
{
    std::vector<std::exception_ptr> failures(pending.size());
    {
        std::vector<std::jthread> threads; // joined however this block is left
        for (size_t i = 0; i < pending.size(); ++i) {
            threads.emplace_back([&failures, &step, &pending, i] {
                try {
                    step(*pending[i]);
                } catch (...) {
                    failures[i] = std::current_exception();
                }
            });
        }
    }
    for (const std::exception_ptr& failed : failures)
        if (failed)
            std::rethrow_exception(failed);
}

// Compares the two files and writes the lists that go to files. One reading
// of each file makes all three lists; they are written straight from its
// lines. All list files are opened before they are written, and synced side
// by side; only when every one is on disk do they replace what was there, so
// a failure leaves every target as it was.
//
// File 2 is read a piece at a time, and its list written as the pieces are
// done. When something asked for needs that list's lines afterwards (the
// list to standard output after the others, the CSV file, the near misses),
// a copy of them is kept; the rest of file 2 never is.
//
// Returns the comparison, for the outputs to standard output and the counts.
// When everything goes to a file and no count is asked for, nothing needs it
// afterwards: its memory goes back while the files replace the old ones,
// rather than when the program ends, and null is returned.
std::shared_ptr<const Comparison> compareAndWriteFiles(const CompanionOptions& options)
{
    const std::array<QString, 2> inputs{options.InputPath(0), options.InputPath(1)};
    PendingOutputs pending;
    // Opens the outputs that go to files; returns where the lines only in
    // file 2 go as file 2 is read: to every output streamed then.
    auto openOutputs = [&] {
        std::vector<PendingFile*> streamed;
        for (const OutputTarget& target : options.outputs) {
            if (target.ToStandardOutput())
                continue;
            pending.push_back(std::make_unique<PendingOutput>(target));
            if (target.Streamed())
                streamed.push_back(&pending.back()->file);
        }
        if (streamed.empty())
            return ListWriter();
        return ListWriter([streamed](QByteArrayView piece) {
            for (PendingFile* file : streamed)
                file->Write(piece);
        });
    };
    // File 2 is read whole where a key, --each-once or a header ask for it
    // (CompareStreamingFile2); files that would not fit the budget are
    // compared from disk, and every list is written afterwards.
    const CompareOptions& compare = options.compare;
    const bool streams = !(compare.eachOnce || compare.HasKey() || compare.header);
    std::shared_ptr<const Comparison> comparison;
    bool onDisk = false;
    if (NeedsDisk(inputs[0], inputs[1], compare, options.budget, streams)) {
        comparison = CompareOnDisk(inputs[0], inputs[1], compare, options.budget);
        openOutputs();
        onDisk = true;
    } else {
        // A file that cannot be opened is reported before a list that cannot be.
        comparison =
            CompareStreamingFile2(inputs[0], inputs[1], compare, openOutputs, qint64(2) << 20,
                                  nullptr, options.lineEnd, options.KeepsOnlyIn2());
    }
    eachFileSideBySide(pending, [&](PendingOutput& output) {
        if (onDisk || !output.target.Streamed())
            output.target.output->Write(*comparison, writerTo(output.file), options);
        output.file.Sync();
    });
    // File 1's bytes are its mapped pages; had it changed meanwhile, the
    // lists would be made of two different files.
    if (!File1Unchanged(*comparison))
        throw RuntimeError(
            QCoreApplication::translate("Companion",
                                        "%1 changed while it was compared, so no list was saved.")
                .arg(FileError::QuotedName(inputs[0])));
    std::jthread release;
    if (options.AnyOutput() && !options.AnyToStandardOutput() && !options.summary &&
        !options.exitStatus)
        release = std::jthread([held = std::move(comparison)]() mutable { held.reset(); });
    // The renames, and the syncs of their folders, side by side too.
    eachFileSideBySide(pending, [](PendingOutput& output) { output.file.Commit(); });
    return comparison;
}

// Writes the output that goes to standard output, if one does. Returns the
// exit status of a failure, reported, or nothing.
std::optional<int> writeToStandardOutput(const CompanionOptions& options,
                                         const Comparison& comparison)
{
    for (const OutputTarget& target : options.outputs) {
        if (!target.ToStandardOutput())
            continue;
        int failed = 0;
        target.output->Write(
            comparison,
            [&failed](QByteArrayView piece) {
                if (!failed && std::fwrite(piece.data(), 1, size_t(piece.size()), stdout) !=
                                   size_t(piece.size()))
                    failed = errno;
            },
            options);
        if (failed)
            return StandardOutputFailure(failed, options.exitStatus);
        if (!File1Unchanged(comparison))
            return Failure(
                QCoreApplication::translate("Companion", "%1 changed while its lists were written.")
                    .arg(FileError::QuotedName(options.InputPath(0))),
                options.exitStatus);
    }
    return std::nullopt;
}

// Prints the size of each list, under its caption in the window.
void printCounts(const Comparison& comparison)
{
    for (const ListKind& list : kListKinds)
        if (ListShown(list, OptionsOf(comparison)))
            std::printf("%s: %lld\n", list.caption,
                        static_cast<long long>(ListSize(comparison, list.kind)));
}

// With a key field: for each field, how many changed lines differ in it, by
// number or by name, in the order of the fields.
QByteArray changedByField(const Comparison& comparison)
{
    std::map<int, qsizetype> counts;
    ForEachChange(comparison, [&](qsizetype, QByteArrayView, qsizetype, QByteArrayView,
                                  const Records::Change& change) {
        for (const int field : change.fields)
            ++counts[field];
    });
    const QStringList names = FieldNames(comparison);
    QByteArray json("{");
    for (const auto& [field, count] : counts) {
        if (json.size() > 1)
            json += ',';
        json += '"';
        for (const char c : FieldName(names, field).toUtf8()) {
            // A name is a JSON string: quotes, backslashes and controls escaped.
            if (c == '"' || c == '\\')
                json += '\\';
            if (uchar(c) < 0x20)
                json += "\\u00" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                json += c;
        }
        json += "\":" + QByteArray::number(count);
    }
    return json + '}';
}

// Prints the counts as one JSON object on a line of its own, in a fixed order.
void printSummary(const Comparison& comparison)
{
    const DistinctCounts distinct = CountDistinct(comparison);
    std::vector<std::pair<const char*, qsizetype>> counts{
        {"file1_lines", ComparedLines(comparison, 1)},
        {"file2_lines", ComparedLines(comparison, 2)}};
    const CompareOptions& options = OptionsOf(comparison);
    for (const ListKind& list : kListKinds)
        if (ListShown(list, options))
            counts.emplace_back(list.summaryKey, ListSize(comparison, list.kind));
    counts.insert(counts.end(), {{"file1_distinct", distinct.file1},
                                 {"file2_distinct", distinct.file2},
                                 {"distinct_both", distinct.both}});
    QByteArray json("{");
    for (const auto& [name, count] : counts)
        json += '"' + QByteArray(name) + "\":" + QByteArray::number(count) + ',';
    // The shortest text that reads back as the same number: 0.5, 1, 0.3333333333333333.
    json += "\"jaccard\":" +
            QByteArray::number(distinct.Jaccard(), 'g', QLocale::FloatingPointShortest);
    if (!options.keyPattern.isEmpty())
        json += ",\"pattern_gave_up\":" + QByteArray::number(PatternGaveUp(comparison));
    if (options.HasKey()) {
        json += ",\"duplicate_keys_1\":" + QByteArray::number(DuplicateKeys(comparison, 1)) +
                ",\"duplicate_keys_2\":" + QByteArray::number(DuplicateKeys(comparison, 2));
        if (options.field > 0)
            json += ",\"changed_by_field\":" + changedByField(comparison);
    }
    json += "}\n";
    std::fputs(json.constData(), stdout);
}

// The fields are named by file 1's first line: one that file 2 names
// otherwise is said, once.
void sayIfHeadersDiffer(const Comparison& comparison, const CompanionOptions& options)
{
    if (!OptionsOf(comparison).header)
        return;
    const QString one = HeaderLine(comparison, 1), two = HeaderLine(comparison, 2);
    if (one != two)
        Report(QCoreApplication::translate(
                   "Companion", "the first lines differ; fields are named as in %1 (%2), not as in "
                                "%3 (%4)")
                   .arg(FileError::QuotedName(options.files[0]), one,
                        FileError::QuotedName(options.files[1]), two));
}

} // namespace

int CompareAndWrite(const CompanionOptions& options)
{
    // Under --exit-status, 1 says the files differ, and trouble is 2.
    const bool troubleExits2 = options.exitStatus;
    bool differ = false;
    int gaveUpStatus = 0;
    try {
        const std::shared_ptr<const Comparison> comparison = compareAndWriteFiles(options);
        if (comparison) {
            differ = std::any_of(kListKinds.begin(), kListKinds.end(), [&](const ListKind& list) {
                return list.kind != ResultKind::InBoth && ListSize(*comparison, list.kind) > 0;
            });
            sayIfHeadersDiffer(*comparison, options);
            // Lines the pattern gave up on were compared whole: said, and
            // under --exit-status the comparison is not a clean answer.
            if (const qsizetype gaveUp = PatternGaveUp(*comparison); gaveUp > 0) {
                Report(gaveUp == 1
                           ? QCoreApplication::translate(
                                 "Companion", "the key pattern gave up on 1 line (its match "
                                              "limit); it was compared whole")
                           : QCoreApplication::translate(
                                 "Companion", "the key pattern gave up on %1 lines (its match "
                                              "limit); they were compared whole")
                                 .arg(gaveUp));
                gaveUpStatus = troubleExits2 ? 2 : 0;
            }
            if (const std::optional<int> failed = writeToStandardOutput(options, *comparison))
                return *failed;
            if (options.summary)
                printSummary(*comparison);
            else if (!options.AnyOutput())
                printCounts(*comparison);
        }
    } catch (const UnknownFieldName& error) {
        return UsageError(error.description());
    } catch (const RuntimeError& error) {
        return Failure(error.description(), troubleExits2);
    } catch (const std::bad_alloc&) {
        return Failure(
            QCoreApplication::translate("Companion", "Not enough memory to compare %1 and %2.")
                .arg(FileError::QuotedName(options.files[0]),
                     FileError::QuotedName(options.files[1])),
            troubleExits2);
    } catch (const std::exception& error) {
        return Failure(QCoreApplication::translate("Companion", "Cannot compare %1 and %2: %3")
                           .arg(FileError::QuotedName(options.files[0]),
                                FileError::QuotedName(options.files[1]),
                                QString::fromLocal8Bit(error.what())),
                       troubleExits2);
    }
    if (std::fflush(stdout) != 0)
        return StandardOutputFailure(errno, troubleExits2);
    if (gaveUpStatus)
        return gaveUpStatus;
    return options.exitStatus && differ ? 1 : 0;
}
