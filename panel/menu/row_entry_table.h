#pragma once
// The one table of the MENU lists' row entries: per row or editor state, how it is entered, the value it
// starts with, the guard it keeps and the editor limits it sets.
#include <cstdint>

namespace panel {

enum class RowHow : uint8_t {
    kValue,        // the state with the source's value as choice and edit value
    kRecord,       // the state with its parameter record
    kRecordPhase,  // the record, then the wiring as start and working value
    kRecordChoice  // the record, then the working value as choice value
};
enum class RowSrc : uint8_t {
    kZero,
    kOne,
    kIndex,  // the position in the run of states (state - first)
    kDhcp,
    kIpOctet,
    kMaskOctet,
    kGateOctet,
    kDnsOctet,
    kSocketPort,
    kWebPassword,
    kUsbClass,
    kRs232Baud,
    kRs232DataBits,
    kRs232Parity,
    kRs232StopBits,
    kGpibAddress,
    kCanBaud,
    kCanNodeId,
    kDnetBaud,
    kDnetMacId,
    kLcdPercent,  // contrast, brightness, saturation by (state - 215) / 2
    kBrandId,
    kSavRecType,
    kSavRecAction,
    kSavRecMemory,
    kArbField,  // the builder's field of the edit/field pair (state - 495) / 2
    kArbType,
};
enum class RowGuard : uint8_t {
    kNone,
    kMaster,            // only on the parallel master
    kWiring3P4W,        // else the row before
    kNot1P2W,           // else the row before
    kTrigOut,           // no SEQ/SIM and an output mode with trigger out, else the row before
    kOutputOff,         // refused with a message while the output is on
    kRemoteSense,       // the remote-sense check's message
    kOptionInterface,   // master only; the row of the interface fitted
    kStandalone,        // master only; refused with a message while parallel operation is active
    kParallelPosition,  // refused while the output is on; a parallel system enabled keeps the top row
    kPositionEdit,      // a stand-alone single unit, else as the position row
    kNumberEdit,        // master, not enabled, single unit, else the row before
    kEnableEdit,        // master, and while enabled only in parallel operation, else the row before
    kNotAllData,        // not for the Save/Recall type "All Data"
};
enum class RowLimits : uint8_t { kKeep, kFixed, kSavRecAction, kSavRecMemory };

struct RowEntry {
    uint16_t first, last;  // the states of the run, inclusive
    uint8_t step;          // 1, or 2 for every other state
    RowHow how;
    RowSrc src;
    RowGuard guard;
    RowLimits limits;
    int32_t max, min, digits;  // with kFixed; the digit count only where it is not negative
};

namespace rows {
using H = RowHow;
using S = RowSrc;
using G = RowGuard;
using L = RowLimits;
constexpr RowEntry Row(uint16_t s, G g = G::kNone) {
    return {s, s, 1, H::kValue, S::kZero, g, L::kKeep, 0, 0, -1};
}
constexpr RowEntry Rec(uint16_t first, uint16_t last, G g = G::kNone, uint8_t step = 1) {
    return {first, last, step, H::kRecord, S::kZero, g, L::kKeep, 0, 0, -1};
}
constexpr RowEntry Val(uint16_t first, uint16_t last, S src, G g = G::kNone) {
    return {first, last, 1, H::kValue, src, g, L::kKeep, 0, 0, -1};
}
constexpr RowEntry Lim(uint16_t s, S src, int32_t max, int32_t min, int32_t digits = -1) {
    return {s, s, 1, H::kValue, src, G::kNone, L::kFixed, max, min, digits};
}
}  // namespace rows

inline constexpr RowEntry kRowEntries[] = {
    rows::Row(94),
    rows::Row(95),
    rows::Row(138),
    rows::Row(165),
    rows::Row(166),
    rows::Row(170),
    rows::Row(179),
    rows::Row(192),
    rows::Row(207),
    rows::Row(214),
    rows::Row(215),
    rows::Row(221),
    rows::Row(222),
    rows::Row(223),
    rows::Lim(224, RowSrc::kZero, 9999, 0, 4),
    rows::Row(225),
    rows::Lim(228, RowSrc::kZero, 9999, 0, 4),
    rows::Row(284),
    // MISC Configuration
    rows::Rec(96, 96, RowGuard::kMaster),
    rows::Rec(97, 98),
    {99, 99, 1, RowHow::kRecordPhase, RowSrc::kZero, RowGuard::kNone, RowLimits::kKeep, 0, 0, -1},
    rows::Rec(100, 100),
    rows::Rec(101, 101, RowGuard::kWiring3P4W),
    rows::Rec(102, 108),
    rows::Rec(109, 109, RowGuard::kRemoteSense),
    rows::Rec(110, 110),
    rows::Rec(111, 111, RowGuard::kOutputOff),
    rows::Rec(112, 128),
    rows::Rec(129, 129, RowGuard::kTrigOut),
    rows::Rec(130, 130),
    rows::Rec(131, 131, RowGuard::kTrigOut),
    rows::Rec(132, 132),
    rows::Rec(133, 133, RowGuard::kNot1P2W),
    rows::Rec(134, 137),
    // LAN
    rows::Val(139, 139, RowSrc::kDhcp, RowGuard::kMaster),
    rows::Val(140, 140, RowSrc::kDhcp),
    rows::Row(141),
    rows::Row(146),
    rows::Row(151),
    rows::Row(156),
    rows::Val(142, 145, RowSrc::kIpOctet),
    rows::Val(147, 150, RowSrc::kMaskOctet),
    rows::Val(152, 155, RowSrc::kGateOctet),
    rows::Val(157, 160, RowSrc::kDnsOctet),
    rows::Val(161, 161, RowSrc::kSocketPort),
    rows::Val(163, 163, RowSrc::kWebPassword),
    // USB device, RS232C
    rows::Row(168, RowGuard::kMaster),
    rows::Lim(169, RowSrc::kUsbClass, 1, 0, 0),
    rows::Row(171, RowGuard::kMaster),
    rows::Lim(172, RowSrc::kRs232Baud, 7, 0, 0),
    rows::Lim(174, RowSrc::kRs232DataBits, 1, 0, 0),
    rows::Lim(176, RowSrc::kRs232Parity, 2, 0, 0),
    rows::Lim(178, RowSrc::kRs232StopBits, 1, 0, 0),
    rows::Row(173),
    rows::Row(175),
    rows::Row(177),
    // Option interface
    rows::Row(180, RowGuard::kOptionInterface),
    rows::Row(183, RowGuard::kOptionInterface),
    rows::Row(188, RowGuard::kOptionInterface),
    rows::Lim(181, RowSrc::kGpibAddress, 30, 0),
    rows::Row(182),
    rows::Row(185),
    rows::Row(187),
    rows::Row(190),
    rows::Lim(184, RowSrc::kCanBaud, 4, 0),
    rows::Lim(186, RowSrc::kCanNodeId, 127, 1, 3),
    rows::Lim(189, RowSrc::kDnetBaud, 3, 0),
    rows::Lim(191, RowSrc::kDnetMacId, 63, 0, 2),
    // Output impedance, parallel
    rows::Row(193, RowGuard::kStandalone),
    rows::Rec(194, 206, RowGuard::kNone, 2),
    {195, 205, 2, RowHow::kValue, RowSrc::kZero, RowGuard::kNone, RowLimits::kKeep, 0, 0, -1},
    rows::Row(208, RowGuard::kParallelPosition),
    rows::Rec(209, 209, RowGuard::kPositionEdit),
    rows::Row(210),
    rows::Row(212),
    rows::Rec(211, 211, RowGuard::kNumberEdit),
    rows::Rec(213, 213, RowGuard::kEnableEdit),
    // LCD, brand and model, service lists
    rows::Lim(216, RowSrc::kLcdPercent, 100, 1, 3),
    rows::Lim(218, RowSrc::kLcdPercent, 100, 1, 3),
    rows::Lim(220, RowSrc::kLcdPercent, 100, 1, 3),
    rows::Val(217, 217, RowSrc::kLcdPercent),
    rows::Val(219, 219, RowSrc::kLcdPercent),
    rows::Lim(226, RowSrc::kBrandId, 2, 0),
    rows::Val(227, 227, RowSrc::kOne),
    rows::Val(229, 255, RowSrc::kIndex),
    {267, 270, 1, RowHow::kRecordChoice, RowSrc::kZero, RowGuard::kNone, RowLimits::kKeep, 0, 0, -1},
    rows::Val(272, 283, RowSrc::kIndex),
    // Save/Recall
    rows::Val(285, 285, RowSrc::kSavRecType),
    rows::Lim(286, RowSrc::kSavRecType, 4, 0, 0),
    rows::Val(287, 287, RowSrc::kSavRecAction),
    {288, 288, 1, RowHow::kValue, RowSrc::kSavRecAction, RowGuard::kNone, RowLimits::kSavRecAction, 0, 0, -1},
    rows::Val(289, 289, RowSrc::kSavRecMemory, RowGuard::kNotAllData),
    {290, 290, 1, RowHow::kValue, RowSrc::kSavRecMemory, RowGuard::kNone, RowLimits::kSavRecMemory, 0, 0, -1},
    // Barcodes
    {292, 314, 2, RowHow::kValue, RowSrc::kZero, RowGuard::kMaster, RowLimits::kKeep, 0, 0, -1},
    rows::Rec(293, 315, RowGuard::kNone, 2),
    // Waveform builder
    rows::Val(495, 542, RowSrc::kArbField),
    rows::Val(543, 543, RowSrc::kArbType),
    rows::Val(544, 544, RowSrc::kArbType, RowGuard::kMaster),
};

// True when the entry covers the state.
constexpr bool RowEntryHolds(const RowEntry& e, uint32_t state) {
    return state >= e.first && state <= e.last && (state - e.first) % e.step == 0;
}
// Whether a state has a row entry, at compile time too (a pointer compared with null is no constant
// expression in an instrumented build).
constexpr bool HasRowEntry(uint32_t state) {
    for (const RowEntry& e : kRowEntries)
        if (RowEntryHolds(e, state)) return true;
    return false;
}
constexpr const RowEntry* FindRowEntry(uint32_t state) {
    for (const RowEntry& e : kRowEntries)
        if (RowEntryHolds(e, state)) return &e;
    return nullptr;
}

}  // namespace panel
