#pragma once

// How quillmark-compare reports a run that goes wrong: one message on
// standard error, and the exit status that goes with it.

#include <QString>
#include <cstdio>

// The command line asks for something that cannot be done; the message is
// followed by a pointer to --help. Returns the exit status, 2.
inline int UsageError(const QString& what)
{
    std::fprintf(stderr, "quillmark-compare: %s\nTry 'quillmark-compare --help'.\n",
                 qPrintable(what));
    return 2;
}

// A file could not be compared or a list not written. Returns the exit status, 1.
inline int Failure(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
}
