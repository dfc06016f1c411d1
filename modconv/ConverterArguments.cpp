#include "modconv/ConverterArguments.h"

namespace {
std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}
}  // namespace

std::optional<ConverterArguments> parseArgumentLine(const std::string& line, std::string& problem) {
    ConverterArguments arguments;
    std::string rest = trimmed(line);
    // Options come first; the inputs start at the first double quote.
    while (!rest.empty() && rest[0] == '-') {
        if (rest.compare(0, 2, "-q") == 0 && (rest.size() == 2 || rest[2] == ' ')) {
            arguments.quiet = true;
            rest = trimmed(rest.substr(2));
        } else if (rest.compare(0, 2, "-i") == 0 && (rest.size() == 2 || rest[2] == ' ')) {
            rest = trimmed(rest.substr(2));
            auto quote = rest.find(" \"");
            arguments.outputFile = trimmed(rest.substr(0, quote));
            rest = quote == std::string::npos ? std::string() : trimmed(rest.substr(quote));
            if (arguments.outputFile.empty()) {
                problem = "option -i needs the output file";
                return std::nullopt;
            }
        } else {
            problem = "unknown option \"" + rest.substr(0, rest.find(' ')) + "\"";
            return std::nullopt;
        }
    }
    if (arguments.outputFile.empty()) {
        problem = "no output file given (-i)";
        return std::nullopt;
    }
    if (rest.empty()) {
        problem = "no input files given";
        return std::nullopt;
    }
    if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') {
        problem = "input files must be given in double quotes";
        return std::nullopt;
    }
    rest = rest.substr(1, rest.size() - 2);
    std::size_t at = 0;
    for (;;) {
        std::size_t separator = rest.find("\" \"", at);
        arguments.inputFiles.push_back(rest.substr(at, separator - at));
        if (separator == std::string::npos) break;
        at = separator + 3;
    }
    // The quotes are the only separators: a quote inside a name makes the
    // split a guess ("a" "b" may be one name or two), and a guess would
    // convert the wrong files. A line end would have cut the line already.
    for (const std::string& input : arguments.inputFiles)
        if (input.find_first_of("\"\n\r") != std::string::npos) {
            problem = "the input file name \"" + input + "\" holds a double quote or a line end: the line cannot be split exactly";
            return std::nullopt;
        }
    if (arguments.outputFile.find_first_of("\"\n\r") != std::string::npos) {
        problem = "the output file name holds a double quote or a line end: the line cannot be split exactly";
        return std::nullopt;
    }
    return arguments;
}

std::optional<std::string> argumentLineOf(const std::string& fileText, std::string& problem) {
    std::string line = fileText;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_of("\n\r") != std::string::npos) {
        problem = "the argument file holds more than one line: the line cannot be split exactly";
        return std::nullopt;
    }
    return line;
}
