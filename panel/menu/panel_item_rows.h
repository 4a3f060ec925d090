#pragma once
// One row per settings-panel item: the record its value is read from, the unit that record is read on,
// and what else the home page repaints when that record changes. The overlay's cells, the panel's value
// texts, the hint line and the home page's refresh read these rows; where an item stands (and so which
// window shows it) is the layout's business (settings_layout.h).
#include <array>
#include <cstdint>

#include "core/params/param_store.h"
#include "panel/menu/panel_items.h"

// The unit an item's record is read on.
enum class ItemUnit : uint8_t {
    kNone,   // the item shows no record of its own
    kPhase,  // the selected phase's
    kZero,   // one record for every phase, on unit 0
};

// What a change repaints beside the values of the item and of its `alsoItems`.
enum ItemRepaint : uint8_t {
    kRepaintAcvSet = 1u << 0,  // the set-value cells' rows: ACV, DCV, FREQ
    kRepaintDcvSet = 1u << 1,
    kRepaintFreqSet = 1u << 2,
    kRepaintLineKey = 1u << 3,     // the selected line's soft key
    kRepaintEachAllKey = 1u << 4,  // the EACH/ALL soft key
    kRepaintPhasor = 1u << 5,      // the phasor, where the wiring shows it
};

struct PanelItemRow {
    ParamId record;      // kParamNone: none
    ParamId lineRecord;  // the LINE view's record (unit 0), or kParamNone: the same as in the PHASE view
    ItemUnit unit;
    uint32_t alsoItems;   // bit i: item i shows something the change alters
    uint8_t repaint;      // ItemRepaint bits when the record changes
    uint8_t lineRepaint;  // when the LINE view's record changes
};

constexpr uint32_t ItemBit(PanelItem item) {
    return 1u << item;
}

namespace panel_item_rows {
constexpr ItemUnit P = ItemUnit::kPhase, Z = ItemUnit::kZero;
constexpr uint8_t kSetAF = kRepaintAcvSet | kRepaintFreqSet;
// clang-format off
constexpr std::array<PanelItemRow, kLabelledItems> Build() {
    std::array<PanelItemRow, kLabelledItems> t{};
    t[kItemAcv] = {kParamAcv, kParamAcvLine, P, 0, kSetAF, kSetAF};
    t[kItemDcv] = {kParamDcv2, kParamDcvLine, P, 0, kRepaintDcvSet | kRepaintFreqSet, kSetAF};
    // The phase angles and the duty are shown in a format the frequency sets.
    t[kItemFreq] = {kParamFreq, kParamNone, P,
                    ItemBit(kItemOnPhase) | ItemBit(kItemOffPhase) | ItemBit(kItemWave), kRepaintFreqSet, 0};
    t[kItemIrms] = {kParamCurrLimit2, kParamNone, P, 0, 0, 0};
    t[kItemI] = t[kItemIrms];
    t[kItemOnPhase] = {kParamOnPhase, kParamNone, P, 0, 0, 0};
    t[kItemOffPhase] = {kParamOffPhase, kParamNone, P, 0, 0, 0};
    t[kItemGain] = {kParamGain, kParamNone, P, 0, 0, 0};
    t[kItemSig] = {kParamMainSig, kParamNone, P, 0, 0, 0};
    t[kItemWave] = {kParamWaveShape, kParamNone, P, 0, 0, 0};
    t[kItemDuty] = {kParamWaveDuty, kParamNone, P, 0, 0, 0};
    // Balance brings the PHASE/LINE view and the angles in or out, and the line and EACH/ALL keys with them.
    t[kItemBalance] = {kParamBalanceMode, kParamNone, Z, ItemBit(kItemPhase) | ItemBit(kItemAngleL2),
                       kRepaintLineKey | kRepaintEachAllKey | kRepaintPhasor, 0};
    t[kItemAngleL2] = {kParamBalance2, kParamNone, Z, 0, kRepaintPhasor, 0};
    t[kItemAngleL3] = {kParamBalance3, kParamNone, Z, 0, kRepaintPhasor, 0};
    t[kItemSrc] = {kParamMainSrc, kParamNone, P, 0, 0, 0};
    t[kItemSyncPhase] = {kParamSyncPhase, kParamNone, Z, 0, 0, 0};
    return t;
}
// clang-format on
}  // namespace panel_item_rows

inline constexpr std::array<PanelItemRow, kLabelledItems> kPanelItemRows = panel_item_rows::Build();

inline constexpr PanelItemRow kNoItemRow{};
// An item's row; the empty rows (and any code outside the items) read as a row without a record.
constexpr const PanelItemRow& PanelItemRowOf(PanelItem item) {
    return item >= kItemPhase && item < kLabelledItems ? kPanelItemRows[item] : kNoItemRow;
}

// The record an item's value is read from, and the unit it is read on, for the selected phase.
struct ItemRecord {
    uint32_t id;
    uint32_t unit;
};
constexpr ItemRecord ItemRecordOf(PanelItem item, uint32_t phase, bool lineView) {
    const PanelItemRow& r = PanelItemRowOf(item);
    if (lineView && r.lineRecord != kParamNone) return {static_cast<uint32_t>(r.lineRecord), 0};
    return {static_cast<uint32_t>(r.record), r.unit == ItemUnit::kPhase ? phase : 0};
}

// Whether the record with this id is the unit-0 record of a panel item.
constexpr bool IsUnitZeroItemRecord(uint32_t id) {
    for (const PanelItemRow& r : kPanelItemRows)
        if (r.unit == ItemUnit::kZero && static_cast<uint32_t>(r.record) == id) return true;
    return false;
}
