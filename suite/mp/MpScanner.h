// The MP scanner: splits a TTCN.MP file buffer into "$"-keywords and the
// field texts between them. A "$" inside a quoted string ("..." or '...') or
// inside free text (/* ... */) does not start a keyword.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

// The size of the scanner buffer, which must hold the longest single token (a
// whole quoted string or free-text cell). Decided once per process: the
// "scanner.bufferSize" setting (1000000 when absent or below 16000), raised to
// VELD_SCANNER_BUFFER_SIZE when that is set and larger.
std::size_t scannerBufferSize();
// The "scanner.bufferSize" configuration setting; negative means absent.
// Must be called before the first scannerBufferSize() to take effect.
void setScannerBufferSizeSetting(long setting);
// Forgets the decided size so that the next call decides again (tests).
void resetScannerBufferSize();

struct MpToken {
    enum Kind { Keyword, End, Overflow };
    Kind kind = End;
    // Keyword: the name without "$" ("Begin_TestCase", "Line").
    std::string_view name;
    // Keyword: its field text up to the next keyword, untrimmed.
    std::string_view text;
    // Line of the keyword; for Overflow the line where the token began.
    int32_t line = 0;
};

class MpScanner {
public:
    // `warnings` receives the illegal-character warnings (may be null).
    MpScanner(std::string_view buffer, std::size_t bufferSize, std::FILE* warnings);

    // The next keyword with its text; End at the end of the buffer; Overflow
    // (and nothing after it) when a quoted string or free text is not closed
    // or longer than the buffer size.
    MpToken next();
    int32_t line() const { return line_; }

private:
    // Scans up to the next keyword from pos_; returns false on overflow.
    bool skipText();
    void checkCharacter(unsigned char c);
    // Counts the line ends of [from, to); checkRange also reports the illegal
    // characters there.
    void countLines(std::size_t from, std::size_t to);
    void checkRange(std::size_t from, std::size_t to);

    std::string_view buffer_;
    std::size_t bufferSize_;
    std::FILE* warnings_;
    std::size_t pos_ = 0;
    int32_t line_ = 1;
    int32_t overflowLine_ = 0;
    bool failed_ = false;
};
