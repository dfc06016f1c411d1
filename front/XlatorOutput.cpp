#include "front/XlatorOutput.h"

#include "front/Fatal.h"

#include <cerrno>
#include <memory>

XlatorOutput::XlatorOutput(std::FILE* ttcnFile, std::FILE* asnFile, std::string ttcnName,
                           std::string asnName)
    : ttcnName(std::move(ttcnName)), asnName(std::move(asnName)) {
    ttcn.outfile = ttcnFile;
    asn.outfile = asnFile;
    opts = ttcn;
}

std::vector<std::string> XlatorOutput::splitLines(const std::string& text) {
    std::string clean;
    clean.reserve(text.size());
    for (char c : text)
        if (c != '\r') clean += c;
    std::vector<std::string> lines;
    if (clean.find('\n') == std::string::npos) {
        lines.push_back(clean);
    } else {
        std::string::size_type start = 0;
        for (;;) {
            std::string::size_type lf = clean.find('\n', start);
            if (lf == std::string::npos) {
                lines.push_back(clean.substr(start));  // piece before the appended line feed
                break;
            }
            lines.push_back(clean.substr(start, lf - start));
            start = lf + 1;
        }
    }
    std::fflush(stdout);
    return lines;
}

void XlatorOutput::put(const std::string& text) {
    XLATOR_ASSERT(opts.outfile, "INTERNAL_ERROR: outfile is NULL");
    // One write and one flush per piece, as before; only their results are looked at.
    if (std::fwrite(text.data(), 1, text.size(), opts.outfile) != text.size() ||
        std::fflush(opts.outfile) != 0)
        xlatorWriteFailed(currentIsAsn ? asnName : ttcnName, errno);
}

void XlatorOutput::indentLine() {
    if (!opts.indentOn || opts.indentWritten) return;
    if (opts.indent > 0) put(std::string(2 * static_cast<std::size_t>(opts.indent), ' '));
    opts.indentWritten = true;
}

void XlatorOutput::endLine() {
    if (!opts.lineBreaks) return;
    put("\n");
    opts.indentWritten = false;
    opts.atLineStart = true;
}

void XlatorOutput::writeLines(const std::string& text, const char* prefix, bool endLast) {
    std::vector<std::string> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        indentLine();
        put(prefix + lines[i]);
        if (i + 1 < lines.size()) endLine();
    }
    opts.atLineStart = false;
    if (endLast) endLine();
}

void XlatorOutput::write(const std::string& text) {
    writeLines(text, "", false);
    opts.finalLineWritten = false;
}

void XlatorOutput::writeLine(const std::string& text) {
    writeLines(text, "", true);
    opts.finalLineWritten = false;
}

void XlatorOutput::writeComment(const std::string& text) {
    // A comment leaves the closing-statement guard as it was.
    bool finalLine = opts.finalLineWritten;
    startLine();
    writeLines(text, "// ", true);
    opts.finalLineWritten = finalLine;
}

void XlatorOutput::newLine() { endLine(); }

void XlatorOutput::startLine() {
    // Without line breaks everything runs on in one line: nothing to start.
    if (!opts.lineBreaks) return;
    if (!opts.atLineStart) endLine();
    opts.atLineStart = true;
}

void XlatorOutput::writeIndent() {
    if (opts.atLineStart) indentLine();
}

void XlatorOutput::space() {
    indentLine();
    put(" ");
    opts.atLineStart = false;
    opts.finalLineWritten = false;
}

void XlatorOutput::openBlock() {
    startLine();
    indentLine();
    put("{");
    ++opts.indent;
    endLine();
    opts.finalLineWritten = false;
}

void XlatorOutput::closeBlock(bool endLine_) {
    XLATOR_ASSERT(opts.indent > 0, "INTERNAL_ERROR: negative indent");
    --opts.indent;
    startLine();
    indentLine();
    put("}");
    if (endLine_)
        endLine();
    else
        opts.atLineStart = false;  // text may follow the brace on its line
    opts.finalLineWritten = false;
}

void XlatorOutput::indentMore() { ++opts.indent; }

void XlatorOutput::dedent() {
    XLATOR_ASSERT(opts.indent > 0, "INTERNAL_ERROR: negative indent");
    --opts.indent;
}

void XlatorOutput::todo(const std::string& message) {
    std::fprintf(stderr, "warning: %s\n", message.c_str());
    std::fflush(stderr);
    writeComment("TODO: " + message);
}

void XlatorOutput::writeFinalLine(const std::string& text, const std::optional<std::string>& note) {
    if (opts.finalLineWritten) return;
    if (note) todo(*note);
    writeLine(text);
    opts.finalLineWritten = true;
}

void XlatorOutput::beginGroup(const std::string& name) {
    writeLine("group " + name);
    openBlock();
}

void XlatorOutput::beginWith() {
    writeLine("with");
    openBlock();
}

// The record of the file being left takes the current state with it, so each
// file keeps its own indentation and line state across switches.
void XlatorOutput::selectTtcn() {
    if (currentIsAsn) {
        asn = opts;
        opts = ttcn;
        currentIsAsn = false;
    }
}

void XlatorOutput::selectAsn() {
    if (!currentIsAsn) {
        ttcn = opts;
        opts = asn;
        currentIsAsn = true;
    }
}

namespace {
std::unique_ptr<XlatorOutput>& theOutput() {
    static std::unique_ptr<XlatorOutput> instance;
    return instance;
}
}  // namespace

void createOutput(std::FILE* ttcnFile, std::FILE* asnFile, const std::string& ttcnName,
                  const std::string& asnName) {
    theOutput() = std::make_unique<XlatorOutput>(ttcnFile, asnFile, ttcnName, asnName);
}

XlatorOutput& output() {
    if (!theOutput()) XLATOR_INTERNAL_ERROR("output writer used before the output files were opened");
    return *theOutput();
}
