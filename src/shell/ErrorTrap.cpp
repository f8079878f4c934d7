#include "shell/ErrorTrap.h"

#include "desktop/MsgBox.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>

#include <exception>
#include <new>

namespace {

// The description of the exception being handled.
QString currentDescription()
{
    QString description;
    try {
        throw;
    } catch (const RuntimeError& error) {
        description = error.description();
    } catch (const std::bad_alloc&) {
        description = QCoreApplication::translate("ErrorTrap", "Out of memory");
    } catch (const std::exception& error) {
        description = QString::fromLocal8Bit(error.what());
    } catch (...) {
        description = QCoreApplication::translate("ErrorTrap", "Unexpected error");
    }
    return description;
}

QString supportRequest()
{
    return QCoreApplication::translate("ErrorTrap", "Please email screenshot of this message to %1")
        .arg(QStringLiteral(QUILLMARK_SUPPORT_ADDRESS));
}

} // namespace

ErrorTrap::ErrorTrap(const QString& procedure)
    : m_location(QCoreApplication::translate("ErrorTrap", "in %1 ")
                     .arg(QStringLiteral("Braidwell2021/08/31.Form1.") + procedure))
{
}

QString ErrorTrap::MessageFor(const QString& description, int line) const
{
    // The location ends in a blank that the line number follows.
    return description + QStringLiteral("\r\n") +
           QCoreApplication::translate("ErrorTrap", "%1at line %2").arg(m_location).arg(line) +
           QStringLiteral("\r\r") + supportRequest();
}

bool ErrorTrap::Run(int line, const std::function<void()>& statement)
{
    try {
        statement();
        return true;
    } catch (...) {
        report(line);
        return false;
    }
}

bool ErrorTrap::If(int line, const std::function<bool()>& condition)
{
    bool result = true;
    Run(line, [&] { result = condition(); });
    return result;
}

void ErrorTrap::ReportUntrapped()
{
    try {
        const QString description = currentDescription();
        MsgBox(description + QStringLiteral("\r\r") + supportRequest(), kExclamation,
               QCoreApplication::translate("ErrorTrap", "Application Error"));
    } catch (...) {
    }
}

void ErrorTrap::report(int line)
{
    const QString description = currentDescription();
    // Nothing may escape the trap: a report that cannot be shown is dropped.
    try {
        MsgBox(MessageFor(description, line), kExclamation,
               QCoreApplication::translate("ErrorTrap", "Application Error"));
    } catch (...) {
    }
}
