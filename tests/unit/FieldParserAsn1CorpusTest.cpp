// The ASN.1 type parser on every type assignment of real published modules
// (the shared test corpus next to the repository): each type, as it would
// stand in an ASN.1 type definition table, parses and conforms to the schema.
#include "suite/fields/FieldParser.h"
#include "tests/unit/FieldTreeText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path corpusDir() {
    for (const char* up : {"/../shared/testdata/asn1", "/../../shared/testdata/asn1"}) {
        std::filesystem::path p = std::string(XLATOR_SOURCE_DIR) + up;
        if (std::filesystem::is_directory(p)) return p;
    }
    return {};
}

// A module of the corpus by its file name, in whichever folder it lies.
std::filesystem::path corpusFile(const std::filesystem::path& dir, const std::string& name) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.path().filename() == name) return entry.path();
    return dir / name;
}

struct Assignment {
    std::string name;
    std::string type;
};

// Type assignments "Name ::= type": from a line that starts with a type
// reference and "::=" up to the next line holding "::=" or the module's END.
std::vector<Assignment> typeAssignments(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::vector<Assignment> out;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::size_t at = lines[k].find("::=");
        if (at == std::string::npos) continue;
        std::string head = lines[k].substr(0, at);
        while (!head.empty() && (head.back() == ' ' || head.back() == '\t')) head.pop_back();
        head.erase(0, head.find_first_not_of(" \t"));
        if (head.empty() || head[0] < 'A' || head[0] > 'Z' || head.find_first_of(" \t{") != std::string::npos)
            continue;
        std::string type = lines[k].substr(at + 3);
        for (std::size_t j = k + 1; j < lines.size() && lines[j].find("::=") == std::string::npos; ++j) {
            std::size_t first = lines[j].find_first_not_of(" \t");
            if (first != std::string::npos && lines[j].compare(first, 3, "END") == 0
                && (first + 3 == lines[j].size() || lines[j][first + 3] == ' ' || lines[j][first + 3] == '\t'))
                break;
            type += "\n" + lines[j];
        }
        out.push_back({head, type});
    }
    return out;
}

TEST(Asn1TypeParser, EveryTypeOfRealModulesParses) {
    std::filesystem::path dir = corpusDir();
    if (dir.empty()) GTEST_SKIP() << "ASN.1 test corpus not found";
    // Modules in the 1988 notation or using little of the later one (extension
    // markers, named SEQUENCE OF elements); the others define macros,
    // information objects, parameterised types or character string types with
    // inner subtypes, none of which TTCN-2 tables use.
    const char* modules[] = {
        "MAPv2-CommonDataTypes.asn", "MAPv2-MS-DataTypes.asn", "RFC1157-SNMP.asn",
        "KerberosV5Spec2.asn", "Addressing-Data-Elements.asn", "SS-DataTypes.asn",
        "PKIX1Explicit88.asn", "PKIX1Implicit88.asn",
        "Lightweight-Directory-Access-Protocol-V3.asn", "Class-definitions.asn",
    };
    int parsed = 0;
    for (const char* module : modules) {
        std::vector<Assignment> assignments = typeAssignments(corpusFile(dir, module));
        EXPECT_FALSE(assignments.empty()) << module;
        for (const Assignment& a : assignments) {
            TreeArena arena;
            FieldParseResult r = parseField(Choices::ASN1_TypeDefinition, a.type, 1, arena);
            ASSERT_NE(r.tree, nullptr) << module << ": " << a.name << ": " << r.findings.front().arguments.front();
            EXPECT_EQ(schemaViolations(r.tree), "") << module << ": " << a.name;
            ++parsed;
        }
    }
    EXPECT_GE(parsed, 400);
    std::printf("%d type assignments parsed\n", parsed);
}

} // namespace
