#include "suite/asn1/Asn1ConverterRun.h"

#include <cstring>

#include "platform/ConsoleText.h"
#include "platform/InputFile.h"
#include "platform/Process.h"
#include "suite/LibrarySettings.h"
#include "suite/asn1/Asn1ExchangeReader.h"

namespace {
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
bool writeArgumentFile(TempFile& file, const std::string& outputFile, const std::vector<std::string>& inputs) {
    std::string line = " -q -i " + outputFile + " ";
    for (const auto& input : inputs) line += "\"" + input + "\" ";
    bool written = std::fwrite(line.data(), 1, line.size(), file.stream()) == line.size();
    return file.close() && written;
}

// One piece of a line as the exchange reader takes it, with its true length
// (a NUL byte inside does not end it).
struct LinePiece {
    char text[kExchangeLineLimit];
    std::size_t size = 0;
    long end = 0;  // file position after it

    bool read(std::FILE* file) {
        long begin = std::ftell(file);
        if (begin < 0 || !std::fgets(text, sizeof text, file)) return false;
        end = std::ftell(file);
        size = end > begin ? static_cast<std::size_t>(end - begin) : std::strlen(text);
        return true;
    }
    bool holds(const char* word) const { return std::strstr(text, word) != nullptr; }
};
}  // namespace

void ConverterOutput::index() {
    blocks_.clear();
    std::FILE* file = file_.stream();
    if (!file || std::fseek(file, 0, SEEK_SET) != 0) return;
    std::vector<std::size_t> open;  // blocks whose "#END" has not come yet
    LinePiece piece;
    long begin = 0;
    while (piece.read(file)) {
        // A line holding both words ends the open blocks and starts a new one.
        if (piece.holds("#END")) {
            for (std::size_t block : open) blocks_[block].end = piece.end;
            open.clear();
        }
        if (piece.holds("#MODULE")) {
            open.push_back(blocks_.size());
            blocks_.push_back({begin, -1});
        }
        begin = piece.end;
    }
}

TempFile ConverterOutput::extractBlock(int ordinal, std::string& moduleName, LibraryError& error) const {
    auto fail = [&] {
        setLibraryError(error, LibraryErrorCode::AsnExtractFailed, path(), {}, __func__, __FILE__, __LINE__);
        return TempFile();
    };
    std::FILE* in = file_.stream();
    if (!in || ordinal < 1 || static_cast<std::size_t>(ordinal) > blocks_.size()) return fail();
    const Block& block = blocks_[static_cast<std::size_t>(ordinal) - 1];
    if (block.end < 0 || std::fseek(in, block.begin, SEEK_SET) != 0) return fail();
    TempFile out = TempFile::create({}, kAsn1TempPrefix);
    if (!out.isOpen()) return fail();

    LinePiece piece;
    bool wantName = false;  // the first piece after the "#MODULE" line that is not an empty line
    bool first = true;
    while (std::ftell(in) < block.end && piece.read(in)) {
        if (std::fwrite(piece.text, 1, piece.size, out.stream()) != piece.size) return fail();
        if (wantName && std::strcmp(piece.text, "\n") != 0) {
            moduleName.assign(piece.text, piece.size);
            if (!moduleName.empty() && moduleName.back() == '\n') moduleName.pop_back();
            wantName = false;
        }
        if (first) wantName = true;
        first = false;
    }
    if (std::fflush(out.stream()) != 0 || std::ferror(out.stream()) || std::fseek(out.stream(), 0, SEEK_SET) != 0)
        return fail();
    return out;
}

bool runModuleConverter(const std::vector<std::string>& inputs, std::FILE* messages, ConverterOutput& output,
                        LibraryError& error) {
    auto fail = [&] {
        setLibraryError(error, LibraryErrorCode::AsnConvertFailed, {}, {}, __func__, __FILE__, __LINE__);
        return false;
    };
    for (const std::string& input : inputs)
        if (existsButIsNotRegular(input)) {
            setLibraryError(error, LibraryErrorCode::FileNotReadable, input, {}, __func__, __FILE__, __LINE__);
            return false;
        }
    TempFile argumentFile = TempFile::create({}, kAsn1TempPrefix);
    if (!argumentFile.isOpen()) return fail();
    output.file_ = TempFile::create({}, kAsn1TempPrefix);
    if (!output.file_.isOpen() || !writeArgumentFile(argumentFile, output.path(), inputs)) return fail();
    int timeout = LibrarySettings::toolTimeoutSeconds();
    ProcessResult result = runProcess(
        converterProgram(), {"-l", argumentFile.path()},
        [messages](const char* data, std::size_t size) {
            if (messages) writeConsoleText(messages, std::string_view(data, size));
        },
        timeout);
    if (messages) std::fflush(messages);
    argumentFile.remove();
    if (result.timedOut) {
        fail();
        error.text += " (" + std::string(kConverterName) + " did not end within " + std::to_string(timeout) +
                      (timeout == 1 ? " second" : " seconds") + " and was stopped; VELD_TOOL_TIMEOUT sets the limit)";
        return false;
    }
    if (!result.started || result.exitStatus != 0) return fail();
    output.index();
    return true;
}
