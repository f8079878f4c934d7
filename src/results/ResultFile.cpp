#include "results/ResultFile.h"

#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "platform/OutputFile.h"
#include "results/ResultList.h"

PendingFile::PendingFile(const QString& path) : m_file(std::make_unique<OutputFile>(path)) {}

PendingFile::~PendingFile() = default; // an uncommitted file leaves the old one as it was

void PendingFile::Write(QByteArrayView bytes)
{
    m_file->Write(bytes.data(), bytes.size());
}

void PendingFile::Write(const ResultList& list)
{
    ListTextWriter out(*m_file);
    for (int position = 1; position <= list.Count(); ++position)
        list.WriteItemLine(position, out);
    out.Flush();
}

void PendingFile::Sync()
{
    m_file->Sync();
}

void PendingFile::Commit()
{
    m_file->Commit();
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
