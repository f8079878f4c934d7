// quillmark-compare: the comparison of the window, for scripts.

#include "CompareEngine.h"
#include "CompareTexts.h"
#include "ResultCaptions.h"
#include "ResultFile.h"
#include "RuntimeError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
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
                                  .arg(QString::fromLocal8Bit(argv[i])));
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
    QStringList targets;
    for (const QCommandLineOption& option : outputs) {
        const QStringList values = parser.values(option);
        if (values.size() > 1)
            return usageError(
                QStringLiteral("--%1 is given more than once").arg(option.names()[0]));
        if (values.isEmpty() || values[0] == QLatin1String("-"))
            continue;
        const QString target = QFileInfo(values[0]).absoluteFilePath();
        if (targets.contains(target))
            return usageError(
                QStringLiteral("two lists would be written to \"%1\"").arg(values[0]));
        targets.append(target);
    }

    QString check = CompareTexts::FirstFailedCheck(files[0], files[1]);
    // A pattern that matches some file passes the window's look-up, but the file
    // read is the one named literally; a script must not get empty lists for it.
    if (check.isEmpty() && !QFileInfo(files[0]).isFile())
        check = CompareTexts::File1NotFound();
    if (check.isEmpty() && !QFileInfo(files[1]).isFile())
        check = CompareTexts::File2NotFound();
    if (!check.isEmpty())
        return failure(check);

    CompareOptions options;
    options.matchCase = parser.isSet(matchCase);
    options.ignoreBlanks = parser.isSet(ignoreBlanks);
    options.eachOnce = parser.isSet(eachOnce);
    constexpr std::array<ResultKind, 3> kinds{ResultKind::InBoth, ResultKind::OnlyIn1,
                                              ResultKind::OnlyIn2};
    try {
        // One reading of each file makes all three lists; they are written
        // straight from its lines.
        const auto comparison = CompareFiles(files[0], files[1], options);

        // All list files are opened first, written and synced side by side;
        // only when every one is on disk do they replace what was there, so a
        // failure leaves every target as it was. Standard output follows, in
        // list order.
        bool anyOutput = false;
        std::array<std::unique_ptr<PendingFile>, 3> pending;
        for (size_t i = 0; i < outputs.size(); ++i) {
            if (!parser.isSet(outputs[i]))
                continue;
            anyOutput = true;
            if (parser.value(outputs[i]) != QLatin1String("-"))
                pending[i] = std::make_unique<PendingFile>(parser.value(outputs[i]));
        }
        std::array<std::exception_ptr, 3> failures;
        {
            std::vector<std::jthread> writers; // joined however this block is left
            for (size_t i = 0; i < pending.size(); ++i) {
                if (!pending[i])
                    continue;
                writers.emplace_back([&failures, &comparison, &kinds, &pending, i] {
                    try {
                        PendingFile& file = *pending[i];
                        WriteListText(*comparison, kinds[i], [&file](QByteArrayView piece) {
                            file.Write(QByteArray::fromRawData(piece.data(), piece.size()));
                        });
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
        for (const auto& file : pending)
            if (file)
                file->Commit();
        for (size_t i = 0; i < outputs.size(); ++i) {
            if (parser.isSet(outputs[i]) && parser.value(outputs[i]) == QLatin1String("-")) {
                bool written = true;
                WriteListText(*comparison, kinds[i], [&written](QByteArrayView piece) {
                    written = written && writeStdout(piece);
                });
                if (!written)
                    return failure(QStringLiteral("Cannot write to standard output: %1")
                                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
            }
        }
        if (!anyOutput) {
            for (size_t i = 0; i < kinds.size(); ++i)
                std::printf("%s: %lld\n", qPrintable(ResultCaption(int(i) + 1)),
                            static_cast<long long>(ListSize(*comparison, kinds[i])));
        }
    } catch (const RuntimeError& error) {
        return failure(error.description());
    } catch (const std::bad_alloc&) {
        return failure(QStringLiteral("Not enough memory to compare \"%1\" and \"%2\".")
                           .arg(files[0], files[1]));
    } catch (const std::exception& error) {
        return failure(QStringLiteral("Cannot compare \"%1\" and \"%2\": %3")
                           .arg(files[0], files[1], QString::fromLocal8Bit(error.what())));
    }
    if (std::fflush(stdout) != 0)
        return failure(QStringLiteral("Cannot write to standard output: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 0;
}
