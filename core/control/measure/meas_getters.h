#pragma once
// The measured values as numbers and as display texts: one getter per quantity. The per-phase getters read
// the display copy (g_DispCache), the totals the live record 0.
//
// Display getters: (out text of kNumberTextSize characters, out unit text, phase 0-2, mode) -> value. Mode 0
// text with the short unit, 1 with the long unit where there is one, 2 the value only (texts untouched).
// The power getters take base: 1 returns W, VA or var even when the text is in kilo units. A phase outside
// 0-2 reads 0 and leaves the texts untouched.
#include <atomic>

float MeasGetVrms(char* text, const char** unit, int phase, int mode);
float MeasGetVavg(char* text, const char** unit, int phase, int mode);
float MeasGetVmax(char* text, const char** unit, int phase, int mode);
float MeasGetVmin(char* text, const char** unit, int phase, int mode);
float MeasGetVpkHold(char* text, const char** unit, int phase, int mode);
float MeasGetIrms(char* text, const char** unit, int phase, int mode);
float MeasGetIavg(char* text, const char** unit, int phase, int mode);
float MeasGetImax(char* text, const char** unit, int phase, int mode);
float MeasGetImin(char* text, const char** unit, int phase, int mode);
float MeasGetIpkHold(char* text, const char** unit, int phase, int mode);
float MeasGetPower(char* text, const char** unit, int phase, int mode, int base);
float MeasGetApparent(char* text, const char** unit, int phase, int mode, int base);
float MeasGetReactive(char* text, const char** unit, int phase, int mode, int base);
float MeasGetPF(char* text, const char** unit, int phase, int mode);
float MeasGetCF(char* text, const char** unit, int phase, int mode);
float MeasGetFreq(char* text, const char** unit, int phase, int mode);
float MeasGetThdV(char* text, const char** unit, int phase, int mode);
float MeasGetThdI(char* text, const char** unit, int phase, int mode);
// Line-to-line: phase 0 L1-L2, 1 L2-L3, 2 L3-L1.
float MeasGetVllRms(char* text, const char** unit, int phase, int mode);
float MeasGetVllAvg(char* text, const char** unit, int phase, int mode);
float MeasGetVllMax(char* text, const char** unit, int phase, int mode);
float MeasGetVllMin(char* text, const char** unit, int phase, int mode);

// Degrees Celsius of the phase's power module: the auxiliary word of its measurement record (register
// 2226 + phase), from the display copy; 0 for a phase outside 0-2.
float MeasGetTemperature(int phase);

// Value-only getters (the texts are not used). The AC parts never read below 0, also when the average
// exceeds the rms.
float MeasGetVac(char*, const char**, int phase, int mode);
float MeasGetIac(char*, const char**, int phase, int mode);
float MeasGetVrmsTotal(char*, const char**, int phase, int mode);
float MeasGetIrmsTotal(char*, const char**, int phase, int mode);
float MeasGetPowerTotal(char*, const char**, int phase, int mode);
float MeasValPowerTotal(char*, const char**, int phase, int mode);
float MeasGetPFTotal(char*, const char**, int phase, int mode);
float MeasGetApparentTotal(char*, const char**, int phase, int mode);
float MeasValApparentTotal(char*, const char**, int phase, int mode);
float MeasGetReactiveTotal(char*, const char**, int phase, int mode);
float MeasValReactiveTotal(char*, const char**, int phase, int mode);

// Decimals for a value: fewer as the magnitude grows (modes 0 and 1; other modes give the default).
int MeasDecimals(int mode, int defaultDecimals, float value);

// The last value each quantity's getter returned.
enum MeasQuantity : int {
    kMqVrms,
    kMqVavg,
    kMqVmax,
    kMqVmin,
    kMqVpkHold,
    kMqIrms,
    kMqIavg,
    kMqImax,
    kMqImin,
    kMqIpkHold,
    kMqPower,
    kMqApparent,
    kMqReactive,
    kMqPF,
    kMqCF,
    kMqAux,
    kMqFreq,
    kMqThdV,
    kMqThdI,
    kMqVllRms,
    kMqVllAvg,
    kMqVllMax,
    kMqVllMin,
    kMqTotals,
    kMqCount = kMqTotals + 6
};
extern std::atomic<float> g_MeasValCache[kMqCount];
