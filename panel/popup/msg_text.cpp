#include "panel/popup/msg_text.h"

#include <cstdio>

#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"

namespace {

constexpr const char* kLinkTexts[] = {
    "Rear USB Port \nConnected To PC",
    "Rear USB Port \nDisconnected From PC",
    "GPIB Link Up",
    "GPIB Link Down",
};
constexpr const char* kKeyHintTexts[] = {"Press Number Key", "Long Push\nNumber Key"};
// From message 11; 16 and 17 are formats of the preset number.
constexpr const char* kSettingTexts[] = {
    "Keys Locked",
    "Keys Unlocked",
    "Invalid with \nRemote Control",
    "Invalid in This Meter Frozen",
    "Invalid in This Page",
    "Recalled From M%d",
    "Saved To M%d",
    "Setting Voltage Limited",
    "L1\nVoltage Setting Limited",
    "L2\nVoltage Setting Limited",
    "L1 L2\nVoltage Setting Limited",
    "L3\nVoltage Setting Limited",
    "L1 L3\nVoltage Setting Limited",
    "L2 L3\nVoltage Setting Limited",
    "Setting Frequency Limited",
    "Setting Phase Limited",
    "Setting Duty Limited",
    "No Data in Memory",
    "Setting Jump To\n Limited",
    "Setting Jump Cnt\n Limited",
    "Setting Branch\n Limited",
};
constexpr uint32_t kFirstSetting = kMsgKeysLocked;
static_assert(kFirstSetting + sizeof kSettingTexts / sizeof kSettingTexts[0] == 32);

// The preset number that "Recalled From M%d" and "Saved To M%d" show: the home page's record of the
// preset last recalled or saved, which the messages' posters set before they post.
int PresetNumberShown(uint32_t number) {
    const std::atomic<uint32_t>& index =
        number == static_cast<uint32_t>(kMsgRecalled) ? g_HomePage.recallIndex : g_HomePage.saveIndex;
    return static_cast<int>(index.load(std::memory_order_relaxed));
}

void Begin() {
    g_MsgPopup.flags.store(0, std::memory_order_release);
}

}  // namespace

const MsgTextBuilder g_MsgTextTable[32] = {
    nullptr,         MsgText_Link,    MsgText_Link,    MsgText_Link,    MsgText_Link,    MsgText_Free,
    MsgText_Free,    MsgText_Free,    MsgText_Free,    MsgText_KeyHint, MsgText_KeyHint, MsgText_Setting,
    MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting,
    MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting,
    MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting, MsgText_Setting,
    MsgText_Setting, MsgText_Setting,
};

void MsgText_Link(StepRow* row, uint32_t number) {
    Begin();
    core::MsgPopupWriteText(number >= 1 && number <= 4 ? kLinkTexts[number - 1] : "String UnDefine");
    StepObjPostMsg(kPopupTimedStart, row);
}

void MsgText_Free(StepRow* row, uint32_t number) {
    Begin();
    core::MsgPopupTakeFreeText();
    if (number == kMsgFreeRed || number == kMsgFreeRedHold)
        g_MsgPopup.flags.fetch_or(1u << kMsgPopupStyleShift, std::memory_order_release);
    StepObjPostMsg(number == kMsgFreeHold || number == kMsgFreeRedHold ? kPopupHeldStart : kPopupTimedStart,
                   row);
}

void MsgText_KeyHint(StepRow* row, uint32_t number) {
    Begin();
    core::MsgPopupWriteText(number == 9 || number == 10 ? kKeyHintTexts[number - 9] : "String UnDefine");
    StepObjPostMsg(kPopupHeldStart, row);
}

void MsgText_Setting(StepRow* row, uint32_t number) {
    Begin();
    if (number == static_cast<uint32_t>(kMsgRecalled) || number == static_cast<uint32_t>(kMsgSaved)) {
        char text[64];
        std::snprintf(text, sizeof text, kSettingTexts[number - kFirstSetting], PresetNumberShown(number));
        core::MsgPopupWriteText(text);
    } else {
        core::MsgPopupWriteText(number >= kFirstSetting && number < 32 ? kSettingTexts[number - kFirstSetting]
                                                                       : "Msg UnDefine");
    }
    StepObjPostMsg(kPopupTimedStart, row);
}
