#include "suite/mp/Document.h"

#include "suite/mp/TableLayout.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <cstring>
#include <memory>

namespace {
struct TypeInfo {
    const char* name;
    NodeRole role;
};
constexpr TypeInfo kTypes[] = {
    {"", NodeRole::Row},
#define SUITE_NODE(name, role) {#name, NodeRole::role},
#include "suite/mp/SuiteNodeTypes.def"
#undef SUITE_NODE
};
constexpr int kTypeCount = static_cast<int>(sizeof(kTypes) / sizeof(kTypes[0]));

bool validType(SuiteNodeType type) {
    int at = static_cast<int>(type);
    return at > 0 && at < kTypeCount;
}

void collectTables(const SuiteNode* node, std::vector<SuiteNode*>& out) {
    for (SuiteNode* child : node->children) {
        if (child->role == NodeRole::Table) out.push_back(child);
        collectTables(child, out);
    }
}
}  // namespace

const char* documentTypeName(DocumentType type) {
    switch (type) {
    case DocumentType::TestSuite: return "TestSuite";
    case DocumentType::Module: return "Module";
    case DocumentType::Package: return "Package";
    case DocumentType::ModularTestSuite: return "ModularTestSuite";
    case DocumentType::FlatView: return "FlatView";
    case DocumentType::TestSuiteIndex: return "TestSuiteIndex";
    case DocumentType::Unknown: break;
    }
    return "(Unknown)";
}

const char* suiteNodeTypeName(SuiteNodeType type) { return validType(type) ? kTypes[static_cast<int>(type)].name : ""; }

NodeRole suiteNodeRole(SuiteNodeType type) {
    return validType(type) ? kTypes[static_cast<int>(type)].role : NodeRole::Row;
}

SuiteNodeType suiteNodeTypeByName(std::string_view name) {
    for (int i = 1; i < kTypeCount; ++i)
        if (name == kTypes[i].name) return static_cast<SuiteNodeType>(i);
    return SuiteNodeType::None;
}

bool SuiteNode::isEmpty() const {
    for (const Cell& c : cells)
        if (!c.empty()) return false;
    return true;
}

SuiteNode* NodeList::at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("NodeList::at");
    return items_[i];
}

void NodeList::push_back(SuiteNode* node, TreeArena& arena) {
    if (size_ == capacity_) {
        const uint32_t grown = capacity_ ? 2 * capacity_ : 4;
        SuiteNode** items = arena.allocateArray<SuiteNode*>(grown);
        std::copy(items_, items_ + size_, items);
        items_ = items;
        capacity_ = grown;
    }
    items_[size_++] = node;
}

std::string_view SuiteNode::fieldOf(const Cell& cell) const {
    const NodeLayout& layout = layoutOf(type);
    const std::ptrdiff_t at = &cell - cells.data();
    return at >= 0 && at < layout.fieldCount ? layout.fields[at].field : std::string_view();
}

int32_t SuiteNode::kindOf(const Cell& cell) const { return layoutOf(type).fieldKind(static_cast<int>(&cell - cells.data())); }

Cell* SuiteNode::cell(std::string_view field) {
    const int at = layoutOf(type).indexOf(field);
    return at >= 0 && static_cast<std::size_t>(at) < cells.size() ? &cells[static_cast<std::size_t>(at)] : nullptr;
}

const Cell* SuiteNode::cell(std::string_view field) const {
    const int at = layoutOf(type).indexOf(field);
    return at >= 0 && static_cast<std::size_t>(at) < cells.size() ? &cells[static_cast<std::size_t>(at)] : nullptr;
}

std::string_view SuiteNode::text(std::string_view field) const {
    const Cell* c = cell(field);
    return c ? std::string_view(c->text) : std::string_view{};
}

std::string_view SuiteNode::objectName() const {
    if (cells.empty()) return {};
    std::string_view text = cells.front().text;
    std::size_t end = text.find_first_of(" \t\r\n(");
    return text.substr(0, end);
}

Document::Document(std::string fileName, std::string buffer)
    : fileName_(std::move(fileName)), buffer_(std::move(buffer)), fileSize_(buffer_.size()) {
    root_ = makeNode(SuiteNodeType::ASuite, 1);
}

SuiteNode* Document::makeNode(SuiteNodeType type, int32_t line) {
    SuiteNode& node = nodes_.emplace_back();
    node.type = type;
    node.role = suiteNodeRole(type);
    node.line = line;
    const NodeLayout& layout = layoutOf(type);
    if (layout.fieldCount > 0) {
        const auto count = static_cast<std::size_t>(layout.fieldCount);
        Cell* cells = arena_.allocateArray<Cell>(count);
        std::uninitialized_value_construct_n(cells, count);
        node.cells = CellArray(cells, static_cast<uint32_t>(count));
    }
    return &node;
}

void Document::releaseBuffer() {
    const char* begin = buffer_.data();
    const char* end = begin + buffer_.size();
    auto inBuffer = [&](std::string_view text) {
        return !text.empty() && text.data() >= begin && text.data() + text.size() <= end;
    };
    std::size_t total = inBuffer(name_) ? name_.size() : 0;
    for (SuiteNode& node : nodes_)
        for (const Cell& cell : node.cells)
            if (inBuffer(cell.text)) total += cell.text.size();
    if (total == 0) {
        std::string().swap(buffer_);
        return;
    }
    char* at = arena_.allocateArray<char>(total);
    auto move = [&](std::string_view text) {
        std::memcpy(at, text.data(), text.size());
        std::string_view moved(at, text.size());
        at += text.size();
        return moved;
    };
    if (inBuffer(name_)) name_ = move(name_);
    for (SuiteNode& node : nodes_)
        for (Cell& cell : node.cells)
            if (inBuffer(cell.text)) cell.text = move(cell.text);
    std::string().swap(buffer_);
}

std::vector<SuiteNode*> Document::tables() const {
    std::vector<SuiteNode*> out;
    collectTables(root_, out);
    return out;
}

SuiteNode* Document::part(SuiteNodeType type) const {
    for (SuiteNode* child : root_->children)
        if (child->type == type) return child;
    return nullptr;
}

std::vector<std::string_view> Document::importedDocumentNames() const {
    std::vector<std::string_view> names;
    for (const SuiteNode* part : root_->children) {
        if (part->type != SuiteNodeType::ImportPart) continue;
        for (const SuiteNode* table : part->children)
            if (table->type == SuiteNodeType::Imports) names.push_back(table->text("SourceName"));
    }
    return names;
}
