// The process-wide table of loaded ASN.1 modules. A module handle is the index
// of its slot; the table has a fixed number of slots.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

struct Asn1TypeAssignment {
    std::string name;
    std::string definition;
};

struct Asn1ValueAssignment {
    std::string name;
    std::string type;
    std::string value;
};

// One module as read back from the converter's exchange output. Both lists
// hold their assignments in the reverse order of the exchange file (every new
// record is put at the head), so a lookup finds the last of two equal names.
struct Asn1Module {
    std::string name;
    std::vector<Asn1TypeAssignment> types;
    std::vector<Asn1ValueAssignment> values;
};

using Asn1ModuleHandle = int;
inline constexpr Asn1ModuleHandle kNoAsn1Module = -1;
inline constexpr int kAsn1ModuleSlots = 2000;

class Asn1ModuleTable {
public:
    static Asn1ModuleTable& instance();

    // The first free slot, now holding an empty module; kNoAsn1Module when all are taken.
    Asn1ModuleHandle acquire();
    // Frees the slot and everything its module holds; no effect on a free slot.
    void release(Asn1ModuleHandle handle);

    Asn1Module* module(Asn1ModuleHandle handle);
    int usedSlots() const;

    // Every loaded module, in slot order, for lookups by module name.
    template <class Visit>
    const Asn1Module* findIf(Visit&& visit) const {
        for (const auto& slot : slots_)
            if (slot && visit(*slot)) return slot.get();
        return nullptr;
    }

private:
    std::array<std::unique_ptr<Asn1Module>, kAsn1ModuleSlots> slots_;
};
