// Parse trees of the field parsers: every row of data/fields/shapes.txt (a
// cell kind, its text and the tree written by hand from the field grammars,
// one group a field family) parses without a finding into its tree, which
// also conforms to the suite tree schema; then what the compact form does not
// show.
#include "suite/fields/FieldParser.h"
#include "suite/mp/TableLayout.h"
#include "tests/unit/FieldTreeText.h"

#include "tree/TreeViews.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// A text of the rows file with its escapes undone: "\n" a line feed, "\s" a blank.
std::string unescape(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 's'))
            result += text[++i] == 'n' ? '\n' : ' ';
        else
            result += text[i];
    }
    return result;
}

TEST(FieldShapes, EveryRowParsesIntoItsTree) {
    std::ifstream rows(XLATOR_TEST_DATA "/fields/shapes.txt");
    ASSERT_TRUE(rows) << "data/fields/shapes.txt";
    int count = 0;
    for (std::string head, expected; std::getline(rows, head);) {
        if (head.empty() || head[0] == '#') continue;
        ASSERT_TRUE(std::getline(rows, expected)) << head;
        const std::size_t bar = head.find(" | ");
        ASSERT_NE(bar, std::string::npos) << head;
        std::string kindName = head.substr(0, bar);
        std::string prefix;  // names that begin with it are callable
        if (std::size_t calling = kindName.find(" calling "); calling != std::string::npos) {
            prefix = kindName.substr(calling + 9);
            kindName.erase(calling);
        }
        CallableName callable;  // none: no one tells which names are callable
        if (!prefix.empty())
            callable = [prefix](std::string_view name) { return name.substr(0, prefix.size()) == prefix; };
        const std::string text = unescape(head.substr(bar + 3));
        SCOPED_TRACE(head);
        TreeArena arena;
        FieldParseResult r = parseField(kindNamed(kindName), text, 7, arena, callable);
        EXPECT_TRUE(r.findings.empty()) << "message " << r.findings.front().message << " at "
                                        << r.findings.front().offset;
        EXPECT_EQ(schemaViolations(r.tree), "");
        EXPECT_EQ(compact(r.tree), unescape(expected.substr(expected.find_first_not_of(' '))));
        ++count;
    }
    EXPECT_EQ(count, 166);
}

TEST(BehaviourLineParser, ChoiceLevelsAndKeywordCodesAreRecorded) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::Line, "[0] RETURN", 42, arena);
    ASSERT_NE(r.tree, nullptr);
    Line view(r.tree);
    EXPECT_EQ(view.statementLine().choice(), Choices::Construct);
    EXPECT_EQ(view.statementLine().construct().choice(), Choices::RETURN_);
    const TreeNode* keyword = r.tree->child[1]->child[0]->child[0];
    EXPECT_EQ(keyword->kind, Choices::RETURN_);
    EXPECT_EQ(keyword->production, Choices::RETURN_);
    EXPECT_EQ(keyword->line(), 42);
    EXPECT_EQ(r.tree->line(), 42);
}

TEST(ExpressionParser, RelationalOperatorsDoNotChain) {
    TreeArena arena;
    // "a = 1 AND b = 2" is a = (1 AND b) followed by a second "=": no expression.
    FieldParseResult r = parseField(Choices::SelectExpr, "a = 1 AND b = 2", 1, arena);
    EXPECT_EQ(r.tree, nullptr);
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].message, 50);
    EXPECT_EQ(r.findings[0].offset, 12);
    EXPECT_EQ(r.findings[0].arguments, std::vector<std::string>{"= 2"});
}

// The levels of an operand keep no records of their own: the number of
// "N + 1" is one record that the views of six levels stand on, each read as
// its own kind.
TEST(ExpressionParser, ElidedLevelsReadThroughTheOperandsRecord) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::TS_ConstValue, "N + 1", 1, arena);
    ASSERT_TRUE(r.tree && r.findings.empty());
    const Expression expression = TS_ConstValue(r.tree).declarationValue().expression();
    ASSERT_EQ(expression.choice(), Choices::SimpleExpression);
    const AddExpression sum = expression.simpleExpression().addExpression();
    ASSERT_FALSE(sum.isEmpty());
    const Term term = sum.term();
    const Factor factor = term.factor();
    const Primary primary = factor.primary();
    const Value value = primary.value();
    const LiteralValue literal = value.literalValue();
    EXPECT_EQ(literal.number().text(), "1");
    // One record under all the levels; each view answers for its own kind.
    for (const TreeNode* record : {term.treeNode(), factor.treeNode(), primary.treeNode(), value.treeNode()})
        EXPECT_EQ(record, literal.number().treeNode());
    EXPECT_EQ(term.choice(), Choices::Factor);
    EXPECT_EQ(primary.choice(), Choices::Value);
    EXPECT_EQ(literal.choice(), Choices::Number);
    EXPECT_TRUE(term.multExpression().isEmpty());
    EXPECT_FALSE(AccessNode(term) == AccessNode(factor));
    // A walk by kind sees the levels the schema has.
    std::vector<int32_t> kinds;
    for (AccessNode n(term); !n.isEmpty(); n = childAt(n, 0)) kinds.push_back(n.choice());
    EXPECT_EQ(kinds, (std::vector<int32_t>{Choices::Term, Choices::Factor, Choices::Primary, Choices::Value,
                                          Choices::LiteralValue, Choices::Number}));
    EXPECT_EQ(schemaViolations(r.tree), "");
}

TEST(ConstraintValueParser, CallsCanBeReclassifiedOnceResolved) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::ConsValue, "F(1)", 1, arena);
    ASSERT_NE(r.tree, nullptr);
    TreeNode* call = r.tree->child[0]->child[0]->child[0];
    ASSERT_EQ(call->kind, Choices::ConsRef);
    reclassifyCall(call, false);
    EXPECT_EQ(call->kind, Choices::OpCall);
    EXPECT_EQ(call->child[1]->kind, Choices::ActualParList);
    // The ConstraintValue now holds an alternative it does not have: the
    // caller moves it under a ConstraintExpression, which the schema check shows.
    EXPECT_NE(schemaViolations(r.tree), "");
}

TEST(FreeTextField, EmptyCellsGiveNoTree) {
    TreeArena arena;
    for (int32_t kind : {Choices::Comment, Choices::Line, Choices::Cref, Choices::TS_ConstValue}) {
        FieldParseResult r = parseField(kind, " \n\t", 1, arena);
        EXPECT_EQ(r.tree, nullptr);
        EXPECT_TRUE(r.findings.empty());
    }
}

TEST(FieldDispatch, UnknownCellKindIsAnInternalError) {
    TreeArena arena;
    FieldParseResult r = parseField(Choices::BehaviourLine, "x", 1, arena);
    EXPECT_EQ(r.tree, nullptr);
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].message, 38);
    EXPECT_FALSE(isFieldKind(Choices::TestCase));
    EXPECT_TRUE(isFieldKind(Choices::Line));
    EXPECT_TRUE(isFieldKind(Choices::Comment));
    // Every cell of the MP importer's table layouts is a field kind with a grammar.
    for (int type = 1; type < static_cast<int>(SuiteNodeType::Last); ++type) {
        const NodeLayout& layout = layoutOf(static_cast<SuiteNodeType>(type));
        for (int i = 0; i < layout.fieldCount; ++i) {
            int32_t kind = kindNamed(layout.fields[i].field);
            EXPECT_TRUE(isFieldKind(kind)) << layout.fields[i].field;
            FieldParseResult cell = parseField(kind, "x", 1, arena);
            EXPECT_TRUE(cell.findings.empty() || cell.findings[0].message != 38) << layout.fields[i].field;
        }
    }
}

}  // namespace
