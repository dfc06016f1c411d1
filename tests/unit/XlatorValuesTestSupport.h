// Helpers of the value translation tests: one small suite opened once (with
// the definition collector run over it, as in a run), cells parsed with the
// field parser, and a translation visitor that writes one value into
// temporary files, read back byte for byte.
#pragma once

#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "suite/fields/FieldParser.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorVisitor.h"
#include "tree/TreeBuild.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

// The suite tests/unit/data/values/values_suite.mp.
inline const AccessSuite& valuesSuite() {
    static AccessSuite* suite = [] {
        auto* opened = new AccessSuite;
        std::FILE* report = std::tmpfile();
        opened->setReportStream(report);
        int result = opened->open(std::string("\"") + XLATOR_TEST_DATA + "/values/values_suite.mp\" ", nullptr);
        std::fclose(report);
        EXPECT_EQ(result, 1) << "the values suite does not open";
        if (result == 1) gDefinitionCollector.Visit(opened->root());
        return opened;
    }();
    return *suite;
}

inline AccessNode suiteObject(const std::string& name) { return valuesSuite().find(valuesSuite().root(), name); }

// A translation visitor whose protected state the tests set and read.
class ValueWriter : public XlatorVisitor {
public:
    ValueWriter() : XlatorVisitor(valuesSuite()) {}
    void alias(const std::string& name, const std::string& expansion) { aliases_[name] = expansion; }
    void setInExpression(bool on) { inExpression_ = on; }
    std::size_t stackDepth() const { return typeContext_.size(); }
};

// One parsed cell; the arena keeps the tree alive as long as the cell.
struct ParsedCell {
    TreeArena arena;
    TreeNode* tree = nullptr;
    ParsedCell(int32_t fieldKind, std::string_view text) {
        FieldParseResult result = parseField(fieldKind, text, 1, arena);
        EXPECT_FALSE(result.hasErrors()) << "does not parse: " << text;
        tree = result.tree;
    }
    AccessNode node() const { return tree ? AccessNode(tree->kind, tree) : AccessNode(); }
};

// The first node of `kind` below `root`, depth first, read by kind (childAt):
// a record can stand for more than one kind.
inline const TreeNode* firstOfKind(const AccessNode& node, int32_t kind) {
    if (node.isEmpty() || node.choice() == kind) return node.treeNode();
    for (int32_t i = 0; i < childCount(node); ++i)
        if (const TreeNode* found = firstOfKind(childAt(node, i), kind)) return found;
    return nullptr;
}
inline TreeNode* firstOfKind(TreeNode* root, int32_t kind) {
    return root ? const_cast<TreeNode*>(firstOfKind(AccessNode(root->kind, root), kind)) : nullptr;
}

enum class Into { Ttcn, Asn };

struct Written {
    std::string text;    // the current file
    std::string errors;  // standard error
};

// Writes `node` with a fresh writer after the text "v := " (the middle of a
// line, as after a constant's name), with `entries` pushed in order.
inline Written writeValue(ValueWriter& writer, const AccessNode& node, std::initializer_list<AccessNode> entries = {},
                          Into into = Into::Ttcn) {
    std::FILE* files[2] = {std::tmpfile(), std::tmpfile()};
    createOutput(files[0], files[1]);
    if (into == Into::Asn) output().selectAsn();
    output().write("v := ");
    for (const AccessNode& entry : entries) writer.pushTypeContext(entry);
    ::testing::internal::CaptureStderr();
    writer.Visit(node);
    Written written;
    written.errors = ::testing::internal::GetCapturedStderr();
    for (std::size_t i = 0; i < entries.size(); ++i) writer.popTypeContext();
    std::FILE* file = files[into == Into::Asn ? 1 : 0];
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) written.text += static_cast<char>(c);
    std::fclose(files[0]);
    std::fclose(files[1]);
    return written;
}
