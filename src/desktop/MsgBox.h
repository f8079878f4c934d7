#pragma once

#include <QString>
#include <functional>

// The program's message boxes. style 0: OK, no icon; 4: Yes and No (returns
// 6 for Yes, 7 for No); 48: warning icon, OK. The caption is the application
// title unless a title is given. Returns 1 for OK.
int MsgBox(const QString& prompt, int style = 0, const QString& title = QString());

// What a message box asks, for tests that answer it instead of a person.
struct MsgBoxRequest
{
    QString prompt;
    int style;
    QString title; // the caption shown
};

namespace MsgBoxTesting {
// Answers every box through answer (returning the MsgBox result) instead of
// showing it; an empty function restores the real boxes.
void SetAnswerer(std::function<int(const MsgBoxRequest&)> answer);
} // namespace MsgBoxTesting

// The text as a box shows it: CR LF and each lone CR break the line.
QString MsgBoxDisplayText(const QString& prompt);
