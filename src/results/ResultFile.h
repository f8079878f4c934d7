#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>

class OutputFile;

// A file being written (OutputFile): an existing file is replaced only by
// Commit, once all of the new text is on disk; destroyed without Commit, it
// leaves the old file as it was. A device, a pipe or /dev/stdout is written to
// directly. Every failure throws RuntimeError naming the path and the reason;
// a read-only file is refused.
class PendingFile
{
public:
    explicit PendingFile(const QString& path);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void Write(QByteArrayView bytes);
    // Puts the text on disk without replacing the old file yet, so that
    // several files can sync side by side before their commits.
    void Sync();
    void Commit();

private:
    std::unique_ptr<OutputFile> m_file;
};
