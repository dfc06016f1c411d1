// Starting a child program without a shell and collecting what it prints.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Largest piece of the child's output handed over in one call.
inline constexpr std::size_t kProcessOutputChunk = 32767;

struct ProcessResult {
    bool started = false;      // false when the program could not be started at all
    int exitStatus = -1;       // the exit status of the ended child; -1 when it died by a signal
    bool timedOut = false;     // the time limit passed and the child's process group was killed
    std::string startError;    // why it could not be started
};

// Receives one piece of the child's combined standard output and error.
using ProcessOutputSink = std::function<void(const char* data, std::size_t size)>;

// Runs `program` with `arguments` (argv[1..]) and waits for it to end. The
// child's standard output and standard error go into one pipe, which is read
// in chunks of at most kProcessOutputChunk bytes; every chunk goes to `sink`
// (when given). Its standard input is /dev/null. No shell is involved: blanks,
// quotes and semicolons in arguments reach the child as they are.
//
// A program name without "/" is searched for in PATH (findInSearchPath). The
// child runs in a process group of its own; when `timeoutSeconds` is above 0
// and the child has not ended that many seconds after its start, the whole
// group is killed and the result says so. An interrupted caller kills the
// group too (platform/InterruptCleanup.h).
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOutputSink& sink = {}, int timeoutSeconds = 0);

// The first executable regular file `<entry>/<name>` for the entries of the
// search path `searchPath` (":"-separated). Only absolute entries count: an
// empty entry, "." or any other relative entry would run a program of the
// working directory, which is the suite's folder, so they are skipped.
std::optional<std::string> findInSearchPath(const std::string& name, const std::string& searchPath);
