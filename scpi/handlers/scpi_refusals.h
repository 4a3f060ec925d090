#pragma once
// Checks handlers run before they touch a setting, the bus trigger, the block header reader and the
// brand codes of the manufacturer command.
#include <cstdint>

struct ScpiInterface;

// 1 when setting `id` has no meaning in the present output mode (or SEQ/SIM is active), else 0.
int ParamUnusedInMode(uint32_t id);
int IsPhaseMode1P2W();
// 1 when the selected line does not exist in the wiring (3P4W above L3, 1P2W above L1, 1P3W from L3).
int PhaseAccessInvalid();
// 1 when the selected line has no line-to-line value (3P4W above L3, 1P2W always, 1P3W from L2).
int LineAccessInvalid();
// 1 on a parallel slave: the master owns the settings.
int RemoteSettingBlocked();
// The error row of a refusal by RemoteSettingBlocked. A unit without a model type has no parallel position
// of its own and is refused as a slave is: its error says so, where a slave's is the plain system error.
uint32_t RemoteBlockedRow();

// Fires the selected trigger action by software. A refusal ("-211") goes straight into the error queue
// when push is 1 (a group-execute trigger has no command to carry it), else to the command's error.
// Returns the error row, 0 when the trigger ran.
int scpiBusTrigger(ScpiInterface* ifc, int push);

struct ScpiBlockHeader {
    uint32_t digits;      // n of "#n"
    uint32_t length;      // the declared data length
    const uint8_t* data;  // the first data byte
};
// "#<n><length>" with n 1-9 and n decimal digits, whose data fits the `size` bytes given: 0 and the
// header; anything else -1.
int scpiParseBlockHeader(const uint8_t* data, uint32_t size, ScpiBlockHeader* out);

// The brand row 0-2 whose code ("QX", "TULVE", "PELMA") equals text ignoring case, else -1.
int BrandCodeLookup(const char* text);
