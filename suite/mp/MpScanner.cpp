#include "suite/mp/MpScanner.h"

#include "suite/LibrarySettings.h"

namespace {
constexpr std::size_t kDefaultBufferSize = 1000000;
constexpr long kSmallestSetting = 16000;

long gSetting = -1;
std::size_t gDecided = 0;

bool keywordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool keywordChar(char c) {
    return keywordStart(c) || (c >= '0' && c <= '9') || c == '_' || c == '&';
}
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

bool MpScanner::skipText() {
    const std::size_t size = buffer_.size();
    while (pos_ < size) {
        char c = buffer_[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
            continue;
        }
        if (c == '$' && pos_ + 1 < size && keywordStart(buffer_[pos_ + 1])) return true;
        // A quoted string or free text is one token: it must close, and fit the buffer.
        bool freeText = c == '/' && pos_ + 1 < size && buffer_[pos_ + 1] == '*';
        if (c == '"' || c == '\'' || freeText) {
            std::size_t start = pos_;
            int32_t startLine = line_;
            pos_ += freeText ? 2 : 1;
            bool closed = false;
            while (pos_ < size) {
                char d = buffer_[pos_];
                if (d == '\n') ++line_;
                else checkCharacter(static_cast<unsigned char>(d));
                if (freeText) {
                    if (d == '\\' && pos_ + 2 < size && buffer_[pos_ + 1] == '*' && buffer_[pos_ + 2] == '/') {
                        pos_ += 3;
                        continue;
                    }
                    if (d == '*' && pos_ + 1 < size && buffer_[pos_ + 1] == '/') {
                        pos_ += 2;
                        closed = true;
                        break;
                    }
                } else if (d == c) {
                    ++pos_;
                    closed = true;
                    break;
                }
                ++pos_;
                if (pos_ - start > bufferSize_) break;
            }
            if (!closed || pos_ - start > bufferSize_) {
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
    while (pos_ < buffer_.size() && keywordChar(buffer_[pos_])) ++pos_;
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
