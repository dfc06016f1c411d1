// The MP reader: reads the "$"-keyword structure of a TTCN.MP file into a
// document of parts, groups, tables and rows (see Document.h).
//
// It reads generically where the notation is uncertain: "$Begin_X ... $End_X"
// is a table, "$X ... $End_X" is a part, a group, a row or (for any other X) a
// transparent grouping whose contents belong to the enclosing node; every
// other "$X" is a field whose text runs to the next keyword.
#include "suite/mp/MpImport.h"
#include "suite/mp/MpScanner.h"
#include "suite/mp/TableLayout.h"
#include "platform/InputFile.h"
#include "suite/LibrarySettings.h"
#include "suite/OutOfMemory.h"
#include "suite/TextSpan.h"

#include <cstring>
#include <optional>
#include <unordered_set>

namespace {

constexpr int kMaxNesting = 200;

struct ReadFailure {
    LibraryErrorCode code;
    int32_t line;
    std::string detail;
};

using textspan::isBlank;
using textspan::startsWith;
using textspan::trim;

std::string_view firstWord(std::string_view text) {
    text = trim(text);
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end])) ++end;
    return text.substr(0, end);
}

// Joins pieces of a message (appending, which keeps the compiler's overlap checks quiet).
std::string join(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (std::string_view piece : pieces) out.append(piece);
    return out;
}

bool keywordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '&';
}


// Fields that hold an identifier with an optional full identifier.
bool isFullIdentifierField(std::string_view field) {
    return field == "StructId" || field == "ElemId" || field == "ASN1_TypeId" || field == "ASP_Id" ||
           field == "ASP_ParId" || field == "PDU_Id" || field == "PDU_FieldId" || field == "CM_ParId";
}

// Fields that hold a group path ("G1/G2/").
bool isGroupPathField(std::string_view field) {
    return field == "TestGroupRef" || field == "TestStepRef" || field == "DefaultRef" || field == "SO_TestGroupRef" ||
           field == "SO_TestStepRef" || field == "SO_DefaultRef" ||
           (field.size() > 8 && field.substr(field.size() - 8) == "GroupRef");
}

SuiteNodeType partByKeyword(std::string_view name) {
    if (name == "SuiteOverviewPart" || name == "TTCN_ModuleOverviewPart" || name == "PackageOverviewPart")
        return SuiteNodeType::SuiteOverviewPart;
    if (name == "ImportPart" || name == "TTCN_ModuleImportPart" || name == "PackageImportPart")
        return SuiteNodeType::ImportPart;
    if (name == "DeclarationsPart") return SuiteNodeType::DeclarationsPart;
    if (name == "ConstraintsPart") return SuiteNodeType::ConstraintsPart;
    if (name == "DynamicPart") return SuiteNodeType::DynamicPart;
    return SuiteNodeType::None;
}

// The list groupings of the notation: "$X ... $End_X" around tables, groups
// or the parts of a part. They are read as groupings without looking ahead.
bool isKnownListGrouping(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "Definitions", "TS_TypeDefs", "EncodingDefs", "ParameterizationAndSelection", "ParamAndSelection",
        "Declarations", "ComplexDefinitions", "ASP_TypeDefs", "PDU_TypeDefs", "CM_TypeDefs", "StructTypeDefs",
        "ASN1_TypeDefs", "EncodingVariations", "InvalidFieldEncodingDefs", "TS_OpDefs", "TS_ProcDefs",
        "TCompConfigDcls", "TTCN_ASP_TypeDefs", "ASN1_ASP_TypeDefs", "TTCN_PDU_TypeDefs", "ASN1_PDU_TypeDefs",
        "TTCN_CM_TypeDefs", "ASN1_CM_TypeDefs", "TS_TypeConstraints", "ASP_Constraints", "PDU_Constraints",
        "CM_Constraints", "StructTypeConstraints", "ASN1_TypeConstraints", "TTCN_ASP_Constraints",
        "ASN1_ASP_Constraints", "TTCN_PDU_Constraints", "ASN1_PDU_Constraints", "TTCN_CM_Constraints",
        "ASN1_CM_Constraints", "TestCases", "TestStepLibrary", "DefaultsLibrary"};
    for (std::string_view known : kNames)
        if (known == name) return true;
    return false;
}

bool endMatches(std::string_view endName, std::string_view opened) {
    return endName == opened || (opened == "TTCN_ModuleExports" && endName == "ModuleExports");
}

// A behaviour line whose statement is only "Name" or "Name(params)" is a tree
// header written as an ordinary line.
bool looksLikeTreeHeader(std::string_view statement) {
    statement = trim(statement);
    if (statement.empty() || !((statement[0] >= 'A' && statement[0] <= 'Z') || (statement[0] >= 'a' && statement[0] <= 'z')))
        return false;
    std::size_t i = 0;
    while (i < statement.size() &&
           ((statement[i] >= 'A' && statement[i] <= 'Z') || (statement[i] >= 'a' && statement[i] <= 'z') ||
            (statement[i] >= '0' && statement[i] <= '9') || statement[i] == '_'))
        ++i;
    // A statement keyword (RETURN, CANCEL, CREATE(...), ACTIVATE(...)) is a statement, not a tree name.
    static constexpr std::string_view kStatementKeywords[] = {"RETURN", "CREATE", "ACTIVATE", "GOTO", "REPEAT",
                                                               "START", "CANCEL", "READTIMER", "OTHERWISE",
                                                               "TIMEOUT", "DONE"};
    for (std::string_view keyword : kStatementKeywords)
        if (statement.substr(0, i) == keyword) return false;
    std::string_view rest = trim(statement.substr(i));
    if (rest.empty()) return true;
    return rest.front() == '(' && rest.back() == ')';
}

// "[n] statement": the indentation n (0 when there is none) and the statement.
int32_t readIndentation(std::string_view line, std::string_view* statement) {
    line = trim(line);
    *statement = line;
    if (line.empty() || line.front() != '[') return 0;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) return 0;
    std::string_view number = trim(line.substr(1, close - 1));
    // "[]" is level 0. Anything but a number that fits is no indentation: the
    // line stays whole, and the field parser refuses it.
    std::optional<int32_t> value = number.empty() ? 0 : textspan::decimal<int32_t>(number);
    if (!value) return 0;
    *statement = line.substr(close + 1);
    return *value;
}

struct TableState {
    SuiteNode* node;
    uint64_t filled = 0;  // bit i: cell i has been read
    bool bodyStarted = false;
    bool expectTreeHeader = false;
};

// Is `name` one of the field keywords of the node's layout?
bool isLayoutField(const SuiteNode* node, std::string_view name) {
    const NodeLayout& layout = layoutOf(node->type);
    for (int i = 0; i < layout.fieldCount; ++i)
        if (keywordListContains(layout.fields[i].keywords, name)) return true;
    return false;
}

class Reader {
public:
    Reader(Document& document, const MpImportOptions& options)
        : document_(document),
          options_(options),
          scanner_(document.buffer(), scannerBufferSize(), options.log) {}

    void read();

private:
    void advance() {
        token_ = scanner_.next();
        if (token_.kind == MpToken::Overflow)
            throw ReadFailure{LibraryErrorCode::ScannerBufferOverflow, token_.line, {}};
    }
    [[noreturn]] void fail(const std::string& detail) {
        throw ReadFailure{LibraryErrorCode::SyntaxError, token_.line, detail};
    }
    void expectMore(std::string_view opened) {
        if (token_.kind == MpToken::End) fail(join({"end of file before $End_", opened}));
    }
    // Moves to the next keyword inside "$opened ... $End_opened": false at that
    // end, a syntax error at the end of the file or at any other "$End_".
    bool nextInside(std::string_view opened) {
        advance();
        expectMore(opened);
        std::string_view name = token_.name;
        if (!startsWith(name, "End_")) return true;
        if (endMatches(name.substr(4), opened)) return false;
        fail(join({"$", name, " where $End_", opened, " was expected"}));
    }
    bool hasEndLater(std::string_view name);
    void warn(const std::string& text, const std::string& place);
    std::string placeOf(const SuiteNode* node) const;

    void readContainer(SuiteNode* container, std::string_view opened, int depth);
    void readTable(TableState& state, std::string_view opened, int depth);
    void readRow(SuiteNode* row, std::string_view opened, int depth);
    void skipGrouping(std::string_view opened, int depth);
    bool skippedCollectiveComment(std::string_view name, const SuiteNode* owner, int depth);
    void fillCell(TableState& state, std::string_view keyword, std::string_view text, int32_t line);
    void unknownField(const SuiteNode* node, std::string_view keyword, std::string_view text);
    void finishBehaviourLine(SuiteNode* row);
    std::string_view cellText(std::string_view field, std::string_view raw, bool* badFullIdentifier);
    void attach(SuiteNode* container, SuiteNode* child) {
        child->parent = container;
        container->children.push_back(child);
    }

    Document& document_;
    const MpImportOptions& options_;
    MpScanner scanner_;
    MpToken token_;
    bool endNamesKnown_ = false;
    bool concurrentNodeReported_ = false;
    std::unordered_set<std::string_view> endNames_;
};

bool Reader::hasEndLater(std::string_view name) {
    // The names that some "$End_" closes, collected in one pass over the file
    // the first time an unknown keyword needs them, so that any number of
    // unknown keywords costs one pass.
    if (!endNamesKnown_) {
        endNamesKnown_ = true;
        std::string_view buffer = document_.buffer();
        for (std::size_t at = buffer.find("$End_"); at != std::string_view::npos; at = buffer.find("$End_", at + 5)) {
            std::size_t end = at + 5;
            while (end < buffer.size() && keywordCharacter(buffer[end])) ++end;
            endNames_.insert(buffer.substr(at + 5, end - at - 5));
        }
    }
    return endNames_.count(name) != 0;
}

void Reader::warn(const std::string& text, const std::string& place) {
    if (options_.log) std::fprintf(options_.log, "%s\nin %s\n", text.c_str(), place.c_str());
}

std::string Reader::placeOf(const SuiteNode* node) const {
    std::string place = suiteNodeTypeName(node->type);
    std::string_view name = node->objectName();
    if (!name.empty()) place.append(" ").append(name);
    place.append(" (line ").append(std::to_string(node->line)).append(")");
    return place;
}

std::string_view Reader::cellText(std::string_view field, std::string_view raw, bool* badFullIdentifier) {
    std::string_view text = trim(raw);
    if (isFullIdentifierField(field) && text.find('(') != std::string_view::npos) {
        std::string rewritten(text);
        if (!rewriteFullIdentifier(rewritten)) *badFullIdentifier = true;
        text = document_.arena().copyText(rewritten);
    }
    if (isGroupPathField(field)) {
        std::string_view suite = document_.name();
        if (!suite.empty() && startsWith(text, suite) && text.size() > suite.size() && text[suite.size()] == '/')
            text.remove_prefix(suite.size() + 1);
    }
    return text;
}

void Reader::unknownField(const SuiteNode* node, std::string_view keyword, std::string_view text) {
    if (keyword == "CollectiveComment" || keyword == "CollectiveComments") {
        warn("Warning: Collective Comments isn't supported by Kestrel:", placeOf(node));
    } else if (node->type == SuiteNodeType::TS_ParDcl &&
               (keyword == "TS_ParValue" || keyword == "TS_ParDefault" || keyword == "TS_ParDefaultValue" ||
                keyword == "DefaultValue")) {
        warn("Warning: default values of TS Parameters isn't supported by Kestrel:", placeOf(node));
    } else if (node->type == SuiteNodeType::CP_Dcl && (keyword == "CP_Role" || keyword == "CPRole" || keyword == "Role")) {
        // This warning's text ends in a line end of its own, so an empty line comes before its place.
        warn(join({"Warning: CP Role information discarded: ", trim(text), "\n"}), placeOf(node));
    } else if (keyword == "Configuration" &&
               (node->type == SuiteNodeType::TestStep || node->type == SuiteNodeType::DefaultCase)) {
        // A test configuration belongs to test cases only (concurrent TTCN).
        if (!concurrentNodeReported_ && options_.log) std::fputs("Illegal concurrent node\n", options_.log);
        concurrentNodeReported_ = true;
    }
    // Any other unknown field is an extension of some writer: skipped.
}

void Reader::fillCell(TableState& state, std::string_view keyword, std::string_view text, int32_t line) {
    SuiteNode* node = state.node;
    const NodeLayout& layout = layoutOf(node->type);
    int index = -1;
    if (keyword == "Comment" && state.bodyStarted) index = layout.indexOf("DetailedComment");
    if (index < 0) {
        bool filled[64] = {};
        for (int i = 0; i < layout.fieldCount && i < 64; ++i) filled[i] = (state.filled >> i) & 1u;
        index = fieldForKeyword(layout, keyword, filled);
    }
    if (index < 0) {
        unknownField(node, keyword, text);
        return;
    }
    state.filled |= uint64_t{1} << index;
    Cell& cell = node->cells[index];
    cell.line = line;
    bool badFullIdentifier = false;
    cell.text = cellText(cell.field, text, &badFullIdentifier);
    if (badFullIdentifier) warn("Syntax error in idandfullid", join({"$", keyword, " of ", placeOf(node)}));
}

void Reader::finishBehaviourLine(SuiteNode* row) {
    Cell* line = row->cell("Line");
    if (!line || line->empty()) return;
    std::string_view statement;
    row->indentation = readIndentation(line->text, &statement);
    if (row->indentation == 0 && looksLikeTreeHeader(statement) && row->text("Cref").empty() &&
        row->text("VerdictId").empty() &&
        row->text("LabelId").empty()) {
        Cell* header = row->cell("Header");
        header->text = trim(statement);
        header->line = line->line;
        line->text = {};
        line->line = 0;
        row->treeHeader = true;
        row->indentation = 0;
    }
}

void Reader::skipGrouping(std::string_view opened, int depth) {
    if (depth > kMaxNesting) fail("tables nested too deeply");
    for (;;) {
        advance();
        expectMore(opened);
        std::string_view name = token_.name;
        // Inside a skipped table only its own end counts; inner groupings are skipped with it.
        if (startsWith(name, "End_") && endMatches(name.substr(4), opened)) return;
        if (startsWith(name, "Begin_")) skipGrouping(name.substr(6), depth + 1);
    }
}

// Collective comments have no place in the suite tree: a warning, and the
// grouping is passed over.
bool Reader::skippedCollectiveComment(std::string_view name, const SuiteNode* owner, int depth) {
    if (name != "CollectiveComment" && name != "CollectiveComments") return false;
    warn("Warning: Collective Comments isn't supported by Kestrel:", placeOf(owner));
    skipGrouping(name, depth);
    return true;
}

void Reader::readRow(SuiteNode* row, std::string_view opened, int depth) {
    if (depth > kMaxNesting) fail("tables nested too deeply");
    TableState state{row};
    while (nextInside(opened)) {
        std::string_view name = token_.name;
        if (startsWith(name, "Begin_")) fail(join({"table $", name, " inside a row"}));
        if (trim(token_.text).empty() && !isLayoutField(row, name) && hasEndLater(name)) {
            // An unknown grouping inside a row (a writer's extension): its fields count as the row's.
            readRow(row, name, depth + 1);
            continue;
        }
        fillCell(state, name, token_.text, token_.line);
    }
    if (row->type == SuiteNodeType::BehaviourLine) finishBehaviourLine(row);
}

void Reader::readTable(TableState& state, std::string_view opened, int depth) {
    if (depth > kMaxNesting) fail("tables nested too deeply");
    SuiteNode* table = state.node;
    const NodeLayout& layout = layoutOf(table->type);
    const NodeLayout& rowLayout = layoutOf(layout.rowType);
    bool behaviour = layout.rowType == SuiteNodeType::BehaviourLine;
    while (nextInside(opened)) {
        std::string_view name = token_.name;
        if (startsWith(name, "Begin_")) fail(join({"table $", name, " inside table ", placeOf(table)}));
        bool isRow = layout.rowType != SuiteNodeType::None && keywordListContains(rowLayout.keywords, name);
        if (isRow || (behaviour && name == "Header")) {
            SuiteNode* row = document_.makeNode(layout.rowType, token_.line);
            row->parent = table;
            table->rows.push_back(row);
            state.bodyStarted = true;
            if (isRow) {
                readRow(row, name, depth + 1);
            } else {
                Cell* header = row->cell("Header");
                header->text = trim(token_.text);
                header->line = token_.line;
                row->treeHeader = true;
            }
            if (state.expectTreeHeader) {
                state.expectTreeHeader = false;
                if (!row->treeHeader) warn("No tree header as a first behaviourline", placeOf(table));
            }
            continue;
        }
        if (trim(token_.text).empty() && !isLayoutField(table, name) &&
            (keywordListContains(layout.rowGroupings, name) || hasEndLater(name))) {
            if (keywordListContains(layout.rowGroupings, name)) state.bodyStarted = true;
            if (behaviour && name == "LocalTree") state.expectTreeHeader = true;
            if (skippedCollectiveComment(name, table, depth + 1)) continue;
            readTable(state, name, depth + 1);
            continue;
        }
        fillCell(state, name, token_.text, token_.line);
    }
}

void Reader::readContainer(SuiteNode* container, std::string_view opened, int depth) {
    if (depth > kMaxNesting) fail("groups nested too deeply");
    TableState state{container};
    while (nextInside(opened)) {
        std::string_view name = token_.name;
        if (startsWith(name, "Begin_")) {
            std::string_view tableName = name.substr(6);
            SuiteNodeType type = tableByKeyword(tableName);
            if (type == SuiteNodeType::None) {
                skipGrouping(tableName, depth + 1);  // exports and other tables the suite tree does not hold
                continue;
            }
            SuiteNode* table = document_.makeNode(type, token_.line);
            attach(container, table);
            TableState tableState{table};
            readTable(tableState, tableName, depth + 1);
            continue;
        }
        if (SuiteNodeType part = partByKeyword(name); part != SuiteNodeType::None) {
            SuiteNode* node = document_.makeNode(part, token_.line);
            attach(document_.root(), node);
            readContainer(node, name, depth + 1);
            continue;
        }
        SuiteNodeType type = groupOrRowByKeyword(name);
        if (type != SuiteNodeType::None && suiteNodeRole(type) == NodeRole::Group) {
            SuiteNode* group = document_.makeNode(type, token_.line);
            attach(container, group);
            readContainer(group, name, depth + 1);
            continue;
        }
        if (type != SuiteNodeType::None) fail(join({"row $", name, " outside a table"}));
        if (SuiteNodeType table = tableByKeyword(name); table != SuiteNodeType::None && hasEndLater(name)) {
            // A table written as "$X ... $End_X" (compact test groups of some writers).
            SuiteNode* node = document_.makeNode(table, token_.line);
            attach(container, node);
            TableState tableState{node};
            readTable(tableState, name, depth + 1);
            continue;
        }
        if (trim(token_.text).empty() && !isLayoutField(container, name) &&
            (isKnownListGrouping(name) || hasEndLater(name))) {
            if (skippedCollectiveComment(name, container, depth + 1)) continue;
            readContainer(container, name, depth + 1);  // a list grouping: transparent
            continue;
        }
        if (container->role == NodeRole::Group) fillCell(state, name, token_.text, token_.line);
        else unknownField(container, name, token_.text);
    }
}

void Reader::read() {
    advance();
    if (token_.kind != MpToken::Keyword) fail("no $Suite, $TTCN_Module or $Package at the start");
    std::string_view before = document_.buffer().substr(0, static_cast<std::size_t>(token_.name.data() - 1 - document_.buffer().data()));
    if (!trim(before).empty()) fail(join({"text before $", token_.name}));
    std::string_view head = token_.name;
    std::string_view idKeyword;
    if (head == "Suite") {
        document_.setType(DocumentType::TestSuite);
        idKeyword = "SuiteId";
    } else if (head == "TTCN_Module") {
        document_.setType(DocumentType::Module);
        idKeyword = "TTCN_ModuleId";
    } else if (head == "Package") {
        document_.setType(DocumentType::Package);
        idKeyword = "PackageId";
    } else {
        fail(join({"$", head, " where $Suite, $TTCN_Module or $Package was expected"}));
    }
    // Some writers put a flag token of their own after "$Suite": its text is ignored.
    SuiteNode* root = document_.root();
    root->line = token_.line;
    advance();
    if (token_.kind != MpToken::Keyword || token_.name != idKeyword)
        fail(join({"$", idKeyword, " expected after $", head}));
    document_.setName(firstWord(token_.text));
    if (document_.name().empty()) fail(join({"$", idKeyword, " without a name"}));
    readContainer(root, head, 1);
}

std::string formatFailure(const std::string& fileName, const ReadFailure& failure) {
    std::string text = join({fileName, ":", std::to_string(failure.line), ": ", libraryErrorText(failure.code)});
    if (!failure.detail.empty()) text.append(" (").append(failure.detail).append(")");
    return text;
}

void traceCreated(const Document& document, const MpImportOptions& options) {
    std::FILE* out = options.trace;
    if (!out && LibrarySettings::mpInputTrace()) out = stderr;
    if (!out) return;
    const std::string& destination = options.destination.empty() ? document.fileName() : options.destination;
    std::fprintf(out, "Created %s %.*s in %s\n", documentTypeName(document.type()),
                 static_cast<int>(document.name().size()), document.name().data(), destination.c_str());
}

}  // namespace

bool rewriteFullIdentifier(std::string& text) {
    std::size_t open = text.find('(');
    if (open == std::string::npos) return true;
    std::size_t at = open + 1;
    while (at < text.size() && isBlank(text[at])) ++at;
    if (text.compare(at, 2, "/*") != 0) return false;
    text.erase(at, 2);
    if (at < text.size() && text[at] == ' ') text.erase(at, 1);
    std::size_t end = text.size();
    while (end > at && isBlank(text[end - 1])) --end;
    if (end == at || text[end - 1] != ')') return false;
    std::size_t close = end - 1;
    while (close > at && isBlank(text[close - 1])) --close;
    if (close < at + 2 || text.compare(close - 2, 2, "*/") != 0) return false;
    std::size_t from = close - 2;
    if (from > at && text[from - 1] == ' ') --from;
    text.resize(from);
    text.push_back(')');
    for (std::size_t i = text.find("\\*/", open); i != std::string::npos; i = text.find("\\*/", i + 2))
        text.erase(i, 1);
    return true;
}

FileKind classifyBytes(std::string_view head) {
    if (startsWith(head, "== 19960308") || startsWith(head, "== 19920731")) return FileKind::StoredSuite;
    std::size_t at = 0;
    while (at < head.size() && isBlank(head[at])) ++at;
    std::string_view rest = head.substr(at);
    if (startsWith(rest, "$Suite") || startsWith(rest, "$TTCN_Module") || startsWith(rest, "$Package"))
        return FileKind::Mp;
    return FileKind::Unreadable;
}

namespace {
constexpr std::size_t kHeadSize = 512;

// Classifies the head of a file and sets the error of what cannot be loaded.
FileKind classifyHead(const std::string& fileName, std::string_view bytes, LibraryError& error) {
    FileKind kind = classifyBytes(bytes);
    if (kind == FileKind::Unreadable) {
        setLibraryError(error, LibraryErrorCode::FileNotReadable, fileName, {}, "classifyFile", __FILE__, __LINE__);
    } else if (kind == FileKind::StoredSuite) {
        // "== <date> <version>": only version 8 is a storage version at all.
        std::string_view rest = trim(bytes.substr(11));
        std::optional<int> version = textspan::decimal<int>(firstWord(rest));
        if (version != 8) {
            setLibraryError(error, LibraryErrorCode::IllegalVersion, fileName, {}, "classifyFile", __FILE__, __LINE__);
        } else {
            setLibraryError(error, LibraryErrorCode::FileNotReadable, fileName, {}, "classifyFile", __FILE__, __LINE__);
            error.text = join({"File ", fileName, " is a stored suite; only TTCN.MP files can be loaded"});
        }
    }
    return kind;
}

// Opens the file and reads its head. Only a regular file is read: a FIFO or
// a device would block or never end, so it is "not found or not readable".
bool openAndReadHead(const std::string& fileName, InputFile& file, std::string& head, LibraryError& error) {
    if (file.open(fileName) && file.read(head, kHeadSize)) return true;
    setLibraryError(error, LibraryErrorCode::FileNotReadable, fileName, {}, "classifyFile", __FILE__, __LINE__);
    return false;
}
}  // namespace

FileKind classifyFile(const std::string& fileName, LibraryError& error) {
    InputFile file;
    std::string head;
    if (!openAndReadHead(fileName, file, head, error)) return FileKind::Unreadable;
    return classifyHead(fileName, head, error);
}

namespace {
std::unique_ptr<Document> readDocument(const std::string& fileName, std::string text, const MpImportOptions& options,
                                       LibraryError& error) {
    auto document = std::make_unique<Document>(fileName, std::move(text));
    try {
        Reader reader(*document, options);
        reader.read();
    } catch (const ReadFailure& failure) {
        setLibraryError(error, failure.code, fileName, {}, "importMp", __FILE__, __LINE__);
        error.text = formatFailure(fileName, failure);
        return nullptr;
    } catch (const std::bad_alloc&) {
        document.reset();  // gives the memory back first
        libraryOutOfMemory();
        setLibraryError(error, LibraryErrorCode::OutOfMemory, fileName, {}, "importMp", __FILE__, __LINE__);
        return nullptr;
    }
    return document;
}
}  // namespace

std::unique_ptr<Document> importMpText(const std::string& fileName, std::string text, const MpImportOptions& options,
                                       LibraryError& error) {
    auto document = readDocument(fileName, std::move(text), options, error);
    if (document) traceCreated(*document, options);
    return document;
}

std::unique_ptr<Document> importMpFile(const std::string& fileName, const MpImportOptions& options,
                                       LibraryError& error) {
    // The head decides whether the rest is read at all; both come through one descriptor.
    InputFile file;
    std::string text;
    if (!openAndReadHead(fileName, file, text, error)) return nullptr;
    if (classifyHead(fileName, text, error) != FileKind::Mp) return nullptr;
    if (!file.readRest(text)) {
        setLibraryError(error, LibraryErrorCode::FileNotReadable, fileName, {}, "importMpFile", __FILE__, __LINE__);
        return nullptr;
    }
    return importMpText(fileName, std::move(text), options, error);
}

int importMp(const std::string& fileName, const MpImportOptions& options, std::unique_ptr<Document>& result,
             LibraryError& error) {
    if (fileName.empty()) {
        setLibraryError(error, LibraryErrorCode::IllegalMpInputParameters, {}, {}, "importMp", __FILE__, __LINE__);
        return kMpImportBadParameters;
    }
    result = importMpFile(fileName, options, error);
    if (result) return kMpImported;
    // The library's formatting of the error (long form with VELD_LONG_ERRORS), cut to the log's limit.
    std::string text = formatLibraryError(error).substr(0, 264);
    std::fprintf(options.log ? options.log : stderr, "%s\n", text.c_str());
    return kMpImportFailed;
}

std::unique_ptr<Document> newDocument(DocumentType type, const std::string& name, const MpImportOptions& options,
                                      LibraryError& error) {
    const char* head = nullptr;
    switch (type) {
    case DocumentType::TestSuite:
    case DocumentType::ModularTestSuite:
    case DocumentType::FlatView: head = "$Suite $SuiteId %s $End_Suite"; break;
    case DocumentType::Module: head = "$TTCN_Module $TTCN_ModuleId %s $End_TTCN_Module"; break;
    case DocumentType::Package: head = "$Package $PackageId %s $End_Package"; break;
    default:
        setLibraryError(error, LibraryErrorCode::IllegalMpInputParameters, {}, {}, "newDocument", __FILE__, __LINE__);
        return nullptr;
    }
    std::string skeleton(head);
    skeleton.replace(skeleton.find("%s"), 2, name);
    auto document = readDocument(name, skeleton, options, error);
    if (!document) {
        setLibraryError(error, LibraryErrorCode::CannotCreateRoot, name, {}, "newDocument", __FILE__, __LINE__);
        return nullptr;
    }
    document->setType(type);
    traceCreated(*document, options);
    return document;
}
