#include "engine/arb/arb_builder.h"

#include <cstring>
#include <mutex>

#include "core/control/calibration/calibration.h"
#include "core/params/waves/arb_mem.h"
#include "core/system/state/edit_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/step_obj.h"
#include "engine/arb/arb_shape_tables.h"
#include "engine/arb/arb_shapes.h"
#include "platform/host/clock.h"
#include "storage/files/arb_file.h"

ArbBuilder g_ArbBuilder;
std::atomic<int32_t> g_LFRingActualAmp{0};

namespace {
using namespace engine;
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr auto kAcquire = std::memory_order_acquire;
constexpr auto kRelease = std::memory_order_release;

enum : uint32_t {
    kRowInit = 1,
    kRowRun = 2,
    kEvStart = 1,
    kEvFirstPreview = 2,
    kEvIdle = 4,
    kEvBuild = 5,
    kEvAck = 6,
    kEvPreview = 7,
};

// One build at a time: the computed wave is built here; a stored shape is used where it lies.
uint16_t g_workArea[kBuildSamples];
std::atomic<const void*> g_workPtr{nullptr};
// The build and the commit's copy of the work area never overlap.
std::mutex g_workLock;
int16_t g_previewBuf[2][kPreviewPoints];
std::atomic<int> g_previewIdx{0};  // the buffer the next preview is drawn into
std::atomic<int> g_shownIdx{-1};   // the buffer published to the editor page, -1 none
uint32_t g_buildingTicket = 0;     // the store ticket the current build covers (timer thread)

int32_t TaskInit(StepRow* row, uint32_t msg);
int32_t TaskRun(StepRow* row, uint32_t msg);
StepRow g_rows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, TaskInit},    {{0}, {0}, TaskRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};
StepObj g_taskObj{{kRowInit}, {kEvStart}, g_rows};

bool IsStoredShape(int32_t type) {
    return type >= kShapeDstFirst && type <= kShapeDstLast;
}

// The parameters that the preview takes live from the editor while their edit state is current.
struct LiveParam {
    uint32_t editState;
    std::atomic<int32_t> ArbBuilder::*field;
};
constexpr LiveParam kLiveParams[] = {
    {kMenuArbTriangleEdit, &ArbBuilder::triangle},
    {kMenuArbStairsEdit, &ArbBuilder::stairs},
    {kMenuArbClipEdit, &ArbBuilder::clip},
    {kMenuArbCf1Edit, &ArbBuilder::cf1},
    {kMenuArbCf2Edit, &ArbBuilder::cf2},
    {kMenuArbSdSiteEdit, &ArbBuilder::sdSite},
    {kMenuArbSdAcvEdit, &ArbBuilder::sdAcv},
    {kMenuArbSdModeEdit, &ArbBuilder::sdMode},
    {kMenuArbRippleLevelEdit, &ArbBuilder::rippleLevel},
    {kMenuArbRippleVdcEdit, &ArbBuilder::rippleVdc},
    {kMenuArbRippleTimesEdit, &ArbBuilder::rippleTimes},
    {kMenuArbDipStartEdit, &ArbBuilder::dipStart},
    {kMenuArbDipSweepEdit, &ArbBuilder::dipSweep},
    {kMenuArbDipEndEdit, &ArbBuilder::dipEnd},
    {kMenuArbLfRingAmpEdit, &ArbBuilder::lfRingAmp},
    {kMenuArbLfRingBaseFreqEdit, &ArbBuilder::lfRingBaseFreq},
    {kMenuArbLfRingRingFreqEdit, &ArbBuilder::lfRingRingFreq},
    {kMenuArbLfRingDecayEdit, &ArbBuilder::lfRingDecay},
    {kMenuArbLfRingStartEdit, &ArbBuilder::lfRingStart},
    {kMenuArbLfRingEndEdit, &ArbBuilder::lfRingEnd},
    {kMenuArbLfRingRingEdit, &ArbBuilder::lfRingRing},
    {kMenuArbTypeEdit, &ArbBuilder::type},  // the preview shows the type being chosen
};

int32_t EditValue() {
    return g_EditParam.workValue.load(kRelaxed);
}

int32_t PreviewValue(std::atomic<int32_t> ArbBuilder::*field) {
    const uint32_t state = g_MenuState.load(kRelaxed);
    for (const LiveParam& p : kLiveParams) {
        if (p.field == field)
            return state == p.editState ? EditValue() : (g_ArbBuilder.*field).load(kRelaxed);
    }
    return (g_ArbBuilder.*field).load(kRelaxed);
}
int32_t Param(std::atomic<int32_t> ArbBuilder::*field) {
    return (g_ArbBuilder.*field).load(kRelaxed);
}

LFRingParams LFRing(int32_t (*get)(std::atomic<int32_t> ArbBuilder::*)) {
    return {get(&ArbBuilder::lfRingAmp),   get(&ArbBuilder::lfRingBaseFreq), get(&ArbBuilder::lfRingRingFreq),
            get(&ArbBuilder::lfRingDecay), get(&ArbBuilder::lfRingStart),    get(&ArbBuilder::lfRingEnd),
            get(&ArbBuilder::lfRingRing)};
}

// The 4096-sample build of a computed type into the work area.
void BuildComputed(int32_t type) {
    const int n = kBuildSamples;
    const int32_t a = kBuildAmplitude;
    uint16_t* out = g_workArea;
    switch (type) {
        case kShapeTriangle:
            ShapeTriangle(n, a, Param(&ArbBuilder::triangle), out);
            break;
        case kShapeStairs:
            ShapeStairs(n, a, Param(&ArbBuilder::stairs), out);
            break;
        case kShapeClip:
            ShapeClip(n, a, Param(&ArbBuilder::clip), out);
            break;
        case kShapeCf1:
            ShapeCf1(n, a, Param(&ArbBuilder::cf1), out);
            break;
        case kShapeCf2:
            ShapeCf2(n, a, Param(&ArbBuilder::cf2), out);
            break;
        case kShapeSurgeDip:
            ShapeSurgeDip(n, a, Param(&ArbBuilder::sdMode), Param(&ArbBuilder::sdAcv),
                          Param(&ArbBuilder::sdSite), out);
            break;
        case kShapeRipple:
            ShapeRipple(n, a, Param(&ArbBuilder::rippleTimes), Param(&ArbBuilder::rippleVdc),
                        Param(&ArbBuilder::rippleLevel), out);
            break;
        case kShapeDip:
            ShapeDip(n, a, Param(&ArbBuilder::dipStart), Param(&ArbBuilder::dipSweep),
                     Param(&ArbBuilder::dipEnd), out);
            break;
        case kShapeLFRing: {
            int32_t ratio = 1000;
            ShapeLFRing(n, a, LFRing(Param), out, &ratio);
            g_LFRingActualAmp.store(ratio, kRelaxed);
            break;
        }
        default:
            break;
    }
}

// Points the work pointer at the wave of the type: the work area, or the stored shape itself.
void SelectWork(int32_t type) {
    if (IsStoredShape(type))
        g_workPtr.store(&g_DstShapes[(type - kShapeDstFirst) * kShapeSamples], kRelease);
    else
        g_workPtr.store(g_workArea, kRelease);
}

void SwapPreviewUnlessShown() {
    if ((g_ArbBuilder.flags.load(kAcquire) & kArbPreviewShown) == 0) g_previewIdx.fetch_xor(1, kRelaxed);
}

// Preview values are stored as their 16-bit patterns; -1 and 1 mark the curve's first and last points.
constexpr int16_t kPointLow = -1;

void Publish(int points) {
    if (points == kPreviewPoints && (g_ArbBuilder.flags.load(kAcquire) & kArbPreviewShown) == 0) {
        g_shownIdx.store(g_previewIdx.load(kRelaxed), kRelease);
        g_ArbBuilder.flags.fetch_or(kArbPreviewShown, kRelease);
    }
}

int32_t TaskInit(StepRow* row, uint32_t msg) {
    if (msg == kEvStart) {
        g_ArbBuilder.type.store(0, kRelaxed);
        g_ArbBuilder.builtType.store(0, kRelaxed);
        g_ArbBuilder.target.store(0, kRelaxed);
        g_previewIdx.store(0, kRelaxed);
        g_ArbBuilder.flags.fetch_and(static_cast<uint8_t>(~kArbClipKeepRms), kRelaxed);
        {
            std::lock_guard<std::mutex> lock(g_workLock);
            SelectWork(kShapeTriangle);
            BuildComputed(kShapeTriangle);
        }
        StepObjPostMsg(kEvFirstPreview, row);
    } else if (msg == kEvFirstPreview) {
        g_ArbBuilder.lastPreviewEdit.store(Param(&ArbBuilder::triangle), kRelaxed);
        // Published at once: the editor's first frame draws this curve rather than an empty pane.
        Publish(ArbBuild_GeneratePreview());
        StepObjPostState(kRowRun, kEvIdle, row);
    }
    return static_cast<int32_t>(msg);
}

void IdleCheck(StepRow* row) {
    ArbBuilder& b = g_ArbBuilder;
    const uint8_t flags = b.flags.load(kAcquire);
    if (flags & kArbResetTriangle) {
        b.type.store(kShapeTriangle, kRelaxed);
        b.flags.fetch_or(kArbPreviewRequest, kRelaxed);
        b.flags.fetch_and(static_cast<uint8_t>(~kArbResetTriangle), kRelaxed);
        return;
    }
    if (b.builtType.load(kRelaxed) != b.type.load(kRelaxed)) {
        b.flags.fetch_or(kArbRebuild, kRelaxed);
        b.builtType.store(b.type.load(kRelaxed), kRelaxed);
        return;
    }
    if (flags & kArbRebuild) {
        // The request is cleared before the ticket is read: a store that draws its ticket after that read
        // sets the bit again and gets a build of its own; one whose bit this clear took published its
        // ticket first (the acquire pairs with its release), so the read covers it. The ticket is taken
        // before the parameters are read: a store whose ticket it covers set them first.
        b.flags.fetch_and(static_cast<uint8_t>(~kArbRebuild), std::memory_order_acq_rel);
        g_buildingTicket = b.storeTicket.load(kAcquire);
        b.flags.fetch_or(kArbBuilt, kRelaxed);
        b.lastPreviewEdit.store(-1, kRelaxed);
        const int32_t type = b.builtType.load(kRelaxed);
        std::lock_guard<std::mutex> lock(g_workLock);
        SelectWork(type);
        if (!IsStoredShape(type)) StepObjPostMsg(kEvBuild, row);
        return;
    }
    if (flags & kArbPreviewRequest) {
        b.flags.fetch_and(static_cast<uint8_t>(~kArbPreviewRequest), kRelaxed);
        SwapPreviewUnlessShown();
        StepObjPostMsg(kEvPreview, row);
        return;
    }
    if (EditValue() == b.lastPreviewEdit.load(kRelaxed)) {
        if (flags & kArbBuilt) StepObjPostMsg(kEvAck, row);
        return;
    }
    const uint32_t state = g_MenuState.load(kRelaxed);
    if (state >= kMenuArbTriangleEdit && state <= kMenuArbTypeEdit && (state & 1u) != 0) {
        SwapPreviewUnlessShown();
        StepObjPostMsg(kEvPreview, row);
    } else {
        b.lastPreviewEdit.store(EditValue(), kRelaxed);
    }
}

int32_t TaskRun(StepRow* row, uint32_t msg) {
    ArbBuilder& b = g_ArbBuilder;
    switch (msg) {
        case kEvIdle:
            IdleCheck(row);
            break;
        case kEvBuild: {
            std::lock_guard<std::mutex> lock(g_workLock);
            BuildComputed(b.builtType.load(kRelaxed));
            StepObjPostMsg(kEvIdle, row);
            break;
        }
        case kEvAck:
            if (b.flags.load(kAcquire) & kArbBuilt) {
                b.flags.fetch_and(static_cast<uint8_t>(~kArbBuilt), kRelaxed);
                b.flags2.fetch_and(static_cast<uint8_t>(~kArbBuildPending), kRelaxed);
                b.storeAcked.store(g_buildingTicket, kRelease);
            }
            StepObjPostMsg(kEvIdle, row);
            break;
        case kEvPreview:
            b.lastPreviewEdit.store(EditValue(), kRelaxed);
            Publish(ArbBuild_GeneratePreview());
            StepObjPostMsg(kEvIdle, row);
            break;
        default:
            StepObjPostMsg(kEvIdle, row);
            break;
    }
    return static_cast<int32_t>(msg);
}

int32_t Slot(int32_t target) {
    return target < 16 ? target : target + 3;
}

// The preview's own clean-up of a few shapes: values that draw a clearer curve, and the marks of the
// curve's ends.
int PreviewShape(int32_t type, int16_t* out) {
    auto* raw = reinterpret_cast<uint16_t*>(out);
    const int n = kPreviewPoints;
    const int32_t a = kPreviewAmplitude;
    int points = 0;
    switch (type) {
        case kShapeTriangle: {
            const int32_t p = PreviewValue(&ArbBuilder::triangle);
            points = ShapeTriangle(n, a, p > 96 ? 100 : p, raw);
            if (points == n && p < 11) out[0] = kPointLow, out[n - 1] = 1;
            break;
        }
        case kShapeStairs: {
            const int32_t p = PreviewValue(&ArbBuilder::stairs);
            points = ShapeStairs(n, a, p > 40 ? 40 : p, raw);
            if (points == n && out[0] < -5) out[0] = kPointLow;
            if (points == n && out[n - 1] > 5) out[n - 1] = 1;
            break;
        }
        case kShapeClip:
            points = ShapeClip(n, a, PreviewValue(&ArbBuilder::clip), raw);
            break;
        case kShapeCf1: {
            const int32_t p = PreviewValue(&ArbBuilder::cf1);
            points = ShapeCf1(n, a, p, raw);
            if (points == n && p > 4) out[0] = 0;
            break;
        }
        case kShapeCf2:
            points = ShapeCf2(n, a, PreviewValue(&ArbBuilder::cf2), raw);
            break;
        case kShapeSurgeDip: {
            int32_t level = PreviewValue(&ArbBuilder::sdAcv), width = PreviewValue(&ArbBuilder::sdSite);
            if (level >= 1 && level <= 4) level = 5;
            if (width >= 1 && width <= 3) width = 4;
            points = ShapeSurgeDip(n, a, PreviewValue(&ArbBuilder::sdMode), level, width, raw);
            if (points == n && out[0] < -20) out[0] = kPointLow;
            if (points == n && out[n - 1] > 20) out[n - 1] = 1;
            break;
        }
        case kShapeRipple:
            points = ShapeRipple(n, a, PreviewValue(&ArbBuilder::rippleTimes),
                                 PreviewValue(&ArbBuilder::rippleVdc), PreviewValue(&ArbBuilder::rippleLevel),
                                 raw);
            break;
        case kShapeDip:
            points = ShapeDip(n, a, PreviewValue(&ArbBuilder::dipStart), PreviewValue(&ArbBuilder::dipSweep),
                              PreviewValue(&ArbBuilder::dipEnd), raw);
            break;
        case kShapeLFRing: {
            int32_t ratio = 1000;
            points = ShapeLFRing(n, a, LFRing(PreviewValue), raw, &ratio);
            g_LFRingActualAmp.store(ratio, kRelaxed);
            break;
        }
        default:
            points = ShapeDstPreview(type, out);
            break;
    }
    return points;
}

}  // namespace

int32_t ArbBuild_TaskRun() {
    if (CalibrationModeActive()) return -1;
    return StepObjRun(&g_taskObj);
}

void ArbBuild_RequestPreview() {
    g_ArbBuilder.flags.fetch_or(kArbPreviewRequest, kRelease);
}
void ArbBuild_SetBuildPending() {
    g_ArbBuilder.flags2.fetch_or(kArbBuildPending, kRelease);
}
int32_t ArbBuild_PreviewChanged() {
    return (g_ArbBuilder.flags.load(kAcquire) & kArbPreviewShown) ? 1 : 0;
}
void ArbBuild_SetPreviewChanged() {
    g_ArbBuilder.flags.fetch_or(kArbPreviewShown, kRelease);
}
void ArbBuild_ClearPreviewChanged() {
    g_ArbBuilder.flags.fetch_and(static_cast<uint8_t>(~kArbPreviewShown), kRelease);
}
const int16_t* ArbBuild_GetPreview() {
    const int idx = g_shownIdx.load(kAcquire);
    return idx < 0 ? nullptr : g_previewBuf[idx];
}
int32_t ArbBuild_GeneratePreview() {
    return PreviewShape(PreviewValue(&ArbBuilder::type), g_previewBuf[g_previewIdx.load(kRelaxed)]);
}

int32_t ArbBuild_Commit(int32_t byteCount, const void* source) {
    if (source == nullptr) return -1;
    if (byteCount < 0) byteCount = 0;
    // Never past the slot, whatever the caller asks.
    const int count = (byteCount > 2 * kArbSamples ? 2 * kArbSamples : byteCount) / 2;
    const int32_t target = g_ArbBuilder.target.load(kRelaxed);
    int16_t* slot = g_ArbMem[Slot(target)];
    {
        std::lock_guard<std::mutex> lock(g_workLock);
        if (IsStoredShape(g_ArbBuilder.builtType.load(kRelaxed))) {
            std::memcpy(slot, source, static_cast<size_t>(count) * 2);
        } else {
            const auto* samples = static_cast<const uint16_t*>(source);
            for (int i = 0; i < count; ++i)
                slot[i] = static_cast<int16_t>(static_cast<int32_t>(samples[i]) - kBuildAmplitude);
        }
    }
    const int32_t saved = ArbSaveFile(target, 1);
    const int32_t msg = g_ArbBuilder.msgId.exchange(0, kRelaxed);
    if (saved < 0) {
        ShowMessage(1, "Saved To ARB Fail");
        return saved;
    }
    if (msg == 66)
        ShowMessage(2, "Saved To ARB%d,\nV-Limit Invalid", target + 1);
    else if (msg == 67)
        ShowMessage(2, "Saved To ARB%d,\nV-Limit & Freq Invalid", target + 1);
    else
        ShowMessage(1, "Saved To ARB%d", target + 1);
    return count;
}

int32_t ArbBuild_Store() {
    ArbBuilder& b = g_ArbBuilder;
    const uint32_t ticket = b.storeTicket.fetch_add(1, std::memory_order_acq_rel) + 1;
    ArbBuild_SetBuildPending();
    b.flags.fetch_or(kArbRebuild, kRelease);
    const uint64_t deadline = plat::NowMs() + kArbStoreWaitMs;
    while (static_cast<int32_t>(b.storeAcked.load(kAcquire) - ticket) < 0) {
        if (plat::NowMs() >= deadline) {
            ShowMessage(1, "Saved To ARB Fail");
            return -1;
        }
        plat::SleepMs(2);
    }
    return ArbBuild_Commit(2 * kArbSamples, g_workPtr.load(kAcquire));
}

namespace engine {
void ArbBuilderReset() {
    ArbBuilder& b = g_ArbBuilder;
    b.flags.store(0), b.flags2.store(0), b.type.store(0), b.builtType.store(0), b.target.store(0);
    b.msgId.store(0), b.clip.store(50), b.stairs.store(5), b.cf1.store(20), b.cf2.store(15);
    b.sdMode.store(1), b.sdAcv.store(50), b.sdSite.store(25);
    b.rippleTimes.store(0), b.rippleVdc.store(48), b.rippleAcv.store(0), b.rippleLevel.store(15);
    b.dipStart.store(450), b.dipSweep.store(540), b.dipEnd.store(1720);
    b.lfRingAcv.store(0), b.lfRingAmp.store(140), b.lfRingBaseFreq.store(500), b.lfRingRingFreq.store(2000);
    b.lfRingDecay.store(5), b.lfRingStart.store(600), b.lfRingEnd.store(1200), b.lfRingRing.store(300);
    b.triangle.store(50), b.lastPreviewEdit.store(-1);
    b.storeTicket.store(0), b.storeAcked.store(0);
    g_workPtr.store(nullptr);
    g_shownIdx.store(-1), g_previewIdx.store(0);
    g_buildingTicket = 0;
    StepObjRewind(&g_taskObj, kRowInit, kEvStart);
    g_rows[kRowInit].msg.store(kEvStart);
}
}  // namespace engine
