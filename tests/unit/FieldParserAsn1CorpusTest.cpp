// The ASN.1 type parser on every type assignment of real published modules
// (the shared test corpus next to the repository): each type, as it would
// stand in an ASN.1 type definition table, parses and conforms to the schema.
#include "TestSupport.h"

#include "suite/fields/FieldParser.h"
#include "tests/unit/FieldTreeText.h"

#include <string>
#include <vector>

namespace {

struct Assignment {
    std::string name;
    std::string type;
};

// Type assignments "Name ::= type": from a line that starts with a type
// reference and "::=" up to the next line holding "::=" or the module's END.
std::vector<Assignment> typeAssignments(const fs::path& file) {
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
    XLATOR_REQUIRE_PUBLISHED_MODULES();
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
        std::vector<Assignment> assignments = typeAssignments(publishedModule(module));
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
}

} // namespace
