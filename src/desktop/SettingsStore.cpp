#include "desktop/SettingsStore.h"

#include "desktop/AppInfo.h"
#include "platform/FileError.h"
#include "platform/InputFile.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

// Far more than two paths of the longest text a field takes, escaped.
constexpr qint64 kSettingsLimit = qint64(1) << 20;

QString& folderForTests()
{
    static QString folder;
    return folder;
}

// The user's INI file for application, where QSettings keeps it for the user
// scope: <XDG_CONFIG_HOME or ~/.config>/<application>/Quillmark.ini. Worked
// out rather than asked of a QSettings over the application, which would
// look for its files and the system's under /etc/xdg to answer.
QString storeFile(const QString& application)
{
    const QString folder =
        folderForTests().isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            : folderForTests();
    return folder + QLatin1Char('/') + application + QLatin1Char('/') + ProductName() +
           QStringLiteral(".ini");
}

// QSettings reads its file whole and blocks on a FIFO; a file that is not a
// regular file of a sane size is refused before QSettings sees it.
void checkStore(const QString& file)
{
    if (!QFileInfo::exists(file))
        return; // created at the first save, also through a link to a file not there yet
    try {
        InputFile(file).ReadAll(kSettingsLimit);
    } catch (const RuntimeError& error) {
        throw RuntimeError(
            QCoreApplication::translate("SettingsStore", "The settings file cannot be used. %1")
                .arg(error.description()));
    }
}

} // namespace

QStringList GetSettings(const QString& application, const QString& section, const QStringList& keys)
{
    const QString file = storeFile(application);
    checkStore(file);
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(section);
    QStringList values;
    for (const QString& key : keys)
        values.append(store.value(key).toString());
    return values;
}

QString GetSetting(const QString& application, const QString& section, const QString& key)
{
    return GetSettings(application, section, {key}).constFirst();
}

void SaveSettings(const QString& application, const QString& section,
                  const QList<std::pair<QString, QString>>& values)
{
    const QString file = storeFile(application);
    checkStore(file);
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(section);
    for (const auto& [key, value] : values)
        store.setValue(key, value);
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        throw RuntimeError(
            QCoreApplication::translate("SettingsStore", "Cannot write the settings file %1")
                .arg(FileError::QuotedName(file)));
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    SaveSettings(application, section, {{key, value}});
}

QString SettingsLocation(const QString& application)
{
    return storeFile(application);
}

void SettingsTesting::SetFolder(const QString& folder)
{
    folderForTests() = folder;
}
