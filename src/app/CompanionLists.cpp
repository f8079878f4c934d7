#include "app/CompanionLists.h"

#include "app/CompanionOptions.h"
#include "app/CompanionReport.h"
#include "compare/CompareEngine.h"
#include "platform/FileError.h"
#include "platform/RuntimeError.h"
#include "results/ResultCaptions.h"
#include "results/ResultFile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <vector>

namespace {

using PendingFiles = std::array<std::unique_ptr<PendingFile>, 3>;

QString standardOutputFailure()
{
    return QStringLiteral("Cannot write to standard output: %1")
        .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

// Runs step(i) for each list i that goes to a file, all side by side, and
// rethrows the first list's failure once every one is done.
template <typename Step> void eachFileSideBySide(const PendingFiles& pending, Step step)
{
    std::array<std::exception_ptr, 3> failures;
    {
        std::vector<std::jthread> threads; // joined however this block is left
        for (size_t i = 0; i < pending.size(); ++i) {
            if (!pending[i])
                continue;
            threads.emplace_back([&failures, &step, i] {
                try {
                    step(i);
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
// Unless its list goes to standard output after the others, file 2 is read a
// piece at a time, and its list written as the pieces are done.
//
// Returns the comparison, for the lists to standard output and the counts.
// When every list goes to a file, nothing needs it afterwards: its memory
// goes back while the lists replace the old files, rather than when the
// program ends, and null is returned.
std::shared_ptr<const Comparison> compareAndWriteFiles(const CompanionOptions& options)
{
    const std::array<QString, 2> inputs{options.InputPath(0), options.InputPath(1)};
    const bool streamFile2 = !options.ToStandardOutput(2);
    PendingFiles pending;
    auto openOutputs = [&] {
        for (size_t i = 0; i < pending.size(); ++i) {
            if (!options.targets[i].isEmpty() && !options.ToStandardOutput(i))
                pending[i] = std::make_unique<PendingFile>(options.targets[i]);
        }
    };
    auto writerTo = [](PendingFile& file) {
        return [&file](QByteArrayView piece) { file.Write(piece); };
    };
    std::shared_ptr<const Comparison> comparison;
    if (streamFile2) {
        // A file that cannot be opened is reported before a list that cannot be.
        comparison = CompareStreamingFile2(inputs[0], inputs[1], options.compare, [&] {
            openOutputs();
            return pending[2] ? ListWriter(writerTo(*pending[2])) : ListWriter();
        });
    } else {
        comparison = CompareFiles(inputs[0], inputs[1], options.compare);
        openOutputs();
    }
    eachFileSideBySide(pending, [&](size_t i) {
        const bool written = streamFile2 && kCompanionLists[i] == ResultKind::OnlyIn2;
        if (!written)
            WriteListText(*comparison, kCompanionLists[i], writerTo(*pending[i]));
        pending[i]->Sync();
    });
    // File 1's bytes are its mapped pages; had it changed meanwhile, the
    // lists would be made of two different files.
    if (!File1Unchanged(*comparison))
        throw RuntimeError(QStringLiteral("%1 changed while it was compared, so no list was saved.")
                               .arg(FileError::QuotedName(inputs[0])));
    std::jthread release;
    if (options.AnyList() && !options.AnyToStandardOutput())
        release = std::jthread([held = std::move(comparison)]() mutable { held.reset(); });
    // The renames, and the syncs of their folders, side by side too.
    eachFileSideBySide(pending, [&pending](size_t i) { pending[i]->Commit(); });
    return comparison;
}

// Writes the lists that go to standard output, in list order. Returns what
// went wrong, or an empty text.
QString writeToStandardOutput(const CompanionOptions& options, const Comparison& comparison)
{
    for (size_t i = 0; i < kCompanionLists.size(); ++i) {
        if (!options.ToStandardOutput(i))
            continue;
        bool written = true;
        WriteListText(comparison, kCompanionLists[i], [&written](QByteArrayView piece) {
            written = written && std::fwrite(piece.data(), 1, size_t(piece.size()), stdout) ==
                                     size_t(piece.size());
        });
        if (!written)
            return standardOutputFailure();
        if (!File1Unchanged(comparison))
            return QStringLiteral("%1 changed while its lists were written.")
                .arg(FileError::QuotedName(options.InputPath(0)));
    }
    return QString();
}

// Prints the size of each list, under its caption in the window.
void printCounts(const Comparison& comparison)
{
    for (size_t i = 0; i < kCompanionLists.size(); ++i)
        std::printf("%s: %lld\n", qPrintable(ResultCaption(int(i) + 1)),
                    static_cast<long long>(ListSize(comparison, kCompanionLists[i])));
}

} // namespace

int CompareAndWrite(const CompanionOptions& options)
{
    try {
        const std::shared_ptr<const Comparison> comparison = compareAndWriteFiles(options);
        if (!options.AnyList()) {
            printCounts(*comparison);
        } else if (comparison) {
            if (const QString failed = writeToStandardOutput(options, *comparison);
                !failed.isEmpty())
                return Failure(failed);
        }
    } catch (const RuntimeError& error) {
        return Failure(error.description());
    } catch (const std::bad_alloc&) {
        return Failure(QStringLiteral("Not enough memory to compare %1 and %2.")
                           .arg(FileError::QuotedName(options.files[0]),
                                FileError::QuotedName(options.files[1])));
    } catch (const std::exception& error) {
        return Failure(QStringLiteral("Cannot compare %1 and %2: %3")
                           .arg(FileError::QuotedName(options.files[0]),
                                FileError::QuotedName(options.files[1]),
                                QString::fromLocal8Bit(error.what())));
    }
    if (std::fflush(stdout) != 0)
        return Failure(standardOutputFailure());
    return 0;
}
