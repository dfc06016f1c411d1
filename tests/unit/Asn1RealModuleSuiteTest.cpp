// A suite whose by-reference rows name types of a real, published ASN.1
// module: the module goes through our modconv.exe and the association, and
// each row gets the referenced definition attached and parsed.
#include "access/AccessSuite.h"
#include "tree/Choices.h"
#include "tree/TreeViews.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The shared corpus of published modules lies next to the repository.
fs::path realModule() {
    for (const char* up : {"/../shared/testdata/asn1", "/../../shared/testdata/asn1"}) {
        fs::path dir = fs::path(XLATOR_SOURCE_DIR + std::string(up));
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.path().filename() == "Addressing-Data-Elements.asn") return fs::weakly_canonical(entry.path());
    }
    return {};
}

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
    fs::path module = realModule();
    if (module.empty()) GTEST_SKIP() << "the shared corpus of published modules is not next to the repository";

    fs::path dir = fs::path(::testing::TempDir()) / ("asn1_real_module_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);  // the converter reads its keyword file from here
    fs::copy_file(fs::path(XLATOR_BIN_DIR) / "modconv_kwd.txt", dir / "modconv_kwd.txt",
                  fs::copy_options::overwrite_existing);
    std::ofstream(dir / "suite.mp", std::ios::binary) << kSuite;
    std::ofstream(dir / "asn_list", std::ios::binary) << module.string() << "\n";
    ::setenv("VELD", XLATOR_BIN_DIR, 1);

    std::FILE* report = std::tmpfile();
    AccessSuite suite;
    suite.setReportStream(report);
    std::string fileList = "\"";
    fileList += (dir / "suite.mp").string();
    fileList += "\" ";
    ASSERT_EQ(suite.open(fileList, (dir / "asn_list").c_str()), 1);
    std::rewind(report);
    char text[256] = {};
    std::fread(text, 1, sizeof text - 1, report);
    std::fclose(report);
    EXPECT_STREQ(text, "Analyzer done.\n\nNo Errors found.\n");

    EXPECT_EQ(attachedBuiltinType(suite, "PARTY_NUMBER"), Choices::ChoiceType);
    EXPECT_EQ(attachedBuiltinType(suite, "ADDRESS"), Choices::SequenceType);
    // OCTET STRING (SIZE (20)) is a subtype of a builtin type.
    EXPECT_EQ(attachedBuiltinType(suite, "NSAP"), Choices::SubType);
}
