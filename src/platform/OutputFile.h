#pragma once

#include <QByteArray>
#include <QString>

// A file being written, so that a save never loses data.
//
// A regular file (new, or replacing an old one) is written to a temporary
// file beside it and renamed over it by Commit, once every byte is on disk;
// it keeps the old file's mode, and its owner and group where permitted.
// A file in a folder that may not be written, or with other hard links, is
// written into the file itself at Sync or Commit, and a failure part-way is
// reported. A device, FIFO or descriptor path (/dev/stdout, /dev/fd/N) is
// written through the descriptor as the text comes, so ">>" appends and a
// pipe gets every byte; a FIFO that nobody reads is an error, not a wait.
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

private:
    enum class Mode
    {
        Replace, // a temporary file renamed over the target
        InPlace, // the text kept here, then written into the target itself
        Stream   // written through the descriptor as it comes
    };

    void writeAll(const char* data, qint64 size);
    void dropWrittenBack();
    void discard() noexcept;

    QString m_path;      // as the caller named it, for messages
    QByteArray m_target; // the file that the text ends up in
    QByteArray m_temp;   // the temporary file (Replace)
    QByteArray m_pending;
    Mode m_mode = Mode::Replace;
    int m_fd = -1;
    qint64 m_written = 0, m_flushed = 0; // bytes written, and sent on to the disk (Replace)
    qint64 m_dropped = 0;                // bytes on disk and out of the page cache (Replace)
    bool m_synced = false;
    bool m_done = false;
};
