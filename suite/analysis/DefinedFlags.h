// The set of defined flags that decides the conditional parts of field texts.
// It is filled before an analysis: from a list text and from a flag file.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

class DefinedFlags {
public:
    void clear() { names_.clear(); }
    void add(std::string_view name);
    // Adds every name of the text; names are separated by white space, commas
    // or semicolons.
    void addFromText(std::string_view text);
    // Adds the names read from the file line by line (lines of up to 9999
    // characters; a longer line is read in pieces of that length). Returns false
    // when the file cannot be opened.
    bool addFromFile(const std::string& path);

    bool contains(std::string_view name) const { return names_.count(std::string(name)) != 0; }
    std::size_t size() const { return names_.size(); }

private:
    std::unordered_set<std::string> names_;
};

// The process-wide set the analysis reads.
DefinedFlags& definedFlags();
