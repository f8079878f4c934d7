#include "app/CompanionOutputs.h"

#include "app/CompanionOptions.h"
#include "compare/NearMisses.h"
#include "platform/ListTextWriter.h"
#include "results/ListKinds.h"

#include <algorithm>

namespace {

// One list, as the window saves it, with the line end asked for.
class ListOutput final : public CompanionOutput
{
public:
    explicit ListOutput(const ListKind& list) : m_list(list) {}

    QString Option() const override { return QString::fromLatin1(m_list.option); }

    QString Description() const override { return QString::fromLatin1(m_list.help); }

    bool StreamedWithFile2() const override { return m_list.kind == ResultKind::OnlyIn2; }
    bool ReadsOnlyIn2() const override { return m_list.kind == ResultKind::OnlyIn2; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions& options) const override
    {
        WriteListText(comparison, m_list.kind, write, options.lineEnd);
    }

private:
    const ListKind& m_list;
};

// The lists as CSV (RFC 4180): a header row, then one row a line,
// list,line,text, each row ended by CR LF whatever ends the lists' lines. A
// text holding a comma, a quote, a CR or an LF is quoted, its quotes doubled.
class CsvOutput final : public CompanionOutput
{
public:
    QString Option() const override { return QStringLiteral("csv"); }
    QString Description() const override
    {
        return QStringLiteral("Write the three lists to PATH as CSV: list,line,text.");
    }
    bool ReadsOnlyIn2() const override { return true; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions&) const override
    {
        ListTextWriter out(write, ListTextWriter::kPieceBytes, LineEnd::CrLf);
        out.AddEncoded("list,line,text");
        QByteArray row;
        for (const ListKind& list : kListKinds) {
            ForEachListLine(comparison, list.kind, [&](qsizetype line, QByteArrayView text) {
                row.resize(0);
                row += list.csvName;
                row += ',';
                row += QByteArray::number(line + 1);
                row += ',';
                const bool quoted = std::any_of(text.begin(), text.end(), [](char c) {
                    return c == ',' || c == '"' || c == '\r' || c == '\n';
                });
                if (!quoted) {
                    row += text;
                } else {
                    row += '"';
                    for (char c : text) {
                        row += c;
                        if (c == '"')
                            row += '"';
                    }
                    row += '"';
                }
                out.AddEncoded(row);
            });
        }
        out.Flush();
    }
};

// The lines only in one file that look like a line only in the other: one
// line a pair, LINE1<TAB>LINE2<TAB>what differs, numbers from 1, ended by LF.
class NearMissesOutput final : public CompanionOutput
{
public:
    QString Option() const override { return QStringLiteral("near-misses"); }
    QString Description() const override
    {
        return QStringLiteral("Write to PATH the lines only in one file that look like a line "
                              "only in the other: LINE1<TAB>LINE2<TAB>what differs.");
    }
    bool ReadsOnlyIn2() const override { return true; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions&) const override
    {
        ListTextWriter out(write, ListTextWriter::kPieceBytes, LineEnd::Lf);
        NearMisses::ForEach(comparison, [&out](const NearMisses::Pair& pair) {
            out.AddEncoded(QByteArray::number(pair.line1 + 1) + '\t' +
                           QByteArray::number(pair.line2 + 1) + '\t' +
                           NearMisses::Describe(pair.why).toUtf8());
        });
        out.Flush();
    }
};

} // namespace

const std::vector<std::unique_ptr<const CompanionOutput>>& CompanionOutputs()
{
    static const auto outputs = [] {
        std::vector<std::unique_ptr<const CompanionOutput>> all;
        for (const ListKind& list : kListKinds)
            all.push_back(std::make_unique<ListOutput>(list));
        all.push_back(std::make_unique<CsvOutput>());
        all.push_back(std::make_unique<NearMissesOutput>());
        return all;
    }();
    return outputs;
}
