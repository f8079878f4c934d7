#pragma once

#include "compare/CompareEngine.h"

#include <QWidget>
#include <array>
#include <optional>

// How much two compared files have in common, at a glance: a bar in three
// parts, as long as the distinct lines only in file 1, in both, and only in
// file 2, with those numbers above it and the share of distinct lines that
// both files hold ("42 % of distinct lines in common"). Lines compared on a
// key add a part for the changed keys between the unchanged and those only
// in file 2, and keys that occur more than once in a file are told of where
// the share stands. Hidden until it has a comparison's counts, and again
// once cleared.
class OverlapBar : public QWidget
{
    Q_OBJECT
public:
    explicit OverlapBar(QWidget* parent = nullptr);

    // options: those the comparison was made with, for its lists; repeated:
    // how many keys occur more than once in file 1 and in file 2.
    void SetCounts(const DistinctCounts& counts, const CompareOptions& options = {},
                   std::array<qsizetype, 2> repeated = {});
    void Clear();
    // The counts shown, none while hidden.
    const std::optional<DistinctCounts>& Counts() const { return m_counts; }

    // The numbers in words: "3 distinct lines only in file 1, 7 in both, 2
    // only in file 2; 58 % of distinct lines in common", and with a key each
    // "2 keys occur more than once in file 1" after it.
    QString Summary() const;
    // The keys that occur more than once, in words; empty when none do.
    QString RepeatedKeys() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<DistinctCounts> m_counts;
    bool m_keyed = false;
    std::array<qsizetype, 2> m_repeated{};
};

// The share of distinct lines in common as the bar says it: a whole percent
// in the locale's digits, but never "0 %" when some are in common nor
// "100 %" when some are not.
QString SharePercent(const DistinctCounts& counts);
