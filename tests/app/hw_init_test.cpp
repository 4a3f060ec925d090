// The waveform memory at power-up: what the root holds decides the resets and the popup; the stage gets
// every table.
#include "app/hw_init.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "core/params/waves/arb_builtin.h"
#include "core/params/waves/arb_mem.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/stage/power_stage_sim.h"
#include "storage/files/arb_file.h"
#include "tests/support/temp_root.h"
#include "tests/support/popup_passes.h"

namespace {

TEST(ArbMemInit, ResetsPopupAndTheTablesOnTheStage) {
    const struct {
        const char* what;
        std::function<void(const testsupport::TempRoot&)> root;
        int32_t resets;
        bool popup;
    } cases[] = {
        {"a new root: ARB1-ARB16 and no user waves", [](const auto&) {}, 237, false},
        {"ARB40 damaged, the rest written by a first start",
         [](const auto& r) {
             std::memset(g_ArbMem, 0, sizeof g_ArbMem);
             ArbMemInit();
             MsgQueue_Clear();
             r.Write("/mnt/tst/ARB/ARB40.ARB", std::string(8260, 'x'));
         },
         1, true},
    };
    for (const auto& c : cases) {
        testsupport::TempRoot root;
        storage::ArbProvisionFactoryFiles("VRN-4145");
        c.root(root);
        plat::PowerStage().Reset();
        BusMapInit();
        MsgQueue_Clear();
        std::memset(g_ArbMem, 0, sizeof g_ArbMem);
        EXPECT_EQ(ArbMemInit(), c.resets) << c.what;
        char text[64] = {};
        MsgQueue_CopyText(text, sizeof text);
        EXPECT_EQ(MsgQueue_Count() > 0 && std::string(text) == "ARB Data Error", c.popup) << c.what;

        const plat::PowerStageSim& stage = plat::PowerStage();
        const core::ArbShape* builtin[3] = {&core::kArbBuiltinSine, &core::kArbBuiltinSquare,
                                            &core::kArbBuiltinTriangle};
        for (int s = 0; s < 3; ++s)
            for (int i = 0; i < kArbSamples; i += 97)
                ASSERT_EQ(static_cast<int16_t>(stage.Stored(256 + 16 + s, i)), (*builtin[s])[i]) << c.what;
        for (int slot = 0; slot < kArbSlots; ++slot)
            for (int i : {0, 1024, 4095})
                ASSERT_EQ(static_cast<int16_t>(stage.Stored(256 + slot, i)), g_ArbMem[slot][i]) << slot;
        EXPECT_EQ(stage.Stored(2446, 0), 1u) << c.what;
    }
}

// The start's own bring-up, not the waveform step alone: with ARB1's file gone, ARB1 and the 237 user
// waves above ARB16 are reset and written again (238 resets), the red popup is held, and the tables and
// the update strobe reach the stage.
TEST(HwInitStart, Arb1MissingGives238ResetsAndThePopup) {
    testsupport::TempRoot root;
    storage::ArbProvisionFactoryFiles("VRN-4145");
    std::remove((root.path() + "/mnt/tst/ARB/ARB1.ARB").c_str());
    const auto files = [&] {
        int present = 0;
        for (int n = 1; n <= kArbWaves; ++n)
            present += root.Read("/mnt/tst/ARB/ARB" + std::to_string(n) + ".ARB").size() == 8260u;
        return present;
    };
    const int before = files();
    ASSERT_EQ(before, 15);
    plat::PowerStage().Reset();
    MsgQueue_Clear();
    MsgPopup_Close();
    std::memset(g_ArbMem, 0, sizeof g_ArbMem);
    EXPECT_EQ(HwInit(), 0);
    EXPECT_EQ(files() - before, 238) << "waves reset and written again";
    char text[64] = {};
    MsgQueue_CopyText(text, sizeof text);
    EXPECT_STREQ(text, "ARB Data Error");
    testsupport::PopupPasses();
    EXPECT_EQ(MsgPopup_IsPersistent(), 1);
    const plat::PowerStageSim& stage = plat::PowerStage();
    for (int slot : {0, 16, 252, 255})
        for (int i : {0, 1024, 4095})
            ASSERT_EQ(static_cast<int16_t>(stage.Stored(256 + slot, i)), g_ArbMem[slot][i]) << slot;
    EXPECT_EQ(static_cast<int16_t>(stage.Stored(256 + 16, 1024)), core::kArbBuiltinSine[1024]);
    EXPECT_EQ(stage.Stored(2446, 0), 1u);
    MsgPopup_Close();
}

}  // namespace
