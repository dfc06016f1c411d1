// What an interrupted process leaves behind. When SIGINT, SIGTERM or SIGHUP
// ends the process, the temporary files registered here are removed and the
// child process group running at that moment is killed; then the signal takes
// its normal course (the process ends by it). The handlers are installed the
// first time something is registered, and only for signals whose disposition
// is still the default: a signal the caller ignores stays ignored.
#pragma once

#include <sys/types.h>

// Registers a temporary file to remove on interruption; returns its slot, or
// -1 when every slot is taken (the file is then only removed normally).
int registerInterruptCleanupFile(const char* path);
void unregisterInterruptCleanupFile(int slot);

// The process group of the running child (its leader's process id), killed
// on interruption; 0 for none. The handler also waits for the leader, so that
// the child has ended before the process does.
void setInterruptCleanupChild(pid_t group);

// Removes every registered file now (the out-of-memory exit, which ends the
// process without unwinding).
void removeInterruptCleanupFiles();

// The signals that the cleanup handles, for callers that block them around a
// step that must not be cut in half (starting a child and registering it).
void blockInterruptSignals(bool block);
