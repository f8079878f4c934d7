#pragma once

#include <QByteArray>
#include <QString>

// Text taken from the clipboard, kept as a file of its own so that it is
// compared, remembered and shown as any file is. The files go in a folder
// "pasted" in the user's cache folder: a folder only its owner may enter
// (0700), holding files only their owner may read (0600), each created new,
// never through a symbolic link or in a folder another user made.
namespace PastedText {

// The folder the pasted files go in: "pasted" in the application's cache
// folder (~/.cache/Harrowmere/Quillmark/pasted). Empty when there is no
// cache folder.
QString Folder();

// Writes bytes to a new file in folder, "pasted-<field>-<yyyyMMdd>-<HHmmss>.txt"
// ("-2.txt", "-3.txt"... when that name is taken), and returns its path. The
// folder, and any folder above it, is made when missing; one that is there
// must be a folder of this user's (a symbolic link is refused), and is made
// private (0700) when it is not. Throws RuntimeError, naming the path and the
// reason, when that is not so or the file cannot be written; a file cut short
// is removed.
QString Save(const QString& folder, int field, const QByteArray& bytes);

// Tests: Folder() gives folder instead; empty restores the cache's.
void SetFolderForTests(const QString& folder);

} // namespace PastedText
