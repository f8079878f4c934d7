#include "desktop/Launcher.h"

#include "platform/RuntimeError.h"
#include "platform/TestHook.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
std::function<bool(const QUrl&)>& opener()
{
    return TestHook<struct OpenerHook, bool(const QUrl&)>();
}

// The desktop's own handler for the address: the browser, the file browser.
bool open(const QUrl& url)
{
    if (opener())
        return opener()(url);
    return QDesktopServices::openUrl(url);
}
} // namespace

void LauncherTesting::SetOpener(std::function<bool(const QUrl&)> open)
{
    opener() = std::move(open);
}

void OpenUrl(const QString& url)
{
    if (!open(QUrl(url, QUrl::StrictMode)))
        throw RuntimeError(
            QCoreApplication::translate("Launcher", "The desktop cannot open %1").arg(url));
}

void OpenFolder(const QString& path)
{
    open(QUrl::fromLocalFile(QDir::fromNativeSeparators(path)));
}
