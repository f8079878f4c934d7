#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Starting other programs of the desktop, without waiting for them.

// Opens a web address in the user's browser (xdg-open on Linux). Throws
// RuntimeError when the opener cannot be started.
void OpenUrl(const QString& url);

// Opens a folder in the desktop's file browser; any failure is ignored.
void OpenFolder(const QString& path);

namespace LauncherTesting {
// Receives every program start instead of the system (program, arguments);
// it returns whether the start succeeded. An empty function restores the real one.
void SetStarter(std::function<bool(const QString&, const QStringList&)> start);
} // namespace LauncherTesting
