#include "tests/screens/seqsim/seq_edit_fixture.h"

#include <algorithm>

#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu_entries.h"
#include "screens/output/keys/keypad_input.h"
#include "screens/seqsim/seq/seq_page_keys.h"
#include "screens/seqsim/seqsim_panel.h"
#include "screens/seqsim/seqsim_prepare.h"

namespace seqedit {

int g_backs = 0, g_backPhase = -1;
void Back(int phase) {
    ++g_backs;
    g_backPhase = phase;
}

SeqSimTest::SeqSimTest() {
    engine::SeqSimDataReset();
    BusReg_SetStepSource(SeqGetAbsStep);
}

SeqSimTest::~SeqSimTest() {
    BusReg_SetStepSource(nullptr);
    engine::SeqSimDataReset();
}

SeqEditTest::SeqEditTest() {
    SeqSimSetCheckHooks({.seq = Seq_StopOrReset});
    SeqMem_ResetToSlotDefaults(0);
    Seq_EnterMode();
    Seq_DownloadPrepared();
    menuResetEdit();
    FreshRing();
    test::ClearTrace();
    g_backs = 0, g_backPhase = -1;
}

SeqEditTest::~SeqEditTest() {
    menuResetEdit();
    SeqSimSetCheckHooks({});
}

SeqPageTest::SeqPageTest() {
    SeqMem_ResetToSlotDefaults(0);
    EXPECT_EQ(SeqPageKeys_Register(), 0);
    Seq_EnterMode();
    MsgQueue_Clear();
}

void Open(int32_t value) {
    // The selection entries put the step's values into the live words the setters fall back on.
    for (int p = 0; p < 3; ++p) {
        SeqSimBlock& b = g_SeqSimBlock[p];
        b.liveFset = static_cast<uint32_t>(SeqGetFset(p));
        b.liveAcv = static_cast<uint32_t>(SeqGetAcv(p));
        b.liveDcv = SeqGetDcv(p);
        b.liveDuty = static_cast<uint32_t>(SeqGetDuty(p));
    }
    menuEnterStateValue(g_MenuState.load(), value);
}

void GoToStep(int32_t step) {
    SeqSetCurStep(step);
}

void Type(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '-') g_ParamFlags.fetch_or(core::kFlagShiftLatched);
        uint32_t ev = KeyEventPack(
            0, *c == '.' || *c == '-' ? uint8_t{kKeyPoint} : static_cast<uint8_t>(kKeyDigit0 + (*c - '0')),
            1);
        menuKeypadInput(&ev);
    }
}

void TypeDispatched(const char* text) {
    for (const char* c = text; *c != '\0'; ++c)
        screenkeys::Press(*c == '.' ? uint8_t{kKeyPoint} : static_cast<uint8_t>(kKeyDigit0 + (*c - '0')),
                          kClassKeypad);
}

void Press(void (*handler)(uint32_t*), uint8_t cls, uint8_t code) {
    uint32_t ev = KeyEventPack(0, code, cls);
    menuKeypadInput(&ev);
    handler(&ev);
}

void Turn(void (*handler)(uint32_t*), int8_t delta) {
    uint32_t ev = KeyEventPack(delta, kKeyKnob, kClassCursor);
    menuKeypadInput(&ev);
    handler(&ev);
}

void ExpectShortcutKeys(const char* refusal) {
    const std::vector<uint8_t> refused = {79, 80, 81, 82, 232, 237};
    const uint32_t state = g_MenuState.load();
    for (int code = 1; code < 256; ++code) {
        SCOPED_TRACE(code);
        g_MsgPopupLines.store(0);
        screenkeys::Press(static_cast<uint8_t>(code), kClassShortcut);
        const bool refuse = std::count(refused.begin(), refused.end(), code) != 0;
        EXPECT_EQ(Posted(), refuse ? std::vector<std::string>{refusal} : std::vector<std::string>{});
        EXPECT_EQ(g_MsgPopupLines.load(), refuse ? 2u : 0u);
        EXPECT_EQ(g_MenuState.load(), state);
    }
}

void FreshRing() {
    MsgQueue_PostText("", 5);
    MsgQueue_Clear();
}

}  // namespace seqedit
