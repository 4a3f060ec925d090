#pragma once
// The texts of the alarm bits 0-21: for the phase alarm words (and their summary) and for the system
// alarm word, each with a service text (detailed-alarm switch on) and a user text.
#include <cstdint>

struct AlarmText {
    const char* service;
    const char* user;
};

constexpr uint32_t kAlarmBits = 22;
extern const AlarmText kPhaseAlarmTexts[kAlarmBits];
extern const AlarmText kSystemAlarmTexts[kAlarmBits];

// Names of the phase sets of the module and firmware error indexes 1-7.
extern const char* const kPhaseSetNames[8];
