// The list of named temporary files and the handler that removes them when a signal ends
// the process, then lets the signal end it as it would have.
#include "cli/signal_cleanup.h"

#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace signal_cleanup {

namespace {

// A slot is filled while Filling, so that the handler never reads a half-written name.
enum class SlotState { Free, Filling, Listed };

struct Slot {
    std::atomic<SlotState> state{SlotState::Free};
    int folder = -1;
    bool isFolder = false;
    char name[kNameSize] = {};
};

// A run holds at most its jobs' files and the complete ones waiting for their turn (four per
// job and four more), and jobs are at most 128: fewer than this.
constexpr int kSlots = 1024;
Slot slots[kSlots];

// Threads between reserving a name and knowing whether the file was made. The handler waits
// for those on other threads, so that no file appears after it has looked; one on its own
// thread cannot go on before the handler ends, and its name is listed already.
std::atomic<int> creating{0};
thread_local int creatingHere = 0;
std::atomic<bool> ending{false};

const int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2};

void EndingSignalSet(sigset_t& set)
{
    sigemptyset(&set);
    for (const int signal : kEndingSignals) {
        sigaddset(&set, signal);
    }
}

void OnEndingSignal(int signal)
{
    const int savedErrno = errno;
    ending = true;
    while (creating.load() > creatingHere) {
        // Another thread is making a file; it takes one system call.
    }
    for (Slot& slot : slots) {
        if (slot.state.load() == SlotState::Listed && !slot.isFolder) {
            unlinkat(slot.folder, slot.name, 0);
        }
    }
    // Folders inside folders: each pass removes those that are empty by now.
    for (bool removed = true; removed;) {
        removed = false;
        for (Slot& slot : slots) {
            if (slot.state.load() == SlotState::Listed && slot.isFolder &&
                unlinkat(slot.folder, slot.name, AT_REMOVEDIR) == 0) {
                slot.state = SlotState::Free;
                removed = true;
            }
        }
    }
    // Ended as the signal itself ends a process, so the parent sees which signal it was: the
    // signal stays pending until this handler returns and then finds its default action.
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);
    errno = savedErrno;
}

}  // namespace

int Reserve(int folder, const char* name, bool isFolder)
{
    if (strlen(name) >= static_cast<size_t>(kNameSize)) {
        return -1;
    }
    ++creatingHere;
    ++creating;
    if (ending.load()) {
        --creating;
        --creatingHere;
        return -1;
    }
    for (int i = 0; i < kSlots; ++i) {
        SlotState expected = SlotState::Free;
        if (slots[i].state.load() == SlotState::Free &&
            slots[i].state.compare_exchange_strong(expected, SlotState::Filling)) {
            slots[i].folder = folder;
            slots[i].isFolder = isFolder;
            memcpy(slots[i].name, name, strlen(name) + 1);
            slots[i].state = SlotState::Listed;
            return i;
        }
    }
    --creating;
    --creatingHere;
    // As many files as the process can keep track of: the same as running out of descriptors.
    errno = EMFILE;
    return -1;
}

void Created(int slot, bool made)
{
    if (!made) {
        slots[slot].state = SlotState::Free;
    }
    --creating;
    --creatingHere;
}

void Unlist(int slot)
{
    if (slot >= 0) {
        slots[slot].state = SlotState::Free;
    }
}

void Install()
{
    struct sigaction action = {};
    action.sa_handler = OnEndingSignal;
    EndingSignalSet(action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals) {
        struct sigaction old;
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

}  // namespace signal_cleanup

#endif
