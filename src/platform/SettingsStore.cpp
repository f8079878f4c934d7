#include "SettingsStore.h"

#include "AppInfo.h"

#include <QSettings>

QString GetSetting(const QString& application, const QString& section, const QString& key)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, application, ProductName());
    store.beginGroup(section);
    return store.value(key).toString();
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, application, ProductName());
    store.beginGroup(section);
    store.setValue(key, value);
    store.endGroup();
    store.sync();
}

QString SettingsLocation(const QString& application)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, application, ProductName())
        .fileName();
}
