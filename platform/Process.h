// Starting a child program without a shell and collecting what it prints.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Largest piece of the child's output handed over in one call.
inline constexpr std::size_t kProcessOutputChunk = 32767;

struct ProcessResult {
    bool started = false;      // false when the program could not be started at all
    int exitStatus = -1;       // the exit status of the ended child; -1 when it died by a signal
    std::string startError;    // why it could not be started
};

// Receives one piece of the child's combined standard output and error.
using ProcessOutputSink = std::function<void(const char* data, std::size_t size)>;

// Runs `program` with `arguments` (argv[1..]) and waits for it to end. The
// child's standard output and standard error go into one pipe, which is read
// in chunks of at most kProcessOutputChunk bytes; every chunk goes to `sink`
// (when given). A program name without "/" is searched for in PATH. No shell
// is involved: blanks, quotes and semicolons in arguments reach the child as
// they are.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOutputSink& sink = {});
