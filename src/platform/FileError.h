#pragma once

#include "platform/RuntimeError.h"

#include <QString>

// How file names and file failures appear in messages.
namespace FileError {

// The name as a message shows it: in double quotes, or, when it holds control
// characters (a line break, an escape sequence), quoted as a shell would need
// it, the way ls does: 'a'$'\n''b'. The terminal never sees the raw characters.
QString QuotedName(const QString& path);

// The system's text for an errno value ("No space left on device").
QString Reason(int err);

// "Cannot <verb> <quoted path>: <reason>".
RuntimeError Failure(const QString& verb, const QString& path, const QString& reason);
RuntimeError Failure(const QString& verb, const QString& path, int err);

} // namespace FileError
