#pragma once

// What the lists of a comparison are, stated as plainly as they can be:
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
#include <algorithm>

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
        const QRegularExpression pattern(
            options.keyPattern, options.matchCase ? QRegularExpression::NoPatternOption
                                                  : QRegularExpression::CaseInsensitiveOption);
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

// A text as a key field, a key or a line is compared: in its look-alike
// form with Look Alike, without the blanks at its ends with Ignore Blanks,
// and with Match Case off each 16-bit character lowered on its own
// (QChar::toLower). So a character beyond the 16-bit range, written as two
// surrogates, is never folded, and neither is a capital whose small letter
// takes more than one character: U+0130, capital I with a dot, stays as it
// is and matches neither i nor I. Ignore Blanks leaves out blanks at the
// ends only; the blanks between words still count. No character lowers to
// a blank or from one.
inline QString formOf(const QString& text, const CompareOptions& options)
{
    const QString shaped = options.lookAlike ? lookAlike(text) : text;
    qsizetype begin = 0, end = shaped.size();
    if (options.ignoreBlanks) {
        while (begin < end && isBlank(shaped[begin]))
            ++begin;
        while (end > begin && isBlank(shaped[end - 1]))
            --end;
    }
    QString form = shaped.sliced(begin, end - begin);
    if (!options.matchCase) {
        for (QChar& c : form)
            c = c.toLower();
    }
    return form;
}

// A line as it is compared: its key (userKey) in its compared form; two
// lines are the same line when these are equal, character for character.
// A key of several fields is each field's form (a field the line lacks is
// empty), each told from the next by its length; empty when all are.
inline QString comparedForm(const QString& wholeLine, const CompareOptions& options)
{
    if (options.field <= 0 || options.moreFields.isEmpty())
        return formOf(userKey(wholeLine, options), options);
    const QStringList fields = fieldsOf(wholeLine, options);
    QString form;
    bool allEmpty = true;
    for (const int f : QList<int>{options.field} + options.moreFields) {
        const QString field = formOf(f <= fields.size() ? fields[f - 1] : QString(), options);
        allEmpty = allEmpty && field.isEmpty();
        form += QString::number(field.size()) + QLatin1Char(':') + field;
    }
    return allEmpty ? QString() : form;
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

// With a key field: the fields (from 1) in which two lines differ as
// records, ignored fields never; a field one line lacks differs even from
// an empty one. With a key pattern: one (0) when their keys or their whole
// lines differ in their compared forms. Lines are the same record when
// there is none.
inline QList<int> differences(const QString& line1, const QString& line2,
                              const CompareOptions& options)
{
    if (options.field <= 0) {
        const bool same = comparedForm(line1, options) == comparedForm(line2, options) &&
                          formOf(line1, options) == formOf(line2, options);
        return same ? QList<int>{} : QList<int>{0};
    }
    const QStringList fields1 = fieldsOf(line1, options), fields2 = fieldsOf(line2, options);
    QList<int> differ;
    for (int f = 1; f <= std::max(fields1.size(), fields2.size()); ++f) {
        if (options.ignoreFields.contains(f))
            continue;
        if (f > fields1.size() || f > fields2.size() ||
            formOf(fields1[f - 1], options) != formOf(fields2[f - 1], options))
            differ.append(f);
    }
    return differ;
}

// With a key pattern: where two lines differ, as {first1, length1, first2,
// length2}: all but the longest start and then the longest end they share
// (compared as Match Case says).
inline QList<qsizetype> stretches(const QString& line1, const QString& line2,
                                  const CompareOptions& options)
{
    auto same = [&](QChar x, QChar y) {
        return options.matchCase ? x == y : x.toLower() == y.toLower();
    };
    const qsizetype shorter = std::min(line1.size(), line2.size());
    qsizetype head = 0, tail = 0;
    while (head < shorter && same(line1[head], line2[head]))
        ++head;
    while (tail < shorter - head &&
           same(line1[line1.size() - 1 - tail], line2[line2.size() - 1 - tail]))
        ++tail;
    return {head, line1.size() - head - tail, head, line2.size() - head - tail};
}

// The four lists of comparing file 1's lines with file 2's.
struct Lists
{
    QStringList inBoth;  // lines of file 1 that file 2 also holds (with a key: unchanged)
    QStringList onlyIn1; // lines of file 1 not in file 2
    QStringList onlyIn2; // lines of file 2 not in file 1
    QStringList changed; // with a key: lines of file 1 whose key file 2 holds, changed there
};

// Everything a comparison tells of two files.
struct Outcome
{
    Lists lists;
    // The options with field names put in their places by number.
    CompareOptions options;
    // Set when the options cannot be compared with once field names are
    // known: an unknown name, or a field both in the key and ignored.
    bool refused = false;
    // Of each line of file 1, as numbered in the file: the line of file 2
    // it is paired with when it is changed, else -1.
    QList<qsizetype> partners;
    // Distinct keys in file 1, in file 2, in both, and of those in both the
    // changed ones (a key whose first line in file 1 is changed).
    QList<qsizetype> distinct;
    // Lines compared in each file; keys held on more than one line of each.
    qsizetype compared1 = 0, compared2 = 0, duplicates1 = 0, duplicates2 = 0;
};

// Puts field names in their places by number, from file 1's first line
// (split as the fields of any line): a name is the first field that spells
// it exactly, else a number from 1 up. False for any other name.
inline bool resolveNames(CompareOptions& options, const QString& header)
{
    const QStringList names = fieldsOf(header, options);
    bool known = true;
    auto numbered = [&](const QStringList& given) {
        QList<int> fields;
        for (const QString& name : given) {
            bool isNumber = false;
            const int n = name.toInt(&isNumber);
            if (names.contains(name))
                fields.append(int(names.indexOf(name)) + 1);
            else if (isNumber && n >= 1)
                fields.append(n);
            else
                known = false;
        }
        return fields;
    };
    if (!options.keyNames.isEmpty()) {
        const QList<int> key = numbered(options.keyNames);
        if (!key.isEmpty()) {
            options.field = key.front();
            options.moreFields = key.mid(1);
        }
    }
    options.ignoreFields += numbered(options.ignoreNames);
    options.keyNames.clear();
    options.ignoreNames.clear();
    return known;
}

inline Outcome compare(QStringList one, QStringList two, CompareOptions options)
{
    Outcome out;
    out.partners = QList<qsizetype>(one.size(), -1);
    // A header is the first line of a file, in no list and no count; the
    // other lines keep their numbers.
    const qsizetype offset = options.header && !one.isEmpty() ? 1 : 0;
    const QString header = offset ? one.takeFirst() : QString();
    if (options.header && !two.isEmpty())
        two.removeFirst();
    if (!resolveNames(options, header))
        out.refused = true;
    for (const int f : options.ignoreFields)
        out.refused = out.refused || f == options.field || options.moreFields.contains(f);
    out.options = options;
    if (out.refused)
        return out;

    QStringList formsOne, formsTwo;
    for (const QString& line : one)
        formsOne.append(comparedForm(line, options));
    for (const QString& line : two)
        formsTwo.append(comparedForm(line, options));
    auto compared = [&](const QString& form) { return !(options.skipEmpty && form.isEmpty()); };
    // Line i of a file lands in a list when it is compared, and, each line
    // once, when no line before it has the same form.
    auto listed = [&](const QStringList& forms, qsizetype i) {
        return compared(forms[i]) && !(options.eachOnce && forms.first(i).contains(forms[i]));
    };
    const bool keyed = options.field > 0 || !options.keyPattern.isEmpty();
    auto sameRecord = [&](qsizetype i, qsizetype j) {
        return formsOne[i] == formsTwo[j] && differences(one[i], two[j], options).isEmpty();
    };
    auto isChanged = [&](qsizetype i) {
        if (!keyed || !compared(formsOne[i]) || !formsTwo.contains(formsOne[i]))
            return false;
        for (qsizetype j = 0; j < two.size(); ++j) {
            if (sameRecord(i, j))
                return false;
        }
        return true;
    };
    for (qsizetype i = 0; i < one.size(); ++i) {
        if (isChanged(i)) {
            // The first line of file 2 with its key that is the same record as
            // no line of file 1, or else the first with its key.
            qsizetype first = -1, firstFree = -1;
            for (qsizetype j = two.size() - 1; j >= 0; --j) {
                if (formsTwo[j] != formsOne[i])
                    continue;
                first = j;
                bool taken = false;
                for (qsizetype k = 0; k < one.size(); ++k)
                    taken = taken || sameRecord(k, j);
                if (!taken)
                    firstFree = j;
            }
            out.partners[i + offset] = (firstFree >= 0 ? firstFree : first) + offset;
        }
        if (!listed(formsOne, i))
            continue;
        if (!formsTwo.contains(formsOne[i]))
            out.lists.onlyIn1.append(one[i]);
        else if (isChanged(i))
            out.lists.changed.append(one[i]);
        else
            out.lists.inBoth.append(one[i]);
    }
    for (qsizetype j = 0; j < two.size(); ++j) {
        if (listed(formsTwo, j) && !formsOne.contains(formsTwo[j]))
            out.lists.onlyIn2.append(two[j]);
    }

    // Distinct keys, and those held more than once.
    QStringList keysOne, keysTwo;
    auto count = [&](const QStringList& forms, QStringList& keys, qsizetype& lines,
                     qsizetype& duplicates) {
        QStringList seenTwice;
        for (const QString& form : forms) {
            if (!compared(form))
                continue;
            ++lines;
            if (keys.contains(form) && !seenTwice.contains(form))
                seenTwice.append(form);
            else if (!keys.contains(form))
                keys.append(form);
        }
        duplicates = seenTwice.size();
    };
    count(formsOne, keysOne, out.compared1, out.duplicates1);
    count(formsTwo, keysTwo, out.compared2, out.duplicates2);
    qsizetype both = 0, changed = 0;
    for (const QString& key : keysOne) {
        if (keysTwo.contains(key)) {
            ++both;
            changed += isChanged(formsOne.indexOf(key));
        }
    }
    out.distinct = {keysOne.size(), keysTwo.size(), both, changed};
    return out;
}

} // namespace ReferenceCompare
