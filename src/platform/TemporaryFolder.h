#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstring>

// A private folder for the files a comparison too big for memory keeps on
// disk: made under a parent folder readable by its owner alone (0700), its
// files 0600, created anew (never an existing name, never through a link).
// It goes with everything in it when the object goes, and also when
// SIGINT, SIGTERM or SIGHUP come (TemporaryFiles::RemoveListed).
class TemporaryFolder
{
public:
    // Makes the folder under parent, or under $TMPDIR (else /tmp) when
    // parent is empty. Throws RuntimeError naming the parent.
    explicit TemporaryFolder(const QString& parent = QString());
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const QString& Path() const { return m_path; }

    // Creates file name in the folder, open for reading and writing; returns
    // its descriptor, which the caller closes. Throws RuntimeError.
    int Create(const QByteArray& name) const;

    // Removes file name from the folder.
    void Remove(const QByteArray& name) const;

    // The bytes the folder's file system has free for this user, or -1.
    qint64 FreeBytes() const;

    // Throws a RuntimeError for a write into the folder that failed with error
    // (errno): a full disk says so, naming the folder.
    [[noreturn]] void ThrowWriteFailure(int error) const;

    // The parent used when none is given: $TMPDIR, else /tmp.
    static QString DefaultParent();

private:
    QString m_path;
    QByteArray m_native;
    int m_slot = -1;
};

// A file of the folder written a buffer at a time.
class SpillWriter
{
public:
    SpillWriter(const TemporaryFolder& folder, const QByteArray& name, qint64 bufferBytes);
    ~SpillWriter();
    SpillWriter(const SpillWriter&) = delete;
    SpillWriter& operator=(const SpillWriter&) = delete;

    void Write(QByteArrayView bytes)
    {
        if (bytes.size() > m_buffer.capacity() - m_buffer.size())
            flushFor(bytes);
        else
            m_buffer.append(bytes);
    }
    template <typename T> void WriteValue(T value)
    {
        Write(QByteArrayView(reinterpret_cast<const char*>(&value), sizeof value));
    }
    // Writes what is buffered; returns the bytes written so far.
    qint64 Flush();
    // The bytes written so far, buffered or not.
    qint64 Size() const { return m_written + m_buffer.size(); }
    int Descriptor() const { return m_fd; }
    // Closes and removes the file, whose room goes back to the disk.
    void Discard();

private:
    void flushFor(QByteArrayView bytes);
    void writeOut(QByteArrayView bytes);

    const TemporaryFolder& m_folder;
    QByteArray m_name;
    int m_fd = -1;
    QByteArray m_buffer;
    qint64 m_written = 0;
};

// Reads a stretch [from, to) of a file of the folder in order, a buffer at a time.
class SpillReader
{
public:
    SpillReader(const TemporaryFolder& folder, int fd, qint64 from, qint64 to, qint64 bufferBytes);

    bool AtEnd() const { return m_at == m_buffer.size() && m_next >= m_to; }
    // The next bytes bytes, valid until the next call; throws at a short file.
    QByteArrayView Take(qint64 bytes);
    template <typename T> T TakeValue()
    {
        T value;
        const QByteArrayView bytes = Take(sizeof value);
        std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }

private:
    const TemporaryFolder* m_folder;
    int m_fd;
    qint64 m_next, m_to;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    qint64 m_bufferBytes;
};
