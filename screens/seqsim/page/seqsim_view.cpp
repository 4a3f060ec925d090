#include "screens/seqsim/page/seqsim_view.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_preview.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "engine/sim/sim_access.h"
#include "panel/menu/dialog_words.h"
#include "panel/pages/page_mgr.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/page/seqsim_fields.h"
#include "screens/seqsim/seq/seq_fields.h"
#include "screens/seqsim/sim/sim_fields.h"
#include "screens/seqsim/sim/sim_knob.h"

namespace seqsim {
namespace {

constexpr uint32_t kKindDc = 2;
constexpr const char* kWiringNames[] = {"3P4W", "1P2W", "1P3W"};
constexpr const char* kRangeNames[] = {"100V", "200V"};

template <size_t N>
void Copy(char (&out)[N], const char* text) {
    std::snprintf(out, N, "%s", text);
}

bool InSet(uint32_t state, std::initializer_list<uint32_t> set) {
    for (uint32_t s : set)
        if (s == state) return true;
    return false;
}

// The SIMULATE fields the knob reaches from the state index (and from the field selected, for an L2/L3
// field a remote edit selected): the rows the state shows.
struct SimReach {
    uint32_t states[32];
    int count = 0;
    bool Has(uint32_t s) const {
        for (int i = 0; i < count; ++i)
            if (states[i] == s) return true;
        return false;
    }
    void Walk(uint32_t from) {
        for (uint32_t s = from; count < 32 && !Has(s);) {
            states[count++] = s;
            const uint32_t next = SimKnobTarget(s, 1);
            if (next == s) break;
            s = next;
        }
    }
};

void FillRow(Row& row, const Field& f, uint32_t state) {
    Copy(row.label, f.label);
    const int phase = f.phase < 0 ? 0 : f.phase;
    const bool vpp = f.fmt == Fmt::kAcVolt && SeqSimAcvIsVpp(phase) != 0;
    int32_t value = f.get(phase);
    if (state == f.editState) {
        row.mark = kRowEditing;
        value = g_EditShown.workValue;
        row.cursor = g_EditShown.cursor;
    } else if (state == f.selState) {
        row.mark = kRowSelected;
    }
    const char* unit = "";
    row.numeric = FormatValue(f.fmt, value, vpp, row.value, sizeof row.value, &unit) ? 1 : 0;
    Copy(row.unit, unit);
    const size_t typed = g_EditShown.buf.entryLength;
    if (row.mark == kRowEditing && typed > 0 && typed <= sizeof g_EditShown.buf.entryText) {
        std::memset(row.value, 0, sizeof row.value);
        std::memcpy(row.value, g_EditShown.buf.entryText, typed);
        row.numeric = 0;  // the typed text carries no cursor
    }
}

void FillFields(BodyView& b, uint8_t sim, uint32_t state) {
    SimReach reach;
    if (sim != 0) {
        reach.Walk(kSimSelStep);
        int phase = 0;
        if (const SimFieldRow* row = SimFieldOfState(state, &phase); row != nullptr)
            reach.Walk(row->select + static_cast<uint32_t>(row->phases == 3 ? phase : 0));
    }
    for (const Field& f : sim != 0 ? SimFields() : SeqFields()) {
        const bool current = state == f.selState || state == f.editState;
        const bool shown = sim != 0 ? reach.Has(f.selState) : SeqFieldShown(f.selState);
        if (!current && !shown) continue;
        if (b.rowCount >= kMaxRows) break;
        FillRow(b.rows[b.rowCount++], f, state);
    }
}

void FillList(BodyView& b, uint8_t sim, bool save) {
    b.kind = kBodyList;
    b.listSave = save ? 1 : 0;
    const int32_t mark = g_EditShown.workValue;
    b.listMark = mark >= 0 && mark <= 9 ? static_cast<uint8_t>(mark) : 0;
    const uint16_t inUse = sim != 0 ? g_SeqSimSlots.sim : g_SeqSimSlots.seq;
    b.listInUse = inUse <= 9 ? static_cast<uint8_t>(inUse) : 0;
    for (int i = 0; i < 10; ++i) {
        const char* name = sim != 0 ? g_SimMemName[i] : g_SeqMemName[i];
        std::memcpy(b.names[i], name, kSeqSimNameLen);  // a full name has no terminator
        b.names[i][kSeqSimNameLen] = '\0';
    }
}

// The stored wiring or range of the memory a dialog asks about, read once when the dialog opens.
struct Stored {
    uint32_t state = 0;
    uint16_t value = 0;
};
Stored g_stored;

uint16_t StoredFor(uint32_t state) {
    // A confirmation asks about the memory its first dialog read.
    if (state == kMenuSeqOutputPhaseCheck) state = kMenuSeqOutputPhase;
    if (state == kSimPhaseDialogCheck) state = kSimPhaseDialog;
    if (g_stored.state != state) {
        g_stored.state = state;
        if (state == kSimPhaseDialog)
            g_stored.value = SimMem_StoredPhaseMode(static_cast<int32_t>(g_SeqSimBlock[0].simRecallSlot));
        else if (state == kMenuSeqRange)
            g_stored.value = SeqMem_StoredRange(static_cast<int32_t>(g_SeqSimBlock[0].seqRecallSlot));
        else
            g_stored.value = SeqMem_StoredPhaseMode(static_cast<int32_t>(g_SeqSimBlock[0].seqRecallSlot));
    }
    return g_stored.value;
}

void FillDialog(BodyView& b, uint32_t state) {
    b.kind = kBodyDialog;
    const uint16_t stored = StoredFor(state);
    const uint32_t choice = g_DialogChoice.load(std::memory_order_relaxed);
    const int32_t second = g_EditShown.workValue;
    if (state == kMenuSeqRange) {
        Copy(b.line1, "Voltage Range will be");
        std::snprintf(b.line2, sizeof b.line2, "switch to %s", stored < 2 ? kRangeNames[stored] : "?");
    } else {
        Copy(b.line1, "Configure Phase will be");
        std::snprintf(b.line2, sizeof b.line2, "switch to %s", stored < 3 ? kWiringNames[stored] : "?");
    }
    switch (state) {
        case kMenuSeqOutputPhase: b.focusSecond = choice != 0; break;  // 0 goes on
        case kMenuSeqRange:
        case kSimPhaseDialog: b.focusSecond = choice != 1; break;  // 1 goes on
        default:
            b.yesNo = 1;
            b.focusSecond = second != 0;  // 0 YES
            break;
    }
}

void FillPreview(BodyView& b, uint32_t state) {
    b.mask = static_cast<uint8_t>(g_SeqSimBlock[0].previewTraceMask.load(std::memory_order_relaxed) & 7u);
    b.dcKind = GetOutputMode() == kKindDc ? 1 : 0;
    if (state == kMenuSeqPreview) {
        b.kind = kBodyStepPreview;
        b.choice = g_EditShown.workValue != 0 ? 1 : 0;
        for (int p = 0; p < 3; ++p)
            b.traces[p] = {SeqGetAcv(p), SeqGetDcv(p), SeqGetFset(p), SeqGetWave(p),
                           p == 1 ? SeqGetBalance_L2() : p == 2 ? SeqGetBalance_L3() : 0};
        return;
    }
    b.kind = kBodyRunPreview;
    b.count = g_SeqPreview.count < kSeqSteps ? g_SeqPreview.count : kSeqSteps;
    b.position = g_SeqPreview.position.load(std::memory_order_relaxed);
    // The order is sampled here, under the tables' lock the preview is built under.
    for (int p = 0; p < 3 && b.count > 0; ++p) {
        if ((b.mask & (1u << p)) == 0) continue;
        for (int x = 0; x < kGraphColumns; ++x) {
            const auto i = static_cast<uint32_t>(static_cast<uint64_t>(x) * b.count / kGraphColumns);
            const SeqStepRecord& r = g_SeqPreview.steps[p][g_SeqPreview.order[i] % kSeqSteps];
            b.levels[p][x] = b.dcKind != 0 ? r.dcv : static_cast<int32_t>(r.acv);
        }
    }
    if (state == kMenuSeqPreviewRUNEdit) {
        b.editing = 1;
        b.edited = static_cast<uint32_t>(g_EditShown.workValue);
        b.cursor = g_EditShown.cursor;
    }
}

void FillTitle(TitleView& t, uint8_t sim, uint32_t state) {
    t.sim = sim;
    const uint32_t cur = SeqSimGetCurStep();
    if (sim != 0)
        Copy(t.header, SimStateName(cur));
    else
        std::snprintf(t.header, sizeof t.header, "Step %03u", static_cast<unsigned>(cur));
    if (state == kMenuSeqPreviewRUN || state == kMenuSeqPreviewRUNEdit) {
        const uint32_t pos = g_SeqPreview.position.load(std::memory_order_relaxed);
        const uint32_t count = g_SeqPreview.count < kSeqSteps ? g_SeqPreview.count : kSeqSteps;
        const uint32_t step = pos >= 1 && pos <= count ? g_SeqPreview.order[pos - 1] : cur;
        std::snprintf(t.run, sizeof t.run, "RUN %u/%u Step %u", static_cast<unsigned>(pos),
                      static_cast<unsigned>(g_SeqPreview.count), static_cast<unsigned>(step));
    } else if (SeqSimIsRunning() != 0) {
        Copy(t.run, SeqSimIsPaused() != 0 ? "HOLD" : "RUN");
    } else {
        Copy(t.run, "STOP");
    }
}

void Key(KeyView& k, const char* label, uint8_t style = 0) {
    Copy(k.label, label);
    k.style = style;
}

void FillKeys(View& v, uint8_t sim, uint32_t state) {
    KeyView* k = v.keys;
    if (v.body.kind == kBodyDialog) return;
    if (v.body.kind == kBodyStepPreview || v.body.kind == kBodyRunPreview) {
        const uint32_t wiring = GetPhaseMode();
        const uint8_t mask = v.body.mask;
        if (state == kMenuSeqPreviewRUNEdit) {
            Key(k[2], "Last");
            Key(k[3], "First");
        } else {
            Key(k[0], "L1", wiring == kWiring1P2W ? 2 : (mask & 1) ? 1 : 0);
            Key(k[1], "L2", wiring == kWiring1P2W ? 2 : (mask & 2) ? 1 : 0);
            Key(k[2], "L3", wiring != kWiring3P4W ? 2 : (mask & 4) ? 1 : 0);
        }
        Key(k[7], "Return");
        return;
    }
    if (SeqSimIsRunning() != 0) {
        if (sim == 0) {
            Key(k[0], "Branch1");
            Key(k[1], "Branch2");
        }
        Key(k[2], SeqSimIsPaused() != 0 ? "CONT" : "HOLD");
        Key(k[3], "STOP");
        return;
    }
    const uint8_t flags = g_SeqSimBlock[0].panelFlags.load(std::memory_order_relaxed);
    const bool listOpen = v.body.kind == kBodyList;
    Key(k[0], sim != 0 ? "SEQUENCE" : "SIMULATE", GetOutputMode() == kModeAcDcInt ? 0 : 2);
    Key(k[1], "Recall", listOpen && (flags & kSeqPanelRecallOpen) ? 1 : 0);
    Key(k[2], "Save", listOpen && (flags & kSeqPanelSaveOpen) ? 1 : 0);
    Key(k[3], "RUN");
    if (sim == 0) {
        Key(k[5], "Step\nPreview");
        Key(k[6], "RUN\nPreview");
    }
}

}  // namespace

uint8_t PageIsSim(uint32_t pageId) {
    if (pageId == kPageIdSim) return 1;
    return pageId == kPageIdSeqSimAlt && SeqSimGetMode() == kSeqSimSim ? 1 : 0;
}

bool BuildView(View* v) {
    std::unique_lock<std::recursive_mutex> hold(g_SeqSimTableLock, std::try_to_lock);
    if (!hold.owns_lock()) return false;
    std::memset(v, 0, sizeof *v);
    const uint8_t sim = PageIsSim(g_PageId.load());
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    FillTitle(v->title, sim, state);
    if (state == kMenuSeqRecallMemory || state == kSimRecallList)
        FillList(v->body, sim, false);
    else if (state == kMenuSeqSaveMemory || state == kSimSaveList)
        FillList(v->body, sim, true);
    else if (InSet(state, {kMenuSeqOutputPhase, kMenuSeqOutputPhaseCheck, kMenuSeqRange, kSimPhaseDialog, kSimPhaseDialogCheck}))
        FillDialog(v->body, state);
    else if (sim == 0 && InSet(state, {kMenuSeqPreview, kMenuSeqPreviewRUN, kMenuSeqPreviewRUNEdit}))
        FillPreview(v->body, state);
    else
        FillFields(v->body, sim, state);
    if (v->body.kind != kBodyDialog) g_stored.state = 0;  // the next dialog reads its memory afresh
    FillKeys(*v, sim, state);
    return true;
}

}  // namespace seqsim
