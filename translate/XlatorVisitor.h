// The translation visitor: its visit of the suite node writes the TTCN-3 module
// and the ASN.1 module through the output writer.
#pragma once

#include "tree/AccessVisitor.h"

class XlatorVisitor : public AccessVisitor {
    // Translation of the suite is added here: the module frame, declarations,
    // constraints, dynamic part and control part, each overriding the Visit
    // operations of the kinds it translates. Until then the default traversal
    // walks the suite and writes nothing.
};
