#pragma once

#include <QString>
#include <functional>

// Message box styles: the buttons (the low three bits) plus an icon.
constexpr int kOkOnly = 0;
constexpr int kYesNo = 4;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kInformation = 64;
// With kYesNo: No is the default button, for a question whose Yes cannot be undone.
constexpr int kDefaultButton2 = 256;
// What a box answers: the button pressed.
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// The program's message boxes. style kOkOnly: OK, no icon; kYesNo: Yes and No
// (returns kAnswerYes or kAnswerNo); kExclamation: warning icon, OK. The
// caption is the application title unless a title is given. Returns kAnswerOk
// for OK. Every box is wide enough for its whole caption beside the title
// bar's buttons.
int MsgBox(const QString& prompt, int style = kOkOnly, const QString& title = QString());

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
