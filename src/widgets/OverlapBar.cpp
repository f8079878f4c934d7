#include "widgets/OverlapBar.h"

#include "results/ListKinds.h"

#include <QLocale>
#include <QPainter>
#include <array>
#include <cmath>

namespace {

const QColor kEdge(0x80, 0x80, 0x80);

// The bar's parts, left to right: the distinct lines only in file 1, in
// both and only in file 2, each in the colour of its list (quiet colours,
// told apart by hue and by lightness alike).
struct Parts
{
    std::array<qint64, 3> counts{};
    std::array<QColor, 3> colours;
};

Parts partsOf(const DistinctCounts& c)
{
    Parts parts;
    for (const ListKind& list : kListKinds) {
        if (list.barPlace < 0)
            continue;
        parts.counts.at(size_t(list.barPlace)) = qint64(DistinctInList(c, list));
        parts.colours.at(size_t(list.barPlace)) = QColor::fromRgb(QRgb(list.barColour));
    }
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
    setAccessibleName(QStringLiteral("Overlap of the two files"));
    QFont plain = font();
    plain.setBold(false);
    setFont(plain);
    hide();
}

void OverlapBar::SetCounts(const DistinctCounts& counts)
{
    m_counts = counts;
    const QString summary = Summary();
    setAccessibleDescription(summary);
    setToolTip(summary);
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
    const Parts parts = partsOf(*m_counts);
    return QStringLiteral("%1 distinct lines only in file 1, %2 in both, %3 only in file 2; %4 of "
                          "distinct lines in common")
        .arg(locale.toString(parts.counts[0]), locale.toString(parts.counts[1]),
             locale.toString(parts.counts[2]), SharePercent(*m_counts));
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
    const Parts parts = partsOf(*m_counts);
    const auto& colours = parts.colours;
    const QLocale locale;

    // The legend above the bar: the longest wording that fits.
    const QString percent = SharePercent(*m_counts);
    const QString number[3] = {locale.toString(parts.counts[0]), locale.toString(parts.counts[1]),
                               locale.toString(parts.counts[2])};
    struct Wording
    {
        QString parts[3];
        QString share;
    };
    const Wording wordings[] = {
        {{number[0] + QStringLiteral(" only in file 1"), number[1] + QStringLiteral(" in both"),
          number[2] + QStringLiteral(" only in file 2")},
         percent + QStringLiteral(" of distinct lines in common")},
        {{number[0] + QStringLiteral(" only in file 1"), number[1] + QStringLiteral(" in both"),
          number[2] + QStringLiteral(" only in file 2")},
         percent + QStringLiteral(" in common")},
        {{number[0] + QStringLiteral(" only in 1"), number[1] + QStringLiteral(" in both"),
          number[2] + QStringLiteral(" only in 2")},
         percent + QStringLiteral(" in common")},
        {{number[0] + QStringLiteral(" only in 1"), number[1] + QStringLiteral(" in both"),
          number[2] + QStringLiteral(" only in 2")},
         percent},
        {{number[0], number[1], number[2]}, percent + QStringLiteral(" in common")},
        {{number[0], number[1], number[2]}, percent},
    };
    const int swatch = qMax(4, metrics.ascent() * 2 / 3);
    const int space = metrics.averageCharWidth();
    auto legendWidth = [&](const Wording& w) {
        int total = metrics.horizontalAdvance(w.share) + 2 * space;
        for (const QString& part : w.parts)
            total += swatch + space / 2 + metrics.horizontalAdvance(part) + space * 3 / 2;
        return total;
    };
    const Wording* chosen = &wordings[std::size(wordings) - 1];
    for (const Wording& w : wordings)
        if (legendWidth(w) <= width()) {
            chosen = &w;
            break;
        }
    const int textHeight = metrics.height();
    int x = 0;
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < 3; ++i) {
        const QRect box(x, (textHeight - swatch) / 2, swatch, swatch);
        painter.fillRect(box, colours[i]);
        painter.setPen(kEdge);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        x += swatch + space / 2;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(x, 0, width() - x, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         chosen->parts[i]);
        x += metrics.horizontalAdvance(chosen->parts[i]) + space * 3 / 2;
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRect(0, 0, width(), textHeight), Qt::AlignRight | Qt::AlignVCenter,
                     chosen->share);
    painter.setFont(font());

    // The bar: each part as long as its share, one that is not empty at
    // least two pixels long so that it shows.
    const int gap = qMax(1, textHeight / 8);
    const QRect bar(0, textHeight + gap, width(), qMax(3, height() - textHeight - gap));
    const qint64 total = parts.counts[0] + parts.counts[1] + parts.counts[2];
    painter.fillRect(bar, palette().color(QPalette::Base));
    if (total > 0) {
        const int inner = bar.width();
        int lengths[3];
        int used = 0;
        for (int i = 0; i < 3; ++i) {
            lengths[i] = int(std::llround(double(parts.counts[i]) / double(total) * inner));
            if (parts.counts[i] > 0)
                lengths[i] = qMax(lengths[i], 2);
            used += lengths[i];
        }
        // Rounding's pixel or two goes to (or comes from) the longest part.
        int* longest = std::max_element(std::begin(lengths), std::end(lengths));
        *longest += inner - used;
        int left = bar.left();
        for (int i = 0; i < 3; ++i) {
            painter.fillRect(QRect(left, bar.top(), lengths[i], bar.height()), colours[i]);
            left += lengths[i];
        }
    }
    painter.setPen(kEdge);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
}
