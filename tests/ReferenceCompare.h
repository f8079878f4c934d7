#pragma once

// What the three lists of a comparison are, stated as plainly as they can be:
// every line of one file is compared with every line of the other. The
// engine's test and its fuzz target hold the engine to these lists; this is
// written to be read, not to be fast.
//
// The lines come in already split, each as it stands in its file.

#include "compare/CompareOptions.h"
#include "platform/AnsiCodec.h"

#include <QChar>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace ReferenceCompare {

// Ignore Blanks drops these at either end of a line: a space and a tab,
// nothing else (not a no-break space, nor any other white space).
inline bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The fields of a line, split at the delimiter. At "," and ";" a field that
// starts with a double quote runs to the closing quote, delimiters and all;
// two quotes in it stand for one, and what follows the closing quote up to
// the delimiter is kept as it is. A quote never closed runs to the line's end.
inline QStringList fieldsOf(const QString& line, const CompareOptions& options)
{
    if (options.delimiter == CompareOptions::BlankRuns()) {
        // Not a pattern: no pattern matches text that holds a lone surrogate.
        QString blanksAsSpaces = line;
        blanksAsSpaces.replace(QLatin1Char('\t'), QLatin1Char(' '));
        return blanksAsSpaces.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    const QChar delimiter = options.delimiter.front(), quote = QLatin1Char('"');
    const bool quotes = delimiter == QLatin1Char(',') || delimiter == QLatin1Char(';');
    QStringList fields;
    qsizetype i = 0;
    for (;;) {
        QString field;
        if (quotes && i < line.size() && line[i] == quote) {
            for (++i; i < line.size(); ++i) {
                if (line[i] == quote && i + 1 < line.size() && line[i + 1] == quote) {
                    field += quote;
                    ++i;
                } else if (line[i] == quote) {
                    ++i;
                    break;
                } else {
                    field += line[i];
                }
            }
        }
        while (i < line.size() && line[i] != delimiter)
            field += line[i++];
        fields.append(field);
        if (i == line.size())
            return fields;
        ++i; // the delimiter
    }
}

// What a line is compared by before blanks and case: the key field (empty
// when the line has fewer fields), or the key pattern's first group (empty
// when the group took no part), or its whole match when it has no group, or
// the whole line when the pattern does not match it.
inline QString userKey(const QString& line, const CompareOptions& options)
{
    if (options.field > 0) {
        const QStringList fields = fieldsOf(line, options);
        return options.field <= fields.size() ? fields[options.field - 1] : QString();
    }
    if (!options.keyPattern.isEmpty()) {
        // The pattern sees the line as it is shown: a byte of no UTF-8 as its
        // Windows-1252 character, any other lone surrogate as U+FFFD (a
        // pattern matches no text that is not valid UTF-16). The key is the
        // same part of the line itself.
        QString shown = AnsiCodec::ShownText(line);
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate())
                ++i;
            else if (shown[i].isSurrogate())
                shown[i] = QChar(0xFFFD);
        }
        const QRegularExpression pattern(options.keyPattern);
        const QRegularExpressionMatch match = pattern.match(shown);
        if (!match.hasMatch())
            return line;
        const int group = pattern.captureCount() > 0 ? 1 : 0;
        return line.mid(match.capturedStart(group), match.capturedLength(group));
    }
    return line;
}

// Look Alike: a byte of no valid UTF-8 as its Windows-1252 character, no
// zero-width characters, every Unicode space a plain one, then NFC.
inline QString lookAlike(const QString& text)
{
    QString form;
    for (const QChar c : AnsiCodec::ShownText(text)) {
        const char16_t u = c.unicode();
        if ((u >= 0x200B && u <= 0x200D) || u == 0x2060 || u == 0xFEFF)
            continue;
        form += c.category() == QChar::Separator_Space ? QChar(QLatin1Char(' ')) : c;
    }
    return form.normalized(QString::NormalizationForm_C);
}

// A line as it is compared; two lines are the same line when their compared
// forms are equal, character for character. With these options:
//  - Ignore Blanks: the blanks at its start and at its end are left out; the
//    blanks between its words still count.
//  - Match Case off: each 16-bit character is lowered on its own
//    (QChar::toLower). So a character beyond the 16-bit range, written as two
//    surrogates, is never folded, and neither is a capital whose small letter
//    takes more than one character: U+0130, capital I with a dot, stays as it
//    is and matches neither i nor I.
// Neither changes the other: no character lowers to a blank or from one.
// Both apply to the key (userKey), with Look Alike applied first.
inline QString comparedForm(const QString& wholeLine, const CompareOptions& options)
{
    QString line = userKey(wholeLine, options);
    if (options.lookAlike)
        line = lookAlike(line);
    qsizetype begin = 0, end = line.size();
    if (options.ignoreBlanks) {
        while (begin < end && isBlank(line[begin]))
            ++begin;
        while (end > begin && isBlank(line[end - 1]))
            --end;
    }
    QString form = line.sliced(begin, end - begin);
    if (!options.matchCase) {
        for (QChar& c : form)
            c = c.toLower();
    }
    return form;
}

// The lines of a that b holds (wantInB) or lacks (!wantInB), in a's order,
// each spelt as in a, whatever spelling b has for it. Duplicates are all
// listed; with List Each Line Once a line is left out when the list already
// holds the same line, so the list keeps each line's first place in a and
// the spelling it has there.
inline QStringList listOf(const QStringList& a, const QStringList& b, const CompareOptions& options,
                          bool wantInB)
{
    // A line's compared form is the same every time, so each is made once.
    QStringList formsB;
    for (const QString& line : b) {
        const QString form = comparedForm(line, options);
        if (!(options.skipEmpty && form.isEmpty()))
            formsB.append(form);
    }

    QStringList list, formsListed;
    for (const QString& line : a) {
        const QString form = comparedForm(line, options);
        // Skip Empty: a line whose compared form is empty is in no list.
        if (options.skipEmpty && form.isEmpty())
            continue;
        // contains() looks at every line of b in turn, and at every line listed.
        if (formsB.contains(form) != wantInB)
            continue;
        if (options.eachOnce && formsListed.contains(form))
            continue;
        list.append(line);
        formsListed.append(form);
    }
    return list;
}

// The three lists of comparing file 1's lines with file 2's.
struct Lists
{
    QStringList inBoth;  // lines of file 1 that file 2 also holds
    QStringList onlyIn1; // lines of file 1 not in file 2
    QStringList onlyIn2; // lines of file 2 not in file 1
};

inline Lists lists(const QStringList& one, const QStringList& two, const CompareOptions& options)
{
    return {listOf(one, two, options, true), listOf(one, two, options, false),
            listOf(two, one, options, false)};
}

// The distinct compared forms of a file's lines (Skip Empty leaves out the
// empty one), in the order they first come.
inline QStringList distinctForms(const QStringList& lines, const CompareOptions& options)
{
    QStringList forms;
    for (const QString& line : lines) {
        const QString form = comparedForm(line, options);
        if (!(options.skipEmpty && form.isEmpty()) && !forms.contains(form))
            forms.append(form);
    }
    return forms;
}

// How many distinct forms file 1 has, file 2 has, and both have.
inline QList<qsizetype> distinctCounts(const QStringList& one, const QStringList& two,
                                       const CompareOptions& options)
{
    const QStringList formsOne = distinctForms(one, options),
                      formsTwo = distinctForms(two, options);
    qsizetype both = 0;
    for (const QString& form : formsOne)
        both += formsTwo.contains(form);
    return {formsOne.size(), formsTwo.size(), both};
}

// How many lines are compared: all but those Skip Empty leaves out.
inline qsizetype comparedLines(const QStringList& lines, const CompareOptions& options)
{
    qsizetype count = 0;
    for (const QString& line : lines)
        count += !(options.skipEmpty && comparedForm(line, options).isEmpty());
    return count;
}

} // namespace ReferenceCompare
