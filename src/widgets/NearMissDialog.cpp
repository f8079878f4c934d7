#include "widgets/NearMissDialog.h"

#include "platform/AnsiCodec.h"

#include <QDialogButtonBox>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString fileName(int file)
{
    return QStringLiteral("File #%1").arg(file);
}

// A line as the lists show it, quoted so that blanks at its ends show, and
// cut short when long.
QString quoted(const QString& line)
{
    const QString shown = AnsiCodec::ShownText(line);
    if (shown.size() <= NearMissDialog::kMostShown)
        return QLatin1Char('"') + shown + QLatin1Char('"');
    return QLatin1Char('"') + shown.left(NearMissDialog::kMostShown) +
           QStringLiteral("\u2026\" (%1 characters in all)").arg(QLocale().toString(shown.size()));
}

QString linesOf(qsizetype count, int file)
{
    return (count == 1 ? QStringLiteral("1 line") : QLocale().toString(count) + " lines") +
           QStringLiteral(" of ") + fileName(file);
}

} // namespace

NearMissDialog::NearMissDialog(QWidget* parent) : QDialog(parent), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("NearMissDialog"));
    m_text->setObjectName(QStringLiteral("NearMissText"));
    m_text->setReadOnly(true);
    // Read-only still lets the keyboard move, select and copy.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    setSizeGripEnabled(true);
    const QFontMetrics metrics(m_text->font());
    resize(metrics.averageCharWidth() * 72, metrics.lineSpacing() * 18);
}

QString NearMissDialog::Text() const
{
    return m_text->toPlainText();
}

void NearMissDialog::Explain(const NearMisses::Index& index, int file, qsizetype line)
{
    const int other = 3 - file;
    const NearMisses::Index::Found found = index.Of(file, line, kMostListed);
    const qsizetype count = qsizetype(found.alike.size()) + found.more;
    const QLocale locale;
    const QString summary =
        count == 0 ? QStringLiteral("No line of %1 comes close to this one.").arg(fileName(other))
                   : linesOf(count, other) +
                         (count == 1 ? QStringLiteral(" looks like it")
                                     : QStringLiteral(" look like it")) +
                         QStringLiteral(", but for what differs.");
    QStringList text;
    for (const NearMisses::Index::Alike& alike : found.alike) {
        text << QString()
             << QStringLiteral("Line %1 of %2:")
                    .arg(locale.toString(alike.line + 1), fileName(other))
             << QStringLiteral("    ") + quoted(LineText(index.Compared(), other, alike.line))
             << QStringLiteral("    differs in: ") + NearMisses::Describe(alike.why);
    }
    if (found.more > 0)
        text << QString()
             << QStringLiteral("... and %1 more, not listed here.").arg(linesOf(found.more, other));
    m_waiting = false;
    showLine(index.Compared(), file, line, summary, text);
}

void NearMissDialog::ExplainLater(const Comparison& comparison, int file, qsizetype line)
{
    m_waiting = true;
    showLine(comparison, file, line,
             QStringLiteral("Still looking for lines of %1 that look like it...")
                 .arg(fileName(3 - file)),
             {});
}

void NearMissDialog::CannotExplain()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    showText(QStringLiteral("The lines of %1 that look like it could not be found: there was "
                            "not enough memory.")
                 .arg(fileName(3 - m_file)),
             {});
}

void NearMissDialog::showLine(const Comparison& comparison, int file, qsizetype line,
                              const QString& summary, const QStringList& alike)
{
    m_file = file;
    m_line = line;
    m_head = QStringList{
        QStringLiteral("Line %1 of %2:").arg(QLocale().toString(line + 1), fileName(file)),
        QStringLiteral("    ") + quoted(LineText(comparison, file, line)),
        QStringLiteral("is not in %1.").arg(fileName(3 - file))};
    showText(summary, alike);
}

void NearMissDialog::showText(const QString& summary, const QStringList& alike)
{
    const QString title = QStringLiteral("Why is this line not in %1?").arg(fileName(3 - m_file));
    setWindowTitle(title);
    setAccessibleName(title);
    m_text->setAccessibleName(title);
    m_text->setAccessibleDescription(m_head.first().chopped(1) + QStringLiteral(". ") + summary);
    m_text->setPlainText(
        (QStringList(m_head) << QString() << summary << alike).join(QLatin1Char('\n')));
    m_text->setFocus();
}
