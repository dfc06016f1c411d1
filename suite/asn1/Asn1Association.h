// The association of a suite's ASN.1 files with loaded modules: one entry per
// file of the list, each holding the module handle made from the file's
// converted text and the file's modification stamp at that time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "suite/LibraryError.h"
#include "suite/asn1/Asn1ModuleTable.h"

// One ASN.1 file of the list. Owns its module handle and releases it when destroyed.
class Asn1Entry {
public:
    explicit Asn1Entry(std::string filePath) : filePath_(std::move(filePath)) {}
    ~Asn1Entry();
    Asn1Entry(Asn1Entry&& other) noexcept;
    Asn1Entry& operator=(Asn1Entry&& other) noexcept;
    Asn1Entry(const Asn1Entry&) = delete;
    Asn1Entry& operator=(const Asn1Entry&) = delete;

    const std::string& moduleName() const { return moduleName_; }
    const std::string& filePath() const { return filePath_; }
    Asn1ModuleHandle handle() const { return handle_; }
    std::uint32_t fileStamp() const { return fileStamp_; }
    const Asn1Module* module() const { return Asn1ModuleTable::instance().module(handle_); }

private:
    friend class Asn1Association;
    void takeOver(Asn1Entry& previous);
    void releaseHandle();

    std::string moduleName_;
    std::string filePath_;
    Asn1ModuleHandle handle_ = kNoAsn1Module;
    std::uint32_t fileStamp_ = 0;
};

class Asn1Association {
public:
    // Where the converter's messages go; none (the default) drops them.
    void setOutputStream(std::FILE* stream) { output_ = stream; }
    std::FILE* outputStream() const { return output_; }

    // Reads the list of ASN.1 files, rebuilds the entries and associates them:
    // unchanged files keep their handles, the others are converted in one
    // converter run for the whole list. Returns 0, or -1 when the list file
    // cannot be opened. Failed entries are left out, with a NOTE on standard
    // output; `error` holds the last failure.
    int update_from_file(const std::string& listFile, LibraryError& error);

    const std::string& listFileName() const { return listFile_; }
    const std::vector<Asn1Entry>& entries() const { return entries_; }
    // How often this association has started the converter.
    int converterRuns() const { return converterRuns_; }

    // Type or value definition by module name and assignment name among this
    // association's modules; null with error 232 when there is none.
    const Asn1TypeAssignment* findType(const std::string& module, const std::string& name,
                                       LibraryError& error) const;
    const Asn1ValueAssignment* findValue(const std::string& module, const std::string& name,
                                         LibraryError& error) const;

private:
    const Asn1Module* findModule(const std::string& module) const;

    std::FILE* output_ = nullptr;
    std::string listFile_;
    std::vector<Asn1Entry> entries_;
    int converterRuns_ = 0;
};

// Prints "NOTE: <text>.\n" on standard output.
void printAsn1Note(const std::string& text);
