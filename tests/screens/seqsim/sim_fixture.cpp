#include "tests/screens/seqsim/sim_fixture.h"

#include "core/params/access/param_access.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_download.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/output/keys/keypad_input.h"

namespace test {

SimPanelEnv::SimPanelEnv() {
    SeqSimSetMode(2);
    SeqSimResetEngine(kEngineSim);
    SetVoltRange(1);
    SeqSimSelectTables();
    g_SeqSimBlock[0].simOptions = 1u << 1;  // the 200V range
    SimDownloadAll();
    engine::SimSelectState(kSimInitial);
    MsgQueue_Clear();
    ClearTrace();
}

uint32_t Key(uint8_t cls, uint8_t code) {
    return KeyEventPack(0, code, cls);
}
uint32_t Knob(int8_t delta) {
    return KeyEventPack(delta, kKeyKnob, kClassCursor);
}

void Press(void (*handler)(uint32_t*), uint32_t ev) {
    menuKeypadInput(&ev);
    handler(&ev);
}

void Type(void (*handler)(uint32_t*), const char* digits) {
    for (const char* c = digits; *c != '\0'; ++c)
        Press(handler,
              Key(1, *c == '.' ? uint8_t{kKeyPoint} : static_cast<uint8_t>(kKeyDigit0 + (*c - '0'))));
}

}  // namespace test
