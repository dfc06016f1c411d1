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

ProcessResult run(const std::string& program, const std::vector<std::string>& arguments, Collected& out) {
    return runProcess(program, arguments, [&out](const char* data, std::size_t size) {
        out.text.append(data, size);
        out.chunks.push_back(size);
    });
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
