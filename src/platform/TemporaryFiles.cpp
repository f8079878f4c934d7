#include "platform/TemporaryFiles.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <sched.h>
#include <unistd.h>

namespace {

enum State : int
{
    kFree,
    kFilling,    // its owner is writing the name
    kWriting,    // the file holds text being written
    kCommitting, // the file is being renamed into place
    kRemoving,   // a handler is removing it; the slot is the handler's
    kRemoved     // a handler removed it; the owner frees the slot
};

struct Slot
{
    std::atomic<int> state{kFree};
    char name[PATH_MAX];
};

// A save writes one file, the companion three: room to spare.
constexpr int kSlots = 16;
Slot g_slots[kSlots];

// Set by a handler: the program is stopping, and no commit starts.
std::atomic<bool> g_stopping{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler sets it");

static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the states");

} // namespace

void ListedTemporary::List(const QByteArray& name, bool committing)
{
    Unlist();
    if (name.size() >= PATH_MAX)
        return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling))
            continue;
        std::memcpy(g_slots[i].name, name.constData(), size_t(name.size()) + 1);
        g_slots[i].state.store(committing ? kCommitting : kWriting);
        m_slot = i;
        return;
    }
}

bool ListedTemporary::StartCommit()
{
    if (g_stopping.load())
        return false;
    if (m_slot < 0)
        return true;
    int expected = kWriting;
    return g_slots[m_slot].state.compare_exchange_strong(expected, kCommitting) ||
           expected == kCommitting;
}

void ListedTemporary::Unlist()
{
    if (m_slot < 0)
        return;
    std::atomic<int>& state = g_slots[m_slot].state;
    // A handler on another thread may be reading the name; it is done in
    // microseconds (or ends the program).
    for (int now = state.load();;) {
        if (now == kRemoving) {
            ::sched_yield();
            now = state.load();
        } else if (state.compare_exchange_weak(now, kFree)) {
            break;
        }
    }
    m_slot = -1;
}

void TemporaryFiles::RemoveListed(bool committing) noexcept
{
    g_stopping.store(true);
    for (Slot& slot : g_slots) {
        // The owner may start its commit meanwhile: the state is read again.
        for (int now = slot.state.load();;) {
            if (now != kWriting && !(committing && now == kCommitting))
                break;
            if (slot.state.compare_exchange_weak(now, kRemoving)) {
                ::unlink(slot.name);
                slot.state.store(kRemoved);
                break;
            }
        }
    }
}

void TemporaryFiles::Resume() noexcept
{
    g_stopping.store(false);
}
