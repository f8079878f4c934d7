#include "results/ListsCsv.h"

#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "results/ListKinds.h"
#include "results/ListSaving.h"
#include "results/ResultList.h"

#include <algorithm>

namespace {

QByteArrayView header(bool keyed)
{
    return keyed ? "list,line,text,partner" : "list,line,text";
}

// A line's row; line and partner count from 0, -1 leaves the field empty.
void makeRow(QByteArray& row, const ListKind& list, qsizetype line, QByteArrayView text, bool keyed,
             qsizetype partner)
{
    row.resize(0);
    row += list.csvName;
    row += ',';
    if (line >= 0)
        row += QByteArray::number(line + 1);
    row += ',';
    ListsCsv::AppendField(row, text);
    if (keyed) {
        row += ',';
        if (list.kind == ResultKind::Changed && partner >= 0)
            row += QByteArray::number(partner + 1);
    }
}

} // namespace

void ListsCsv::AppendField(QByteArray& row, QByteArrayView text)
{
    const bool quoted = std::any_of(text.begin(), text.end(), [](char c) {
        return c == ',' || c == '"' || c == '\r' || c == '\n';
    });
    if (!quoted) {
        row += text;
        return;
    }
    row += '"';
    // A stretch at a time, each up to and with a quote, which is doubled.
    for (qsizetype from = 0; from < text.size();) {
        const qsizetype quote = text.indexOf('"', from);
        const qsizetype end = quote < 0 ? text.size() : quote + 1;
        row += text.sliced(from, end - from);
        if (quote >= 0)
            row += '"';
        from = end;
    }
    row += '"';
}

void ListsCsv::Write(const Comparison& comparison, const ListWriter& write)
{
    const CompareOptions& options = OptionsOf(comparison);
    const bool keyed = options.HasKey();
    ListTextWriter out(write, ListTextWriter::kPieceBytes, LineEnd::CrLf);
    out.AddEncoded(header(keyed));
    QByteArray row;
    for (const ListKind& list : kListKinds) {
        if (!ListShown(list, options))
            continue;
        ForEachListRow(comparison, list.kind,
                       [&](qsizetype line, QByteArrayView text, qsizetype partner) {
                           makeRow(row, list, line, text, keyed, partner);
                           out.AddEncoded(row);
                       });
    }
    out.Flush();
}

bool ListsCsv::Save(const QString& path, const std::vector<ShownList>& lists,
                    std::shared_ptr<const Comparison> changes, SaveControl& control)
{
    // The lists a key makes are shown only after a comparison on a key.
    const bool keyed = std::any_of(lists.begin(), lists.end(),
                                   [](const ShownList& list) { return list.kind->onlyWithKey; });
    return SaveInPieces(path, control, [&](ListTextWriter& out, const auto& more) {
        out.AddEncoded(header(keyed));
        QByteArray row;
        QByteArray encoded;
        for (const ShownList& list : lists) {
            const ResultList& items = *list.items;
            const bool changed = list.kind->kind == ResultKind::Changed && changes;
            for (int position = 1; position <= items.Count(); ++position) {
                const qsizetype line = items.LineNumber(position);
                // The item's text back in its file's bytes (AnsiCodec keeps them all).
                encoded = AnsiCodec::Encode(items.ItemText(position));
                makeRow(row, *list.kind, line, encoded, keyed,
                        changed && line >= 0 ? PartnerOf(*changes, line) : -1);
                out.AddEncoded(row);
                if (!more())
                    return;
            }
        }
    });
}
