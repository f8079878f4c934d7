#include "results/ResultFile.h"

#include "platform/OutputFile.h"

PendingFile::PendingFile(const QString& path) : m_file(std::make_unique<OutputFile>(path)) {}

PendingFile::~PendingFile() = default; // an uncommitted file leaves the old one as it was

void PendingFile::Write(QByteArrayView bytes)
{
    m_file->Write(bytes.data(), bytes.size());
}

void PendingFile::Sync()
{
    m_file->Sync();
}

void PendingFile::Commit()
{
    m_file->Commit();
}
