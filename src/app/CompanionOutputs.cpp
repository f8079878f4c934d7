#include "app/CompanionOutputs.h"

#include "app/CompanionOptions.h"
#include "compare/KeyTable.h"
#include "compare/NearMisses.h"
#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "results/ListKinds.h"
#include "results/ListsCsv.h"

#include <algorithm>
#include <vector>

#include <QCoreApplication>
#include <QHash>

namespace {

// One list, as the window saves it, with the line end asked for.
class ListOutput final : public CompanionOutput
{
public:
    explicit ListOutput(const ListKind& list) : m_list(list) {}

    QString Option() const override { return QString::fromLatin1(m_list.option); }

    QString Description() const override { return HelpText(m_list); }

    bool StreamedWithFile2() const override { return m_list.kind == ResultKind::OnlyIn2; }
    bool NeedsKey() const override { return m_list.onlyWithKey; }
    bool ReadsOnlyIn2() const override { return m_list.kind == ResultKind::OnlyIn2; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions& options) const override
    {
        WriteListText(comparison, m_list.kind, write, options.lineEnd);
    }

private:
    const ListKind& m_list;
};

// The lists as CSV (results/ListsCsv.h, which the window's "Save All Lists
// As CSV..." writes too): list,line,text, with a key also partner.
class CsvOutput final : public CompanionOutput
{
public:
    QString Option() const override { return QStringLiteral("csv"); }
    QString Description() const override
    {
        return QCoreApplication::translate(
            "Companion", "Write the lists to PATH as CSV: list,line,text (with a key, "
                         "and the partner of a changed line).");
    }
    bool ReadsOnlyIn2() const override { return true; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions&) const override
    {
        ListsCsv::Write(comparison, write);
    }
};

// The changed lines with their partners as CSV (RFC 4180, rows ended by CR
// LF): line_1,line_2,fields,text_1,text_2, one row a changed line in file 1's
// order; fields are the numbers (names with a header) of the fields that
// differ, joined by ';', empty with a key pattern.
class ChangesOutput final : public CompanionOutput
{
public:
    QString Option() const override { return QStringLiteral("changes"); }
    QString Description() const override
    {
        return QCoreApplication::translate(
            "Companion", "With a key, write each changed line and its partner to PATH as "
                         "CSV: line_1,line_2,fields,text_1,text_2.");
    }
    bool ReadsOnlyIn2() const override { return true; }
    bool NeedsKey() const override { return true; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions&) const override
    {
        ListTextWriter out(write, ListTextWriter::kPieceBytes, LineEnd::CrLf);
        out.AddEncoded("line_1,line_2,fields,text_1,text_2");
        // Each field's name (or number) as it is written, made once.
        const QStringList names = FieldNames(comparison);
        std::vector<QByteArray> written;
        const auto nameOf = [&](int f) -> const QByteArray& {
            while (qsizetype(written.size()) < f)
                written.push_back(FieldName(names, int(written.size()) + 1).toUtf8());
            return written[size_t(f - 1)];
        };
        QByteArray row;
        QByteArray fields;
        ForEachChange(comparison, [&](qsizetype line, QByteArrayView text, qsizetype partner,
                                      QByteArrayView partnerText, const Records::Change& change) {
            fields.resize(0);
            for (const int f : change.fields) {
                if (!fields.isEmpty())
                    fields += ';';
                fields += nameOf(f);
            }
            row.resize(0);
            row += QByteArray::number(line + 1);
            row += ',';
            row += QByteArray::number(partner + 1);
            row += ',';
            ListsCsv::AppendField(row, fields);
            row += ',';
            ListsCsv::AppendField(row, text);
            row += ',';
            ListsCsv::AppendField(row, partnerText);
            out.AddEncoded(row);
        });
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
        return QCoreApplication::translate(
            "Companion", "Write to PATH the lines only in one file that look like a line "
                         "only in the other: LINE1<TAB>LINE2<TAB>what differs, at most 10 "
                         "a line, then LINE1<TAB><TAB>and N more like it.");
    }
    bool ReadsOnlyIn2() const override { return true; }

    void Write(const Comparison& comparison, const ListWriter& write,
               const CompanionOptions&) const override
    {
        ListTextWriter out(write, ListTextWriter::kPieceBytes, LineEnd::Lf);
        // Each kind of difference in words once: most pairs differ alike.
        QHash<unsigned, QByteArray> words;
        QByteArray row;
        NearMisses::ForEach(comparison, [&](const NearMisses::Pair& pair) {
            row.setNum(pair.line1 + 1);
            if (pair.more > 0) {
                row += "\t\tand ";
                row += QByteArray::number(pair.more);
                row += " more like it";
            } else {
                auto said = words.find(pair.why);
                if (said == words.end())
                    said = words.insert(pair.why, NearMisses::Describe(pair.why).toUtf8());
                row += '\t';
                row += QByteArray::number(pair.line2 + 1);
                row += '\t';
                row += *said;
            }
            out.AddEncoded(row);
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
        all.push_back(std::make_unique<ChangesOutput>());
        all.push_back(std::make_unique<NearMissesOutput>());
        return all;
    }();
    return outputs;
}

QStringList FieldNames(const Comparison& comparison)
{
    const CompareOptions& options = OptionsOf(comparison);
    return options.header ? KeyForm::Fields(HeaderLine(comparison, 1), options) : QStringList();
}

QString FieldName(const QStringList& names, int field)
{
    const QString name = Records::FieldText(names, field);
    return name.isEmpty() ? QString::number(field) : name;
}
