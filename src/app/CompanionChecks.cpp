#include "app/CompanionChecks.h"

#include "app/CompanionOptions.h"
#include "app/CompanionOutputs.h"
#include "app/CompanionStreams.h"
#include "compare/CompareMessages.h"
#include "platform/FileError.h"
#include "platform/FileKind.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

// Why file cannot be compared, as the system says it (ENOENT, ELOOP,
// ENAMETOOLONG, EACCES on a folder on the way, EISDIR for a folder), or an
// empty text.
QString whyNotThere(const QString& file)
{
    const int fd = FileKind::DescriptorOf(file);
    const QByteArray native = FileSystem::NativeName(file);
    struct stat st;
    if ((fd >= 0 ? ::fstat(fd, &st) : ::stat(native.constData(), &st)) != 0)
        return FileError::Reason(errno);
    return S_ISDIR(st.st_mode) ? FileError::Reason(EISDIR) : QString();
}

// "name: reason", the name as ls shows it.
QString named(const QString& name, const QString& reason)
{
    return QCoreApplication::translate("Companion", "%1: %2",
                                       "a file's name and why it cannot be used")
        .arg(name, reason);
}

} // namespace

QString ClosedStreamProblem(const CompanionOptions& options)
{
    const QString closed = FileError::Reason(EBADF);
    for (const QString& file : options.files) {
        if (file == QLatin1String("-") && CompanionStreams::WasClosed(0))
            return named(QCoreApplication::translate("Companion", "standard input"), closed);
        if (file != QLatin1String("-") && CompanionStreams::WasClosed(FileKind::DescriptorOf(file)))
            return named(FileError::ShownName(file), closed);
    }
    // The counts and the summary go to standard output too.
    const bool toStandardOutput =
        options.AnyToStandardOutput() || !options.AnyOutput() || options.summary;
    if (toStandardOutput && CompanionStreams::WasClosed(1))
        return named(QCoreApplication::translate("Companion", "standard output"), closed);
    for (const OutputTarget& target : options.outputs) {
        if (!target.ToStandardOutput() &&
            CompanionStreams::WasClosed(FileKind::DescriptorOf(target.path)))
            return named(FileError::ShownName(target.spelled), closed);
    }
    return QString();
}

QString InputProblem(const CompanionOptions& options)
{
    const QString& file1 = options.files[0];
    const QString& file2 = options.files[1];
    if (file1.isEmpty())
        return CompareMessages::ForgotFile1();
    if (file2.isEmpty())
        return CompareMessages::ForgotFile2();
    for (const QString& file : options.files) {
        if (file == QLatin1String("-"))
            continue;
        if (const QString why = whyNotThere(file); !why.isEmpty())
            return named(FileError::ShownName(file), why);
    }
    return QString();
}

// Files are compared as files (after links), not as spellings. One list at
// most goes to standard output (ParseCommandLine); /dev/null takes anything.
QString OutputConflict(const CompanionOptions& options)
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
    const auto& files = options.files;
    std::vector<Named> lists;
    for (const OutputTarget& target : options.outputs) {
        const bool toStdout = target.ToStandardOutput();
        lists.push_back(
            {QStringLiteral("--%1 %2").arg(
                 target.output->Option(),
                 target.spelled == QLatin1String("-")
                     ? QCoreApplication::translate("Companion", "- (standard output)")
                     : FileError::QuotedName(target.spelled)),
             toStdout ? FileKind::IdentityOfDescriptor(1) : FileKind::IdentityOf(target.path),
             toStdout});
    }
    std::array<Named, 2> inputs;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const bool fromStdin = files[i] == QLatin1String("-");
        inputs[i] = {
            QStringLiteral("FILE%1 %2")
                .arg(i + 1)
                .arg(fromStdin ? QCoreApplication::translate("Companion", "- (standard input)")
                               : FileError::QuotedName(files[i])),
            fromStdin ? FileKind::IdentityOfDescriptor(0) : FileKind::IdentityOf(files[i])};
        if (inputs[i].id && !inputs[i].id->newName.isEmpty())
            inputs[i].id.reset();
    }
    for (size_t i = 0; i < lists.size(); ++i) {
        for (size_t j = i + 1; j < lists.size(); ++j) {
            if (!(lists[i].standardOutput && lists[j].standardOutput) && clash(lists[i], lists[j]))
                return QCoreApplication::translate(
                           "Companion", "%1 and %2 are the same file: one list would be lost")
                    .arg(lists[i].what, lists[j].what);
        }
        for (const Named& input : inputs) {
            if (clash(lists[i], input))
                return QCoreApplication::translate("Companion", "%1 would overwrite %2")
                    .arg(lists[i].what, input.what);
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
        return QCoreApplication::translate(
                   "Companion", "%1 and %2 are the same stream, which can be read only once")
            .arg(inputs[0].what, inputs[1].what);
    return QString();
}
