// The service jobs a parallel master hands its slaves, by the item it sends.
#include "core/system/state/menu_state_ids.h"
#include "screens/menu/service/service_entries.h"

namespace {
struct SlaveItem {
    uint32_t item;
    uint32_t value;  // the item's value that selects the row; kAnyValue: every value
    void (*run)();
};
constexpr uint32_t kAnyValue = 0xFFFFFFFFu;

void Dsp() {
    ServiceDataRow(kMenuDataUpdateDsp);
}
void Zynq() {
    ServiceDataRow(kMenuDataUpdateZynq);
}
void Max10() {
    ServiceDataRow(kMenuDataUpdateMax10);
}
void Recall() {
    ServiceDataRow(kMenuDataCalRecall);
}
void Save() {
    ServiceDataRow(kMenuDataCalSave);
}

constexpr SlaveItem kSlaveItems[] = {
    {15, kAnyValue, Dsp},   {16, kAnyValue, Zynq},
    {17, kAnyValue, Max10}, {18, kAnyValue, ServiceUpdateFirmware},
    {19, 0, Recall},        {19, 1, Save},
};
}  // namespace

void ServiceSlaveItem(uint32_t item, uint32_t value) {
    for (const SlaveItem& s : kSlaveItems) {
        if (s.item == item && (s.value == kAnyValue || s.value == value)) {
            s.run();
            return;
        }
    }
}
