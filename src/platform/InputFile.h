#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// A file opened for reading, read from where it starts to its end.
//
// Opening never blocks: a FIFO without a writer does not stop the program.
// Where a regular file is meant, anything else is refused with a message that
// says what it is. The end is where reading stops, not the size the file
// system reports, so /proc files and pipes give all they hold. Every failure
// throws RuntimeError naming the path and the system's reason.
class InputFile
{
public:
    enum class Accept
    {
        RegularFile, // a regular file only
        AnyFile      // also pipes, FIFOs and devices; reading a FIFO waits for its writer
    };

    // Opens path. A descriptor path (/dev/stdin, /dev/fd/N) reads that
    // descriptor from where it stands.
    explicit InputFile(const QString& path, Accept accept = Accept::RegularFile);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // What fstat reported on the open file.
    const struct stat& Status() const { return m_status; }
    bool IsRegular() const { return S_ISREG(m_status.st_mode); }
    // The open descriptor, still owned here.
    int Descriptor() const { return m_fd; }

    // Reads up to size bytes; returns 0 only at the end of the file.
    qint64 Read(char* into, qint64 size);

    // Reads the rest of the file. A file over limit bytes is refused as too large.
    QByteArray ReadAll(qint64 limit);

    // The whole of a regular file of at most limit bytes.
    static QByteArray ReadSmallFile(const QString& path, qint64 limit);

private:
    QString m_path;
    int m_fd = -1;
    bool m_waitForWriter = false; // a FIFO opened without blocking
    struct stat m_status = {};
};
