#pragma once

#include "platform/RuntimeError.h"

#include <QString>

// How file names and file failures appear in messages.
namespace FileError {

// The name as a message shows it: in double quotes, or, when it holds control
// characters (a line break, an escape sequence), quoted as a shell would need
// it, the way ls does: 'a'$'\n''b'. The terminal never sees the raw characters.
QString QuotedName(const QString& path);

// The name as ls shows it: as it stands when the shell would take it so
// ("/tmp"), else in single quotes ('a b'), double quotes around a quote
// ("it's"), and control characters and bytes that are not UTF-8 as
// QuotedName gives them.
QString ShownName(const QString& path);

// The system's text for an errno value ("No space left on device").
QString Reason(int err);

// "Cannot <verb> <quoted path>: <reason>".
RuntimeError Failure(const QString& verb, const QString& path, const QString& reason);
RuntimeError Failure(const QString& verb, const QString& path, int err);

} // namespace FileError
