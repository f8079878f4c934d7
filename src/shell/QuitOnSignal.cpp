#include "shell/QuitOnSignal.h"

#include "shell/Form1.h"

#include <QCoreApplication>
#include <QSocketNotifier>

QuitOnSignal::QuitOnSignal(Form1& form) : m_form(form)
{
    if (m_notifier.Descriptor() < 0)
        return;
    m_socket = new QSocketNotifier(m_notifier.Descriptor(), QSocketNotifier::Read, this);
    connect(m_socket, &QSocketNotifier::activated, this, &QuitOnSignal::quit);
}

QuitOnSignal::~QuitOnSignal() = default;

void QuitOnSignal::quit()
{
    const int signal = m_notifier.Take();
    if (signal == 0 || m_signal != 0)
        return;
    m_signal = signal;
    // Closing cancels the command that works, and the window closes when it
    // has ended; leaving every event loop ends the waits of boxes and
    // dialogs meanwhile, so that nothing waits for a click.
    m_form.close();
    QCoreApplication::exit(128 + signal);
}
