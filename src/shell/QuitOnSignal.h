#pragma once

#include "platform/StopSignals.h"

#include <QObject>

class Form1;
class QSocketNotifier;

// Ends the window on SIGINT, SIGTERM or SIGHUP as closing it would, without
// waiting on anybody: the command that works is cancelled (a save leaves the
// old file and no temporary file), any box or dialog open is let go, and the
// event loop is left. main() then ends with the signal, as the program would
// have without a handler.
class QuitOnSignal : public QObject
{
public:
    explicit QuitOnSignal(Form1& form);
    ~QuitOnSignal() override;

    // The signal that asked the window to quit, or 0.
    int Signal() const { return m_signal; }

private:
    void quit();

    Form1& m_form;
    StopSignals::Notifier m_notifier;
    QSocketNotifier* m_socket = nullptr;
    int m_signal = 0;
};
