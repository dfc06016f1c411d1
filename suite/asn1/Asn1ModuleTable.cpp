#include "suite/asn1/Asn1ModuleTable.h"

Asn1ModuleTable& Asn1ModuleTable::instance() {
    static Asn1ModuleTable table;
    return table;
}

Asn1ModuleHandle Asn1ModuleTable::acquire() {
    for (int slot = 0; slot < kAsn1ModuleSlots; ++slot) {
        if (!slots_[slot]) {
            slots_[slot] = std::make_unique<Asn1Module>();
            return slot;
        }
    }
    return kNoAsn1Module;
}

void Asn1ModuleTable::release(Asn1ModuleHandle handle) {
    if (handle >= 0 && handle < kAsn1ModuleSlots) slots_[handle].reset();
}

Asn1Module* Asn1ModuleTable::module(Asn1ModuleHandle handle) {
    if (handle < 0 || handle >= kAsn1ModuleSlots) return nullptr;
    return slots_[handle].get();
}

int Asn1ModuleTable::usedSlots() const {
    int used = 0;
    for (const auto& slot : slots_) used += slot ? 1 : 0;
    return used;
}
