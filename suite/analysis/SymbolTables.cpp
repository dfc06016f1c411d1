#include "suite/analysis/SymbolTables.h"

namespace {

constexpr int kMaxImportDepth = 64;

}  // namespace

SymbolCode declaredSymbolCode(SuiteNodeType type) {
    using T = SuiteNodeType;
    using C = SymbolCode;
    switch (type) {
    // Tables that declare one object.
    case T::StructTypeDef: return C::StructType;
    case T::ASN1_TypeDef: return C::ASN1_Type;
    case T::TS_OpDef: return C::TS_Op;
    case T::TS_ProcDef: return C::TS_Op;
    case T::TCompConfigDcl: return C::TCompConfig;
    case T::TTCN_ASP_TypeDef: return C::TTCN_ASP;
    case T::ASN1_ASP_TypeDef: return C::ASN1_ASP;
    case T::TTCN_PDU_TypeDef: return C::TTCN_PDU;
    case T::ASN1_PDU_TypeDef: return C::ASN1_PDU;
    case T::TTCN_CM_TypeDef: return C::TTCN_CM;
    case T::ASN1_CM_TypeDef: return C::ASN1_CM;
    case T::StructTypeConstraint: return C::StructCons;
    case T::ASN1_TypeConstraint: return C::ASN1_Cons;
    case T::TTCN_ASP_Constraint: return C::TTCN_ASP_Cons;
    case T::ASN1_ASP_Constraint: return C::ASN1_ASP_Cons;
    case T::TTCN_PDU_Constraint: return C::TTCN_PDU_Cons;
    case T::ASN1_PDU_Constraint: return C::ASN1_PDU_Cons;
    case T::TTCN_CM_Constraint: return C::TTCN_CM_Cons;
    case T::ASN1_CM_Constraint: return C::ASN1_CM_Cons;
    case T::TestCase: return C::TestCase;
    case T::TestStep: return C::TestStep;
    case T::DefaultCase: return C::DefaultCase;
    // Groups.
    case T::StructTypeConstraintGroup: return C::StructConsGroup;
    case T::ASN1_TypeConstraintGroup: return C::ASN1_ConsGroup;
    case T::TTCN_ASP_ConstraintGroup: return C::TTCN_ASP_ConsGroup;
    case T::ASN1_ASP_ConstraintGroup: return C::ASN1_ASP_ConsGroup;
    case T::TTCN_PDU_ConstraintGroup: return C::TTCN_PDU_ConsGroup;
    case T::ASN1_PDU_ConstraintGroup: return C::ASN1_PDU_ConsGroup;
    case T::TTCN_CM_ConstraintGroup: return C::TTCN_CM_ConsGroup;
    case T::ASN1_CM_ConstraintGroup: return C::ASN1_CM_ConsGroup;
    case T::TestGroup: return C::TestGroup;
    case T::TestStepGroup: return C::TestStepGroup;
    case T::CompactTestGroup: return C::TestGroup;
    case T::DefaultGroup: return C::DefaultGroup;
    // Rows of multiple-object tables.
    case T::SimpleTypeDef: return C::SimpleType;
    case T::ASN1_TypeRef: return C::ASN1_Type;
    case T::EncodingDefinition: return C::EncodingRule;
    case T::EncodingVariation: return C::EncodingVar;
    case T::TS_ParDcl: return C::TS_Par;
    case T::SelectExprDef: return C::SelectExpr;
    case T::TS_ConstDcl: return C::TS_Const;
    case T::TS_ConstRef: return C::TS_Const;
    case T::TS_VarDcl: return C::TS_Var;
    case T::TC_VarDcl: return C::TC_Var;
    case T::PCO_TypeDcl: return C::PCO_Type;
    case T::PCO_Dcl: return C::PCO;
    case T::CP_Dcl: return C::CP;
    case T::TimerDcl: return C::Timer;
    case T::TCompDcl: return C::TComp;
    case T::ASN1_ASP_TypeDefByRef: return C::ASN1_ASP;
    case T::ASN1_PDU_TypeDefByRef: return C::ASN1_PDU;
    case T::AliasDef: return C::Alias;
    case T::CompactTestCase: return C::TestCase;
    default: return C::None;
    }
}

std::string_view declaredName(const SuiteNode& node) {
    if (node.cells.empty()) return {};
    std::string_view text = node.cells.front().text;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '(' && text[i] != '\r' &&
           text[i] != '\n')
        ++i;
    return text.substr(start, i - start);
}

void SymbolTables::clear() {
    system_ = nullptr;
    symbols_.clear();
    tables_.clear();
}

void SymbolTables::addNode(const Document& document, const SuiteNode& node, DocumentTable& table) {
    SymbolCode code = declaredSymbolCode(node.type);
    if (code != SymbolCode::None) {
        std::string_view name = declaredName(node);
        if (!name.empty()) {
            symbols_.push_back({name, code, &node, &document});
            table.objects[name].push_back(&symbols_.back());
        }
    }
    if (node.type == SuiteNodeType::Imports) {
        std::string_view tableSource = node.text("SourceName");
        for (const SuiteNode* row : node.rows) {
            if (!row) continue;
            std::string_view name = declaredName(*row);
            if (name.empty()) continue;
            std::string_view sourceName = row->text("SourceName");
            if (sourceName.empty()) sourceName = tableSource;
            const Document* source = system_->find(sourceName);
            table.importsByName[name].push_back(table.imports.size());
            table.imports.push_back({name, row, source, sourceName});
        }
    }
    for (const SuiteNode* row : node.rows)
        if (row && row->type != SuiteNodeType::ImportedObject) addNode(document, *row, table);
    for (const SuiteNode* child : node.children)
        if (child) addNode(document, *child, table);
}

void SymbolTables::rebuild(const VeldSystem& system) {
    clear();
    system_ = &system;
    for (const std::unique_ptr<Document>& document : system.documents()) {
        DocumentTable& table = tables_[document.get()];
        // The document's own name is the suite object.
        if (!document->name().empty()) {
            symbols_.push_back({document->name(), SymbolCode::Suite, document->root(), document.get()});
            table.objects[document->name()].push_back(&symbols_.back());
        }
        if (document->root()) addNode(*document, *document->root(), table);
    }
}

const SymbolTables::DocumentTable* SymbolTables::tableOf(const Document* document) const {
    auto it = tables_.find(document);
    return it == tables_.end() ? nullptr : &it->second;
}

std::vector<const SuiteSymbol*> SymbolTables::own(const Document* document, std::string_view name) const {
    const DocumentTable* table = tableOf(document);
    if (!table) return {};
    auto it = table->objects.find(name);
    return it == table->objects.end() ? std::vector<const SuiteSymbol*>{} : it->second;
}

void SymbolTables::lookupFrom(const Document* document, std::string_view name, int depth,
                              std::vector<const Document*>& seen,
                              std::vector<const SuiteSymbol*>& found) const {
    if (depth > kMaxImportDepth) return;
    for (const Document* d : seen)
        if (d == document) return;
    seen.push_back(document);
    const DocumentTable* table = tableOf(document);
    if (!table) return;
    auto it = table->objects.find(name);
    if (it != table->objects.end()) {
        found.insert(found.end(), it->second.begin(), it->second.end());
        return;
    }
    auto imported = table->importsByName.find(name);
    if (imported == table->importsByName.end()) return;
    for (std::size_t index : imported->second) {
        const Import& import = table->imports[index];
        if (import.source) lookupFrom(import.source, name, depth + 1, seen, found);
    }
}

std::vector<const SuiteSymbol*> SymbolTables::lookup(const Document* document, std::string_view name) const {
    std::vector<const SuiteSymbol*> found;
    if (!document || name.empty()) return found;
    std::vector<const Document*> seen;
    lookupFrom(document, name, 0, seen, found);
    return found;
}

std::vector<const SuiteSymbol*> SymbolTables::lookupQualified(const Document* document,
                                                              std::string_view name) const {
    std::vector<const SuiteSymbol*> found = lookup(document, name);
    if (!found.empty() || !system_) return found;
    // Module names may hold "_" themselves: try every qualifier position.
    for (std::size_t at = 0; at + 2 < name.size(); ++at) {
        std::string_view pair = name.substr(at, 2);
        if (pair != "::" && pair != "__") continue;
        const Document* module = system_->find(name.substr(0, at));
        if (!module) continue;
        found = lookup(module, name.substr(at + 2));
        if (!found.empty()) return found;
    }
    return found;
}

bool isGroupCode(SymbolCode code) {
    switch (code) {
    case SymbolCode::TestGroup:
    case SymbolCode::TestStepGroup:
    case SymbolCode::DefaultGroup:
    case SymbolCode::StructConsGroup:
    case SymbolCode::ASN1_ConsGroup:
    case SymbolCode::TTCN_ASP_ConsGroup:
    case SymbolCode::ASN1_ASP_ConsGroup:
    case SymbolCode::TTCN_PDU_ConsGroup:
    case SymbolCode::ASN1_PDU_ConsGroup:
    case SymbolCode::TTCN_CM_ConsGroup:
    case SymbolCode::ASN1_CM_ConsGroup:
    case SymbolCode::Suite:
        return true;
    default:
        return false;
    }
}

bool SymbolTables::redeclares(const Document* document, const SuiteNode* node) const {
    if (!node) return false;
    SymbolCode code = declaredSymbolCode(node->type);
    if (code == SymbolCode::None || isGroupCode(code)) return false;
    std::string_view name = declaredName(*node);
    for (const SuiteSymbol* symbol : own(document, name)) {
        if (isGroupCode(symbol->code)) continue;
        // The first declaration of the name is the one that counts.
        return symbol->node != node;
    }
    return false;
}

const std::vector<SymbolTables::Import>& SymbolTables::importsOf(const Document* document) const {
    static const std::vector<Import> none;
    const DocumentTable* table = tableOf(document);
    return table ? table->imports : none;
}

int SymbolTables::reportMissingImports(const Document* document, std::FILE* report) const {
    int missing = 0;
    for (const Import& import : importsOf(document)) {
        // A source that is not loaded has been reported by the import graph.
        if (!import.source) continue;
        if (!lookup(import.source, import.name).empty()) continue;
        ++missing;
        if (report) {
            std::string object(import.name), source(import.source->name()), target(document->name());
            std::fprintf(report, "Unable to find object %s, imported from %s into %s.\n", object.c_str(),
                         source.c_str(), target.c_str());
        }
    }
    return missing;
}
