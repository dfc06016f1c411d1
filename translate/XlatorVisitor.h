// The translation visitor: its visit of the suite node writes the TTCN-3 module
// and the ASN.1 module through the output writer. Each part of the suite has
// its own source files; the Visit operations and helpers of a part are declared
// in that part's section below, so the parts grow side by side.
#pragma once

#include "tree/AccessVisitor.h"

#include <deque>
#include <map>
#include <string>

class AccessSuite;

#pragma push_macro("INFINITY")
#undef INFINITY

class XlatorVisitor : public AccessVisitor {
public:
    explicit XlatorVisitor(const AccessSuite& suite);
    ~XlatorVisitor() override;

    // ---- Module frame, group layout and imports (XlatorModule.cpp) ----

    // ---- Identifiers, values, expressions, matching symbols
    //      (XlatorIdentifiers.cpp, XlatorValues.cpp, XlatorAsn1Values.cpp) ----

    // ---- Formal parameter lists (XlatorFormalParameters.cpp) ----

    // ---- Simple and structured types (XlatorTypes.cpp) ----

    // ---- ASN.1 type definitions (XlatorAsn1Types.cpp) ----

    // ---- Operations, parameters, selections, constants, variables (XlatorOperations.cpp) ----

    // ---- Components, configurations, ports, timers, BASE (XlatorComponents.cpp) ----

    // ---- ASP, PDU and CM types, aliases (XlatorMessages.cpp) ----

    // ---- Constraints to templates (XlatorConstraints.cpp) ----

    // ---- Dynamic part: test cases, steps, defaults, local trees (XlatorDynamicPart.cpp) ----

    // ---- Behaviour trees to statements (XlatorBehaviour.cpp) ----

    // ---- Control part (XlatorControl.cpp) ----

protected:
    // The opened suite, for lookups of definitions by name.
    const AccessSuite& suite_;
    // The types whose values are being written; the value translation reads
    // the top (see the pushes and pops of each part).
    std::deque<AccessNode> typeContext_;
    // Set while an Expression is written; read by the identifier rule.
    bool inExpression_ = false;
    // Alias identifier to expanded identifier, filled by the alias definitions
    // and read by the identifier rule.
    std::map<std::string, std::string> aliases_;
};

#pragma pop_macro("INFINITY")
