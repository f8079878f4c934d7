#include "ResultFile.h"

#include "AnsiCodec.h"
#include "ResultList.h"
#include "RuntimeError.h"

#include <QFile>
#include <QSaveFile>
#include <functional>
#include <sys/stat.h>

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw RuntimeError(QStringLiteral("Cannot write \"%1\": %2").arg(path, reason));
}

} // namespace

// Writes through write() into a QSaveFile for path, which replaces the file
// only once everything is on disk; throws RuntimeError on any failure.
static void writeFile(const QString& path, const std::function<bool(QIODevice&)>& write);

QByteArray ListFileText(const ResultList& list)
{
    QByteArray text;
    list.AppendFileText(text);
    return text;
}

void SaveListToFile(QString path, const ResultList& list)
{
    // Written a piece at a time: a list of millions of lines needs no second copy.
    writeFile(path, [&list](QIODevice& file) {
        QByteArray piece;
        constexpr qsizetype kPiece = qsizetype(1) << 20;
        for (int position = 1; position <= list.Count(); ++position) {
            list.AppendItemLine(position, piece);
            if (piece.size() >= kPiece || position == list.Count()) {
                if (file.write(piece) != piece.size())
                    return false;
                piece.clear();
            }
        }
        return true;
    });
}

void WriteTextFile(QString path, QString text)
{
    WriteEncodedFile(path, AnsiCodec::Encode(text));
}

void WriteEncodedFile(const QString& path, const QByteArray& bytes)
{
    writeFile(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

void writeFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (path.isEmpty())
        throw RuntimeError(QStringLiteral("Cannot write a file without a name"));
    // A file whose owner may not write it is read-only, even for root.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
        !(st.st_mode & S_IWUSR))
        fail(path, QStringLiteral("the file is read-only"));

    // A device or a pipe (/dev/stdout, a process substitution) cannot be
    // replaced: it is written to directly.
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode) &&
        !S_ISDIR(st.st_mode)) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !write(device))
            fail(path, device.errorString());
        return;
    }

    // The old file is replaced only when the whole new text is on disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, file.errorString());
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(path, reason);
    }
    if (!file.commit())
        fail(path, file.errorString());
}
