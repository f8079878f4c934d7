#pragma once

// The signals that would end a program in the middle of a save.
namespace StopSignals {

// Going over the file-size limit (RLIMIT_FSIZE) fails the write with EFBIG,
// reported like a full disk, instead of ending the program with SIGXFSZ.
// The signal is caught and dropped rather than ignored, so that programs
// started from this one get it back at its default.
void SurviveFileSizeLimit();

// SIGINT, SIGTERM and SIGHUP remove the temporary files on disk, then end
// the program as the signal would have without a handler (the companion).
// A signal ignored when the program started (nohup) stays ignored; so for
// the Notifier.
void RemoveTemporariesAndEnd();

// Ends the program as signal does by default (status 128 + signal).
[[noreturn]] void EndAs(int signal);

// SIGINT, SIGTERM and SIGHUP, for a program with an event loop (the window):
// the handler removes the temporary files being written, so that no save
// starts its commit any more while one under way finishes, and passes the
// signal's number through a pipe, so that the loop can stop its work and
// quit. The same signal a second time
// ends the program at once. While one of these lives, the signals are its;
// destroyed, they get back what they had.
class Notifier
{
public:
    Notifier();
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    // Readable when a signal came.
    int Descriptor() const { return m_read; }
    // The last signal that came since the last call, or 0.
    int Take();

private:
    int m_read = -1, m_write = -1;
};

} // namespace StopSignals
