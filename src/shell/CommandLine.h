#pragma once

#include <QStringList>

class Form1;

// What the window program's command line asks for: quillmark [FILE1 [FILE2]],
// --help or --version. Qt's own options (-platform, -style ...) are taken out
// by QApplication before the files are read.
struct CommandLine
{
    enum class Action
    {
        Open,
        Help,
        Version,
        Error
    };
    Action action = Action::Open;
    QStringList files;      // at most two, absolute
    int ignoredFiles = 0;   // paths past the second, as a file manager may hand over
    QString error;          // what is wrong, for Error
    bool qtOptions = false; // --help-all: the help names Qt's own options too
};

// Reads the arguments that follow the program's name.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text of --help; names the settings file and the program's folder.
// With qtOptions (--help-all), Qt's own options follow.
QString CommandLineHelp(bool qtOptions = false);

// Puts the files given into the two path fields, which remembers them.
void OpenGivenFiles(Form1& form, const QStringList& files);
