// The output writer: the one place through which the converter writes its two
// output files, the TTCN-3 module and the ASN.1 module. It keeps each file's
// indentation and line state, splits multi-line texts into indented lines and
// writes comments and "TODO: " marks. Every piece is flushed at once, so a run
// that ends in an assertion leaves everything written so far on disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// One output file and its line state.
struct XlatorStream {
    std::FILE* outfile = nullptr;
    std::int32_t indent = 0;       // one level is two blanks
    bool lineBreaks = true;        // line feeds are written
    bool indentOn = true;          // indentation is written
    bool indentWritten = false;    // the current line's indentation is out
    bool atLineStart = false;      // the last thing written ended a line
    bool finalLineWritten = false; // last line was a closing statement, only comments since
};

class XlatorOutput {
public:
    // The writer does not own the files; the TTCN-3 file is current at first.
    // The names are only for the message of a failed write, which ends the
    // run: a full disk must never pass for a complete conversion.
    XlatorOutput(std::FILE* ttcnFile, std::FILE* asnFile, std::string ttcnName = "TTCN-3 output",
                 std::string asnName = "ASN.1 output");

    void write(const std::string& text);
    void writeLine(const std::string& text);
    void writeComment(const std::string& text);
    void newLine();
    void startLine();
    void writeIndent();
    void space();
    void openBlock();
    void closeBlock(bool endLine);
    void indentMore();
    void dedent();
    void todo(const std::string& message);
    // Writes a closing statement unless one was written last; the note, when
    // given, becomes a TODO warning in front of it.
    void writeFinalLine(const std::string& text,
                        const std::optional<std::string>& note = std::nullopt);
    void beginGroup(const std::string& name);
    void beginWith();
    void selectTtcn();
    void selectAsn();

    bool lineBreaks() const { return opts.lineBreaks; }
    void setLineBreaks(bool on) { opts.lineBreaks = on; }
    bool indentOn() const { return opts.indentOn; }
    void setIndentOn(bool on) { opts.indentOn = on; }

    // True while the ASN.1 file is current (identifiers and type keywords
    // are written differently there).
    bool asnCurrent() const { return currentIsAsn; }

    // The current file's record, for inspection.
    const XlatorStream& current() const { return opts; }

    // Lines of a text: carriage returns dropped, cut at every line feed; a text
    // ending in a line feed gives a last, empty line. Flushes standard output so
    // console and file output keep their order.
    static std::vector<std::string> splitLines(const std::string& text);

private:
    void put(const std::string& text);
    void indentLine();
    void endLine();
    void writeLines(const std::string& text, const char* prefix, bool endLast);

    XlatorStream ttcn;
    XlatorStream asn;
    XlatorStream opts;  // the current file; ttcn and asn hold the others' state
    bool currentIsAsn = false;
    std::string ttcnName;
    std::string asnName;
};

// The run's one writer. The front end creates it once both files are open;
// every translator reaches it through output().
// The names only go into the message of a failed write.
void createOutput(std::FILE* ttcnFile, std::FILE* asnFile, const std::string& ttcnName = "TTCN-3 output",
                  const std::string& asnName = "ASN.1 output");
XlatorOutput& output();
