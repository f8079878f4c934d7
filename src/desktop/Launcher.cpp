#include "desktop/Launcher.h"

#include "platform/TestHook.h"

#include "platform/RuntimeError.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {
std::function<bool(const QString&, const QStringList&)>& starter()
{
    return TestHook<struct StarterHook, bool(const QString&, const QStringList&)>();
}

bool startDetached(const QString& program, const QStringList& arguments)
{
    if (starter())
        return starter()(program, arguments);
    return QProcess::startDetached(program, arguments);
}

QString opener()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("explorer");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("open");
#else
    return QStringLiteral("xdg-open");
#endif
}
} // namespace

void LauncherTesting::SetStarter(std::function<bool(const QString&, const QStringList&)> start)
{
    starter() = std::move(start);
}

void OpenUrl(const QString& url)
{
    if (!startDetached(opener(), {url}))
        throw RuntimeError(QStringLiteral("Cannot start \"%1\" to open %2").arg(opener(), url));
}

void OpenFolder(const QString& path)
{
    startDetached(opener(), {path});
}
