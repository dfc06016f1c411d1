// The converter's arguments, as the suite library writes them into the
// argument file named by "-l": " -q -i <output> "<input1>" "<input2>" ".
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ConverterArguments {
    bool quiet = false;
    std::string outputFile;
    std::vector<std::string> inputFiles;
};

// Parses the argument line; none with `problem` set when it is malformed.
// The output path runs up to the first quoted input; input paths are the texts
// between the quotes, kept as they are (blanks, semicolons and quotes included).
std::optional<ConverterArguments> parseArgumentLine(const std::string& line, std::string& problem);
