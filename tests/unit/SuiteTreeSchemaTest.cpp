// tree/schema.def against the reference document (the *.md beside the
// repository that holds the suite tree schema), and against the kind table
// generated from it. A transcription slip in the schema or a generator fault
// fails here.
#include "tree/Choices.h"
#include "tree/KindInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The repository: this file lives in tests/unit/ (the build passes absolute source paths).
fs::path sourceDir() { return fs::absolute(fs::path(__FILE__)).parent_path().parent_path().parent_path(); }

struct Item {
    std::string kind;
    bool optional = false;
    std::string accessor;
};

struct Kind {
    int slot = 0;
    int number = 0;
    std::string name;
    std::string role;     // sequence, list, choice, leaf (schema.def: text/keyword, choice+kw)
    std::string detail;   // schema.def: the role as written
    std::string backing;  // schema.def only
    std::vector<Item> items;
};

std::vector<std::string> readLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> backticked(const std::string& text) {
    std::vector<std::string> names;
    static const std::regex tick("`([^`]+)`");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), tick); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

// ---------------------------------------------------------------------------
// schema.def, read independently of the generator

struct SchemaFile {
    std::vector<Kind> kinds;
    std::map<int, std::string> objects;
    std::map<int, std::string> idTypes;
};

SchemaFile readSchemaFile() {
    SchemaFile schema;
    for (const std::string& line : readLines(sourceDir() / "tree" / "schema.def")) {
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
        words >> k.slot >> k.number >> k.name >> k.detail >> k.backing;
        k.role = k.detail == "text" || k.detail == "keyword" ? "leaf" : k.detail == "choice+kw" ? "choice" : k.detail;
        for (std::string word; words >> word;) {
            Item item;
            const auto colon = word.find(':');
            item.kind = word.substr(0, colon);
            item.accessor = word.substr(colon + 1);
            if (item.kind.back() == '?') item.optional = true, item.kind.pop_back();
            k.items.push_back(item);
        }
        schema.kinds.push_back(k);
    }
    return schema;
}

// ---------------------------------------------------------------------------
// The reference document

struct Reference {
    std::vector<Kind> kinds;  // in slot order, with the items of the schema section
    std::map<int, std::string> objects;
    std::map<int, std::string> idTypes;
    std::set<std::string> suiteNodes, rowLists, keywordChoices;
    std::set<std::string> namedTextLeaves, namedKeywordLeaves;
    std::set<std::string> lastGroupLeaves;  // leaves of the literal strings, keywords and symbols group
};

// The shared folder lies beside the repository; a worktree sits one level deeper.
fs::path findReferenceDocument() {
    std::error_code error;
    fs::path folder = sourceDir();
    for (int up = 0; up < 3 && folder.has_parent_path(); ++up) {
        folder = folder.parent_path();
        const fs::path shared = folder / "shared";
        if (!fs::is_directory(shared, error)) continue;
        for (const auto& entry : fs::directory_iterator(shared, error)) {
            if (entry.path().extension() != ".md") continue;
            for (const std::string& line : readLines(entry.path()))
                if (line.rfind("# ", 0) == 0 && line.find("Suite tree schema") != std::string::npos)
                    return entry.path();
        }
    }
    return {};
}

// The lines of the top-level section whose heading contains `title`.
std::vector<std::string> section(const std::vector<std::string>& lines, const std::string& title) {
    std::vector<std::string> out;
    bool inside = false;
    for (const std::string& line : lines) {
        if (line.rfind("# ", 0) == 0) inside = line.find(title) != std::string::npos;
        else if (inside) out.push_back(line);
    }
    return out;
}

std::string between(const std::string& text, const std::string& from, const std::string& to) {
    const auto start = text.find(from);
    if (start == std::string::npos) return "";
    const auto end = text.find(to, start + from.size());
    return text.substr(start + from.size(), end == std::string::npos ? std::string::npos : end - start - from.size());
}

Reference readReference(const fs::path& path) {
    Reference ref;
    const auto lines = readLines(path);
    static const std::regex group(R"(^- (.*) \(slots (\d+) to (\d+)\): (.*)\.$)");
    static const std::regex idRow(R"(^\| \d+ \| `)");
    std::smatch m;
    for (const std::string& line : section(lines, "Suite tree node model")) {
        if (std::regex_match(line, m, group)) {
            for (const std::string& entry : split(m[4], ", ")) {
                Kind k;
                k.slot = static_cast<int>(ref.kinds.size()) + 1;
                k.name = entry.substr(0, entry.rfind(' '));
                k.number = std::stoi(entry.substr(entry.rfind(' ') + 1));
                ref.kinds.push_back(k);
            }
            EXPECT_EQ(ref.kinds.size(), std::stoul(m[3])) << "slot range of " << m[1];
        } else if (line.rfind("- Object kinds: ", 0) == 0) {
            for (const std::string& entry : split(line.substr(16, line.size() - 17), ", "))
                ref.objects[std::stoi(entry.substr(entry.rfind(' ') + 1))] = entry.substr(0, entry.rfind(' '));
        } else if (std::regex_search(line, idRow)) {
            const auto cells = split(line, "|");
            for (std::size_t i = 1; i + 1 < cells.size(); i += 2) {
                const auto names = backticked(cells[i + 1]);
                if (names.size() == 1) ref.idTypes[std::stoi(cells[i])] = names[0];
            }
        } else if (line.rfind("1. Suite-node views", 0) == 0) {
            for (const auto& n : backticked(between(line, "(see Interfaces):", "An optional field"))) ref.suiteNodes.insert(n);
        } else if (line.rfind("2. Row lists", 0) == 0) {
            for (const auto& n : backticked(between(line, "):", "An element"))) ref.rowLists.insert(n);
        } else if (line.find("also report \"Bad kw case label\":") != std::string::npos) {
            for (const auto& n : backticked(between(line, "\"Bad kw case label\":", "\n"))) ref.keywordChoices.insert(n);
        } else if (line.rfind("- Leaf (134 kinds)", 0) == 0) {
            for (const auto& n : backticked(between(line, "A text leaf carries", "A keyword leaf"))) ref.namedTextLeaves.insert(n);
            for (const auto& n : backticked(between(line, "A keyword leaf (", ")"))) ref.namedKeywordLeaves.insert(n);
        }
    }
    std::map<std::string, Kind*> byName;
    for (Kind& k : ref.kinds) byName[k.name] = &k;
    static const std::regex kindLine(R"(^- `(\w+)`: (.*)$)");
    bool lastGroup = false;
    for (const std::string& line : section(lines, "Suite tree schema")) {
        if (line.rfind("**", 0) == 0) lastGroup = line.find("Literal strings, keywords and symbols") != std::string::npos;
        if (line.rfind("- Leaf kinds: ", 0) == 0) {
            for (const auto& n : backticked(line)) {
                EXPECT_TRUE(byName.count(n)) << "leaf " << n;
                if (!byName.count(n)) continue;
                EXPECT_EQ(byName[n]->role, "") << n << " described twice";
                byName[n]->role = "leaf";
                if (lastGroup) ref.lastGroupLeaves.insert(n);
            }
            continue;
        }
        if (!std::regex_match(line, m, kindLine)) continue;
        const std::string name = m[1], rest = m[2];
        EXPECT_TRUE(byName.count(name)) << name;
        if (!byName.count(name)) continue;
        Kind& k = *byName[name];
        EXPECT_EQ(k.role, "") << name << " described twice";
        if (rest.rfind("list of ", 0) == 0 || rest.rfind("one of ", 0) == 0) {
            k.role = rest[0] == 'l' ? "list" : "choice";
            for (const auto& n : backticked(rest)) k.items.push_back({n, false, ""});
        } else {
            k.role = "sequence";
            for (const std::string& field : split(rest, ", ")) {
                const auto names = backticked(field);
                EXPECT_EQ(names.size(), 1u) << name << ": " << field;
                if (names.size() == 1) k.items.push_back({names[0], field.ends_with(" (optional)"), ""});
            }
        }
    }
    return ref;
}

// The accessor the naming rule gives a field of kind `kind`.
std::string accessorFor(const std::string& kind) {
    std::string name = kind;
    for (char& c : name) {
        if (!std::isupper(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c))) break;
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (name == "and" || name == "or" || name == "not") name += '_';
    return name;
}

const std::map<std::string, std::vector<std::string>>& ownFieldNames() {
    static const std::map<std::string, std::vector<std::string>> names = {
        {"Send", {"pco_Id", "message_Id"}},
        {"Receive", {"pco_Id", "message_Id"}},
        {"RelExpression", {"leftExpression", "relOp", "rightExpression"}}};
    return names;
}

}  // namespace

TEST(SuiteTreeSchema, MatchesTheReferenceDocument) {
    const fs::path path = findReferenceDocument();
    if (path.empty()) GTEST_SKIP() << "reference document not found beside the repository";
    const Reference ref = readReference(path);
    const SchemaFile def = readSchemaFile();

    ASSERT_EQ(ref.kinds.size(), 696u);
    ASSERT_EQ(def.kinds.size(), 696u);
    EXPECT_EQ(ref.suiteNodes.size(), 104u);
    EXPECT_EQ(ref.rowLists.size(), 17u);
    EXPECT_EQ(ref.keywordChoices.size(), 56u);
    for (std::size_t i = 0; i < 696; ++i) {
        const Kind& r = ref.kinds[i];
        const Kind& d = def.kinds[i];
        SCOPED_TRACE("slot " + std::to_string(i + 1) + " " + r.name);
        EXPECT_EQ(d.slot, r.slot);
        EXPECT_EQ(d.name, r.name);
        EXPECT_EQ(d.number, r.number);
        EXPECT_EQ(d.role, r.role);
        ASSERT_EQ(d.items.size(), r.items.size());
        for (std::size_t f = 0; f < r.items.size(); ++f) {
            EXPECT_EQ(d.items[f].kind, r.items[f].kind) << "item " << f;
            EXPECT_EQ(d.items[f].optional, r.items[f].optional) << "item " << f;
            const auto own = ownFieldNames().find(r.name);
            const std::string accessor = own != ownFieldNames().end() ? own->second.at(f) : accessorFor(r.items[f].kind);
            EXPECT_EQ(d.items[f].accessor, accessor) << "item " << f;
        }
        const std::string backing = ref.suiteNodes.count(r.name) ? "suite" : ref.rowLists.count(r.name) ? "rows" : "field";
        EXPECT_EQ(d.backing, backing);
        if (r.role == "choice") {
            EXPECT_EQ(d.detail == "choice+kw", ref.keywordChoices.count(r.name) == 1);
        }
        if (r.role == "leaf") {
            // The last group holds the keywords, apart from the literal strings and
            // the macro symbol; every other leaf carries text.
            const bool text = !ref.lastGroupLeaves.count(r.name) ||
                              std::set<std::string>{"Ostring", "Cstring", "Bstring", "Hstring", "MacroSymbol"}.count(r.name);
            EXPECT_EQ(d.detail, text ? "text" : "keyword");
            if (ref.namedTextLeaves.count(r.name)) {
                EXPECT_EQ(d.detail, "text");
            }
            if (ref.namedKeywordLeaves.count(r.name)) {
                EXPECT_EQ(d.detail, "keyword");
            }
        }
    }
    EXPECT_GE(ref.namedTextLeaves.size(), 15u);
    EXPECT_GE(ref.namedKeywordLeaves.size(), 7u);
    EXPECT_EQ(def.objects, ref.objects);
    EXPECT_EQ(ref.objects.size(), 50u);
    EXPECT_EQ(def.idTypes, ref.idTypes);
    EXPECT_EQ(ref.idTypes.size(), 64u);
}

TEST(SuiteTreeSchema, GeneratedKindTableFollowsTheSchemaFile) {
    const SchemaFile def = readSchemaFile();
    ASSERT_EQ(def.kinds.size(), 696u);
    for (const Kind& d : def.kinds) {
        SCOPED_TRACE(d.name);
        const KindInfo& info = kindInfo(d.number);
        EXPECT_STREQ(info.name, d.name.c_str());
        EXPECT_STREQ(Choices::to_char(d.number), d.name.c_str());
        EXPECT_EQ(info.slot, d.slot);
        EXPECT_EQ(kindAtSlot(d.slot), d.number);
        EXPECT_EQ(kindNamed(d.name), d.number);
        const std::map<std::string, KindRole> roles = {{"sequence", KindRole::Sequence}, {"list", KindRole::List},
                                                       {"choice", KindRole::Choice}, {"choice+kw", KindRole::Choice},
                                                       {"text", KindRole::TextLeaf}, {"keyword", KindRole::KeywordLeaf}};
        EXPECT_EQ(info.role, roles.at(d.detail));
        EXPECT_EQ(info.reportsKeywordCase, d.detail == "choice+kw");
        const std::map<std::string, KindBacking> backings = {
            {"suite", KindBacking::SuiteNode}, {"rows", KindBacking::RowList}, {"field", KindBacking::Field}};
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
}
