#pragma once

#include <QString>
#include <functional>

// The one error trap of the window's load and command handlers. Each
// numbered statement runs through it; a statement that throws is reported in
// one "Application Error" box naming the handler and the statement's number,
// and the handler goes on with its next statement. The trap stays armed for
// the whole handler.
class ErrorTrap
{
public:
    // procedure: the handler's name, as in "PushButton1_Click".
    explicit ErrorTrap(const QString& procedure);

    // Runs statement number line; false when it failed (and was reported).
    bool Run(int line, const std::function<void()>& statement);

    // The condition of an If block at line. A condition that fails counts as
    // true: execution resumes with the first statement inside the block.
    bool If(int line, const std::function<bool()>& condition);

    // The location text: "in Braidwell2021/08/31.Form1.<procedure> ".
    const QString& Location() const { return m_location; }

    // The report's text for a failure with this description at line.
    QString MessageFor(const QString& description, int line) const;

    // Reports the exception being handled that left an event outside every
    // handler's trap: its description and the request for a screenshot.
    // Call it only inside a catch block; it never throws.
    static void ReportUntrapped();

private:
    void report(int line);
    QString m_location;
};
