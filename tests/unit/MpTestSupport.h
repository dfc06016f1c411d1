// Helpers of the MP importer tests: import from text, capture a stream.
#pragma once

#include "suite/mp/MpImport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

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
        long size = std::ftell(file_);
        std::string result(static_cast<std::size_t>(size), '\0');
        std::rewind(file_);
        std::size_t got = std::fread(result.data(), 1, result.size(), file_);
        result.resize(got);
        std::fseek(file_, 0, SEEK_END);
        return result;
    }

private:
    std::FILE* file_;
};

// A file in a fresh scratch folder, removed with the folder.
class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/mptestXXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string write(const std::string& name, const std::string& contents) const {
        std::string path = (path_ / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

private:
    std::filesystem::path path_;
};

inline std::string mpTestDataDir() { return (std::filesystem::path(__FILE__).parent_path() / "mp").string(); }

// Imports MP text; warnings go to `log` when given.
inline std::unique_ptr<Document> importText(const std::string& text, LibraryError& error, std::FILE* log = nullptr,
                                            const std::string& fileName = "t.mp") {
    MpImportOptions options;
    options.log = log;
    return importMpText(fileName, text, options, error);
}
