#include "app/CompanionOptions.h"

#include "app/CompanionReport.h"
#include "platform/FileError.h"
#include "platform/FileKind.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

QString ListOptionName(size_t list)
{
    static const std::array<QString, 3> names{QStringLiteral("both"), QStringLiteral("only-in-1"),
                                              QStringLiteral("only-in-2")};
    return names[list];
}

QString CompanionOptions::InputPath(size_t file) const
{
    return files[file] == QLatin1String("-") ? QStringLiteral("/dev/stdin") : files[file];
}

bool CompanionOptions::ToStandardOutput(size_t list) const
{
    return targets[list] == QLatin1String("-");
}

bool CompanionOptions::AnyToStandardOutput() const
{
    for (size_t list = 0; list < targets.size(); ++list) {
        if (ToStandardOutput(list))
            return true;
    }
    return false;
}

bool CompanionOptions::AnyList() const
{
    for (const QString& target : targets) {
        if (!target.isEmpty())
            return true;
    }
    return false;
}

namespace {

ParsedCommandLine endsWith(int status)
{
    ParsedCommandLine parsed;
    parsed.exitStatus = status;
    return parsed;
}

} // namespace

ParsedCommandLine ParseCommandLine(int argc, char* argv[])
{
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
        QCommandLineOption(ListOptionName(0),
                           QStringLiteral("Write the lines of FILE1 also in FILE2 to PATH."),
                           QStringLiteral("PATH")),
        QCommandLineOption(ListOptionName(1),
                           QStringLiteral("Write the lines of FILE1 not in FILE2 to PATH."),
                           QStringLiteral("PATH")),
        QCommandLineOption(ListOptionName(2),
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
            return endsWith(
                UsageError(QStringLiteral("an argument is not valid UTF-8 (%1)")
                               .arg(FileError::QuotedName(QString::fromLocal8Bit(argv[i])))));
    }
    if (!parser.parse(QCoreApplication::arguments()))
        return endsWith(UsageError(parser.errorText()));
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return endsWith(0);
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("quillmark-compare %s\n", QUILLMARK_VERSION);
        return endsWith(0);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return endsWith(UsageError(
            QStringLiteral("expected two files, FILE1 and FILE2, got %1").arg(files.size())));

    ParsedCommandLine parsed;
    CompanionOptions& options = parsed.options;
    options.files = {files[0], files[1]};
    // Each list goes to one place.
    for (size_t i = 0; i < outputs.size(); ++i) {
        const QStringList values = parser.values(outputs[i]);
        if (values.size() > 1)
            return endsWith(
                UsageError(QStringLiteral("--%1 is given more than once").arg(ListOptionName(i))));
        if (values.isEmpty())
            continue;
        // An empty name opens no file: the list would go nowhere while the run succeeds.
        if (values[0].isEmpty())
            return endsWith(
                UsageError(QStringLiteral("--%1 needs a PATH; an empty one names no file")
                               .arg(ListOptionName(i))));
        options.spelled[i] = values[0];
        options.targets[i] =
            values[0] == QLatin1String("-") || FileKind::DescriptorOf(values[0]) == 1
                ? QStringLiteral("-")
                : values[0];
    }
    options.compare.matchCase = parser.isSet(matchCase);
    options.compare.ignoreBlanks = parser.isSet(ignoreBlanks);
    options.compare.eachOnce = parser.isSet(eachOnce);
    // Pipes, FIFOs, devices and /proc files are read once, to their end.
    options.compare.read.streamInputs = true;
    return parsed;
}
