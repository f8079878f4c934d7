// What every command of the window shares: the option boxes read as a
// comparison's options, twips, and the busy pointer with the progress of the
// command that works now.

#include "shell/Form1.h"

#include "desktop/AppInfo.h"
#include "desktop/BusyProgress.h"
#include "desktop/SettingsStore.h"
#include "platform/RuntimeError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <utility>

int CheckValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

QStringList DelimiterChoices()
{
    return {QStringLiteral(","), QStringLiteral(";"), QStringLiteral("Tab"),
            QStringLiteral("Space"), QStringLiteral("|")};
}

QString DelimiterFor(const QString& choice)
{
    return CompareOptions::DelimiterNamed(choice);
}

FieldEntry ReadFieldEntry(const QString& entry)
{
    // Numbers from 1 up are fields by number; anything else makes the entry
    // names, which the comparison looks up in file 1's first line (a number
    // among names is still that field). A number below 1 stays one, for the
    // options' check to refuse.
    FieldEntry read;
    const QStringList parts = entry.split(QLatin1Char(','), Qt::SkipEmptyParts);
    QList<int> numbers;
    for (const QString& part : parts) {
        bool number = false;
        const int n = part.trimmed().toInt(&number);
        if (!number) {
            for (const QString& name : parts)
                read.names.append(name.trimmed());
            return read;
        }
        numbers.append(n < 1 ? -1 : n);
    }
    read.numbers = numbers;
    return read;
}

MemoryBudget Form1::MemoryBudgetSetting() const
{
    MemoryBudget budget;
    try {
        const QStringList values =
            GetSettings(QStringLiteral("Harrowmere"), ProductName(),
                        {QStringLiteral("MemoryBudget"), QStringLiteral("TemporaryFolder")});
        // A budget that does not read as a size is no budget: the default holds.
        budget.bytes = std::max<qint64>(0, ParseMemorySize(values.value(0)));
        budget.tempDir = values.value(1).trimmed();
    } catch (const RuntimeError&) {
        // A settings file that cannot be read was said at start; the defaults hold.
    }
    return budget;
}

CompareOptions Form1::CurrentCompareOptions() const
{
    CompareOptions options;
    options.matchCase = CheckValue(Check7) == 1;
    options.ignoreBlanks = CheckValue(Check8) == 1;
    options.eachOnce = CheckValue(Check9) == 1;
    options.header = CheckValue(Check12) == 1;
    const FieldEntry key = ReadFieldEntry(Spin1->text());
    if (!key.numbers.isEmpty()) {
        options.field = key.numbers.front();
        options.moreFields = key.numbers.mid(1);
    }
    options.keyNames = key.names;
    const FieldEntry ignored = ReadFieldEntry(Text4->text());
    options.ignoreFields = ignored.numbers;
    options.ignoreNames = ignored.names;
    options.delimiter = DelimiterFor(Combo1->currentText());
    options.keyPattern = Text3->text();
    options.lookAlike = CheckValue(Check10) == 1;
    options.skipEmpty = CheckValue(Check11) == 1;
    return options;
}

int Form1::Px(int twips) const
{
    return qRound(twips * logicalDpiX() / 1440.0);
}

void Form1::SetMousePointer(int pointer)
{
    if (pointer == m_mousePointer)
        return;
    if (m_mousePointer == kHourglass)
        showBusy(false);
    m_mousePointer = pointer;
    if (pointer == kHourglass)
        showBusy(true);
    else if (pointer == kCustomPointer)
        setCursor(m_hasMouseIcon ? m_mouseIcon : QCursor(Qt::PointingHandCursor));
    else
        unsetCursor();
}

void Form1::showBusy(bool busy)
{
    // The hourglass shows over the window and every control in it, text
    // fields included, but not over a box or dialog opened meanwhile: that
    // waits for the user and keeps the normal arrow.
    if (busy) {
        m_ownCursors.clear();
        for (QWidget* control : findChildren<QWidget*>()) {
            if (control->window() != this || !control->testAttribute(Qt::WA_SetCursor))
                continue;
            m_ownCursors.emplace_back(control, control->cursor());
            control->setCursor(Qt::WaitCursor);
        }
        setCursor(Qt::WaitCursor);
        return;
    }
    for (const auto& [control, cursor] : m_ownCursors)
        if (control)
            control->setCursor(cursor);
    m_ownCursors.clear();
}

void Form1::SetMouseIcon(const QCursor& cursor)
{
    m_mouseIcon = cursor;
    m_hasMouseIcon = true;
    if (m_mousePointer == kCustomPointer)
        setCursor(m_mouseIcon);
}

Form1::BusyScope::BusyScope(Form1& form, BusyProgress& progress)
    : m_form(form), m_outer(std::exchange(form.m_busy, &progress))
{
    if (form.m_closeAsked)
        progress.Cancel();
}

Form1::BusyScope::~BusyScope()
{
    m_form.m_busy = m_outer;
    if (m_form.m_closeAsked && m_outer)
        m_outer->Cancel();
}

void Form1::closeIfAsked()
{
    if (m_closeAsked && !m_busy) {
        m_closeAsked = false;
        close();
    }
}
