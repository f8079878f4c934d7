#include "compare/Records.h"

#include "compare/CaseFolding.h"
#include "compare/CompareProgress.h"
#include "compare/KeyTable.h"
#include "compare/LineKeys.h"
#include "platform/AnsiCodec.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstring>

namespace Records {

namespace {

QString lineText(const LineTable& table, qsizetype i)
{
    return table.isText(i) ? table.text(i) : AnsiCodec::Decode(table.bytes(i));
}

// A field as its record is compared by it: in its look-alike form, then
// without the blanks at its ends, as a key field is.
QString comparedField(const QString& field, const CompareOptions& options)
{
    QString text = options.lookAlike ? KeyForm::LookAlike(field) : field;
    if (options.ignoreBlanks)
        text = Engine::comparedPart(QStringView(text), true).toString();
    return text;
}

bool holds(QByteArrayView bytes, char c)
{
    return bytes.size() > 0 && std::memchr(bytes.data(), c, size_t(bytes.size())) != nullptr;
}

// Whether bytes of no ASCII beyond letters from U+00A1 to U+017F are
// already their look-alike form (as a key is tested in KeyTable).
bool asciiOnly(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class Maker
{
public:
    explicit Maker(const CompareOptions& options) : m_options(options)
    {
        // A line split at commas that holds no double quote is its own join;
        // so is one split at another ASCII character that no field can hold.
        const QString& d = options.delimiter;
        m_asIs = options.field > 0 && d.size() == 1 && d != CompareOptions::BlankRuns() &&
                 d.front().unicode() < 0x80 && !d.front().isLetter() &&
                 options.ignoreFields.isEmpty();
        m_quotes = d == QStringLiteral(",") || d == QStringLiteral(";");
        m_comma.delimiter = QStringLiteral(",");
    }

    void add(const LineTable& lines, const LineTable& keys, qsizetype i, LineTable& out)
    {
        if (m_asIs && !lines.isText(i)) {
            const QByteArrayView bytes = lines.bytes(i);
            if ((!m_quotes || !holds(bytes, '"')) &&
                (!m_options.ignoreBlanks || (!holds(bytes, ' ') && !holds(bytes, '\t'))) &&
                (!m_options.lookAlike || asciiOnly(bytes))) {
                out.AddBytes(bytes);
                return;
            }
        }
        const QString line = lineText(lines, i);
        if (m_options.field <= 0) {
            // A pattern's key and the whole line: lines alike whose keys
            // differ (a pattern that tells case apart) are not the same record.
            const QString key = comparedField(lineText(keys, i), m_options);
            out.AddText(KeyForm::JoinedFields({key, comparedField(line, m_options)}, m_comma));
            return;
        }
        const QStringList fields = KeyForm::Fields(line, m_options);
        QStringList compared;
        compared.reserve(fields.size());
        for (qsizetype f = 0; f < fields.size(); ++f) {
            // An ignored field is left empty: fields keep their places.
            compared.append(m_options.ignoreFields.contains(int(f + 1))
                                ? QString()
                                : comparedField(fields[f], m_options));
        }
        // Ignored fields at the end count for nothing, whether a line has
        // them or not.
        while (!compared.isEmpty() && m_options.ignoreFields.contains(int(compared.size())))
            compared.removeLast();
        out.AddText(KeyForm::JoinedFields(compared, m_options));
    }

private:
    const CompareOptions& m_options;
    CompareOptions m_comma;
    bool m_asIs = false, m_quotes = false;
};

bool sameText(QStringView a, QStringView b, bool matchCase)
{
    if (matchCase)
        return a == b;
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](QChar x, QChar y) {
               return x == y || x.toLower() == y.toLower();
           });
}

} // namespace

LineTable ComparedTable(const LineTable& lines, const LineTable& keys,
                        const std::vector<qint32>& which, const CompareOptions& options,
                        const CompareProgress* progress)
{
    LineTable out = LineTable::Over(lines);
    out.Reserve(qsizetype(which.size()));
    Maker maker(options);
    size_t done = 0;
    for (const qint32 i : which) {
        if (progress && (++done & 0xFFFF) == 0)
            progress->ThrowIfCancelled();
        maker.add(lines, keys, i, out);
    }
    return out;
}

Change Between(const QString& line1, const QString& line2, const CompareOptions& options)
{
    Change change;
    if (options.field <= 0) {
        // The stretches between the start and the end the lines share.
        const qsizetype shorter = std::min(line1.size(), line2.size());
        qsizetype head = 0;
        while (head < shorter && sameText(QStringView(line1).sliced(head, 1),
                                          QStringView(line2).sliced(head, 1), options.matchCase))
            ++head;
        qsizetype tail = 0;
        while (tail < shorter - head &&
               sameText(QStringView(line1).sliced(line1.size() - 1 - tail, 1),
                        QStringView(line2).sliced(line2.size() - 1 - tail, 1), options.matchCase))
            ++tail;
        change.first1 = change.first2 = head;
        change.length1 = line1.size() - head - tail;
        change.length2 = line2.size() - head - tail;
        return change;
    }
    const QStringList fields1 = KeyForm::Fields(line1, options);
    const QStringList fields2 = KeyForm::Fields(line2, options);
    const qsizetype count = std::max(fields1.size(), fields2.size());
    for (int f = 1; f <= count; ++f) {
        if (options.ignoreFields.contains(f))
            continue;
        const bool in1 = f <= fields1.size(), in2 = f <= fields2.size();
        if (in1 != in2 ||
            !sameText(comparedField(FieldText(fields1, f), options),
                      comparedField(FieldText(fields2, f), options), options.matchCase))
            change.fields.append(f);
    }
    return change;
}

bool BetweenBytes(QByteArrayView line1, QByteArrayView line2, const CompareOptions& options,
                  Change& change)
{
    const QString& d = options.delimiter;
    if (options.field <= 0 || options.lookAlike || options.ignoreBlanks || d.size() != 1 ||
        d == CompareOptions::BlankRuns() || d.front().unicode() >= 0x80 || holds(line1, '"') ||
        holds(line2, '"'))
        return false;
    const char delimiter = char(d.front().unicode());
    change.fields.clear();
    qsizetype at1 = 0, at2 = 0;
    for (int f = 1;; ++f) {
        const bool in1 = at1 <= line1.size(), in2 = at2 <= line2.size();
        if (!in1 && !in2)
            return true;
        qsizetype end1 = in1 ? line1.indexOf(delimiter, at1) : -1;
        qsizetype end2 = in2 ? line2.indexOf(delimiter, at2) : -1;
        if (end1 < 0)
            end1 = line1.size();
        if (end2 < 0)
            end2 = line2.size();
        if (!options.ignoreFields.contains(f)) {
            bool same = in1 && in2;
            if (same) {
                const QByteArrayView one = line1.sliced(at1, end1 - at1);
                const QByteArrayView two = line2.sliced(at2, end2 - at2);
                if (options.matchCase || one == two) {
                    same = one == two;
                } else {
                    // Case ignored: ASCII is lowered here, anything else is not.
                    if (!asciiOnly(one) || !asciiOnly(two))
                        return false;
                    same = one.compare(two, Qt::CaseInsensitive) == 0;
                }
            }
            if (!same)
                change.fields.append(f);
        }
        at1 = in1 ? end1 + 1 : at1;
        at2 = in2 ? end2 + 1 : at2;
    }
}

} // namespace Records
