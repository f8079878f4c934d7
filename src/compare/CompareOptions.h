#pragma once

#include "compare/ReadOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// How two files are compared. Every option is off by default, which is the
// comparison of "Start Comparing" with "Match Case" unchecked.
//
// A line is compared by its key. By default the key is the whole line; a key
// field or a key pattern takes a part of it, look-alike spelling is brought
// to one form, then Ignore Blanks and Match Case apply to what is left. The
// lists always hold whole lines as they stand in their files.
struct CompareOptions
{
    // Letter case counts; otherwise lines compare lower-cased character by character.
    bool matchCase = false;
    // Blanks and tabs at the start and end of a line do not count; the lists
    // still show each line as it stands in its file.
    bool ignoreBlanks = false;
    // Each list holds a line only at its first place; later repeats are left out.
    bool eachOnce = false;

    // The field compared, counted from 1; 0 compares the whole line. A line
    // with fewer fields has the empty key.
    int field = 0;
    // Further fields of the key, after field: "1,3" is field 1 with 3 here.
    // The key is then those fields together, each as field alone takes it.
    QList<int> moreFields;
    // With a key field: fields whose differences do not make a record
    // changed (time stamps, export dates). Never a field of the key.
    QList<int> ignoreFields;
    // The first line of each file names the fields: it is neither compared
    // nor listed, and the other lines keep their numbers in their files.
    bool header = false;
    // With header: key fields and ignored fields given by name (or number),
    // found in file 1's first line once the comparison has read it; the key's
    // take the place of field and moreFields, the ignored join ignoreFields.
    QStringList keyNames, ignoreNames;
    // What separates fields: one character, where "," and ";" allow a field in
    // double quotes to hold it (a doubled quote in it stands for one quote);
    // BlankRuns() (a space) splits at runs of blanks and tabs, as awk does.
    QString delimiter = QStringLiteral(",");
    // The key is the pattern's first capture group, or its whole match when
    // it has no group; a line it does not match is compared whole.
    // Perl-compatible, as QRegularExpression reads it; without matchCase it
    // matches letters of either case. Empty: no pattern.
    QString keyPattern;
    // Lines that look alike compare equal: Unicode NFC, every Unicode space a
    // plain space, zero-width characters left out, and a byte of no valid
    // UTF-8 sequence read as its Windows-1252 character.
    bool lookAlike = false;
    // Lines whose key is empty (after the options above) are in no list and
    // in no count.
    bool skipEmpty = false;

    // Also find repeats within each file without eachOnce, so that
    // CountDistinct can answer. Changes no list.
    bool countDistinct = false;

    // How the two files are read.
    ReadOptions read;

    // The delimiter that splits at runs of blanks and tabs.
    static QString BlankRuns() { return QStringLiteral(" "); }
    // The delimiter a name stands for: the words "tab" and "space" (in any
    // case) a tab and BlankRuns(); anything else itself.
    static QString DelimiterNamed(const QString& name);
    // Whether the delimiter is one character as the user sees it: one code
    // point, outside the Basic Multilingual Plane too (two UTF-16 units).
    bool OneCharacterDelimiter() const
    {
        return delimiter.size() == 1 || (delimiter.size() == 2 && delimiter[0].isHighSurrogate() &&
                                         delimiter[1].isLowSurrogate());
    }
    // Whether the key is only a part of the line or a changed form of it.
    bool KeysDifferFromLines() const { return field > 0 || !keyPattern.isEmpty() || lookAlike; }
    // Whether lines are records with a key (a key field or a key pattern):
    // a line whose key the other file holds is then either unchanged there
    // or changed.
    bool HasKey() const { return field > 0 || !keyNames.isEmpty() || !keyPattern.isEmpty(); }
    // The key's fields in order: field, then moreFields; none without a key field.
    QList<int> KeyFields() const;
};

// Why options cannot be compared with, in a sentence for the user; empty when
// they can: a field below 0, a delimiter that is not one character, a field
// and a pattern together, or a pattern that does not compile (named, with
// the reason and where); further key fields without a first one, ignored
// fields without a key field, and an ignored field of the key.
QString CompareOptionsProblem(const CompareOptions& options);

// Puts the fields options names (keyNames, ignoreNames) in their places by
// number, from header, the fields of file 1's first line; a name that is a
// number from 1 up is that field. Returns why it cannot (an unknown name),
// or an empty text.
QString ResolveFieldNames(CompareOptions& options, const QStringList& header);
