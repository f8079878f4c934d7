// quillmark-compare: the comparison of the window, for scripts.

#include "compare/CompareEngine.h"
#include "compare/CompareTexts.h"
#include "platform/FileError.h"
#include "platform/FileKind.h"
#include "platform/RuntimeError.h"
#include "results/ResultCaptions.h"
#include "results/ResultFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

constexpr int kUsageError = 2;

int usageError(const QString& what)
{
    std::fprintf(stderr, "quillmark-compare: %s\nTry 'quillmark-compare --help'.\n",
                 qPrintable(what));
    return kUsageError;
}

int failure(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
}

bool writeStdout(QByteArrayView bytes)
{
    return std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

// "-" reads standard input; any other name is read as it stands.
QString standardInputFor(const QString& file)
{
    return file == QLatin1String("-") ? QStringLiteral("/dev/stdin") : file;
}

// The window's checks in its order, except that a name is taken literally and
// anything that can be read counts as there: "-", a pipe, a FIFO, a device.
QString inputCheck(const QString& file1, const QString& file2)
{
    if (file1.isEmpty())
        return CompareTexts::ForgotFile1();
    if (file2.isEmpty())
        return CompareTexts::ForgotFile2();
    const auto there = [](const QString& file) {
        if (file == QLatin1String("-"))
            return true;
        const auto id = FileKind::IdentityOf(file);
        return id && id->newName.isEmpty() && !S_ISDIR(id->mode);
    };
    if (!there(file1))
        return CompareTexts::File1NotFound();
    if (!there(file2))
        return CompareTexts::File2NotFound();
    return QString();
}

// Two lists to one file, a list over one of the inputs, or one stream read
// as both inputs, compared as files (after links), not as spellings. Lists to
// standard output are written one after the other and never clash; /dev/null
// takes anything.
QString conflictBetween(const std::array<QCommandLineOption, 3>& outputs,
                        const std::array<QString, 3>& spelled,
                        const std::array<QString, 3>& targets, const QStringList& files)
{
    struct Named
    {
        QString what;
        std::optional<FileKind::FileId> id;
        bool standardOutput = false;
    };
    const auto clash = [](const Named& one, const Named& other) {
        return one.id && other.id && *one.id == *other.id && !FileKind::IsNullDevice(*one.id);
    };
    std::vector<Named> lists;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].isEmpty())
            continue;
        const bool toStdout = targets[i] == QLatin1String("-");
        lists.push_back(
            {QStringLiteral("--%1 %2").arg(outputs[i].names()[0],
                                           spelled[i] == QLatin1String("-")
                                               ? QStringLiteral("- (standard output)")
                                               : FileError::QuotedName(spelled[i])),
             toStdout ? FileKind::IdentityOfDescriptor(1) : FileKind::IdentityOf(targets[i]),
             toStdout});
    }
    std::array<Named, 2> inputs;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const bool fromStdin = files[int(i)] == QLatin1String("-");
        inputs[i] = {QStringLiteral("FILE%1 %2")
                         .arg(i + 1)
                         .arg(fromStdin ? QStringLiteral("- (standard input)")
                                        : FileError::QuotedName(files[int(i)])),
                     fromStdin ? FileKind::IdentityOfDescriptor(0)
                               : FileKind::IdentityOf(files[int(i)])};
        if (inputs[i].id && !inputs[i].id->newName.isEmpty())
            inputs[i].id.reset();
    }
    for (size_t i = 0; i < lists.size(); ++i) {
        for (size_t j = i + 1; j < lists.size(); ++j) {
            if (!(lists[i].standardOutput && lists[j].standardOutput) && clash(lists[i], lists[j]))
                return QStringLiteral("%1 and %2 are the same file: one list would be lost")
                    .arg(lists[i].what, lists[j].what);
        }
        for (const Named& input : inputs) {
            if (clash(lists[i], input))
                return QStringLiteral("%1 would overwrite %2").arg(lists[i].what, input.what);
        }
    }
    // One file can be compared with itself, but a pipe gives its lines only
    // once, and one descriptor read twice gives them once too.
    const auto descriptor = [](const QString& file) {
        return file == QLatin1String("-") ? 0 : FileKind::DescriptorOf(file);
    };
    const bool sameDescriptor =
        descriptor(files[0]) >= 0 && descriptor(files[0]) == descriptor(files[1]);
    if (sameDescriptor || (clash(inputs[0], inputs[1]) && !inputs[0].id->IsRegular()))
        return QStringLiteral("%1 and %2 are the same stream, which can be read only once")
            .arg(inputs[0].what, inputs[1].what);
    return QString();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmark-compare"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Compares two text files line by line, as Quillmark's \"Start Comparing\" does.\n"
        "Lists the lines of FILE1 that FILE2 also holds, the lines of FILE1 not in FILE2\n"
        "and the lines of FILE2 not in FILE1, each in file order with duplicates kept.\n"
        "Case is ignored unless --match-case is given. With --ignore-blanks, blanks and\n"
        "tabs at the ends of lines do not count; with --each-once, a list holds a line\n"
        "only at its first place. Each list asked for is written\n"
        "as a text file, one line per item ended by CR LF; PATH '-' is standard output.\n"
        "FILE1 or FILE2 '-' is standard input; pipes and FIFOs are read to their end.\n"
        "Without a list option the three lists' sizes are printed."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption matchCase(QStringLiteral("match-case"),
                                       QStringLiteral("Compare with regard to letter case."));
    const std::array<QCommandLineOption, 3> outputs{
        QCommandLineOption(QStringLiteral("both"),
                           QStringLiteral("Write the lines of FILE1 also in FILE2 to PATH."),
                           QStringLiteral("PATH")),
        QCommandLineOption(QStringLiteral("only-in-1"),
                           QStringLiteral("Write the lines of FILE1 not in FILE2 to PATH."),
                           QStringLiteral("PATH")),
        QCommandLineOption(QStringLiteral("only-in-2"),
                           QStringLiteral("Write the lines of FILE2 not in FILE1 to PATH."),
                           QStringLiteral("PATH"))};
    const QCommandLineOption ignoreBlanks(
        QStringLiteral("ignore-blanks"),
        QStringLiteral("Compare lines without the blanks and tabs at their ends."));
    const QCommandLineOption eachOnce(
        QStringLiteral("each-once"),
        QStringLiteral("List each line only at its first place; leave out its repeats."));
    parser.addOption(matchCase);
    parser.addOption(ignoreBlanks);
    parser.addOption(eachOnce);
    for (const auto& option : outputs)
        parser.addOption(option);
    parser.addPositionalArgument(QStringLiteral("FILE1"), QStringLiteral("The first file."));
    parser.addPositionalArgument(QStringLiteral("FILE2"), QStringLiteral("The second file."));

    // Names are passed on as text; bytes that are not UTF-8 would come out changed.
    for (int i = 1; i < argc; ++i) {
        if (QFile::encodeName(QString::fromLocal8Bit(argv[i])) != QByteArray(argv[i]))
            return usageError(QStringLiteral("an argument is not valid UTF-8 (%1)")
                                  .arg(FileError::QuotedName(QString::fromLocal8Bit(argv[i]))));
    }
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("quillmark-compare %s\n", QUILLMARK_VERSION);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return usageError(
            QStringLiteral("expected two files, FILE1 and FILE2, got %1").arg(files.size()));

    // Each list goes to one place, and no two lists to the same file.
    std::array<QString, 3> spelled, targets; // "-" for standard output, however it is spelled
    for (size_t i = 0; i < outputs.size(); ++i) {
        const QStringList values = parser.values(outputs[i]);
        if (values.size() > 1)
            return usageError(
                QStringLiteral("--%1 is given more than once").arg(outputs[i].names()[0]));
        if (!values.isEmpty())
            spelled[i] = values[0];
        if (!values.isEmpty())
            targets[i] = values[0] == QLatin1String("-") || FileKind::DescriptorOf(values[0]) == 1
                             ? QStringLiteral("-")
                             : values[0];
    }
    if (const QString conflict = conflictBetween(outputs, spelled, targets, files);
        !conflict.isEmpty())
        return usageError(conflict);

    const QString check = inputCheck(files[0], files[1]);
    if (!check.isEmpty())
        return failure(check);
    const std::array<QString, 2> inputs{standardInputFor(files[0]), standardInputFor(files[1])};

    CompareOptions options;
    // Pipes, FIFOs, devices and /proc files are read once, to their end.
    options.read.streamInputs = true;
    options.matchCase = parser.isSet(matchCase);
    options.ignoreBlanks = parser.isSet(ignoreBlanks);
    options.eachOnce = parser.isSet(eachOnce);
    constexpr std::array<ResultKind, 3> kinds{ResultKind::InBoth, ResultKind::OnlyIn1,
                                              ResultKind::OnlyIn2};
    try {
        // One reading of each file makes all three lists; they are written
        // straight from its lines. All list files are opened before they are
        // written, and synced side by side; only when every one is on disk
        // do they replace what was there, so a failure leaves every target as
        // it was. Standard output follows, in list order.
        //
        // Unless its list goes to standard output after the others, file 2 is
        // read a piece at a time, and its list written as the pieces are done.
        const bool streamFile2 = targets[2] != QLatin1String("-");
        bool anyOutput = false;
        std::array<std::unique_ptr<PendingFile>, 3> pending;
        auto openOutputs = [&] {
            for (size_t i = 0; i < outputs.size(); ++i) {
                if (targets[i].isEmpty())
                    continue;
                anyOutput = true;
                if (targets[i] != QLatin1String("-"))
                    pending[i] = std::make_unique<PendingFile>(targets[i]);
            }
        };
        std::shared_ptr<const Comparison> comparison;
        if (streamFile2) {
            // A file that cannot be opened is reported before a list that cannot be.
            comparison = CompareStreamingFile2(inputs[0], inputs[1], options, [&] {
                openOutputs();
                ListWriter writeOnlyIn2;
                if (pending[2]) {
                    writeOnlyIn2 = [&file = *pending[2]](QByteArrayView piece) {
                        file.Write(piece);
                    };
                }
                return writeOnlyIn2;
            });
        } else {
            comparison = CompareFiles(inputs[0], inputs[1], options);
            openOutputs();
        }
        std::array<std::exception_ptr, 3> failures;
        {
            std::vector<std::jthread> writers; // joined however this block is left
            for (size_t i = 0; i < pending.size(); ++i) {
                if (!pending[i])
                    continue;
                const bool written = streamFile2 && kinds[i] == ResultKind::OnlyIn2;
                writers.emplace_back([&failures, &comparison, &kinds, &pending, i, written] {
                    try {
                        PendingFile& file = *pending[i];
                        if (!written) {
                            WriteListText(*comparison, kinds[i],
                                          [&file](QByteArrayView piece) { file.Write(piece); });
                        }
                        file.Sync();
                    } catch (...) {
                        failures[i] = std::current_exception();
                    }
                });
            }
        }
        for (const std::exception_ptr& failed : failures)
            if (failed)
                std::rethrow_exception(failed);
        // File 1's bytes are its mapped pages; had it changed meanwhile, the
        // lists would be made of two different files.
        if (!File1Unchanged(*comparison))
            throw RuntimeError(
                QStringLiteral("%1 changed while it was compared, so no list was saved.")
                    .arg(FileError::QuotedName(inputs[0])));
        // When every list goes to a file, the comparison's memory goes back
        // while the lists replace the old files, rather than when the
        // program ends.
        std::jthread release;
        if (anyOutput &&
            std::find(targets.begin(), targets.end(), QLatin1String("-")) == targets.end())
            release = std::jthread([held = std::move(comparison)]() mutable { held.reset(); });
        // The renames, and the syncs of their folders, side by side too.
        {
            std::vector<std::jthread> committers;
            for (size_t i = 0; i < pending.size(); ++i) {
                if (pending[i])
                    committers.emplace_back([&failures, &pending, i] {
                        try {
                            pending[i]->Commit();
                        } catch (...) {
                            failures[i] = std::current_exception();
                        }
                    });
            }
        }
        for (const std::exception_ptr& failed : failures)
            if (failed)
                std::rethrow_exception(failed);
        for (size_t i = 0; i < outputs.size(); ++i) {
            if (targets[i] != QLatin1String("-"))
                continue;
            bool written = true;
            WriteListText(*comparison, kinds[i], [&written](QByteArrayView piece) {
                written = written && writeStdout(piece);
            });
            if (!written)
                return failure(QStringLiteral("Cannot write to standard output: %1")
                                   .arg(QString::fromLocal8Bit(std::strerror(errno))));
            if (!File1Unchanged(*comparison))
                return failure(QStringLiteral("%1 changed while its lists were written.")
                                   .arg(FileError::QuotedName(inputs[0])));
        }
        if (!anyOutput) {
            for (size_t i = 0; i < kinds.size(); ++i)
                std::printf("%s: %lld\n", qPrintable(ResultCaption(int(i) + 1)),
                            static_cast<long long>(ListSize(*comparison, kinds[i])));
        }
    } catch (const RuntimeError& error) {
        return failure(error.description());
    } catch (const std::bad_alloc&) {
        return failure(QStringLiteral("Not enough memory to compare %1 and %2.")
                           .arg(FileError::QuotedName(files[0]), FileError::QuotedName(files[1])));
    } catch (const std::exception& error) {
        return failure(QStringLiteral("Cannot compare %1 and %2: %3")
                           .arg(FileError::QuotedName(files[0]), FileError::QuotedName(files[1]),
                                QString::fromLocal8Bit(error.what())));
    }
    if (std::fflush(stdout) != 0)
        return failure(QStringLiteral("Cannot write to standard output: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 0;
}
