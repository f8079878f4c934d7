#include "compare/CompareOptions.h"

#include <QRegularExpression>

QString CompareOptions::DelimiterNamed(const QString& name)
{
    if (name.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\t");
    if (name.compare(QLatin1String("space"), Qt::CaseInsensitive) == 0)
        return BlankRuns();
    return name;
}

QString CompareOptionsProblem(const CompareOptions& options)
{
    if (options.field < 0)
        return QStringLiteral("The key field must be a number from 1 up.");
    if (options.field > 0 && options.delimiter.size() != 1)
        return QStringLiteral("The field delimiter must be one character, tab or space.");
    if (options.field > 0 && !options.keyPattern.isEmpty())
        return QStringLiteral("A key field and a key pattern cannot be used together.");
    if (!options.keyPattern.isEmpty()) {
        const QRegularExpression pattern(options.keyPattern);
        if (!pattern.isValid())
            return QStringLiteral("The key pattern \"%1\" does not compile: %2 (at character %3).")
                .arg(options.keyPattern, pattern.errorString())
                .arg(pattern.patternErrorOffset() + 1);
    }
    return QString();
}
