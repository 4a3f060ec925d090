#pragma once
// The words the status bar and the menu read (the menu state, the home view, the edit, the home page's
// selections, the message ring), given back after a case: the screen tests of this program draw from the
// words as the program starts with them.
#include <cstring>
#include <iterator>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "panel/menu_entries.h"

namespace screentest {

class StatusWords {
  public:
    StatusWords()
        : model_(g_ModelId.load()), wiring_(g_PhaseMode.load()), mode_(g_OutputModeIdx.load()),
          flags_(g_ParamFlags.load()), recall_(g_HomePage.recallIndex.load()) {
        for (uint32_t m = 0; m < std::size(range_); ++m)
            range_[m] = g_ParamStore.rangeCode[m].load();
        paramGetRecord(kParamIrmsLimitMode, &irms_, 0);
        paramGetRecord(kParamIpkLimitMode, &ipk_, 0);
    }
    ~StatusWords() {
        g_ModelId = model_;
        g_PhaseMode = wiring_;
        g_OutputModeIdx = mode_;
        g_ParamFlags = flags_;
        g_HomePage.recallIndex = recall_;
        for (uint32_t m = 0; m < std::size(range_); ++m)
            g_ParamStore.rangeCode[m].store(range_[m]);
        paramPutRecord(kParamIrmsLimitMode, &irms_, 0);
        paramPutRecord(kParamIpkLimitMode, &ipk_, 0);
        g_MenuState = 0;
        g_LastHomeView = 0;
        g_EditAllPhases = 0;
        for (auto* word : {&g_HomePage.panelRow, &g_HomePage.viewSel, &g_HomePage.saveIndex,
                           &g_HomePage.presetSel, &g_HomePage.presetPrev, &g_HomePage.presetPending})
            word->store(0);
        menuResetEdit();
        MsgQueue_Clear();
    }
    StatusWords(const StatusWords&) = delete;
    StatusWords& operator=(const StatusWords&) = delete;

  private:
    uint32_t model_, wiring_, mode_, flags_, recall_;
    uint32_t range_[std::size(g_ParamStore.rangeCode)];
    ParamRec irms_{}, ipk_{};
};

// The parameter store's bytes (its words are plain integers, atomic or not), given back after a case.
class StoreCopy {
  public:
    StoreCopy() : bytes_(sizeof g_ParamStore) {
        std::memcpy(bytes_.data(), static_cast<const void*>(&g_ParamStore), bytes_.size());
    }
    ~StoreCopy() { std::memcpy(static_cast<void*>(&g_ParamStore), bytes_.data(), bytes_.size()); }
    StoreCopy(const StoreCopy&) = delete;
    StoreCopy& operator=(const StoreCopy&) = delete;

  private:
    std::vector<unsigned char> bytes_;
};

}  // namespace screentest
