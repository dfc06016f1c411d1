// The converter's two fatal-error forms. Every translator failure goes through
// these: one line on standard error, everything written so far flushed, exit 1.
#pragma once

#include <string>

[[noreturn]] void xlatorAssertionFailed(const char* expression, const std::string& message,
                                        const char* file, int line);
[[noreturn]] void xlatorInternalError(const std::string& message, const char* file, int line);

// "ASSERTION FAILED: <expr> ('<message>') at <file>(<line>)"
#define XLATOR_ASSERT(expr, message)                                       \
    do {                                                                   \
        if (!(expr)) xlatorAssertionFailed(#expr, (message), __FILE__, __LINE__); \
    } while (0)

// A write to an output file that did not reach it (a full disk, a file size
// limit): "ERROR: Unable to write output file '<name>': <reason>", exit 1.
[[noreturn]] void xlatorWriteFailed(const std::string& fileName, int errorNumber);

// "INTERNAL ERROR: '<message>' at <file>(<line>)"
#define XLATOR_INTERNAL_ERROR(message) xlatorInternalError((message), __FILE__, __LINE__)
