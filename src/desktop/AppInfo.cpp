#include "desktop/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString& overridePath()
{
    static QString path;
    return path;
}
} // namespace

QString AppPath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    // Installed, the program lives in <prefix>/bin and its files in <prefix>/share/quillmark.
    const QString shared = QDir(exeDir).absoluteFilePath(QStringLiteral("../share/quillmark"));
    if (!QFileInfo::exists(exeDir + QStringLiteral("/HAND-M.CUR")) && QFileInfo(shared).isDir())
        return QDir::cleanPath(shared);
    return exeDir;
}

void SetAppPath(const QString& path)
{
    overridePath() = path;
}

QString AppFile(const QString& name)
{
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return AppPath() + relative;
}

// Kept here rather than as the toolkit's application display name, which the
// toolkit would add to the title bar of every window: "Save — Quillmark".
static QString& appTitle()
{
    static QString title;
    return title;
}

QString AppTitle()
{
    return appTitle().isEmpty() ? ProductName() : appTitle();
}

void SetAppTitle(const QString& title)
{
    appTitle() = title;
}

void DoEvents()
{
    QCoreApplication::processEvents();
}
