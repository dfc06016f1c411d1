#include "suite/analysis/FieldParsing.h"

#include "tree/KindInfo.h"

#include <string>

ParsedField parseCellText(std::string_view field, std::string_view text, int line, TreeArena& arena,
                          const CallableName& callable) {
    return parseCellText(kindNamed(field), text, line, arena, callable);
}

ParsedField parseCellText(int32_t kind, std::string_view text, int line, TreeArena& arena,
                          const CallableName& callable) {
    ParsedField parsed;
    if (!isFieldKind(kind)) return parsed;
    // The document keeps every text it parses (in its arena).
    FieldParseResult result = parseField(kind, text, line, arena, callable, FieldTexts::InPlace);
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
