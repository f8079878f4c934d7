#pragma once

#include <QString>

// The per-user settings store: an INI file under the user's configuration
// folder (Harrowmere/Quillmark.ini), one section per section name. Values are
// text and round-trip exactly.

// The stored text, or the empty text when the key, section or application is absent.
QString GetSetting(const QString& application, const QString& section, const QString& key);

// Creates the application's store and section when needed and replaces the key's value.
void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

// The file that holds an application's settings for this user.
QString SettingsLocation(const QString& application);
