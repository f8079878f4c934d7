#pragma once

#include <QString>

// The program's texts in the user's language (QLocale(), from LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG), with Qt's own for the standard dialogs'
// buttons. English needs nothing: it is the texts' own language.
namespace Translations {

// Where the .qm files of the program are: translations/ beside the program in
// a build tree, else <prefix>/share/quillmark/translations.
QString Folder();

// Loads and installs the program's catalogue and Qt's for the locale; a
// language without a catalogue stays English. Needs the application object.
void Install();

} // namespace Translations
