#include "suite/analysis/SuiteAnalyzer.h"

#include "tree/Choices.h"
#include "platform/ConsoleText.h"
#include "suite/analysis/ConditionalText.h"
#include "suite/analysis/FieldParsing.h"
#include "suite/asn1/Asn1Association.h"
#include "suite/asn1/Asn1Lookup.h"
#include "suite/fields/FieldParser.h"

#include <array>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

// The names every suite knows without declaring them.
SymbolCode predefinedCode(std::string_view name) {
    static constexpr std::array<std::string_view, 8> kOperations = {
        "INT_TO_BIT", "BIT_TO_INT", "INT_TO_HEX", "HEX_TO_INT",
        "IS_PRESENT", "IS_CHOSEN",  "NUMBER_OF_ELEMENTS", "LENGTH_OF"};
    for (std::string_view op : kOperations)
        if (op == name) return SymbolCode::PredefinedOp;
    if (name == "R") return SymbolCode::Result;
    return SymbolCode::None;
}

// The objects that rows of a type's table declare inside that table only.
SymbolCode localRowCode(SuiteNodeType type) {
    switch (type) {
    case SuiteNodeType::ElemDcl: return SymbolCode::Elem;
    case SuiteNodeType::ASP_ParDcl: return SymbolCode::ASP_Par;
    case SuiteNodeType::PDU_FieldDcl: return SymbolCode::PDU_Field;
    case SuiteNodeType::CM_ParDcl: return SymbolCode::CM_Par;
    default: return SymbolCode::None;
    }
}

// Identifiers under these parents name parts of a type or value (components,
// named numbers, named bits), not objects of the symbol tables.
bool namesTypeComponent(int32_t parent) {
    switch (parent) {
    case Choices::ComponentIdentifier:
    case Choices::BitIdentifier:
    case Choices::NamedType:
    case Choices::NamedNumber:
    case Choices::NamedValue:
        return true;
    default:
        return false;
    }
}

// Identifiers under these parents must name a declared object: an attached
// tree, a PCO or CP, a message type, a timer, a constraint, a component.
bool mustBeDeclared(int32_t parent) {
    switch (parent) {
    case Choices::TreeReference:
    case Choices::Send:
    case Choices::Receive:
    case Choices::Timeout:
    case Choices::StartTimer:
    case Choices::CancelTimer:
    case Choices::ReadTimer:
    case Choices::ConsRef:
    case Choices::ConstraintReference:
    case Choices::TCompUsed:
    case Choices::PCO_List:
    case Choices::CP_List:
        return true;
    default:
        return false;
    }
}

bool isConstraintCode(SymbolCode code) {
    switch (code) {
    case SymbolCode::ASN1_ASP_Cons:
    case SymbolCode::ASN1_CM_Cons:
    case SymbolCode::ASN1_Cons:
    case SymbolCode::ASN1_PDU_Cons:
    case SymbolCode::StructCons:
    case SymbolCode::TTCN_ASP_Cons:
    case SymbolCode::TTCN_CM_Cons:
    case SymbolCode::TTCN_PDU_Cons:
        return true;
    default:
        return false;
    }
}

// A name of an ASN.1 module, type or value as a suite writes it: TTCN
// identifiers cannot hold "-", so "Remote_Rec" stands for "Remote-Rec".
bool sameAsn1Name(std::string_view asn1, std::string_view written) {
    if (asn1.size() != written.size()) return false;
    for (std::size_t i = 0; i < asn1.size(); ++i) {
        char a = asn1[i] == '-' ? '_' : asn1[i];
        char w = written[i] == '-' ? '_' : written[i];
        if (a != w) return false;
    }
    return true;
}

// The assignment of that name: the exact spelling first, then one that
// differs only in "-" against "_".
template <class Assignment>
const Assignment* findAsn1Assignment(const std::vector<Assignment>& assignments, std::string_view name) {
    for (const Assignment& a : assignments)
        if (a.name == name) return &a;
    for (const Assignment& a : assignments)
        if (sameAsn1Name(a.name, name)) return &a;
    return nullptr;
}

// Leading "[n]" of a behaviour line's text, as the MP importer keeps it.
std::string_view withoutIndentation(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] == '[') {
        std::size_t close = text.find(']', i);
        if (close != std::string_view::npos) return text.substr(close + 1);
    }
    return text;
}

}  // namespace

// The work on one table: its cells parsed, its names resolved, its messages.
class SuiteAnalyzer::TableRun {
public:
    using PendingMessage = SuiteAnalyzer::PendingMessage;

    TableRun(SuiteAnalyzer& analyzer, Document& document, SuiteNode& table)
        : a_(analyzer), document_(document), table_(table) {}

    // True when rows were left out.
    bool filterBodyRows() { return filterBody(); }

    TableReport run() {
        describeTable();
        for (Cell& cell : table_.cells) parseCell(cell, nullptr, 0);
        parseBody();
        reportRedeclarations();
        collectLocalNames();
        for (const Parsed& parsed : parsed_) resolve(parsed);
        attachAsn1Definitions();
        return std::move(report_);
    }

private:
    struct Parsed {
        Cell* cell;
        const SuiteNode* row;
        int rowNumber;
        std::string_view text;  // the text that was parsed (after the conditional filter)
    };

    void describeTable() {
        SymbolCode code = declaredSymbolCode(table_.type);
        std::string_view name = declaredName(table_);
        if (code != SymbolCode::None && !name.empty()) {
            report_.tableName = std::string(name);
            report_.definesObject = true;
            report_.qualifier = symbolCodeName(code);
            report_.tableType = suiteNodeTypeName(table_.type);
        } else {
            report_.tableName = suiteNodeTypeName(table_.type);
        }
    }

    ReportedMessage placeOf(const Cell& cell, const SuiteNode* row, int rowNumber) const {
        ReportedMessage m;
        m.fieldName = std::string(cell.field);
        if (!row) {
            m.place = MessagePlace::HeaderField;
            return m;
        }
        m.rowNumber = rowNumber;
        if (row->type == SuiteNodeType::BehaviourLine) {
            if (row->treeHeader) {
                m.place = MessagePlace::NamedNumberedRow;
                std::string_view header = row->text("Header");
                m.rowName = std::string(header.substr(0, header.find('(')));
            } else if (!row->text("LabelId").empty()) {
                m.place = MessagePlace::LabelledRow;
                m.rowLabel = std::string(row->text("LabelId"));
            } else {
                m.place = MessagePlace::NumberedRow;
            }
            return m;
        }
        std::string_view name = declaredName(*row);
        SymbolCode code = declaredSymbolCode(row->type);
        if (code == SymbolCode::None) code = localRowCode(row->type);
        if (code != SymbolCode::None && !name.empty()) {
            m.place = MessagePlace::NamedRowField;
            m.rowName = std::string(name);
            m.rowQualifier = symbolCodeName(code);
        } else if (!name.empty()) {
            m.place = MessagePlace::NamedNumberedRow;
            m.rowName = std::string(name);
        } else {
            m.place = MessagePlace::NumberedRow;
        }
        return m;
    }

    void add(const Cell& cell, const SuiteNode* row, int rowNumber, int number, Severity severity,
             const std::vector<AnalysisArgument>& arguments, std::string_view fieldText) {
        ReportedMessage m = placeOf(cell, row, rowNumber);
        m.severity = severity;
        m.text = formatAnalysisMessage(number, arguments, fieldText);
        report_.messages.push_back(std::move(m));
        if (severity == Severity::Error) ++a_.errors_;
    }

    void parseCell(Cell& cell, const SuiteNode* row, int rowNumber) {
        if (cell.state != ParseState::NotParsed) return;
        cell.state = ParseState::Parsed;
        if (cell.text.empty()) return;
        bool hadErrors = false;
        std::string_view text = cell.text;
        FilteredText filtered = filterConditionalText(cell.text, a_.flags_);
        for (const ConditionalFinding& f : filtered.findings) {
            add(cell, row, rowNumber, f.message, Severity::Error, {f.place}, cell.text);
            hadErrors = true;
        }
        if (filtered.filtered) text = document_.arena().copyText(filtered.text);

        ParsedField result = parseCellText(cell.field, text, cell.line, document_.arena(), callable_);
        if (!result.scannerFailure.empty() && a_.report_)
            writeConsoleText(a_.report_, formatScannerFailure(result.scannerFailure));
        for (const CellFinding& f : result.findings) {
            add(cell, row, rowNumber, f.message, f.severity, f.arguments, text);
            hadErrors = hadErrors || f.severity == Severity::Error;
        }
        if (!result.scannerFailure.empty()) hadErrors = true;
        cell.tree = result.tree;
        cell.state = hadErrors ? ParseState::ParsedWithErrors : ParseState::Parsed;
        if (cell.tree) parsed_.push_back({&cell, row, rowNumber, text});
    }

    // A body row that holds nothing but one conditional directive (in any one
    // cell) steers the rows after it.
    static std::string_view directiveOf(const SuiteNode& row) {
        std::string_view directive;
        for (const Cell& cell : row.cells) {
            if (cell.text.empty()) continue;
            if (!directive.empty()) return {};
            std::string_view text = withoutIndentation(cell.text);
            if (!ConditionalState::isDirective(text) || text.find('\n') != std::string_view::npos) return {};
            directive = text;
        }
        return directive;
    }

    static void blankRow(SuiteNode& row) {
        for (Cell& cell : row.cells) cell.text = {};
    }

    // Before any table is parsed: the directive rows of the body decide which
    // rows take part. Directive rows and rows left out are emptied, so that the
    // symbol tables rebuilt afterwards hold only the declarations that take
    // part. The findings wait for the table's own turn in the report.
    bool filterBody() {
        bool leftOut = false;
        ConditionalState body(a_.flags_);
        std::vector<ConditionalFinding> findings;
        std::vector<PendingMessage> pending;
        int number = 0;
        const SuiteNode* lastRow = nullptr;
        for (SuiteNode* row : table_.rows) {
            ++number;
            if (!row) continue;
            lastRow = row;
            std::string_view directive = directiveOf(*row);
            if (!directive.empty()) {
                std::size_t before = findings.size();
                body.feed(directive, 0, findings);
                for (std::size_t i = before; i < findings.size(); ++i) {
                    ReportedMessage m = placeOf(row->cells.front(), row, number);
                    m.severity = Severity::Error;
                    m.text = formatAnalysisMessage(findings[i].message,
                                                   {AnalysisArgument(std::string(directive), 0)}, directive);
                    pending.push_back({number, std::move(m)});
                }
                // The directive row is no row of the table any more.
                blankRow(*row);
                leftOut = true;
                continue;
            }
            if (!body.active()) {
                blankRow(*row);
                leftOut = true;
            }
        }
        std::vector<ConditionalFinding> open;
        body.finish(kMsgMismatchedIfEndifInBody, open);
        if (!open.empty() && lastRow) {
            ReportedMessage m;
            m.place = MessagePlace::Body;
            m.severity = Severity::Error;
            m.text = formatAnalysisMessage(kMsgMismatchedIfEndifInBody, {}, {});
            pending.push_back({number + 1, std::move(m)});
        }
        if (!pending.empty()) a_.bodyFindings_[&table_] = std::move(pending);
        return leftOut;
    }

    // The rows that take part, each after the findings of the directives
    // before it.
    void parseBody() {
        std::vector<PendingMessage> pending;
        if (auto found = a_.bodyFindings_.find(&table_); found != a_.bodyFindings_.end()) {
            pending = std::move(found->second);
            a_.bodyFindings_.erase(found);
        }
        std::size_t next = 0;
        auto emitUpTo = [&](int number) {
            for (; next < pending.size() && pending[next].rowNumber <= number; ++next) {
                if (pending[next].message.severity == Severity::Error) ++a_.errors_;
                report_.messages.push_back(std::move(pending[next].message));
            }
        };
        int number = 0;
        for (SuiteNode* row : table_.rows) {
            ++number;
            emitUpTo(number);
            if (!row) continue;
            for (Cell& cell : row->cells) parseCell(cell, row, number);
        }
        emitUpTo(number + 1);
    }

    // A second declaration of a name is a warning: lookups take the first.
    void reportRedeclarations() {
        if (a_.symbols_.redeclares(&document_, &table_) && !table_.cells.empty())
            add(table_.cells.front(), nullptr, 0, kMsgNameNotUnique, Severity::Warning,
                {std::string(declaredName(table_))}, table_.cells.front().text);
        int number = 0;
        for (const SuiteNode* row : table_.rows) {
            ++number;
            if (row && !row->cells.empty() && a_.symbols_.redeclares(&document_, row))
                add(row->cells.front(), row, number, kMsgNameNotUnique, Severity::Warning,
                    {std::string(declaredName(*row))}, row->cells.front().text);
        }
    }

    // Formal parameters, labels, local trees and the rows of a type's table
    // are names of this table only.
    void collectLocalNames() {
        addRowNames(table_);
        // The rows of a constraint name the elements, parameters or fields of
        // the constraint's type.
        static constexpr std::array<std::string_view, 4> kTypeFields = {"StructId", "ASP_Id", "PDU_Id", "CM_Id"};
        if (declaredSymbolCode(table_.type) != SymbolCode::None && !table_.rows.empty()) {
            for (std::string_view field : kTypeFields) {
                const Cell* cell = table_.cell(field);
                if (!cell || cell->text.empty()) continue;
                std::string_view typeName = cell->text.substr(0, cell->text.find_first_of(" \t\r\n("));
                std::vector<const SuiteSymbol*> types = a_.symbols_.lookup(&document_, typeName);
                if (!types.empty() && types.front()->node) addRowNames(*types.front()->node);
            }
        }
        for (const Parsed& parsed : parsed_) {
            bool labelCell = parsed.cell->field == "LabelId";
            walk(parsed.cell->tree, [&](TreeNode* node, int32_t parent, int32_t) {
                if (node->kind != Choices::Identifier) return;
                if (parent == Choices::FormalParIdList) locals_.emplace(node->text, SymbolCode::FormalParam);
                else if (parent == Choices::TreeHeader) locals_.emplace(node->text, SymbolCode::LocalTree);
                else if (parent == Choices::Label && labelCell) locals_.emplace(node->text, SymbolCode::Label);
            });
        }
    }

    void addRowNames(const SuiteNode& table) {
        for (const SuiteNode* row : table.rows) {
            if (!row) continue;
            SymbolCode code = localRowCode(row->type);
            std::string_view name = declaredName(*row);
            if (code != SymbolCode::None && !name.empty()) partNames_.emplace(name, code);
        }
    }

    // Depth-first over a parse tree without recursion: parse trees of long
    // expressions are deep.
    template <class Visit>
    static void walk(TreeNode* root, Visit&& visit) {
        struct Item {
            TreeNode* node;
            int32_t parent;
            int32_t grandParent;
        };
        std::vector<Item> stack;
        if (root) stack.push_back({root, 0, 0});
        while (!stack.empty()) {
            Item item = stack.back();
            stack.pop_back();
            visit(item.node, item.parent, item.grandParent);
            for (int32_t i = item.node->count - 1; i >= 0; --i)
                if (item.node->child[i]) stack.push_back({item.node->child[i], item.node->kind, item.parent});
        }
    }

    // Identifiers under these parents name a part of a type: an element, a
    // parameter of an ASP or CM, a field of a PDU.
    static bool namesTypePart(int32_t parent) {
        return parent == Choices::ElemIdAndFullId || parent == Choices::ASP_ParIdAndFullId ||
               parent == Choices::PDU_FieldIdAndFullId || parent == Choices::CM_ParIdAndFullId;
    }

    SymbolCode resolveName(std::string_view name, int32_t parent = 0) const {
        if (namesTypePart(parent)) {
            auto part = partNames_.find(name);
            return part == partNames_.end() ? SymbolCode::None : part->second;
        }
        auto local = locals_.find(name);
        if (local != locals_.end()) return local->second;
        std::vector<const SuiteSymbol*> found = a_.symbols_.lookup(&document_, name);
        if (!found.empty()) return found.front()->code;
        return predefinedCode(name);
    }

    bool declaredAnywhere(std::string_view name) const {
        for (const std::unique_ptr<Document>& d : a_.system_.documents())
            if (!a_.symbols_.own(d.get(), name).empty()) return true;
        return false;
    }

    // Whether "name (...)" calls something: a constraint or an operation. The
    // parser asks where the text alone cannot tell ("{ cause (1, 2) }"); the
    // table's locals are not known yet then, and none of them is called.
    bool callable(std::string_view name) const {
        const SymbolCode code = resolveName(name);
        return isConstraintCode(code) || code == SymbolCode::TS_Op || code == SymbolCode::PredefinedOp;
    }

    // The parser guesses whether "Name(args)" calls an operation or refers to a
    // constraint; the name decides.
    void settleCall(TreeNode* call) const {
        if (call->count < 1 || !call->child[0] || call->child[0]->kind != Choices::Identifier) return;
        SymbolCode code = resolveName(call->child[0]->text);
        if (call->kind == Choices::OpCall && isConstraintCode(code)) reclassifyCall(call, true);
        else if (call->kind == Choices::ConsRef && (code == SymbolCode::TS_Op || code == SymbolCode::PredefinedOp))
            reclassifyCall(call, false);
    }

    void resolve(const Parsed& parsed) {
        walk(parsed.cell->tree, [&](TreeNode* node, int32_t parent, int32_t grandParent) {
            if (node->kind == Choices::OpCall || node->kind == Choices::ConsRef) settleCall(node);
            if (node->kind != Choices::Identifier || namesTypeComponent(parent)) return;
            SymbolCode code = resolveName(node->text, parent);
            node->idTypeCode = static_cast<int32_t>(code);
            if (code != SymbolCode::None) return;
            std::string name(node->text);
            if (parent == Choices::Label && grandParent == Choices::GoTo) {
                add(*parsed.cell, parsed.row, parsed.rowNumber, kMsgLabelNotDefined, Severity::Error, {name},
                    parsed.text);
                parsed.cell->state = ParseState::ParsedWithErrors;
            } else if (mustBeDeclared(parent) && !declaredAnywhere(node->text)) {
                add(*parsed.cell, parsed.row, parsed.rowNumber, kMsgReferenceNotDeclared, Severity::Error,
                    {name}, parsed.text);
                parsed.cell->state = ParseState::ParsedWithErrors;
            }
        });
    }

    // The module among those of the association, else among every module
    // loaded in the process.
    const Asn1Module* findModule(std::string_view name) const {
        // The exact spelling first, then one that differs only in "-" against "_".
        for (bool exact : {true, false}) {
            auto matches = [&](const Asn1Module& module) {
                return exact ? module.name == name : sameAsn1Name(module.name, name);
            };
            if (a_.association_) {
                for (const Asn1Entry& entry : a_.association_->entries()) {
                    const Asn1Module* module = entry.module();
                    if (module && matches(*module)) return module;
                }
            }
            if (const Asn1Module* module = Asn1ModuleTable::instance().findIf(matches)) return module;
        }
        return nullptr;
    }

    // The referenced ASN.1 definitions of the by-reference rows: the type
    // definition under ASN1_TypeDefinition, a constant's value and type.
    void attachAsn1Definitions() {
        int number = 0;
        for (SuiteNode* row : table_.rows) {
            ++number;
            if (!row) continue;
            bool constant = row->type == SuiteNodeType::TS_ConstRef;
            if (row->type != SuiteNodeType::ASN1_TypeRef && row->type != SuiteNodeType::ASN1_ASP_TypeDefByRef &&
                row->type != SuiteNodeType::ASN1_PDU_TypeDefByRef && !constant)
                continue;
            if (row->isEmpty()) continue;
            Cell* moduleCell = row->cell("ASN1_ModuleId");
            Cell* referenceCell = row->cell(constant ? "ASN1_ValueReference" : "ASN1_TypeReference");
            if (!moduleCell) continue;
            std::string_view reference = referenceCell && !referenceCell->text.empty()
                                             ? referenceCell->text
                                             : declaredName(*row);
            const Asn1Module* module = findModule(moduleCell->text);
            if (!module) {
                add(*moduleCell, row, number, kMsgAsn1ModuleNotFound, Severity::Error,
                    {std::string(moduleCell->text)}, moduleCell->text);
                continue;
            }
            Cell* place = referenceCell && !referenceCell->text.empty() ? referenceCell : moduleCell;
            if (constant) {
                const Asn1ValueAssignment* value = findAsn1Assignment(module->values, reference);
                if (!value) {
                    add(*place, row, number, kMsgAsn1ValueNotFound, Severity::Error, {std::string(reference)},
                        place->text);
                    continue;
                }
                attach(*row, "TS_ConstValue", value->value);
                attach(*row, "TS_ConstType", value->type);
            } else {
                const Asn1TypeAssignment* type = findAsn1Assignment(module->types, reference);
                if (!type) {
                    add(*place, row, number, kMsgAsn1TypeNotFound, Severity::Error, {std::string(reference)},
                        place->text);
                    continue;
                }
                attach(*row, "ASN1_TypeDefinition", type->definition);
            }
        }
    }

    // Hangs the parse of a retrieved definition under the row's cell. The text
    // comes from the conversion tool, not from the suite: what does not parse
    // is left out silently rather than blamed on the suite.
    void attach(SuiteNode& row, std::string_view field, const std::string& definition) {
        Cell* cell = row.cell(field);
        if (!cell || !cell->text.empty() || cell->tree) return;
        std::string_view text = document_.arena().copyText(definition);
        ParsedField result = parseCellText(field, text, cell->line, document_.arena());
        for (const CellFinding& f : result.findings)
            if (f.severity == Severity::Error) return;
        if (!result.tree) return;
        cell->text = text;
        cell->tree = result.tree;
        cell->state = ParseState::Parsed;
        walk(result.tree, [&](TreeNode* node, int32_t parent, int32_t) {
            if (node->kind == Choices::Identifier && !namesTypeComponent(parent))
                node->idTypeCode = static_cast<int32_t>(resolveName(node->text, parent));
        });
    }

    SuiteAnalyzer& a_;
    Document& document_;
    SuiteNode& table_;
    TableReport report_;
    std::vector<Parsed> parsed_;
    const CallableName callable_ = [this](std::string_view name) { return callable(name); };
    std::unordered_map<std::string_view, SymbolCode> locals_;
    std::unordered_map<std::string_view, SymbolCode> partNames_;
};

TableReport SuiteAnalyzer::parseTable(Document& document, SuiteNode& table) {
    return TableRun(*this, document, table).run();
}

namespace {

// Every node of a document whose cells are parsed as one table of the report:
// its tables and groups (and the document node itself when it has cells),
// in file order.
void collectTables(SuiteNode* node, std::vector<SuiteNode*>& out) {
    if (!node) return;
    if (node->role == NodeRole::Table || node->role == NodeRole::Group ||
        (node->role == NodeRole::Document && !node->cells.empty()))
        out.push_back(node);
    for (SuiteNode* child : node->children) collectTables(child, out);
}

}  // namespace

AnalysisState SuiteAnalyzer::analyseSystem(Document* root, const AnalysisRequest& request, LibraryError& error) {
    report_ = request.report;
    outcome_ = AnalysisOutcome{};
    outcome_.incremental = request.mode == AnalysisMode::Incremental;
    outcome_.skippedItems = request.skippedItems;
    errors_ = 0;
    if (!root) {
        state_ = AnalysisState::NotAnalysed;
        return state_;
    }
    if (root->type() == DocumentType::Module) {
        if (report_) std::fputs("Wrong root module in the Kestrel System\n", report_);
        // Nothing is analysed, and nothing is wrong with what was not analysed:
        // the opening goes on to refuse the module root by itself.
        state_ = AnalysisState::Analysed;
        return state_;
    }

    system_.rebuildImportGraph(report_);
    symbols_.rebuild(system_);
    if (error.isSet()) {
        state_ = AnalysisState::NotAnalysed;
        return state_;
    }
    // Conditional rows first, so that every lookup sees only the rows that
    // take part.
    bodyFindings_.clear();
    bool bodiesFiltered = false;
    for (const std::unique_ptr<Document>& document : system_.documents()) {
        std::vector<SuiteNode*> tables;
        collectTables(document->root(), tables);
        for (SuiteNode* table : tables)
            if (TableRun(*this, *document, *table).filterBodyRows()) bodiesFiltered = true;
    }
    if (bodiesFiltered) symbols_.rebuild(system_);

    bool stopped = false;
    for (const std::unique_ptr<Document>& document : system_.documents()) {
        if (stopped) break;
        symbols_.reportMissingImports(document.get(), report_);
        std::vector<SuiteNode*> tables;
        collectTables(document->root(), tables);
        for (SuiteNode* table : tables) {
            TableReport report = parseTable(*document, *table);
            if (report.hasErrors()) ++outcome_.tablesWithErrors;
            if (report.hasWarnings()) ++outcome_.tablesWithWarnings;
            if (report_ && !report.messages.empty()) writeConsoleText(report_, formatTableReport(report));
            if (request.errorLimit > 0 && errors_ >= request.errorLimit) {
                outcome_.errorLimitReached = true;
                stopped = true;
                break;
            }
        }
    }
    if (report_) {
        std::fputs(formatAnalysisSummary(outcome_).c_str(), report_);
        std::fflush(report_);
    }
    if (outcome_.tablesWithErrors > 0 || outcome_.errorLimitReached) state_ = AnalysisState::AnalysedWithErrors;
    else if (outcome_.tablesWithWarnings > 0) state_ = AnalysisState::AnalysedWithWarnings;
    else state_ = AnalysisState::Analysed;
    return state_;
}
