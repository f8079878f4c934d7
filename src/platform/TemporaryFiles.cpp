#include "platform/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/syscall.h>
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

// The private folders of comparisons run from disk: one a comparison, a
// few at once at most.
constexpr int kFolderSlots = 4;
Slot g_folders[kFolderSlots];

// getdents64's record, which the C library does not declare.
struct DirectoryEntry
{
    quint64 inode;
    qint64 next;
    unsigned short size;
    unsigned char type;
    char name[1];
};

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

namespace {

// Frees a slot of the list a signal handler reads. A handler on another
// thread may be reading the name; it is done in microseconds (or ends the
// program).
void freeSlot(std::atomic<int>& state)
{
    for (int now = state.load();;) {
        if (now == kRemoving) {
            ::sched_yield();
            now = state.load();
        } else if (state.compare_exchange_weak(now, kFree)) {
            break;
        }
    }
}

} // namespace

void ListedTemporary::Unlist()
{
    if (m_slot < 0)
        return;
    freeSlot(g_slots[m_slot].state);
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
    for (Slot& folder : g_folders) {
        int now = kWriting;
        if (folder.state.compare_exchange_strong(now, kRemoving)) {
            const int savedErrno = errno;
            RemoveFolder(folder.name);
            errno = savedErrno;
            folder.state.store(kRemoved);
        }
    }
}

int TemporaryFiles::ListFolder(const QByteArray& path) noexcept
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < kFolderSlots; ++i) {
        int expected = kFree;
        if (!g_folders[i].state.compare_exchange_strong(expected, kFilling))
            continue;
        std::memcpy(g_folders[i].name, path.constData(), size_t(path.size()) + 1);
        g_folders[i].state.store(kWriting);
        return i;
    }
    return -1;
}

void TemporaryFiles::UnlistFolder(int slot) noexcept
{
    if (slot < 0 || slot >= kFolderSlots)
        return;
    freeSlot(g_folders[slot].state);
}

void TemporaryFiles::RemoveFolder(const char* path) noexcept
{
    // Only system calls: open, getdents64, unlinkat, close and rmdir are
    // safe in a handler, where opendir and readdir are not. A file made
    // meanwhile by another thread is found on the next round.
    for (int round = 0; round < 4; ++round) {
        const int dir = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (dir < 0)
            return;
        alignas(8) char entries[4096];
        for (;;) {
            const long got = ::syscall(SYS_getdents64, dir, entries, sizeof entries);
            if (got <= 0)
                break;
            for (long at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const DirectoryEntry*>(entries + at);
                at += entry->size;
                const char* name = entry->name;
                if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                    continue;
                ::unlinkat(dir, name, 0);
            }
        }
        ::close(dir);
        if (::rmdir(path) == 0 || errno == ENOENT)
            return;
    }
}

void TemporaryFiles::Resume() noexcept
{
    g_stopping.store(false);
}
