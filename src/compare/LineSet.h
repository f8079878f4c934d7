#pragma once

#include "LineTable.h"

#include <QSet>
#include <QString>
#include <memory>
#include <vector>

// The distinct lines of one file, hashed once, for asking whether a line of
// another file occurs among them. Without matchCase two lines are equal when
// their characters lower-cased one by one are equal.
class LineSet
{
public:
    LineSet(const LineTable& lines, bool matchCase);

    bool contains(const LineTable& other, qsizetype i) const;

private:
    struct Slot
    {
        const char* key = nullptr;
        std::uint64_t lenAndTag = 0; // length in the low 40 bits, 24 bits of hash above
    };

    // What a line is compared by: bytes, or text when it has no exact encoding.
    struct Key
    {
        const char* data = nullptr;
        std::size_t len = 0;
        std::uint64_t hash = 0;
        bool isText = false;
        QString text;
        QByteArray storage; // owns the bytes when the key had to be made
    };

    Key keyOf(const LineTable& table, qsizetype i) const;
    Key keyOfText(const QString& text) const;
    std::size_t probe(const Key& key, std::uint64_t& lenAndTag) const;
    bool lookup(const Key& key) const;
    void insert(const Key& key);
    const char* keep(const QByteArray& bytes);

    bool m_matchCase;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    int m_shift = 64;
    QSet<QString> m_texts;
    std::vector<std::unique_ptr<char[]>> m_kept; // bytes of keys that had to be made
};
