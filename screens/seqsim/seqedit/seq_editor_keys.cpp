#include "screens/seqsim/seqedit/seq_editor_keys.h"

#include <iterator>

#include "engine/seq/seq_access.h"
#include "engine/seq/seq_setters.h"
#include "screens/output/keys/key_table.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_volt_checks.h"
#include "screens/seqsim/seqedit/seq_edit_type_wave.h"
#include "screens/seqsim/seqedit/seq_edit_values.h"

namespace {

// A change from CT to KP or SP must leave the level of the step before it, with the other voltage, inside
// the output limits.
bool AcvPairOut(int32_t type, int phase) {
    return SeqModePairOutOfLimits(type, SeqGetDcvMode(phase), phase) != 0;
}
bool DcvPairOut(int32_t type, int phase) {
    return SeqModePairOutOfLimits(SeqGetAcvMode(phase), type, phase) != 0;
}

constexpr SeqTypeRow kAcvType = {SeqGetAcvMode, AcvPairOut, SeqSetAcvMode};
constexpr SeqTypeRow kDcvType = {SeqGetDcvMode, DcvPairOut, SeqSetDcvMode};
constexpr SeqTypeRow kFsetType = {SeqGetFsetMode, nullptr, SeqSetFsetMode};

}  // namespace

void menuSeqEditFset(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqFsetRow, 0, Enter_menuSeqSetFset, ev);
}
void menuSeqEditFset_L2(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqFsetRow, 1, Enter_menuSeqSetFset, ev);
}
void menuSeqEditFset_L3(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqFsetRow, 2, Enter_menuSeqSetFset, ev);
}
void menuSeqEditFsetType(uint32_t* ev) {
    SeqEdit_TypeKey(kFsetType, 0, Enter_menuSeqSetFsetType, ev);
}
void menuSeqEditFsetType_L2(uint32_t* ev) {
    SeqEdit_TypeKey(kFsetType, 1, Enter_menuSeqSetFsetType, ev);
}
void menuSeqEditFsetType_L3(uint32_t* ev) {
    SeqEdit_TypeKey(kFsetType, 2, Enter_menuSeqSetFsetType, ev);
}
void menuSeqEditACV(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqAcvRow, 0, Enter_menuSeqSetACV, ev);
}
void menuSeqEditACV_L2(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqAcvRow, 1, Enter_menuSeqSetACV, ev);
}
void menuSeqEditACV_L3(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqAcvRow, 2, Enter_menuSeqSetACV, ev);
}
void menuSeqEditACVType(uint32_t* ev) {
    SeqEdit_TypeKey(kAcvType, 0, Enter_menuSeqSetACVType, ev);
}
void menuSeqEditACVType_L2(uint32_t* ev) {
    SeqEdit_TypeKey(kAcvType, 1, Enter_menuSeqSetACVType, ev);
}
void menuSeqEditACVType_L3(uint32_t* ev) {
    SeqEdit_TypeKey(kAcvType, 2, Enter_menuSeqSetACVType, ev);
}
void menuSeqEditDCV(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqDcvRow, 0, Enter_menuSeqSetDCV, ev);
}
void menuSeqEditDCV_L2(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqDcvRow, 1, Enter_menuSeqSetDCV, ev);
}
void menuSeqEditDCV_L3(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqDcvRow, 2, Enter_menuSeqSetDCV, ev);
}
void menuSeqEditDCVType(uint32_t* ev) {
    SeqEdit_TypeKey(kDcvType, 0, Enter_menuSeqSetDCVType, ev);
}
void menuSeqEditDCVType_L2(uint32_t* ev) {
    SeqEdit_TypeKey(kDcvType, 1, Enter_menuSeqSetDCVType, ev);
}
void menuSeqEditDCVType_L3(uint32_t* ev) {
    SeqEdit_TypeKey(kDcvType, 2, Enter_menuSeqSetDCVType, ev);
}
void menuSeqEditWave(uint32_t* ev) {
    SeqEdit_WaveKey(0, Enter_menuSeqSetWave, ev);
}
void menuSeqEditWave_L2(uint32_t* ev) {
    SeqEdit_WaveKey(1, Enter_menuSeqSetWave, ev);
}
void menuSeqEditWave_L3(uint32_t* ev) {
    SeqEdit_WaveKey(2, Enter_menuSeqSetWave, ev);
}
void menuSeqEditDuty(uint32_t* ev) {
    SeqEdit_DutyKey(0, Enter_menuSeqSetDuty, ev);
}
void menuSeqEditDuty_L2(uint32_t* ev) {
    SeqEdit_DutyKey(1, Enter_menuSeqSetDuty, ev);
}
void menuSeqEditDuty_L3(uint32_t* ev) {
    SeqEdit_DutyKey(2, Enter_menuSeqSetDuty, ev);
}

int SeqEditors_RegisterKeys() {
    static constexpr MenuKeySlot kSlots[] = {
        {kMenuSeqEditFset, menuSeqEditFset},
        {kMenuSeqEditFset + 1, menuSeqEditFset_L2},
        {kMenuSeqEditFset + 2, menuSeqEditFset_L3},
        {kMenuSeqEditFsetType, menuSeqEditFsetType},
        {kMenuSeqEditFsetType + 1, menuSeqEditFsetType_L2},
        {kMenuSeqEditFsetType + 2, menuSeqEditFsetType_L3},
        {kMenuSeqEditACV, menuSeqEditACV},
        {kMenuSeqEditACV + 1, menuSeqEditACV_L2},
        {kMenuSeqEditACV + 2, menuSeqEditACV_L3},
        {kMenuSeqEditACVType, menuSeqEditACVType},
        {kMenuSeqEditACVType + 1, menuSeqEditACVType_L2},
        {kMenuSeqEditACVType + 2, menuSeqEditACVType_L3},
        {kMenuSeqEditDCV, menuSeqEditDCV},
        {kMenuSeqEditDCV + 1, menuSeqEditDCV_L2},
        {kMenuSeqEditDCV + 2, menuSeqEditDCV_L3},
        {kMenuSeqEditDCVType, menuSeqEditDCVType},
        {kMenuSeqEditDCVType + 1, menuSeqEditDCVType_L2},
        {kMenuSeqEditDCVType + 2, menuSeqEditDCVType_L3},
        {kMenuSeqEditWave, menuSeqEditWave},
        {kMenuSeqEditWave + 1, menuSeqEditWave_L2},
        {kMenuSeqEditWave + 2, menuSeqEditWave_L3},
        {kMenuSeqEditDuty, menuSeqEditDuty},
        {kMenuSeqEditDuty + 1, menuSeqEditDuty_L2},
        {kMenuSeqEditDuty + 2, menuSeqEditDuty_L3},
    };
    return KeyTable_RegisterMenu(kSlots, std::size(kSlots));
}
