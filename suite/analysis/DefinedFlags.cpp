#include "suite/analysis/DefinedFlags.h"

#include <cstdio>
#include <memory>

void DefinedFlags::add(std::string_view name) {
    if (!name.empty()) names_.emplace(name);
}

void DefinedFlags::addFromText(std::string_view text) {
    std::size_t i = 0;
    auto separator = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';';
    };
    while (i < text.size()) {
        while (i < text.size() && separator(text[i])) ++i;
        std::size_t start = i;
        while (i < text.size() && !separator(text[i])) ++i;
        add(text.substr(start, i - start));
    }
}

bool DefinedFlags::addFromFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) return false;
    constexpr int kLineLimit = 9999;
    char line[kLineLimit + 1];
    while (std::fgets(line, sizeof line, file.get())) addFromText(line);
    return true;
}

DefinedFlags& definedFlags() {
    static DefinedFlags flags;
    return flags;
}
