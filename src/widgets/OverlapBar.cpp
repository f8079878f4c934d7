#include "widgets/OverlapBar.h"

#include "results/ListKinds.h"

#include <QLocale>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

const QColor kEdge(0x80, 0x80, 0x80);
// Keys that occur more than once: a dark amber that reads as a caution.
const QColor kRepeatColour(0x9a, 0x5b, 0x00);

// The bar's parts, left to right: the distinct lines only in file 1, in
// both and only in file 2 (with a key, the changed ones between the last
// two), each in the colour of its list (quiet colours, told apart by hue and
// by lightness alike), with what the legend calls them, at length and short.
struct Part
{
    qint64 count = 0;
    QColor colour;
    QString words, shortWords;
};

std::vector<Part> partsOf(const DistinctCounts& c, bool keyed)
{
    CompareOptions options;
    options.field = keyed ? 1 : 0;
    std::vector<std::pair<int, Part>> placed;
    for (const ListKind& list : kListKinds) {
        if (list.barPlace < 0 || !ListShown(list, options))
            continue;
        Part part{qint64(DistinctInList(c, list)), QColor::fromRgb(QRgb(list.barColour)), {}, {}};
        switch (list.kind) {
        case ResultKind::OnlyIn1:
            part.words = OverlapBar::tr("only in file 1");
            part.shortWords = OverlapBar::tr("only in 1");
            break;
        case ResultKind::OnlyIn2:
            part.words = OverlapBar::tr("only in file 2");
            part.shortWords = OverlapBar::tr("only in 2");
            break;
        case ResultKind::InBoth:
            part.words = part.shortWords =
                keyed ? OverlapBar::tr("unchanged") : OverlapBar::tr("in both");
            break;
        case ResultKind::Changed:
            part.words = part.shortWords = OverlapBar::tr("changed");
            break;
        }
        placed.emplace_back(list.barPlace, part);
    }
    std::sort(placed.begin(), placed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Part> parts;
    for (auto& [place, part] : placed)
        parts.push_back(std::move(part));
    return parts;
}

} // namespace

QString SharePercent(const DistinctCounts& counts)
{
    const double share = counts.Jaccard() * 100;
    long percent = std::lround(share);
    QString prefix;
    if (percent == 0 && counts.both > 0) {
        percent = 1;
        prefix = QStringLiteral("<");
    } else if (percent == 100 && counts.both < counts.file1 + counts.file2 - counts.both) {
        percent = 99;
        prefix = QStringLiteral(">");
    }
    return prefix + QLocale().toString(qint64(percent)) + QStringLiteral(" %");
}

OverlapBar::OverlapBar(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Overlap of the two files"));
    QFont plain = font();
    plain.setBold(false);
    setFont(plain);
    hide();
}

void OverlapBar::SetCounts(const DistinctCounts& counts, const CompareOptions& options,
                           std::array<qsizetype, 2> repeated)
{
    m_counts = counts;
    m_keyed = options.HasKey();
    m_repeated = m_keyed ? repeated : std::array<qsizetype, 2>{};
    const QString summary = Summary();
    setAccessibleDescription(summary);
    setToolTip(tr("%1\n(F1 explains the bar.)").arg(summary));
    show();
    update();
}

void OverlapBar::Clear()
{
    m_counts.reset();
    setAccessibleDescription(QString());
    setToolTip(QString());
    hide();
}

QString OverlapBar::Summary() const
{
    if (!m_counts)
        return QString();
    const QLocale locale;
    const std::vector<Part> parts = partsOf(*m_counts, m_keyed);
    QStringList said;
    for (const Part& part : parts) {
        const QString count = locale.toString(part.count);
        // The first count says what is counted.
        said.append(!said.isEmpty() ? tr("%1 %2").arg(count, part.words)
                    : m_keyed       ? tr("%1 distinct keys %2").arg(count, part.words)
                                    : tr("%1 distinct lines %2").arg(count, part.words));
    }
    const QString summary = (m_keyed ? tr("%1; %2 of distinct keys in common")
                                     : tr("%1; %2 of distinct lines in common"))
                                .arg(said.join(QStringLiteral(", ")), SharePercent(*m_counts));
    const QString repeated = RepeatedKeys();
    return repeated.isEmpty() ? summary : summary + QStringLiteral(". ") + repeated;
}

QString OverlapBar::RepeatedKeys() const
{
    QStringList said;
    const QLocale locale;
    for (int file = 1; file <= 2; ++file)
        if (const qsizetype n = m_repeated[size_t(file - 1)])
            said.append(n == 1 ? tr("1 key occurs more than once in file %1").arg(file)
                               : tr("%1 keys occur more than once in file %2")
                                     .arg(locale.toString(qint64(n)))
                                     .arg(file));
    return said.join(QStringLiteral(", "));
}

QSize OverlapBar::sizeHint() const
{
    return QSize(fontMetrics().averageCharWidth() * 40, fontMetrics().height() * 2);
}

void OverlapBar::paintEvent(QPaintEvent*)
{
    if (!m_counts)
        return;
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const std::vector<Part> parts = partsOf(*m_counts, m_keyed);
    const size_t n = parts.size();
    const QLocale locale;

    // The legend above the bar: the longest wording that fits. Keys that
    // repeat take the share's place, which the tooltip still gives.
    const QString percent = SharePercent(*m_counts);
    const QString repeated = RepeatedKeys();
    const bool repeats = !repeated.isEmpty();
    enum Labels
    {
        Long,
        Short,
        Numbers
    };
    // The numbers count distinct lines, where the lists' captions count
    // every line: a legend that does not say so in its share says it first.
    struct Wording
    {
        Labels labels;
        QString share;
        bool sayDistinct = true;
    };
    const QString ofDistinct = m_keyed ? tr("%1 of distinct keys in common").arg(percent)
                                       : tr("%1 of distinct lines in common").arg(percent);
    const QString inCommon = tr("%1 in common").arg(percent);
    const QString repeatShort = tr("keys repeat");
    const std::vector<Wording> wordings =
        repeats ? std::vector<Wording>{{Long, repeated},       {Short, repeated},
                                       {Numbers, repeated},    {Short, repeatShort},
                                       {Numbers, repeatShort}, {Numbers, repeatShort, false}}
                : std::vector<Wording>{{Long, ofDistinct, false}, {Long, inCommon},
                                       {Short, inCommon},         {Short, percent},
                                       {Numbers, inCommon},       {Numbers, percent},
                                       {Numbers, percent, false}};
    const QString distinct = m_keyed ? tr("Distinct keys:") : tr("Distinct lines:");
    auto label = [&](const Part& part, Labels labels) {
        const QString number = locale.toString(part.count);
        return labels == Numbers
                   ? number
                   : number + QLatin1Char(' ') + (labels == Long ? part.words : part.shortWords);
    };
    const int swatch = qMax(4, metrics.ascent() * 2 / 3);
    const int space = metrics.averageCharWidth();
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    auto legendWidth = [&](const Wording& w) {
        int total = (repeats ? boldMetrics : metrics).horizontalAdvance(w.share) + 2 * space;
        if (w.sayDistinct)
            total += metrics.horizontalAdvance(distinct) + space;
        for (const Part& part : parts)
            total += swatch + space / 2 + metrics.horizontalAdvance(label(part, w.labels)) +
                     space * 3 / 2;
        return total;
    };
    const Wording* chosen = &wordings.back();
    for (const Wording& w : wordings)
        if (legendWidth(w) <= width()) {
            chosen = &w;
            break;
        }
    const int textHeight = metrics.height();
    int x = 0;
    painter.setPen(palette().color(QPalette::WindowText));
    if (chosen->sayDistinct) {
        painter.drawText(QRect(0, 0, width(), textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         distinct);
        x += metrics.horizontalAdvance(distinct) + space;
    }
    for (const Part& part : parts) {
        const QRect box(x, (textHeight - swatch) / 2, swatch, swatch);
        painter.fillRect(box, part.colour);
        painter.setPen(kEdge);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        x += swatch + space / 2;
        painter.setPen(palette().color(QPalette::WindowText));
        const QString words = label(part, chosen->labels);
        painter.drawText(QRect(x, 0, width() - x, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         words);
        x += metrics.horizontalAdvance(words) + space * 3 / 2;
    }
    painter.setFont(bold);
    if (repeats)
        painter.setPen(kRepeatColour);
    painter.drawText(QRect(0, 0, width(), textHeight), Qt::AlignRight | Qt::AlignVCenter,
                     chosen->share);
    painter.setFont(font());

    // The bar: each part as long as its share, one that is not empty at
    // least two pixels long so that it shows.
    const int gap = qMax(1, textHeight / 8);
    const QRect bar(0, textHeight + gap, width(), qMax(3, height() - textHeight - gap));
    qint64 total = 0;
    for (const Part& part : parts)
        total += part.count;
    painter.fillRect(bar, palette().color(QPalette::Base));
    if (total > 0) {
        const int inner = bar.width();
        std::vector<int> lengths(n);
        int used = 0;
        for (size_t i = 0; i < n; ++i) {
            lengths[i] = int(std::llround(double(parts[i].count) / double(total) * inner));
            if (parts[i].count > 0)
                lengths[i] = qMax(lengths[i], 2);
            used += lengths[i];
        }
        // Rounding's pixel or two goes to (or comes from) the longest part.
        *std::max_element(lengths.begin(), lengths.end()) += inner - used;
        int left = bar.left();
        for (size_t i = 0; i < n; ++i) {
            painter.fillRect(QRect(left, bar.top(), lengths[i], bar.height()), parts[i].colour);
            left += lengths[i];
        }
    }
    painter.setPen(kEdge);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
}
