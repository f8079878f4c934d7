#include "platform/StopSignals.h"

#include "platform/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Where the window's handler writes; -1 while no Notifier lives.
std::atomic<int> g_notifyTo{-1};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads it");

struct sigaction g_previous[std::size(kStopSignals)];

void dropSignal(int) {}

void removeAndEnd(int signal)
{
    TemporaryFiles::RemoveListed(true);
    // SA_RESETHAND has put back the default: the signal, blocked until the
    // handler returns, then ends the program with its usual status.
    ::raise(signal);
}

void removeAndNotify(int signal)
{
    const int savedErrno = errno;
    TemporaryFiles::RemoveListed(false);
    const unsigned char number = static_cast<unsigned char>(signal);
    const int fd = g_notifyTo.load();
    if (fd >= 0)
        (void)!::write(fd, &number, 1);
    errno = savedErrno;
}

// A signal ignored when the program started (nohup, a background job of a
// script) stays ignored, as whoever started the program asked.
void handleStops(void (*handler)(int), struct sigaction* previous)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    // One signal's handler runs to its end before another's starts; the
    // second of the same signal gets the default.
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals)
        sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction before = {};
        ::sigaction(kStopSignals[i], nullptr, &before);
        if (previous)
            previous[i] = before;
        if (before.sa_handler != SIG_IGN)
            ::sigaction(kStopSignals[i], &action, nullptr);
    }
}

} // namespace

namespace StopSignals {

void SurviveFileSizeLimit()
{
    struct sigaction action = {};
    action.sa_handler = dropSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGXFSZ, &action, nullptr);
}

void RemoveTemporariesAndEnd()
{
    handleStops(removeAndEnd, nullptr);
}

void EndAs(int signal)
{
    ::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal);
}

Notifier::Notifier()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their defaults: they end the program at once
    m_read = ends[0];
    m_write = ends[1];
    g_notifyTo.store(m_write);
    handleStops(removeAndNotify, g_previous);
}

Notifier::~Notifier()
{
    if (m_write < 0)
        return;
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
    g_notifyTo.store(-1);
    ::close(m_write);
    ::close(m_read);
    TemporaryFiles::Resume();
}

int Notifier::Take()
{
    int last = 0;
    unsigned char number = 0;
    while (m_read >= 0 && ::read(m_read, &number, 1) == 1)
        last = number;
    return last;
}

} // namespace StopSignals
