#include "LineSet.h"

#include "AnsiCodec.h"
#include "LineHash.h"

namespace {

constexpr std::uint64_t kLenMask = (std::uint64_t(1) << 40) - 1;

QString lowerEachCharacter(QString text)
{
    for (QChar& c : text)
        c = c.toLower();
    return text;
}

} // namespace

LineSet::LineSet(const LineTable& lines, bool matchCase) : m_matchCase(matchCase)
{
    std::size_t capacity = 16;
    while (capacity < std::size_t(lines.size()) + std::size_t(lines.size()) / 3 + 1)
        capacity *= 2;
    m_slots.resize(capacity);
    m_mask = capacity - 1;
    m_shift = 64 - __builtin_ctzll(capacity);
    for (qsizetype i = 0; i < lines.size(); ++i)
        insert(keyOf(lines, i));
}

bool LineSet::contains(const LineTable& other, qsizetype i) const
{
    return lookup(keyOf(other, i));
}

LineSet::Key LineSet::keyOf(const LineTable& table, qsizetype i) const
{
    if (table.isText(i))
        return keyOfText(table.text(i));
    const QByteArrayView bytes = table.bytes(i);
    Key key;
    key.data = bytes.data();
    key.len = std::size_t(bytes.size());
    std::uint64_t high = 0;
    if (m_matchCase) {
        key.hash = LineHash::hash<false>(key.data, key.len, high);
        return key;
    }
    key.hash = LineHash::hash<true>(key.data, key.len, high);
    if (high == 0)
        return key; // plain ASCII: folding the letters is the whole lower-casing
    return keyOfText(AnsiCodec::Decode(bytes));
}

LineSet::Key LineSet::keyOfText(const QString& text) const
{
    Key key;
    const QString compared = m_matchCase ? text : lowerEachCharacter(text);
    if (!AnsiCodec::HasExactEncoding(compared)) {
        key.isText = true;
        key.text = compared;
        return key;
    }
    key.storage = AnsiCodec::Encode(compared);
    key.data = key.storage.constData();
    key.len = std::size_t(key.storage.size());
    std::uint64_t high = 0;
    key.hash = m_matchCase ? LineHash::hash<false>(key.data, key.len, high)
                           : LineHash::hash<true>(key.data, key.len, high);
    return key;
}

const char* LineSet::keep(const QByteArray& bytes)
{
    auto copy = std::make_unique<char[]>(std::size_t(bytes.size()) + 1);
    std::memcpy(copy.get(), bytes.constData(), std::size_t(bytes.size()));
    m_kept.push_back(std::move(copy));
    return m_kept.back().get();
}

std::size_t LineSet::probe(const Key& key, std::uint64_t& lenAndTag) const
{
    lenAndTag = ((key.hash & 0xFFFFFF) << 40) | (std::uint64_t(key.len) & kLenMask);
    std::size_t index = std::size_t(key.hash >> m_shift) & m_mask;
    for (;; index = (index + 1) & m_mask) {
        const Slot& slot = m_slots[index];
        if (!slot.key)
            return index;
        if (slot.lenAndTag == lenAndTag &&
            (m_matchCase ? LineHash::equal<false>(slot.key, key.data, key.len)
                         : LineHash::equal<true>(slot.key, key.data, key.len)))
            return index;
    }
}

bool LineSet::lookup(const Key& key) const
{
    if (key.isText)
        return m_texts.contains(key.text);
    std::uint64_t lenAndTag;
    return m_slots[probe(key, lenAndTag)].key != nullptr;
}

void LineSet::insert(const Key& key)
{
    if (key.isText) {
        m_texts.insert(key.text);
        return;
    }
    std::uint64_t lenAndTag;
    Slot& slot = m_slots[probe(key, lenAndTag)];
    if (slot.key)
        return;
    slot.key = key.storage.isNull() ? key.data : keep(key.storage);
    slot.lenAndTag = lenAndTag;
}
