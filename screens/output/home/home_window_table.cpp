#include "screens/output/home/home_window_table.h"

#include "panel/statusbar/status_bar.h"
#include "screens/output/homepaint/home_paint.h"

namespace home {

namespace {

void PaintsNothing(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) WM_DefaultHandler(msg);
}

constexpr int8_t kDesk = -1, kRoot = kWinRoot, kBody = kWinBody, kBar = kWinStatusBar,
                 kKeys = kWinSoftKeyColumn;

constexpr int16_t kSetX[3] = {50, 219, 388}, kSetY[3] = {316, 358, 400};
constexpr int16_t kMeterX[3] = {4, 175, 347}, kMeterY[4] = {48, 115, 182, 249};
constexpr int16_t kLabelY[12] = {16, 53, 89, 125, 161, 197, 233, 269, 305, 341, 377, 410};
constexpr int16_t kValueY[12] = {13, 50, 86, 122, 158, 194, 230, 266, 302, 338, 374, 408};
constexpr int16_t kListY[4] = {98, 156, 217, 220}, kListH[4] = {200, 225, 150, 225};
constexpr int16_t kPowerX[6] = {115, 115, 115, 365, 365, 365}, kPowerY[6] = {322, 364, 406, 322, 364, 406};

constexpr std::array<WinDef, kWinCount> Build() {
    std::array<WinDef, kWinCount> t{};
    t[kWinRoot] = {kDesk, 0, 0, 800, 480, false, PaintsNothing};
    t[kWinSlave] = {kRoot, 0, 0, 800, 480, false, HomePaint_SlaveScreen};
    t[kWinBody] = {kRoot, 0, 28, 720, 452, true, HomePaint_Body};
    t[kWinLowerFrame] = {kBody, 506, 225, 210, 215, true, HomePaint_PanelLowerFrame};
    t[kWinPhaseHeader] = {kRoot, 6, 33, 515, 35, true, HomePaint_PhaseHeader};
    t[kWinSeparator] = {kBody, 8, 304, 511, 4, true, HomePaint_Separator};
    t[kWinVerticalBar] = {kBody, 519, 233, 5, 206, true, HomePaint_VerticalBar};
    t[kWinPhasor] = {kBody, 536, 250, 170, 190, true, HomePaint_Phasor};
    t[kWinSetLabels] = {kBody, 7, 320, 42, 108, true, HomePaint_SetLabels};
    t[kWinSetFrames] = {kBody, 45, 313, 470, 124, true, HomePaint_SetFrames};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            t[SetCellWin(r, c)] = {kBody, kSetX[c], kSetY[r], 120, 28, true, HomePaint_SetValueCell};
    t[kWinPowerLabels] = {kBody, 40, 318, 400, 119, true, HomePaint_PowerLabels};
    t[kWinTotalLeft] = {kBody, 61, 323, 70, 108, true, HomePaint_TotalLabels};
    t[kWinTotalRight] = {kBody, 310, 323, 70, 108, true, HomePaint_TotalLabels};
    for (int i = 0; i < 6; ++i)
        t[kWinPowerCell0 + i] = {kBody, kPowerX[i], kPowerY[i], 135, 27, true, HomePaint_PowerCell};
    for (int n = 0; n < 12; ++n) {
        t[MeterCellWin(n)] = {kBody, kMeterX[n / 4], kMeterY[n % 4], 172, 44, true, HomePaint_MeterCell};
        t[CellTagWin(n)] = {static_cast<int8_t>(MeterCellWin(n)), 150, 19, 40, 14, true, HomePaint_CellTag};
    }
    for (int n = 0; n < 12; ++n) {
        t[PanelLabelWin(n)] = {kBody, 526, kLabelY[n], 65, 25, true, HomePaint_PanelLabel};
        t[PanelValueWin(n)] = {kBody, 596, kValueY[n], 108, 30, true, HomePaint_PanelValue};
    }
    t[kWinPanelScroll] = {kBody, 705, 13, 8, 215, true, HomePaint_PanelScroll};
    for (int i = 0; i < 4; ++i) {
        t[kWinItemList0 + i] = {kBody, 650, kListY[i], 70, kListH[i], false, HomePaint_MeasItemList};
        t[kWinItemListHead0 + i] = {
            static_cast<int8_t>(kWinItemList0 + i), 0, 0, 70, 25, true, HomePaint_MeasItemListHead};
    }
    t[kWinModeList] = {kBody, 589, 47, 114, 219, false, HomePaint_ModeList};
    t[kWinModeListHead] = {kWinModeList, 3, 4, 105, 21, true, HomePaint_ModeListHead};
    t[kWinLineList] = {kBody, 589, 14, 114, 219, false, HomePaint_LineList};
    t[kWinLineListHead] = {kWinLineList, 3, 4, 105, 21, true, HomePaint_LineListHead};
    t[kWinStatusBar] = {kRoot, 0, 0, 720, 28, true, StatusBar_Paint};
    for (int i = 0; i < statusbar::kCells; ++i) {
        const statusbar::CellDef& d = statusbar::kCellDefs[i];
        t[kWinStatusCell0 + i] = {kBar, d.x, 0, d.width, statusbar::kCellHeight, true, d.paint};
    }
    t[kWinSoftKeyColumn] = {kRoot, 720, 0, 80, 480, true, PaintsNothing};
    for (int n = 0; n < 8; ++n)
        t[kWinSoftKey0 + n] = {kKeys, 0, static_cast<int16_t>(60 * n), 80, 60, true, HomeSoftKey_Paint};
    return t;
}

// Every parent is created before its children.
constexpr bool ParentsFirst(const std::array<WinDef, kWinCount>& t) {
    for (int i = 0; i < kWinCount; ++i)
        if (t[i].parent >= i) return false;
    return true;
}

}  // namespace

constexpr std::array<WinDef, kWinCount> kWinTableData = Build();
static_assert(ParentsFirst(kWinTableData));
const std::array<WinDef, kWinCount> kWinTable = kWinTableData;

}  // namespace home
