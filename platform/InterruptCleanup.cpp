#include "platform/InterruptCleanup.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The library holds at most three temporary files at a time (argument file,
// converter output, one module block); the rest is headroom.
constexpr int kSlots = 16;
constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the program, read by the handler: a slot's path is complete
// before its flag is set, and its flag is cleared before the path changes.
char gPaths[kSlots][PATH_MAX];
volatile sig_atomic_t gUsed[kSlots];
volatile pid_t gChildGroup = 0;
bool gInstalled = false;
sigset_t gMaskBeforeBlock;

void removeFiles() {
    for (int i = 0; i < kSlots; ++i)
        if (gUsed[i]) unlink(gPaths[i]);
}

// Only async-signal-safe calls: kill, waitpid, unlink, sigaction, raise.
void onInterrupt(int signal) {
    int savedErrno = errno;
    pid_t child = gChildGroup;
    if (child > 0) {
        kill(-child, SIGKILL);
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    removeFiles();
    struct sigaction standard{};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    errno = savedErrno;
    raise(signal);  // delivered once the handler returns: the process ends by the signal
}

void installOnce() {
    if (gInstalled) return;
    gInstalled = true;
    for (int signal : kHandledSignals) {
        struct sigaction current{};
        if (sigaction(signal, nullptr, &current) != 0) continue;
        if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO)) continue;
        struct sigaction handler{};
        handler.sa_handler = onInterrupt;
        sigemptyset(&handler.sa_mask);
        for (int other : kHandledSignals) sigaddset(&handler.sa_mask, other);
        sigaction(signal, &handler, nullptr);
    }
}

}  // namespace

int registerInterruptCleanupFile(const char* path) {
    installOnce();
    if (std::strlen(path) >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        if (gUsed[i]) continue;
        std::strcpy(gPaths[i], path);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        gUsed[i] = 1;
        return i;
    }
    return -1;
}

void unregisterInterruptCleanupFile(int slot) {
    if (slot >= 0 && slot < kSlots) gUsed[slot] = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

void setInterruptCleanupChild(pid_t group) {
    installOnce();
    gChildGroup = group;
}

void removeInterruptCleanupFiles() { removeFiles(); }

void blockInterruptSignals(bool block) {
    if (block) {
        sigset_t signals;
        sigemptyset(&signals);
        for (int signal : kHandledSignals) sigaddset(&signals, signal);
        sigprocmask(SIG_BLOCK, &signals, &gMaskBeforeBlock);
    } else {
        sigprocmask(SIG_SETMASK, &gMaskBeforeBlock, nullptr);
    }
}
