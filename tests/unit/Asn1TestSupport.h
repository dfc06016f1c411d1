// Shared helpers of the ASN.1 association and converter tests: a scratch
// working directory, files, environment settings that are undone afterwards.
#pragma once

#include <gtest/gtest.h>

#include "suite/LibrarySettings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace asn1test {

namespace fs = std::filesystem;

// Where the build puts the programs: beside this test program.
inline fs::path binaryDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// The folder of real ASN.1 modules kept next to the repository, if present.
inline std::optional<fs::path> corpusDirectory() {
    for (fs::path dir = fs::path(__FILE__).parent_path(); dir.has_relative_path(); dir = dir.parent_path()) {
        fs::path candidate = dir / "shared" / "testdata" / "asn1";
        if (fs::is_directory(candidate)) return candidate;
        if (dir == dir.parent_path()) break;
    }
    return std::nullopt;
}

inline void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets (or unsets, with nullopt) an environment variable for one scope; the
// library's settings read it again on both changes.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value) setenv(name_.c_str(), value->c_str(), 1);
        else unsetenv(name_.c_str());
        LibrarySettings::reload();
    }
    ~ScopedEnvironment() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
        LibrarySettings::reload();
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A fresh working directory holding the converter's keyword file, with VELD
// naming the build's program folder.
class ScratchDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "asn1testXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(dir_);
        fs::copy_file(binaryDirectory() / "modconv_kwd.txt", dir_ / "modconv_kwd.txt");
        veld_.emplace("VELD", binaryDirectory().string());
        fs::create_directory(dir_ / "tmp");
        tmpdir_.emplace("TMPDIR", (dir_ / "tmp").string());
    }
    void TearDown() override {
        veld_.reset();
        tmpdir_.reset();
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    fs::path dir_;
    fs::path previous_;
    std::optional<ScopedEnvironment> veld_;
    std::optional<ScopedEnvironment> tmpdir_;
};

}  // namespace asn1test
