#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "TestSupport.h"
#include "platform/FileStamp.h"
#include "platform/Process.h"

namespace {
struct Collected {
    std::string text;
    std::vector<std::size_t> chunks;
};

ProcessResult run(const std::string& program, const std::vector<std::string>& arguments, Collected& out,
                  int timeoutSeconds = 0) {
    return runProcess(
        program, arguments,
        [&out](const char* data, std::size_t size) {
            out.text.append(data, size);
            out.chunks.push_back(size);
        },
        timeoutSeconds);
}
}  // namespace

TEST(ChildProcess, ArgumentsReachTheChildWithoutAShell) {
    Collected out;
    ProcessResult result = run("printf", {"[%s]\\n", "a b", "say \"hi\"", "x;rm -rf y", "$HOME", "*"}, out);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(out.text, "[a b]\n[say \"hi\"]\n[x;rm -rf y]\n[$HOME]\n[*]\n");
}

TEST(ChildProcess, OutputAndErrorShareOnePipeAndTheExitStatusIsTheChilds) {
    Collected out;
    ProcessResult result = run("/bin/sh", {"-c", "echo one; echo two >&2; echo three; exit 7"}, out);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, 7);
    EXPECT_EQ(out.text, "one\ntwo\nthree\n");
}

TEST(ChildProcess, LongOutputComesInChunksOfAtMost32767Bytes) {
    Collected out;
    ProcessResult result = run("head", {"-c", "200000", "/dev/zero"}, out);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(out.text.size(), 200000u);
    ASSERT_GE(out.chunks.size(), 7u);
    for (std::size_t size : out.chunks) EXPECT_LE(size, 32767u);
}

TEST(ChildProcess, MissingProgramIsNotStarted) {
    Collected out;
    ProcessResult byPath = run("/nonexistent/modconv.exe", {}, out);
    EXPECT_FALSE(byPath.started);
    EXPECT_NE(byPath.startError, "");
    ScopedEnvironment emptyPath("PATH", "/nonexistent");
    ProcessResult bySearch = run("modconv.exe", {}, out);
    EXPECT_FALSE(bySearch.started);
    EXPECT_EQ(out.text, "");
}

TEST(ChildProcess, StandardInputIsEmpty) {
    Collected out;
    ProcessResult result = run("/bin/sh", {"-c", "cat; echo read to the end"}, out);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(out.text, "read to the end\n");
}

// A child past its time is killed with everything it started (its process
// group), also when it left its output open to a process of its own.
TEST(ChildProcess, ChildPastItsTimeIsKilledWithItsProcessGroup) {
    Collected out;
    ProcessResult result = run("/bin/sh", {"-c", "sleep 30 & echo $!; wait"}, out, 1);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.exitStatus, -1);
    // The sleeper is gone, or a zombie waiting for its new parent, once the
    // kill has reached it.
    std::string statFile = "/proc/" + std::to_string(std::atoi(out.text.c_str())) + "/stat";
    auto ended = [&] {
        std::string stat = readFile(statFile);
        return stat.empty() || stat.compare(stat.rfind(") ") + 2, 1, "Z") == 0;
    };
    for (int tries = 0; tries < 100 && !ended(); ++tries) usleep(20000);
    EXPECT_TRUE(ended()) << readFile(statFile);

    Collected quick;
    ProcessResult inTime = run("/bin/sh", {"-c", "echo quick"}, quick, 30);
    EXPECT_FALSE(inTime.timedOut);
    EXPECT_EQ(inTime.exitStatus, 0);
}

// A bare program name is looked for only in the absolute folders of the
// search path: an empty entry, "." or a relative one is the working directory.
TEST(ChildProcess, SearchPathSkipsEntriesRelativeToTheWorkingDirectory) {
    fs::path dir = fs::temp_directory_path() / ("search_path_" + std::to_string(getpid()));
    fs::create_directories(dir / "bin");
    fs::path previous = fs::current_path();
    fs::current_path(dir);
    for (const fs::path& tool : {dir / "tool", dir / "bin" / "tool"}) {
        writeFile(tool, "#!/bin/sh\n");
        fs::permissions(tool, fs::perms::owner_all);
    }
    writeFile(dir / "bin" / "not-executable", "");
    const std::string absolute = (dir / "bin").string();
    const struct {
        std::string searchPath;
        const char* name;
        std::optional<std::string> found;
    } cases[] = {
        {"", "tool", std::nullopt},
        {":", "tool", std::nullopt},
        {".:bin:./bin", "tool", std::nullopt},
        {"::" + absolute, "tool", absolute + "/tool"},
        {absolute + "/:.", "tool", absolute + "/tool"},
        {"/nonexistent:" + absolute, "tool", absolute + "/tool"},
        {absolute, "not-executable", std::nullopt},
        {absolute, "missing", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(findInSearchPath(c.name, c.searchPath), c.found) << c.searchPath;
    fs::current_path(previous);
    fs::remove_all(dir);
}

TEST(ChildProcess, SignalledChildHasNoExitStatus) {
    Collected out;
    ProcessResult result = run("/bin/sh", {"-c", "kill -9 $$"}, out);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, -1);
}

TEST(FileStamps, StampIsTheModificationSecondAndMissingFilesHaveNone) {
    std::string path = (fs::temp_directory_path() / "stampXXXXXX").string();
    int fd = mkstemp(path.data());
    ASSERT_GE(fd, 0);
    close(fd);
    struct timespec times[2] = {{1234567890, 0}, {1234567890, 999}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(fileModificationStamp(path), std::optional<std::uint32_t>(1234567890u));
    fs::remove(path);
    EXPECT_EQ(fileModificationStamp(path), std::nullopt);
}
