#include "CompareTexts.h"

#include "FileSystem.h"

namespace CompareTexts {

QString FirstFailedCheck(const QString& path1, const QString& path2)
{
    if (path1.isEmpty())
        return ForgotFile1();
    if (path2.isEmpty())
        return ForgotFile2();
    if (!FileSystem::RegularFileLookup(path1))
        return File1NotFound();
    if (!FileSystem::RegularFileLookup(path2))
        return File2NotFound();
    return QString();
}

} // namespace CompareTexts
