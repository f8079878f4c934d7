#pragma once

#include <QString>

// The system clipboard (not the selection). Each routine keeps trying while
// the clipboard is busy, at most kClipboardAttempts times, and never raises an
// error.

inline constexpr int kClipboardAttempts = 1000;

// Empties the clipboard.
void ClearClipboard();

// Places text on the clipboard: format 0 is the plain-text format, any other
// value names a format of its own. Returns -1 when the text was placed, 0 when
// every attempt failed.
qint16 SetClipboardText(const QString& text, qint32 format = 0);

// The clipboard's plain text; empty when it holds no text (an image, nothing
// at all) or every attempt failed.
QString GetClipboardText();

namespace ClipboardTesting {
// The next attempts attempts fail as if another program held the clipboard.
void SetBusyAttempts(int attempts);
// How many of those are left.
int BusyAttempts();
} // namespace ClipboardTesting
