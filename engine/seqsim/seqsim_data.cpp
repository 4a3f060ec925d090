#include "engine/seqsim/seqsim_data.h"

#include <cstring>
#include <new>

#include "engine/seqsim/seqsim_mode_word.h"
#include "storage/image_hold.h"

SeqStepRecord g_SeqStepTable[kSeqTables][kSeqSlices][kSeqSteps];
SimStepRecord g_SimStepTable[kSimSets][kSeqSlices][kSimSlots];
SeqSimBlock g_SeqSimBlock[kSeqSlices];
std::recursive_mutex g_SeqSimSavedLock;
std::recursive_mutex g_SeqSimTableLock;
uint32_t g_SeqSimOutCtrl[3];
uint16_t g_SeqSimStatusShadow;
char g_SeqMemName[10][kSeqSimNameLen];
char g_SimMemName[10][kSeqSimNameLen];
std::atomic<uint32_t> g_SeqSimMode{0};
SeqSimErrors g_SeqSimErrors;
SeqSimScreen g_SeqSimScreen;
std::atomic<uint32_t> SimPrepRequest{0};
std::atomic<uint32_t> SeqPrepStage{kSeqPrepIdle};
std::atomic<uint32_t> g_SeqSimRemoteSel[2];

SeqSavedConfig SeqSavedConfigCopy() {
    const storage::ImageHold held(g_SeqSimSavedLock);
    return held.owns_lock() ? g_SeqSimBlock[0].seqSaved : SeqSavedConfig{};
}
SimSavedConfig SimSavedConfigCopy() {
    const storage::ImageHold held(g_SeqSimSavedLock);
    return held.owns_lock() ? g_SeqSimBlock[0].simSaved : SimSavedConfig{};
}

namespace {

// Until the prepare state or a table selection points them elsewhere, the accessors address the 200V
// tables, so that no accessor ever meets an unset pointer.
void PointAtDefaultTables() {
    for (int p = 0; p < kSeqSlices; ++p) {
        for (uint32_t kind = 0; kind < 3; ++kind)
            g_SeqSimBlock[p].seqTable[kind] = g_SeqStepTable[SeqTableIndex(kind, 1)][p];
        g_SeqSimBlock[p].simSet = g_SimStepTable[0][p];
    }
}

const bool g_pointed = (PointAtDefaultTables(), true);

}  // namespace

namespace engine {

void SeqSimDataReset() {
    std::memset(g_SeqStepTable, 0, sizeof g_SeqStepTable);
    std::memset(g_SimStepTable, 0, sizeof g_SimStepTable);
    for (auto& block : g_SeqSimBlock) {
        block.~SeqSimBlock();
        new (&block) SeqSimBlock();
    }
    PointAtDefaultTables();
    std::memset(g_SeqSimOutCtrl, 0, sizeof g_SeqSimOutCtrl);
    g_SeqSimStatusShadow = 0;
    std::memset(g_SeqMemName, 0, sizeof g_SeqMemName);
    std::memset(g_SimMemName, 0, sizeof g_SimMemName);
    g_SeqSimMode.store(kSeqSimOff);
    for (auto* w : {&g_SeqSimErrors.seqCount, &g_SeqSimErrors.seqStep, &g_SeqSimErrors.simCount,
                    &g_SeqSimErrors.simStep})
        w->store(0);
    g_SeqSimErrors.seqInvalid.store(0);
    g_SeqSimErrors.simInvalid.store(0);
    g_SeqSimScreen.remoteStep0.store(0);
    g_SeqSimScreen.redraw.store(0);
    for (auto& w : g_SeqSimScreen.fieldRedraw)
        w.store(0);
    g_SeqSimScreen.acvUnitRedraw.store(0);
    SimPrepRequest.store(0);
    SeqPrepStage.store(kSeqPrepIdle);
    g_SeqSimRemoteSel[0].store(0);
    g_SeqSimRemoteSel[1].store(0);
    (void)g_pointed;
}

}  // namespace engine
