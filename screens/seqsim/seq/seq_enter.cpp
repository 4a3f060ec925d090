#include "screens/seqsim/seq/seq_enter.h"

#include "engine/seqsim/seqsim_data.h"
#include "panel/menu_entries.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// What a selection puts into the live words the screen shows beside the step's values.
void SelectionExtras(const SeqStateInfo& s, int32_t v) {
    SeqSimBlock& b = g_SeqSimBlock[s.phase];
    SeqSimBlock& l1 = g_SeqSimBlock[0];
    const auto u = static_cast<uint32_t>(v);
    switch (s.field) {
        case SeqField::kAcv:
            b.liveAcv = u;
            l1.panelFlags.fetch_or(kSeqPanelAcvSelected, kRelaxed);
            break;
        case SeqField::kDcv:
            b.liveDcv = v;
            break;
        case SeqField::kFset:
            b.liveFset = u;
            break;
        case SeqField::kDuty:
            b.liveDuty = u;
            break;
        case SeqField::kBalanceL2:
            l1.liveAngleL2 = u;
            break;
        case SeqField::kBalanceL3:
            l1.liveAngleL3 = u;
            break;
        case SeqField::kSync:
        case SeqField::kStepIndex:
            l1.panelFlags.fetch_and(static_cast<uint8_t>(~kSeqPanelAcvSelected), kRelaxed);
            break;
        default:
            break;
    }
}

}  // namespace

void SeqEnterFieldState(uint32_t state) {
    const SeqStateInfo s = SeqStateOf(state);
    if (s.field == SeqField::kNone) return;
    const int32_t v = SeqFieldEntryValue(state);
    menuEnterStateValue(state, v);
    if (!s.edit) SelectionExtras(s, v);
    const bool first = s.edit && (s.field == SeqField::kWave || s.field == SeqField::kDuty ||
                                  s.field == SeqField::kStepIndex);
    g_SeqSimScreen.fieldRedraw[first ? 0 : 1].store(1, std::memory_order_release);
}
