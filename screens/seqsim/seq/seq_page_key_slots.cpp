#include <iterator>

#include "screens/output/keys/key_table.h"
#include "screens/seqsim/seq/seq_page_keys.h"
#include "screens/seqsim/seqedit/seq_edit_fields.h"

namespace {
constexpr MenuKeySlot kSlots[] = {
    {330, menuSeqOutputPhase},       {331, menuSeqOutputPhase_Check}, {332, menuSeqRange},
    {336, menuSeqEditTimeStep},      {340, menuSeqEditOnPhase},       {341, menuSeqEditOnPhase_L2},
    {342, menuSeqEditOnPhase_L3},    {346, menuSeqEditEnOnPhase},     {347, menuSeqEditEnOnPhase_L2},
    {348, menuSeqEditEnOnPhase_L3},  {352, menuSeqEditOffPhase},      {353, menuSeqEditOffPhase_L2},
    {354, menuSeqEditOffPhase_L3},   {358, menuSeqEditEnOffPhase},    {359, menuSeqEditEnOffPhase_L2},
    {360, menuSeqEditEnOffPhase_L3}, {362, menuSeqEditStepterm},      {364, menuSeqEditJumpto},
    {366, menuSeqEditEnJumpto},      {368, menuSeqEditJumpCnt},       {370, menuSeqEditSyncCode},
    {372, menuSeqEditBranch1},       {374, menuSeqEditEnBranch1},     {376, menuSeqEditBranch2},
    {378, menuSeqEditEnBranch2},     {418, menuSeqEditBalance_L2},    {420, menuSeqEditBalance_L3},
    {433, menuSeqSaveMemory},        {434, menuSeqRecallMemory},      {435, menuSeqPreview},
    {436, menuSeqPreviewRUN},        {437, menuSeqPreviewRUNEdit},
};
}  // namespace

int SeqPageKeys_Register() {
    return KeyTable_RegisterMenu(kSlots, std::size(kSlots));
}
