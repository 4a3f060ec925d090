#pragma once
// The waveform builder: the selected shape type, the target waveform ARB1-ARB253 and every shape
// parameter; a background task, stepped every 20 ms by the timer thread, rebuilds the 4096-sample wave
// and the 340-point preview when they are out of date; the store copies the built wave into the waveform
// memory and saves it as an ARB file.
//
// The setters, the store and the apply operations run on the menu/control thread, the task on the timer
// thread. The flag bytes are changed with single atomic operations; a store hands its request to the task
// by ticket and takes the wave only after the task has acknowledged a build made after that ticket, and
// the build and the commit's copy never overlap (they share one lock).
#include <atomic>
#include <cstdint>

namespace engine {

enum ArbBuildFlag : uint8_t {
    kArbBuilt = 1u << 2,           // build finished, not yet acknowledged
    kArbRebuild = 1u << 3,         // rebuild requested
    kArbPreviewShown = 1u << 4,    // preview published, not yet taken by the editor page
    kArbResetTriangle = 1u << 5,   // back to the triangle requested
    kArbPreviewRequest = 1u << 6,  // preview requested
    kArbClipKeepRms = 1u << 7,
};
inline constexpr uint8_t kArbBuildPending = 1u << 0;  // in flags2: a parameter changed since the last build

// How long a store waits for the task's acknowledgement of its rebuild (about four 20 ms steps).
inline constexpr uint64_t kArbStoreWaitMs = 1000;

}  // namespace engine

// The builder's state.
struct ArbBuilder {
    std::atomic<uint8_t> flags{0};
    std::atomic<uint8_t> flags2{0};
    std::atomic<int32_t> type{0};       // selected type 0..30
    std::atomic<int32_t> builtType{0};  // type of the wave in the work area
    std::atomic<int32_t> target{0};     // waveform number - 1, 0..252
    std::atomic<int32_t> msgId{0};      // message of the next store: 0, 66 or 67
    std::atomic<int32_t> clip{50}, stairs{5}, cf1{20}, cf2{15};
    std::atomic<int32_t> sdMode{1}, sdAcv{50}, sdSite{25};
    std::atomic<int32_t> rippleTimes{0}, rippleVdc{48}, rippleAcv{0}, rippleLevel{15};
    std::atomic<int32_t> dipStart{450}, dipSweep{540}, dipEnd{1720};
    std::atomic<int32_t> lfRingAcv{0}, lfRingAmp{140}, lfRingBaseFreq{500}, lfRingRingFreq{2000};
    std::atomic<int32_t> lfRingDecay{5}, lfRingStart{600}, lfRingEnd{1200}, lfRingRing{300};
    std::atomic<int32_t> triangle{50};
    std::atomic<int32_t> lastPreviewEdit{-1};  // edit value of the last preview, -1 after a build
    std::atomic<uint32_t> storeTicket{0};      // stores requested
    std::atomic<uint32_t> storeAcked{0};       // the last ticket a finished build covered
};
extern ArbBuilder g_ArbBuilder;
// The LF-ring peak ratio of the last LF-ring generation, in percent; 1000 marks a failed generation.
extern std::atomic<int32_t> g_LFRingActualAmp;

int32_t ArbBuild_TaskRun();  // -1 in calibration mode (nothing done)

int32_t ArbBuild_GetType();
int32_t ArbBuild_SetType(int32_t type);
int32_t ArbBuild_GetArbNo();  // 1..253
int32_t ArbBuild_SetArbNo(int32_t n);
// Shape parameters: a setter stores a value only within its accepted range; both return the stored value.
int32_t ArbBuild_GetTriangle();
int32_t ArbBuild_SetTriangle(int32_t v);
int32_t ArbBuild_GetStairs();
int32_t ArbBuild_SetStairs(int32_t v);
int32_t ArbBuild_GetClip();
int32_t ArbBuild_SetClip(int32_t v);
int32_t ArbBuild_GetCf1();
int32_t ArbBuild_SetCf1(int32_t v);
int32_t ArbBuild_GetCf2();
int32_t ArbBuild_SetCf2(int32_t v);
int32_t ArbBuild_GetSdMode();
int32_t ArbBuild_SetSdMode(int32_t v);
int32_t ArbBuild_GetSdAcv();
int32_t ArbBuild_SetSdAcv(int32_t v);
int32_t ArbBuild_GetSdSite();
int32_t ArbBuild_SetSdSite(int32_t v);
int32_t ArbBuild_GetRippleTimes();
int32_t ArbBuild_SetRippleTimes(int32_t v);
int32_t ArbBuild_GetRippleVDC();
int32_t ArbBuild_SetRippleVDC(int32_t v);
int32_t ArbBuild_GetRippleLevel();
int32_t ArbBuild_SetRippleLevel(int32_t v);
int32_t ArbBuild_GetDIPStart();
int32_t ArbBuild_SetDIPStart(int32_t v);
int32_t ArbBuild_GetDIPSweep();
int32_t ArbBuild_SetDIPSweep(int32_t v);
int32_t ArbBuild_GetDIPEnd();
int32_t ArbBuild_SetDIPEnd(int32_t v);
int32_t ArbBuild_GetLFRingACV();
int32_t ArbBuild_SetLFRingACV(int32_t v);
int32_t ArbBuild_GetLFRingAmp();
int32_t ArbBuild_SetLFRingAmp(int32_t v);
int32_t ArbBuild_GetLFRingBaseFreq();
int32_t ArbBuild_SetLFRingBaseFreq(int32_t v);
int32_t ArbBuild_GetLFRingRingFreq();
int32_t ArbBuild_SetLFRingRingFreq(int32_t v);
int32_t ArbBuild_GetLFRingDecay();
int32_t ArbBuild_SetLFRingDecay(int32_t v);
int32_t ArbBuild_GetLFRingStart();
int32_t ArbBuild_SetLFRingStart(int32_t v);
int32_t ArbBuild_GetLFRingEnd();
int32_t ArbBuild_SetLFRingEnd(int32_t v);
int32_t ArbBuild_GetLFRingRing();
int32_t ArbBuild_SetLFRingRing(int32_t v);
int32_t ArbBuild_GetClipKeepRms();
int32_t ArbBuild_SetClipKeepRms(int32_t v);
// Ripple ACV = trunc(RippleLevel x RippleVDC x 0.1), stored and returned.
int32_t ArbBuild_CalcRippleAcv();
// The message the next store shows (0, 66 or 67): the apply operations set it before their store.
int32_t ArbBuild_SetMsg(int32_t id);

void ArbBuild_RequestPreview();
void ArbBuild_SetBuildPending();
int32_t ArbBuild_PreviewChanged();  // 1 while a published preview waits for the editor page
// Tests raise the preview flag through it without a build.
void ArbBuild_SetPreviewChanged();
void ArbBuild_ClearPreviewChanged();
const int16_t* ArbBuild_GetPreview();  // the published 340-point preview
// Draws the preview of the selected type into the preview buffer (live edit values while an edit state of
// the builder is current, the type being chosen while the type's is); the points drawn, 340 or 0.
int32_t ArbBuild_GeneratePreview();

// Copies byte count / 2 samples (at most one slot) into the target's slot and saves its ARB file: the
// samples copied; -1 for a missing source; the negative write result when the file could not be saved.
int32_t ArbBuild_Commit(int32_t byteCount, const void* source);
// Rebuilds with the current parameters and commits the result: the commit's result, or -1 when the task
// did not acknowledge the rebuild within kArbStoreWaitMs (nothing is committed then).
int32_t ArbBuild_Store();
// Store the wave and set the phase (or every phase of the wiring in edit-all mode) up to play it: 1 done,
// 0 refused while the output is on or when the peak does not fit, -1 when the store failed.
int32_t ArbBuild_ApplyRipple(int phase);
int32_t ArbBuild_ApplyLFRing(int phase);

namespace engine {
// The builder back to its power-on state, the task about to initialise (tests).
// Tests start each case from a clean state through it.
void ArbBuilderReset();
}  // namespace engine
