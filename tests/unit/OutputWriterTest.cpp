// The output writer's layout, checked byte for byte on the files read back
// through their descriptors while the writer still holds them open (so every
// write must be flushed).
#include "TestSupport.h"

#include "front/XlatorOutput.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>

namespace {

// What reached the file, past the stdio buffer.
std::string onDisk(std::FILE* file) { return readFile("/proc/self/fd/" + std::to_string(fileno(file))); }

// Puts the writer at the start of a line at the given level.
void atLevel(XlatorOutput& out, int level) {
    for (int i = 0; i < level; ++i) out.indentMore();
    out.newLine();
}

struct Layout {
    const char* what;
    void (*write)(XlatorOutput&);
    const char* ttcn;
    const char* asn = "";
    const char* console = "";  // standard error: the warnings
};

const Layout kLayouts[] = {
    {"multi-line text is indented line by line and its last line stays open",
     [](XlatorOutput& o) { atLevel(o, 1); o.write("a\nb"); o.write("c"); }, "\n  a\n  bc"},
    {"text ending in a line feed gives an indented empty line",
     [](XlatorOutput& o) { atLevel(o, 1); o.writeLine("a\n"); o.write("b\n"); }, "\n  a\n  \n  b\n  "},
    {"empty texts at level two write their indentation",
     [](XlatorOutput& o) { atLevel(o, 2); o.write(""); o.newLine(); o.writeLine(""); }, "\n    \n    \n"},
    {"carriage returns are dropped: line feeds alone end lines",
     [](XlatorOutput& o) { o.writeLine("x\r\ny\rz"); o.writeComment("one\r\ntwo"); }, "x\nyz\n// one\n// two\n"},
    {"a comment in the middle of a line ends that line first",
     [](XlatorOutput& o) { atLevel(o, 1); o.write("x :="); o.writeComment("first\nsecond"); o.writeLine("y"); },
     "\n  x :=\n  // first\n  // second\n  y\n"},
    {"a block as the first output ends the empty first line",
     [](XlatorOutput& o) { o.openBlock(); o.writeLine("x"); o.closeBlock(true); }, "\n{\n  x\n}\n"},
    {"group at level one",
     [](XlatorOutput& o) { atLevel(o, 1); o.beginGroup("G"); o.writeLine("T"); o.closeBlock(true); },
     "\n  group G\n  {\n    T\n  }\n"},
    {"with block on its own lines",
     [](XlatorOutput& o) { o.writeLine("type integer I"); o.beginWith(); o.writeLine("encode \"x\""); o.closeBlock(true); },
     "type integer I\nwith\n{\n  encode \"x\"\n}\n"},
    {"a closing brace and the text after it share a line",
     [](XlatorOutput& o) {
         o.writeLine("if (c)"); o.openBlock(); o.writeLine("a"); o.closeBlock(false);
         o.write(" else"); o.openBlock(); o.closeBlock(true);
     },
     "if (c)\n{\n  a\n} else\n{\n}\n"},
    {"indentation once per line, a space indents first",
     [](XlatorOutput& o) {
         atLevel(o, 1); o.writeIndent(); o.writeIndent(); o.write("a"); o.writeIndent(); o.space(); o.write("b");
         o.newLine(); o.space();
     },
     "\n  a b\n   "},
    {"newLine at a line start writes an empty line, startLine does not",
     [](XlatorOutput& o) { o.writeLine("a"); o.newLine(); o.startLine(); o.write("b"); o.startLine(); }, "a\n\nb\n"},
    {"both switches off run everything on one line",
     [](XlatorOutput& o) {
         atLevel(o, 1); o.write("f("); o.setLineBreaks(false); o.setIndentOn(false); o.openBlock(); o.write("a\nb");
         o.closeBlock(true); o.writeComment("c"); o.setLineBreaks(true); o.setIndentOn(true);
         o.writeLine(")"); o.writeLine("g");  // the first line's indentation is already out
     },
     "\n  f({ab}// c)\n  g\n"},
    {"a second final line is dropped", [](XlatorOutput& o) { o.writeFinalLine("stop"); o.writeFinalLine("stop"); },
     "stop\n"},
    {"comments between final lines keep the guard",
     [](XlatorOutput& o) {
         o.writeFinalLine("stop"); o.writeComment("note"); o.todo("check this");
         o.writeFinalLine("return true", std::string("dropped with its note"));
     },
     "stop\n// note\n// TODO: check this\n", "", "warning: check this\n"},
    {"other output between final lines clears the guard",
     [](XlatorOutput& o) {
         o.writeFinalLine("stop"); o.write("x"); o.writeFinalLine("stop"); o.openBlock();
         o.writeFinalLine("return false"); o.closeBlock(true); o.writeFinalLine("stop"); o.space();
         o.writeFinalLine("stop");
     },
     "stop\nxstop\n{\n  return false\n}\nstop\n stop\n"},
    {"a final line's note becomes a warning and a TODO comment",
     [](XlatorOutput& o) { atLevel(o, 1); o.writeFinalLine("return true", std::string("fix 'return'")); },
     "\n  // TODO: fix 'return'\n  return true\n", "", "warning: fix 'return'\n"},
    {"todo warns on the console and comments on its own line",
     [](XlatorOutput& o) { o.write("var integer x"); o.todo("two\nlines"); },
     "var integer x\n// TODO: two\n// lines\n", "", "warning: two\nlines\n"},
    {"each file keeps its own indentation, line state and switches",
     [](XlatorOutput& o) {
         o.writeLine("module M"); o.openBlock(); o.write("x");  // TTCN-3 line left open at level 1
         o.setLineBreaks(false); o.selectAsn(); o.openBlock(); o.openBlock(); o.selectTtcn();
         o.setLineBreaks(true); o.writeLine("y"); o.writeLine("z"); o.selectAsn(); o.selectAsn(); o.writeLine("a");
         o.closeBlock(true); o.selectTtcn(); o.selectTtcn(); o.closeBlock(true);
     },
     "module M\n{\n  xy\n  z\n}\n", "\n{\n  {\n    a\n  }\n"},
};

}  // namespace

TEST(OutputWriter, LayoutOfEachKindOfPiece) {
    for (const Layout& layout : kLayouts) {
        CapturedStream ttcn, asn;
        XlatorOutput out(ttcn.get(), asn.get());
        testing::internal::CaptureStderr();
        layout.write(out);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), layout.console) << layout.what;
        EXPECT_EQ(onDisk(ttcn.get()), layout.ttcn) << layout.what;
        EXPECT_EQ(onDisk(asn.get()), layout.asn) << layout.what;
    }
}

// The guards end the process: run them in a child and read the file it leaves.
TEST(OutputWriter, GuardsEndTheRunWithTheirAssertion) {
    const std::string negativeIndent =
        "^ASSERTION FAILED: opts\\.indent > 0 \\('INTERNAL_ERROR: negative indent'\\) at XlatorOutput\\.cpp\\([0-9]+\\)\n$";
    ScratchDir dir;
    const fs::path path = dir.path() / "guard.ttcn";
    EXPECT_EXIT(
        {
            std::FILE* f = std::fopen(path.c_str(), "w");
            XlatorOutput out(f, f);
            out.openBlock(); out.writeLine("a"); out.closeBlock(true); out.write("b"); out.closeBlock(true);
        },
        testing::ExitedWithCode(1), negativeIndent);
    EXPECT_EQ(readFile(path), "\n{\n  a\n}\nb");  // everything written before the guard is there
    EXPECT_EXIT(
        {
            XlatorOutput out(stdout, stdout);
            out.indentMore(); out.dedent(); out.dedent();
        },
        testing::ExitedWithCode(1), negativeIndent);
    EXPECT_EXIT(
        {
            XlatorOutput out(stdout, nullptr);
            out.selectAsn(); out.write("x");
        },
        testing::ExitedWithCode(1),
        "^ASSERTION FAILED: opts\\.outfile \\('INTERNAL_ERROR: outfile is NULL'\\) at XlatorOutput\\.cpp\\([0-9]+\\)\n$");
}

// A write that does not reach the file ends the run at once, naming the file:
// a full disk must never pass for a complete conversion.
TEST(OutputWriter, WriteErrorsEndTheRunWithTheFileName) {
    ScratchDir dir;
    const std::string limited = (dir.path() / "limited.ttcn").string();
    const struct {
        const char* name;
        std::function<void()> run;
        const char* reason;
    } cases[] = {
        {"a full disk", [] {
             std::FILE* full = std::fopen("/dev/full", "w");
             XlatorOutput out(stdout, full, "suite.ttcn", "suite.asn");
             out.selectAsn();
             out.writeLine("ExtASN DEFINITIONS ::= BEGIN");
         }, "^ERROR: Unable to write output file 'suite\\.asn': No space left on device\n$"},
        {"a file size limit", [&limited] {
             std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of killing the process
             rlimit cap{1000, 1000};
             setrlimit(RLIMIT_FSIZE, &cap);
             XlatorOutput out(std::fopen(limited.c_str(), "w"), stdout, "suite.ttcn", "suite.asn");
             for (int i = 0; i < 100; ++i) out.writeLine("a line of the module, thirty-odd bytes");
         }, "^ERROR: Unable to write output file 'suite\\.ttcn': File too large\n$"},
    };
    for (const auto& c : cases) EXPECT_EXIT(c.run(), testing::ExitedWithCode(1), c.reason) << c.name;
    // Everything up to the limit was written; nothing after the failure.
    EXPECT_EQ(readFile(limited).size(), 1000u);
}
