// The run sequence of one conversion, from the banner to the final messages.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The steps of a run that work on the loaded suite: opening it, the definition
// collector's pass and the translation pass. main() provides the real ones.
class XlatorSuitePasses {
public:
    virtual ~XlatorSuitePasses() = default;
    // Loads and analyses the suite; on failure the suite has printed its reasons.
    virtual bool open(const std::string& mpFileList, const std::string& asnListFile,
                      std::FILE* reportStream) = 0;
    virtual void collectDefinitions() = 0;
    // Writes both output files through the output writer.
    virtual void translate() = 0;
};

// Runs the converter over the arguments (argument zero is the program path)
// and returns the exit code. Messages go to the console stream; assertions end
// the process.
int runConverter(const std::vector<std::string>& arguments, std::FILE* console,
                 XlatorSuitePasses& suite);
