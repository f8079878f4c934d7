#pragma once

#include <QList>
#include <QString>
#include <utility>

// The per-user settings store: an INI file under the user's configuration
// folder (Harrowmere/Quillmark.ini), one section per section name. Values are
// text and round-trip exactly. Only the user's own file counts (no fallback
// to system-wide files), and a file that is not a regular file of at most
// 1 MiB (a FIFO, a link to a device) is refused with RuntimeError before it
// is read, so it never stops the program.

// The stored text, or the empty text when the key, section or application is absent.
QString GetSetting(const QString& application, const QString& section, const QString& key);

// Creates the application's store and section when needed and replaces the
// key's value. Throws RuntimeError when the file cannot be used or written.
void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

// The values of several keys of one section, from one reading of the file,
// in the order of keys.
QStringList GetSettings(const QString& application, const QString& section,
                        const QStringList& keys);

// Replaces several keys' values of one section with one write of the file.
void SaveSettings(const QString& application, const QString& section,
                  const QList<std::pair<QString, QString>>& values);

// The file that holds an application's settings for this user.
QString SettingsLocation(const QString& application);

namespace SettingsTesting {
// Keeps the settings in folder instead of the user's configuration folder;
// an empty folder restores that.
void SetFolder(const QString& folder);
} // namespace SettingsTesting
