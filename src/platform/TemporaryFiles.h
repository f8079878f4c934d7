#pragma once

#include <QByteArray>

// The temporary files this process has on disk under a name, listed where a
// signal handler can remove them: fixed slots, no allocation, no lock.
//
// A file is listed while it is written, and while it is being renamed into
// place at a commit. A handler can remove the first kind and let a commit
// under way finish, when the program goes on to end by itself, or remove
// both, when it ends at once.
class ListedTemporary
{
public:
    ListedTemporary() = default;
    ~ListedTemporary() { Unlist(); }
    ListedTemporary(const ListedTemporary&) = delete;
    ListedTemporary& operator=(const ListedTemporary&) = delete;

    // Lists name, a file about to be created under it or being written
    // (committing false), or about to be linked in and renamed into place
    // (committing true); replaces what this one listed before. A name that
    // does not fit, or one more than the slots hold, goes unlisted: the save
    // works all the same, only a signal leaves that file behind.
    void List(const QByteArray& name, bool committing);

    // Marks the file as being renamed into place. False once a signal has
    // come (RemoveListed): the save is being stopped, and the caller removes
    // what is left of it. Also for a file not listed.
    bool StartCommit();

    // Takes the name off the list (the file is the caller's business).
    void Unlist();

private:
    int m_slot = -1;
};

namespace TemporaryFiles {

// Removes every listed file being written, and with committing those being
// renamed into place too; from then on no commit starts. Safe in a signal
// handler, on any thread.
void RemoveListed(bool committing) noexcept;

// Lets commits start again, once whoever stopped them is done.
void Resume() noexcept;

// Lists a private folder of temporary files (TemporaryFolder), which
// RemoveListed removes with everything in it; returns its slot, or -1 when
// none is free (the folder then stays behind a signal).
int ListFolder(const QByteArray& path) noexcept;
// Takes the folder in slot off the list, once the handler is done with it.
void UnlistFolder(int slot) noexcept;

// Removes the files in folder path (not in folders within it), then the
// folder. Safe in a signal handler.
void RemoveFolder(const char* path) noexcept;

} // namespace TemporaryFiles
