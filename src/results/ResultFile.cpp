#include "results/ResultFile.h"

#include "platform/AnsiCodec.h"
#include "platform/OutputFile.h"
#include "results/ResultList.h"

PendingFile::PendingFile(const QString& path) : m_file(std::make_unique<OutputFile>(path)) {}

PendingFile::~PendingFile() = default; // an uncommitted file leaves the old one as it was

void PendingFile::Write(const QByteArray& bytes)
{
    m_file->Write(bytes);
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
    m_file->Sync();
}

void PendingFile::Commit()
{
    m_file->Commit();
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
