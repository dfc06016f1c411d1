// Lookup of ASN.1 type and value definitions by module name and assignment
// name, over every module loaded in the process-wide handle table. This is
// what the field analysis uses to attach a referenced module's definition to
// a by-reference row.
#pragma once

#include <string>

#include "suite/LibraryError.h"
#include "suite/asn1/Asn1ModuleTable.h"

// The assignment of that name in `module` (null when `module` is null or has none).
const Asn1TypeAssignment* findTypeIn(const Asn1Module* module, const std::string& name);
const Asn1ValueAssignment* findValueIn(const Asn1Module* module, const std::string& name);

// The loaded module of that name; null when none is loaded.
const Asn1Module* findLoadedAsn1Module(const std::string& module);

// The definition text of type `name` in module `module`, or null with error
// 232 "Unable to retrieve value or type definition" in `error` when given.
// The text stays valid while the module stays loaded.
const char* findAsn1TypeDefinition(const std::string& module, const std::string& name,
                                   LibraryError* error = nullptr);

// The value assignment `name` in module `module` (its type text and value
// text), or null with error 232.
const Asn1ValueAssignment* findAsn1ValueDefinition(const std::string& module, const std::string& name,
                                                   LibraryError* error = nullptr);
