// The raw document model of the MP importer: what a TTCN.MP file becomes
// before its field texts are parsed.
//
//   Document                       one MP file (test suite, TTCN module or package)
//   └─ SuiteNode role Document     type ASuite, the root of the document's nodes
//      └─ SuiteNode role Part      SuiteOverviewPart, ImportPart, DeclarationsPart,
//         │                        ConstraintsPart, DynamicPart (in file order)
//         ├─ SuiteNode role Table  e.g. SimpleTypeDefs, StructTypeDef, TestCase
//         │  ├─ cells              the header fields, then the footer DetailedComment
//         │  └─ rows               SuiteNode role Row (ElemDcl, BehaviourLine, ...)
//         │     └─ cells           the row's fields
//         └─ SuiteNode role Group  constraint groups, TestGroup, TestStepGroup,
//            ├─ cells              DefaultGroup: the group id (and, for a TestGroup,
//            └─ children           SelExprId and Objective); children are tables
//                                  and nested groups, in file order
//
// Every node type is named after the suite tree kind it turns into (see
// SuiteNodeTypes.def): the table of a test case is a `TestCase`, a row of a
// structured type is an `ElemDcl`, a row of a behaviour description is a
// `BehaviourLine`, a multiple-object table such as the simple types is a
// `SimpleTypeDefs` whose rows are `SimpleTypeDef`.
//
// The list groupings of the MP text ($StructTypeDefs, $TestCases,
// $TestStepLibrary, $TTCN_ASP_Constraints, ...) make no nodes: their tables are
// children of the part (or of the enclosing group), so the lists of the suite
// tree are the children of one type, in file order.
//
// Cells: a node has exactly the cells of its type's layout (TableLayout.h), in
// the schema's field order, whether or not the MP text had the field; a field
// the file did not have is a cell with empty text. `SuiteNode::fieldOf` gives
// the schema kind name of a cell's field ("TestCaseId", "Line",
// "DetailedComment"), and the field parser picks its grammar from it. The trailing "$Comment" of a table
// (after its body) is the cell "DetailedComment"; the "$Comment" before the
// body is "Comment".
//
// Behaviour descriptions (TestCase, TestStep, DefaultCase): the rows are the
// behaviour lines and the tree headers in file order. Each has the cells
// LineNumber, LabelId, Line, Cref, VerdictId, Comment, Header. A tree-header row
// has `treeHeader` set and only its "Header" cell filled ("Name(params)"); an
// ordinary line has `indentation` from its "$Line [n]" and its "Line" cell
// holds the whole text including "[n]".
//
// The field parser fills `Cell::tree` (a node whose kind is the cell's field
// kind, e.g. a `TestCaseId` node holding an `Identifier`, a `Comment` text leaf)
// and `Cell::state`; the tree builder (SuiteTreeBuilder.h) then hangs these
// trees under the table and row nodes. A cell is present in the suite tree
// exactly when its tree is not null.
#pragma once

#include "tree/TreeArena.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TreeNode;

// Document types, numbered as the library numbers them.
enum class DocumentType : int {
    Unknown = 0,
    TestSuite = 1,
    Module = 2,
    Package = 3,
    ModularTestSuite = 4,
    FlatView = 5,
    TestSuiteIndex = 6,
};

// "(Unknown)", "TestSuite", "Module", "Package", "ModularTestSuite",
// "FlatView", "TestSuiteIndex".
const char* documentTypeName(DocumentType type);

enum class SuiteNodeType : uint8_t {
    None = 0,
#define SUITE_NODE(name, role) name,
#include "suite/mp/SuiteNodeTypes.def"
#undef SUITE_NODE
    Last
};

enum class NodeRole : uint8_t { Document, Part, Group, Table, Row };

// The kind name of a node type ("TestCase"); "" for None and Last.
const char* suiteNodeTypeName(SuiteNodeType type);
NodeRole suiteNodeRole(SuiteNodeType type);
// The node type of a kind name; None when there is none.
SuiteNodeType suiteNodeTypeByName(std::string_view name);

// Parse state of one cell.
enum class ParseState : uint8_t { NotParsed, Parsed, ParsedWithErrors };

// A cell's text: where it starts and how long it is, in 12 bytes, read as a
// std::string_view. Points into the document's file buffer while it is read, into
// its arena afterwards (Document::releaseBuffer).
struct [[gnu::packed]] CellText {
    const char* start = nullptr;
    uint32_t length = 0;

    CellText() = default;
    explicit CellText(std::string_view text) : start(text.data()), length(static_cast<uint32_t>(text.size())) {}
    CellText& operator=(std::string_view text) {
        start = text.data();
        length = static_cast<uint32_t>(text.size());
        return *this;
    }
    operator std::string_view() const { return {start, length}; }
    std::string_view view() const { return {start, length}; }
    bool empty() const { return length == 0; }
    std::size_t size() const { return length; }
    const char* data() const { return start; }
    std::string_view substr(std::size_t at, std::size_t count = std::string_view::npos) const {
        return view().substr(at, count);
    }
    std::size_t find_first_of(std::string_view set, std::size_t at = 0) const { return view().find_first_of(set, at); }
    friend bool operator==(const CellText& a, std::string_view b) { return a.view() == b; }
};

// One field of a table header or of a row: 24 bytes, a suite has millions.
// Which field it is follows from its place in its node (SuiteNode::fieldOf,
// SuiteNode::kindOf).
struct Cell {
    // The field's text after the white-space handling (trimmed at both ends;
    // full identifiers rewritten; group paths without the suite's own name).
    // A text of 4 GB or more keeps its first 4 GB.
    CellText text;
    // Line of the field's keyword in the MP file (1-based); 0 when the file
    // did not have the field. Lines from 2^29 on are not told apart.
    int32_t line : 30 = 0;

private:
    uint32_t parseState_ : 2 = 0;

public:
    // The parse tree, set by the field parser.
    TreeNode* tree = nullptr;

    ParseState state() const { return static_cast<ParseState>(parseState_); }
    void setState(ParseState state) { parseState_ = static_cast<uint32_t>(state) & 3u; }
    bool empty() const { return text.empty(); }
};

static_assert(sizeof(Cell) == 24, "a cell is 24 bytes");

// The cells of a node, in the document's arena.
class CellArray {
public:
    CellArray() = default;
    CellArray(Cell* cells, uint32_t count) : cells_(cells), count_(count) {}
    Cell* begin() { return cells_; }
    Cell* end() { return cells_ + count_; }
    const Cell* begin() const { return cells_; }
    const Cell* end() const { return cells_ + count_; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    Cell& operator[](std::size_t i) { return cells_[i]; }
    const Cell& operator[](std::size_t i) const { return cells_[i]; }
    Cell& front() { return cells_[0]; }
    const Cell& front() const { return cells_[0]; }
    Cell& back() { return cells_[count_ - 1]; }
    const Cell& back() const { return cells_[count_ - 1]; }
    Cell* data() { return cells_; }
    const Cell* data() const { return cells_; }

private:
    Cell* cells_ = nullptr;
    uint32_t count_ = 0;
};

class Document;
struct SuiteNode;

// The rows or children of a node, in the document's arena: read like a
// vector, grown by the importer (an outgrown array stays behind in the arena,
// at most as much again as the lists themselves).
class NodeList {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    SuiteNode* operator[](std::size_t i) const { return items_[i]; }
    SuiteNode* at(std::size_t i) const;
    SuiteNode* const* begin() const { return items_; }
    SuiteNode* const* end() const { return items_ + size_; }
    SuiteNode* front() const { return items_[0]; }
    SuiteNode* back() const { return items_[size_ - 1]; }
    SuiteNode* const* data() const { return items_; }
    operator std::span<SuiteNode* const>() const { return {items_, size_}; }
    void push_back(SuiteNode* node, TreeArena& arena);

private:
    SuiteNode** items_ = nullptr;
    uint32_t size_ = 0;
    uint32_t capacity_ = 0;
};

// A document, part, group, table or row (see the picture at the top). A
// suite has hundreds of thousands: the fields are packed.
struct SuiteNode {
    SuiteNodeType type = SuiteNodeType::None;
    NodeRole role = NodeRole::Row;
    // Behaviour lines only: a tree-header row, and the row's indentation level.
    bool treeHeader = false;
    int32_t indentation = 0;
    // Line of the keyword that opened the node.
    int32_t line = 0;
    // Header cells (tables, groups) or the row's cells, in layout order.
    CellArray cells;
    // Tables: the body rows in file order (empty rows included).
    NodeList rows;
    // Document, parts, groups: the parts, tables and groups inside, in file order.
    NodeList children;
    SuiteNode* parent = nullptr;

    // Set by the tree builder: the suite tree node of this table, group or row.
    TreeNode* treeNode = nullptr;

    // A row is empty when all its cells are empty.
    bool isEmpty() const;
    // The schema kind name ("TestCaseId", "Line", "DetailedComment") and the
    // Choices value of the field of one of this node's cells.
    std::string_view fieldOf(const Cell& cell) const;
    int32_t kindOf(const Cell& cell) const;
    // The cell of a field, by its schema kind name; null when the layout has none.
    Cell* cell(std::string_view field);
    const Cell* cell(std::string_view field) const;
    // The text of a field's cell, empty when absent.
    std::string_view text(std::string_view field) const;
    // The object name a table or group declares (the text of its first cell up
    // to the first blank or "("), for messages and lookups.
    std::string_view objectName() const;
};

// One loaded MP file.
class Document {
public:
    Document(std::string fileName, std::string buffer);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DocumentType type() const { return type_; }
    void setType(DocumentType type) { type_ = type; }
    // The suite, module or package identifier.
    std::string_view name() const { return name_; }
    void setName(std::string_view name) { name_ = name; }
    const std::string& fileName() const { return fileName_; }
    // The file's bytes, while the import reads them (empty afterwards).
    std::string_view buffer() const { return buffer_; }
    // The size of the file.
    std::size_t fileSize() const { return fileSize_; }
    // Once the import is done: the cell texts (and the document's name) move
    // into one piece of the arena and the file buffer is given back, since
    // the texts are a quarter of an MP file, its keywords and layout the rest.
    void releaseBuffer();

    // The document node (type ASuite); its children are the parts.
    SuiteNode* root() { return root_; }
    const SuiteNode* root() const { return root_; }

    // A new node owned by the document; linked to its parent by the caller.
    SuiteNode* makeNode(SuiteNodeType type, int32_t line);
    // Arena for the field parser's trees, the tree builder's nodes and texts
    // that had to be rewritten.
    TreeArena& arena() { return arena_; }

    // Every table of the document, in file order (depth first), for the
    // analysis that parses table by table.
    std::vector<SuiteNode*> tables() const;
    // The parts of a given type (at most one is expected; null when absent).
    SuiteNode* part(SuiteNodeType type) const;
    // The names of the documents this one imports (the SourceName cell of
    // every Imports table), in file order.
    std::vector<std::string_view> importedDocumentNames() const;

    std::size_t nodeCount() const { return nodes_.size(); }

private:
    std::string fileName_;
    std::string buffer_;
    std::size_t fileSize_ = 0;
    DocumentType type_ = DocumentType::Unknown;
    std::string_view name_;
    std::deque<SuiteNode> nodes_;
    SuiteNode* root_ = nullptr;
    TreeArena arena_;
};
