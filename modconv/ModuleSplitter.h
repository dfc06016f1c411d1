// Splits the modules of one ASN.1 source file into their type and value
// assignments, with definition texts cleaned for the exchange format.
// Constructs the exchange format cannot carry (macro definitions, information
// object classes, objects and object sets, parameterised and macro-notation
// assignments, value sets) are skipped with a note.
#pragma once

#include <set>
#include <string>
#include <vector>

struct ConvertedAssignment {
    bool isValue = false;
    std::string name;
    std::string type;        // value assignments: the value's type text
    std::string definition;  // the type's text, or the value's text
    int line = 0;
};

struct ConvertedModule {
    std::string name;
    int line = 0;
    std::vector<ConvertedAssignment> assignments;
};

struct ConverterMessage {
    bool isError = false;
    int line = 0;
    std::string text;
};

struct SplitResult {
    std::vector<ConvertedModule> modules;
    std::vector<ConverterMessage> messages;
    bool ok() const;
};

// Longest exchange line we write, and the longest definition text (without
// its final line end) that the exchange reader takes.
inline constexpr std::size_t kWrapWidth = 100;
inline constexpr std::size_t kMaxExchangeLine = 990;
inline constexpr std::size_t kMaxDefinitionText = 39998;

SplitResult splitModules(std::string sourceText, const std::set<std::string>& keywords);
