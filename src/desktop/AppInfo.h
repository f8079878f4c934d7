#pragma once

#include <QString>

// The product name: caption of the main window, settings section, source of
// the application title.
inline QString ProductName()
{
    return QStringLiteral("Quillmark");
}

// App.Path: the folder that holds the program's own files: the first
// quillmark folder of the desktop's data folders (XDG_DATA_HOME, XDG_DATA_DIRS:
// /usr/share/quillmark once installed), else the executable's folder (a build
// tree) or <prefix>/share/quillmark beside it.
QString AppPath();
// Tests point the program at a folder of their own.
void SetAppPath(const QString& path);

// A file beside the program, named as the program names it ("\HAND-M.CUR",
// "\x\o.cjs"): backslashes become the platform's separator.
QString AppFile(const QString& name);

// App.Title: the title message boxes carry when they give none of their own.
QString AppTitle();
void SetAppTitle(const QString& title);

// DoEvents: lets the window handle what is pending, then returns.
void DoEvents();
