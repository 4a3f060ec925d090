#include "panel/gui_thread.h"

#include <gtest/gtest.h>

#include "core/control/measure/meas_records.h"

namespace {

// Each GUI pass brings the display copy of the measurements up to date; the page id it carries stays.
TEST(GuiThreadPass, RefreshesTheMeasurementDisplayCopy) {
    g_DispCache[0].Set(kMfPageId, 94.0f);
    g_MeasLive[2].Set(kMfIrms, 5.5f);
    g_MeasLive[6].Set(kMfThdI, -0.1f);
    GuiThread_Pass();
    EXPECT_EQ(g_DispCache[2].Get(kMfIrms), 5.5f);
    EXPECT_EQ(g_DispCache[6].Get(kMfThdI), -0.1f);
    EXPECT_EQ(g_DispCache[0].Get(kMfPageId), 94.0f);
    core::MeasurementReset();
}

}  // namespace
