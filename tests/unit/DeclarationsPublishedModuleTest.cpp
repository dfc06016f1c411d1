// ASN.1 types by reference to a real, published module: the converter run
// on a suite that names every type of the module writes each definition into
// ExtASN so that it reads, token for token, as the module's own definition,
// and imports each one into the TTCN-3 module.
#include "TestSupport.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// ASN.1 tokens of a text, comments ("--" to the next "--" or the line end)
// and white space left out.
std::vector<std::string> tokens(const std::string& text) {
    std::vector<std::string> result;
    auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; };
    for (std::size_t i = 0; i < text.size();) {
        char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (text.compare(i, 2, "--") == 0) {
            std::size_t end = i + 2;
            while (end < text.size() && text[end] != '\n' && text.compare(end, 2, "--") != 0) ++end;
            i = text.compare(end, 2, "--") == 0 ? end + 2 : end;
        } else if (text.compare(i, 3, "::=") == 0) {
            result.push_back("::=");
            i += 3;
        } else if (text.compare(i, 2, "..") == 0) {
            result.push_back("..");
            i += 2;
        } else if (isName(c)) {
            std::size_t end = i;
            while (end < text.size() && isName(text[end]) && text.compare(end, 2, "--") != 0) ++end;
            result.push_back(text.substr(i, end - i));
            i = end;
        } else {
            result.push_back(std::string(1, c));
            ++i;
        }
    }
    return result;
}

// The type assignments between BEGIN and END, name to the tokens of the
// definition; the export and import lists are no assignments.
std::map<std::string, std::vector<std::string>> typeAssignments(const std::string& text) {
    std::vector<std::string> all = tokens(text);
    std::vector<std::string> body;
    bool inside = false, inList = false;
    for (const std::string& token : all) {
        if (!inside) {
            inside = token == "BEGIN";
            continue;
        }
        if (token == "EXPORTS" || token == "IMPORTS") inList = true;
        if (!inList) body.push_back(token);
        if (token == ";") inList = false;
    }
    if (!body.empty() && body.back() == "END") body.pop_back();
    std::map<std::string, std::vector<std::string>> assignments;
    std::string name;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (i + 1 < body.size() && body[i + 1] == "::=") {
            name = body[i];
            assignments[name];
            ++i;
        } else if (!name.empty()) {
            assignments[name].push_back(body[i]);
        }
    }
    return assignments;
}

}  // namespace

TEST(Asn1ByReferenceTranslation, PublishedModuleTypesReachExtAsnTypeByType) {
    XLATOR_REQUIRE_PUBLISHED_MODULES();
    const std::string moduleName = "Addressing-Data-Elements.asn";
    fs::path module = publishedModule(moduleName);
    std::map<std::string, std::vector<std::string>> published = typeAssignments(readFile(module));
    ASSERT_EQ(published.size(), 20u);

    ScratchDir dir;
    fs::copy_file(module, dir.path() / moduleName);
    fs::copy_file(binaryDirectory() / "modconv_kwd.txt", dir.path() / "modconv_kwd.txt");
    std::string suite = "$Suite $SuiteId ADDRESSING\n$DeclarationsPart\n $Begin_ASN1_TypeRefs\n";
    std::string imports;
    for (const auto& [name, definition] : published) {
        suite += "  $ASN1_TypeRef $ASN1_TypeId " + name + " $ASN1_TypeReference " + name +
                 " $ASN1_ModuleId Addressing-Data-Elements $End_ASN1_TypeRef\n";
        imports += "        import from ExtASN language \"ASN.1:1997\" {type " + name + "}\n";
    }
    suite += " $End_ASN1_TypeRefs\n$End_DeclarationsPart\n$End_Suite\n";
    dir.write("addressing.mp", suite);

    const std::string bin = binaryDirectory().string();
    std::string command = "cd '" + dir.path().string() + "' && VELD='" + bin + "' '" + bin +
                          "/xlator.exe' addressing.mp " + moduleName + " >run.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readFile(dir.path() / "run.log");

    std::map<std::string, std::vector<std::string>> written = typeAssignments(readFile(dir.path() / "addressing.asn"));
    for (const auto& [name, definition] : published) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(written.count(name));
        EXPECT_EQ(written[name], definition);
    }
    EXPECT_EQ(written.size(), published.size());
    // One import a type, in the table's order, inside the group of types by reference.
    std::string ttcn = readFile(dir.path() / "addressing.ttcn");
    EXPECT_NE(ttcn.find("      group ASN1TypeDefinitionsByReference\n      {\n" + imports + "      }\n"),
              std::string::npos);
}
