#include "desktop/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    // Installed, the program's files are in a data folder named after it
    // (/usr/share/quillmark), found where the desktop keeps data (XDG_DATA_HOME,
    // then XDG_DATA_DIRS). In a build tree they are beside the program, and
    // in a tree installed elsewhere in <prefix>/share/quillmark.
    const QString data =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("quillmark"),
                               QStandardPaths::LocateDirectory);
    if (!data.isEmpty())
        return data;
    const QString exeDir = QCoreApplication::applicationDirPath();
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
