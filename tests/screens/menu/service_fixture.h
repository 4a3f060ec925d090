#pragma once
// The service lists' tests: the MENU tests' start with the service keys registered, the stage's clock sped
// up for the jobs' bounded waits, an empty stage trace and command log, the first brand and a mounted stick.
#include <cstdio>
#include <string>
#include <vector>

#include "core/system/config/identity.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/stage/power_stage_sim.h"
#include "screens/menu/service/service_key_slots.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/menu/menu_keys_fixture.h"

namespace menutest {

class ServiceTest : public MenuKeys {
  protected:
    void SetUp() override {
        MenuKeys::SetUp();
        ASSERT_EQ(MenuService_RegisterKeys(), 0);
        plat::SetTimeScale(1000.0);
        g_BrandId = 0;
        plat::PowerStage().ClearTrace();
        g_UsbState.statusB.store(core::kUsbMounted);
        g_UsbState.usbAccessError.store(0);
        ClearLog();
    }
    void TearDown() override {
        plat::SetTimeScale(1.0);
        g_BrandId = 0;
        g_UsbState.statusB.store(0);
        OutputFlagClear(kOutFlagOutputOn);
        core::ServiceFlagsReset();
        core::SysStatusReset();
        MenuKeys::TearDown();
    }
    std::string LogPath() const { return store_.root.path() + "/var/log/commands.log"; }
    void ClearLog() const { std::remove(LogPath().c_str()); }
    // The row entered and its job run by the enter key, the texts shown before dropped.
    static void Run(uint32_t state) {
        At(state);
        Texts();
        Press(kEnter, kClassKeypad);
    }
    // The text shown last since the last call ("" when none).
    static std::string LastText() {
        const std::vector<std::string> texts = Texts();
        return texts.empty() ? "" : texts.back();
    }
};

}  // namespace menutest
