// The example suite and the test suites that hold every table kind: they load,
// every table and group kind is met, and the suite tree has the schema's shape.
#include "MpTestSupport.h"

#include "tree/KindInfo.h"
#include "tree/TreeBuild.h"
#include "suite/mp/SuiteTreeBuilder.h"
#include "suite/mp/VeldSystem.h"

#include <set>

namespace {

std::string examplePath() {
    return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "sdlp.mp").string();
}

void collectTypes(const SuiteNode* node, std::set<SuiteNodeType>& types) {
    types.insert(node->type);
    for (const SuiteNode* row : node->rows) types.insert(row->type);
    for (const SuiteNode* child : node->children) collectTypes(child, types);
}

// The builder's own nodes have the schema's shape; the cells are not parsed
// here, so their fields may be missing.
std::string shapeError(const TreeNode* tree) {
    return treeShapeError(tree, [](int32_t kind, int32_t field) {
        return kindInfo(kindInfo(kind).fields()[field].kind).backing == KindBacking::Field;
    });
}

TEST(ExampleSuites, EveryTableAndGroupKindIsMetAndTheTreeHasTheSchemaShape) {
    std::string dir = mpTestDataDir();
    VeldSystem system;
    LibraryError error;
    CapturedStream log;
    ASSERT_TRUE(system.load({dir + "/all_tables.mp", dir + "/m_common.mp", dir + "/p_util.mp"}, log.get(), error))
        << error.text;
    VeldSystem example;
    ASSERT_TRUE(example.load({examplePath()}, log.get(), error)) << error.text;
    EXPECT_EQ(log.text(), "");

    std::set<SuiteNodeType> types;
    for (const auto* s : {&system, &example})
        for (const auto& document : s->documents()) collectTypes(document->root(), types);
    for (int t = 1; t < static_cast<int>(SuiteNodeType::Last); ++t)
        EXPECT_TRUE(types.count(static_cast<SuiteNodeType>(t))) << suiteNodeTypeName(static_cast<SuiteNodeType>(t));

    for (const auto* s : {&system, &example})
        for (const auto& document : s->documents()) {
            EXPECT_EQ(shapeError(buildSuiteTree(*document)), "") << document->name();
            if (SuiteNode* imports = document->part(SuiteNodeType::ImportPart)) {
                EXPECT_EQ(shapeError(imports->treeNode), "") << document->name();
            }
        }
}

}  // namespace
