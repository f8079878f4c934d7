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
    const QString title = QStringLiteral("Why is this line not in %1?").arg(fileName(other));
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
    text << QStringLiteral("Line %1 of %2:").arg(locale.toString(line + 1), fileName(file))
         << QStringLiteral("    ") + quoted(LineText(index.Compared(), file, line))
         << QStringLiteral("is not in %1.").arg(fileName(other)) << QString() << summary;
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
    setWindowTitle(title);
    setAccessibleName(title);
    m_text->setAccessibleName(title);
    m_text->setAccessibleDescription(
        QStringLiteral("Line %1 of %2. ").arg(locale.toString(line + 1), fileName(file)) + summary);
    m_text->setPlainText(text.join(QLatin1Char('\n')));
    m_text->setFocus();
}
