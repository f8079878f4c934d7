#include "compare/DiskComparison.h"

#include "compare/CompareProgress.h"
#include "compare/ComparisonData.h"
#include "compare/KeyTable.h"
#include "compare/LineHash.h"
#include "compare/LineTable.h"
#include "compare/NearMisses.h"
#include "compare/Records.h"
#include "compare/SideBySide.h"
#include "compare/TextFile.h"
#include "platform/AnsiCodec.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/ListTextWriter.h"
#include "platform/RuntimeError.h"
#include "platform/TemporaryFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <sys/resource.h>
#include <unistd.h>

// The files a comparison from disk keeps: each list's rows, part after part,
// each part's rows in file order.
struct Spill
{
    std::unique_ptr<TemporaryFolder> folder;
    // Per list (ResultKind - 1): its rows, and where each part's lie in them.
    struct List
    {
        std::unique_ptr<SpillWriter> file;
        std::vector<std::pair<qint64, qint64>> runs;
        qsizetype rows = 0;
    };
    std::array<List, 4> lists;
    int parts = 0;
    qint64 readBuffer = qint64(1) << 20;
    qint64 budget = 0;
    LineHash::Seed seed;
    // Files made later (the near misses) take fresh names.
    mutable std::atomic<int> made{0};
};

namespace {

// What a line costs in memory besides its bytes, in the tables of a
// comparison: its place, its key's hash, its slot and its flags.
constexpr qint64 kBytesPerLine = 48;
// A row's number, and its length with the bit saying it is held as text.
constexpr quint32 kTextRow = 0x80000000u;

qint64 sizeOf(const QString& path)
{
    return FileSystem::RegularFileLookup(path) ? FileSystem::FileLength(path) : 0;
}

// About how many lines a file holds, from the line ends in its first 64 KB.
qint64 linesIn(const QString& path, qint64 size, const ReadOptions& read)
{
    if (size <= 0)
        return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return size / 32;
    const QByteArray start = file.read(64 << 10);
    const char end = read.lineEnds == ReadOptions::LineEnds::Nul ? '\0' : '\n';
    const qint64 ends = std::max<qint64>(1, start.count(end));
    return std::max<qint64>(1, qint64(double(size) * double(ends) / double(start.size())));
}

int sideIndex(ResultKind kind)
{
    return int(kind) - 1;
}

// Where a part of a file goes while the file is split: its lines joined by
// the line end, and their numbers.
struct PartWriters
{
    std::unique_ptr<SpillWriter> lines, numbers;
};

// Splits lines into parts by the hash of each one's key; with a header, the
// file's first line is kept aside in header instead.
class Splitter
{
public:
    Splitter(const Spill& spill, const TemporaryFolder& folder, const QByteArray& tag, int parts,
             qint64 buffer, char lineEnd)
        : m_spill(spill), m_lineEnd(lineEnd)
    {
        for (int p = 0; p < parts; ++p) {
            PartWriters writers;
            writers.lines = std::make_unique<SpillWriter>(
                folder, tag + ".lines." + QByteArray::number(p), buffer);
            writers.numbers =
                std::make_unique<SpillWriter>(folder, tag + ".numbers." + QByteArray::number(p),
                                              std::max<qint64>(buffer / 8, 16 << 10));
            m_parts.push_back(std::move(writers));
        }
        m_texts = std::make_unique<SpillWriter>(folder, tag + ".texts", 64 << 10);
    }

    // Line `number` of its file, by its key's form.
    void Add(qint32 number, const LineTable& lines, qsizetype i, QByteArrayView keyForm)
    {
        const size_t hash = qHash(keyForm, size_t(m_spill.seed.k0 ^ m_spill.seed.k1));
        const int part = int(hash % m_parts.size());
        AddTo(part, number, lines.isText(i) ? &lines.text(i) : nullptr,
              lines.isText(i) ? QByteArrayView() : lines.bytes(i));
    }

    void AddTo(int part, qint32 number, const QString* text, QByteArrayView bytes)
    {
        PartWriters& to = m_parts[size_t(part)];
        if (text) {
            // Rare: a line with no byte form waits in a file of its own.
            m_texts->WriteValue(qint32(part));
            m_texts->WriteValue(number);
            m_texts->WriteValue(quint32(text->size()));
            m_texts->Write(
                QByteArrayView(reinterpret_cast<const char*>(text->utf16()), text->size() * 2));
            to.numbers->WriteValue(qint32(number | qint32(kTextRow)));
            return;
        }
        to.lines->Write(bytes);
        to.lines->Write(QByteArrayView(&m_lineEnd, 1));
        to.numbers->WriteValue(number);
    }

    void Drop(int p)
    {
        for (auto* writer : {&m_parts[size_t(p)].lines, &m_parts[size_t(p)].numbers})
            (*writer)->Discard();
    }

    void Flush()
    {
        for (PartWriters& part : m_parts) {
            part.lines->Flush();
            part.numbers->Flush();
        }
        m_texts->Flush();
    }

    // Part p's lines, as a side to compare: its lines in file order with
    // their numbers.
    void Load(int p, Side& side, ReadOptions::LineEnds ends, const TemporaryFolder& folder,
              const CompareProgress* progress = nullptr) const
    {
        const PartWriters& part = m_parts[size_t(p)];
        const qint64 count = part.numbers->Size() / qint64(sizeof(qint32));
        side.numbers.resize(size_t(count));
        readAll(folder, part.numbers->Descriptor(), part.numbers->Size(),
                reinterpret_cast<char*>(side.numbers.data()), progress);
        ByteBuffer bytes(part.lines->Size());
        readAll(folder, part.lines->Descriptor(), part.lines->Size(), bytes.data(), progress);
        std::vector<std::pair<qint32, QString>> texts;
        if (m_texts->Size() > 0) {
            SpillReader reader(folder, m_texts->Descriptor(), 0, m_texts->Size(), 1 << 20);
            while (!reader.AtEnd()) {
                const qint32 of = reader.TakeValue<qint32>();
                const qint32 number = reader.TakeValue<qint32>();
                const quint32 chars = reader.TakeValue<quint32>();
                const QByteArrayView utf16 = reader.Take(qint64(chars) * 2);
                if (of == p)
                    texts.emplace_back(number, QString(reinterpret_cast<const QChar*>(utf16.data()),
                                                       qsizetype(chars)));
            }
        }
        if (count == 0) {
            side.lines = LineTable();
        } else if (texts.empty()) {
            // The lines are split again, as the file was: a part of the
            // bytes read, not a copy.
            bytes.truncate(bytes.size() - 1);
            side.lines = LineTable::FromPiece(std::move(bytes), false, ends);
        } else {
            LineTable lines;
            lines.ReserveBytes(bytes.size());
            const char* at = bytes.data();
            size_t text = 0;
            for (qint32& number : side.numbers) {
                if (number & qint32(kTextRow)) {
                    number &= ~qint32(kTextRow);
                    lines.AddText(texts[text++].second);
                    continue;
                }
                const char* end = static_cast<const char*>(
                    std::memchr(at, m_lineEnd, size_t(bytes.data() + bytes.size() - at)));
                lines.AddBytes(QByteArrayView(at, end - at));
                at = end + 1;
            }
            side.lines = std::move(lines);
        }
        if (side.lines.size() != qsizetype(side.numbers.size()))
            throw RuntimeError(
                QCoreApplication::translate("DiskComparison",
                                            "A file in the temporary folder %1 does not hold "
                                            "what was written to it.")
                    .arg(FileError::QuotedName(folder.Path())));
    }

private:
    // Reads a file whole, 16 MB at a time, looking at Cancel between reads.
    static void readAll(const TemporaryFolder& folder, int fd, qint64 size, char* into,
                        const CompareProgress* progress)
    {
        constexpr qint64 kStep = qint64(16) << 20;
        for (qint64 at = 0; at < size; at += kStep) {
            if (progress)
                progress->ThrowIfCancelled();
            const qint64 n = std::min(kStep, size - at);
            SpillReader reader(folder, fd, at, at + n, n);
            std::memcpy(into + at, reader.Take(n).data(), size_t(n));
        }
    }

    const Spill& m_spill;
    char m_lineEnd;
    std::vector<PartWriters> m_parts;
    std::unique_ptr<SpillWriter> m_texts;
};

// Buffers a splitting or a merging takes, within the budget.
qint64 bufferFor(qint64 budget, int parts, int files)
{
    return std::clamp<qint64>(budget / (8 * qint64(parts) * files), 64 << 10, 1 << 20);
}

// How many parts the files open at once allow: each takes four while split.
int partsAllowed()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    const qint64 open = limit.rlim_cur == RLIM_INFINITY ? 65536 : qint64(limit.rlim_cur);
    return int(std::clamp<qint64>((open - 64) / 4, 2, 1024));
}

// Splits one file: its header aside, each other line to the part of its
// key, with its number. Reports how far it is through done.
void splitFile(const QString& path, const CompareOptions& options, Splitter& splitter,
               QString& header, qsizetype& gaveUp, CompareProgress* progress,
               std::atomic<qint64>& done, const std::function<void()>& tick)
{
    PieceReader reader(path, qint64(4) << 20, options.read);
    PieceReader::Piece piece;
    qint64 base = 0;
    QByteArray form;
    const bool keyed = options.KeysDifferFromLines();
    while (reader.Next(piece)) {
        if (progress)
            progress->ThrowIfCancelled();
        const qint64 read = piece.content.bytes.size() + 1;
        const LineTable lines =
            piece.wholeFile
                ? LineTable::FromContent(std::move(piece.content), progress, options.read.lineEnds)
                : LineTable::FromPiece(std::move(piece.content.bytes), piece.first,
                                       options.read.lineEnds);
        const LineTable keys =
            keyed ? KeyTableOf(lines, options, progress, false, &gaveUp) : LineTable();
        const LineTable& keyTable = keyed ? keys : lines;
        if (base + lines.size() > std::numeric_limits<qint32>::max())
            throw RuntimeError(QCoreApplication::translate(
                                   "DiskComparison", "\"%1\" has more than 2,147,483,647 lines")
                                   .arg(path));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const qint32 number = qint32(base + i);
            if (options.header && number == 0) {
                header = lines.isText(0) ? lines.text(0) : AnsiCodec::Decode(lines.bytes(0));
                continue;
            }
            Engine::KeyForm(keyTable, i, options, form);
            splitter.Add(number, lines, i, form);
        }
        base += lines.size();
        done += read;
        tick();
    }
    splitter.Flush();
}

// The first line of a file, for the names of its fields.
QString firstLine(const QString& path, const ReadOptions& read)
{
    PieceReader reader(path, qint64(1) << 20, read);
    PieceReader::Piece piece;
    if (!reader.Next(piece))
        return QString();
    const LineTable lines =
        piece.wholeFile
            ? LineTable::FromContent(std::move(piece.content), nullptr, read.lineEnds)
            : LineTable::FromPiece(std::move(piece.content.bytes), piece.first, read.lineEnds);
    if (lines.size() == 0)
        return QString();
    return lines.isText(0) ? lines.text(0) : AnsiCodec::Decode(lines.bytes(0));
}

// Writes a row of a list: its number and line, and for a changed line its
// partner's number and line.
void writeBytes(SpillWriter& out, const LineTable& lines, qsizetype i, QByteArray& scratch)
{
    if (lines.isText(i)) {
        const QString& text = lines.text(i);
        out.WriteValue(quint32(text.size() * 2) | kTextRow);
        scratch = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        out.Write(scratch);
    } else {
        out.WriteValue(quint32(lines.bytes(i).size()));
        out.Write(lines.bytes(i));
    }
}

// A row read back.
struct Row
{
    qint32 number = 0, partner = -1;
    QByteArrayView bytes, partnerBytes;
    bool text = false, partnerText = false;
};

QString textOf(QByteArrayView bytes, bool text)
{
    return text ? QString(reinterpret_cast<const QChar*>(bytes.data()), bytes.size() / 2)
                : AnsiCodec::Decode(bytes);
}

// One part's rows of a list, read in order.
class RowCursor
{
public:
    RowCursor(const TemporaryFolder& folder, int fd, std::pair<qint64, qint64> run, qint64 buffer,
              bool paired)
        : m_reader(folder, fd, run.first, run.second, buffer), m_paired(paired)
    {
    }
    bool Next(Row& row)
    {
        if (m_reader.AtEnd())
            return false;
        row.number = m_reader.TakeValue<qint32>();
        if (!m_paired) {
            const quint32 length = m_reader.TakeValue<quint32>();
            row.text = length & kTextRow;
            row.bytes = m_reader.Take(length & ~kTextRow);
            return true;
        }
        row.partner = m_reader.TakeValue<qint32>();
        const quint32 one = m_reader.TakeValue<quint32>();
        const quint32 two = m_reader.TakeValue<quint32>();
        const QByteArrayView both = m_reader.Take(qint64(one & ~kTextRow) + (two & ~kTextRow));
        row.text = one & kTextRow;
        row.partnerText = two & kTextRow;
        row.bytes = both.first(one & ~kTextRow);
        row.partnerBytes = both.sliced(one & ~kTextRow);
        return true;
    }

private:
    SpillReader m_reader;
    bool m_paired;
};

// Passes the rows of runs of file fd to each in the order of their numbers.
// Each part's rows are in file order, and a number is in one part only.
template <typename Each>
void mergeRuns(const TemporaryFolder& folder, int fd,
               const std::vector<std::pair<qint64, qint64>>& runs, qint64 buffer, bool paired,
               CompareProgress* progress, Each each)
{
    std::vector<std::unique_ptr<RowCursor>> cursors;
    std::vector<Row> heads;
    using Entry = std::pair<qint32, size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> next;
    for (const auto& run : runs) {
        if (run.first == run.second)
            continue;
        cursors.push_back(std::make_unique<RowCursor>(folder, fd, run, buffer, paired));
        heads.emplace_back();
        cursors.back()->Next(heads.back());
        next.emplace(heads.back().number, cursors.size() - 1);
    }
    for (quint32 rows = 0; !next.empty(); ++rows) {
        if (progress && (rows & 0x3FFF) == 0)
            progress->ThrowIfCancelled();
        const size_t c = next.top().second;
        next.pop();
        each(heads[c]);
        if (cursors[c]->Next(heads[c]))
            next.emplace(heads[c].number, c);
    }
}

template <typename Each>
void forEachRow(const Comparison& comparison, ResultKind kind, CompareProgress* progress, Each each)
{
    const Spill& spill = *comparison.spill;
    const Spill::List& list = spill.lists[size_t(sideIndex(kind))];
    if (!list.file)
        return;
    mergeRuns(*spill.folder, list.file->Descriptor(), list.runs, spill.readBuffer,
              kind == ResultKind::Changed, progress, each);
}

} // namespace

qint64 MemoryBudget::Bytes() const
{
    return bytes > 0 ? bytes : DefaultMemoryBudget();
}

qint64 DefaultMemoryBudget()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    qint64 available = 0;
    if (meminfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : meminfo.readAll().split('\n')) {
            if (line.startsWith("MemAvailable:")) {
                available = line.mid(13).trimmed().split(' ').value(0).toLongLong() * 1024;
                break;
            }
        }
    }
    return std::max<qint64>(available / 2, qint64(256) << 20);
}

qint64 ParseMemorySize(const QString& text)
{
    QString number = text.trimmed();
    if (number.isEmpty())
        return -1;
    double scale = 1;
    const QChar unit = number.back().toUpper();
    static const QString units = QStringLiteral("KMGT");
    if (const qsizetype at = units.indexOf(unit); at >= 0) {
        scale = std::pow(1024.0, double(at + 1));
        number.chop(1);
    } else if (unit == QLatin1Char('B')) {
        number.chop(1);
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value * scale > 9.0e18)
        return -1;
    const qint64 bytes = qint64(value * scale);
    return bytes < (qint64(1) << 20) ? -1 : bytes;
}

qint64 MemoryNeeded(const QString& path1, const QString& path2, const CompareOptions& options,
                    bool file2Streamed)
{
    const qint64 size1 = sizeOf(path1), size2 = sizeOf(path2);
    const qint64 lines1 = linesIn(path1, size1, options.read);
    const qint64 lines2 = linesIn(path2, size2, options.read);
    // Keys apart from the lines (a field, a pattern, look-alike) and records
    // compared on a key cost about as much again.
    const qint64 factor = options.HasKey() ? 3 : options.KeysDifferFromLines() ? 2 : 1;
    qint64 needed = factor * (size1 + kBytesPerLine * lines1);
    if (file2Streamed)
        needed += qint64(64) << 20; // pieces of file 2 on their way
    else
        needed += factor * (size2 + kBytesPerLine * lines2);
    return needed;
}

bool NeedsDisk(const QString& path1, const QString& path2, const CompareOptions& options,
               const MemoryBudget& budget, bool file2Streamed)
{
    return budget.parts > 0 || MemoryNeeded(path1, path2, options, file2Streamed) > budget.Bytes();
}

bool ComparedOnDisk(const Comparison& comparison)
{
    return bool(comparison.spill);
}

std::shared_ptr<const Comparison> CompareOnDisk(const QString& path1, const QString& path2,
                                                const CompareOptions& asked,
                                                const MemoryBudget& budget,
                                                CompareProgress* progress)
{
    if (const QString problem = CompareOptionsProblem(asked); !problem.isEmpty())
        throw RuntimeError(problem);
    auto result = std::make_shared<Comparison>();
    CompareOptions& options = result->options;
    options = asked;
    options.countDistinct = true;
    result->a.path = path1;
    result->b.path = path2;
    if (!options.keyNames.isEmpty() || !options.ignoreNames.isEmpty()) {
        const QString problem =
            ResolveFieldNames(options, KeyForm::Fields(firstLine(path1, options.read), options));
        if (!problem.isEmpty())
            throw UnknownFieldName(problem);
        if (const QString unusable = CompareOptionsProblem(options); !unusable.isEmpty())
            throw RuntimeError(unusable);
    }

    auto spill = std::make_shared<Spill>();
    spill->budget = budget.Bytes();
    spill->seed = LineHash::DrawSeed();
    const qint64 size1 = sizeOf(path1), size2 = sizeOf(path2);
    const qint64 needed = MemoryNeeded(path1, path2, options, false);
    int parts = budget.parts;
    if (parts <= 0)
        parts = int(std::clamp<qint64>(needed / std::max<qint64>(spill->budget / 2, 1) + 1, 2,
                                       partsAllowed()));
    parts = std::min(parts, partsAllowed());
    spill->parts = parts;
    spill->readBuffer = bufferFor(spill->budget, parts, 4);
    spill->folder = std::make_unique<TemporaryFolder>(budget.tempDir);
    const TemporaryFolder& folder = *spill->folder;
    // The parts take about the files' size again, and the lists as much.
    const qint64 lines = linesIn(path1, size1, options.read) + linesIn(path2, size2, options.read);
    const qint64 room = 2 * (size1 + size2) + 24 * lines;
    if (const qint64 free = folder.FreeBytes(); free >= 0 && free < room)
        throw RuntimeError(QCoreApplication::translate(
                               "DiskComparison",
                               "The temporary folder %1 has %2 MB free; comparing these files "
                               "from disk takes about %3 MB.")
                               .arg(FileError::QuotedName(folder.Path()))
                               .arg(free >> 20)
                               .arg(room >> 20));

    const char lineEnd = options.read.lineEnds == ReadOptions::LineEnds::Nul ? '\0' : '\n';
    const qint64 splitBuffer = bufferFor(spill->budget, parts, 2);
    Splitter one(*spill, folder, "1", parts, splitBuffer, lineEnd);
    Splitter two(*spill, folder, "2", parts, splitBuffer, lineEnd);
    std::atomic<qint64> done1{0}, done2{0};
    std::atomic<bool> finished1{false};
    // The progress follows file 1, then file 2.
    const auto tick = [&] {
        if (!progress)
            return;
        if (!finished1)
            progress->ReportDone(done1, size1);
        else
            progress->ReportDone(done2, size2);
    };
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Splitting, path1, 0, size1, 1);
    }
    // Each file on a core of its own.
    RunSideBySide(
        [&] {
            splitFile(path1, options, one, result->a.header, result->a.patternGaveUp, progress,
                      done1, tick);
            finished1 = true;
            if (progress)
                progress->Report(CompareProgress::Step::Splitting, path2, done2, size2, 2);
        },
        [&] {
            splitFile(path2, options, two, result->b.header, result->b.patternGaveUp, progress,
                      done2, tick);
        });
    result->patternGaveUp = result->a.patternGaveUp + result->b.patternGaveUp;

    // The lists' rows, part after part.
    const qint64 listBuffer = std::clamp<qint64>(spill->budget / 32, 64 << 10, 4 << 20);
    const bool keyed = options.HasKey();
    for (int k = 0; k < 4; ++k) {
        if (ResultKind(k + 1) == ResultKind::Changed && !keyed)
            continue;
        spill->lists[size_t(k)].file =
            std::make_unique<SpillWriter>(folder, "list." + QByteArray::number(k + 1), listBuffer);
    }
    CompareOptions partOptions = options;
    partOptions.header = false;
    DistinctCounts distinct;
    qsizetype compared[2] = {0, 0}, duplicates[2] = {0, 0};
    QByteArray scratch;
    for (int p = 0; p < parts; ++p) {
        if (progress) {
            progress->ThrowIfCancelled();
            progress->ReportPart(p + 1, parts);
        }
        Comparison part;
        part.options = partOptions;
        part.a.path = path1;
        part.b.path = path2;
        RunSideBySide([&] { one.Load(p, part.a, options.read.lineEnds, folder, progress); },
                      [&] { two.Load(p, part.b, options.read.lineEnds, folder, progress); });
        // Read, a part's files are done with: the disk gets their room back.
        one.Drop(p);
        two.Drop(p);
        Engine::MatchSides(part, progress, true, false);
        for (const ResultKind rule :
             {ResultKind::InBoth, ResultKind::OnlyIn1, ResultKind::OnlyIn2, ResultKind::Changed}) {
            Spill::List& list = spill->lists[size_t(sideIndex(rule))];
            if (!list.file)
                continue;
            const qint64 start = list.file->Size();
            const Side& side = Engine::SideOf(part, rule);
            if (rule == ResultKind::Changed) {
                for (const auto& [i, partner] : part.partners) {
                    if (progress && (i & 0xFFFF) == 0)
                        progress->ThrowIfCancelled();
                    if (!Engine::InList(part, rule, i))
                        continue;
                    list.file->WriteValue(qint32(side.numberOf(i)));
                    list.file->WriteValue(
                        qint32(partner >= 0 ? part.b.numberOf(partner) : qsizetype(-1)));
                    // Both lengths before both lines.
                    const auto lengthOf = [](const LineTable& table, qsizetype at) {
                        return table.isText(at) ? quint32(table.text(at).size() * 2) | kTextRow
                                                : quint32(table.bytes(at).size());
                    };
                    list.file->WriteValue(lengthOf(part.a.lines, i));
                    list.file->WriteValue(partner >= 0 ? lengthOf(part.b.lines, partner)
                                                       : quint32(0));
                    const auto bytesOf = [&scratch](const LineTable& table, qsizetype at) {
                        if (!table.isText(at))
                            return table.bytes(at);
                        scratch = QByteArray(reinterpret_cast<const char*>(table.text(at).utf16()),
                                             table.text(at).size() * 2);
                        return QByteArrayView(scratch);
                    };
                    list.file->Write(bytesOf(part.a.lines, i));
                    if (partner >= 0)
                        list.file->Write(bytesOf(part.b.lines, partner));
                    ++list.rows;
                }
            } else {
                for (qsizetype i = 0; i < side.lines.size(); ++i) {
                    if (progress && (i & 0xFFFF) == 0)
                        progress->ThrowIfCancelled();
                    if (!Engine::InList(part, rule, i))
                        continue;
                    list.file->WriteValue(qint32(side.numberOf(i)));
                    writeBytes(*list.file, side.lines, i, scratch);
                    ++list.rows;
                }
            }
            list.runs.emplace_back(start, list.file->Size());
        }
        const DistinctCounts counts = Engine::CountDistinctOf(part.a, part.b);
        distinct.file1 += counts.file1;
        distinct.file2 += counts.file2;
        distinct.both += counts.both;
        distinct.changed += counts.changed;
        compared[0] += ComparedLines(part, 1);
        compared[1] += ComparedLines(part, 2);
        if (keyed) {
            duplicates[0] += DuplicateKeys(part, 1);
            duplicates[1] += DuplicateKeys(part, 2);
        }
    }
    for (Spill::List& list : spill->lists)
        if (list.file)
            list.file->Flush();
    result->distinct = distinct;
    result->comparedLines = {compared[0], compared[1]};
    if (keyed)
        result->duplicateKeys = {duplicates[0], duplicates[1]};
    result->spill = std::move(spill);
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Writing);
    }
    return result;
}

void Disk::ForEachRow(
    const Comparison& comparison, ResultKind kind,
    const std::function<void(qsizetype line, QByteArrayView bytes, qsizetype partner)>& row)
{
    QByteArray encoded;
    forEachRow(comparison, kind, nullptr, [&](const Row& r) {
        if (r.text) {
            encoded = AnsiCodec::Encode(textOf(r.bytes, true));
            row(r.number, encoded, r.partner);
        } else {
            row(r.number, r.bytes, r.partner);
        }
    });
}

void Disk::WriteList(const Comparison& comparison, ResultKind kind,
                     const std::function<void(QByteArrayView)>& write, LineEnd end)
{
    ListTextWriter out(write, ListTextWriter::kPieceBytes, end);
    forEachRow(comparison, kind, nullptr, [&](const Row& r) {
        if (r.text)
            out.Add(textOf(r.bytes, true));
        else
            out.AddEncoded(r.bytes);
    });
    out.Flush();
}

qsizetype Disk::ListSize(const Comparison& comparison, ResultKind kind)
{
    return comparison.spill->lists[size_t(sideIndex(kind))].rows;
}

void Disk::ForEachChange(
    const Comparison& comparison,
    const std::function<void(qsizetype line1, QByteArrayView bytes1, qsizetype line2,
                             QByteArrayView bytes2, const Records::Change& change)>& row)
{
    QByteArray encoded1, encoded2;
    Records::Change change;
    forEachRow(comparison, ResultKind::Changed, nullptr, [&](const Row& r) {
        if (r.partner < 0)
            return;
        const QByteArrayView one =
            r.text ? QByteArrayView(encoded1 = AnsiCodec::Encode(textOf(r.bytes, true))) : r.bytes;
        const QByteArrayView two =
            r.partnerText
                ? QByteArrayView(encoded2 = AnsiCodec::Encode(textOf(r.partnerBytes, true)))
                : r.partnerBytes;
        if (r.text || r.partnerText || !Records::BetweenBytes(one, two, comparison.options, change))
            change = Records::Between(textOf(r.bytes, r.text),
                                      textOf(r.partnerBytes, r.partnerText), comparison.options);
        row(r.number, one, r.partner, two, change);
    });
}

void Disk::ForEachNearMiss(const Comparison& comparison,
                           const std::function<void(const NearMisses::Pair&)>& row)
{
    const Spill& spill = *comparison.spill;
    const TemporaryFolder& folder = *spill.folder;
    const CompareOptions& options = comparison.options;
    const int parts = spill.parts;
    const char lineEnd = options.read.lineEnds == ReadOptions::LineEnds::Nul ? '\0' : '\n';
    const QByteArray tag = "near." + QByteArray::number(spill.made++);
    const qint64 buffer = bufferFor(spill.budget, parts, 2);
    // The lines only in one file go to parts by their strong keys: lines
    // that look alike meet in one part.
    Splitter one(spill, folder, tag + ".1", parts, buffer, lineEnd);
    Splitter two(spill, folder, tag + ".2", parts, buffer, lineEnd);
    const KeyForm::UserKeys userKeys(options);
    const auto split = [&](ResultKind kind, Splitter& to) {
        QByteArray key;
        QString text;
        forEachRow(comparison, kind, nullptr, [&](const Row& r) {
            if (r.text)
                text = textOf(r.bytes, true);
            NearMisses::StrongKey(userKeys, r.bytes, r.text ? &text : nullptr, key);
            const size_t hash = qHash(QByteArrayView(key), size_t(spill.seed.k1));
            to.AddTo(int(hash % size_t(parts)), r.number, r.text ? &text : nullptr, r.bytes);
        });
        to.Flush();
    };
    RunSideBySide([&] { split(ResultKind::OnlyIn1, one); },
                  [&] { split(ResultKind::OnlyIn2, two); });
    // Each part's pairs, in the order of file 1's lines.
    SpillWriter pairs(folder, tag + ".pairs", 1 << 20);
    std::vector<std::pair<qint64, qint64>> runs;
    CompareOptions partOptions = options;
    partOptions.header = false;
    for (int p = 0; p < parts; ++p) {
        Comparison part;
        part.options = partOptions;
        one.Load(p, part.a, options.read.lineEnds, folder);
        two.Load(p, part.b, options.read.lineEnds, folder);
        one.Drop(p);
        two.Drop(p);
        part.a.inOther.assign(size_t(part.a.lines.size()), false);
        part.b.inOther.assign(size_t(part.b.lines.size()), false);
        const qint64 start = pairs.Size();
        NearMisses::ForEach(part, [&](const NearMisses::Pair& pair) {
            pairs.WriteValue(qint32(pair.line1));
            pairs.WriteValue(quint32(2 * sizeof(quint32)));
            // A count of look-alikes left out has no line 2, and its count
            // where the differences go.
            pairs.WriteValue(qint32(pair.line2));
            pairs.WriteValue(quint32(pair.more > 0 ? pair.more : pair.why));
        });
        runs.emplace_back(start, pairs.Size());
    }
    pairs.Flush();
    mergeRuns(folder, pairs.Descriptor(), runs, spill.readBuffer, false, nullptr,
              [&](const Row& r) {
                  qint32 line2;
                  quint32 why;
                  std::memcpy(&line2, r.bytes.data(), sizeof line2);
                  std::memcpy(&why, r.bytes.data() + sizeof line2, sizeof why);
                  if (line2 < 0)
                      row({r.number, -1, 0, qsizetype(why)});
                  else
                      row({r.number, line2, why});
              });
    pairs.Discard();
}

std::shared_ptr<const Comparison> ListsInMemory(const Comparison& onDisk, CompareProgress* progress)
{
    auto held = std::make_shared<Comparison>();
    held->options = onDisk.options;
    held->distinct = onDisk.distinct;
    held->comparedLines = onDisk.comparedLines;
    held->duplicateKeys = onDisk.duplicateKeys;
    held->patternGaveUp = onDisk.patternGaveUp;
    Side &a = held->a, &b = held->b;
    a.path = onDisk.a.path;
    b.path = onDisk.b.path;
    a.header = onDisk.a.header;
    b.header = onDisk.b.header;
    // File 1's lines of its three lists, in file order, each marked.
    struct Mark
    {
        qint32 number;
        quint8 kind;
    };
    enum : quint8
    {
        kBoth,
        kOnly,
        kChanged
    };
    std::vector<Mark> marks;
    std::vector<std::pair<qint32, qint32>> partnerNumbers;
    LineTable rows1, rows2;
    std::vector<qint32> numbers1;
    const auto add = [](LineTable& to, const Row& r, QByteArrayView bytes, bool text) {
        (void)r;
        if (text)
            to.AddText(textOf(bytes, true));
        else
            to.AddBytes(bytes);
    };
    for (const ResultKind kind : {ResultKind::InBoth, ResultKind::OnlyIn1, ResultKind::Changed}) {
        forEachRow(onDisk, kind, progress, [&](const Row& r) {
            add(rows1, r, r.bytes, r.text);
            marks.push_back({r.number, quint8(kind == ResultKind::InBoth    ? kBoth
                                              : kind == ResultKind::OnlyIn1 ? kOnly
                                                                            : kChanged)});
            if (kind == ResultKind::Changed && r.partner >= 0) {
                partnerNumbers.emplace_back(r.number, r.partner);
                add(rows2, r, r.partnerBytes, r.partnerText);
            }
        });
    }
    // File 1's side in file order.
    std::vector<qint32> order(marks.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = qint32(i);
    std::sort(order.begin(), order.end(), [&](qint32 x, qint32 y) {
        return marks[size_t(x)].number < marks[size_t(y)].number;
    });
    a.lines.Reserve(qsizetype(order.size()));
    a.numbers.reserve(order.size());
    a.inOther.reserve(order.size());
    const bool anyChanged = !partnerNumbers.empty() || ListSize(onDisk, ResultKind::Changed) > 0;
    for (const qint32 i : order) {
        const Mark& mark = marks[size_t(i)];
        if (rows1.isText(i))
            a.lines.AddText(rows1.text(i));
        else
            a.lines.AddBytes(rows1.bytes(i));
        a.numbers.push_back(mark.number);
        a.inOther.push_back(mark.kind != kOnly);
        if (anyChanged)
            a.changed.push_back(mark.kind == kChanged);
    }
    rows1 = LineTable();
    // File 2's side: its lines only in it, and the partners, in file order.
    struct Held
    {
        qint32 number;
        qint32 row; // in rows2 for a partner, else in only2
        bool partner;
    };
    std::vector<Held> lines2;
    LineTable only2;
    forEachRow(onDisk, ResultKind::OnlyIn2, progress, [&](const Row& r) {
        lines2.push_back({r.number, qint32(only2.size()), false});
        add(only2, r, r.bytes, r.text);
    });
    for (size_t k = 0; k < partnerNumbers.size(); ++k)
        lines2.push_back({partnerNumbers[k].second, qint32(k), true});
    std::stable_sort(lines2.begin(), lines2.end(),
                     [](const Held& x, const Held& y) { return x.number < y.number; });
    for (size_t k = 0; k < lines2.size(); ++k) {
        if (k > 0 && lines2[k].number == lines2[k - 1].number)
            continue; // a partner of several changed lines is held once
        const Held& h = lines2[k];
        const LineTable& from = h.partner ? rows2 : only2;
        if (from.isText(h.row))
            b.lines.AddText(from.text(h.row));
        else
            b.lines.AddBytes(from.bytes(h.row));
        b.numbers.push_back(h.number);
        b.inOther.push_back(h.partner);
    }
    for (const auto& [line, partner] : partnerNumbers)
        held->partners.emplace_back(qint32(a.indexOf(line)), qint32(b.indexOf(partner)));
    std::sort(held->partners.begin(), held->partners.end());
    return held;
}

std::shared_ptr<const Comparison> CompareWithin(const QString& path1, const QString& path2,
                                                const CompareOptions& options,
                                                const MemoryBudget& budget,
                                                CompareProgress* progress)
{
    if (!NeedsDisk(path1, path2, options, budget, false))
        return CompareFiles(path1, path2, options, progress);
    const auto onDisk = CompareOnDisk(path1, path2, options, budget, progress);
    return ListsInMemory(*onDisk, progress);
}
