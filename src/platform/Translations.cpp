#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

QString Translations::Folder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString beside = exeDir + QStringLiteral("/translations");
    if (QFileInfo(beside).isDir())
        return beside;
    const QString shared =
        QDir(exeDir).absoluteFilePath(QStringLiteral("../share/quillmark/translations"));
    if (QFileInfo(shared).isDir())
        return QDir::cleanPath(shared);
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("quillmark/translations"),
                                  QStandardPaths::LocateDirectory);
}

void Translations::Install()
{
    // Owned by the application, which outlives every text shown.
    auto* app = QCoreApplication::instance();
    const QLocale locale;
    auto* own = new QTranslator(app);
    if (own->load(locale, QStringLiteral("quillmark"), QStringLiteral("_"), Folder()))
        QCoreApplication::installTranslator(own);
    auto* qt = new QTranslator(app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}
