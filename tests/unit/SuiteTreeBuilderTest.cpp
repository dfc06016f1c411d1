#include "MpTestSupport.h"

#include "tree/KindInfo.h"
#include "tree/TreeViews.h"
#include "suite/mp/SuiteTreeBuilder.h"

#include <random>

namespace {

// One behaviour row: an indentation and a comment naming it; "H:name" for a
// tree header; "" for an empty row.
struct Row {
    int indent;
    std::string name;
};

// "r7" and the like: a numbered row name (appended, not `"r" + to_string`,
// which g++ 12 flags with a false -Wrestrict at -O2).
std::string numbered(const char* prefix, int number) {
    std::string name = prefix;
    name += std::to_string(number);
    return name;
}

std::string testCaseText(const std::vector<Row>& rows) {
    std::string text = "$Suite $SuiteId S\n$DynamicPart\n$TestCases\n$Begin_TestCase\n$TestCaseId TC\n"
                       "$BehaviourDescription\n";
    for (const Row& row : rows) {
        if (row.name.rfind("H:", 0) == 0) {
            text += "$Header " + row.name.substr(2) + "\n";
        } else if (row.name.empty()) {
            text += "$BehaviourLine\n$LabelId\n$Line\n$Cref\n$VerdictId\n$Comment\n$End_BehaviourLine\n";
        } else {
            text += "$BehaviourLine\n$Line [" + std::to_string(row.indent) + "] P ! A\n$Comment " + row.name +
                    "\n$End_BehaviourLine\n";
        }
    }
    return text + "$End_BehaviourDescription\n$End_TestCase\n$End_TestCases\n$End_DynamicPart\n$End_Suite\n";
}

class BehaviourTrees : public ::testing::Test {
protected:
    // `leftOut`: rows emptied the way the analysis empties the rows that
    // conditional text leaves out.
    BehaviourDescription load(const std::vector<Row>& rows, const std::vector<std::size_t>& leftOut = {}) {
        LibraryError error;
        document_ = importText(testCaseText(rows), error);
        EXPECT_TRUE(document_) << error.text;
        if (!document_) return {};
        for (std::size_t i : leftOut)
            for (Cell& cell : document_->tables().at(0)->rows.at(i)->cells) cell.text = CellText();
        fillCells(*document_, document_->root());
        ASuite suite(buildSuiteTree(*document_));
        TestGroupOrTestCase entry = suite.dynamicPart().testCases().testGroupOrTestCaseList().testGroupOrTestCase(0);
        EXPECT_EQ(entry.choice(), Choices::TestCase);
        return entry.testCase().behaviourDescription();
    }
    std::unique_ptr<Document> document_;
};

// The lines of a level list by name, each followed by its children in parentheses.
template <typename List>
std::string outline(const List& list) {
    std::string out;
    for (int32_t i = 0; i < list.size(); ++i) {
        const BehaviourLine line = list.behaviourLine(i);
        if (i > 0) out += ' ';
        out += line.comment().text();
        if (line.children().size() > 0) out.append("(").append(outline(line.children())).append(")");
    }
    return out;
}

// The root tree, then each local tree as " | header: lines".
std::string outline(const BehaviourDescription& body) {
    std::string out = outline(body.rootTree());
    for (int32_t i = 0; i < body.localTreeList().size(); ++i) {
        const LocalTree tree = body.localTreeList().localTree(i);
        out.append(" | ").append(tree.header().treeNode()->text()).append(": ").append(outline(tree.behaviourLineList()));
    }
    return out;
}

TEST_F(BehaviourTrees, LevelsChildrenAndLocalTrees) {
    struct Case {
        std::vector<Row> rows;
        std::vector<std::size_t> leftOut;
        const char* outline;
    };
    const Case cases[] = {
        {{{0, "a"}, {1, "b"}, {2, "c"}, {1, "d"}, {0, "e"}}, {}, "a(b(c) d) e"},
        // A jump of more than one level gives no children.
        {{{0, "a"}, {2, "b"}, {1, "c"}, {0, "d"}}, {}, "a d"},
        // "c" jumps two levels below "b": it belongs to no level list, and the level of "b" goes on past it.
        {{{0, "a"}, {1, "b"}, {3, "c"}, {1, "d"}, {2, "e"}, {0, "f"}, {2, "g"}}, {}, "a(b d(e)) f"},
        {{{0, ""}, {0, "a"}, {0, ""}, {1, "b"}, {0, ""}, {1, "c"}, {2, "d"}, {0, ""}}, {}, "a(b c(d))"},
        {{{0, "a"}, {1, "b"}, {0, "H:LT1(p: INTEGER)"}, {0, "x"}, {1, "y"}, {0, "H:LT2"}, {0, "z"}, {0, "w"}},
         {},
         "a(b) | LT1(p: INTEGER): x(y) | LT2: z w"},
        {{{0, "H:LT"}, {0, "a"}, {1, "b"}}, {}, " | LT: a(b)"},
        {{}, {}, ""},
        // Rows left out by conditional text: a tree header with its lines, or the header alone.
        {{{0, "a"}, {0, "H:LT"}, {0, "x"}, {1, "y"}, {0, "b"}, {1, "c"}}, {1, 2, 3}, "a b(c)"},
        {{{0, "a"}, {1, "b"}, {0, "H:LT"}, {1, "x"}}, {2}, "a(b x)"},
    };
    for (const Case& c : cases) EXPECT_EQ(outline(load(c.rows, c.leftOut)), c.outline);
}

TEST_F(BehaviourTrees, LinesKeepTheirRowNumberAndAreOneNodeInEveryList) {
    BehaviourDescription d = load({{0, "a"}, {0, ""}, {1, "b"}});
    BehaviourLine b = d.rootTree().behaviourLine(0).children().behaviourLine(0);
    EXPECT_EQ(b.lineNumber().number().text(), "2");
    EXPECT_FALSE(b.is_present_labelId());
    EXPECT_TRUE(b.is_present_line());
    EXPECT_EQ(d.rootTree().behaviourLine(0).children().behaviourLine(0).treeNode(), b.treeNode());
}

// Each line one level deeper than the one before: the builder once scanned to
// the end of the body for every row, minutes for a body of this size.
TEST_F(BehaviourTrees, EachLineOneLevelDeeperNestsToTheLastLine) {
    const int depth = 20000;
    std::vector<Row> rows;
    for (int i = 0; i < depth; ++i) rows.push_back({i, numbered("r", i)});
    BehaviourDescription d = load(rows);
    ASSERT_EQ(d.rootTree().size(), 1);
    BehaviourLine line = d.rootTree().behaviourLine(0);
    for (int i = 1; i < depth; ++i) {
        ASSERT_EQ(line.children().size(), 1) << "row " << i;
        line = line.children().behaviourLine(0);
    }
    EXPECT_EQ(line.comment().text(), numbered("r", depth - 1));
    EXPECT_EQ(line.children().size(), 0);
}

// The level-list rules read straight off their description, one forward scan
// per call: what the builder's linear-time reading must agree with.
std::vector<std::size_t> scannedLevelList(std::span<SuiteNode* const> rows, std::size_t start) {
    std::vector<std::size_t> picked;
    for (std::size_t i = start; i < rows.size(); ++i) {
        if (rows[i]->treeHeader) break;
        if (rows[i]->isEmpty()) continue;
        if (rows[i]->indentation < rows[start]->indentation) break;
        if (rows[i]->indentation == rows[start]->indentation) picked.push_back(i);
    }
    return picked;
}

long scannedChildrenStart(std::span<SuiteNode* const> rows, std::size_t line) {
    for (std::size_t j = line + 1; j < rows.size(); ++j) {
        if (rows[j]->isEmpty()) continue;
        return !rows[j]->treeHeader && rows[j]->indentation == rows[line]->indentation + 1 ? long(j) : -1;
    }
    return -1;
}

TEST(LevelLists, AgreeWithAForwardScanOnMixedBodies) {
    std::mt19937 random(7);
    for (int body = 0; body < 40; ++body) {
        std::vector<Row> written;
        for (int i = 0; i < 60; ++i) {
            unsigned pick = random() % 10;
            if (pick == 0) written.push_back({0, ""});
            else if (pick == 1) written.push_back({0, numbered("H:LT", i)});
            else written.push_back({int(random() % 5), numbered("r", i)});
        }
        LibraryError error;
        auto document = importText(testCaseText(written), error);
        ASSERT_TRUE(document) << error.text;
        const auto& rows = document->tables().at(0)->rows;
        ASSERT_EQ(rows.size(), written.size());
        for (std::size_t i = 0; i <= rows.size(); ++i) {
            EXPECT_EQ(levelList(rows, i), i < rows.size() ? scannedLevelList(rows, i) : std::vector<std::size_t>{})
                << "body " << body << " row " << i;
            if (i < rows.size()) {
                EXPECT_EQ(childrenStart(rows, i), scannedChildrenStart(rows, i)) << "body " << body << " row " << i;
            }
        }
    }
}

TEST(SuiteTree, TablesRowsFlatRowListsAndConstraintGroups) {
    // Two structured types, one with an empty row; constraints in nested groups.
    LibraryError error;
    auto document = importText(readFile(mpTestDataDir() + "/struct_constraint_groups.mp"), error);
    ASSERT_TRUE(document) << error.text;
    fillCells(*document, document->root());
    ASuite suite(buildSuiteTree(*document));
    ASSERT_TRUE(suite.is_present_suiteId());
    EXPECT_EQ(suite.suiteId().identifier().text(), "DEMO");
    StructTypeDefs types = suite.declarationsPart().definitions().ts_TypeDefs().structTypeDefs();
    ASSERT_EQ(types.size(), 2);
    StructTypeDef t1 = types.structTypeDef(0);
    EXPECT_TRUE(t1.is_present_structId());
    EXPECT_FALSE(t1.is_present_comment());        // empty cell: absent
    EXPECT_FALSE(t1.is_present_detailedComment());
    ASSERT_EQ(t1.elemDcls().size(), 2);            // the empty row is skipped
    EXPECT_EQ(t1.elemDcls().elemDcl(1).comment().text(), "/* second */");
    EXPECT_EQ(types.structTypeDef(1).elemDcls().size(), 0);
    // Tables the file does not have are there, empty.
    EXPECT_EQ(suite.declarationsPart().definitions().ts_TypeDefs().simpleTypeDefs().simpleTypeDefList().size(), 0);
    EXPECT_EQ(suite.dynamicPart().testCases().testGroupOrTestCaseList().size(), 0);
    // Building again gives the same tree.
    EXPECT_EQ(buildSuiteTree(*document), suite.treeNode());

    // Constraint groups nest in file order.
    StructTypeConstraintOrGroupList top =
        suite.constraintsPart().ts_TypeConstraints().structTypeConstraints().structTypeConstraintOrGroupList();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top.structTypeConstraintOrGroup(0).choice(), Choices::StructTypeConstraint);
    ASSERT_EQ(top.structTypeConstraintOrGroup(1).choice(), Choices::StructTypeConstraintGroup);
    StructTypeConstraintGroup g1 = top.structTypeConstraintOrGroup(1).structTypeConstraintGroup();
    EXPECT_EQ(g1.structTypeConstraintGroupId().treeNode()->text(), "G1");
    StructTypeConstraintOrGroupList inG1 = g1.structTypeConstraintOrGroupList();
    ASSERT_EQ(inG1.size(), 2);
    StructTypeConstraintGroup g2 = inG1.structTypeConstraintOrGroup(0).structTypeConstraintGroup();
    StructTypeConstraint c2 = g2.structTypeConstraintOrGroupList().structTypeConstraintOrGroup(0).structTypeConstraint();
    EXPECT_EQ(c2.consId().treeNode()->text(), "C2");
    EXPECT_EQ(c2.structTypeConstraintGroupRef().treeNode()->text(), "G1/G2/");
    EXPECT_EQ(c2.elemValues().size(), 1);
    EXPECT_EQ(inG1.structTypeConstraintOrGroup(1).structTypeConstraint().consId().treeNode()->text(), "C1");
}

}  // namespace
