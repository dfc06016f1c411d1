// The definition collector: the pre-pass over the whole suite tree that gathers
// what the translation needs from elsewhere in the suite (test steps, defaults,
// local trees, attaches, configurations, PCO message types, ASN.1 type names).
#pragma once

#include "tree/AccessVisitor.h"

class XlatorDefinitionCollector : public AccessVisitor {
    // The collecting Visit operations, the tables and their queries are added
    // here with the pre-pass; until then the default traversal walks the whole
    // suite and collects nothing.
};

// The one collector of the run, filled once and read-only afterwards.
extern XlatorDefinitionCollector gDefinitionCollector;
