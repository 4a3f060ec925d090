// SYSTem:ARBitrary:EDIT: the waveform builder driven remotely. The handlers convert units and check the
// ranges; the builder keeps the values. Setters are called in an order that keeps the builder's own
// interlocks (start below sweep below end) true after every single call.
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/handlers/source/scpi_arb_edit_param.h"
#include "scpi/handlers/system/scpi_arb_builder.h"
#include "scpi/parser/scpi_errors.h"

int32_t ArbBuiltinChoiceToType(int32_t choice) {
    if (choice < 0 || choice > 32) return -1;
    if (choice <= 2) return choice;
    if (choice <= 4) return 3;
    if (choice <= 6) return 4;
    return choice - 2;  // SURGe 7 -> 5, DST01..DST22, RIPPle, DIP, LFRing
}

namespace scpi {
namespace {

enum BuilderType : int32_t {
    kTri = 0,
    kSta = 1,
    kClip = 2,
    kCf1 = 3,
    kCf2 = 4,
    kSurge = 5,
    kRipple = 28,
    kDip = 29,
    kLfRing = 30
};

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}
// "Data out of range;0n" for the value at position n (1-8).
uint32_t RangeAt(int position) {
    return kScpiErrDataOutOfRange + static_cast<uint32_t>(position);
}

// After a remote change the editor, when it is on screen, is entered again so it shows the new values.
void ResyncPanel() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    if (state >= kMenuArbTriangleEdit && state <= kMenuArbType) ScreenRequest_Ask(ScreenRequest::kArbitraryMode);
}
void Rebuilt() {
    ArbBuild_SetBuildPending();
    ResyncPanel();
}

// Parameter i in builder steps (`perUnit` steps make one unit of the command): MINimum/MAXimum give min/max,
// an integer is scaled, a real rounded half away from zero to one step. 0 or the error row: a real where
// only integers are taken or a parameter of another type -220, a value that leaves 32 bits -222.
uint32_t Steps(const ScpiInterface* ifc, uint32_t i, int32_t perUnit, bool realAllowed, int32_t min,
               int32_t max, int32_t* out) {
    if (const int limit = LimitChoice(ifc, i, min, max, out); limit != 0)
        return limit > 0 ? 0 : kScpiErrParameter;
    double value = 0;
    if (int32_t integer; scpiGetInt(ifc, i, &integer) == 0) {
        value = static_cast<double>(integer) * perUnit;
    } else if (scpiGetReal(ifc, i, &value) == 0) {
        if (!realAllowed) return kScpiErrParameter;
        const double half = 0.5 / perUnit;
        value = std::trunc((value >= 0 ? value + half : value - half) * perUnit);
    } else {
        return kScpiErrParameter;
    }
    if (!std::isfinite(value) || value > std::numeric_limits<int32_t>::max() ||
        value < std::numeric_limits<int32_t>::min())
        return kScpiErrDataOutOfRange;
    *out = static_cast<int32_t>(value);
    return 0;
}

// The query's selector: 0 the stored values, 1 MINimum, 2 MAXimum; -1 for anything else.
int QuerySelector(const ScpiInterface* ifc) {
    if (scpiGetParamCount(ifc) < 1 || ParamType(ifc, 0) == kItemOmitted) return 0;
    int32_t choice;
    if (scpiGetChoice(ifc, 0, &choice) != 0) return -1;
    if (choice == kChoiceMin) return 1;
    return choice == kChoiceMax ? 2 : -1;
}

int Reply(ScpiInterface* ifc, const char* text, int n) {
    if (n < 0) return Fail(ifc, kScpiErrQueryUnterm);
    return scpiWriteResponse(ifc, text, static_cast<uint32_t>(n), kPortCopy, 0);
}

struct SingleField {
    int32_t type, min, max, perUnit;
    int32_t (*set)(int32_t);
    uint32_t item;  // of scpiArbEditParam
};
constexpr SingleField kTriangle{kTri, 0, 100, 1, ArbBuild_SetTriangle, 0};
constexpr SingleField kStairs{kSta, 1, 100, 1, ArbBuild_SetStairs, 1};
constexpr SingleField kClipField{kClip, 0, 100, 100, ArbBuild_SetClip, 2};
constexpr SingleField kCrest1{kCf1, 11, 100, 10, ArbBuild_SetCf1, 3};
constexpr SingleField kCrest2{kCf2, 15, 20, 10, ArbBuild_SetCf2, 4};

int Single(ScpiInterface* ifc, const SingleField& f) {
    if (scpiIsQuery(ifc) == 1) return scpiArbEditParam(ifc, f.item, f.max, f.min);
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    int32_t v = 0;
    const bool realAllowed = f.perUnit != 1;
    if (const uint32_t row = Steps(ifc, 0, f.perUnit, realAllowed, f.min, f.max, &v); row != 0)
        return Fail(ifc, row);
    if (v < f.min || v > f.max) return Fail(ifc, kScpiErrDataOutOfRange);
    ArbBuild_SetType(f.type);
    f.set(v);
    Rebuilt();
    return 0;
}

constexpr const char* kDstNames[] = {"DST01", "DST02", "DST03", "DST04", "DST05", "DST06", "DST07", "DST08",
                                     "DST09", "DST10", "DST11", "DST12", "DST13", "DST14", "DST15", "DST16",
                                     "DST17", "DST18", "DST19", "DST20", "DST21", "DST22"};

const char* TypeName(int32_t type) {
    static constexpr const char* kHead[] = {"TRI", "STA", "CLIP", "CFAC1", "CFAC2", "SURG"};
    if (type >= 0 && type <= kSurge) return kHead[type];
    if (type >= 6 && type <= 27) return kDstNames[type - 6];
    if (type == kRipple) return "RIPPLE";
    if (type == kDip) return "DIP";
    return type == kLfRing ? "LF-RING" : "";
}

// The ARB slot of STORe and STORe:APPLy: ARBn or an integer 1..253 (out of range: `integerRow`).
uint32_t StoreSlot(ScpiInterface* ifc, uint32_t integerRow, int32_t* slot, bool* integer) {
    int32_t v = 0;
    *integer = false;
    if (scpiGetChoice(ifc, 0, &v) == 0) {
        if (v < 0 || v > 252) return kScpiErrParameter;
        *slot = v + 1;
        return 0;
    }
    if (scpiGetInt(ifc, 0, &v) != 0) return kScpiErrParameter;
    if (v < 1 || v > 253) return integerRow;
    *integer = true;
    *slot = v;
    return 0;
}

// Suffix of the header node at `level`, 1 when none was written.
int SuffixAt(const ScpiInterface* ifc, uint32_t level) {
    const int s = scpiGetSuffix(ifc, level);
    return s < 0 ? 1 : s;
}

}  // namespace

int CmdSystArbEditBuil(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteTextReply(ifc, TypeName(ArbBuild_GetType()));
    int32_t choice = 0;
    if (scpiGetChoice(ifc, 0, &choice) != 0 && scpiGetInt(ifc, 0, &choice) != 0)
        return Fail(ifc, kScpiErrParameter);
    const int32_t type = ArbBuiltinChoiceToType(choice);
    if (type < 0) return Fail(ifc, kScpiErrParameter);
    if (type != ArbBuild_GetType()) {
        ArbBuild_SetType(type);
        Rebuilt();
    }
    return 0;
}

int CmdSystArbEditCfac(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    const int suffix = SuffixAt(ifc, 3);
    if (suffix != 1 && suffix != 2) return Fail(ifc, kScpiErrParameter);
    return Single(ifc, suffix == 1 ? kCrest1 : kCrest2);
}
int CmdSystArbEditClip(ScpiInterface* ifc) {
    return Single(ifc, kClipField);
}
int CmdSystArbEditSta(ScpiInterface* ifc) {
    return Single(ifc, kStairs);
}
int CmdSystArbEditTri(ScpiInterface* ifc) {
    return Single(ifc, kTriangle);
}

int CmdSystArbEditDip(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    const int32_t start0 = ArbBuild_GetDIPStart(), sweep0 = ArbBuild_GetDIPSweep(),
                  end0 = ArbBuild_GetDIPEnd();
    char text[64];
    if (scpiIsQuery(ifc) == 1) {
        const int sel = QuerySelector(ifc);
        if (sel < 0) return Fail(ifc, kScpiErrParameter);
        double v[3] = {start0 / 10.0, sweep0 / 10.0, end0 / 10.0};
        if (sel == 2) v[0] = (sweep0 - 1) / 10.0, v[1] = (end0 - 1) / 10.0, v[2] = 359.9;
        if (sel == 1) v[0] = 0.1, v[1] = (start0 + 1) / 10.0, v[2] = (sweep0 + 1) / 10.0;
        return Reply(ifc, text, std::snprintf(text, sizeof text, "%.1f,%.1f,%.1f", v[0], v[1], v[2]));
    }
    int32_t start = 0, sweep = 0, end = 0;
    uint32_t row = Steps(ifc, 0, 10, true, 1, sweep0 - 1, &start);
    if (row == 0) row = Steps(ifc, 1, 10, true, start0 + 1, end0 - 1, &sweep);
    if (row == 0) row = Steps(ifc, 2, 10, true, sweep0 + 1, settings::kAngleMax, &end);
    if (row != 0) return Fail(ifc, row);
    if (start >= sweep) return Fail(ifc, RangeAt(1));
    if (end <= sweep) return Fail(ifc, RangeAt(start > 0 ? 2 : 1));
    if (end >= settings::kAngleTurn) return Fail(ifc, RangeAt(3));
    if (start <= 0) return Fail(ifc, RangeAt(1));
    ArbBuild_SetType(kDip);
    if (end0 > end) {
        ArbBuild_SetDIPStart(start), ArbBuild_SetDIPSweep(sweep), ArbBuild_SetDIPEnd(end);
    } else if (start0 < sweep) {
        ArbBuild_SetDIPEnd(end), ArbBuild_SetDIPSweep(sweep), ArbBuild_SetDIPStart(start);
    } else {
        ArbBuild_SetDIPEnd(end), ArbBuild_SetDIPStart(start), ArbBuild_SetDIPSweep(sweep);
    }
    Rebuilt();
    return 0;
}

int CmdSystArbEditLfr(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    // The ACV limits are those the builder's LF-ring voltage setter keeps.
    ParamRec acv{};
    paramGetRecord(kParamAcv, &acv, 0);
    const int32_t start0 = ArbBuild_GetLFRingStart(), end0 = ArbBuild_GetLFRingEnd();
    char text[160];
    if (scpiIsQuery(ifc) == 1) {
        const int sel = QuerySelector(ifc);
        if (sel < 0) return Fail(ifc, kScpiErrParameter);
        double v[8] = {ArbBuild_GetLFRingACV() / 100.0,
                       static_cast<double>(ArbBuild_GetLFRingAmp()),
                       ArbBuild_GetLFRingBaseFreq() / 10.0,
                       ArbBuild_GetLFRingRingFreq() / 10.0,
                       ArbBuild_GetLFRingDecay() / 1000.0,
                       start0 / 10.0,
                       end0 / 10.0,
                       ArbBuild_GetLFRingRing() / 10.0};
        if (sel == 2) {
            const double max[8] = {acv.defaultMax / 100.0, 200,   200.0, 5000.0, 0.1,
                                   (end0 - 1) / 10.0,      359.9, 359.9};
            for (int k = 0; k < 8; ++k)
                v[k] = max[k];
        } else if (sel == 1) {
            const double min[8] = {acv.defaultMin / 100.0, 140, 50.0, 200.0, -0.1, 0.1,
                                   (start0 + 1) / 10.0,    0.1};
            for (int k = 0; k < 8; ++k)
                v[k] = min[k];
        }
        return Reply(ifc, text,
                     std::snprintf(text, sizeof text, "%.2f,%+d,%.1f,%.1f,%.3f,%.1f,%.1f,%.1f", v[0],
                                   static_cast<int>(v[1]), v[2], v[3], v[4], v[5], v[6], v[7]));
    }
    struct Field {
        int32_t perUnit, min, max;
        bool realAllowed, ranged;
    };
    const Field fields[8] = {
        {100, acv.defaultMin, acv.defaultMax, true, true},
        {1, 140, 200, false, true},
        {10, 500, 2000, true, true},
        {10, 2000, 50000, true, true},
        {1000, -100, 100, true, true},
        {10, 1, end0 - 1, true, false},
        {10, start0 + 1, settings::kAngleMax, true, false},
        {10, 1, settings::kAngleMax, true, true},
    };
    int32_t v[8] = {};
    uint32_t outOfRange = 0;
    for (uint32_t k = 0; k < 8; ++k) {
        const Field& f = fields[k];
        if (const uint32_t row = Steps(ifc, k, f.perUnit, f.realAllowed, f.min, f.max, &v[k]); row != 0)
            return Fail(ifc, row);
        if (f.ranged && (v[k] < f.min || v[k] > f.max)) {
            if (k == 1) return Fail(ifc, RangeAt(2));
            outOfRange = RangeAt(static_cast<int>(k) + 1);
        }
    }
    if (v[5] <= 0) outOfRange = RangeAt(6);
    if (v[6] <= v[5] || v[6] >= 3600) outOfRange = RangeAt(7);
    if (outOfRange != 0) return Fail(ifc, outOfRange);
    ArbBuild_SetType(kLfRing);
    ArbBuild_SetLFRingACV(v[0]);
    ArbBuild_SetLFRingAmp(v[1]);
    ArbBuild_SetLFRingBaseFreq(v[2]);
    ArbBuild_SetLFRingRingFreq(v[3]);
    ArbBuild_SetLFRingDecay(v[4]);
    ArbBuild_SetLFRingRing(v[7]);
    if (start0 < v[6]) {
        ArbBuild_SetLFRingEnd(v[6]), ArbBuild_SetLFRingStart(v[5]);
    } else {
        ArbBuild_SetLFRingStart(v[5]), ArbBuild_SetLFRingEnd(v[6]);
    }
    Rebuilt();
    return 0;
}

namespace {

// RIPPle's VDC and level, SURGe's ACV and site: MINimum 0, MAXimum 100 or an integer 0..100.
uint32_t Percent(const ScpiInterface* ifc, uint32_t i, int32_t* out) {
    if (const int limit = LimitChoice(ifc, i, 0, 100, out); limit != 0)
        return limit > 0 ? 0 : kScpiErrParameter;
    if (scpiGetInt(ifc, i, out) != 0) return kScpiErrParameter;
    return *out < 0 || *out > 100 ? kScpiErrDataOutOfRange : 0;
}

// Query of a mode and two percentages: "%s,%+d,%+d".
int TripleQuery(ScpiInterface* ifc, const char* stored, int32_t a, int32_t b, const char* min,
                const char* max) {
    const int sel = QuerySelector(ifc);
    if (sel < 0) return Fail(ifc, kScpiErrParameter);
    char text[48];
    const int n = sel == 0   ? std::snprintf(text, sizeof text, "%s,%+d,%+d", stored, a, b)
                  : sel == 1 ? std::snprintf(text, sizeof text, "%s,+0,+0", min)
                             : std::snprintf(text, sizeof text, "%s,+100,+100", max);
    return Reply(ifc, text, n);
}

}  // namespace

int CmdSystArbEditRipp(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    static constexpr const char* kTimes[] = {"1", "2", "3", "6"};
    if (scpiIsQuery(ifc) == 1) {
        const int32_t code = ArbBuild_GetRippleTimes();
        return TripleQuery(ifc, code >= 0 && code <= 3 ? kTimes[code] : "", ArbBuild_GetRippleVDC(),
                           ArbBuild_GetRippleLevel(), "1", "6");
    }
    int32_t times = 0, vdc = 0, level = 0;
    if (scpiGetInt(ifc, 0, &times) != 0) return Fail(ifc, kScpiErrParameter);
    int32_t code = -1;
    for (int32_t c = 0; c < 4; ++c)
        if (times == (c == 3 ? 6 : c + 1)) code = c;
    if (code < 0) return Fail(ifc, kScpiErrParameter);
    uint32_t row = Percent(ifc, 1, &vdc);
    if (row == 0) row = Percent(ifc, 2, &level);
    if (row != 0) return Fail(ifc, row);
    ArbBuild_SetType(kRipple);
    ArbBuild_SetRippleTimes(code);
    ArbBuild_SetRippleVDC(vdc);
    ArbBuild_SetRippleLevel(level);
    Rebuilt();
    return 0;
}

int CmdSystArbEditSurg(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1)
        return TripleQuery(ifc, ArbBuild_GetSdMode() == 0 ? "SQU" : "SIN", ArbBuild_GetSdAcv(),
                           ArbBuild_GetSdSite(), "SQU", "SIN");
    int32_t mode = 0, acv = 0, site = 0;
    if (scpiGetChoice(ifc, 0, &mode) != 0 && scpiGetInt(ifc, 0, &mode) != 0)
        return Fail(ifc, kScpiErrParameter);
    if (mode < 0 || mode > 2) return Fail(ifc, kScpiErrDataOutOfRange);
    uint32_t row = Percent(ifc, 1, &acv);
    if (row == 0) row = Percent(ifc, 2, &site);
    if (row != 0) return Fail(ifc, row);
    ArbBuild_SetType(kSurge);
    ArbBuild_SetSdMode(mode == 0 ? 0 : 1);
    ArbBuild_SetSdAcv(acv);
    ArbBuild_SetSdSite(site);
    Rebuilt();
    return 0;
}

int CmdSystArbEditStor(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t slot = 0;
    bool integer = false;
    if (const uint32_t row = StoreSlot(ifc, kScpiErrParameter, &slot, &integer); row != 0)
        return Fail(ifc, row);
    ArbBuild_SetArbNo(slot);
    if (integer) ResyncPanel();
    // A store that did not reach the file is not a success.
    return ArbBuild_Store() < 1 ? Fail(ifc, kScpiErrExecution) : 0;
}

int CmdSystArbEditStorAppl(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t slot = 0;
    bool integer = false;
    if (const uint32_t row = StoreSlot(ifc, kScpiErrDataOutOfRange, &slot, &integer); row != 0)
        return Fail(ifc, row);
    ArbBuild_SetArbNo(slot);
    const int suffix = SuffixAt(ifc, 4);
    if (suffix < 1 || suffix > 3) return Fail(ifc, kScpiErrParameter);
    if ((suffix == 2 && GetPhaseMode() == kWiring1P2W) || (suffix == 3 && GetPhaseMode() != kWiring3P4W))
        return Fail(ifc, kScpiErrExecution);
    const int phase = suffix - 1;
    // Refused with the output on, or a failed store: the wave was not applied.
    const int32_t r =
        ArbBuild_GetType() == kLfRing ? ArbBuild_ApplyLFRing(phase) : ArbBuild_ApplyRipple(phase);
    if (r != 1) return Fail(ifc, kScpiErrExecution);
    // Mode, waveform and unit change: the control task takes them up (the unit change switches the
    // output off), so an OUTPut ON after this command must come after that.
    ScpiHandoverCompleteAfterPass();
    return 0;
}

}  // namespace scpi
