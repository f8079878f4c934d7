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
    // The program's own files first: beside it in a build tree, in
    // <prefix>/share/quillmark beside its bin folder once installed
    // (/usr/share/quillmark for /usr/bin), so that a build or an install
    // under another prefix never takes another copy's files. Failing both,
    // a data folder named after it where the desktop keeps data
    // (XDG_DATA_HOME, then XDG_DATA_DIRS).
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(exeDir + QStringLiteral("/HAND-M.CUR")))
        return exeDir;
    const QString shared = QDir(exeDir).absoluteFilePath(QStringLiteral("../share/quillmark"));
    if (QFileInfo(shared).isDir())
        return QDir::cleanPath(shared);
    const QString data =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("quillmark"),
                               QStandardPaths::LocateDirectory);
    return data.isEmpty() ? exeDir : data;
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
