#include "platform/ConsoleText.h"

std::string showNulBytes(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0;;) {
        std::size_t nul = text.find('\0', at);
        shown.append(text.substr(at, nul == std::string_view::npos ? std::string_view::npos : nul - at));
        if (nul == std::string_view::npos) return shown;
        shown.append(kShownNulByte);
        at = nul + 1;
    }
}

bool writeConsoleText(std::FILE* stream, std::string_view text) {
    if (text.find('\0') == std::string_view::npos)
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    std::string shown = showNulBytes(text);
    return std::fwrite(shown.data(), 1, shown.size(), stream) == shown.size();
}
