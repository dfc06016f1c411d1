// The ASN.1 type parser on every type assignment of published modules, as our
// converter hands them over (the text a by-reference row gets attached): each
// parses and conforms to the schema.
#include "TestSupport.h"

#include "modconv/Keywords.h"
#include "modconv/ModuleSplitter.h"
#include "suite/fields/FieldParser.h"
#include "tests/unit/FieldTreeText.h"

#include <string>

TEST(Asn1TypeParser, EveryTypeOfPublishedModulesAsConvertedParses) {
    XLATOR_REQUIRE_PUBLISHED_MODULES();
    const auto keywords = readKeywordFile((binaryDirectory() / "modconv_kwd.txt").string());
    ASSERT_TRUE(keywords);
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
        const SplitResult converted = splitModules(readFile(publishedModule(module)), *keywords);
        ASSERT_TRUE(converted.ok()) << module;
        for (const ConvertedAssignment& a : converted.modules.at(0).assignments) {
            if (a.isValue) continue;
            TreeArena arena;
            FieldParseResult r = parseField(Choices::ASN1_TypeDefinition, a.definition, 1, arena);
            ASSERT_NE(r.tree, nullptr) << module << ": " << a.name << ": " << r.findings.front().arguments.front();
            EXPECT_EQ(schemaViolations(r.tree), "") << module << ": " << a.name;
            ++parsed;
        }
    }
    EXPECT_GE(parsed, 400);
}
