#include "screens/menu/service/service_key_slots.h"

#include "screens/menu/service/brand_model_keys.h"
#include "screens/menu/service/service_tuning_keys.h"
#include "screens/output/keys/key_table.h"

namespace {
constexpr MenuKeySlot kServiceSlots[] = {
    {226, KeyProcess_8623_FirmEdit},           {228, KeyProcess_8623_ModelEdit},
    {256, KeyProcess_9371_VoltSlewEdit},       {257, KeyProcess_9371_FanSlewEdit},
    {258, KeyProcess_9371_FanDutyMaxEdit},     {259, KeyProcess_9371_FanDutyMinEdit},
    {260, KeyProcess_9371_AvgCurrComp_kpEdit}, {261, KeyProcess_9371_AvgCurrComp_kiEdit},
    {262, KeyProcess_9371_RD_Define1Edit},     {263, KeyProcess_9371_RD_Define2Edit},
    {264, KeyProcess_9371_RD_Define3Edit},     {265, KeyProcess_9371_RD_Define4Edit},
    {266, KeyProcess_9371_RD_Define5Edit},
};
}  // namespace

int MenuService_RegisterKeys() {
    return KeyTable_RegisterMenu(kServiceSlots, sizeof kServiceSlots / sizeof kServiceSlots[0]);
}
