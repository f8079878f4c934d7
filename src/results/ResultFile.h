#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QFileDevice;

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

// A file being written: an existing file is replaced only by Commit, once all
// of the new text is on disk; destroyed without Commit, it leaves the old file
// as it was. A device or a pipe is written to directly. Every failure throws
// RuntimeError naming the path and the reason; a read-only file is refused.
class PendingFile
{
public:
    explicit PendingFile(const QString& path);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void Write(const QByteArray& bytes);
    // Writes every item of list, each followed by CR LF.
    void Write(const ResultList& list);
    // Puts the text on disk without replacing the old file yet, so that
    // several files can sync side by side before their commits.
    void Sync();
    void Commit();

private:
    QString m_path;
    std::unique_ptr<QFileDevice> m_file;
};

// The bytes SaveListToFile writes for list.
QByteArray ListFileText(const ResultList& list);
