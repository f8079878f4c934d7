#pragma once

#include "compare/CompareEngine.h"

#include <QWidget>
#include <optional>

// How much two compared files have in common, at a glance: a bar in three
// parts, as long as the distinct lines only in file 1, in both, and only in
// file 2, with those numbers above it and the share of distinct lines that
// both files hold ("42 % of distinct lines in common"). Hidden until it has
// a comparison's counts, and again once cleared.
class OverlapBar : public QWidget
{
    Q_OBJECT
public:
    explicit OverlapBar(QWidget* parent = nullptr);

    void SetCounts(const DistinctCounts& counts);
    void Clear();
    // The counts shown, none while hidden.
    const std::optional<DistinctCounts>& Counts() const { return m_counts; }

    // The numbers in words: "3 distinct lines only in file 1, 7 in both, 2
    // only in file 2; 58 % of distinct lines in common".
    QString Summary() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<DistinctCounts> m_counts;
};

// The share of distinct lines in common as the bar says it: a whole percent
// in the locale's digits, but never "0 %" when some are in common nor
// "100 %" when some are not.
QString SharePercent(const DistinctCounts& counts);
