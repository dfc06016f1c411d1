// Harness: one MP file opened as a suite (the MP importer, the analysis and
// the suite tree, through AccessSuite::open like the converter), then the
// definition collector and the translation visitor writing into two memory
// streams. Inputs that do not open are dropped like the converter drops them.
//
// The translators end the process on an assertion or internal error by
// design (exit code 1, see front/Fatal.h). Here that is an expected outcome,
// not a finding, and the fuzzer must go on with the next input, so this file
// defines the three fatal-error functions itself: the linker then takes these
// and never pulls front/Fatal.cpp out of the writer library for this program.
// They throw TranslationEnded, which the entry point catches. Every other
// program keeps the real functions; the product code is the same.
#include "tests/fuzz/FuzzHarness.h"

#include "access/AccessSuite.h"
#include "front/Fatal.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"
#include "translate/XlatorVisitor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

// What the fatal-error functions would have printed before exiting.
struct TranslationEnded {
    std::string line;
};

// The suite library opens suites from files: every input is written over one
// scratch file of this process, removed at exit.
class ScratchFile {
public:
    ScratchFile() {
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir && *dir ? dir : "/tmp") + "/fuzz_translation_" + std::to_string(::getpid()) + ".mp";
    }
    ~ScratchFile() { ::unlink(path_.c_str()); }
    bool write(const uint8_t* data, std::size_t size) const {
        int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) return false;
        std::size_t done = 0;
        while (done < size) {
            ssize_t n = ::write(fd, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        return done == size;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A memory stream for one output file, freed with the input.
class MemoryStream {
public:
    MemoryStream() : file_(::open_memstream(&buffer_, &size_)) {}
    ~MemoryStream() {
        if (file_) std::fclose(file_);
        std::free(buffer_);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    std::FILE* file() const { return file_; }

private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

// The collector and the behaviour context are the run's global state; an
// input whose translation ended early leaves them half filled.
void resetTranslatorState() {
    gDefinitionCollector = XlatorDefinitionCollector();
    gpRootBehaviour = nullptr;
}

const char* baseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

}  // namespace

void xlatorAssertionFailed(const char* expression, const std::string& message, const char* file,
                           int line) {
    throw TranslationEnded{"ASSERTION FAILED: " + std::string(expression) + " ('" + message + "') at " +
                           baseName(file) + "(" + std::to_string(line) + ")"};
}

void xlatorInternalError(const std::string& message, const char* file, int line) {
    throw TranslationEnded{"INTERNAL ERROR: '" + message + "' at " + baseName(file) + "(" +
                           std::to_string(line) + ")"};
}

void xlatorWriteFailed(const std::string& fileName, int errorNumber) {
    throw TranslationEnded{"ERROR: Unable to write output file '" + fileName + "': " +
                           std::strerror(errorNumber)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    static std::FILE* const report = std::fopen("/dev/null", "w");
    if (!scratch.write(data, size)) return 0;

    AccessSuite suite;
    suite.setReportStream(report);
    if (suite.open("\"" + scratch.path() + "\" ", nullptr) != 1) return 0;

    resetTranslatorState();
    MemoryStream ttcn;
    MemoryStream asn;
    if (!ttcn.file() || !asn.file()) return 0;
    createOutput(ttcn.file(), asn.file());
    try {
        gDefinitionCollector.Visit(suite.root());
        XlatorVisitor visitor(suite);
        visitor.Visit(suite.root());
    } catch (const TranslationEnded& ended) {
        // Shown when inputs are replayed; a campaign closes standard error.
        std::fprintf(stderr, "translation ended: %s\n", ended.line.c_str());
    }
    resetTranslatorState();
    return 0;
}
