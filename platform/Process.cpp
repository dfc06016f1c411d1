#include "platform/Process.h"

#include "platform/InterruptCleanup.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
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

std::string errnoText(const std::string& what, int code) { return what + ": " + std::strerror(code); }

long long nowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The end of the child's time; none without a limit.
class Deadline {
public:
    explicit Deadline(int seconds) : limited_(seconds > 0), end_(nowMilliseconds() + seconds * 1000LL) {}
    bool limited() const { return limited_; }
    bool passed() const { return limited_ && nowMilliseconds() >= end_; }
    // Milliseconds to wait in poll(): -1 without a limit.
    int pollWait() const {
        if (!limited_) return -1;
        long long left = end_ - nowMilliseconds();
        return left <= 0 ? 0 : static_cast<int>(left < INT_MAX ? left : INT_MAX);
    }

private:
    bool limited_;
    long long end_;
};

// Waits until the child has ended without reaping it (so its process id
// cannot be reused while the interrupt cleanup still names it); false when
// the deadline passed first.
bool awaitEnd(pid_t pid, const Deadline& deadline) {
    for (;;) {
        siginfo_t info{};
        int options = WEXITED | WNOWAIT | (deadline.limited() ? WNOHANG : 0);
        int rc = waitid(P_PID, static_cast<id_t>(pid), &info, options);
        if (rc < 0 && errno == EINTR) continue;
        if (rc < 0 || info.si_pid == pid) return true;
        if (deadline.passed()) return false;
        timespec pause{0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

// Reaps the ended child and forgets it as the group to kill on interruption.
int reap(pid_t pid) {
    blockInterruptSignals(true);
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    setInterruptCleanupChild(0);
    blockInterruptSignals(false);
    return waited == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

std::optional<std::string> findInSearchPath(const std::string& name, const std::string& searchPath) {
    std::size_t start = 0;
    for (;;) {
        std::size_t colon = searchPath.find(':', start);
        std::string entry = searchPath.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (!entry.empty() && entry[0] == '/') {
            std::string candidate = entry + (entry.back() == '/' ? "" : "/") + name;
            struct stat info;
            if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        if (colon == std::string::npos) return std::nullopt;
        start = colon + 1;
    }
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOutputSink& sink, int timeoutSeconds) {
    ProcessResult result;
    std::string path = program;
    if (program.find('/') == std::string::npos) {
        const char* searchPath = std::getenv("PATH");
        std::optional<std::string> found = findInSearchPath(program, searchPath ? searchPath : "");
        if (!found) {
            result.startError = program + ": not found in the absolute folders of PATH";
            return result;
        }
        path = *found;
    }

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.startError = errnoText("pipe", errno);
        return result;
    }
    Descriptor readEnd{fds[0]};
    Descriptor writeEnd{fds[1]};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.fd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.fd, STDERR_FILENO);

    // Its own process group, so that a time-out or an interrupt ends the tool
    // and whatever it started; the signal mask the caller had, not the one
    // that keeps interrupts out while the child is being registered.
    sigset_t callerMask;
    sigprocmask(SIG_SETMASK, nullptr, &callerMask);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &callerMask);

    std::vector<std::string> argvText;
    argvText.reserve(arguments.size() + 1);
    argvText.push_back(program);
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argvText) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<char> buffer(kProcessOutputChunk);

    pid_t pid = 0;
    blockInterruptSignals(true);
    int rc = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    if (rc == 0) setInterruptCleanupChild(pid);
    blockInterruptSignals(false);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    writeEnd.reset();  // the child holds the only write end now: end of file comes when it ends
    if (rc != 0) {
        result.startError = errnoText(program, rc);
        return result;
    }
    result.started = true;

    Deadline deadline(timeoutSeconds);
    auto killGroup = [&] {
        kill(-pid, SIGKILL);
        result.timedOut = true;
    };
    while (!result.timedOut) {
        pollfd ready{readEnd.fd, POLLIN, 0};
        int polled = poll(&ready, 1, deadline.pollWait());
        if (polled < 0 && errno == EINTR) continue;
        if (polled < 0) break;
        if (polled == 0) {
            if (deadline.passed()) killGroup();
            continue;
        }
        ssize_t got = read(readEnd.fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (sink) sink(buffer.data(), static_cast<std::size_t>(got));
    }
    readEnd.reset();
    // The output is closed, but the child may still run (it closed its
    // output and went on): it gets the rest of its time.
    if (!result.timedOut && !awaitEnd(pid, deadline)) killGroup();
    int status = reap(pid);
    // A child that cannot exec (posix_spawn on some systems reports this only
    // through the exit status) ends with 127, which callers treat as failure.
    if (!result.timedOut) result.exitStatus = status;
    return result;
}
