#include "suite/asn1/Asn1ConverterRun.h"

#include <cstring>
#include <memory>

#include "platform/Process.h"
#include "platform/TempFile.h"
#include "suite/LibrarySettings.h"
#include "suite/asn1/Asn1ExchangeReader.h"

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr const char* kConverterName = "modconv.exe";
constexpr const char* kInstallationVariable = "VELD";

// The converter of the installation, or the bare name for a search through PATH.
std::string converterProgram() {
    const std::optional<std::string>& directory = LibrarySettings::installationDirectory();
    if (directory && !directory->empty()) return *directory + "/" + kConverterName;
    std::fprintf(stderr, "Warning: Environment variable %s is not set.\nSearching for %s in the PATH.\n",
                 kInstallationVariable, kConverterName);
    return kConverterName;
}

// " -q -i <output> "<input1>" "<input2>" ": exactly these bytes, with no line
// end after the last blank.
bool writeArgumentFile(const std::string& path, const std::string& outputFile,
                       const std::vector<std::string>& inputs) {
    FileHandle file(std::fopen(path.c_str(), "w"));
    if (!file) return false;
    std::string line = " -q -i " + outputFile + " ";
    for (const auto& input : inputs) line += "\"" + input + "\" ";
    bool written = std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
    return std::fclose(file.release()) == 0 && written;
}
}  // namespace

bool runModuleConverter(const std::vector<std::string>& inputs, std::FILE* messages,
                        std::string& outputFile, LibraryError& error) {
    auto fail = [&] {
        setLibraryError(error, LibraryErrorCode::AsnConvertFailed, {}, {}, __func__, __FILE__, __LINE__);
        return false;
    };
    std::string argumentFile = createTempFile({}, kAsn1TempPrefix);
    if (argumentFile.empty()) return fail();
    outputFile = createTempFile({}, kAsn1TempPrefix);
    if (outputFile.empty() || !writeArgumentFile(argumentFile, outputFile, inputs)) {
        std::remove(argumentFile.c_str());
        return fail();
    }
    ProcessResult result = runProcess(converterProgram(), {"-l", argumentFile},
                                      [messages](const char* data, std::size_t size) {
                                          if (messages) std::fwrite(data, 1, size, messages);
                                      });
    if (messages) std::fflush(messages);
    std::remove(argumentFile.c_str());
    if (!result.started || result.exitStatus != 0) return fail();
    return true;
}

std::string extractModuleBlock(const std::string& outputFile, int ordinal, std::string& moduleName,
                               LibraryError& error) {
    auto fail = [&](const std::string& blockFile) {
        if (!blockFile.empty()) std::remove(blockFile.c_str());
        setLibraryError(error, LibraryErrorCode::AsnExtractFailed, outputFile, {}, __func__, __FILE__,
                        __LINE__);
        return std::string();
    };
    FileHandle in(std::fopen(outputFile.c_str(), "r"));
    if (!in) return fail({});
    std::string blockFile = createTempFile({}, kAsn1TempPrefix);
    if (blockFile.empty()) return fail({});
    FileHandle out(std::fopen(blockFile.c_str(), "w"));
    if (!out) return fail(blockFile);

    // This scan is looser than the block parser: a line that holds "#MODULE"
    // anywhere starts a block, one that holds "#END" anywhere ends it.
    char line[kExchangeLineLimit];
    int blocks = 0;
    bool copying = false;
    bool wantName = false;
    while (std::fgets(line, sizeof line, in.get())) {
        if (!copying) {
            if (std::strstr(line, "#MODULE") && ++blocks == ordinal) {
                copying = true;
                wantName = true;
                std::fputs(line, out.get());
            }
            continue;
        }
        std::fputs(line, out.get());
        if (wantName && std::strcmp(line, "\n") != 0) {
            moduleName = line;
            if (!moduleName.empty() && moduleName.back() == '\n') moduleName.pop_back();
            wantName = false;
        }
        if (std::strstr(line, "#END")) {
            if (std::fclose(out.release()) != 0) return fail(blockFile);
            return blockFile;
        }
    }
    out.reset();
    return fail(blockFile);
}
