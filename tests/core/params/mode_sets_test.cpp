// The sets of output modes the screens, the limit checks and SEQUENCE/SIMULATE decide by: each mode by
// its number as stored and sent over the remote interfaces, and the sets it belongs to.
#include "core/params/param_ranges.h"

#include <gtest/gtest.h>

namespace {

struct ModeRow {
    uint32_t number;
    const char* name;
    bool dcOrExt, dcExtOrAdd, acIntSyncOrVca, acIntOrSync, internal, add, sync;
};

// clang-format off
constexpr ModeRow kRows[] = {
    // number name          dc/ext dc/ext/add int/sync/vca int/sync internal add    sync
    {0, "AC+DC-INT",  false, false, true,  true,  true,  false, false},
    {1, "AC-INT",     false, false, true,  true,  true,  false, false},
    {2, "DC-INT",     true,  true,  false, false, true,  false, false},
    {3, "AC+DC-EXT",  true,  true,  false, false, false, false, false},
    {4, "AC-EXT",     true,  true,  false, false, false, false, false},
    {5, "AC+DC-ADD",  false, true,  false, false, false, true,  false},
    {6, "AC-ADD",     false, true,  false, false, false, true,  false},
    {7, "AC+DC-SYNC", false, false, true,  true,  false, false, true},
    {8, "AC-SYNC",    false, false, true,  true,  false, false, true},
    {9, "AC-VCA",     false, false, true,  false, false, false, false},
};
// clang-format on

}  // namespace

TEST(ModeSets, EachModeInItsSets) {
    for (const ModeRow& r : kRows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(IsDcOrExtMode(r.number), r.dcOrExt);
        EXPECT_EQ(IsDcExtOrAddMode(r.number), r.dcExtOrAdd);
        EXPECT_EQ(IsAcIntSyncOrVcaMode(r.number), r.acIntSyncOrVca);
        EXPECT_EQ(IsAcIntOrSyncMode(r.number), r.acIntOrSync);
        EXPECT_EQ(IsIntMode(r.number), r.internal);
        EXPECT_EQ(IsAddMode(r.number), r.add);
        EXPECT_EQ(IsSyncMode(r.number), r.sync);
    }
    // A number past the last mode is in none of the sets a screen lays out by.
    EXPECT_FALSE(IsDcOrExtMode(core::kModes));
    EXPECT_FALSE(IsAcIntSyncOrVcaMode(core::kModes));
    EXPECT_FALSE(IsAcIntOrSyncMode(core::kModes));
}

TEST(ModeSets, TheNamesAreTheStoredNumbers) {
    const uint32_t names[] = {kModeAcDcInt, kModeAcInt,  kModeDcInt,    kModeAcDcExt, kModeAcExt,
                              kModeAcDcAdd, kModeAcAdd, kModeAcDcSync, kModeAcSync,  kModeAcVca};
    ASSERT_EQ(std::size(names), std::size(kRows));
    for (size_t i = 0; i < std::size(kRows); ++i)
        EXPECT_EQ(names[i], kRows[i].number) << kRows[i].name;
    EXPECT_EQ(core::kModes, 10u);
}
