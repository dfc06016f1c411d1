// tree/schema.def read on its own, against the kind table generated from it,
// and against counts written down here: a generator fault, or an edit of the
// schema that adds, drops or re-types kinds unnoticed, fails here.
#include "tree/Choices.h"
#include "tree/KindInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Item {
    std::string kind;
    bool optional = false;
    std::string accessor;
};

struct Kind {
    int slot = 0;
    int number = 0;
    std::string name, role, backing;
    std::vector<Item> items;
};

struct SchemaFile {
    std::vector<Kind> kinds;
    std::map<int, std::string> objects, idTypes;
};

// The repository: this file lives in tests/unit/ (the build passes absolute source paths).
SchemaFile readSchemaFile() {
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "tree" / "schema.def";
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    SchemaFile schema;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string tag;
        if (!(words >> tag) || tag[0] == '#') continue;
        if (tag == "object" || tag == "idtype") {
            int number;
            std::string name;
            words >> number >> name;
            (tag == "object" ? schema.objects : schema.idTypes)[number] = name;
            continue;
        }
        Kind k;
        words >> k.slot >> k.number >> k.name >> k.role >> k.backing;
        for (std::string word; words >> word;) {
            const auto colon = word.find(':');
            Item item{word.substr(0, colon), false, word.substr(colon + 1)};
            if (item.kind.back() == '?') item.optional = true, item.kind.pop_back();
            k.items.push_back(item);
        }
        schema.kinds.push_back(k);
    }
    return schema;
}

}  // namespace

TEST(SuiteTreeSchema, CountsOfKindsRolesAndBackings) {
    const SchemaFile def = readSchemaFile();
    std::map<std::string, int> count;
    for (const Kind& k : def.kinds) ++count[k.role], ++count[k.backing];
    EXPECT_EQ(def.kinds.size(), 696u);
    EXPECT_EQ(count, (std::map<std::string, int>{{"sequence", 379}, {"list", 91}, {"choice", 36}, {"choice+kw", 56},
                                                 {"text", 48}, {"keyword", 86}, {"suite", 104}, {"rows", 17},
                                                 {"field", 575}}));
    EXPECT_EQ(def.objects.size(), 50u);
    EXPECT_EQ(def.idTypes.size(), 64u);
}

TEST(SuiteTreeSchema, GeneratedKindTableFollowsTheSchemaFile) {
    const SchemaFile def = readSchemaFile();
    ASSERT_EQ(def.kinds.size(), 696u);
    const std::map<std::string, KindRole> roles = {{"sequence", KindRole::Sequence}, {"list", KindRole::List},
                                                   {"choice", KindRole::Choice},     {"choice+kw", KindRole::Choice},
                                                   {"text", KindRole::TextLeaf},     {"keyword", KindRole::KeywordLeaf}};
    const std::map<std::string, KindBacking> backings = {
        {"suite", KindBacking::SuiteNode}, {"rows", KindBacking::RowList}, {"field", KindBacking::Field}};
    for (const Kind& d : def.kinds) {
        SCOPED_TRACE(d.name);
        const KindInfo& info = kindInfo(d.number);
        EXPECT_STREQ(info.name, d.name.c_str());
        EXPECT_STREQ(Choices::to_char(d.number), d.name.c_str());
        EXPECT_EQ(info.slot, d.slot);
        EXPECT_EQ(kindAtSlot(d.slot), d.number);
        EXPECT_EQ(kindNamed(d.name), d.number);
        EXPECT_EQ(info.role, roles.at(d.role));
        EXPECT_EQ(info.reportsKeywordCase, d.role == "choice+kw");
        EXPECT_EQ(info.backing, backings.at(d.backing));
        ASSERT_EQ(info.itemCount, static_cast<int32_t>(d.items.size()));
        for (std::size_t f = 0; f < d.items.size(); ++f) {
            EXPECT_STREQ(Choices::to_char(info.items[f].kind), d.items[f].kind.c_str());
            EXPECT_EQ(info.items[f].optional, d.items[f].optional);
            EXPECT_STREQ(info.items[f].accessor, d.items[f].accessor.c_str());
        }
    }
    for (const auto& [number, name] : def.objects) {
        EXPECT_STREQ(Choices::to_char(number), name.c_str());
        EXPECT_EQ(kindInfo(number).role, KindRole::Object);
    }
    for (int32_t code = -1; code <= 70; ++code) {
        const auto it = def.idTypes.find(code);
        EXPECT_EQ(kindOfIdTypeCode(code), it == def.idTypes.end() ? int32_t(Choices::invalid_choice) : kindNamed(it->second))
            << "code " << code;
    }
    EXPECT_EQ(kindAtSlot(0), Choices::invalid_choice);
    EXPECT_EQ(kindAtSlot(697), Choices::invalid_choice);
    EXPECT_EQ(kindNamed("TestCas"), Choices::invalid_choice);
}
