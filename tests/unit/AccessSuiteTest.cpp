// Opening a suite through AccessSuite: every way the opening ends, the report
// of the analysis, the defined flags, the working directory, and finding
// objects by name.
#include "access/AccessSuite.h"

#include "tree/Choices.h"
#include "suite/LibrarySettings.h"
#include "suite/mp/VeldSystem.h"

#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string dataFile(const std::string& name) { return std::string(XLATOR_TEST_DATA) + "/" + name; }

std::string listed(const std::string& path) { return "\"" + path + "\" "; }

// The root suite of most tests (tests/unit/data/access/small.mp: a name
// declared twice, a constant by conditional text, an import) and its module.
const std::string kSmallSystem = listed(dataFile("access/small.mp")) + listed(dataFile("analysis/lib_mod.mp"));

// The suite opened with the report stream and standard error captured.
struct Opening {
    AccessSuite suite;
    int result = -1;
    std::string report;
    std::string errors;

    void open(const std::string& fileList, const char* asnList = nullptr) {
        CapturedStream stream;
        suite.setReportStream(stream.get());
        ::testing::internal::CaptureStderr();
        result = suite.open(fileList, asnList);
        errors = ::testing::internal::GetCapturedStderr();
        report = stream.text();
    }
};

}  // namespace

TEST(AccessSuite, OpensATestSuiteWithItsImportedModule) {
    Opening o;
    o.open(kSmallSystem, "");
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.errors, "");
    EXPECT_EQ(o.report, readFile(dataFile("access/small.report")));
    EXPECT_EQ(o.suite.root().choice(), Choices::ASuite);
    EXPECT_FALSE(o.suite.root().isEmpty());
    // Taken twice, the root is the same node.
    EXPECT_TRUE(o.suite.root() == o.suite.root());
}

TEST(AccessSuite, LongLibraryErrorIsShownWhole) {
    // Only the refusal of a non-suite root cuts the error text at 1023
    // characters; the library's own error is shown as it is.
    const std::string path = "/no/such/dir/" + std::string(1100, 'x') + ".mp";
    Opening o;
    o.open(listed(path));
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.errors, "ERROR in Suite::open 'File " + path + " not found or not readable'\n");
}

TEST(AccessSuite, FlagFileThatCannotBeOpenedSkipsTheAnalysis) {
    Opening o;
    o.suite.setDefinedFlags("", "/no/such/flags.txt");
    o.open(kSmallSystem);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.report, "Can't open file with defined flags: /no/such/flags.txt\n");
    EXPECT_EQ(o.errors, "ERROR: Failed analysis in AccessSuite::open.\n");
}

TEST(AccessSuite, DefinedFlagsFromListAndFileDecideConditionalText) {
    ScratchDir dir;
    const std::string flags = dir.write("flags.txt", "OTHER\nBIG\n");
    for (int variant = 0; variant < 3; ++variant) {
        Opening o;
        if (variant == 1) o.suite.setDefinedFlags("BIG", "");
        if (variant == 2) o.suite.setDefinedFlags("", flags);
        o.open(kSmallSystem);
        ASSERT_EQ(o.result, 1) << o.errors;
        const SuiteNode* table = nullptr;
        for (SuiteNode* t : o.suite.system()->root()->tables())
            if (t->type == SuiteNodeType::TS_ConstDcls) table = t;
        ASSERT_TRUE(table);
        const TreeNode* leaf = table->rows[0]->cell("TS_ConstValue")->tree;
        ASSERT_TRUE(leaf);
        while (leaf->count > 0 && leaf->child[0]) leaf = leaf->child[0];
        EXPECT_EQ(leaf->text(), variant == 0 ? "1" : "100") << variant;
    }
}

TEST(AccessSuite, FindsQualifiedAndImportedNames) {
    Opening o;
    o.open(kSmallSystem);
    ASSERT_EQ(o.result, 1) << o.errors;
    AccessNode suite = o.suite.root();

    // Not imported by name, but named with its module.
    AccessNode hidden = o.suite.find(suite, "LIB_MOD::LIB_HIDDEN");
    EXPECT_EQ(hidden.choice(), Choices::SimpleTypeDef);
    EXPECT_FALSE(hidden.isEmpty());
    EXPECT_TRUE(o.suite.find(suite, "LIB_MOD__LIB_HIDDEN") == hidden);
    EXPECT_TRUE(o.suite.find(suite, "LIB_HIDDEN").isEmpty());
    EXPECT_TRUE(o.suite.find(suite, "NO_MOD::LIB_HIDDEN").isEmpty());

    // Imported by name: found from the suite.
    AccessNode count = o.suite.find(suite, "LIB_COUNT");
    EXPECT_EQ(count.choice(), Choices::SimpleTypeDef);
    EXPECT_FALSE(count == hidden);

    // A name defined twice gives the first of its rows.
    AccessNode twice = o.suite.find(suite, "TWICE");
    EXPECT_EQ(twice.choice(), Choices::TS_VarDcl);
    const SuiteNode* table = nullptr;
    for (SuiteNode* t : o.suite.system()->root()->tables())
        if (t->type == SuiteNodeType::TS_VarDcls) table = t;
    ASSERT_TRUE(table);
    EXPECT_EQ(twice.treeNode(), table->rows[0]->treeNode);

    // Seen from a table of the module, the module's own names need no qualifier.
    const Document* module = o.suite.system()->documents()[1].get();
    AccessNode moduleTable = AccessNode::fromSuiteNode(module->tables().front()->treeNode);
    ASSERT_FALSE(moduleTable.isEmpty());
    EXPECT_TRUE(o.suite.find(moduleTable, "LIB_HIDDEN") == hidden);
    EXPECT_TRUE(o.suite.find(moduleTable, "TWICE").isEmpty());
    // So are they from a field of that module: an Identifier of one of its rows.
    const TreeNode* field = module->tables().front()->rows[0]->cell("SimpleTypeId")->tree;
    while (field && field->kind != Choices::Identifier && field->count > 0) field = field->child[0];
    ASSERT_TRUE(field && field->kind == Choices::Identifier);
    EXPECT_TRUE(o.suite.find(AccessNode(Choices::Identifier, field), "LIB_HIDDEN") == hidden);
    // A field of the root document sees the root's names.
    const TreeNode* rootField = table->rows[0]->cell("TS_VarId")->tree;
    ASSERT_TRUE(rootField);
    EXPECT_TRUE(o.suite.find(AccessNode(rootField->kind, rootField), "LIB_HIDDEN").isEmpty());
    EXPECT_TRUE(o.suite.find(AccessNode(rootField->kind, rootField), "TWICE") == twice);

    EXPECT_TRUE(o.suite.find(AccessNode(), "TWICE").isEmpty());
    EXPECT_TRUE(o.suite.find(suite, "").isEmpty());
    EXPECT_TRUE(o.suite.find(suite, "NOTHING").isEmpty());
}

TEST(AccessSuite, WorkingDirectoryFallsBackToTheFixedOne) {
    struct Case {
        const char *src, *target, *tmp, *temp, *expectedSource, *expectedTarget;
    };
    const Case cases[] = {{nullptr, nullptr, nullptr, nullptr, "", "C:\\temp"},
                          {nullptr, nullptr, "/tmp/from_tmp", "/tmp/from_temp", "", "/tmp/from_tmp"},
                          {"/src", "/target", "/tmp/from_tmp", nullptr, "/src", "/target"}};
    // The choice is made once per process: each case runs in a child that starts afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const Case& c : cases) {
        const auto openAndCheck = [&] {
            const std::pair<const char*, const char*> settings[] = {
                {"VELD_src_dir", c.src}, {"VELD_target_dir", c.target}, {"TMP", c.tmp}, {"TEMP", c.temp}};
            for (const auto& [name, value] : settings) value ? ::setenv(name, value, 1) : ::unsetenv(name);
            LibrarySettings::reload();
            std::fclose(stderr);
            AccessSuite suite;
            suite.open(kSmallSystem, nullptr);
            const LibraryDirectories& dirs = libraryDirectories();
            std::exit(dirs.source == c.expectedSource && dirs.target == c.expectedTarget ? 0 : 1);
        };
        EXPECT_EXIT(openAndCheck(), ::testing::ExitedWithCode(0), "") << c.expectedTarget;
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define XLATOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define XLATOR_ADDRESS_SANITIZER 1
#endif
#endif

namespace {
// Grows the stack before the cap, so that the cap only ever refuses the heap.
[[gnu::noinline]] void touchStack() {
    volatile char block[512 * 1024];
    for (std::size_t i = 0; i < sizeof block; i += 4096) block[i] = 0;
}

// Caps this process's address space at what it uses now plus `spare` bytes.
void capAddressSpace(std::size_t spare) {
    touchStack();
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlim_t cap = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + spare;
    rlimit limit{cap, cap};
    ::setrlimit(RLIMIT_AS, &limit);
}
}  // namespace

// Memory running out anywhere in the opening never aborts the process: without
// VELD_ABORT_ON_OUT_OF_MEMORY the opening fails with its error line, with it
// the library says "Out of memory" and ends the process with exit code 1.
TEST(AccessSuite, OutOfMemoryFailsTheOpeningOrEndsTheProcessCleanly) {
#ifdef XLATOR_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer's shadow memory does not fit under an address-space cap";
#endif
    // A constant whose value has a million terms: its parse tree needs far more than the cap leaves.
    std::string value = "1";
    for (int i = 0; i < 1000000; ++i) value += "+1";
    ScratchDir dir;
    const std::string root = dir.write("starved.mp",
                                 "$Suite $SuiteId STARVED\n$DeclarationsPart\n $Begin_TS_ConstDcls\n"
                                 "  $TS_ConstDcl $TS_ConstId BIG $TS_ConstType INTEGER $TS_ConstValue " +
                                     value +
                                     " $End_TS_ConstDcl\n $End_TS_ConstDcls\n$End_DeclarationsPart\n"
                                     "$ConstraintsPart $End_ConstraintsPart $DynamicPart $End_DynamicPart\n"
                                     "$End_Suite\n");
    const struct {
        const char* abortSetting;
        const char* errors;
    } cases[] = {
        {nullptr, "ERROR in Suite::open 'Out of memory'\n$"},
        {"1", "^Out of memory\n$"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                if (c.abortSetting) ::setenv("VELD_ABORT_ON_OUT_OF_MEMORY", c.abortSetting, 1);
                else ::unsetenv("VELD_ABORT_ON_OUT_OF_MEMORY");
                LibrarySettings::reload();
                capAddressSpace(64 << 20);
                AccessSuite suite;
                std::exit(suite.open(listed(root), nullptr) == 1 ? 0 : 1);
            },
            ::testing::ExitedWithCode(1), c.errors)
            << (c.abortSetting ? "with" : "without") << " VELD_ABORT_ON_OUT_OF_MEMORY";
    }
}
