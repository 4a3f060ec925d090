#pragma once
// The menu states of the SIMULATE screen: one selection state per field (and per phase of the per-phase
// fields), one edit state per selection state, the memory lists and the wiring dialogs. The per-phase
// fields are triples: L1, L2, L3 in consecutive states.
#include <cstdint>

enum SimMenuState : uint32_t {
    kSimSelSyncCode = 440,
    kSimSelOffpha = 441,    // 441-443
    kSimSelOnpha = 444,     // 444-446
    kSimSelEnOffpha = 447,  // 447-449
    kSimSelEnOnpha = 450,   // 450-452
    kSimSelEnRepeat = 453,
    kSimSelRepeat = 454,
    kSimSelWave = 455,
    kSimSelFreq = 456,  // 456-458
    kSimSelAcv = 459,   // 459-461
    kSimSelTime = 462,
    kSimSelStep = 463,
    kSimSelBalanceL2 = 464,
    kSimEditBalanceL2 = 465,
    kSimSelBalanceL3 = 466,
    kSimEditBalanceL3 = 467,
    kSimEditSyncCode = 468,
    kSimEditOffpha = 469,    // 469-471
    kSimEditOnpha = 472,     // 472-474
    kSimEditEnOffpha = 475,  // 475-477
    kSimEditEnOnpha = 478,   // 478-480
    kSimEditEnRepeat = 481,
    kSimEditRepeat = 482,
    kSimEditWave = 483,
    kSimEditFreq = 484,  // 484-486
    kSimEditAcv = 487,   // 487-489
    kSimEditTime = 490,
    kSimEditStep = 491,
    kSimSaveList = 492,
    kSimRecallList = 493,
    kSimPhaseDialog = 438,       // "Configure Phase will be" / "switch to %s"
    kSimPhaseDialogCheck = 439,  // its YES/NO confirmation
};
