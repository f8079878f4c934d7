#include "widgets/HelpPage.h"

#include "platform/AnsiCodec.h"
#include "widgets/LineMarks.h"
#include "widgets/OverlapBar.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyleOptionViewItem>
#include <QVBoxLayout>
#include <utility>
#include <vector>

namespace {

// Lines drawn as a list draws its rows, marks and all, each after a short
// caption ("File #1"): the picture beside an explanation.
class LinesPicture : public QWidget
{
public:
    LinesPicture(std::vector<std::pair<QString, QString>> lines, QWidget* parent)
        : QWidget(parent), m_lines(std::move(lines))
    {
        QFont plain = font();
        plain.setBold(false);
        setFont(plain);
        int caption = 0;
        for (const auto& [name, text] : m_lines)
            caption = qMax(caption, fontMetrics().horizontalAdvance(name));
        m_captionWidth = caption > 0 ? caption + fontMetrics().averageCharWidth() : 0;
        setFixedSize(m_captionWidth + fontMetrics().averageCharWidth() * 24,
                     rowHeight() * int(m_lines.size()) + 4);
        QStringList said;
        for (const auto& [name, text] : m_lines) {
            const QString words = MarksInWords(text, MarksOf(text));
            said.append(
                (name.isEmpty() ? QString() : name + QStringLiteral(": ")) +
                (text.isEmpty() ? HelpPage::tr("an empty line") : AnsiCodec::ShownText(text)) +
                (words.isEmpty() ? QString() : QStringLiteral(", ") + words));
        }
        setAccessibleName(said.join(QStringLiteral("; ")));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect box(m_captionWidth, 0, width() - m_captionWidth, height());
        painter.fillRect(box, palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        QStyleOptionViewItem row;
        row.initFrom(this);
        row.state |= QStyle::State_Active;
        const MarkColours colours = MarkColoursOf(row);
        int y = 2;
        for (const auto& [name, text] : m_lines) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRect(0, y, m_captionWidth, rowHeight()),
                             Qt::AlignLeft | Qt::AlignVCenter, name);
            const QRect area(box.left() + 4, y, box.width() - 8, rowHeight());
            PaintLineWithMarks(painter, area, font(), colours, text);
            y += rowHeight();
        }
    }

private:
    int rowHeight() const { return fontMetrics().height() + 4; }

    std::vector<std::pair<QString, QString>> m_lines;
    int m_captionWidth = 0;
};

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont big = label->font();
    big.setPointSizeF(big.pointSizeF() * 1.2);
    label->setFont(big);
    return label;
}

QLabel* words(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont plain = label->font();
    plain.setBold(false);
    label->setFont(plain);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

struct Explained
{
    std::vector<std::pair<QString, QString>> lines;
    QString text;
};

QString file1()
{
    return HelpPage::tr("File #1");
}

QString file2()
{
    return HelpPage::tr("File #2");
}

} // namespace

HelpPage::HelpPage(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpPage"));
    setWindowTitle(HelpPage::tr("How to Read the Lists"));
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    int row = 0;
    auto section = [&](const QString& title, const QString& intro) {
        if (row > 0) {
            grid->setRowMinimumHeight(row, fontMetrics().height());
            ++row;
        }
        grid->addWidget(heading(title, page), row++, 0, 1, 2);
        if (!intro.isEmpty())
            grid->addWidget(words(intro, page), row++, 0, 1, 2);
    };
    auto item = [&](QWidget* picture, const QString& text) {
        grid->addWidget(picture, row, 0, Qt::AlignTop);
        grid->addWidget(words(text, page), row++, 1, Qt::AlignTop);
    };
    auto explain = [&](const std::vector<Explained>& entries) {
        for (const Explained& entry : entries)
            item(new LinesPicture(entry.lines, page), entry.text);
    };

    section(HelpPage::tr("The marks in a list"),
            HelpPage::tr("A row marks what its text would not show, so that lines that look "
                         "alike on the screen do not look alike in the list. The marks are "
                         "only drawn: copying and saving give the lines as they are."));
    const QString noUtf8 = QStringLiteral("M") + QChar(0xDC00 + 0xFC) + QStringLiteral("ller");
    explain({
        {{{QString(), QStringLiteral("apple  ")}},
         HelpPage::tr("Blanks at the end of a line: a faint dot for each.")},
        {{{QString(), QStringLiteral("apple\t")}},
         HelpPage::tr("A tab at the end of a line: an arrow.")},
        {{{QString(), QStringLiteral("no\u00A0break")}},
         HelpPage::tr("A no-break or other Unicode space: a faint box.")},
        {{{QString(), QStringLiteral("zero\u200Bwidth")}},
         HelpPage::tr("A character of no width: a thin bar.")},
        {{{QString(), QStringLiteral("bell\u0007")}},
         HelpPage::tr("A control character: ^ and its letter in a small box.")},
        {{{QString(), noUtf8}},
         HelpPage::tr("A byte that is not UTF-8: its Windows-1252 character, tinted.")},
        {{{QString(), QStringLiteral("cafe\u0301")}},
         HelpPage::tr("A letter with its accent written as a separate mark: underlined.")},
    });
    grid->addWidget(words(HelpPage::tr("In the list of lines changed in file 2, the fields "
                                       "that changed are outlined, and what file 2 has "
                                       "instead follows an arrow."),
                          page),
                    row++, 0, 1, 2);

    section(HelpPage::tr("The overlap bar"), QString());
    auto* bar = new OverlapBar(page);
    DistinctCounts counts;
    counts.file1 = 9;
    counts.file2 = 8;
    counts.both = 5;
    bar->SetCounts(counts);
    // As wide as beside Start Comparing at the window's designed size.
    bar->setFixedSize(qRound(256 * logicalDpiX() / 96.0), bar->sizeHint().height());
    item(bar, HelpPage::tr("Beside Start Comparing once the files are compared: the "
                           "distinct lines (each counted once, however often it occurs) "
                           "only in file 1, in both files, and only in file 2, each in the "
                           "colour of its list, and the share of distinct lines the two "
                           "files have in common. Here 4 only in file 1, 5 in both, 3 only "
                           "in file 2: 42 % in common. The counts on the lists' frames count "
                           "every line. Compared on a key, the bar counts keys and adds those "
                           "changed. Point at the bar to read its numbers in words."));

    section(HelpPage::tr("The options"),
            HelpPage::tr("Each option below changes the answer for the two lines beside "
                         "it. Those under More Options compare lines on a key: a part of "
                         "each line, with a list of the lines whose key file 2 holds changed."));
    explain({
        {{{file1(), QStringLiteral("Apple")}, {file2(), QStringLiteral("apple")}},
         HelpPage::tr("Match Case: off, these are the same line; on, they differ.")},
        {{{file1(), QStringLiteral("apple  ")}, {file2(), QStringLiteral("apple")}},
         HelpPage::tr("Ignore Blanks At Line Ends: on, blanks and tabs at either end of a "
                      "line do not count, and these are the same line.")},
        {{{file1(), QStringLiteral("pear")}, {file1(), QStringLiteral("pear")}},
         HelpPage::tr("List Each Line Once: on, a line that occurs more than once is listed "
                      "once, where it first occurs.")},
        {{{file1(), QStringLiteral("7,Ann,north")}, {file2(), QStringLiteral("7,Ann,south")}},
         HelpPage::tr("Compare Field 1 with the Delimiter \",\": these lines have the same "
                      "key, 7, and are listed as changed: the third field differs.")},
        {{{file1(), QStringLiteral("id,name,city")}, {file1(), QStringLiteral("7,Ann,north")}},
         HelpPage::tr("First line names the fields: Compare Field and Ignore fields then take "
                      "names (\"id\"), and the first line is not compared.")},
        {{{file1(), QStringLiteral("7,Ann,2026-01-02")},
          {file2(), QStringLiteral("7,Ann,2026-03-04")}},
         HelpPage::tr("Ignore fields 3: a record that differs only there is not changed.")},
        {{{file1(), QStringLiteral("ORD-1234 shipped")},
          {file2(), QStringLiteral("ORD-1234 paid")}},
         HelpPage::tr("Key Pattern ORD-\\d+: the lines have the same key, what the pattern "
                      "finds (its first group, if it has one). A line it finds nothing in "
                      "is compared whole.")},
        {{{file1(), QStringLiteral("caf\u00E9")}, {file2(), QStringLiteral("cafe\u0301")}},
         HelpPage::tr("Look-Alike Lines Match: on, accents written either way, Unicode spaces "
                      "and characters of no width do not count, and these are the same line.")},
        {{{file1(), QStringLiteral("apple")}, {file1(), QString()}},
         HelpPage::tr("Skip Empty Lines: on, empty lines are left out of every list and count.")},
    });
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addWidget(words(HelpPage::tr("Questions? The Help button tells where to ask."), page));
    column->addStretch();

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);

    const qreal scale = logicalDpiX() / 96.0;
    QSize size(qRound(680 * scale), qRound(640 * scale));
    if (const QScreen* where = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(where->availableGeometry().size() * 0.9);
    resize(size);
}

QString HelpPage::Text() const
{
    QStringList said;
    for (const QWidget* part : findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(part))
            said.append(label->text());
        else if (const auto* bar = qobject_cast<const OverlapBar*>(part))
            said.append(bar->Summary());
        else if (!part->accessibleName().isEmpty() && dynamic_cast<const LinesPicture*>(part))
            said.append(part->accessibleName());
    }
    return said.join(QLatin1Char('\n'));
}
