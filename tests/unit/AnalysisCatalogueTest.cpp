// The analysis message catalogue, conditional text and defined flags.
#include "suite/analysis/AnalysisMessages.h"
#include "suite/analysis/ConditionalText.h"
#include "suite/analysis/DefinedFlags.h"
#include "suite/LibrarySettings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

TEST(AnalysisCatalogue, FillsPlaceholdersInOrder) {
    EXPECT_EQ(formatAnalysisMessage(131, {"ptc1", "CONFIG_A"}, ""),
              "PTC ptc1 not declared in the configuration CONFIG_A.");
    EXPECT_EQ(formatAnalysisMessage(57, {AnalysisArgument::number(3), AnalysisArgument::number(2)}, ""),
              "Mismatched number of parameters: is 3, should be 2.");
    EXPECT_EQ(formatAnalysisMessage(38, {AnalysisArgument::number(-17)}, ""), "Internal error #-17");
    // A placeholder without its argument stays empty.
    EXPECT_EQ(formatAnalysisMessage(33, {}, ""), "The referenced object  is not declared.");
    // Text without placeholders, and a lone tilde, are copied.
    EXPECT_EQ(formatAnalysisMessage(110, {"x"}, ""), "Cref missing on send/receive line.");
}

TEST(AnalysisCatalogue, ShowsThePlaceInTheFieldText) {
    std::string field = "a := 1;\nb := 2 +* 3";
    EXPECT_EQ(formatAnalysisMessage(50, {"+*"}, field), "Syntax error:\nb := 2 +* 3\n       ^");
    // An offset given by the parser wins over searching.
    EXPECT_EQ(formatAnalysisMessage(50, {AnalysisArgument(":=", 10)}, field), "Syntax error:\nb := 2 +* 3\n  ^");
    // A place on the first character of a line.
    EXPECT_EQ(formatAnalysisMessage(50, {AnalysisArgument("b", 8)}, field), "Syntax error:\nb := 2 +* 3\n^");
    EXPECT_EQ(formatAnalysisMessage(50, {"zz"}, field), "Syntax error:(unable to find substring)");
    EXPECT_EQ(formatAnalysisMessage(50, {}, field), "Syntax error:(unable to find substring)");
    EXPECT_EQ(formatAnalysisMessage(48, {"ident", "+*"}, field),
              "The name ident expected:\nb := 2 +* 3\n       ^");
}

TEST(ConditionalText, ConditionsCombineWithPrecedence) {
    DefinedFlags flags;
    flags.addFromText("A, B");
    EXPECT_EQ(evaluateCondition("defined(A)", flags), true);
    EXPECT_EQ(evaluateCondition("defined(C)", flags), false);
    EXPECT_EQ(evaluateCondition("!defined(C)", flags), true);
    EXPECT_EQ(evaluateCondition(" defined ( A ) && defined(C) ", flags), false);
    // && binds tighter than ||.
    EXPECT_EQ(evaluateCondition("defined(A) || defined(C) && defined(C)", flags), true);
    EXPECT_EQ(evaluateCondition("(defined(A) || defined(C)) && defined(C)", flags), false);
    EXPECT_EQ(evaluateCondition("!(defined(A) && !defined(B))", flags), true);
    EXPECT_EQ(evaluateCondition("!!defined(B)", flags), true);
}

TEST(ConditionalText, MalformedConditionsAreRejected) {
    DefinedFlags flags;
    for (const char* bad : {"", "A", "defined(A", "defined()", "defined(A) &&", "(defined(A)",
                            "defined(A))", "defined(A) & defined(B)", "defined(A) defined(B)"})
        EXPECT_EQ(evaluateCondition(bad, flags), std::nullopt) << bad;
    // Deep nesting is a syntax failure, not a stack overflow.
    std::string deep(100000, '(');
    EXPECT_EQ(evaluateCondition(deep + "defined(A)" + std::string(100000, ')'), flags), std::nullopt);
    EXPECT_EQ(evaluateCondition(std::string(100000, '!') + "defined(A)", flags), std::nullopt);
}

TEST(ConditionalText, NestedDirectivesSelectOnlyWhenEveryEnclosingOneDoes) {
    DefinedFlags flags;
    flags.add("OUTER");
    std::string text =
        "a\n#if defined(OUTER)\nb\n#if defined(INNER)\nc\n#else\nd\n#endif\ne\n#else\nf\n#if !defined(INNER)\ng\n"
        "#endif\n#endif\nh";
    EXPECT_EQ(filterConditionalText(text, flags).text, "a\nb\nd\ne\nh");
    flags.clear();
    // In the unselected branch nothing below takes part, whatever its own condition.
    flags.add("INNER");
    EXPECT_EQ(filterConditionalText(text, flags).text, "a\nf\nh");
    // Text without directives is left alone; "#ifdef" is no directive of ours.
    for (const char* plain : {"+PCO!A  # not a directive", "plain", "#ifdef X\nA"})
        EXPECT_FALSE(filterConditionalText(plain, flags).filtered) << plain;
}

TEST(ConditionalText, ReportsMisplacedDirectivesAtTheirLines) {
    DefinedFlags flags;
    FilteredText stray = filterConditionalText("a\n#endif\nb", flags);
    ASSERT_EQ(stray.findings.size(), 1u);
    EXPECT_EQ(stray.findings[0].message, kMsgUnexpectedEndif);
    EXPECT_EQ(stray.findings[0].place.offset, 2);
    EXPECT_EQ(stray.text, "a\nb");

    FilteredText strayElse = filterConditionalText("#else\nb", flags);
    ASSERT_EQ(strayElse.findings.size(), 1u);
    EXPECT_EQ(strayElse.findings[0].message, kMsgUnexpectedEndif);

    FilteredText open = filterConditionalText("x\n#if defined(A)\ny", flags);
    ASSERT_EQ(open.findings.size(), 1u);
    EXPECT_EQ(open.findings[0].message, kMsgExpectedEndif);
    EXPECT_EQ(formatAnalysisMessage(open.findings[0].message, {open.findings[0].place}, "x\n#if defined(A)\ny"),
              "Expected #endif.\n#if defined(A)\n^");

    FilteredText badCondition = filterConditionalText("#if A\ny\n#else\nz\n#endif", flags);
    ASSERT_EQ(badCondition.findings.size(), 1u);
    EXPECT_EQ(badCondition.findings[0].message, kMsgMismatchedIfEndif);
    EXPECT_EQ(badCondition.text, "z");
}

TEST(DefinedFlags, ReadsNamesFromAFileLineByLine) {
    std::string path = ::testing::TempDir() + "analysis_flags_" + std::to_string(::getpid()) + ".txt";
    {
        std::ofstream f(path);
        f << "ALPHA\n\nBETA\r\n" << std::string(12000, 'L') << "\nGAMMA";
    }
    DefinedFlags flags;
    ASSERT_TRUE(flags.addFromFile(path));
    EXPECT_TRUE(flags.contains("ALPHA"));
    EXPECT_TRUE(flags.contains("BETA"));
    EXPECT_TRUE(flags.contains("GAMMA"));
    EXPECT_FALSE(flags.contains("BETA\r"));
    // The over-long line is read in pieces of 9999 characters.
    EXPECT_TRUE(flags.contains(std::string(9999, 'L')));
    EXPECT_FALSE(flags.addFromFile(path + ".missing"));
    flags.clear();
    EXPECT_EQ(flags.size(), 0u);
    std::remove(path.c_str());
}

TEST(LibraryErrorText, LongFormNamesTheSourcePlace) {
    LibraryError error;
    setLibraryError(error, LibraryErrorCode::FileNotReadable, "x.mp", {}, "loadFromList", "VeldSystem.cpp", 42);
    ::unsetenv("VELD_LONG_ERRORS");
    LibrarySettings::reload();
    EXPECT_EQ(formatLibraryError(error), "File x.mp not found or not readable");
    ::setenv("VELD_LONG_ERRORS", "1", 1);
    LibrarySettings::reload();
    EXPECT_EQ(formatLibraryError(error),
              "File x.mp not found or not readable\n*** VeldSystem.cpp @ 42,\n    loadFromList");
    error.function.clear();
    EXPECT_EQ(formatLibraryError(error), "File x.mp not found or not readable\n*** VeldSystem.cpp @ 42");
    ::unsetenv("VELD_LONG_ERRORS");
    LibrarySettings::reload();
}

TEST(LibrarySettings, ScannerBufferSizeIsBounded) {
    for (const char* notASize : {"lots", "100000000000000000000000000000"}) {
        ::setenv("VELD_SCANNER_BUFFER_SIZE", notASize, 1);
        LibrarySettings::reload();
        EXPECT_EQ(LibrarySettings::scannerBufferSize(), 0) << notASize;
    }
    ::unsetenv("VELD_SCANNER_BUFFER_SIZE");
    LibrarySettings::reload();
}
