// The output writer's layout, checked byte for byte on real files read back
// while the writer still holds them open (so every write must be flushed).
#include "front/XlatorOutput.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string scratchName(const char* what) {
    return "output_writer_" + std::to_string(::getpid()) + "_" + what;
}

class OutputWriter : public ::testing::Test {
protected:
    void SetUp() override {
        ttcnFile = std::fopen(ttcnPath.c_str(), "w");
        asnFile = std::fopen(asnPath.c_str(), "w");
        ASSERT_NE(ttcnFile, nullptr);
        ASSERT_NE(asnFile, nullptr);
        out = std::make_unique<XlatorOutput>(ttcnFile, asnFile);
    }
    void TearDown() override {
        std::fclose(ttcnFile);
        std::fclose(asnFile);
        std::remove(ttcnPath.c_str());
        std::remove(asnPath.c_str());
    }
    std::string ttcn() const { return readFile(ttcnPath); }
    std::string asn() const { return readFile(asnPath); }
    // Puts the writer at the start of a line at the given level.
    void levelAtLineStart(int level) {
        for (int i = 0; i < level; ++i) out->indentMore();
        out->newLine();
    }

    std::string ttcnPath = scratchName("t.ttcn");
    std::string asnPath = scratchName("t.asn");
    std::FILE* ttcnFile = nullptr;
    std::FILE* asnFile = nullptr;
    std::unique_ptr<XlatorOutput> out;
};

}  // namespace

TEST(OutputWriterLines, SplitLinesDropsCarriageReturnsAndKeepsTrailingEmptyLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(XlatorOutput::splitLines(""), V{""});
    EXPECT_EQ(XlatorOutput::splitLines("abc"), V{"abc"});
    EXPECT_EQ(XlatorOutput::splitLines("a\nb"), (V{"a", "b"}));
    EXPECT_EQ(XlatorOutput::splitLines("a\n"), (V{"a", ""}));
    EXPECT_EQ(XlatorOutput::splitLines("\n"), (V{"", ""}));
    EXPECT_EQ(XlatorOutput::splitLines("\n\nx"), (V{"", "", "x"}));
    EXPECT_EQ(XlatorOutput::splitLines("a\r\nb\r\n"), (V{"a", "b", ""}));
    EXPECT_EQ(XlatorOutput::splitLines("a\rb"), V{"ab"});
}

TEST_F(OutputWriter, StartsWithBothSwitchesOnAndNoLineState) {
    const XlatorStream& s = out->current();
    EXPECT_EQ(s.outfile, ttcnFile);
    EXPECT_EQ(s.indent, 0);
    EXPECT_TRUE(s.lineBreaks);
    EXPECT_TRUE(s.indentOn);
    EXPECT_FALSE(s.indentWritten);
    EXPECT_FALSE(s.atLineStart);
    EXPECT_FALSE(s.finalLineWritten);
}

TEST_F(OutputWriter, BothSwitchesOffRunEverythingOnOneLine) {
    levelAtLineStart(1);
    out->write("f(");
    out->setLineBreaks(false);
    out->setIndentOn(false);
    out->openBlock();
    out->write("a\nb");
    out->closeBlock(true);
    out->writeComment("c");
    EXPECT_EQ(ttcn(), "\n  f({ab}// c");
    out->setLineBreaks(true);
    out->setIndentOn(true);
    EXPECT_TRUE(out->lineBreaks());
    EXPECT_TRUE(out->indentOn());
    out->writeLine(")");  // the line's indentation is already out
    out->writeLine("g");
    EXPECT_EQ(ttcn(), "\n  f({ab}// c)\n  g\n");
}

TEST_F(OutputWriter, EmptyTextsAtLevelTwoWriteTheirIndentation) {
    levelAtLineStart(2);
    out->write("");
    EXPECT_EQ(ttcn(), "\n    ");
    EXPECT_FALSE(out->current().atLineStart);
    out->newLine();
    out->writeLine("");
    EXPECT_EQ(ttcn(), "\n    \n    \n");
    EXPECT_TRUE(out->current().atLineStart);
}

TEST_F(OutputWriter, MultiLineTextIsIndentedLineByLine) {
    levelAtLineStart(1);
    out->write("a\nb");
    EXPECT_EQ(ttcn(), "\n  a\n  b");
    EXPECT_FALSE(out->current().atLineStart);
    out->write("c");  // the line stays open
    EXPECT_EQ(ttcn(), "\n  a\n  bc");
}

TEST_F(OutputWriter, TextEndingInLineFeedGivesIndentedEmptyLine) {
    levelAtLineStart(1);
    out->writeLine("a\n");
    EXPECT_EQ(ttcn(), "\n  a\n  \n");
    out->write("b\n");
    EXPECT_EQ(ttcn(), "\n  a\n  \n  b\n  ");
}

TEST_F(OutputWriter, CarriageReturnLineFeedPairsBecomeLineFeeds) {
    out->writeLine("x\r\ny");
    out->writeComment("one\r\ntwo");
    EXPECT_EQ(ttcn(), "x\ny\n// one\n// two\n");
}

TEST_F(OutputWriter, CommentInMiddleOfLineEndsThatLineFirst) {
    levelAtLineStart(1);
    out->write("x :=");
    out->writeComment("first\nsecond");
    out->writeLine("y");
    EXPECT_EQ(ttcn(), "\n  x :=\n  // first\n  // second\n  y\n");
}

TEST_F(OutputWriter, CommentAtLineStartWritesNoEmptyLine) {
    out->writeLine("a");
    out->writeComment("c");
    EXPECT_EQ(ttcn(), "a\n// c\n");
}

TEST_F(OutputWriter, OpenBlockAsFirstOutputEndsTheEmptyFirstLine) {
    out->openBlock();
    out->writeLine("x");
    out->closeBlock(true);
    EXPECT_EQ(ttcn(), "\n{\n  x\n}\n");
}

TEST_F(OutputWriter, GroupLayoutAtLevelOne) {
    levelAtLineStart(1);
    out->beginGroup("G");
    out->writeLine("T");
    out->closeBlock(true);
    EXPECT_EQ(ttcn(), "\n  group G\n  {\n    T\n  }\n");
}

TEST_F(OutputWriter, WithBlockOpensOnItsOwnLines) {
    out->writeLine("type integer I");
    out->beginWith();
    out->writeLine("encode \"x\"");
    out->closeBlock(true);
    EXPECT_EQ(ttcn(), "type integer I\nwith\n{\n  encode \"x\"\n}\n");
}

TEST_F(OutputWriter, BraceThenTextStayOnOneLine) {
    out->writeLine("if (c)");
    out->openBlock();
    out->writeLine("a");
    out->closeBlock(false);
    out->write(" else");
    out->openBlock();
    out->closeBlock(true);
    EXPECT_EQ(ttcn(), "if (c)\n{\n  a\n} else\n{\n}\n");
}

TEST_F(OutputWriter, WriteIndentOnlyAtLineStartAndSpaceIndentsFirst) {
    levelAtLineStart(1);
    out->writeIndent();
    out->writeIndent();  // indentation is written once per line
    out->write("a");
    out->writeIndent();  // mid-line: nothing
    out->space();
    out->write("b");
    out->newLine();
    out->space();
    EXPECT_EQ(ttcn(), "\n  a b\n   ");
    EXPECT_FALSE(out->current().atLineStart);
}

TEST_F(OutputWriter, IndentMoreAndDedentWriteNothing) {
    out->writeLine("f(");
    out->indentMore();
    out->writeLine("p");
    out->dedent();
    out->writeLine(")");
    EXPECT_EQ(ttcn(), "f(\n  p\n)\n");
}

TEST_F(OutputWriter, NewLineWritesEmptyLineAtLineStart) {
    out->writeLine("a");
    out->newLine();
    out->startLine();  // already at a line start: nothing
    out->write("b");
    out->startLine();
    EXPECT_EQ(ttcn(), "a\n\nb\n");
}

TEST_F(OutputWriter, SecondFinalLineIsDropped) {
    out->writeFinalLine("stop");
    out->writeFinalLine("stop");
    EXPECT_EQ(ttcn(), "stop\n");
    EXPECT_TRUE(out->current().finalLineWritten);
}

TEST_F(OutputWriter, CommentBetweenFinalLinesKeepsTheGuard) {
    testing::internal::CaptureStderr();
    out->writeFinalLine("stop");
    out->writeComment("note");
    out->todo("check this");
    out->writeFinalLine("return true", std::string("dropped with its note"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "warning: check this\n");
    EXPECT_EQ(ttcn(), "stop\n// note\n// TODO: check this\n");
}

TEST_F(OutputWriter, OtherOutputBetweenFinalLinesClearsTheGuard) {
    out->writeFinalLine("stop");
    out->write("x");
    out->writeFinalLine("stop");
    out->openBlock();
    out->writeFinalLine("return false");
    out->closeBlock(true);
    out->writeFinalLine("stop");
    out->space();
    out->writeFinalLine("stop");
    EXPECT_EQ(ttcn(), "stop\nxstop\n{\n  return false\n}\nstop\n stop\n");
}

TEST_F(OutputWriter, FinalLineNoteBecomesWarningAndTodoComment) {
    levelAtLineStart(1);
    testing::internal::CaptureStderr();
    out->writeFinalLine("return true", std::string("fix 'return'"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "warning: fix 'return'\n");
    EXPECT_EQ(ttcn(), "\n  // TODO: fix 'return'\n  return true\n");
}

TEST_F(OutputWriter, TodoWarnsOnConsoleAndCommentsOnItsOwnLine) {
    out->write("var integer x");
    testing::internal::CaptureStderr();
    out->todo("two\nlines");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "warning: two\nlines\n");
    EXPECT_EQ(ttcn(), "var integer x\n// TODO: two\n// lines\n");
}

TEST_F(OutputWriter, EachFileKeepsItsOwnIndentationAndLineState) {
    out->writeLine("module M");
    out->openBlock();
    out->write("x");  // TTCN-3 line left open at level 1
    out->selectAsn();
    EXPECT_EQ(out->current().outfile, asnFile);
    out->openBlock();
    out->openBlock();
    out->selectTtcn();
    out->writeLine("y");
    out->writeLine("z");
    out->selectAsn();
    out->selectAsn();  // already current: nothing changes
    out->writeLine("a");
    out->closeBlock(true);
    out->selectTtcn();
    out->selectTtcn();
    out->closeBlock(true);
    EXPECT_EQ(ttcn(), "module M\n{\n  xy\n  z\n}\n");
    EXPECT_EQ(asn(), "\n{\n  {\n    a\n  }\n");
}

TEST_F(OutputWriter, SwitchesBelongToTheirFile) {
    out->setLineBreaks(false);
    out->selectAsn();
    EXPECT_TRUE(out->lineBreaks());
    out->selectTtcn();
    EXPECT_FALSE(out->lineBreaks());
}

// The guards end the process: run them in a child and read the file it leaves.
TEST(OutputWriterGuards, CloseBlockAtLevelZeroKeepsEverythingWrittenBefore) {
    const std::string path = scratchName("guard.ttcn");
    EXPECT_EXIT(
        {
            std::FILE* f = std::fopen(path.c_str(), "w");
            XlatorOutput out(f, f);
            out.openBlock();
            out.writeLine("a");
            out.closeBlock(true);
            out.write("b");
            out.closeBlock(true);
        },
        testing::ExitedWithCode(1),
        "^ASSERTION FAILED: opts\\.indent > 0 \\('INTERNAL_ERROR: negative indent'\\) at "
        "XlatorOutput\\.cpp\\([0-9]+\\)\n$");
    EXPECT_EQ(readFile(path), "\n{\n  a\n}\nb");
    std::remove(path.c_str());
}

TEST(OutputWriterGuards, DedentAtLevelZeroFails) {
    EXPECT_EXIT(
        {
            XlatorOutput out(stdout, stdout);
            out.indentMore();
            out.dedent();
            out.dedent();
        },
        testing::ExitedWithCode(1),
        "^ASSERTION FAILED: opts\\.indent > 0 \\('INTERNAL_ERROR: negative indent'\\) at "
        "XlatorOutput\\.cpp\\([0-9]+\\)\n$");
}

TEST(OutputWriterGuards, WritingToMissingFileFails) {
    EXPECT_EXIT(
        {
            XlatorOutput out(stdout, nullptr);
            out.selectAsn();
            out.write("x");
        },
        testing::ExitedWithCode(1),
        "^ASSERTION FAILED: opts\\.outfile \\('INTERNAL_ERROR: outfile is NULL'\\) at "
        "XlatorOutput\\.cpp\\([0-9]+\\)\n$");
}

// A write that does not reach the file ends the run at once, naming the file:
// a full disk must never pass for a complete conversion.
TEST(OutputWriterGuards, WriteErrorsEndTheRunWithTheFileName) {
    const std::string limited = scratchName("limited.ttcn");
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
    std::remove(limited.c_str());
}
