#include "suite/asn1/Asn1ExchangeReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "suite/OutOfMemory.h"

namespace {
enum class LineKind { EndOfFile, Module, Type, Value, Definition, End, Text };

// Reads the file line by line as the exchange format counts lines: pieces of
// at most kExchangeLineLimit - 1 characters, each ending at a line end.
class ExchangeLines {
public:
    explicit ExchangeLines(std::FILE* file) : file_(file) {}

    // The next line that is not a line end alone.
    LineKind next() {
        char buffer[kExchangeLineLimit];
        for (;;) {
            if (!std::fgets(buffer, sizeof buffer, file_)) return kind_ = LineKind::EndOfFile;
            ++number_;
            if (std::strcmp(buffer, "\n") != 0) break;
        }
        text_ = buffer;
        return kind_ = classify(text_);
    }

    LineKind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    int number() const { return number_; }

private:
    static LineKind classify(const std::string& line) {
        if (line == "#MODULE\n") return LineKind::Module;
        if (line == "#TYPE\n") return LineKind::Type;
        if (line == "#VALUE\n") return LineKind::Value;
        if (line == "#DEFINITION\n") return LineKind::Definition;
        if (line == "#END\n") return LineKind::End;
        return LineKind::Text;
    }

    std::FILE* file_;
    std::string text_;
    LineKind kind_ = LineKind::EndOfFile;
    int number_ = 0;
};

struct FormatError {};

std::string trimmedRight(std::string text) {
    auto keep = text.find_last_not_of(" \t\r\n");
    text.erase(keep == std::string::npos ? 0 : keep + 1);
    return text;
}

class BlockParser {
public:
    BlockParser(std::FILE* file, Asn1Module& module) : lines_(file), module_(module) {}

    void parse() {
        if (lines_.next() != LineKind::Module) fail("#MODULE expected");
        lines_.next();
        if (lines_.kind() == LineKind::EndOfFile) fail("#TYPE, #VALUE, or #END expected");
        module_.name = trimmedRight(lines_.text());
        lines_.next();
        for (;;) {
            switch (lines_.kind()) {
                case LineKind::End: return;
                case LineKind::Type: typeAssignment(); break;
                case LineKind::Value: valueAssignment(); break;
                default: fail("#TYPE, #VALUE, or #END expected");
            }
        }
    }

private:
    [[noreturn]] void fail(const char* message) {
        std::fprintf(stderr, "Syntax error in line %d: %s\n", lines_.number(), message);
        throw FormatError{};
    }

    // The text lines up to the next keyword line, which is left as the current line.
    std::string definitionText() {
        std::string text;
        while (lines_.next() == LineKind::Text) {
            if (text.size() + lines_.text().size() >= kExchangeDefinitionLimit) {
                std::fprintf(stderr, "Error: %s\n", "Definition too long");
                throw FormatError{};
            }
            text += lines_.text();
        }
        return trimmedRight(std::move(text));
    }

    void typeAssignment() {
        Asn1TypeAssignment record;
        if (lines_.next() != LineKind::Text) fail("Type name expected");
        record.name = trimmedRight(lines_.text());
        if (lines_.next() != LineKind::Definition) fail("#DEFINITION expected");
        record.definition = definitionText();
        module_.types.push_back(std::move(record));
    }

    void valueAssignment() {
        Asn1ValueAssignment record;
        if (lines_.next() != LineKind::Text) fail("Value name expected");
        record.name = trimmedRight(lines_.text());
        if (lines_.next() != LineKind::Type) fail("#TYPE expected in value assignment");
        record.type = definitionText();
        if (lines_.kind() != LineKind::Definition) fail("#DEFINITION expected");
        record.value = definitionText();
        module_.values.push_back(std::move(record));
    }

    ExchangeLines lines_;
    Asn1Module& module_;
};
}  // namespace

Asn1ModuleHandle loadExchangeStream(std::FILE* file, const std::string& name, LibraryError& error) {
    auto& table = Asn1ModuleTable::instance();
    Asn1ModuleHandle handle = table.acquire();
    if (handle == kNoAsn1Module) {
        setLibraryError(error, LibraryErrorCode::AsnNoHandlesLeft, name, {}, __func__, __FILE__, __LINE__);
        return kNoAsn1Module;
    }
    LibraryErrorCode failure = LibraryErrorCode::None;
    try {
        Asn1Module& module = *table.module(handle);
        BlockParser(file, module).parse();
        // Records go to the head of their lists: the last assignment of the file comes first.
        std::reverse(module.types.begin(), module.types.end());
        std::reverse(module.values.begin(), module.values.end());
    } catch (const FormatError&) {
        failure = LibraryErrorCode::AsnIllegalFormat;
    } catch (const std::bad_alloc&) {
        table.release(handle);  // gives the memory back first
        libraryOutOfMemory();
        failure = LibraryErrorCode::AsnOpenConvertedFailed;
    }
    if (failure != LibraryErrorCode::None) {
        table.release(handle);
        setLibraryError(error, failure, name, {}, __func__, __FILE__, __LINE__);
        return kNoAsn1Module;
    }
    return handle;
}

Asn1ModuleHandle loadExchangeFile(const std::string& path, LibraryError& error) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        // A free slot is asked for first, as the reader always has.
        if (Asn1ModuleTable::instance().usedSlots() >= kAsn1ModuleSlots) {
            setLibraryError(error, LibraryErrorCode::AsnNoHandlesLeft, path, {}, __func__, __FILE__, __LINE__);
            return kNoAsn1Module;
        }
        setLibraryError(error, LibraryErrorCode::AsnReadFailed, path, {}, __func__, __FILE__, __LINE__);
        return kNoAsn1Module;
    }
    Asn1ModuleHandle handle = loadExchangeStream(file, path, error);
    std::fclose(file);
    return handle;
}
