// Helpers of the translator tests: open a real suite from MP files (analysed,
// with the ASN.1 association when ASN.1 files are named), find nodes in its
// tree, and read back what the output writer put into the two files.
#pragma once

#include "TestSupport.h"
#include "access/AccessSuite.h"
#include "front/XlatorOutput.h"
#include "suite/LibrarySettings.h"
#include "suite/mp/Document.h"
#include "suite/mp/VeldSystem.h"
#include "tree/TreeNode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace translate_test {

inline std::string dataFile(const std::string& path) { return std::string(XLATOR_TEST_DATA) + "/" + path; }

// A folder of this process's own, beside the other test programs' folders,
// removed when the process ends.
inline std::string scratchDir() {
    struct Folder {
        std::filesystem::path path =
            std::filesystem::path(::testing::TempDir()) / ("translate_" + std::to_string(::getpid()));
        pid_t owner = ::getpid();
        Folder() { std::filesystem::create_directories(path); }
        // A forked death-test child leaves the folder to its parent.
        ~Folder() {
            std::error_code ignored;
            if (::getpid() == owner) std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path.string() + "/";
}

inline std::string writeScratch(const std::string& name, const std::string& text) {
    std::string path = scratchDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A suite opened the way the converter opens it. ASN.1 files go through the
// conversion tool of the build.
class OpenedSuite {
public:
    bool open(const std::vector<std::string>& mpFiles, const std::vector<std::string>& asnFiles = {}) {
        std::string fileList;
        for (const std::string& file : mpFiles) fileList += "\"" + file + "\" ";
        std::string asnList;
        if (!asnFiles.empty()) {
            ::setenv("VELD", XLATOR_BIN_DIR, 1);
            LibrarySettings::reload();
            // The tool reads its keyword file from the working directory: the
            // scratch folder (every path of the tests is absolute).
            EXPECT_EQ(::chdir(scratchDir().c_str()), 0);
            std::ifstream keywords(std::string(XLATOR_BIN_DIR) + "/modconv_kwd.txt", std::ios::binary);
            std::ofstream("modconv_kwd.txt", std::ios::binary) << keywords.rdbuf();
            std::string lines;
            for (const std::string& file : asnFiles) lines += file + "\n";
            asnList = writeScratch("asn_list.txt", lines);
        }
        std::FILE* report = std::tmpfile();
        suite.setReportStream(report);
        ::testing::internal::CaptureStdout();
        int result = suite.open(fileList, asnList.empty() ? nullptr : asnList.c_str());
        std::string printed = ::testing::internal::GetCapturedStdout();
        std::fclose(report);
        EXPECT_EQ(result, 1) << printed;
        return result == 1;
    }

    AccessNode root() const { return suite.root(); }
    // The import part is no field of the suite: its node hangs on the root
    // document's part.
    AccessNode importPart() const {
        const Document* document = suite.system() ? suite.system()->root() : nullptr;
        const SuiteNode* part = document ? document->part(SuiteNodeType::ImportPart) : nullptr;
        return part ? AccessNode(Choices::ImportPart, part->treeNode) : AccessNode();
    }

    AccessSuite suite;
};

// Every node of `kind` below `node`, in tree order, read by kind (childAt):
// a record can stand for more than one kind.
inline void collectNodes(const AccessNode& node, int32_t kind, std::vector<const TreeNode*>& found) {
    if (node.isEmpty()) return;
    if (node.choice() == kind) found.push_back(node.treeNode());
    for (int32_t i = 0; i < childCount(node); ++i) collectNodes(childAt(node, i), kind, found);
}
inline void collectNodes(const TreeNode* root, int32_t kind, std::vector<const TreeNode*>& found) {
    if (root) collectNodes(AccessNode(root->kind, root), kind, found);
}

inline AccessNode nthNode(const AccessNode& root, int32_t kind, std::size_t index = 0) {
    std::vector<const TreeNode*> found;
    collectNodes(root.treeNode(), kind, found);
    return index < found.size() ? AccessNode(kind, found[index]) : AccessNode();
}

// The writer of the run over two scratch files, read back while open (every
// write is flushed).
class CapturedOutput {
public:
    explicit CapturedOutput(const std::string& name)
        : ttcnPath_(scratchDir() + name + ".ttcn"), asnPath_(scratchDir() + name + ".asn") {
        ttcnFile_ = std::fopen(ttcnPath_.c_str(), "w");
        asnFile_ = std::fopen(asnPath_.c_str(), "w");
        createOutput(ttcnFile_, asnFile_);
    }
    ~CapturedOutput() {
        std::fclose(ttcnFile_);
        std::fclose(asnFile_);
    }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    std::string ttcn() const { return readFile(ttcnPath_); }
    std::string asn() const { return readFile(asnPath_); }

private:
    std::string ttcnPath_;
    std::string asnPath_;
    std::FILE* ttcnFile_ = nullptr;
    std::FILE* asnFile_ = nullptr;
};

}  // namespace translate_test
