#include "widgets/ChangedRows.h"

#include "compare/CompareEngine.h"
#include "compare/KeyTable.h"

#include <QCoreApplication>
#include <QStringList>

std::vector<ChangedRow::Span> FieldSpans(QStringView line, const CompareOptions& options)
{
    std::vector<ChangedRow::Span> spans;
    if (!options.OneCharacterDelimiter()) {
        spans.emplace_back(0, line.size());
        return spans;
    }
    const qsizetype size = line.size();
    if (options.delimiter == CompareOptions::BlankRuns()) {
        auto blank = [&](qsizetype i) {
            return line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t');
        };
        for (qsizetype at = 0;;) {
            while (at < size && blank(at))
                ++at;
            if (at == size)
                return spans;
            const qsizetype from = at;
            while (at < size && !blank(at))
                ++at;
            spans.emplace_back(from, at - from);
        }
    }
    const QStringView delimiter(options.delimiter);
    const bool quotes = delimiter == QLatin1String(",") || delimiter == QLatin1String(";");
    for (qsizetype at = 0;;) {
        // A quoted field runs to its closing quote (a doubled quote is one
        // quote in it), then on to the next delimiter.
        qsizetype after = at;
        if (quotes && at < size && line[at] == QLatin1Char('"')) {
            after = size;
            for (qsizetype i = at + 1; i < size; ++i) {
                if (line[i] != QLatin1Char('"'))
                    continue;
                if (i + 1 < size && line[i + 1] == QLatin1Char('"')) {
                    ++i;
                    continue;
                }
                after = i + 1;
                break;
            }
        }
        const qsizetype next = after < size ? line.indexOf(delimiter, after) : -1;
        const qsizetype end = next < 0 ? size : next;
        spans.emplace_back(at, end - at);
        if (next < 0)
            return spans;
        at = next + delimiter.size();
    }
}

QString FieldCaption(int f, const QStringList& header)
{
    if (f >= 1 && f <= header.size() && !header[f - 1].trimmed().isEmpty())
        return header[f - 1].trimmed();
    return QCoreApplication::translate("ChangedRows", "field %1").arg(f);
}

ChangedRow ChangedRowOf(const Comparison& comparison, qsizetype line)
{
    ChangedRow row;
    const qsizetype partner = PartnerOf(comparison, line);
    if (partner < 0)
        return row;
    const CompareOptions& options = OptionsOf(comparison);
    row.line = LineText(comparison, 1, line);
    row.partner = LineText(comparison, 2, partner);
    const Records::Change change = Records::Between(row.line, row.partner, options);
    const QString arrow = QStringLiteral(" \u2192 ");
    if (options.field <= 0) {
        // A key pattern: the stretch of each line the other does not share.
        row.changed1.emplace_back(change.first1, change.length1);
        row.changed2.emplace_back(change.first2, change.length2);
        row.words =
            QStringLiteral("\u201c%1\u201d").arg(row.line.mid(change.first1, change.length1)) +
            arrow +
            QStringLiteral("\u201c%1\u201d").arg(row.partner.mid(change.first2, change.length2));
        return row;
    }
    const QStringList header =
        options.header ? KeyForm::Fields(HeaderLine(comparison, 1), options) : QStringList();
    const QStringList fields1 = KeyForm::Fields(row.line, options);
    const QStringList fields2 = KeyForm::Fields(row.partner, options);
    const auto spans1 = FieldSpans(row.line, options);
    const auto spans2 = FieldSpans(row.partner, options);
    auto shown = [](const QStringList& fields, int n) {
        if (n > fields.size())
            return QCoreApplication::translate("ChangedRows", "(none)");
        return fields[n - 1].isEmpty() ? QCoreApplication::translate("ChangedRows", "(empty)")
                                       : fields[n - 1];
    };
    QStringList said;
    for (const int f : change.fields) {
        if (f <= int(spans1.size()))
            row.changed1.push_back(spans1[size_t(f - 1)]);
        if (f <= int(spans2.size()))
            row.changed2.push_back(spans2[size_t(f - 1)]);
        said.append(FieldCaption(f, header) + QStringLiteral(": ") + shown(fields1, f) + arrow +
                    shown(fields2, f));
    }
    row.words = said.join(QStringLiteral("; "));
    return row;
}
