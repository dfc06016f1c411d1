#include "MpTestSupport.h"

#include "suite/mp/VeldSystem.h"

namespace {

// An MP document that imports objects from the named sources.
std::string documentText(const std::string& head, const std::string& name,
                         const std::vector<std::pair<std::string, std::vector<std::string>>>& imports) {
    std::string id = head == "Suite" ? "SuiteId" : head == "TTCN_Module" ? "TTCN_ModuleId" : "PackageId";
    std::string text = "$" + head + "\n$" + id + " " + name + "\n";
    if (!imports.empty()) {
        text += "$ImportPart\n";
        for (const auto& [source, objects] : imports) {
            text += "$Begin_Imports\n$SourceId " + source + "\n$Comment\n$ImportedObjects\n";
            for (const auto& object : objects)
                text += "$ImportedObject\n$ObjectId " + object + "\n$ObjectType TS_Const\n$End_ImportedObject\n";
            text += "$End_ImportedObjects\n$Comment\n$End_Imports\n";
        }
        text += "$End_ImportPart\n";
    }
    return text + "$End_" + head + "\n";
}

class ImportGraph : public ::testing::Test {
protected:
    void add(const std::string& text) {
        LibraryError error;
        auto document = importText(text, error);
        ASSERT_TRUE(document) << error.text;
        system_.add(std::move(document));
    }
    std::string rebuild() {
        CapturedStream report;
        system_.rebuildImportGraph(report.get());
        return report.text();
    }
    VeldSystem system_;
};

TEST_F(ImportGraph, RootAndModuleImportingEachOtherAreCircular) {
    add(documentText("Suite", "ROOT", {{"B", {"c1"}}}));
    add(documentText("TTCN_Module", "B", {{"ROOT", {"c2"}}}));
    EXPECT_EQ(rebuild(), "Found circularity in B and ROOT.\n");
    EXPECT_EQ(system_.level(system_.root()), 0);
    EXPECT_EQ(system_.level(system_.find("B")), 1);
    ASSERT_EQ(system_.importsOf(system_.root()).size(), 1u);
    EXPECT_EQ(system_.importsOf(system_.root())[0], system_.find("B"));
    ASSERT_EQ(system_.importersOf(system_.root()).size(), 1u);
}

TEST_F(ImportGraph, UnreferencedDocumentsAreLoadedAndLevelsAreLongestPaths) {
    add(documentText("Suite", "ROOT", {{"A", {"a"}}, {"C", {"c"}}}));
    add(documentText("TTCN_Module", "A", {{"C", {"c2"}}}));
    add(documentText("TTCN_Module", "C", {}));
    add(documentText("TTCN_Module", "LONELY", {}));
    // The diamond ROOT -> A -> C, ROOT -> C is no cycle.
    EXPECT_EQ(rebuild(), "Found unreferenced document LONELY.\n");
    EXPECT_EQ(system_.documents().size(), 4u);
    EXPECT_EQ(system_.level(system_.find("A")), 1);
    EXPECT_EQ(system_.level(system_.find("C")), 2);
    EXPECT_EQ(system_.level(system_.find("LONELY")), -1);
}

TEST_F(ImportGraph, MissingDuplicateAndPackageSourcesAndObjectsImportedTwice) {
    add(documentText("Suite", "ROOT", {{"NOWHERE", {"x"}}, {"TWICE", {"y"}}, {"PK", {"z", "k"}}, {"A", {"k"}}}));
    add(documentText("TTCN_Module", "TWICE", {}));
    add(documentText("TTCN_Module", "TWICE", {}));
    add(documentText("Package", "PK", {}));
    add(documentText("TTCN_Module", "A", {}));
    // The graph's findings first, then the levels' (unreferenced documents), then the imports'.
    EXPECT_EQ(rebuild(),
              "Could not find the document called NOWHERE (referenced from ROOT).\n"
              "Found multiple documents called TWICE (referenced from ROOT).\n"
              "This TTCN system includes the package document PK,\npackage documents are not really supported.\n"
              "Found unreferenced document TWICE.\n"
              "Found unreferenced document TWICE.\n"
              "Found multiply imported k in ROOT.\n");
    EXPECT_EQ(system_.find("TWICE"), nullptr);
    EXPECT_EQ(system_.findAll("TWICE").size(), 2u);
    EXPECT_EQ(system_.level(system_.find("PK")), 1);
}

TEST_F(ImportGraph, SelfImportIsCircularAndNoReportStreamPrintsNothing) {
    add(documentText("Suite", "ROOT", {{"ROOT", {"k"}}}));
    EXPECT_EQ(rebuild(), "Found circularity in ROOT and ROOT.\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    system_.rebuildImportGraph(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(VeldSystemLoading, FileListWithQuotedNamesRootFirst) {
    ScratchDir dir;
    std::string root = dir.write("my root.mp", documentText("Suite", "R", {{"M", {"x"}}}));
    std::string module = dir.write("m.mp", documentText("TTCN_Module", "M", {}));
    VeldSystem system;
    LibraryError error;
    ASSERT_TRUE(system.loadFromList("\"" + root + "\" \"" + module + "\" ", nullptr, error)) << error.text;
    ASSERT_EQ(system.documents().size(), 2u);
    EXPECT_EQ(system.root()->name(), "R");
    EXPECT_EQ(system.root()->fileName(), root);

    VeldSystem broken;
    EXPECT_FALSE(broken.loadFromList("\"" + root + "\" \"" + module, nullptr, error));
    EXPECT_EQ(error.code, LibraryErrorCode::FileNotReadable);
    EXPECT_FALSE(broken.loadFromList("\"" + root + ".missing\" ", nullptr, error));
    EXPECT_EQ(error.text, "File " + root + ".missing not found or not readable");
}

}  // namespace
