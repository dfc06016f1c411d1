#include "suite/asn1/Asn1Association.h"

#include <cstring>
#include <optional>

#include "platform/ConsoleText.h"
#include "platform/FileStamp.h"
#include "suite/LibrarySettings.h"
#include "suite/asn1/Asn1ConverterRun.h"
#include "suite/asn1/Asn1ExchangeReader.h"
#include "suite/asn1/Asn1Lookup.h"

namespace {
constexpr int kListLineLimit = 1000;
constexpr int kNoteErrorTextLimit = 1023;

// The paths of the list file: comment lines and empty lines are skipped.
std::optional<std::vector<std::string>> readListFile(const std::string& listFile) {
    std::FILE* file = std::fopen(listFile.c_str(), "r");
    if (!file) return std::nullopt;
    std::vector<std::string> paths;
    char line[kListLineLimit];
    while (std::fgets(line, sizeof line, file)) {
        if (line[0] == '#' || std::strcmp(line, "\n") == 0) continue;
        std::string path = line;
        if (!path.empty() && path.back() == '\n') path.pop_back();
        if (!path.empty() && path.back() == '\r') path.pop_back();
        paths.push_back(std::move(path));
    }
    std::fclose(file);
    return paths;
}

// The library's formatting of the error (long form with VELD_LONG_ERRORS), cut to the note's limit.
std::string noteErrorText(const LibraryError& error) {
    return formatLibraryError(error).substr(0, kNoteErrorTextLimit);
}
}  // namespace

void printAsn1Note(const std::string& text) {
    writeConsoleText(stdout, "NOTE: " + text + ".\n");
    std::fflush(stdout);
}

Asn1Entry::~Asn1Entry() { releaseHandle(); }

Asn1Entry::Asn1Entry(Asn1Entry&& other) noexcept
    : moduleName_(std::move(other.moduleName_)),
      filePath_(std::move(other.filePath_)),
      handle_(other.handle_),
      fileStamp_(other.fileStamp_) {
    other.handle_ = kNoAsn1Module;
}

Asn1Entry& Asn1Entry::operator=(Asn1Entry&& other) noexcept {
    if (this != &other) {
        releaseHandle();
        moduleName_ = std::move(other.moduleName_);
        filePath_ = std::move(other.filePath_);
        handle_ = other.handle_;
        fileStamp_ = other.fileStamp_;
        other.handle_ = kNoAsn1Module;
    }
    return *this;
}

void Asn1Entry::takeOver(Asn1Entry& previous) {
    releaseHandle();
    handle_ = previous.handle_;
    fileStamp_ = previous.fileStamp_;
    if (moduleName_.empty()) moduleName_ = previous.moduleName_;
    previous.handle_ = kNoAsn1Module;
}

void Asn1Entry::releaseHandle() {
    Asn1ModuleTable::instance().release(handle_);
    handle_ = kNoAsn1Module;
}

int Asn1Association::update_from_file(const std::string& listFile, LibraryError& error) {
    auto paths = readListFile(listFile);
    if (!paths) {
        setLibraryError(error, LibraryErrorCode::FileNotReadable, listFile, {}, __func__, __FILE__, __LINE__);
        return -1;
    }
    listFile_ = listFile;
    std::vector<Asn1Entry> previous = std::move(entries_);
    entries_.clear();
    // The converter always gets the whole list, also the files whose handles are kept.
    const std::vector<std::string>& inputs = *paths;
    std::vector<Asn1Entry> candidates;
    candidates.reserve(inputs.size());
    for (const auto& path : inputs) candidates.emplace_back(path);

    bool converterRan = false;
    ConverterOutput converterOutput;
    int count = 0;
    for (auto& entry : candidates) {
        ++count;
        std::optional<std::uint32_t> stamp = fileModificationStamp(entry.filePath_);
        Asn1Entry* reusable = nullptr;
        for (auto& old : previous)
            if (old.filePath_ == entry.filePath_ && old.handle_ != kNoAsn1Module && stamp &&
                old.fileStamp_ == *stamp) {
                reusable = &old;
                break;
            }
        if (reusable) {
            entry.takeOver(*reusable);
            entries_.push_back(std::move(entry));
            continue;
        }
        // The stale module of a changed file gives its slot back before the new one is loaded.
        for (auto& old : previous)
            if (old.filePath_ == entry.filePath_) old.releaseHandle();
        if (!converterRan) {
            converterRan = true;
            ++converterRuns_;
            if (!runModuleConverter(inputs, output_, converterOutput, error)) {
                printAsn1Note("\"Could not convert ASN.1 modules to TTCN notation.\n" + noteErrorText(error) +
                              "\n\"");
                return 0;
            }
        }
        std::string blockName;
        TempFile block = converterOutput.extractBlock(count, blockName, error);
        Asn1ModuleHandle handle = kNoAsn1Module;
        if (block.isOpen()) {
            if (entry.moduleName_.empty()) entry.moduleName_ = blockName;
            handle = loadExchangeStream(block.stream(), block.path(), error);
        }
        block.remove();
        if (handle == kNoAsn1Module) {
            printAsn1Note("\"Could not load ASN.1 module from '" + entry.filePath_ + "'\n" +
                          noteErrorText(error) + "\n\"");
            continue;
        }
        entry.handle_ = handle;
        entry.fileStamp_ = stamp.value_or(0);
        entries_.push_back(std::move(entry));
    }
    // The converter's output file goes with converterOutput.
    return 0;
}

const Asn1Module* Asn1Association::findModule(const std::string& module) const {
    for (const auto& entry : entries_)
        if (const Asn1Module* loaded = entry.module(); loaded && loaded->name == module) return loaded;
    return nullptr;
}

const Asn1TypeAssignment* Asn1Association::findType(const std::string& module, const std::string& name,
                                                    LibraryError& error) const {
    const Asn1TypeAssignment* found = findTypeIn(findModule(module), name);
    if (!found)
        setLibraryError(error, LibraryErrorCode::AsnDefinitionNotFound, {}, name, __func__, __FILE__, __LINE__);
    return found;
}

const Asn1ValueAssignment* Asn1Association::findValue(const std::string& module, const std::string& name,
                                                      LibraryError& error) const {
    const Asn1ValueAssignment* found = findValueIn(findModule(module), name);
    if (!found)
        setLibraryError(error, LibraryErrorCode::AsnDefinitionNotFound, {}, name, __func__, __FILE__, __LINE__);
    return found;
}
