#pragma once

// How quillmark-compare reports a run that goes wrong: one message on
// standard error, after the program's name as every command-line tool puts
// it, and the exit status that goes with it.

#include <QCoreApplication>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>

// The command line asks for something that cannot be done; the message is
// followed by a pointer to --help. Returns the exit status, 2.
inline int UsageError(const QString& what)
{
    std::fprintf(stderr, "quillmark-compare: %s\n%s\n", qPrintable(what),
                 qPrintable(QCoreApplication::translate(
                     "Companion", "Try 'quillmark-compare --help' for more information.")));
    return 2;
}

// Reports a warning or any other message of the program.
inline void Report(const QString& message)
{
    std::fprintf(stderr, "quillmark-compare: %s\n", message.toLocal8Bit().constData());
}

// A file could not be compared or a list not written. Returns the exit
// status: 1, or 2 where 1 says that the files differ (--exit-status).
inline int Failure(const QString& message, bool statusSaysDiffer = false)
{
    Report(message);
    return statusSaysDiffer ? 2 : 1;
}

// Standard output could not be written; err is the write's errno. Returns the
// exit status: 2 for a standard output that was closed (EBADF), a mistake of
// the command line as a usage error is, else as Failure.
inline int StandardOutputFailure(int err, bool statusSaysDiffer = false)
{
    Report(QCoreApplication::translate("Companion", "standard output: %1")
               .arg(QString::fromLocal8Bit(std::strerror(err))));
    return err == EBADF || statusSaysDiffer ? 2 : 1;
}
