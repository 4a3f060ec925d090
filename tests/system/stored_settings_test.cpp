// The controller's start-up takes what the memory of its root holds: preset backups written in the
// memory's format load without a report, as the new unit's own do.
#include <gtest/gtest.h>
#include <signal.h>

#include "core/params/presets/preset_store.h"
#include "drivers/spi_nvm.h"
#include "platform/host/root.h"
#include "storage/nv/preset_backup.h"
#include "tests/support/controller_process.h"

namespace {

TEST(StoredSettings, StartOnAMemoryWithPresetBackupsReportsNoPresetError) {
    testsupport::ControllerProcess first;
    ASSERT_TRUE(first.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs))
        << first.Output();
    EXPECT_EQ(first.Output().find("popup: Preset Data Error"), std::string::npos) << first.Output();
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();

    // The backups as a running controller's restart save writes them, into the stopped one's memory.
    const std::string previous = plat::Root();
    plat::SetRoot(first.root());
    ASSERT_EQ(SpiNvmInit(), 0);
    PresetClearAll();
    ASSERT_EQ(PresetBackupSaveAll(), 0);
    SpiDevClose(&g_NvSpi);
    plat::SetRoot(previous);

    testsupport::ControllerProcess second({"--root", first.root()});
    ASSERT_TRUE(second.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs))
        << second.Output();
    EXPECT_EQ(second.Output().find("popup: Preset Data Error"), std::string::npos) << second.Output();
}

}  // namespace
