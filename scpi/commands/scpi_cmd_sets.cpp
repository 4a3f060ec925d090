#include <cstddef>

#include "scpi/commands/scpi_handler_table.h"
#include "scpi/parser/scpi_tree.h"

constinit const ScpiCmdSet g_ScpiCmdSets[2] = {
    {scpi::kMainHandlers.data(), scpi::kMainHandlers.size(), &scpi::kMainCmdSetDesc},
    {ScpiAltCmdTable.data(), ScpiAltCmdTable.size(), &scpi::kAltCmdSetDesc},
};

std::atomic<uint32_t> g_ScpiCmdSetSel{0};

namespace scpi {
namespace {

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool KeywordMatch(const ScpiKeyword& keyword, const char* token, uint32_t length) {
    if (keyword.text == nullptr || length >= 16) return false;
    if (length != keyword.shortLen && length != keyword.longLen) return false;
    for (uint32_t i = 0; i < length; ++i) {
        if (FoldCase(token[i]) != FoldCase(keyword.text[i])) return false;
    }
    return true;
}

bool ChoiceLookup(const ScpiChoice* list, const char* token, uint32_t length, int32_t* value) {
    if (list == nullptr) return false;
    for (const ScpiChoice* c = list; c->keyword.text != nullptr; ++c) {
        if (KeywordMatch(c->keyword, token, length)) {
            if (value != nullptr) *value = c->value;
            return true;
        }
    }
    return false;
}

bool UnitLookup(uint32_t table, const char* unit, uint32_t length, int32_t* exponent) {
    if (table == 0 || table > kScpiUnitTables) return false;
    for (const ScpiUnit* u = kUnitTables[table]; u->name != nullptr; ++u) {
        size_t n = 0;
        while (u->name[n] != '\0')
            ++n;
        if (n != length) continue;
        bool equal = true;
        for (size_t i = 0; i < n && equal; ++i)
            equal = u->name[i] == unit[i];
        if (equal) {
            if (exponent != nullptr) *exponent = u->exponent;
            return true;
        }
    }
    return false;
}

const ScpiParamSpec* ParamSpecOf(const ScpiCmdSetDescriptor* set, uint32_t id) {
    if (set == nullptr || id == 0 || id > set->specCount) return nullptr;
    return &set->specs[id - 1];
}

}  // namespace scpi
