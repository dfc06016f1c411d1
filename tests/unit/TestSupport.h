// Helpers shared by the unit tests: files, scratch folders, streams read back
// as text, environment settings undone afterwards, and the published ASN.1
// modules kept beside the repository.
#pragma once

#include "suite/LibrarySettings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A POSIX extended expression that matches `text` literally.
inline std::string regexLiteral(std::string_view text) {
    std::string pattern;
    for (char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern;
}

// The whole failure line `message` at `file` (or at any source file when
// empty), the line number left open.
inline std::string failureLinePattern(std::string_view message, std::string_view file = {}) {
    std::string pattern = "^";
    pattern += regexLiteral(message);
    pattern += file.empty() ? " at [A-Za-z]+\\.cpp" : " at [^\n]*";
    pattern += regexLiteral(file);
    pattern += "\\([0-9]+\\)\n$";
    return pattern;
}

// The folder of the programs: the test programs are built beside xlator.exe,
// modconv.exe and the keyword file.
inline fs::path binaryDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// A stream whose contents can be read back as text.
class CapturedStream {
public:
    CapturedStream() : file_(std::tmpfile()) {}
    ~CapturedStream() {
        if (file_) std::fclose(file_);
    }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;

    std::FILE* get() const { return file_; }
    std::string text() const {
        std::fflush(file_);
        std::rewind(file_);
        std::string result;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) result.append(buffer, n);
        return result;
    }

private:
    std::FILE* file_;
};

// A fresh scratch folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "xlator_testXXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }
    // Writes a file into the folder and gives its path.
    std::string write(const std::string& name, const std::string& contents) const {
        writeFile(path_ / name, contents);
        return (path_ / name).string();
    }

private:
    fs::path path_;
};

// Sets (or unsets, with nullopt) an environment variable for one scope; the
// library's settings read it again on both changes.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        set(value);
    }
    ~ScopedEnvironment() { set(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) setenv(name_.c_str(), value->c_str(), 1);
        else unsetenv(name_.c_str());
        LibrarySettings::reload();
    }
    std::string name_;
    std::optional<std::string> old_;
};

// The published ASN.1 modules: shared/testdata/asn1 beside the repository (a
// worktree of it sits one folder deeper). Empty when not there.
inline fs::path publishedModulesDir() {
    const fs::path repository = fs::path(__FILE__).parent_path().parent_path().parent_path();
    for (const fs::path& shared : {repository.parent_path() / "shared", repository.parent_path().parent_path() / "shared"})
        if (fs::is_directory(shared / "testdata" / "asn1")) return shared / "testdata" / "asn1";
    return {};
}

// One published module by its file name, in whichever subfolder it lies.
inline fs::path publishedModule(const std::string& fileName) {
    const fs::path dir = publishedModulesDir();
    if (!dir.empty())
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.path().filename() == fileName) return entry.path();
    ADD_FAILURE() << fileName << " is not among the published modules";
    return {};
}

// In CI (CI set and not "false" or "0") a test never skips for want of data.
inline bool skipsAreFailures() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string(ci) != "false" && std::string(ci) != "0";
}

// Tests that need the published modules say so when they are not there: a
// skip with its reason, or a failure in CI.
#define XLATOR_REQUIRE_PUBLISHED_MODULES()                                                           \
    if (publishedModulesDir().empty()) {                                                             \
        const char* why = "needs the published ASN.1 modules in ../shared/testdata/asn1 beside the " \
                          "repository";                                                              \
        if (skipsAreFailures()) GTEST_FAIL() << why << " (CI does not skip)";                        \
        GTEST_SKIP() << why;                                                                         \
    }
