// The settings chain of the home refresh: fifteen links over the selected line's settings, tested in
// order; only the first that changed is handled on a call. A link names a panel item: its row
// (panel/menu/panel_item_rows.h) gives the record and what else a change repaints, the layout the windows
// that show the item and those others in the current output mode and wiring.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/panel_item_rows.h"
#include "panel/menu/settings_layout.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_windows.h"

namespace home {

namespace {

// The words a link compares: its item's record (for the selected line when the record is per phase), the
// LINE view's record, the record's on/off state, or the AC voltage unit that both AC voltage links share.
enum class Word : uint8_t { kNone, kValue, kLineValue, kState, kAcvUnit };
struct SettingLink {
    PanelItem item;
    Word word[2];
    void (*act)();  // before the queueing, when set
};

// Balance switched: the selection goes back to the first row; without balance the view goes to PHASE.
void BalanceChanged() {
    g_HomePage.panelRow.store(0, std::memory_order_relaxed);
    g_HomePage.panelPage.store(0, std::memory_order_relaxed);
    if (GetPhaseBalanceMode() == 0) paramPutValue(kParamMeasItem7, 0, 0);
}

using enum Word;
// clang-format off
constexpr SettingLink kSettingsChain[] = {
    {kItemAcv, {kValue, kAcvUnit}, nullptr},     {kItemAcv, {kLineValue, kAcvUnit}, nullptr},
    {kItemDcv, {kValue}, nullptr},               {kItemDcv, {kLineValue}, nullptr},
    {kItemFreq, {kValue}, nullptr},              {kItemIrms, {kValue}, nullptr},
    {kItemOnPhase, {kValue, kState}, nullptr},   {kItemOffPhase, {kValue, kState}, nullptr},
    {kItemBalance, {kValue}, BalanceChanged},    {kItemAngleL2, {kValue}, nullptr},
    {kItemAngleL3, {kValue}, nullptr},           {kItemGain, {kValue}, nullptr},
    {kItemSyncPhase, {kValue}, nullptr},         {kItemSig, {kValue}, nullptr},
    {kItemSrc, {kValue}, nullptr},
};
// clang-format on
constexpr int kLinks = static_cast<int>(std::size(kSettingsChain));

// The cache slot of word k of link i: the first words by link, the second after them, the AC voltage unit
// one slot for both links that compare it.
constexpr int SlotOf(int i, int k) {
    if (k == 0) return i;
    return kSettingsChain[i].word[1] == kAcvUnit ? kLinks : kLinks + 1 + i;
}
constexpr bool SlotsFit() {
    for (int i = 0; i < kLinks; ++i)
        for (int k = 0; k < 2 && kSettingsChain[i].word[k] != Word::kNone; ++k)
            if (SlotOf(i, k) >= static_cast<int>(std::size(HomeWindows{}.settings))) return false;
    return true;
}
static_assert(SlotsFit());

uint32_t Read(PanelItem item, Word w, uint32_t line) {
    const PanelItemRow& row = PanelItemRowOf(item);
    const uint32_t unit = w != kAcvUnit && w != kLineValue && row.unit == ItemUnit::kPhase ? line : 0;
    const uint32_t id = w == kAcvUnit     ? uint32_t{kParamAcvUnit}
                        : w == kLineValue ? static_cast<uint32_t>(row.lineRecord)
                                          : row.record + unit;
    ParamRec rec{};
    paramGetRecord(id, &rec, unit);
    return static_cast<uint32_t>(w == kState ? rec.state : rec.value);
}

void Handle(const SettingLink& l, bool lineRecord) {
    if (l.act != nullptr) l.act();
    const PanelItemRow& row = PanelItemRowOf(l.item);
    const uint32_t wiring = GetPhaseMode();
    QueueItemValues(ItemBit(l.item) | row.alsoItems);
    const uint8_t repaint = lineRecord ? row.lineRepaint : row.repaint;
    if ((repaint & kRepaintLineKey) != 0) Queue(kWinLineKey);
    if ((repaint & kRepaintEachAllKey) != 0) Queue(kWinEachAllKey);
    if ((repaint & kRepaintPhasor) != 0 && wiring != kWiring1P2W) Queue(kWinPhasor);
    constexpr uint8_t kSetRows[3] = {kRepaintAcvSet, kRepaintDcvSet, kRepaintFreqSet};
    for (int r = 0; r < 3; ++r)
        if ((repaint & kSetRows[r]) != 0) QueueRange(SetCellWin(r, 0), 3);
}

}  // namespace

void QueueItemValues(uint32_t items) {
    const uint32_t mode = GetOutputMode(), wiring = GetPhaseMode();
    if (mode >= core::kModes) return;
    for (uint32_t r = 0; r < kLayoutRows; ++r) {
        const PanelItem item = SettingsItemCode(SettingsLayoutTables.a, r, mode);
        if (item < kLabelledItems && (items & ItemBit(item)) != 0)
            Queue(PanelValueWin(static_cast<int>(PanelSlotOfRow(r, wiring, mode).index)));
    }
}

bool SettingsChainStep(uint32_t line) {
    uint32_t* cache = g_HomeWindows.settings;
    for (int i = 0; i < kLinks; ++i) {
        const SettingLink& l = kSettingsChain[i];
        uint32_t now[2];
        bool changed = false;
        for (int k = 0; k < 2 && l.word[k] != kNone; ++k) {
            now[k] = Read(l.item, l.word[k], line);
            changed |= now[k] != cache[SlotOf(i, k)];
        }
        if (!changed) continue;
        for (int k = 0; k < 2 && l.word[k] != kNone; ++k)
            cache[SlotOf(i, k)] = now[k];
        Handle(l, l.word[0] == kLineValue);
        return true;
    }
    return false;
}

}  // namespace home
