#include "front/Fatal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Assertion lines name the source file without its directory, so they read the
// same whatever folder the converter was built in.
const char* baseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

[[noreturn]] void flushAndExit() {
    std::fflush(nullptr);  // the output files and standard output
    std::exit(1);
}
}  // namespace

void xlatorAssertionFailed(const char* expression, const std::string& message, const char* file,
                           int line) {
    std::fflush(stdout);
    std::fprintf(stderr, "ASSERTION FAILED: %s ('%s') at %s(%d)\n", expression, message.c_str(),
                 baseName(file), line);
    flushAndExit();
}

void xlatorInternalError(const std::string& message, const char* file, int line) {
    std::fflush(stdout);
    std::fprintf(stderr, "INTERNAL ERROR: '%s' at %s(%d)\n", message.c_str(), baseName(file), line);
    flushAndExit();
}

void xlatorWriteFailed(const std::string& fileName, int errorNumber) {
    std::fflush(stdout);
    std::fprintf(stderr, "ERROR: Unable to write output file '%s': %s\n", fileName.c_str(),
                 std::strerror(errorNumber));
    flushAndExit();
}
