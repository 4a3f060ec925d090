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

template <int P>
void Fset(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqFsetRow, P, Enter_menuSeqSetFset, ev);
}
template <int P>
void Acv(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqAcvRow, P, Enter_menuSeqSetACV, ev);
}
template <int P>
void Dcv(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqDcvRow, P, Enter_menuSeqSetDCV, ev);
}
template <int P>
void FsetType(uint32_t* ev) {
    SeqEdit_TypeKey(kFsetType, P, Enter_menuSeqSetFsetType, ev);
}
template <int P>
void AcvType(uint32_t* ev) {
    SeqEdit_TypeKey(kAcvType, P, Enter_menuSeqSetACVType, ev);
}
template <int P>
void DcvType(uint32_t* ev) {
    SeqEdit_TypeKey(kDcvType, P, Enter_menuSeqSetDCVType, ev);
}
template <int P>
void Wave(uint32_t* ev) {
    SeqEdit_WaveKey(P, Enter_menuSeqSetWave, ev);
}
template <int P>
void Duty(uint32_t* ev) {
    SeqEdit_DutyKey(P, Enter_menuSeqSetDuty, ev);
}

}  // namespace

void menuSeqEditFset(uint32_t* ev) {
    Fset<0>(ev);
}
void menuSeqEditFset_L2(uint32_t* ev) {
    Fset<1>(ev);
}
void menuSeqEditFset_L3(uint32_t* ev) {
    Fset<2>(ev);
}
void menuSeqEditFsetType(uint32_t* ev) {
    FsetType<0>(ev);
}
void menuSeqEditFsetType_L2(uint32_t* ev) {
    FsetType<1>(ev);
}
void menuSeqEditFsetType_L3(uint32_t* ev) {
    FsetType<2>(ev);
}
void menuSeqEditACV(uint32_t* ev) {
    Acv<0>(ev);
}
void menuSeqEditACV_L2(uint32_t* ev) {
    Acv<1>(ev);
}
void menuSeqEditACV_L3(uint32_t* ev) {
    Acv<2>(ev);
}
void menuSeqEditACVType(uint32_t* ev) {
    AcvType<0>(ev);
}
void menuSeqEditACVType_L2(uint32_t* ev) {
    AcvType<1>(ev);
}
void menuSeqEditACVType_L3(uint32_t* ev) {
    AcvType<2>(ev);
}
void menuSeqEditDCV(uint32_t* ev) {
    Dcv<0>(ev);
}
void menuSeqEditDCV_L2(uint32_t* ev) {
    Dcv<1>(ev);
}
void menuSeqEditDCV_L3(uint32_t* ev) {
    Dcv<2>(ev);
}
void menuSeqEditDCVType(uint32_t* ev) {
    DcvType<0>(ev);
}
void menuSeqEditDCVType_L2(uint32_t* ev) {
    DcvType<1>(ev);
}
void menuSeqEditDCVType_L3(uint32_t* ev) {
    DcvType<2>(ev);
}
void menuSeqEditWave(uint32_t* ev) {
    Wave<0>(ev);
}
void menuSeqEditWave_L2(uint32_t* ev) {
    Wave<1>(ev);
}
void menuSeqEditWave_L3(uint32_t* ev) {
    Wave<2>(ev);
}
void menuSeqEditDuty(uint32_t* ev) {
    Duty<0>(ev);
}
void menuSeqEditDuty_L2(uint32_t* ev) {
    Duty<1>(ev);
}
void menuSeqEditDuty_L3(uint32_t* ev) {
    Duty<2>(ev);
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
