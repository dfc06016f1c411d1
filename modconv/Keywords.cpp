#include "modconv/Keywords.h"

#include <fstream>
#include <sstream>

std::optional<std::set<std::string>> readKeywordFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::set<std::string> words;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '#') continue;
        std::istringstream split(line);
        std::string word;
        while (split >> word) words.insert(word);
    }
    if (words.empty()) return std::nullopt;
    return words;
}
