#include "platform/Process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
// Closes a descriptor once, whatever path the caller takes.
struct Descriptor {
    int fd = -1;
    ~Descriptor() { reset(); }
    void reset() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

std::string errnoText(const char* what, int code) {
    return std::string(what) + ": " + std::strerror(code);
}
}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOutputSink& sink) {
    ProcessResult result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.startError = errnoText("pipe", errno);
        return result;
    }
    Descriptor readEnd{fds[0]};
    Descriptor writeEnd{fds[1]};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.fd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.fd, STDERR_FILENO);

    std::vector<std::string> argvText;
    argvText.reserve(arguments.size() + 1);
    argvText.push_back(program);
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argvText) argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    bool searchPath = program.find('/') == std::string::npos;
    int rc = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                        : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    writeEnd.reset();  // the child holds the only write end now: end of file comes when it ends
    if (rc != 0) {
        result.startError = errnoText(program.c_str(), rc);
        return result;
    }
    result.started = true;

    std::vector<char> buffer(kProcessOutputChunk);
    for (;;) {
        ssize_t got = read(readEnd.fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (sink) sink(buffer.data(), static_cast<std::size_t>(got));
    }
    readEnd.reset();

    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    // A child that cannot exec (posix_spawn on some systems reports this only
    // through the exit status) ends with 127, which callers treat as failure.
    return result;
}
