#include "compare/CompareOptions.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

QString CompareOptions::DelimiterNamed(const QString& name)
{
    if (name.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\t");
    if (name.compare(QLatin1String("space"), Qt::CaseInsensitive) == 0)
        return BlankRuns();
    return name;
}

QList<int> CompareOptions::KeyFields() const
{
    if (field <= 0)
        return {};
    QList<int> fields{field};
    fields += moreFields;
    return fields;
}

QString CompareOptionsProblem(const CompareOptions& options)
{
    const auto belowOne = [](const QList<int>& fields) {
        return std::any_of(fields.begin(), fields.end(), [](int f) { return f < 1; });
    };
    if (options.field < 0 || belowOne(options.moreFields) || belowOne(options.ignoreFields))
        return QCoreApplication::translate("CompareOptions",
                                           "The key field must be a number from 1 up.");
    if (options.field == 0 && !options.moreFields.isEmpty())
        return QCoreApplication::translate("CompareOptions",
                                           "Further key fields need a first key field.");
    if (options.field > 0 && !options.keyNames.isEmpty())
        return QCoreApplication::translate("CompareOptions", "The key fields are given twice.");
    if ((!options.keyNames.isEmpty() || !options.ignoreNames.isEmpty()) && !options.header)
        return QCoreApplication::translate(
            "CompareOptions", "Fields can be named only when the first line names them.");
    if ((!options.ignoreFields.isEmpty() || !options.ignoreNames.isEmpty()) && options.field == 0 &&
        options.keyNames.isEmpty())
        return QCoreApplication::translate("CompareOptions", "Ignored fields need a key field.");
    for (const int f : options.ignoreFields) {
        if (options.KeyFields().contains(f))
            return QCoreApplication::translate("CompareOptions",
                                               "Field %1 is part of the key and cannot be ignored.")
                .arg(f);
    }
    if ((options.field > 0 || !options.keyNames.isEmpty()) && !options.OneCharacterDelimiter())
        return QCoreApplication::translate(
            "CompareOptions", "The field delimiter must be one character, tab or space.");
    if ((options.field > 0 || !options.keyNames.isEmpty()) && !options.keyPattern.isEmpty())
        return QCoreApplication::translate(
            "CompareOptions", "A key field and a key pattern cannot be used together.");
    if (!options.keyPattern.isEmpty()) {
        const QRegularExpression pattern(options.keyPattern);
        if (!pattern.isValid())
            return QCoreApplication::translate(
                       "CompareOptions",
                       "The key pattern \"%1\" does not compile: %2 (at character %3).")
                .arg(options.keyPattern, pattern.errorString())
                .arg(pattern.patternErrorOffset() + 1);
    }
    return QString();
}

QString ResolveFieldNames(CompareOptions& options, const QStringList& header)
{
    QString problem;
    auto numbered = [&](const QStringList& names) {
        QList<int> fields;
        for (const QString& name : names) {
            const qsizetype at = header.indexOf(name);
            bool number = false;
            const int n = name.toInt(&number);
            if (at >= 0)
                fields.append(int(at + 1));
            else if (number && n >= 1)
                fields.append(n);
            else if (problem.isEmpty())
                problem =
                    QCoreApplication::translate(
                        "CompareOptions", "No field is named \"%1\" in the first line of file 1.")
                        .arg(name);
        }
        return fields;
    };
    if (!options.keyNames.isEmpty()) {
        const QList<int> key = numbered(options.keyNames);
        if (!key.isEmpty()) {
            options.field = key.front();
            options.moreFields = key.mid(1);
        }
        options.keyNames.clear();
    }
    options.ignoreFields += numbered(options.ignoreNames);
    options.ignoreNames.clear();
    return problem;
}
