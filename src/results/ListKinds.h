#pragma once

#include "compare/CompareEngine.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>
#include <array>
#include <cstddef>
#include <string_view>

// Everything that tells one result list from another, in one row a list: the
// engine's rule for its lines, what the window and the companion call it, and
// how the window shows it. Every list the window shows and the companion
// writes comes from this table, in its order; adding a list is adding a row
// here and the engine's rule for its ResultKind.
struct ListKind
{
    ResultKind kind;
    // Its frame's caption in the window (translated: CaptionText), and the
    // label of its count in the companion's plain counts (kept in English,
    // for the scripts that read them).
    const char* caption;
    // The companion's option that writes it (--both) with what --help says
    // of it (translated: HelpText), its name in the CSV file's list column, and its key in the JSON
    // summary.
    const char* option;
    const char* help;
    const char* csvName;
    const char* summaryKey;
    // Whose lines it holds (1 or 2), and whether they are lines the other
    // file lacks, which have look-alikes to look for.
    int file;
    bool onlyInOneFile;
    // Where its distinct lines sit in the window's overlap bar, counted from
    // the left (-1 for a list not in the bar), and their colour there
    // (0xRRGGBB).
    int barPlace;
    quint32 barColour;
    // The design names of its controls in the window: the frame, the list,
    // its Save and Copy buttons, its counts and its find bar.
    struct
    {
        const char *frame, *list, *save, *copy, *counts, *findBar;
    } controls;
    // Whether the list exists only when lines are compared on a key (a key
    // field or a key pattern): without one the window does not show it and
    // the companion neither counts nor offers it.
    bool onlyWithKey = false;
};

inline constexpr std::array<ListKind, 4> kListKinds{{
    {ResultKind::InBoth,
     QT_TRANSLATE_NOOP("ListKinds", "Lines In Both Text Files"),
     "both",
     QT_TRANSLATE_NOOP("ListKinds", "Write the lines of FILE1 also in FILE2 to PATH."),
     "both",
     "both",
     1,
     false,
     1,
     0x8fc48a,
     {"Frame1", "ListView1", "PushButton2", "PushButton8", "Counts1", "FindBar1"}},
    {ResultKind::OnlyIn1,
     QT_TRANSLATE_NOOP("ListKinds", "Lines In File 1 That Are Not In File 2"),
     "only-in-1",
     QT_TRANSLATE_NOOP("ListKinds", "Write the lines of FILE1 not in FILE2 to PATH."),
     "only_in_1",
     "only_in_1",
     1,
     true,
     0,
     0x9dc3e6,
     {"Frame2", "ListView2", "PushButton5", "PushButton9", "Counts2", "FindBar2"}},
    {ResultKind::OnlyIn2,
     QT_TRANSLATE_NOOP("ListKinds", "Lines In File 2 That Are Not In File 1"),
     "only-in-2",
     QT_TRANSLATE_NOOP("ListKinds", "Write the lines of FILE2 not in FILE1 to PATH."),
     "only_in_2",
     "only_in_2",
     2,
     true,
     3,
     0xf2c97d,
     {"Frame3", "ListView3", "PushButton6", "PushButton10", "Counts3", "FindBar3"}},
    {ResultKind::Changed,
     QT_TRANSLATE_NOOP("ListKinds", "Lines Changed In File 2"),
     "changed",
     QT_TRANSLATE_NOOP("ListKinds",
                       "With a key, write to PATH the lines of FILE1 that FILE2 holds changed."),
     "changed",
     "changed",
     1,
     false,
     2,
     0xd9a3c7,
     {"Frame7", "ListView4", "PushButton15", "PushButton16", "Counts4", "FindBar4"},
     true},
}};

inline constexpr std::size_t kListCount = kListKinds.size();

namespace ListKindChecks {

// Whether no two rows share what field gives of them.
template <typename Field> constexpr bool Distinct(Field field)
{
    for (std::size_t i = 0; i < kListCount; ++i)
        for (std::size_t j = i + 1; j < kListCount; ++j)
            if (field(kListKinds[i]) == field(kListKinds[j]))
                return false;
    return true;
}

// Whether the rows in the overlap bar take its places 0, 1, ... once each.
constexpr bool BarPlacesInTurn()
{
    int inBar = 0;
    for (const ListKind& row : kListKinds)
        inBar += row.barPlace >= 0 ? 1 : 0;
    for (const ListKind& row : kListKinds)
        if (row.barPlace >= inBar)
            return false;
    return Distinct(
        [](const ListKind& row) { return row.barPlace < 0 ? -1 - int(row.kind) : row.barPlace; });
}

} // namespace ListKindChecks

// A list is told apart by each of these, in the window, the companion's
// options, its CSV file and its summary; two rows alike would write one
// list over another.
static_assert(ListKindChecks::Distinct([](const ListKind& row) { return row.kind; }));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.caption);
}));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.option);
}));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.csvName);
}));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.summaryKey);
}));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.controls.list);
}));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.controls.save);
}));
static_assert(ListKindChecks::Distinct([](const ListKind& row) {
    return std::string_view(row.controls.copy);
}));
static_assert(ListKindChecks::BarPlacesInTurn());

// The row of kind; every ResultKind has one.
inline const ListKind& ListKindOf(ResultKind kind)
{
    for (const ListKind& row : kListKinds)
        if (row.kind == kind)
            return row;
    Q_UNREACHABLE();
}

// How many of the distinct lines counted in counts a list's bar part shows:
// the distinct lines of its file, less those the other file holds unless the
// list is of lines both hold; of those, the changed ones are the changed
// list's and the others the unchanged.
inline qsizetype DistinctInList(const DistinctCounts& counts, const ListKind& list)
{
    const qsizetype ofFile = list.file == 1 ? counts.file1 : counts.file2;
    if (list.onlyInOneFile)
        return ofFile - counts.both;
    return list.kind == ResultKind::Changed ? counts.changed : counts.both - counts.changed;
}

// Whether a comparison made with options has the list.
inline bool ListShown(const ListKind& list, const CompareOptions& options)
{
    return !list.onlyWithKey || options.HasKey();
}

// The list's caption and its --help line in the user's language.
inline QString CaptionText(const ListKind& list)
{
    return QCoreApplication::translate("ListKinds", list.caption);
}
inline QString HelpText(const ListKind& list)
{
    return QCoreApplication::translate("ListKinds", list.help);
}
