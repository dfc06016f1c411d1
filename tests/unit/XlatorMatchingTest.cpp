// Matching symbols and value attributes of constraint values.
#include "tests/unit/XlatorValuesTestSupport.h"

namespace {

struct MatchingCase {
    const char* what;
    const char* cell;
    const char* expected;
};

const MatchingCase kMatching[] = {
    {"complement", "COMPLEMENT (0, 255)", "v := complement (0, 255)"},
    {"value list", "(1, 2, 4)", "v := (1, 2, 4)"},
    {"value list of one value", "(5)", "v := (5)"},
    {"range", "(1 TO 10)", "v := (1 .. 10)"},
    {"range with infinite lower bound", "(-INFINITY TO 0)", "v := (-infinity .. 0)"},
    {"range with infinite upper bound", "(1 TO INFINITY)", "v := (1 .. infinity)"},
    {"permutation", "PERMUTATION (1, 2, 3)", "v := permutation (1, 2, 3)"},
    {"omit as a dash", "-", "v := omit"},
    {"omit as a keyword", "OMIT", "v := omit"},
    {"any value", "?", "v := ?"},
    {"any value or none", "*", "v := *"},
    {"single length", "?[4]", "v := ? length(4)"},
    {"length range and if present", "*[1 TO 3] IF_PRESENT", "v := * length(1 .. 3) ifpresent"},
    {"length range up to infinity", "?[N .. INFINITY]", "v := ? length(N .. infinity)"},
    {"if present alone", "? IF_PRESENT", "v := ? ifpresent"},
    {"value if present", "TSC_N IF_PRESENT", "v := TSC_N ifpresent"},
    {"list inside a complement keeps attributes", "COMPLEMENT (1, ?[2])", "v := complement (1, ? length(2))"},
};

TEST(MatchingSymbols, EveryFormWithoutMark) {
    for (const MatchingCase& c : kMatching) {
        Written w = writeCell(Choices::ConsValue, c.cell);
        EXPECT_EQ(w.text, c.expected) << c.what;
        EXPECT_EQ(w.errors, "") << c.what;
    }
}

const std::string kSuperSetMark = "'superset' constraint should be enclosed in brackets (not curly ones)";
const std::string kSubSetMark = "'subset' constraint should be enclosed in brackets (not curly ones)";

TEST(MatchingSymbols, SuperSetAndSubSetCarryAMark) {
    Written superset = writeCell(Choices::ConsValue, "SUPERSET (x)");
    EXPECT_EQ(superset.text, "v := \n// TODO: " + kSuperSetMark + "\nsuperset x");
    EXPECT_EQ(superset.errors, "warning: " + kSuperSetMark + "\n");

    // A SET OF value keeps its braces: that is what the mark points at.
    Written subset = writeCell(Choices::ConsValue, "SUBSET ({1, 2})");
    EXPECT_EQ(subset.text, "v := \n// TODO: " + kSubSetMark + "\nsubset \n{\n  1, \n  2\n}");
    EXPECT_EQ(subset.errors, "warning: " + kSubSetMark + "\n");
}

TEST(MatchingSymbols, EachMarkIsWrittenEveryTime) {
    Written w = writeCell(Choices::ConsValue, "(SUPERSET (x), SUPERSET (y))");
    EXPECT_EQ(w.text, "v := (\n// TODO: " + kSuperSetMark + "\nsuperset x, \n// TODO: " + kSuperSetMark +
                          "\nsuperset y)");
    EXPECT_EQ(w.errors, "warning: " + kSuperSetMark + "\nwarning: " + kSuperSetMark + "\n");
}

}  // namespace
