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
// between the quotes, kept as they are (blanks and semicolons included). A
// line that cannot be split exactly is refused: a double quote or a line end
// inside a name.
std::optional<ConverterArguments> parseArgumentLine(const std::string& line, std::string& problem);

// The argument line of an argument file: its text up to a final line end. A
// file with more after a line end is refused (a name holding a line end
// would be cut in two).
std::optional<std::string> argumentLineOf(const std::string& fileText, std::string& problem);
