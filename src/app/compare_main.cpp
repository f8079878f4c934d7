// quillmark-compare: the comparison of the window, for scripts.

#include "app/CompanionChecks.h"
#include "app/CompanionLists.h"
#include "app/CompanionOptions.h"
#include "app/CompanionReport.h"
#include "app/CompanionStreams.h"
#include "platform/StopSignals.h"
#include "platform/Translations.h"

#include <QCoreApplication>

namespace {

// Qt's own warnings go to standard error under the program's name too.
void reportQtMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    Report(message);
}

} // namespace

int main(int argc, char* argv[])
{
    // Before any thread starts: the file-size limit is a write error like a
    // full disk, and Ctrl+C, kill or a closed terminal leave no temporary file.
    // Before Qt opens anything: a closed standard descriptor stays unusable.
    CompanionStreams::HoldClosedDescriptors();
    StopSignals::SurviveFileSizeLimit();
    StopSignals::RemoveTemporariesAndEnd();
    qInstallMessageHandler(reportQtMessage);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmark-compare"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    // --help and the messages in the user's language.
    Translations::Install();

    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (parsed.exitStatus)
        return *parsed.exitStatus;
    const CompanionOptions& options = parsed.options;
    // No two lists into one file, no list over an input, no stream read twice.
    if (const QString conflict = OutputConflict(options); !conflict.isEmpty())
        return UsageError(conflict);
    if (const QString problem = ClosedStreamProblem(options); !problem.isEmpty())
        return Failure(problem, true);
    if (const QString problem = InputProblem(options); !problem.isEmpty())
        return Failure(problem, options.exitStatus);
    return CompareAndWrite(options);
}
