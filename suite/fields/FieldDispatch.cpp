// parseField: picks the grammar of a cell from its schema kind.
#include "suite/fields/FieldParserCore.h"
#include "suite/TextSpan.h"
#include "suite/OutOfMemory.h"
#include "tree/KindInfo.h"

#include <new>
#include <optional>

namespace {

using textspan::trim;

// Bounded free text: the text between "/*" and "*/", trimmed; text without
// the delimiters stays as it is (trimmed).
std::string_view freeText(std::string_view s) {
    s = trim(s);
    if (s.size() >= 4 && s.substr(0, 2) == "/*" && s.substr(s.size() - 2) == "*/")
        s = trim(s.substr(2, s.size() - 4));
    return s;
}

enum class Shape : uint8_t {
    Unknown, FreeText, RawText, WrappedFreeText, WrappedRawText, Id, IdAndFullId, IdOrMacro,
    IdAndParList, Special,
};

struct FieldForm {
    Shape shape = Shape::Unknown;
    int32_t inner = 0;   // the kind inside the field node (leaf, IdAndFullId, ...)
};

FieldForm formOf(int32_t k) {
    switch (k) {
    // Free text: the whole cell is one text leaf of the field's kind.
    case FK(Comment): case FK(DetailedComment): case FK(Description): case FK(Objective):
    case FK(TestPurpose): case FK(SO_StandardsRef): case FK(SO_PICSRef): case FK(SO_PIXITRef):
    case FK(SO_TestMethods): case FK(SO_Objective): case FK(SO_Description): case FK(SourceRef):
    case FK(PICS_PIXITref): case FK(InvalidFieldEncodingDefinition): case FK(TS_OpDescription):
    case FK(TS_ProcDescription):
        return {Shape::FreeText, 0};
    // Unparsed names and paths kept as written.
    case FK(Encoding_TypeList): case FK(ASN1_TypeReference): case FK(ASN1_ModuleId):
    case FK(ASN1_ValueReference): case FK(SO_SelExprId): case FK(SO_DefaultRef): case FK(SO_DefaultId):
    case FK(SO_TestStepRef): case FK(SO_TestStepId): case FK(SO_TestCaseId): case FK(SO_TestGroupRef):
    case FK(TestGroupReference): case FK(TestStepGroupReference): case FK(DefaultGroupReference):
        return {Shape::RawText, 0};
    case FK(EncodingRef): return {Shape::WrappedFreeText, FK(EncodingReference)};
    case FK(VariationRef): return {Shape::WrappedFreeText, FK(VariationReference)};
    case FK(TestGroupRef): return {Shape::WrappedRawText, FK(TestGroupReference)};
    case FK(TestStepRef): return {Shape::WrappedRawText, FK(TestStepGroupReference)};
    case FK(DefaultRef): return {Shape::WrappedRawText, FK(DefaultGroupReference)};
    case FK(StructTypeConstraintGroupRef): return {Shape::WrappedRawText, FK(StructTypeConstraintGroupReference)};
    case FK(ASN1_TypeConstraintGroupRef): return {Shape::WrappedRawText, FK(ASN1_TypeConstraintGroupReference)};
    case FK(ASP_ConstraintGroupRef): return {Shape::WrappedRawText, FK(ASP_ConstraintGroupReference)};
    case FK(PDU_ConstraintGroupRef): return {Shape::WrappedRawText, FK(PDU_ConstraintGroupReference)};
    case FK(ASN1_ASP_ConstraintGroupRef): return {Shape::WrappedRawText, FK(ASN1_ASP_ConstraintGroupReference)};
    case FK(ASN1_PDU_ConstraintGroupRef): return {Shape::WrappedRawText, FK(ASN1_PDU_ConstraintGroupReference)};
    case FK(CM_ConstraintGroupRef): return {Shape::WrappedRawText, FK(CM_ConstraintGroupReference)};
    case FK(ASN1_CM_ConstraintGroupRef): return {Shape::WrappedRawText, FK(ASN1_CM_ConstraintGroupReference)};
    // One identifier.
    case FK(SuiteId): case FK(SO_SuiteId): case FK(SourceName): case FK(ObjectName): case FK(ObjectType):
    case FK(SimpleTypeId): case FK(EncodingRuleId): case FK(EncRuleId): case FK(PDU_EncodingId):
    case FK(TS_ParId): case FK(SelectExprId): case FK(TS_ConstId): case FK(TS_VarId): case FK(TC_VarId):
    case FK(TCompId): case FK(TCompConfigId): case FK(TCompUsed): case FK(PCO_Id): case FK(PCO_TypeId):
    case FK(CP_Id): case FK(TimerId): case FK(PCO_Type): case FK(CM_Id): case FK(AliasId):
    case FK(Configuration): case FK(SelExprId): case FK(TestCaseId): case FK(TestGroupId):
    case FK(TestStepGroupId): case FK(DefaultGroupId): case FK(StructTypeConstraintGroupId):
    case FK(ASN1_TypeConstraintGroupId): case FK(TTCN_ASP_ConstraintGroupId):
    case FK(TTCN_PDU_ConstraintGroupId): case FK(ASN1_ASP_ConstraintGroupId):
    case FK(ASN1_PDU_ConstraintGroupId): case FK(TTCN_CM_ConstraintGroupId):
    case FK(ASN1_CM_ConstraintGroupId): case FK(Identifier):
        return {Shape::Id, 0};
    // Identifier with an optional full name.
    case FK(StructId): return {Shape::IdAndFullId, FK(StructIdAndFullId)};
    case FK(ElemId): return {Shape::IdAndFullId, FK(ElemIdAndFullId)};
    case FK(ASP_Id): return {Shape::IdAndFullId, FK(ASP_IdAndFullId)};
    case FK(PDU_Id): return {Shape::IdAndFullId, FK(PDU_IdAndFullId)};
    case FK(ASP_ParId): return {Shape::IdOrMacro, FK(ASP_ParIdOrMacro)};
    case FK(PDU_FieldId): return {Shape::IdOrMacro, FK(PDU_FieldIdOrMacro)};
    case FK(CM_ParId): return {Shape::IdOrMacro, FK(CM_ParIdOrMacro)};
    // Identifier with a formal parameter list.
    case FK(EncodingVariationId): return {Shape::IdAndParList, FK(EncVariationIdAndParList)};
    case FK(InvalidFieldEncodingId): return {Shape::IdAndParList, FK(InvalidFieldEncodingIdAndParList)};
    case FK(TS_OpId): return {Shape::IdAndParList, FK(TS_OpIdAndParList)};
    case FK(TS_ProcId): return {Shape::IdAndParList, FK(TS_ProcIdAndParList)};
    case FK(ConsId): return {Shape::IdAndParList, FK(ConsIdAndParList)};
    case FK(TestStepId): return {Shape::IdAndParList, FK(TestStepIdAndParList)};
    case FK(DefaultId): return {Shape::IdAndParList, FK(DefaultIdAndParList)};
    case FK(Header): return {Shape::IdAndParList, FK(TreeHeader)};
    default:
        return {Shape::Special, 0};
    }
}

int32_t idAndFullIdOfMacroChoice(int32_t choiceKind) {
    if (choiceKind == FK(ASP_ParIdOrMacro)) return FK(ASP_ParIdAndFullId);
    if (choiceKind == FK(PDU_FieldIdOrMacro)) return FK(PDU_FieldIdAndFullId);
    return FK(CM_ParIdAndFullId);
}

bool isAsn1Field(int32_t k) {
    return k == FK(ASN1_TypeDefinition) || k == FK(ASN1_ConsValue) || k == FK(ASN1_TypeAndLocalTypes)
        || k == FK(ASN1_Type);
}

// The fields whose grammar is more than a name: null when the kind is none of them.
TreeNode* parseSpecial(FieldParserCore& p, int32_t k) {
    switch (k) {
    case FK(SimpleTypeDefinition): return p.node(k, {p.typeAndRestriction()});
    case FK(ElemType): case FK(ASP_ParType): case FK(PDU_FieldType): case FK(CM_ParType):
        return p.node(k, {p.typeAndAttributes()});
    case FK(TS_OpResult): case FK(TS_ProcResult): case FK(TS_ConstType):
        return p.node(k, {p.ttcnType()});
    case FK(TS_ParType): case FK(TS_VarType): case FK(TC_VarType):
        return p.node(k, {p.typeOrPdu()});
    case FK(TS_ConstValue): case FK(TS_VarValue): case FK(TC_VarValue): case FK(Duration):
        return p.node(k, {p.node(FK(DeclarationValue), {p.expression()})});
    case FK(SelectExpr): return p.node(k, {p.node(FK(SelectionExpression), {p.expression()})});
    case FK(EncodingDefault): return p.node(k, {p.node(FK(DefaultExpression), {p.expression()})});
    case FK(VariationDefault): return p.node(k, {p.expression()});
    case FK(ConsValue): return p.node(k, {p.constraintValueAndAttributes()});
    case FK(ASN1_ConsValue): return p.node(k, {p.consValueOrReplace()});
    case FK(EncVariationId): {
        TreeNode* id = p.identifier();
        return p.node(k, {p.node(FK(EncVariationCall), {id, p.actualParList(FK(ActualParList))})});
    }
    case FK(PDU_FieldEncoding): {
        // An encoding variation call and an invalid field encoding call look
        // alike; the analysis tells them apart by the name.
        TreeNode* id = p.identifier();
        TreeNode* call = p.node(FK(EncVariationCall), {id, p.actualParList(FK(ActualParList))});
        return p.node(k, {p.node(FK(PDU_FieldEncodingCall), {call})});
    }
    case FK(TC_Role): {
        TreeNode* role;
        if (p.acceptWord("MTC")) role = p.keyword(FK(MTC));
        else if (p.acceptWord("PTC")) role = p.keyword(FK(PTC));
        else p.fail();
        return p.node(k, {p.node(FK(TComp_Role), {role})});
    }
    case FK(NumOf_PCOs): return p.node(k, {p.node(FK(Num_PCOs), {p.number()})});
    case FK(NumOf_CPs): return p.node(k, {p.node(FK(Num_CPs), {p.number()})});
    case FK(PCOs_Used): return p.node(k, {p.identifierList(FK(PCO_List))});
    case FK(CPs_Used): return p.node(k, {p.identifierList(FK(CP_List))});
    case FK(P_Role): {
        TreeNode* role;
        if (p.acceptWord("UT")) role = p.keyword(FK(UT));
        else if (p.acceptWord("LT")) role = p.keyword(FK(LT));
        else p.fail();
        return p.node(k, {p.node(FK(PCO_Role), {role})});
    }
    case FK(Unit): {
        static constexpr struct { std::string_view word; int32_t kind; } units[] = {
            {"ps", FK(PicoSeconds)}, {"ns", FK(NanoSeconds)}, {"us", FK(MicroSeconds)},
            {"ms", FK(MilliSeconds)}, {"s", FK(Seconds)}, {"min", FK(Minutes)},
        };
        for (const auto& u : units) {
            if (p.acceptWord(u.word)) return p.node(k, {p.node(FK(TimeUnit), {p.keyword(u.kind)})});
        }
        p.fail();
    }
    case FK(ExpandedId): return p.node(k, {p.node(FK(Expansion), {p.identifier()})});
    case FK(ASN1_TypeId): {
        TreeNode* inner = p.idAndFullId(FK(ASN1_TypeId));
        return inner;
    }
    case FK(DerivPath): return p.node(k, {p.derivationPath()});
    case FK(ASN1_TypeDefinition): return p.node(k, {p.asn1TypeAndLocalTypes()});
    case FK(DefaultsRef): return p.node(k, {p.defaultRefList()});
    case FK(TestStepAttachment):
        p.accept(Tok::Plus);
        return p.node(k, {p.attach(FK(Attach))});
    case FK(LineNumber): return p.node(k, {p.number()});
    case FK(LabelId): return p.node(k, {p.node(FK(Label), {p.identifier()})});
    case FK(Line): return p.line();
    case FK(Cref): return p.node(k, {p.constraintReference()});
    case FK(VerdictId): return p.node(k, {p.verdict()});
    // Grammar entry points that are no cell of their own, for the analysis.
    case FK(Expression): return p.expression();
    case FK(ConstraintValueAndAttributes): return p.constraintValueAndAttributes();
    case FK(ASN1_Type): return p.asn1Type();
    case FK(ASN1_TypeAndLocalTypes): return p.asn1TypeAndLocalTypes();
    case FK(FormalParList): return p.formalParList();
    case FK(StatementLine): return p.statementLine();
    case FK(TypeAndAttributes): return p.typeAndAttributes();
    default:
        return nullptr;
    }
}

// The kinds whose cell may carry a full name after the object's name.
bool takesFullName(int32_t k) {
    return k == FK(StructId) || k == FK(ElemId) || k == FK(ASP_Id) || k == FK(PDU_Id) || k == FK(ASP_ParId)
        || k == FK(PDU_FieldId) || k == FK(CM_ParId) || k == FK(ASN1_TypeId) || k == FK(CM_Id);
}

// "Name (/* full name */)" or "Name (full name)": the name part (a prefix of
// the text, so offsets stay true) and the full name, trimmed and without its
// comment marks. The full name is free text and never reaches the lexer.
std::optional<std::string_view> splitFullName(std::string_view& text) {
    std::string_view t = trim(text);
    if (t.empty() || t.back() != ')') return std::nullopt;
    std::size_t open = text.find('(');
    if (open == std::string_view::npos || trim(text.substr(0, open)).empty()) return std::nullopt;
    std::size_t close = static_cast<std::size_t>(t.data() - text.data()) + t.size() - 1;
    std::string_view inner = freeText(text.substr(open + 1, close - open - 1));
    text = text.substr(0, open);
    return inner;
}

std::string placeOf(std::string_view text, int32_t offset) {
    std::size_t from = static_cast<std::size_t>(offset) < text.size() ? static_cast<std::size_t>(offset) : text.size();
    std::size_t to = text.find('\n', from);
    if (to == std::string_view::npos) to = text.size();
    return std::string(text.substr(from, to - from));
}

} // namespace

bool isFieldKind(int32_t fieldKind) { return kindInfo(fieldKind).backing == KindBacking::Field; }

FieldParseResult parseField(int32_t fieldKind, std::string_view text, int32_t line, TreeArena& arena,
                            const CallableName& callable) {
    FieldParseResult result;
    std::string_view trimmed = trim(text);
    if (trimmed.empty()) return result;
    FieldForm form = formOf(fieldKind);
    switch (form.shape) {
    case Shape::FreeText:
        result.tree = arena.makeText(fieldKind, freeText(text), line);
        result.tree->production = fieldKind;
        return result;
    case Shape::RawText:
        result.tree = arena.makeText(fieldKind, trimmed, line);
        result.tree->production = fieldKind;
        return result;
    case Shape::WrappedFreeText:
    case Shape::WrappedRawText: {
        std::string_view leafText = form.shape == Shape::WrappedFreeText ? freeText(text) : trimmed;
        TreeNode* leaf = arena.makeText(form.inner, leafText, line);
        leaf->production = form.inner;
        result.tree = arena.make(fieldKind, {leaf}, line);
        result.tree->production = fieldKind;
        return result;
    }
    default:
        break;
    }

    try {
        std::string_view parsed = text;
        std::optional<std::string_view> fullName;
        if (takesFullName(fieldKind)) fullName = splitFullName(parsed);
        FieldParserCore p(parsed, isAsn1Field(fieldKind) ? LexMode::Asn1 : LexMode::Ttcn, line, arena);
        p.fullName = fullName;
        if (callable) p.callable = &callable;
        TreeNode* tree = nullptr;
        switch (form.shape) {
        case Shape::Id:
            if (p.at(Tok::Ident) && FieldParserCore::isReservedWord(p.cur().text)) {
                result.findings.push_back({kMsgReservedWord, {std::string(p.cur().text)}, p.cur().offset});
                return result;
            }
            tree = fieldKind == FK(Identifier) ? p.identifier() : p.wrapIdentifier(fieldKind);
            break;
        case Shape::IdAndFullId:
            tree = p.node(fieldKind, {p.idAndFullId(form.inner)});
            break;
        case Shape::IdOrMacro:
            if (p.at(Tok::Less) && p.ahead(1).kind == Tok::Minus && p.ahead(1).offset == p.cur().offset + 1) {
                int32_t at = p.cur().offset;
                p.take();
                p.take();
                TreeNode* macro = p.textLeaf(FK(MacroSymbol), text.substr(static_cast<std::size_t>(at), 2));
                tree = p.node(fieldKind, {p.node(form.inner, {macro})});
            } else {
                TreeNode* id = p.idAndFullId(idAndFullIdOfMacroChoice(form.inner));
                tree = p.node(fieldKind, {p.node(form.inner, {id})});
            }
            break;
        case Shape::IdAndParList:
            tree = p.node(fieldKind, {p.idAndParList(form.inner)});
            break;
        default:
            tree = parseSpecial(p, fieldKind);
            if (!tree) {
                result.findings.push_back({kMsgInternalError, {std::to_string(fieldKind)}, 0});
                return result;
            }
            break;
        }
        p.expectEnd();
        result.tree = tree;
    } catch (const FieldSyntaxError& e) {
        result.tree = nullptr;
        result.findings.push_back({e.message, {placeOf(text, e.offset)}, e.offset});
    } catch (const std::bad_alloc&) {
        libraryOutOfMemory();
        result.tree = nullptr;
        result.findings.push_back({kMsgInternalError, {std::to_string(kInternalErrorOutOfMemory)}, 0});
    }
    return result;
}
