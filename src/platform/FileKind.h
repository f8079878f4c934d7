#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/stat.h>

// Things about paths that both reading and writing need.
namespace FileKind {

// What a file that is not a regular file is, for messages: "it is a folder",
// "it is a FIFO", "it is a device", "it is a socket".
QString WhatItIs(mode_t mode);

// The descriptor that path names when it is (or links to) /dev/stdin,
// /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N; -1 otherwise. Such a
// path is used through the descriptor itself: opening it again would reach the
// file behind it from its start, or not at all.
int DescriptorOf(const QString& path);

// Which file a path stands for, after links and descriptor paths: the device
// and inode of the file, or, for a file not there yet, of its folder together
// with the name it would get. Two spellings of one file compare equal.
struct FileId
{
    quint64 device = 0, inode = 0;
    QByteArray newName; // set for a file not there yet
    mode_t mode = 0;
    dev_t special = 0; // the device a device file stands for

    bool operator==(const FileId& other) const
    {
        return device == other.device && inode == other.inode && newName == other.newName;
    }
    bool IsRegular() const { return newName.isEmpty() && S_ISREG(mode); }
};

// Where a file would be created when path is written: path itself, or, when
// it is a symbolic link to nothing yet, the name that the link points to.
QByteArray CreatedName(const QByteArray& path);

// The file that path names; nothing when neither it nor its folder is there.
std::optional<FileId> IdentityOf(const QString& path);

// True for /dev/null, under any name.
bool IsNullDevice(const FileId& id);

// The file behind an open descriptor.
std::optional<FileId> IdentityOfDescriptor(int fd);

} // namespace FileKind
