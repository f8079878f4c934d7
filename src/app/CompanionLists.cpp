#include "app/CompanionLists.h"

#include "app/CompanionOptions.h"
#include "app/CompanionReport.h"
#include "compare/CompareEngine.h"
#include "compare/NearMisses.h"
#include "platform/FileError.h"
#include "platform/RuntimeError.h"
#include "results/ListKinds.h"
#include "results/ResultFile.h"

#include <QLocale>
#include <algorithm>
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

using PendingFiles = std::array<std::unique_ptr<PendingFile>, kOutputCount>;

QString standardOutputFailure()
{
    return QStringLiteral("Cannot write to standard output: %1")
        .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

// Gathers text and passes it on about a megabyte at a time.
class PieceWriter
{
public:
    explicit PieceWriter(const ListWriter& write) : m_write(write) {}
    void Append(QByteArrayView bytes)
    {
        m_text.append(bytes);
        if (m_text.size() >= (qsizetype(1) << 20))
            Flush();
    }
    void Flush()
    {
        if (!m_text.isEmpty())
            m_write(m_text);
        m_text.resize(0);
    }

private:
    const ListWriter& m_write;
    QByteArray m_text;
};

// The three lists as CSV (RFC 4180): a header row, then one row a line,
// list,line,text, each row ended by CR LF. A text holding a comma, a quote,
// a CR or an LF is quoted, its quotes doubled.
void writeCsv(const Comparison& comparison, const ListWriter& write)
{
    static const std::array<QByteArray, 3> names{"both", "only_in_1", "only_in_2"};
    PieceWriter out(write);
    out.Append("list,line,text\r\n");
    for (size_t list = 0; list < kCompanionLists.size(); ++list) {
        ForEachListLine(
            comparison, kCompanionLists[list], [&](qsizetype line, QByteArrayView text) {
                out.Append(names[list]);
                out.Append(",");
                out.Append(QByteArray::number(line + 1));
                out.Append(",");
                const bool quoted = std::any_of(text.begin(), text.end(), [](char c) {
                    return c == ',' || c == '"' || c == '\r' || c == '\n';
                });
                if (!quoted) {
                    out.Append(text);
                } else {
                    out.Append("\"");
                    for (qsizetype from = 0;;) {
                        const qsizetype quote = text.indexOf('"', from);
                        out.Append(text.sliced(from, (quote < 0 ? text.size() : quote + 1) - from));
                        if (quote < 0)
                            break;
                        out.Append("\"");
                        from = quote + 1;
                    }
                    out.Append("\"");
                }
                out.Append("\r\n");
            });
    }
    out.Flush();
}

// The lines only in one file that look like a line only in the other: one
// line a pair, LINE1<TAB>LINE2<TAB>what differs, numbers from 1, ended by LF.
void writeNearMisses(const Comparison& comparison, const ListWriter& write)
{
    PieceWriter out(write);
    NearMisses::ForEach(comparison, [&out](const NearMisses::Pair& pair) {
        out.Append(QByteArray::number(pair.line1 + 1) + '\t' + QByteArray::number(pair.line2 + 1) +
                   '\t' + NearMisses::Describe(pair.why).toUtf8() + '\n');
    });
    out.Flush();
}

// Writes what output (a CompanionOutput, or an index into kCompanionLists)
// holds.
void writeOutput(const CompanionOptions& options, const Comparison& comparison, size_t output,
                 const ListWriter& write)
{
    if (output < kCompanionLists.size())
        WriteListText(comparison, kCompanionLists[output], write, options.lineEnd);
    else if (output == kCsvOutput)
        writeCsv(comparison, write);
    else if (output == kNearMissesOutput)
        writeNearMisses(comparison, write);
}

// Runs step(i) for each output i that goes to a file, all side by side, and
// rethrows the first one's failure once every one is done.
template <typename Step> void eachFileSideBySide(const PendingFiles& pending, Step step)
{
    std::array<std::exception_ptr, kOutputCount> failures;
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
    // A file that cannot be opened is reported before a list that cannot be.
    std::shared_ptr<const Comparison> comparison = CompareStreamingFile2(
        inputs[0], inputs[1], options.compare,
        [&] {
            openOutputs();
            return pending[2] ? ListWriter(writerTo(*pending[2])) : ListWriter();
        },
        qint64(2) << 20, nullptr, options.lineEnd, options.KeepsOnlyIn2());
    eachFileSideBySide(pending, [&](size_t i) {
        if (i != 2) // the third list was written as file 2 was read
            writeOutput(options, *comparison, i, writerTo(*pending[i]));
        pending[i]->Sync();
    });
    // File 1's bytes are its mapped pages; had it changed meanwhile, the
    // lists would be made of two different files.
    if (!File1Unchanged(*comparison))
        throw RuntimeError(QStringLiteral("%1 changed while it was compared, so no list was saved.")
                               .arg(FileError::QuotedName(inputs[0])));
    std::jthread release;
    if (options.AnyOutput() && !options.AnyToStandardOutput() && !options.summary &&
        !options.exitStatus)
        release = std::jthread([held = std::move(comparison)]() mutable { held.reset(); });
    // The renames, and the syncs of their folders, side by side too.
    eachFileSideBySide(pending, [&pending](size_t i) { pending[i]->Commit(); });
    return comparison;
}

// Writes the outputs that go to standard output, in the order of their
// options. Returns what went wrong, or an empty text.
QString writeToStandardOutput(const CompanionOptions& options, const Comparison& comparison)
{
    for (size_t i = 0; i < options.targets.size(); ++i) {
        if (!options.ToStandardOutput(i))
            continue;
        bool written = true;
        writeOutput(options, comparison, i, [&written](QByteArrayView piece) {
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
        std::printf("%s: %lld\n", kListKinds[i].caption,
                    static_cast<long long>(ListSize(comparison, kCompanionLists[i])));
}

// Prints the counts as one JSON object on a line of its own, in a fixed order.
void printSummary(const Comparison& comparison)
{
    const DistinctCounts distinct = CountDistinct(comparison);
    const std::pair<const char*, qsizetype> counts[] = {
        {"file1_lines", ComparedLines(comparison, 1)},
        {"file2_lines", ComparedLines(comparison, 2)},
        {"both", ListSize(comparison, ResultKind::InBoth)},
        {"only_in_1", ListSize(comparison, ResultKind::OnlyIn1)},
        {"only_in_2", ListSize(comparison, ResultKind::OnlyIn2)},
        {"file1_distinct", distinct.file1},
        {"file2_distinct", distinct.file2},
        {"distinct_both", distinct.both}};
    QByteArray json("{");
    for (const auto& [name, count] : counts)
        json += '"' + QByteArray(name) + "\":" + QByteArray::number(count) + ',';
    // The shortest text that reads back as the same number: 0.5, 1, 0.3333333333333333.
    json += "\"jaccard\":" +
            QByteArray::number(distinct.Jaccard(), 'g', QLocale::FloatingPointShortest) + "}\n";
    std::fputs(json.constData(), stdout);
}

} // namespace

int CompareAndWrite(const CompanionOptions& options)
{
    const bool trouble2 = options.exitStatus;
    bool differ = false;
    try {
        const std::shared_ptr<const Comparison> comparison = compareAndWriteFiles(options);
        if (comparison) {
            differ = ListSize(*comparison, ResultKind::OnlyIn1) > 0 ||
                     ListSize(*comparison, ResultKind::OnlyIn2) > 0;
            if (const QString failed = writeToStandardOutput(options, *comparison);
                !failed.isEmpty())
                return Failure(failed, trouble2);
            if (options.summary)
                printSummary(*comparison);
            else if (!options.AnyOutput())
                printCounts(*comparison);
        }
    } catch (const RuntimeError& error) {
        return Failure(error.description(), trouble2);
    } catch (const std::bad_alloc&) {
        return Failure(QStringLiteral("Not enough memory to compare %1 and %2.")
                           .arg(FileError::QuotedName(options.files[0]),
                                FileError::QuotedName(options.files[1])),
                       trouble2);
    } catch (const std::exception& error) {
        return Failure(QStringLiteral("Cannot compare %1 and %2: %3")
                           .arg(FileError::QuotedName(options.files[0]),
                                FileError::QuotedName(options.files[1]),
                                QString::fromLocal8Bit(error.what())),
                       trouble2);
    }
    if (std::fflush(stdout) != 0)
        return Failure(standardOutputFailure(), trouble2);
    return options.exitStatus && differ ? 1 : 0;
}
