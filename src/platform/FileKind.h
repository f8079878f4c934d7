#pragma once

#include <QString>
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

} // namespace FileKind
