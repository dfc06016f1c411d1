// A suite whose by-reference rows name types of a real, published ASN.1
// module: the module goes through our modconv.exe and the association, and
// each row gets the referenced definition attached and parsed.
#include "TestSupport.h"

#include "access/AccessSuite.h"
#include "tree/Choices.h"
#include "tree/TreeViews.h"

#include <cstdio>
#include <string>

namespace {

const char* kSuite =
    "$Suite $SuiteId ADDRESSING\n"
    "$DeclarationsPart\n"
    " $Begin_ASN1_TypeRefs\n"
    "  $ASN1_TypeRef $ASN1_TypeId PARTY_NUMBER $ASN1_TypeReference PartyNumber"
    " $ASN1_ModuleId Addressing-Data-Elements $Comment $End_ASN1_TypeRef\n"
    "  $ASN1_TypeRef $ASN1_TypeId ADDRESS $ASN1_TypeReference Address"
    " $ASN1_ModuleId Addressing-Data-Elements $Comment $End_ASN1_TypeRef\n"
    "  $ASN1_TypeRef $ASN1_TypeId NSAP $ASN1_TypeReference NsapEncodedNumber"
    " $ASN1_ModuleId Addressing-Data-Elements $Comment $End_ASN1_TypeRef\n"
    " $End_ASN1_TypeRefs\n"
    "$End_DeclarationsPart\n"
    "$ConstraintsPart $End_ConstraintsPart $DynamicPart $End_DynamicPart\n"
    "$End_Suite\n";

// The builtin type that a by-reference row's attached definition holds.
int attachedBuiltinType(const AccessSuite& suite, const char* name) {
    AccessNode row = suite.find(suite.root(), name);
    if (row.choice() != Choices::ASN1_TypeRef) return Choices::invalid_choice;
    ASN1_TypeRef ref = row.as<ASN1_TypeRef>();
    if (!ref.is_present_asn1_TypeDefinition()) return Choices::invalid_choice;
    ASN1_Type type = ref.asn1_TypeDefinition().asn1_TypeAndLocalTypes().asn1_Type();
    if (type.choice() != Choices::BuiltinType) return type.choice();
    return type.builtinType().choice();
}

}  // namespace

TEST(Asn1ByReference, RowsNamingARealModuleGetItsDefinitions) {
    XLATOR_REQUIRE_PUBLISHED_MODULES();
    const fs::path module = publishedModule("Addressing-Data-Elements.asn");
    ScratchDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());  // the converter reads its keyword file from here
    fs::copy_file(binaryDirectory() / "modconv_kwd.txt", dir.path() / "modconv_kwd.txt");
    ScopedEnvironment veld("VELD", binaryDirectory().string());

    CapturedStream report;
    AccessSuite suite;
    suite.setReportStream(report.get());
    const int opened = suite.open("\"" + dir.write("suite.mp", kSuite) + "\" ",
                                  dir.write("asn_list", module.string() + "\n").c_str());
    fs::current_path(previous);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(report.text(), "Analyzer done.\n\nNo Errors found.\n");

    EXPECT_EQ(attachedBuiltinType(suite, "PARTY_NUMBER"), Choices::ChoiceType);
    EXPECT_EQ(attachedBuiltinType(suite, "ADDRESS"), Choices::SequenceType);
    // OCTET STRING (SIZE (20)) is a subtype of a builtin type.
    EXPECT_EQ(attachedBuiltinType(suite, "NSAP"), Choices::SubType);
}
