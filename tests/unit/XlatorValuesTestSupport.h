// Helpers of the value translation tests: one small suite opened once for the
// whole program (with the definition collector run over it), cells parsed with
// the field parser, and a translation visitor that writes one value into
// temporary output files which are read back byte for byte.
#pragma once

#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "suite/fields/FieldParser.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorVisitor.h"
#include "tree/TreeBuild.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The suite of tests/unit/data/values/values_suite.mp, opened on first use.
inline const AccessSuite& valuesSuite() {
    static AccessSuite* suite = [] {
        auto* opened = new AccessSuite;
        std::FILE* report = std::tmpfile();
        opened->setReportStream(report);
        std::string list = std::string("\"") + XLATOR_TEST_DATA + "/values/values_suite.mp\" ";
        ::testing::internal::CaptureStdout();
        int result = opened->open(list, nullptr);
        ::testing::internal::GetCapturedStdout();
        std::fclose(report);
        EXPECT_EQ(result, 1) << "the values suite does not open";
        // The pre-pass of a run, so that the identifier rule knows the
        // suite's ASN.1 names and message types.
        if (result == 1) gDefinitionCollector.Visit(opened->root());
        return opened;
    }();
    return *suite;
}

// A definition of the values suite by name.
inline AccessNode suiteObject(const std::string& name) {
    return valuesSuite().find(valuesSuite().root(), name);
}

// The text of a temporary file written so far.
inline std::string fileText(std::FILE* file) {
    std::fflush(file);
    std::string text;
    std::rewind(file);
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fseek(file, 0, SEEK_END);
    return text;
}

// A translation visitor whose protected state the tests set, and which can
// report the top of the type context stack at every value it writes.
class ValueWriter : public XlatorVisitor {
public:
    ValueWriter() : XlatorVisitor(valuesSuite()) {}

    void alias(const std::string& name, const std::string& expansion) { aliases_[name] = expansion; }
    void setInExpression(bool on) { inExpression_ = on; }
    std::size_t stackDepth() const { return typeContext_.size(); }

    // Called with the top entry before each value (ConstraintValueAndAttributes) is written.
    std::function<void(const AccessNode& top)> onValue;

    void VisitConstraintValueAndAttributes(const ConstraintValueAndAttributes& node) override {
        if (onValue) onValue(topTypeContext());
        XlatorVisitor::VisitConstraintValueAndAttributes(node);
    }
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

// The first node of `kind` below `root`, depth first; null when there is none.
inline TreeNode* firstOfKind(TreeNode* root, int32_t kind) {
    if (!root || root->kind == kind) return root;
    for (int32_t i = 0; i < root->count; ++i)
        if (TreeNode* found = firstOfKind(root->child[i], kind)) return found;
    return nullptr;
}

// What one translation wrote: the current file's text and standard error.
struct Written {
    std::string text;
    std::string errors;
};

// Where the writer stands when the value is written.
enum class Into { Ttcn, Asn };

// Writes `node` with a fresh writer over two temporary files, after the text
// "v := " (so the value starts in the middle of a line, as after a constant's
// name), with `entries` pushed on the type context stack in order.
inline Written writeValue(ValueWriter& writer, const AccessNode& node, std::initializer_list<AccessNode> entries = {},
                          Into into = Into::Ttcn) {
    std::FILE* ttcn = std::tmpfile();
    std::FILE* asn = std::tmpfile();
    createOutput(ttcn, asn);
    if (into == Into::Asn) output().selectAsn();
    output().write("v := ");
    for (const AccessNode& entry : entries) writer.pushTypeContext(entry);
    ::testing::internal::CaptureStderr();
    writer.Visit(node);
    Written written;
    written.errors = ::testing::internal::GetCapturedStderr();
    for (std::size_t i = 0; i < entries.size(); ++i) writer.popTypeContext();
    written.text = fileText(into == Into::Asn ? asn : ttcn);
    std::fclose(ttcn);
    std::fclose(asn);
    return written;
}

inline Written writeCell(int32_t fieldKind, std::string_view text, std::initializer_list<AccessNode> entries = {},
                         Into into = Into::Ttcn) {
    ParsedCell cell(fieldKind, text);
    ValueWriter writer;
    return writeValue(writer, cell.node(), entries, into);
}
