#pragma once

#include <QString>
#include <functional>

class QUrl;

// Handing addresses to the desktop (QDesktopServices), without waiting for
// the program that shows them.

// Opens a web address in the user's browser. Throws RuntimeError when the
// desktop has nothing that opens it.
void OpenUrl(const QString& url);

// Opens a folder in the desktop's file browser; any failure is ignored.
void OpenFolder(const QString& path);

namespace LauncherTesting {
// Receives every address the program opens instead of the desktop; it returns
// whether the desktop opened it. An empty function restores the desktop.
void SetOpener(std::function<bool(const QUrl&)> open);
} // namespace LauncherTesting
