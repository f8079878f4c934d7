#include "ResultFile.h"

#include "AnsiCodec.h"
#include "ResultList.h"
#include "RuntimeError.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw RuntimeError(QStringLiteral("Cannot write \"%1\": %2").arg(path, reason));
}

} // namespace

PendingFile::PendingFile(const QString& path) : m_path(path)
{
    if (path.isEmpty())
        throw RuntimeError(QStringLiteral("Cannot write a file without a name"));
    struct stat st;
    const bool exists = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    // A file whose owner may not write it is read-only, even for root.
    if (exists && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
        fail(path, QStringLiteral("the file is read-only"));
    if (exists && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        // A device or a pipe (/dev/stdout, a process substitution) cannot be
        // replaced: it is written to directly.
        m_file = std::make_unique<QFile>(path);
        if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            fail(path, m_file->errorString());
        return;
    }
    // The old file is replaced only when the whole new text is on disk.
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly))
        fail(path, m_file->errorString());
}

PendingFile::~PendingFile() = default; // an uncommitted QSaveFile leaves the old file as it was

void PendingFile::Write(const QByteArray& bytes)
{
    if (m_file->write(bytes) != bytes.size())
        fail(m_path, m_file->errorString());
}

void PendingFile::Write(const ResultList& list)
{
    // A piece at a time: a list of millions of lines needs no second copy.
    QByteArray piece;
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    for (int position = 1; position <= list.Count(); ++position) {
        list.AppendItemLine(position, piece);
        if (piece.size() >= kPiece || position == list.Count()) {
            Write(piece);
            piece.clear();
        }
    }
}

void PendingFile::Sync()
{
    if (!m_file->flush())
        fail(m_path, m_file->errorString());
    // A device or a pipe has nothing to put on disk.
    if (qobject_cast<QSaveFile*>(m_file.get()) && ::fdatasync(m_file->handle()) != 0)
        fail(m_path, QString::fromLocal8Bit(std::strerror(errno)));
}

void PendingFile::Commit()
{
    if (auto* save = qobject_cast<QSaveFile*>(m_file.get())) {
        if (!save->commit())
            fail(m_path, save->errorString());
    } else {
        m_file->close();
    }
}

QByteArray ListFileText(const ResultList& list)
{
    QByteArray text;
    list.AppendFileText(text);
    return text;
}

void SaveListToFile(QString path, const ResultList& list)
{
    PendingFile file(path);
    file.Write(list);
    file.Commit();
}

void WriteTextFile(QString path, QString text)
{
    WriteEncodedFile(path, AnsiCodec::Encode(text));
}

void WriteEncodedFile(const QString& path, const QByteArray& bytes)
{
    PendingFile file(path);
    file.Write(bytes);
    file.Commit();
}
