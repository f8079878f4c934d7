#include "widgets/LineMarks.h"

#include "platform/AnsiCodec.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QScopeGuard>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <cmath>

namespace {

// Where a default item view puts its tab stops: every 80 pixels.
constexpr qreal kTabStop = 80;

bool isMark(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// The code point at i and how many UTF-16 units it takes.
std::pair<char32_t, int> codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

bool isNoBreakSpace(char16_t u)
{
    return u == 0x00A0 || u == 0x2007 || u == 0x202F;
}

// The short text a control character is drawn as: ^A for U+0001, ^? for
// DEL, <85> for the controls from U+0080 (and for a byte with no
// Windows-1252 character).
QString controlLabel(char16_t u)
{
    if (u < 0x20)
        return QStringLiteral("^") + QChar(char16_t(u + 0x40));
    if (u == 0x7F)
        return QStringLiteral("^?");
    return QStringLiteral("<%1>").arg(unsigned(u), 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

std::vector<LineMark> MarksOf(QStringView text)
{
    std::vector<LineMark> marks;
    const qsizetype size = text.size();
    qsizetype trail = size;
    while (trail > 0 &&
           (text[trail - 1] == QLatin1Char(' ') || text[trail - 1] == QLatin1Char('\t')))
        --trail;
    auto add = [&marks](qsizetype from, qsizetype length, MarkKind kind) {
        marks.push_back({from, length, kind});
    };
    for (qsizetype i = 0; i < trail;) {
        const char16_t u = text[i].unicode();
        // Most lines are printable ASCII: one comparison a character.
        if ((u >= 0x20 && u < 0x7F) || u == '\t') {
            ++i;
            continue;
        }
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0)) {
            add(i++, 1, MarkKind::Control);
            continue;
        }
        if (u == 0xA0) {
            add(i++, 1, MarkKind::UnicodeSpace);
            continue;
        }
        if (u == 0xAD) {
            add(i++, 1, MarkKind::ZeroWidth);
            continue;
        }
        if (u < 0x300) {
            ++i;
            continue;
        }
        if (u >= 0xDC80 && u <= 0xDCFF && (i == 0 || !text[i - 1].isHighSurrogate())) {
            add(i++, 1, MarkKind::Byte);
            continue;
        }
        const auto [c, units] = codePointAt(text, i);
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Separator_Space) {
            add(i, units, MarkKind::UnicodeSpace);
            i += units;
            continue;
        }
        if (category == QChar::Other_Format) {
            add(i, units, MarkKind::ZeroWidth);
            i += units;
            continue;
        }
        if (!isMark(c)) {
            i += units;
            continue;
        }
        // A run of combining marks with the character before it: marked when
        // NFC spells it otherwise (a letter and an accent it has a form for).
        qsizetype end = i + units;
        while (end < trail) {
            const auto [next, nextUnits] = codePointAt(text, end);
            if (!isMark(next))
                break;
            end += nextUnits;
        }
        qsizetype base = i;
        if (i > 0) {
            base = i - 1;
            if (base > 0 && text[base].isLowSurrogate() && text[base - 1].isHighSurrogate())
                --base;
        }
        const bool baseMarked = !marks.empty() && marks.back().from + marks.back().length > base;
        if (!baseMarked) {
            const QStringView cluster = text.sliced(base, end - base);
            if (cluster.toString().normalized(QString::NormalizationForm_C) != cluster)
                add(base, end - base, MarkKind::Decomposed);
        }
        i = end;
    }
    for (qsizetype i = trail; i < size; ++i)
        add(i, 1, text[i] == QLatin1Char('\t') ? MarkKind::TrailingTab : MarkKind::TrailingBlank);
    return marks;
}

QString MarksInWords(QStringView text, const std::vector<LineMark>& marks)
{
    int count[int(MarkKind::Decomposed) + 1] = {};
    bool noBreak = false, otherSpace = false;
    for (const LineMark& mark : marks) {
        ++count[int(mark.kind)];
        if (mark.kind == MarkKind::UnicodeSpace)
            (isNoBreakSpace(text[mark.from].unicode()) ? noBreak : otherSpace) = true;
    }
    QStringList words;
    auto say = [&](MarkKind kind, const char* one, const char* more) {
        if (const int n = count[int(kind)])
            words.append(QCoreApplication::translate("LineMarks", n == 1 ? one : more));
    };
    say(MarkKind::Byte, QT_TRANSLATE_NOOP("LineMarks", "has a byte that is not UTF-8"),
        QT_TRANSLATE_NOOP("LineMarks", "has bytes that are not UTF-8"));
    say(MarkKind::Control, QT_TRANSLATE_NOOP("LineMarks", "has a control character"),
        QT_TRANSLATE_NOOP("LineMarks", "has control characters"));
    say(MarkKind::ZeroWidth, QT_TRANSLATE_NOOP("LineMarks", "has a zero-width character"),
        QT_TRANSLATE_NOOP("LineMarks", "has zero-width characters"));
    if (noBreak)
        words.append(QCoreApplication::translate("LineMarks", "has a no-break space"));
    if (otherSpace)
        words.append(QCoreApplication::translate("LineMarks", "has an unusual space"));
    say(MarkKind::Decomposed, QT_TRANSLATE_NOOP("LineMarks", "has a decomposed accent"),
        QT_TRANSLATE_NOOP("LineMarks", "has decomposed accents"));
    const int blanks = count[int(MarkKind::TrailingBlank)];
    const int tabs = count[int(MarkKind::TrailingTab)];
    if (blanks && tabs)
        words.append(QCoreApplication::translate("LineMarks", "ends with blanks and tabs"));
    else if (blanks)
        words.append(
            blanks == 1
                ? QCoreApplication::translate("LineMarks", "ends with a blank")
                : QCoreApplication::translate("LineMarks", "ends with %1 blanks").arg(blanks));
    else if (tabs)
        words.append(tabs == 1
                         ? QCoreApplication::translate("LineMarks", "ends with a tab")
                         : QCoreApplication::translate("LineMarks", "ends with %1 tabs").arg(tabs));
    return words.join(QStringLiteral(", "));
}

MarkColours MarkColoursOf(const QStyleOptionViewItem& option)
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    MarkColours colours;
    colours.text =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    colours.mark = selected ? colours.text : QColor(0x4a, 0x7f, 0xb5);
    if (selected)
        colours.mark.setAlpha(200);
    colours.byteTint = selected ? QColor(0xff, 0xc8, 0x50, 0x90) : QColor(0xff, 0xe2, 0x9a);
    return colours;
}

qreal PaintLineWithMarks(QPainter& painter, const QRect& area, const QFont& font,
                         const MarkColours& colours, QStringView text)
{
    const QString line = text.toString();
    return PaintMarkedLine(painter, area, font, colours, text, AnsiCodec::ShownText(line),
                           MarksOf(text));
}

qreal PaintMarkedLine(QPainter& painter, const QRect& area, const QFont& font,
                      const MarkColours& colours, QStringView text, QStringView shown,
                      const std::vector<LineMark>& marks,
                      const std::vector<std::pair<qsizetype, qsizetype>>& outlined)
{
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    QFont smallFont = font;
    smallFont.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 0.75 : 7);
    smallFont.setBold(false);
    const QFontMetricsF small(smallFont);
    const qreal left = area.left();
    const qreal right = area.right() + 1;
    const qreal top = area.top() + (area.height() - metrics.height()) / 2;
    const qreal baseline = top + metrics.ascent();
    const qreal middle = baseline - metrics.xHeight() / 2;
    const qreal thin = qMax<qreal>(1, metrics.height() / 16);
    qreal x = left;
    // Where each run of the text went, for the outlines drawn last: text
    // drawn as it stands (its x found by measuring) or a mark.
    struct Piece
    {
        qsizetype from, to;
        qreal x0, x1;
        bool measured;
    };
    std::vector<Piece> pieces;

    auto plain = [&](qsizetype from, qsizetype to) {
        painter.setPen(colours.text);
        while (from < to && x < right) {
            qsizetype tab = from;
            while (tab < to && shown[tab] != QLatin1Char('\t'))
                ++tab;
            if (tab > from) {
                const QString piece = shown.sliced(from, tab - from).toString();
                painter.drawText(QPointF(x, baseline), piece);
                pieces.push_back({from, tab, x, x + metrics.horizontalAdvance(piece), true});
                x = pieces.back().x1;
            }
            if (tab < to) {
                const qreal before = x;
                x = left + (std::floor((x - left) / kTabStop) + 1) * kTabStop;
                pieces.push_back({tab, tab + 1, before, x, false});
            }
            from = tab + 1;
        }
    };
    // A small label in a rounded box, for a control character or a byte
    // that has no character.
    auto label = [&](const QString& caption, const QColor& fill) {
        const qreal width = small.horizontalAdvance(caption) + 4 * thin;
        const QRectF box(x + thin / 2, top + thin, width, metrics.height() - 2 * thin);
        painter.setPen(QPen(colours.mark, thin));
        painter.setBrush(fill.isValid() ? QBrush(fill) : Qt::NoBrush);
        painter.drawRoundedRect(box, 2 * thin, 2 * thin);
        painter.setFont(smallFont);
        painter.drawText(box, Qt::AlignCenter, caption);
        painter.setFont(font);
        painter.setBrush(Qt::NoBrush);
        x += width + 2 * thin;
    };

    qsizetype at = 0;
    for (const LineMark& mark : marks) {
        if (x >= right)
            break;
        plain(at, mark.from);
        at = mark.from + mark.length;
        const qreal markStart = x;
        const auto noteMark = qScopeGuard([&] {
            if (mark.kind != MarkKind::Decomposed)
                pieces.push_back({mark.from, at, markStart, x, false});
        });
        const char16_t u = text[mark.from].unicode();
        switch (mark.kind) {
        case MarkKind::TrailingBlank: {
            const qreal width = metrics.horizontalAdvance(QLatin1Char(' '));
            const qreal radius = qMax<qreal>(1, metrics.height() / 14);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colours.mark);
            painter.drawEllipse(QPointF(x + width / 2, middle), radius, radius);
            painter.setBrush(Qt::NoBrush);
            x += width;
            break;
        }
        case MarkKind::TrailingTab: {
            const qreal width = metrics.horizontalAdvance(QStringLiteral("MM"));
            const qreal head = metrics.xHeight() / 2;
            QPainterPath arrow;
            arrow.moveTo(x + thin, middle);
            arrow.lineTo(x + width - 2 * thin, middle);
            arrow.moveTo(x + width - 2 * thin - head, middle - head);
            arrow.lineTo(x + width - 2 * thin, middle);
            arrow.lineTo(x + width - 2 * thin - head, middle + head);
            painter.setPen(QPen(colours.mark, thin, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPath(arrow);
            x += width;
            break;
        }
        case MarkKind::UnicodeSpace: {
            qreal width =
                metrics.horizontalAdvance(shown.sliced(mark.from, mark.length).toString());
            width = qMax(width, metrics.horizontalAdvance(QLatin1Char(' ')));
            painter.setPen(QPen(colours.mark, thin));
            painter.drawRect(QRectF(x + thin, baseline - metrics.xHeight(), width - 2 * thin,
                                    metrics.xHeight()));
            x += width;
            break;
        }
        case MarkKind::ZeroWidth: {
            const qreal width = qMax<qreal>(3 * thin, metrics.averageCharWidth() / 2);
            painter.fillRect(
                QRectF(x + (width - thin) / 2, top + thin, thin, metrics.height() - 2 * thin),
                colours.mark);
            x += width;
            break;
        }
        case MarkKind::Control:
            label(controlLabel(u), QColor());
            break;
        case MarkKind::Byte: {
            const QChar seen = shown[mark.from];
            if (seen.category() == QChar::Other_Control) {
                label(controlLabel(u - 0xDC00), colours.byteTint);
                break;
            }
            const qreal width = metrics.horizontalAdvance(seen);
            painter.fillRect(QRectF(x, top, width, metrics.height()), colours.byteTint);
            painter.setPen(colours.text);
            painter.drawText(QPointF(x, baseline), QString(seen));
            x += width;
            break;
        }
        case MarkKind::Decomposed: {
            const qreal from = x;
            plain(mark.from, mark.from + mark.length);
            painter.setPen(QPen(colours.mark, thin));
            const qreal under = baseline + qMax(thin, metrics.descent() / 2);
            painter.drawLine(QPointF(from, under), QPointF(x, under));
            break;
        }
        }
    }
    plain(at, shown.size());

    // The outlined runs: a faint box around each, a thin bar for an empty one.
    auto xOf = [&](qsizetype position) {
        for (const Piece& piece : pieces) {
            if (position >= piece.to)
                continue;
            if (position <= piece.from || !piece.measured)
                return piece.x0;
            return piece.x0 + metrics.horizontalAdvance(
                                  shown.sliced(piece.from, position - piece.from).toString());
        }
        return x;
    };
    QColor fill = colours.mark;
    fill.setAlpha(32);
    for (const auto& [first, length] : outlined) {
        const qreal from = xOf(first);
        const qreal to = qMax(from + 2 * thin, xOf(first + length));
        const QRectF box(from - thin, top, to - from + 2 * thin, metrics.height());
        painter.setPen(QPen(colours.mark, thin));
        painter.setBrush(fill);
        painter.drawRoundedRect(box, 2 * thin, 2 * thin);
    }
    painter.restore();
    return x;
}
