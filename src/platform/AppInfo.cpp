#include "AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

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

QString AppTitle()
{
    return QGuiApplication::applicationDisplayName();
}

void SetAppTitle(const QString& title)
{
    QGuiApplication::setApplicationDisplayName(title);
}

void DoEvents()
{
    QCoreApplication::processEvents();
}
