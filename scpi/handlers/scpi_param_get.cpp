// The typed accessors of a parsed command's parameters.
#include <cstring>

#include "scpi/handlers/scpi_handler.h"
#include "scpi/channels/scpi_interface.h"

namespace {

const ScpiParamItem* Item(const ScpiInterface* ifc, uint32_t i) {
    if (ifc == nullptr || ifc->cmd == nullptr || i >= ifc->cmd->paramCount) return nullptr;
    return &ifc->cmd->items[i];
}

int IsType(const ScpiInterface* ifc, uint32_t i, uint8_t type) {
    const ScpiParamItem* item = Item(ifc, i);
    if (item == nullptr) return -1;
    return item->type == type ? 1 : 0;
}

// Items sit on 4-byte boundaries of the data area: values are copied, never cast.
template <typename T>
int Copy(const ScpiInterface* ifc, uint32_t i, uint8_t type, T* out) {
    const ScpiParamItem* item = Item(ifc, i);
    if (item == nullptr || item->type != type || out == nullptr || item->length < sizeof(T)) return -1;
    std::memcpy(out, item->data, sizeof(T));
    return 0;
}

int Bytes(const ScpiInterface* ifc, uint32_t i, uint8_t type, const uint8_t** out) {
    const ScpiParamItem* item = Item(ifc, i);
    if (item == nullptr || item->type != type || out == nullptr) return -1;
    *out = item->data;
    return static_cast<int>(item->length);
}

}  // namespace

int scpiGetSuffix(const ScpiInterface* ifc, uint32_t i) {
    if (ifc == nullptr || ifc->cmd == nullptr || i >= ifc->cmd->suffixCount || i >= kScpiMaxLevels) return -1;
    return ifc->cmd->suffix[i];
}

int scpiIsInt(const ScpiInterface* ifc, uint32_t i) {
    return IsType(ifc, i, kItemInt);
}
int scpiIsBlock(const ScpiInterface* ifc, uint32_t i) {
    return IsType(ifc, i, kItemBlock);
}

int scpiGetChoice(const ScpiInterface* ifc, uint32_t i, int32_t* out) {
    return Copy(ifc, i, kItemChoice, out);
}

int scpiGetReal(const ScpiInterface* ifc, uint32_t i, double* out) {
    return Copy(ifc, i, kItemReal, out);
}

int scpiGetString(const ScpiInterface* ifc, uint32_t i, const char** out) {
    const uint8_t* bytes = nullptr;
    const int n = Bytes(ifc, i, kItemString, &bytes);
    if (n >= 0) *out = reinterpret_cast<const char*>(bytes);
    return n;
}

int scpiGetBlock(const ScpiInterface* ifc, uint32_t i, const uint8_t** out) {
    return Bytes(ifc, i, kItemBlock, out);
}

