#include "tests/screens/menu/menu_page_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "GUI/lcd/lcd.h"
#include "core/control/barcode_table.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "engine/arb/arb_builder.h"
#include "panel/menu/menu_page_words.h"
#include "panel/pages/text_log.h"
#include "platform/host/root.h"
#include "screens/menu/page/menu_page.h"
#include "sysadmin/net/net_state.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/screen_text.h"
#include "tests/support/default_store.h"

namespace menutest {
namespace {
std::string g_logPath;
size_t g_logTaken = 0;
}  // namespace

void StartPage() {
    guitest::FreshScreen();
    core::ParamAccessReset();
    test::FreshStore(1);
    engine::ArbBuilderReset();
    g_Rs232Present.store(1);
    g_GpibPresent.store(0);
    g_ParallelActive.store(0);
    SaveRecallType.store(0);
    g_MenuPreviewPage.store(0);
    g_BarcodeTable.tableChanged.store(0);
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        g_LanCfg = sysadmin::LanCfg{};
    }
    {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        std::memset(g_LanActual, 0, sizeof g_LanActual);
    }
    g_logPath = plat::MapPath("/var/log/menu-text.log");
    std::remove(g_logPath.c_str());
    g_logTaken = 0;
    TextLog_Start(g_logPath);
    g_MenuState.store(94);
    panel::EditPublish();
    panel::EditSnapshotTake();
    MenuPage_Create();
    MenuPage_Show();
    GUI_RunAll();
    Step(94, 80);
}

void StopPage() {
    TextLog_Stop();
    EXPECT_EQ(screentext::MixedColumns(screentext::ReadText(g_logPath)), "") << "columns of mixed alignment";
    EXPECT_TEXTS_WHOLE();
}

void Step(uint32_t state, int passes) {
    g_MenuState.store(state);
    for (int i = 0; i < passes; ++i) {
        panel::EditPublish();
        panel::EditSnapshotTake();
        MenuPage_Update();
        GUI_RunAll();
    }
}

std::string TakeLog() {
    TextLog_Stop();
    const std::string all = screentext::ReadText(g_logPath);
    TextLog_Start(g_logPath);
    std::string fresh = all.substr(std::min(g_logTaken, all.size()));
    g_logTaken = all.size();
    return fresh;
}

void ExpectPage(const char* golden) {
    guitest::ExpectGolden(golden, GUI_BOX{0, 0, 799, 479});
}

void SetParam(uint32_t id, int32_t value) {
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    ParamRec* rec = core::ParamLocate(id, core::ParamPlace{});
    ASSERT_NE(rec, nullptr) << id;
    rec->value = value;
}

}  // namespace menutest
