// One run of the ASN.1 module converter modconv.exe over a list of files, and
// extraction of module blocks from its output.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/TempFile.h"
#include "suite/LibraryError.h"

// Name prefix of every temporary file of the association.
inline constexpr const char* kAsn1TempPrefix = "Veld";

// The converter's output file. The library makes it, keeps it open from its
// creation to its removal and reads it back through that descriptor; after a
// successful run it is scanned once for where each module block begins and
// ends, so that taking out block n does not read blocks 1 to n-1 again.
class ConverterOutput {
public:
    const std::string& path() const { return file_.path(); }
    std::size_t blockCount() const { return blocks_.size(); }

    // Copies the `ordinal`-th block (counting from 1) into a new temporary
    // file, rewound for reading; on failure the result is not open and
    // `error` is 230. `moduleName` receives the block's name line without its
    // line end.
    //
    // The scan is looser than the block parser: a line that holds "#MODULE"
    // anywhere starts a block, and the first later line that holds "#END"
    // anywhere ends it. Lines are taken as the exchange reader takes them, in
    // pieces of at most kExchangeLineLimit - 1 characters.
    TempFile extractBlock(int ordinal, std::string& moduleName, LibraryError& error) const;

private:
    friend bool runModuleConverter(const std::vector<std::string>&, std::FILE*, ConverterOutput&,
                                   LibraryError&);
    void index();

    struct Block {
        long begin = 0;
        long end = -1;  // just after the "#END" line; -1 when the output ends first
    };
    TempFile file_;
    std::vector<Block> blocks_;
};

// Starts modconv.exe for `inputs` (in this order) and waits for it, at most
// VELD_TOOL_TIMEOUT seconds (then its process group is killed). On success
// returns true with `output` holding the converter's output. On failure sets
// `error`: 229, with the time limit named when it passed, or 247 naming an
// input that exists but is no regular file (a FIFO or a device would block
// the converter). The output file goes when `output` does.
bool runModuleConverter(const std::vector<std::string>& inputs, std::FILE* messages, ConverterOutput& output,
                        LibraryError& error);
