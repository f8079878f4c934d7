#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

class OutputFile;
class ResultList;

// Writes every item of list to path, each followed by CR LF, in list order.
// Throws RuntimeError when the file cannot be written; an existing file is then
// left as it was.
void SaveListToFile(QString path, const ResultList& list);

// Writes text to path in the 8-bit encoding (AnsiCodec), replacing the file
// only once the whole text is on disk. A read-only file is refused.
void WriteTextFile(QString path, QString text);

// The same for text already encoded.
void WriteEncodedFile(const QString& path, const QByteArray& bytes);

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
    // Writes every item of list, each followed by CR LF (ListTextWriter).
    void Write(const ResultList& list);
    // Puts the text on disk without replacing the old file yet, so that
    // several files can sync side by side before their commits.
    void Sync();
    void Commit();

private:
    std::unique_ptr<OutputFile> m_file;
};
