#pragma once

// What the three lists of a comparison are, stated as plainly as they can be:
// every line of one file is compared with every line of the other. The
// engine's test and its fuzz target hold the engine to these lists; this is
// written to be read, not to be fast.
//
// The lines come in already split, each as it stands in its file.

#include "compare/CompareOptions.h"

#include <QChar>
#include <QString>
#include <QStringList>

namespace ReferenceCompare {

// Ignore Blanks drops these at either end of a line: a space and a tab,
// nothing else (not a no-break space, nor any other white space).
inline bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
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
inline QString comparedForm(const QString& line, const CompareOptions& options)
{
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
