// quillmark: the window program.

#include "platform/StopSignals.h"
#include "platform/Translations.h"
#include "shell/CommandLine.h"
#include "shell/Form1.h"
#include "shell/QuitOnSignal.h"
#include "shell/TrappedApplication.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Help and version need no display; a QCoreApplication tells the program's folder.
int answerWithoutWindow(int argc, char* argv[], const CommandLine& asked)
{
    QCoreApplication core(argc, argv);
    Translations::Install();
    if (asked.action == CommandLine::Action::Help)
        std::fputs(CommandLineHelp(asked.qtOptions).toLocal8Bit().constData(), stdout);
    else
        std::printf("quillmark %s\n", QUILLMARK_VERSION);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int usageError(const QString& what)
{
    std::fprintf(
        stderr, "quillmark: %s\n%s\n", what.toLocal8Bit().constData(),
        QCoreApplication::translate("main", "Try 'quillmark --help'.").toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // Before any thread starts: the file-size limit is a write error like a
    // full disk, not the end of the window and its lists.
    StopSignals::SurviveFileSizeLimit();
    const CommandLine early = ParseCommandLine(argumentsOf(argc, argv));
    if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return answerWithoutWindow(argc, argv, early);

    // Without a display there is nothing to show: say so instead of aborting.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        const QCoreApplication core(argc, argv);
        Translations::Install();
        std::fprintf(stderr, "quillmark: %s\n",
                     QCoreApplication::translate(
                         "main", "no display to open the window on (DISPLAY is not set).")
                         .toLocal8Bit()
                         .constData());
        return 1;
    }
    TrappedApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Harrowmere"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.harrowmere.Quillmark"));
    // The window in the user's language; Qt's own dialogs' buttons too.
    Translations::Install();

    // QApplication has taken out its own options; the files are what is left.
    for (int i = 1; i < argc; ++i) {
        if (QFile::encodeName(QString::fromLocal8Bit(argv[i])) != QByteArray(argv[i]))
            return usageError(
                QCoreApplication::translate("main", "a file name is not valid UTF-8 (%1)")
                    .arg(QString::fromLocal8Bit(argv[i])));
    }
    const CommandLine command = ParseCommandLine(argumentsOf(argc, argv));
    if (command.action == CommandLine::Action::Error)
        return usageError(command.error);
    if (command.ignoredFiles > 0)
        std::fprintf(stderr, "quillmark: %s\n",
                     QCoreApplication::translate(
                         "main", "only the first two files are opened; %1 more ignored.")
                         .arg(command.ignoredFiles)
                         .toLocal8Bit()
                         .constData());

    int status = 0, stoppedBy = 0;
    {
        Form1 form;
        const QuitOnSignal quitOnSignal(form);
        form.Form_Load();
        OpenGivenFiles(form, command.files);
        // A signal during the start-up's boxes has left their loops already.
        if (!quitOnSignal.Signal()) {
            form.show();
            status = app.exec();
        }
        stoppedBy = quitOnSignal.Signal();
        // A comparison that closing the window cancelled may still be winding
        // down, freeing a file's worth of memory: it only reads, every save
        // has stopped and its temporary file is gone, and the settings are
        // written. The program ends now rather than wait for it.
        if (form.WorkRunning()) {
            if (stoppedBy)
                StopSignals::EndAs(stoppedBy);
            std::fflush(nullptr);
            std::_Exit(status);
        }
    }
    // The work has stopped and its temporary files are gone: the program
    // ends as the signal would have ended it.
    if (stoppedBy)
        StopSignals::EndAs(stoppedBy);
    return status;
}
