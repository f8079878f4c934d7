#include "app/CompanionOptions.h"

#include "app/CompanionOutputs.h"
#include "app/CompanionReport.h"
#include "platform/FileError.h"
#include "platform/FileKind.h"
#include "platform/FileSystem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

bool OutputTarget::ToStandardOutput() const
{
    return path == QLatin1String("-");
}

bool OutputTarget::Streamed() const
{
    return output->StreamedWithFile2() && !ToStandardOutput();
}

bool OutputTarget::NeedsOnlyIn2Afterwards() const
{
    return output->ReadsOnlyIn2() && !Streamed();
}

QString CompanionOptions::InputPath(size_t file) const
{
    return files[file] == QLatin1String("-") ? QStringLiteral("/dev/stdin") : files[file];
}

bool CompanionOptions::AnyToStandardOutput() const
{
    return std::any_of(outputs.begin(), outputs.end(),
                       [](const OutputTarget& target) { return target.ToStandardOutput(); });
}

bool CompanionOptions::AnyOutput() const
{
    return !outputs.empty();
}

bool CompanionOptions::KeepsOnlyIn2() const
{
    return std::any_of(outputs.begin(), outputs.end(),
                       [](const OutputTarget& target) { return target.NeedsOnlyIn2Afterwards(); });
}

namespace {

ParsedCommandLine endRun(int status)
{
    ParsedCommandLine parsed;
    parsed.exitStatus = status;
    return parsed;
}

// Prints text on standard output, as --help and --version do; a write that
// fails (a full disk, a closed pipe) is reported and ends the run with status.
ParsedCommandLine printAndEnd(const QByteArray& text, bool exitStatus)
{
    const bool written =
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
    if (written && std::fflush(stdout) == 0)
        return endRun(0);
    return endRun(StandardOutputFailure(errno, exitStatus));
}

// The command line as getopt_long reads it: a long option by any prefix
// that names only it ("--match" for --match-case), its value after '=' or as
// the next word; short options alone or together ("-zh"); "--" ends the
// options, and a lone "-" is a file. Puts into words each option by its full
// name ("--field=2") and the files after "--", for QCommandLineParser; returns
// the usage error in getopt's words, or an empty text.
QString getoptWords(const QStringList& arguments, const QList<const QCommandLineOption*>& known,
                    QStringList& words)
{
    const auto takesValue = [](const QCommandLineOption* option) {
        return !option->valueName().isEmpty();
    };
    const auto longName = [](const QCommandLineOption* option) {
        for (const QString& name : option->names())
            if (name.size() > 1)
                return name;
        return option->names().constFirst();
    };
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == QLatin1String("--")) {
            files += arguments.mid(i + 1);
            break;
        }
        if (word.startsWith(QLatin1String("--"))) {
            const qsizetype equals = word.indexOf(QLatin1Char('='));
            const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
            const QCommandLineOption* found = nullptr;
            QStringList candidates;
            bool ambiguous = false;
            for (const QCommandLineOption* option : known) {
                for (const QString& each : option->names()) {
                    if (each.size() < 2 || name.isEmpty() || !each.startsWith(name))
                        continue;
                    if (each == name) { // an exact name is never ambiguous
                        found = option;
                        ambiguous = false;
                        candidates.clear();
                        break;
                    }
                    ambiguous = ambiguous || (found && found != option);
                    found = found ? found : option;
                    candidates.append(QStringLiteral("'--%1'").arg(each));
                }
                if (found && candidates.isEmpty())
                    break;
            }
            if (!found)
                return QCoreApplication::translate("Companion", "unrecognized option '%1'")
                    .arg(word);
            if (ambiguous)
                return QCoreApplication::translate("Companion",
                                                   "option '--%1' is ambiguous; possibilities: %2")
                    .arg(name, candidates.join(QLatin1Char(' ')));
            const QString full = QStringLiteral("--") + longName(found);
            if (!takesValue(found)) {
                if (equals >= 0)
                    return QCoreApplication::translate("Companion",
                                                       "option '%1' doesn't allow an argument")
                        .arg(full);
                words.append(full);
            } else if (equals >= 0) {
                words.append(full + word.mid(equals));
            } else if (i + 1 < arguments.size()) {
                words.append(full + QLatin1Char('=') + arguments[++i]);
            } else {
                return QCoreApplication::translate("Companion", "option '%1' requires an argument")
                    .arg(full);
            }
            continue;
        }
        if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-")) {
            files.append(word);
            continue;
        }
        for (qsizetype at = 1; at < word.size(); ++at) {
            const QString letter = word.mid(at, 1);
            const auto option = std::find_if(known.begin(), known.end(), [&](auto* each) {
                return each->names().contains(letter);
            });
            if (option == known.end())
                return QCoreApplication::translate("Companion", "invalid option -- '%1'")
                    .arg(letter);
            const QString full = QStringLiteral("--") + longName(*option);
            if (!takesValue(*option)) {
                words.append(full);
                continue;
            }
            if (at + 1 < word.size())
                words.append(full + QLatin1Char('=') + word.mid(at + 1));
            else if (i + 1 < arguments.size())
                words.append(full + QLatin1Char('=') + arguments[++i]);
            else
                return QCoreApplication::translate("Companion",
                                                   "option requires an argument -- '%1'")
                    .arg(letter);
            break;
        }
    }
    words.append(QStringLiteral("--"));
    words += files;
    return QString();
}

// Reads a list of fields, "1,3" or with a header "id,email": its items go
// to items. Returns why it cannot be read, or an empty text.
QString fieldList(const QString& value, const QString& option, bool header, QStringList& items)
{
    items = value.split(QLatin1Char(','));
    for (const QString& item : items) {
        bool number = false;
        const int n = item.toInt(&number);
        if (number && n >= 1)
            continue;
        if (!header || item.isEmpty() || number)
            return QCoreApplication::translate("Companion", "%1 needs %2, not %3")
                .arg(option,
                     header ? QCoreApplication::translate("Companion",
                                                          "field numbers from 1 up or names")
                            : QCoreApplication::translate("Companion", "a number from 1 up"),
                     FileError::QuotedName(value));
    }
    return QString();
}

// Whether items are all numbers; if so they go to numbers.
bool allNumbers(const QStringList& items, QList<int>& numbers)
{
    QList<int> read;
    for (const QString& item : items) {
        bool number = false;
        read.append(item.toInt(&number));
        if (!number)
            return false;
    }
    numbers = read;
    return true;
}

} // namespace

ParsedCommandLine ParseCommandLine(int argc, char* argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "Companion",
        "Compares two text files line by line, as Quillmark's \"Start Comparing\" does.\n"
        "Lists the lines of FILE1 that FILE2 also holds, the lines of FILE1 not in FILE2\n"
        "and the lines of FILE2 not in FILE1, each in file order with duplicates kept.\n"
        "Case is ignored unless --match-case is given. With --ignore-blanks, blanks and\n"
        "tabs at the ends of lines do not count; with --each-once, a list holds a line\n"
        "only at its first place. A key option compares a part of each line; the lists\n"
        "hold whole lines. Each list asked for is written as a text file, one line per\n"
        "item ended by CR LF (LF with --lf, NUL with -z); PATH '-' is standard output.\n"
        "FILE1 or FILE2 '-' is standard input; pipes and FIFOs are read to their end.\n"
        "Without an output option the lists' sizes are printed.\n"
        "With a key (--field or --key-pattern) a line of FILE1 whose key FILE2 holds is\n"
        "unchanged when FILE2 has a line with that key and the same other fields, and\n"
        "changed otherwise; each changed line is paired with the first line of FILE2 with\n"
        "its key that equals no line of FILE1, or else the first line with its key."));
    // Help and version by hand: a program without a window has no Qt options,
    // so --help-all shows what --help shows.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("help-all")},
        QCoreApplication::translate("Companion", "Show this help and exit."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("Companion", "Show the version and exit."));
    const QCommandLineOption matchCase(
        QStringLiteral("match-case"),
        QCoreApplication::translate("Companion", "Compare with regard to letter case."));
    const QCommandLineOption ignoreBlanks(
        QStringLiteral("ignore-blanks"),
        QCoreApplication::translate("Companion",
                                    "Compare lines without the blanks and tabs at their ends."));
    const QCommandLineOption eachOnce(
        QStringLiteral("each-once"),
        QCoreApplication::translate(
            "Companion", "List each line only at its first place; leave out its repeats."));
    const QCommandLineOption field(
        QStringLiteral("field"),
        QCoreApplication::translate(
            "Companion", "Compare only field N of each line, counted from 1; 'N,M' compares "
                         "several fields together. With --header, fields may be named."),
        QStringLiteral("N"));
    const QCommandLineOption header(
        QStringLiteral("header"),
        QCoreApplication::translate(
            "Companion", "The first line of each file names the fields; it is neither compared "
                         "nor listed."));
    const QCommandLineOption ignoreFields(
        QStringLiteral("ignore-fields"),
        QCoreApplication::translate(
            "Companion", "With --field, differences in these fields (numbers, or names with "
                         "--header) do not make a line changed."),
        QStringLiteral("LIST"));
    const QCommandLineOption delimiter(
        QStringLiteral("delimiter"),
        QCoreApplication::translate(
            "Companion", "Fields are separated by D: one character, 'tab', or 'space' (runs of "
                         "blanks and tabs). Default ','; ',' and ';' allow quoted fields."),
        QStringLiteral("D"));
    const QCommandLineOption keyPattern(
        QStringLiteral("key-pattern"),
        QCoreApplication::translate(
            "Companion", "Compare only what the regular expression RE matches (its first group, "
                         "if it has one); a line it does not match is compared whole."),
        QStringLiteral("RE"));
    const QCommandLineOption lookAlike(
        QStringLiteral("look-alike"),
        QCoreApplication::translate(
            "Companion", "Lines that look alike compare equal (Unicode forms, spaces, zero-width "
                         "characters, Windows-1252 bytes)."));
    const QCommandLineOption skipEmpty(
        QStringLiteral("skip-empty"),
        QCoreApplication::translate(
            "Companion", "Leave lines whose compared part is empty out of every list and count."));
    // Each output's option, in their order.
    std::vector<std::pair<const CompanionOutput*, QCommandLineOption>> outputs;
    for (const auto& output : CompanionOutputs())
        outputs.emplace_back(
            output.get(),
            QCommandLineOption(output->Option(), output->Description(), QStringLiteral("PATH")));
    const QCommandLineOption summary(
        QStringLiteral("summary"),
        QCoreApplication::translate(
            "Companion", "Print the counts, and the distinct lines, as one JSON object."));
    const QCommandLineOption exitStatus(
        QStringLiteral("exit-status"),
        QCoreApplication::translate(
            "Companion", "Exit 0 when no line is only in one file or changed, 1 when some line "
                         "is, 2 on trouble."));
    const QCommandLineOption lf(
        QStringLiteral("lf"),
        QCoreApplication::translate("Companion", "End the lines of the lists with LF, not CR LF."));
    const QCommandLineOption zero(
        {QStringLiteral("z"), QStringLiteral("zero-terminated")},
        QCoreApplication::translate("Companion", "Lines are ended by NUL, not by line feeds, "
                                                 "in the files and in the lists."));
    QList<const QCommandLineOption*> known{&help,         &version,    &matchCase, &ignoreBlanks,
                                           &eachOnce,     &field,      &delimiter, &header,
                                           &ignoreFields, &keyPattern, &lookAlike, &skipEmpty};
    for (const auto& [output, option] : outputs)
        known.append(&option);
    const QCommandLineOption memory(
        QStringLiteral("memory"),
        QCoreApplication::translate(
            "Companion", "Use about SIZE of memory (512M, 4G); files that would need more are "
                         "compared from disk. Default: half the memory available."),
        QStringLiteral("SIZE"));
    const QCommandLineOption tempDir(
        QStringLiteral("temp-dir"),
        QCoreApplication::translate(
            "Companion", "Keep the files of a comparison from disk in a private folder in DIR "
                         "(default $TMPDIR, else /tmp)."),
        QStringLiteral("DIR"));
    known += {&summary, &exitStatus, &lf, &zero, &memory, &tempDir};
    for (const QCommandLineOption* option : known)
        parser.addOption(*option);
    parser.addPositionalArgument(QStringLiteral("FILE1"),
                                 QCoreApplication::translate("Companion", "The first file."));
    parser.addPositionalArgument(QStringLiteral("FILE2"),
                                 QCoreApplication::translate("Companion", "The second file."));

    // Names are kept as the bytes they are, UTF-8 or not (FileSystem::NativeName).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(FileSystem::NameFromNative(QByteArray(argv[i])));
    QStringList words{QCoreApplication::applicationFilePath()};
    if (const QString problem = getoptWords(arguments, known, words); !problem.isEmpty())
        return endRun(UsageError(problem));
    if (!parser.parse(words))
        return endRun(UsageError(parser.errorText()));
    // What is not a name is read as text.
    for (const QCommandLineOption* option :
         {&field, &delimiter, &ignoreFields, &keyPattern, &memory}) {
        if (parser.isSet(*option) && FileSystem::HoldsRawBytes(parser.value(*option)))
            return endRun(UsageError(
                QCoreApplication::translate("Companion", "an argument is not valid UTF-8 (%1)")
                    .arg(FileError::QuotedName(parser.value(*option)))));
    }
    if (parser.isSet(help))
        return printAndEnd((parser.helpText() + QLatin1Char('\n') +
                            QCoreApplication::translate("Companion", "Report problems to <%1>.")
                                .arg(QStringLiteral(QUILLMARK_SUPPORT_ADDRESS)) +
                            QLatin1Char('\n') +
                            QCoreApplication::translate("Companion", "Quillmark home page: <%1>")
                                .arg(QStringLiteral(QUILLMARK_HOME_PAGE)) +
                            QLatin1Char('\n'))
                               .toLocal8Bit(),
                           parser.isSet(exitStatus));
    if (parser.isSet(version))
        return printAndEnd(
            (QStringLiteral("quillmark-compare " QUILLMARK_VERSION "\n") +
             QCoreApplication::translate("Companion", "Copyright (C) %1 Harrowmere").arg(2026) +
             QLatin1Char('\n') +
             QCoreApplication::translate("Companion",
                                         "License: Harrowmere-proprietary. All rights reserved.") +
             QLatin1Char('\n') +
             QCoreApplication::translate("Companion",
                                         "For the terms under which this program may be used or "
                                         "passed on,\nask Harrowmere at %1.")
                 .arg(QStringLiteral(QUILLMARK_SUPPORT_ADDRESS)) +
             QLatin1Char('\n'))
                .toLocal8Bit(),
            parser.isSet(exitStatus));
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return endRun(UsageError(
            QCoreApplication::translate("Companion", "expected two files, FILE1 and FILE2, got %1")
                .arg(files.size())));

    ParsedCommandLine parsed;
    CompanionOptions& options = parsed.options;
    options.files = {files[0], files[1]};
    // Each output goes to one place.
    for (const auto& [output, option] : outputs) {
        const QStringList values = parser.values(option);
        if (values.size() > 1)
            return endRun(
                UsageError(QCoreApplication::translate("Companion", "--%1 is given more than once")
                               .arg(output->Option())));
        if (values.isEmpty())
            continue;
        // An empty name opens no file: the list would go nowhere while the run succeeds.
        if (values[0].isEmpty())
            return endRun(
                UsageError(QCoreApplication::translate(
                               "Companion", "--%1 needs a PATH; an empty one names no file")
                               .arg(output->Option())));
        options.outputs.push_back(
            {output,
             values[0] == QLatin1String("-") || FileKind::DescriptorOf(values[0]) == 1
                 ? QStringLiteral("-")
                 : values[0],
             values[0]});
    }
    // Two lists on one standard output would run together.
    if (std::count_if(options.outputs.begin(), options.outputs.end(),
                      [](const OutputTarget& target) { return target.ToStandardOutput(); }) > 1)
        return endRun(UsageError(
            QCoreApplication::translate("Companion", "only one list can go to standard output")));
    options.summary = parser.isSet(summary);
    options.exitStatus = parser.isSet(exitStatus);
    // JSON and other text on one standard output would be read as neither.
    if (options.summary) {
        for (const OutputTarget& target : options.outputs) {
            if (target.ToStandardOutput())
                return endRun(UsageError(
                    QCoreApplication::translate(
                        "Companion", "--summary and --%1 %2 would both write to standard output")
                        .arg(target.output->Option(), target.spelled)));
        }
    }
    if (parser.isSet(lf) && parser.isSet(zero))
        return endRun(UsageError(QCoreApplication::translate(
            "Companion", "--lf and -z (--zero-terminated) ask for two different line ends")));
    options.lineEnd = parser.isSet(zero) ? LineEnd::Nul
                      : parser.isSet(lf) ? LineEnd::Lf
                                         : LineEnd::CrLf;

    CompareOptions& compare = options.compare;
    compare.matchCase = parser.isSet(matchCase);
    compare.ignoreBlanks = parser.isSet(ignoreBlanks);
    compare.eachOnce = parser.isSet(eachOnce);
    compare.lookAlike = parser.isSet(lookAlike);
    compare.skipEmpty = parser.isSet(skipEmpty);
    compare.countDistinct = options.summary;
    compare.header = parser.isSet(header);
    if (parser.isSet(field)) {
        if (const QString problem = fieldList(parser.value(field), QStringLiteral("--field"),
                                              compare.header, compare.keyNames);
            !problem.isEmpty())
            return endRun(UsageError(problem));
        if (allNumbers(compare.keyNames, compare.moreFields)) {
            compare.field = compare.moreFields.takeFirst();
            compare.keyNames.clear();
        }
    }
    if (parser.isSet(ignoreFields)) {
        if (!parser.isSet(field))
            return endRun(UsageError(
                QCoreApplication::translate("Companion", "--ignore-fields needs --field")));
        if (const QString problem =
                fieldList(parser.value(ignoreFields), QStringLiteral("--ignore-fields"),
                          compare.header, compare.ignoreNames);
            !problem.isEmpty())
            return endRun(UsageError(problem));
        if (allNumbers(compare.ignoreNames, compare.ignoreFields))
            compare.ignoreNames.clear();
    }
    if (parser.isSet(delimiter)) {
        if (!parser.isSet(field))
            return endRun(
                UsageError(QCoreApplication::translate("Companion", "--delimiter needs --field")));
        compare.delimiter = CompareOptions::DelimiterNamed(parser.value(delimiter));
        if (!compare.OneCharacterDelimiter())
            return endRun(UsageError(
                QCoreApplication::translate(
                    "Companion", "--delimiter needs one character, 'tab' or 'space', not %1")
                    .arg(FileError::QuotedName(parser.value(delimiter)))));
    }
    if (parser.isSet(keyPattern)) {
        compare.keyPattern = parser.value(keyPattern);
        if (compare.keyPattern.isEmpty())
            return endRun(UsageError(
                QCoreApplication::translate("Companion", "--key-pattern needs a pattern")));
    }
    if (const QString problem = CompareOptionsProblem(compare); !problem.isEmpty())
        return endRun(UsageError(problem));
    // A field both in the key and ignored, both given by name, is found
    // only once the header is read; by number it is found here.
    for (const QString& name : compare.ignoreNames) {
        if (compare.keyNames.contains(name))
            return endRun(
                UsageError(QCoreApplication::translate(
                               "Companion", "Field %1 is part of the key and cannot be ignored.")
                               .arg(FileError::QuotedName(name))));
    }
    for (const OutputTarget& target : options.outputs) {
        if (target.output->NeedsKey() && !compare.HasKey())
            return endRun(UsageError(QCoreApplication::translate(
                                         "Companion", "--%1 needs a key: --field or --key-pattern")
                                         .arg(target.output->Option())));
    }
    if (parser.isSet(memory)) {
        options.budget.bytes = ParseMemorySize(parser.value(memory));
        if (options.budget.bytes < 0)
            return endRun(UsageError(
                QCoreApplication::translate(
                    "Companion", "--memory needs a size of at least 1M, such as 512M or 4G, not %1")
                    .arg(FileError::QuotedName(parser.value(memory)))));
    }
    if (parser.isSet(tempDir)) {
        options.budget.tempDir = parser.value(tempDir);
        if (options.budget.tempDir.isEmpty())
            return endRun(
                UsageError(QCoreApplication::translate("Companion", "--temp-dir needs a folder")));
    }
    // Pipes, FIFOs, devices and /proc files are read once, to their end.
    compare.read.streamInputs = true;
    if (options.lineEnd == LineEnd::Nul)
        compare.read.lineEnds = ReadOptions::LineEnds::Nul;
    return parsed;
}
