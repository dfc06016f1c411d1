#include "suite/mp/MpScanner.h"

#include "suite/LibrarySettings.h"

#include <cstring>

namespace {
constexpr std::size_t kDefaultBufferSize = 1000000;
constexpr long kSmallestSetting = 16000;

long gSetting = -1;
std::size_t gDecided = 0;

bool keywordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The characters of a keyword's name: letters, digits, "_" and "&".
struct KeywordChars {
    bool of[256] = {};
    KeywordChars() {
        for (int c = 0; c < 256; ++c)
            of[c] = keywordStart(static_cast<char>(c)) || (c >= '0' && c <= '9') || c == '_' || c == '&';
    }
};
const KeywordChars kKeywordChars;
bool keywordChar(char c) { return kKeywordChars.of[static_cast<unsigned char>(c)]; }
}  // namespace

std::size_t scannerBufferSize() {
    if (gDecided != 0) return gDecided;
    std::size_t size = gSetting < kSmallestSetting ? kDefaultBufferSize : static_cast<std::size_t>(gSetting);
    long requested = LibrarySettings::scannerBufferSize();
    if (requested > 0 && static_cast<std::size_t>(requested) > size) size = static_cast<std::size_t>(requested);
    gDecided = size;
    return size;
}

void setScannerBufferSizeSetting(long setting) { gSetting = setting; }
void resetScannerBufferSize() { gDecided = 0; }

MpScanner::MpScanner(std::string_view buffer, std::size_t bufferSize, std::FILE* warnings)
    : buffer_(buffer), bufferSize_(bufferSize), warnings_(warnings) {}

void MpScanner::checkCharacter(unsigned char c) {
    if (c < 0x20 && c != '\n' && c != '\t' && c != '\r' && warnings_)
        std::fprintf(warnings_, "Warning: Illegal character (0x%X) in line %d\n", c, line_);
}

namespace {

// The bytes the scan between keywords has to stop at: line ends (counted),
// "$" (a keyword may start), quotes and "/" (a token may start), and, when
// illegal characters are reported, the other control characters.
struct StopBytes {
    bool plain[256] = {};
    bool checked[256] = {};
    StopBytes() {
        for (unsigned char c : {'\n', '$', '"', '\'', '/'}) plain[c] = checked[c] = true;
        for (int c = 0; c < 0x20; ++c)
            if (c != '\n' && c != '\t' && c != '\r') checked[c] = true;
    }
};
const StopBytes kStops;

}  // namespace

void MpScanner::countLines(std::size_t from, std::size_t to) {
    const char* p = buffer_.data() + from;
    const char* end = buffer_.data() + to;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++line_;
        ++p;
    }
}

void MpScanner::checkRange(std::size_t from, std::size_t to) {
    // Line by line, so that each warning names its own line.
    for (std::size_t i = from; i < to; ++i) {
        unsigned char c = static_cast<unsigned char>(buffer_[i]);
        if (c == '\n') ++line_;
        else checkCharacter(c);
    }
}

bool MpScanner::skipText() {
    const std::size_t size = buffer_.size();
    const bool* stop = warnings_ ? kStops.checked : kStops.plain;
    const char* data = buffer_.data();
    while (pos_ < size) {
        while (pos_ < size && !stop[static_cast<unsigned char>(data[pos_])]) ++pos_;
        if (pos_ >= size) break;
        char c = data[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
            continue;
        }
        if (c == '$' && pos_ + 1 < size && keywordStart(data[pos_ + 1])) return true;
        // A quoted string or free text is one token: it must close, and fit the buffer.
        bool freeText = c == '/' && pos_ + 1 < size && data[pos_ + 1] == '*';
        if (c == '"' || c == '\'' || freeText) {
            const std::size_t start = pos_;
            const int32_t startLine = line_;
            // The longest token that fits ends before this limit.
            const std::size_t limit = start + bufferSize_ < size ? start + bufferSize_ + 1 : size;
            std::size_t at = start + (freeText ? 2 : 1);
            std::size_t close = std::string_view::npos;  // the first byte after the token
            while (at < limit) {
                const void* found = std::memchr(data + at, freeText ? '/' : c, limit - at);
                if (!found) break;
                std::size_t hit = static_cast<std::size_t>(static_cast<const char*>(found) - data);
                if (!freeText) {
                    close = hit + 1;
                    break;
                }
                // "*/" closes free text, unless it is written "\*/".
                if (hit >= start + 3 && data[hit - 1] == '*' && !(data[hit - 2] == '\\')) {
                    close = hit + 1;
                    break;
                }
                at = hit + 1;
            }
            const std::size_t scanned = close == std::string_view::npos ? limit : close;
            if (warnings_) checkRange(start + 1, scanned);
            else countLines(start + 1, scanned);
            pos_ = scanned;
            if (close == std::string_view::npos || close - start > bufferSize_) {
                overflowLine_ = startLine;
                return false;
            }
            continue;
        }
        checkCharacter(static_cast<unsigned char>(c));
        ++pos_;
    }
    return true;
}

MpToken MpScanner::next() {
    MpToken token;
    if (failed_) {
        token.kind = MpToken::Overflow;
        token.line = overflowLine_;
        return token;
    }
    if (pos_ == 0 && !skipText()) {
        failed_ = true;
        token.kind = MpToken::Overflow;
        token.line = overflowLine_;
        return token;
    }
    if (pos_ >= buffer_.size()) {
        // The end of the file is on its last line, not on the empty one after the final line end.
        token.line = line_ > 1 && !buffer_.empty() && buffer_.back() == '\n' ? line_ - 1 : line_;
        return token;  // End
    }
    // At a "$" that starts a keyword.
    std::size_t nameStart = ++pos_;
    const std::size_t size = buffer_.size();
    const char* data = buffer_.data();
    while (pos_ < size && keywordChar(data[pos_])) ++pos_;
    token.kind = MpToken::Keyword;
    token.name = buffer_.substr(nameStart, pos_ - nameStart);
    token.line = line_;
    std::size_t textStart = pos_;
    if (!skipText()) {
        failed_ = true;
        token.kind = MpToken::Overflow;
        token.line = overflowLine_;
        return token;
    }
    token.text = buffer_.substr(textStart, pos_ - textStart);
    return token;
}
