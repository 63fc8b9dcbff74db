// Named temporary files that a signal ending the process removes before the process ends
// (POSIX). What the handler touches is safe there: fixed slots, atomics and unlinkat.
#pragma once

#ifndef _WIN32

namespace signal_cleanup {

// Makes a file under `name` (at most kNameSize - 1 bytes) in the folder through `create`,
// which returns whether it made one, with the name listed for removal meanwhile. Returns the
// slot that lists the file, or -1 when nothing was made: `create` failed, every slot is
// taken, or the process is ending. A folder made so (`isFolder`) is removed only while empty.
template <typename Create>
int CreateListed(int folder, const char* name, Create create, bool isFolder = false);

// The file listed in the slot was renamed or removed: nothing is left to remove.
void Unlist(int slot);

// Installs the handler for the ending signals (but not for those the process was told to
// ignore) and ignores SIGPIPE and SIGXFSZ, so that a closed pipe or the file-size limit makes
// only the write in question fail.
void Install();

constexpr int kNameSize = 256;

// The steps of CreateListed.
int Reserve(int folder, const char* name, bool isFolder);
void Created(int slot, bool made);

template <typename Create>
int CreateListed(int folder, const char* name, Create create, bool isFolder)
{
    const int slot = Reserve(folder, name, isFolder);
    if (slot < 0) {
        return -1;
    }
    const bool made = create();
    Created(slot, made);
    return made ? slot : -1;
}

}  // namespace signal_cleanup

#endif
