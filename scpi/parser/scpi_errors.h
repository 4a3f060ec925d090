#pragma once
// The IEEE 488.2 error table. Handlers and the parser report an error by its index into this table;
// the error queries reply with its text.
#include <cstdint>

constexpr uint32_t kScpiErrCount = 138;
extern const char* const g_ScpiErrTable[kScpiErrCount];

// Indices the parser, the status model and the channels use by name.
enum ScpiErr : uint8_t {
    kScpiErrNone = 0,
    kScpiErrInvalidChar = 2,         // -101
    kScpiErrSyntax = 3,              // -102
    kScpiErrSeparator = 4,           // -103
    kScpiErrDataType = 5,            // -104
    kScpiErrParamNotAllowed = 7,     // -108
    kScpiErrMissingParam = 8,        // -109
    kScpiErrHeaderSeparator = 10,    // -111
    kScpiErrMnemonicTooLong = 11,    // -112
    kScpiErrUndefinedHeader = 12,    // -113
    kScpiErrSuffixOutOfRange = 13,   // -114
    kScpiErrParamCount = 14,         // -115
    kScpiErrNumericData = 15,        // -120
    kScpiErrInvalidInNumber = 16,    // -121
    kScpiErrExponentTooLarge = 17,   // -123
    kScpiErrTooManyDigits = 18,      // -124
    kScpiErrNumericNotAllowed = 19,  // -128
    kScpiErrInvalidSuffix = 21,      // -131
    kScpiErrSuffixTooLong = 22,      // -134
    kScpiErrCharDataTooLong = 26,    // -144
    kScpiErrCharNotAllowed = 27,     // -148
    kScpiErrInvalidString = 29,      // -151
    kScpiErrStringNotAllowed = 30,   // -158
    kScpiErrBlockData = 31,          // -160
    kScpiErrInvalidBlock = 32,       // -161
    kScpiErrBlockNotAllowed = 33,    // -168
    kScpiErrExprNotAllowed = 36,     // -178
    kScpiErrExecution = 41,          // -200
    kScpiErrProtected = 44,          // -203
    kScpiErrTriggerIgnored = 46,     // -211
    kScpiErrInitIgnored = 48,        // -213
    kScpiErrParameter = 51,          // -220
    kScpiErrSettingsConflict = 52,   // -221
    kScpiErrDataOutOfRange = 53,     // -222
    kScpiErrTooMuchData = 69,        // -223
    kScpiErrIllegalValue = 70,       // -224
    kScpiErrDataStale = 73,          // -230
    kScpiErrOutOfMemory = 107,       // -291
    kScpiErrNoSuchName = 108,        // -292
    kScpiErrSystem = 112,            // -310
    kScpiErrStorageFault = 118,      // -320
    kScpiErrQueueOverflow = 122,     // -350
    kScpiErrQueryInterrupted = 128,  // -410
    kScpiErrQueryUnterm = 129,       // -420
    kScpiErrNoSyncSignal = 136,      // -200 with its reason: the output-on of a synchronised output
    kScpiErrNoModelType = 137,       // -310 with its reason: a setting refused on a unit without a model type
};
