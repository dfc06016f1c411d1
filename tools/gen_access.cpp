// Generates the suite tree layer from tree/schema.def:
//
//   Choices.h, Choices.cpp        the kind numbering and Choices::to_char
//   KindTable.cpp                 the table behind kindInfo() (tree/KindInfo.h)
//   SymbolCode.h                  the symbol-table type codes of the idtype lines
//   TreeViews.h, TreeViewsN.cpp   one typed view class per tree kind
//   AccessVisitor.h, AccessVisitorDispatch.cpp, AccessVisitorN.cpp
//                                 the visitor: dispatcher, 696 slots, default traversals
//
// Usage: xlator_gen_access <schema.def> <output folder>
//
// The generator checks the schema before it writes anything: slots in order,
// numbers unique, role counts, known field kinds, accessor names that are not
// C++ keywords (schema.def writes the renamed ones: And -> and_, Or -> or_,
// Not -> not_) and that do not hide the members of the view base class.
//
// One name needs care in C++: INFINITY is a macro of <cmath>. The generated
// headers set it aside while they declare the kind and the view of that name;
// code that also includes <cmath> uses Choices::INFINITY_ and the view type
// INFINITY_, which the headers provide as aliases.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTreeKinds = 696;
constexpr int kFirstObject = 698;
constexpr int kLastChoice = 748;
constexpr int kSplit = 4;  // generated .cpp files per family, for parallel builds

struct Item {
    std::string kind;
    bool optional = false;
    std::string accessor;
};

enum class Role { Sequence, List, Choice, Text, Keyword };

struct Kind {
    int slot = 0;
    int number = 0;
    std::string name;
    Role role = Role::Sequence;
    bool keywordReport = false;
    std::string backing;
    std::vector<Item> items;
};

struct Schema {
    std::vector<Kind> kinds;  // in slot order
    std::vector<std::pair<int, std::string>> objects;
    std::vector<std::pair<int, std::string>> idTypes;
    std::map<std::string, int> numberOf;  // every kind name -> number
};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    std::cerr << where << ": error: " << what << "\n";
    std::exit(1);
}

const std::set<std::string>& cxxKeywords() {
    static const std::set<std::string> words = {
        "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
        "char", "char8_t", "char16_t", "char32_t", "class", "compl", "concept", "const", "consteval", "constexpr",
        "constinit", "const_cast", "continue", "co_await", "co_return", "co_yield", "decltype", "default", "delete",
        "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for",
        "friend", "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
        "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
        "requires", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
        "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
        "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq"};
    return words;
}

// Members of TreeView and of the generated classes that an accessor must not hide.
const std::set<std::string>& reservedMembers() {
    static const std::set<std::string> names = {"treeNode", "isEmpty", "sourceLine", "child", "hasChild",
                                                "alternative", "failedChoice", "listSize", "element", "leafText",
                                                "idTypeOf", "choice", "size", "text", "idType", "kKind", "held",
                                                "holds"};
    return names;
}

Schema readSchema(const std::string& path) {
    std::ifstream in(path);
    if (!in) fail(path, "cannot open");
    Schema schema;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        const std::string where = path + ":" + std::to_string(lineNo);
        std::istringstream words(line);
        std::string tag;
        if (!(words >> tag) || tag[0] == '#') continue;
        if (tag == "object" || tag == "idtype") {
            int value = 0;
            std::string name;
            if (!(words >> value >> name)) fail(where, "expected '" + tag + " <number> <Name>'");
            (tag == "object" ? schema.objects : schema.idTypes).emplace_back(value, name);
            continue;
        }
        if (tag != "kind") fail(where, "unknown line form '" + tag + "'");
        Kind k;
        std::string role;
        if (!(words >> k.slot >> k.number >> k.name >> role >> k.backing))
            fail(where, "expected 'kind <slot> <number> <Name> <role> <backing> items...'");
        if (role == "sequence") k.role = Role::Sequence;
        else if (role == "list") k.role = Role::List;
        else if (role == "choice") k.role = Role::Choice;
        else if (role == "choice+kw") k.role = Role::Choice, k.keywordReport = true;
        else if (role == "text") k.role = Role::Text;
        else if (role == "keyword") k.role = Role::Keyword;
        else fail(where, "unknown role '" + role + "'");
        if (k.backing != "suite" && k.backing != "rows" && k.backing != "field")
            fail(where, "unknown backing '" + k.backing + "'");
        std::string word;
        while (words >> word) {
            const auto colon = word.find(':');
            if (colon == std::string::npos || colon == 0 || colon + 1 == word.size())
                fail(where, "item '" + word + "' is not <Kind>[?]:<accessor>");
            Item item;
            item.kind = word.substr(0, colon);
            item.accessor = word.substr(colon + 1);
            if (item.kind.back() == '?') item.optional = true, item.kind.pop_back();
            k.items.push_back(item);
        }
        if (k.slot != static_cast<int>(schema.kinds.size()) + 1) fail(where, "slots must run 1, 2, 3, ... in order");
        schema.kinds.push_back(k);
    }
    return schema;
}

void checkSchema(const Schema& s, const std::string& path) {
    if (s.kinds.size() != kTreeKinds) fail(path, "expected 696 tree kinds, found " + std::to_string(s.kinds.size()));
    std::set<int> numbers;
    std::set<std::string> names;
    std::map<Role, int> roles;
    auto addName = [&](const std::string& name, int number) {
        if (!names.insert(name).second) fail(path, "kind name '" + name + "' used twice");
        if (!numbers.insert(number).second) fail(path, "kind number " + std::to_string(number) + " used twice");
    };
    for (const Kind& k : s.kinds) {
        if (k.number < 2 || k.number > 697) fail(path, k.name + ": tree kind number outside 2..697");
        addName(k.name, k.number);
        ++roles[k.role];
    }
    for (const auto& [number, name] : s.objects) {
        if (number < kFirstObject || number >= kLastChoice) fail(path, name + ": object kind number outside 698..747");
        addName(name, number);
    }
    if (numbers.size() != kLastChoice - 2) fail(path, "kind numbers 2..747 are not all used");
    if (roles[Role::Sequence] != 379 || roles[Role::List] != 91 || roles[Role::Choice] != 92 ||
        roles[Role::Text] + roles[Role::Keyword] != 134)
        fail(path, "role counts differ from 379 sequences, 91 lists, 92 choices, 134 leaves");
    std::set<std::string> treeNames;
    for (const Kind& k : s.kinds) treeNames.insert(k.name);
    for (const Kind& k : s.kinds) {
        const bool leaf = k.role == Role::Text || k.role == Role::Keyword;
        if (leaf && !k.items.empty()) fail(path, k.name + ": a leaf has no items");
        if (!leaf && k.items.empty()) fail(path, k.name + ": needs at least one item");
        if (k.role == Role::List && k.items.size() != 1) fail(path, k.name + ": a list has exactly one element kind");
        std::set<std::string> accessors;
        std::set<std::string> alternatives;
        for (const Item& item : k.items) {
            if (!treeNames.count(item.kind)) fail(path, k.name + ": unknown item kind '" + item.kind + "'");
            if (item.optional && k.role != Role::Sequence) fail(path, k.name + ": only sequence fields are optional");
            if (cxxKeywords().count(item.accessor)) fail(path, k.name + ": accessor '" + item.accessor + "' is a C++ keyword");
            if (reservedMembers().count(item.accessor))
                fail(path, k.name + ": accessor '" + item.accessor + "' hides a member of the view");
            if (!accessors.insert(item.accessor).second) fail(path, k.name + ": accessor '" + item.accessor + "' twice");
            if (k.role == Role::Choice && !alternatives.insert(item.kind).second)
                fail(path, k.name + ": alternative '" + item.kind + "' twice");
        }
    }
    std::set<int> codes;
    for (const auto& [code, name] : s.idTypes) {
        const std::string which = "idtype " + std::to_string(code);
        if (code < 1 || code > 1000) fail(path, which + ": code outside 1..1000");
        if (!codes.insert(code).second) fail(path, which + ": code used twice");
        if (!names.count(name)) fail(path, which + ": unknown kind '" + name + "'");
        if (name == "None") fail(path, which + ": 'None' is the name of code 0");
    }
}

// ---------------------------------------------------------------------------
// Elided kinds: the parse trees keep no record for a node of these kinds that
// wraps one child; the view of such a node stands on its child's record (its
// kind comes from the view or AccessNode, not from the record). They are the
// levels of an expression and a value, which the field parsers build around
// every operand (SimpleExpression > Term > Factor > Primary > Value >
// LiteralValue > Number: one record instead of seven), and which the
// translators read through the typed views. Expression itself keeps its
// record, so a field holding an expression still holds an Expression record.
//
// A record must say unambiguously which kinds it stands for: no elided kind
// may lead to itself through elided kinds, and no two alternatives of a choice
// may lead to the same record kind. The generator checks both.
const char* const kElidedKinds[] = {"SimpleExpression", "Term", "Factor", "Primary", "Value", "LiteralValue"};

struct Elision {
    std::set<std::string> elided;
    // For every kind, the record kinds a view of it can stand on besides its
    // own: empty unless the kind is elided.
    std::map<std::string, std::set<std::string>> inner;
};

Elision computeElision(const Schema& s, const std::string& path) {
    std::map<std::string, const Kind*> byName;
    for (const Kind& k : s.kinds) byName[k.name] = &k;
    Elision e;
    for (const char* name : kElidedKinds) {
        auto found = byName.find(name);
        if (found == byName.end()) fail(path, std::string("elided kind '") + name + "' is not a tree kind");
        const Kind& k = *found->second;
        if (k.backing != "field" || !(k.role == Role::Choice || (k.role == Role::Sequence && k.items.size() == 1)))
            fail(path, k.name + ": only a field choice or a field sequence of one field can be elided");
        e.elided.insert(k.name);
    }
    for (const Kind& k : s.kinds) e.inner[k.name];
    // Inner sets, to a fixed point (chains may run in circles).
    for (bool changed = true; changed;) {
        changed = false;
        for (const Kind& k : s.kinds) {
            if (!e.elided.count(k.name)) continue;
            std::set<std::string> set;
            for (const Item& item : k.items) {
                set.insert(item.kind);
                const auto& below = e.inner[item.kind];
                set.insert(below.begin(), below.end());
            }
            if (set != e.inner[k.name]) e.inner[k.name] = std::move(set), changed = true;
        }
    }
    for (const Kind& k : s.kinds) {
        if (e.inner[k.name].count(k.name)) fail(path, k.name + ": an elided kind leads to itself");
        if (k.role != Role::Choice) continue;
        std::map<std::string, std::string> reachedBy;
        for (const Item& alt : k.items) {
            std::set<std::string> reach = e.inner[alt.kind];
            reach.insert(alt.kind);
            for (const std::string& r : reach)
                if (!reachedBy.emplace(r, alt.kind).second)
                    fail(path, k.name + ": alternatives " + reachedBy[r] + " and " + alt.kind + " both lead to " + r);
        }
    }
    return e;
}

// ---------------------------------------------------------------------------
// Output helpers

class Output {
public:
    explicit Output(std::string folder) : folder_(std::move(folder)) {}

    // Writes the file only when its contents changed, so an unchanged header
    // does not rebuild everything that includes it.
    void write(const std::string& name, const std::string& text) {
        const std::string path = folder_ + "/" + name;
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::ostringstream current;
            current << old.rdbuf();
            if (current.str() == text) return;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) fail(path, "cannot write");
    }

private:
    std::string folder_;
};

const char* kBanner = "// Generated by xlator_gen_access from tree/schema.def. Do not edit.\n";

std::string guardBegin() { return "#pragma push_macro(\"INFINITY\")\n#undef INFINITY\n\n"; }
std::string guardEnd() { return "\n#pragma pop_macro(\"INFINITY\")\n"; }

// ---------------------------------------------------------------------------
// Choices

std::string choicesHeader(const Schema& s) {
    std::vector<std::pair<int, std::string>> all;
    for (const Kind& k : s.kinds) all.emplace_back(k.number, k.name);
    for (const auto& o : s.objects) all.push_back(o);
    std::sort(all.begin(), all.end());
    std::ostringstream o;
    o << kBanner << "// Every node kind of the suite tree: invalid_choice, the 696 tree kinds (2..697),\n"
      << "// the 50 symbol-table object kinds (698..747) and last_choice.\n"
      << "#pragma once\n\n#include <cstdint>\n\n" << guardBegin();
    o << "struct Choices {\n    enum Kind : int32_t {\n        invalid_choice = 1,\n";
    for (const auto& [number, name] : all) o << "        " << name << " = " << number << ",\n";
    o << "        last_choice = " << kLastChoice << ",\n";
    o << "        INFINITY_ = INFINITY,  // for code that sees the INFINITY macro of <cmath>\n";
    o << "    };\n\n"
      << "    // The kind's name; \"\" with the report \"Bad case in Choices::to_char %d\" outside 1..748.\n"
      << "    static const char* to_char(int32_t kind);\n};\n" << guardEnd();
    return o.str();
}

std::string choicesSource(const Schema& s) {
    std::vector<std::string> names(kLastChoice + 1);
    names[1] = "invalid_choice";
    names[kLastChoice] = "last_choice";
    for (const Kind& k : s.kinds) names[k.number] = k.name;
    for (const auto& [number, name] : s.objects) names[number] = name;
    std::ostringstream o;
    o << kBanner << "#include \"tree/Choices.h\"\n\n#include \"tree/AccessReport.h\"\n\n";
    o << "namespace {\nconst char* const kNames[" << kLastChoice + 1 << "] = {\n    \"\",\n";
    for (int i = 1; i <= kLastChoice; ++i) o << "    \"" << names[i] << "\",\n";
    o << "};\n}  // namespace\n\n";
    o << "const char* Choices::to_char(int32_t kind) {\n"
      << "    if (kind < 1 || kind > last_choice) {\n"
      << "        accessReport(\"Bad case in Choices::to_char %d\", kind);\n"
      << "        return \"\";\n    }\n    return kNames[kind];\n}\n";
    return o.str();
}

// ---------------------------------------------------------------------------
// Kind table

std::string kindTableSource(const Schema& s, const Elision& e) {
    std::ostringstream o;
    o << kBanner << "#include \"tree/KindInfo.h\"\n\n#include \"tree/Choices.h\"\n\n#include <algorithm>\n#include <iterator>\n#include <string_view>\n\n";
    o << "namespace {\n\n";
    for (const Kind& k : s.kinds) {
        if (k.items.empty()) continue;
        o << "const FieldInfo kItems" << k.name << "[] = {";
        for (const Item& item : k.items)
            o << "{" << s.numberOf.at(item.kind) << ", " << (item.optional ? "true" : "false") << ", \"" << item.accessor
              << "\"}, ";
        o << "};\n";
    }
    std::vector<std::string> rows(kLastChoice + 1);
    auto invalid = [](int number, const char* name) {
        return "{" + std::to_string(number) + ", \"" + name + "\", 0, KindRole::Invalid, KindBacking::None, false, nullptr, 0, false}";
    };
    rows[0] = invalid(1, "invalid_choice");
    rows[1] = rows[0];
    rows[kLastChoice] = invalid(kLastChoice, "last_choice");
    for (const Kind& k : s.kinds) {
        static const char* roleNames[] = {"Sequence", "List", "Choice", "TextLeaf", "KeywordLeaf"};
        const char* backing = k.backing == "suite" ? "SuiteNode" : k.backing == "rows" ? "RowList" : "Field";
        std::ostringstream r;
        r << "{" << k.number << ", \"" << k.name << "\", " << k.slot << ", KindRole::" << roleNames[static_cast<int>(k.role)]
          << ", KindBacking::" << backing << ", " << (k.keywordReport ? "true" : "false") << ", ";
        if (k.items.empty()) r << "nullptr, 0";
        else r << "kItems" << k.name << ", " << k.items.size();
        r << ", " << (e.elided.count(k.name) ? "true" : "false") << "}";
        rows[k.number] = r.str();
    }
    for (const auto& [number, name] : s.objects)
        rows[number] = "{" + std::to_string(number) + ", \"" + name +
                       "\", 0, KindRole::Object, KindBacking::None, false, nullptr, 0, false}";
    o << "\n// Indexed by kind; entry 0 stands for every value outside 1..748.\nconst KindInfo kKinds[" << kLastChoice + 1
      << "] = {\n";
    for (const std::string& row : rows) o << "    " << row << ",\n";
    o << "};\n\nconst int32_t kSlots[" << kTreeKinds + 1 << "] = {Choices::invalid_choice,";
    for (const Kind& k : s.kinds) o << (k.slot % 16 == 1 ? "\n    " : " ") << k.number << ",";
    o << "\n};\n\n";
    std::vector<int> codes(1, 0);
    for (const auto& [code, name] : s.idTypes) codes.push_back(code);
    const int maxCode = *std::max_element(codes.begin(), codes.end());
    std::vector<int> byCode(maxCode + 1, 1);
    for (const auto& [code, name] : s.idTypes) byCode[code] = s.numberOf.at(name);
    // stepToward(): per choice (and per elided sequence) the record kinds it
    // leads to, sorted, each with the item kind the way goes through.
    o << "struct Step {\n    int32_t record;\n    int32_t step;\n};\n\n";
    std::vector<std::string> stepTable(kLastChoice + 1);
    for (const Kind& k : s.kinds) {
        const bool elidedSequence = k.role == Role::Sequence && e.elided.count(k.name);
        if (k.role != Role::Choice && !elidedSequence) continue;
        std::map<int, int> steps;
        for (const Item& item : k.items) {
            steps[s.numberOf.at(item.kind)] = s.numberOf.at(item.kind);
            for (const std::string& below : e.inner.at(item.kind)) steps[s.numberOf.at(below)] = s.numberOf.at(item.kind);
        }
        o << "const Step kSteps" << k.name << "[] = {";
        for (const auto& [record, step] : steps) o << "{" << record << ", " << step << "}, ";
        o << "};\n";
        stepTable[k.number] = "{kSteps" + k.name + ", " + std::to_string(steps.size()) + "}";
    }
    o << "\nstruct Steps {\n    const Step* steps;\n    int32_t count;\n};\n\nconst Steps kStepsOf[" << kLastChoice + 1
      << "] = {\n";
    for (int kind = 0; kind <= kLastChoice; ++kind)
        o << "    " << (stepTable[kind].empty() ? std::string("{nullptr, 0}") : stepTable[kind]) << ",\n";
    o << "};\n\n";
    o << "const int32_t kIdTypes[" << maxCode + 1 << "] = {";
    for (int c = 0; c <= maxCode; ++c) o << (c % 16 == 0 ? "\n    " : " ") << byCode[c] << ",";
    o << "\n};\n\n";
    std::vector<std::pair<std::string, int>> sorted;
    for (int kind = 1; kind <= kLastChoice; ++kind)
        sorted.emplace_back(kind == 1 ? "invalid_choice" : kind == kLastChoice ? "last_choice" : std::string(), kind);
    for (const Kind& k : s.kinds) sorted[k.number - 1].first = k.name;
    for (const auto& [number, name] : s.objects) sorted[number - 1].first = name;
    std::sort(sorted.begin(), sorted.end());
    o << "struct NamedKind {\n    std::string_view name;\n    int32_t kind;\n};\n\n"
      << "// Sorted by name for kindNamed().\nconst NamedKind kByName[" << sorted.size() << "] = {\n";
    for (const auto& [name, kind] : sorted) o << "    {\"" << name << "\", " << kind << "},\n";
    o << "};\n\n}  // namespace\n\n";
    o << "const KindInfo& kindInfo(int32_t kind) {\n"
      << "    return kind >= 1 && kind <= Choices::last_choice ? kKinds[kind] : kKinds[0];\n}\n\n"
      << "int32_t kindAtSlot(int32_t slot) {\n"
      << "    return slot >= 1 && slot <= " << kTreeKinds << " ? kSlots[slot] : int32_t(Choices::invalid_choice);\n}\n\n"
      << "int32_t kindNamed(std::string_view name) {\n"
      << "    const auto* end = kByName + std::size(kByName);\n"
      << "    const auto* at = std::lower_bound(kByName, end, name,\n"
      << "                                      [](const NamedKind& k, std::string_view n) { return k.name < n; });\n"
      << "    return at != end && at->name == name ? at->kind : int32_t(Choices::invalid_choice);\n}\n\n"
      << "int32_t stepToward(int32_t kind, int32_t recordKind) {\n"
      << "    if (kind < 1 || kind > Choices::last_choice) return Choices::invalid_choice;\n"
      << "    const Steps& of = kStepsOf[kind];\n"
      << "    const Step* end = of.steps + of.count;\n"
      << "    const Step* at = std::lower_bound(of.steps, end, recordKind,\n"
      << "                                      [](const Step& st, int32_t r) { return st.record < r; });\n"
      << "    return at != end && at->record == recordKind ? at->step : int32_t(Choices::invalid_choice);\n}\n\n"
      << "bool kindHolds(int32_t kind, int32_t recordKind) {\n"
      << "    if (kind == recordKind) return kind >= 1 && kind <= Choices::last_choice;\n"
      << "    return kindInfo(kind).elided && stepToward(kind, recordKind) != Choices::invalid_choice;\n}\n\n"
      << "int32_t kindOfIdTypeCode(int32_t code) {\n"
      << "    return code >= 0 && code <= " << maxCode << " ? kIdTypes[code] : int32_t(Choices::invalid_choice);\n}\n";
    return o.str();
}

// ---------------------------------------------------------------------------
// Symbol codes

std::string symbolCodeHeader(const Schema& s) {
    std::vector<std::pair<int, std::string>> codes = s.idTypes;
    std::sort(codes.begin(), codes.end());
    std::ostringstream o;
    o << kBanner << "// The type codes with which the symbol tables record each object, named after\n"
      << "// the kind the code stands for; Identifier::idType() maps a code to that kind.\n"
      << "#pragma once\n\nenum class SymbolCode : int {\n    None = 0,\n";
    for (const auto& [code, name] : codes) o << "    " << name << " = " << code << ",\n";
    o << "};\n\n// The largest code (a tree node keeps a code in a few bits).\n"
      << "inline constexpr int kLargestSymbolCode = " << codes.back().first << ";\n"
      << "\n// The object kind name of a code (\"TS_Var\"); \"\" for None and codes without a kind.\n"
      << "const char* symbolCodeName(SymbolCode code);\n";
    return o.str();
}

// ---------------------------------------------------------------------------
// Typed views

std::string viewsHeader(const Schema& s, const Elision& e) {
    std::ostringstream o;
    o << kBanner
      << "// One typed view per tree kind. Accessors follow one rule: a field is read by\n"
      << "// the lower-cased name of its kind (`testCaseId()`), an optional field also has\n"
      << "// `is_present_...()`; a choice has `choice()` and one accessor per alternative;\n"
      << "// a list has `size()` and an element accessor taking a zero-based index; a text\n"
      << "// leaf has `text()`. Every accessor returns its view by value, empty when the\n"
      << "// field or element is absent.\n"
      << "#pragma once\n\n#include \"tree/Choices.h\"\n#include \"tree/TreeView.h\"\n\n#include <cstdint>\n#include <string_view>\n\n"
      << guardBegin();
    for (const Kind& k : s.kinds) o << "class " << k.name << ";\n";
    o << "\n";
    for (const Kind& k : s.kinds) {
        o << "class " << k.name << " : public TreeView {\npublic:\n"
          << "    static constexpr int32_t kKind = Choices::" << k.name << ";\n"
          << "    " << k.name << "() = default;\n"
          << "    explicit " << k.name << "(const TreeNode* node) : TreeView(node && holds(node->kind) ? node : nullptr) {}\n";
        if (e.elided.count(k.name))
            o << "    // Its own record, or the record of what it wraps (parse trees keep none for it).\n"
              << "    static bool holds(int32_t recordKind);\n";
        else
            o << "    static bool holds(int32_t recordKind) { return recordKind == kKind; }\n";
        switch (k.role) {
        case Role::Sequence:
            for (const Item& f : k.items) {
                o << "    " << f.kind << " " << f.accessor << "() const;\n";
                if (f.optional) o << "    bool is_present_" << f.accessor << "() const;\n";
            }
            break;
        case Role::List:
            o << "    int32_t size() const { return listSize(); }\n"
              << "    " << k.items[0].kind << " " << k.items[0].accessor << "(int32_t index) const;\n";
            break;
        case Role::Choice:
            o << "    int32_t choice() const;\n";
            for (const Item& a : k.items) o << "    " << a.kind << " " << a.accessor << "() const;\n";
            break;
        case Role::Text:
            o << "    std::string_view text() const { return leafText(); }\n";
            if (k.name == "Identifier")
                o << "    // The kind of object the name denotes in the symbol table; invalid_choice\n"
                  << "    // with \"Bad IdType case label in Identifier (%d)\\n\" for an unmapped code.\n"
                  << "    int32_t idType() const { return idTypeOf(); }\n";
            break;
        case Role::Keyword:
            break;
        }
        o << "};\n\n";
    }
    o << "using INFINITY_ = INFINITY;  // for code that sees the INFINITY macro of <cmath>\n" << guardEnd();
    return o.str();
}

std::string viewsSource(const Schema& s, const Elision& e, std::size_t first, std::size_t last) {
    std::ostringstream o;
    o << kBanner << "#include \"tree/TreeViews.h\"\n\n" << guardBegin();
    for (std::size_t i = first; i < last; ++i) {
        const Kind& k = s.kinds[i];
        const bool elided = e.elided.count(k.name) != 0;
        if (elided) {
            o << "bool " << k.name << "::holds(int32_t recordKind) {\n    switch (recordKind) {\n    case kKind:\n";
            for (const std::string& inner : e.inner.at(k.name)) o << "    case Choices::" << inner << ":\n";
            o << "        return true;\n    }\n    return false;\n}\n";
        }
        // What the view holds for its one child: the child of its own record,
        // else (an elided kind) the record it stands on.
        const std::string held = elided ? "held(kKind)" : "child(0)";
        switch (k.role) {
        case Role::Sequence:
            for (std::size_t f = 0; f < k.items.size(); ++f) {
                const Item& item = k.items[f];
                const std::string slot = elided ? held : "child(" + std::to_string(f) + ")";
                o << item.kind << " " << k.name << "::" << item.accessor << "() const { return " << item.kind
                  << "(" << slot << "); }\n";
                if (item.optional)
                    o << "bool " << k.name << "::is_present_" << item.accessor << "() const {\n"
                      << "    const TreeNode* c = " << slot << ";\n"
                      << "    return c && " << item.kind << "::holds(c->kind);\n}\n";
            }
            break;
        case Role::List:
            o << k.items[0].kind << " " << k.name << "::" << k.items[0].accessor << "(int32_t index) const {\n"
              << "    return " << k.items[0].kind << "(element(index, \"" << k.name
              << " index out of bounds (0 .. %d was %d)\\n\"));\n}\n";
            break;
        case Role::Choice:
            o << "int32_t " << k.name << "::choice() const {\n"
              << "    const TreeNode* alternative = " << held << ";\n"
              << "    switch (alternative ? alternative->kind : 0) {\n";
            for (const Item& a : k.items) {
                o << "    case Choices::" << a.kind << ":\n";
                for (const std::string& inner : e.inner.at(a.kind)) o << "    case Choices::" << inner << ":\n";
                o << "        return Choices::" << a.kind << ";\n";
            }
            o << "    }\n"
              << "    return failedChoice(alternative, \"Bad case label in " << k.name << " (%d)\\n\", ";
            if (k.keywordReport) o << "\"Bad kw case label in " << k.name << " (%d)\\n\");\n}\n";
            else o << "nullptr);\n}\n";
            for (const Item& a : k.items)
                o << a.kind << " " << k.name << "::" << a.accessor << "() const { return " << a.kind << "(" << held
                  << "); }\n";
            break;
        case Role::Text:
        case Role::Keyword:
            continue;
        }
        o << "\n";
    }
    o << guardEnd();
    return o.str();
}

// ---------------------------------------------------------------------------
// Visitor

std::string visitorHeader(const Schema& s) {
    std::ostringstream o;
    o << kBanner
      << "// The base of every pass over the suite tree. One virtual Visit per tree kind,\n"
      << "// in grammar order; the defaults walk the children in schema order, so a pass\n"
      << "// overrides the kinds it cares about and inherits the walk for the rest:\n"
      << "//   sequence: each present field in order;\n"
      << "//   list:     each element, re-reading size() after each one;\n"
      << "//   choice:   the alternative held, or \"Unhandled choice in <Kind>: %s\\n\";\n"
      << "//   leaf:     nothing.\n"
      << "// The defaults never hand an empty view to a Visit: absent fields and missing\n"
      << "// elements are skipped.\n"
      << "#pragma once\n\n#include \"tree/AccessNode.h\"\n#include \"tree/TreeViews.h\"\n\n" << guardBegin();
    o << "class AccessVisitor {\npublic:\n    virtual ~AccessVisitor();\n\n"
      << "    // Calls the Visit of the node's kind. An empty node reports\n"
      << "    // \"Illegal node in Visit( const AccessNode ).\\n\", a node whose kind has no\n"
      << "    // Visit reports \"AccessVisitor::Visit: Failed for choice %s\\n\"; both visit nothing.\n"
      << "    void Visit(const AccessNode& node);\n\n";
    for (const Kind& k : s.kinds) {
        if (k.role == Role::Text || k.role == Role::Keyword)
            o << "    virtual void Visit" << k.name << "(const " << k.name << "&) {}\n";
        else
            o << "    virtual void Visit" << k.name << "(const " << k.name << "& node);\n";
    }
    o << "};\n" << guardEnd();
    return o.str();
}

std::string visitorDispatchSource(const Schema& s) {
    std::ostringstream o;
    o << kBanner << "#include \"tree/AccessVisitor.h\"\n\n#include \"tree/AccessReport.h\"\n\n" << guardBegin();
    o << "AccessVisitor::~AccessVisitor() = default;\n\n"
      << "void AccessVisitor::Visit(const AccessNode& node) {\n"
      << "    const AccessNode held(node);  // the walk may change what `node` refers to\n"
      << "    switch (held.choice()) {\n"
      << "    case Choices::invalid_choice:\n"
      << "        accessReport(\"Illegal node in Visit( const AccessNode ).\\n\");\n        return;\n";
    for (const Kind& k : s.kinds)
        o << "    case Choices::" << k.name << ": Visit" << k.name << "(" << k.name << "(held.treeNode())); return;\n";
    o << "    default:\n"
      << "        accessReport(\"AccessVisitor::Visit: Failed for choice %s\\n\", Choices::to_char(held.choice()));\n"
      << "        return;\n    }\n}\n" << guardEnd();
    return o.str();
}

std::string visitorSource(const Schema& s, std::size_t first, std::size_t last) {
    std::ostringstream o;
    o << kBanner << "#include \"tree/AccessVisitor.h\"\n\n#include \"tree/AccessReport.h\"\n\n" << guardBegin();
    for (std::size_t i = first; i < last; ++i) {
        const Kind& k = s.kinds[i];
        switch (k.role) {
        case Role::Sequence:
            o << "void AccessVisitor::Visit" << k.name << "(const " << k.name << "& node) {\n";
            for (const Item& f : k.items)
                o << "    if (const " << f.kind << " field = node." << f.accessor << "(); !field.isEmpty()) Visit"
                  << f.kind << "(field);\n";
            o << "}\n\n";
            break;
        case Role::List:
            o << "void AccessVisitor::Visit" << k.name << "(const " << k.name << "& node) {\n"
              << "    for (int32_t i = 0; i < node.size(); ++i)\n"
              << "        if (const " << k.items[0].kind << " element = node." << k.items[0].accessor
              << "(i); !element.isEmpty()) Visit" << k.items[0].kind << "(element);\n}\n\n";
            break;
        case Role::Choice:
            o << "void AccessVisitor::Visit" << k.name << "(const " << k.name << "& node) {\n"
              << "    switch (const int32_t held = node.choice()) {\n";
            for (const Item& a : k.items)
                o << "    case Choices::" << a.kind << ": Visit" << a.kind << "(node." << a.accessor << "()); break;\n";
            o << "    default: accessReport(\"Unhandled choice in " << k.name
              << ": %s\\n\", Choices::to_char(held)); break;\n    }\n}\n\n";
            break;
        case Role::Text:
        case Role::Keyword:
            break;
        }
    }
    o << guardEnd();
    return o.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: xlator_gen_access <schema.def> <output folder>\n";
        return 2;
    }
    Schema schema = readSchema(argv[1]);
    checkSchema(schema, argv[1]);
    for (const Kind& k : schema.kinds) schema.numberOf[k.name] = k.number;
    for (const auto& [number, name] : schema.objects) schema.numberOf[name] = number;

    Output out(argv[2]);
    out.write("Choices.h", choicesHeader(schema));
    out.write("Choices.cpp", choicesSource(schema));
    const Elision elision = computeElision(schema, argv[1]);
    out.write("KindTable.cpp", kindTableSource(schema, elision));
    out.write("SymbolCode.h", symbolCodeHeader(schema));
    out.write("TreeViews.h", viewsHeader(schema, elision));
    out.write("AccessVisitor.h", visitorHeader(schema));
    out.write("AccessVisitorDispatch.cpp", visitorDispatchSource(schema));
    const std::size_t n = schema.kinds.size();
    for (int part = 0; part < kSplit; ++part) {
        const std::size_t first = n * part / kSplit, last = n * (part + 1) / kSplit;
        out.write("TreeViews" + std::to_string(part) + ".cpp", viewsSource(schema, elision, first, last));
        out.write("AccessVisitor" + std::to_string(part) + ".cpp", visitorSource(schema, first, last));
    }
    return 0;
}
