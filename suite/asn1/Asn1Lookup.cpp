#include "suite/asn1/Asn1Lookup.h"

namespace {
void setNotFound(LibraryError* error, const std::string& name) {
    if (error)
        setLibraryError(*error, LibraryErrorCode::AsnDefinitionNotFound, {}, name, "findAsn1Definition",
                        __FILE__, __LINE__);
}
}  // namespace

const Asn1TypeAssignment* findTypeIn(const Asn1Module* module, const std::string& name) {
    if (!module) return nullptr;
    for (const auto& type : module->types)
        if (type.name == name) return &type;
    return nullptr;
}

const Asn1ValueAssignment* findValueIn(const Asn1Module* module, const std::string& name) {
    if (!module) return nullptr;
    for (const auto& value : module->values)
        if (value.name == name) return &value;
    return nullptr;
}

const Asn1Module* findLoadedAsn1Module(const std::string& module) {
    return Asn1ModuleTable::instance().findIf([&](const Asn1Module& loaded) { return loaded.name == module; });
}

const char* findAsn1TypeDefinition(const std::string& module, const std::string& name, LibraryError* error) {
    const Asn1TypeAssignment* found = findTypeIn(findLoadedAsn1Module(module), name);
    if (!found) {
        setNotFound(error, name);
        return nullptr;
    }
    return found->definition.c_str();
}

const Asn1ValueAssignment* findAsn1ValueDefinition(const std::string& module, const std::string& name,
                                                   LibraryError* error) {
    const Asn1ValueAssignment* found = findValueIn(findLoadedAsn1Module(module), name);
    if (!found) setNotFound(error, name);
    return found;
}
