#pragma once

#include "platform/TemporaryFiles.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

// A file being written, so that a save never loses data.
//
// A regular file (new, or replacing an old one) is written to a temporary
// file beside it and renamed over it by Commit, once every byte is on disk.
// The temporary file is this user's alone (mode 0600) while it holds text,
// and has no name at all where the file system allows (O_TMPFILE); only at
// Commit, after the sync, does it get the old file's mode, and its owner
// and group where permitted (a new file: the mode the umask leaves).
// A file in a folder that may not be written, or with other hard links, is
// written into the file itself at Sync or Commit, and a failure part-way is
// reported. A device, FIFO or descriptor path (/dev/stdout, /dev/fd/N) is
// written through the descriptor as the text comes, so ">>" appends and a
// pipe gets every byte; a FIFO that nobody reads is an error, not a wait.
//
// A temporary file on disk under a name is listed (ListedTemporary), so that
// the handlers of StopSignals remove it when a signal stops the program.
//
// Every write, flush, sync and close is checked; each failure throws
// RuntimeError naming the path and the system's reason. Destroyed without
// Commit, a regular file is left as it was. A file whose owner has no write
// permission is read-only and refused, even for root.
class OutputFile
{
public:
    explicit OutputFile(const QString& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const char* data, qint64 size);
    void Write(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }

    // Puts everything written so far on disk; nothing replaces the old file
    // yet. Several files can sync side by side before they are committed.
    void Sync();

    // Syncs when not done yet, then makes the new text the file's.
    void Commit();

    // True when the text goes straight to a device, pipe or descriptor.
    bool IsStream() const { return m_mode == Mode::Stream; }

    // Tests: hook is called with each temporary file's descriptor and name
    // (empty while it has none) as soon as it is created, before any text.
    static void SetCreatedTestHook(std::function<void(int fd, const QByteArray& name)> hook);
    // Tests: temporary files are named from the start, as on a file system
    // without O_TMPFILE.
    static void SetNamedOnlyForTests(bool named);

private:
    enum class Mode
    {
        Replace, // a temporary file renamed over the target
        InPlace, // the text kept here, then written into the target itself
        Stream   // written through the descriptor as it comes
    };

    // Creates the private temporary file (Replace); returns 0 or the errno.
    int createTemporary();
    // Gives the written file the old file's owner, group and mode.
    void takeOldAttributes();
    // Links a temporary file that has no name yet into the target's folder.
    void nameTemporary();
    void writeAll(const char* data, qint64 size);
    void dropWrittenBack();
    void discard() noexcept;

    QString m_path;      // as the caller named it, for messages
    QByteArray m_target; // the file that the text ends up in
    QByteArray m_temp;   // the temporary file's name (Replace), empty while it has none
    struct OldAttributes
    {
        uid_t owner;
        gid_t group;
        mode_t mode;
    };
    std::optional<OldAttributes> m_old; // of the file replaced, if there is one
    ListedTemporary m_listed;           // m_temp, for a signal handler to remove
    QByteArray m_pending;
    Mode m_mode = Mode::Replace;
    int m_fd = -1;
    qint64 m_written = 0, m_flushed = 0; // bytes written, and sent on to the disk (Replace)
    qint64 m_dropped = 0;                // bytes on disk and out of the page cache (Replace)
    bool m_synced = false;
    bool m_done = false;
};
