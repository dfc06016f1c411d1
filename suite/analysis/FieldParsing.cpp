#include "suite/analysis/FieldParsing.h"

#include "access/KindInfo.h"
#include "suite/fields/FieldParser.h"

#include <optional>
#include <string>

namespace {

// The fields that name an object together with its full identifier.
bool hasFullIdentifier(std::string_view field) {
    for (std::string_view f : {"StructId", "ElemId", "ASN1_TypeId", "ASP_Id", "PDU_Id", "ASP_ParId", "PDU_FieldId",
                               "CM_ParId", "CM_Id"})
        if (f == field) return true;
    return false;
}

// The MP importer keeps "Id (/* full */)" as "Id (full)"; the field parser
// reads the full identifier as free text in its comment marks. Gives the
// text with the marks back, or nothing when the text has no such form.
std::optional<std::string> withCommentMarks(std::string_view text) {
    std::size_t open = text.find('(');
    std::size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return std::nullopt;
    for (std::size_t i = close + 1; i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') return std::nullopt;
    std::string_view inner = text.substr(open + 1, close - open - 1);
    if (inner.find("/*") != std::string_view::npos || inner.find("*/") != std::string_view::npos) return std::nullopt;
    return std::string(text.substr(0, open + 1)) + "/* " + std::string(inner) + " */)";
}

}  // namespace

ParsedField parseCellText(std::string_view field, std::string_view text, int line, TreeArena& arena) {
    ParsedField parsed;
    int32_t kind = kindNamed(field);
    if (!isFieldKind(kind)) return parsed;
    FieldParseResult result = parseField(kind, text, line, arena);
    if (result.hasErrors() && hasFullIdentifier(field)) {
        if (std::optional<std::string> marked = withCommentMarks(text)) {
            FieldParseResult retry = parseField(kind, arena.copyText(*marked), line, arena);
            if (!retry.hasErrors()) result = std::move(retry);
        }
    }
    parsed.tree = result.tree;
    for (const FieldFinding& finding : result.findings) {
        CellFinding cell;
        cell.message = finding.message;
        cell.severity = Severity::Error;
        // The offset is where the finding's place ("~A") starts in the text.
        for (const std::string& argument : finding.arguments)
            cell.arguments.emplace_back(argument, finding.offset);
        parsed.findings.push_back(std::move(cell));
    }
    return parsed;
}
