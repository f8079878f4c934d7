#pragma once

#include <QByteArray>
#include <QString>

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

// The bytes SaveListToFile writes for list.
QByteArray ListFileText(const ResultList& list);
