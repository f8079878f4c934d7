#pragma once

#include <QCoreApplication>
#include <QString>

// The messages of the compare command's checks, shared by the window and the
// command-line companion.
namespace CompareMessages {

inline QString ForgotFile1()
{
    return QCoreApplication::translate("CompareMessages", "You forgot to input file #1.");
}
inline QString ForgotFile2()
{
    return QCoreApplication::translate("CompareMessages", "You forgot to input file #2.");
}
inline QString File1NotFound()
{
    return QCoreApplication::translate("CompareMessages", "File #1 not found.");
}
inline QString File2NotFound()
{
    return QCoreApplication::translate("CompareMessages", "File #2 not found.");
}

} // namespace CompareMessages
