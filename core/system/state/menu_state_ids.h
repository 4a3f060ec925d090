#pragma once
// The front panel's states by name: the values of g_MenuState (core/system/state/edit_state.h). The numbers
// are the states themselves: they reach the key-handler table, stored power-on pages and the remote
// interfaces, so a name never changes its number. A MENU list row is its select state S; the editor it
// opens is S + 1 (the LAN quads: one editor per octet). The home page's setting fields 8-89 are named by
// the parameter they edit (enum ParamId, whose MENU-row ids are defined from the names below). The
// SEQUENCE (330-437) and SIMULATE (438-493) states have enums of their own below.
#include <cstdint>

enum MenuState : uint32_t {
    // The home page's dialogs.
    kMenuPhaseDialog = 3,             // the wiring choice ("Configure Phase will be")
    kMenuPhaseDialogCheck = 4,        // its YES/NO confirmation
    kMenuPresetPhaseDialog = 5,       // a recalled preset of another wiring: switch to it?
    kMenuPresetPhaseDialogCheck = 6,  // its YES/NO confirmation
    kMenuParallelRetry = 7,           // the parallel link's retry prompt

    kMenuSystemInfo = 94,
    kMenuMisc = 95,
    kMenuIpkHold = 96,
    kMenuIpkHoldEdit = 97,
    kMenuOutputPhase = 98,
    kMenuOutputPhaseEdit = 99,
    kMenuPhaseMode = 100,
    kMenuPhaseModeEdit = 101,
    kMenuIpkhClr = 102,
    kMenuIpkhClrEdit = 103,
    kMenuPowerOn = 104,
    kMenuPowerOnEdit = 105,
    kMenuBuzzer = 106,
    kMenuBuzzerEdit = 107,
    kMenuRemoteSense = 108,
    kMenuRemoteSenseEdit = 109,
    kMenuSlewRate = 110,
    kMenuSlewRateEdit = 111,
    kMenuOutputRelay = 112,
    kMenuOutputRelayEdit = 113,
    kMenuHarmMode = 114,
    kMenuHarmModeEdit = 115,
    kMenuExtControl = 116,
    kMenuExtControlEdit = 117,
    kMenuAcvUnit = 118,
    kMenuAcvUnitEdit = 119,
    kMenuSetChangePhase = 120,
    kMenuSetChangePhaseEdit = 121,
    kMenuMonitorSource1 = 122,
    kMenuMonitorSource1Edit = 123,
    kMenuMonitorSource2 = 124,
    kMenuMonitorSource2Edit = 125,
    kMenuMonitorAmp = 126,
    kMenuMonitorAmpEdit = 127,
    kMenuTriggerWidth = 128,
    kMenuTriggerWidthEdit = 129,
    kMenuTriggerSource = 130,
    kMenuTriggerSourceEdit = 131,
    kMenuRelock = 132,
    kMenuRelockEdit = 133,
    kMenuAvgCount = 134,
    kMenuAvgCountEdit = 135,
    kMenuUpdateRate = 136,
    kMenuUpdateRateEdit = 137,

    kMenuLan = 138,
    kMenuLanDhcp = 139,
    kMenuLanDhcpEdit = 140,
    kMenuLanIp = 141,
    kMenuLanIp1Edit = 142,
    kMenuLanIp2Edit = 143,
    kMenuLanIp3Edit = 144,
    kMenuLanIp4Edit = 145,
    kMenuLanMask = 146,
    kMenuLanMask1Edit = 147,
    kMenuLanMask2Edit = 148,
    kMenuLanMask3Edit = 149,
    kMenuLanMask4Edit = 150,
    kMenuLanGate = 151,
    kMenuLanGate1Edit = 152,
    kMenuLanGate2Edit = 153,
    kMenuLanGate3Edit = 154,
    kMenuLanGate4Edit = 155,
    kMenuLanDns = 156,
    kMenuLanDns1Edit = 157,
    kMenuLanDns2Edit = 158,
    kMenuLanDns3Edit = 159,
    kMenuLanDns4Edit = 160,
    kMenuLanSocket = 161,
    kMenuLanSocketEdit = 162,
    kMenuLanWebPassword = 163,
    kMenuLanWebPasswordEdit = 164,

    kMenuUsb = 165,
    kMenuUsbSpeed = 166,
    kMenuUsbSpeedEdit = 167,
    kMenuUsbMode = 168,
    kMenuUsbModeEdit = 169,

    kMenuRs232 = 170,
    kMenuRs232Baud = 171,
    kMenuRs232BaudEdit = 172,
    kMenuRs232DataBits = 173,
    kMenuRs232DataBitsEdit = 174,
    kMenuRs232Parity = 175,
    kMenuRs232ParityEdit = 176,
    kMenuRs232StopBits = 177,
    kMenuRs232StopBitsEdit = 178,

    kMenuOption = 179,  // the option interface; its GPIB row
    kMenuGpibAddress = 180,
    kMenuGpibAddressEdit = 181,
    kMenuCanopen = 182,
    kMenuCanopenBaud = 183,
    kMenuCanopenBaudEdit = 184,
    kMenuCanopenNode = 185,
    kMenuCanopenNodeEdit = 186,
    kMenuDevicenet = 187,
    kMenuDevicenetBaud = 188,
    kMenuDevicenetBaudEdit = 189,
    kMenuDevicenetMac = 190,
    kMenuDevicenetMacEdit = 191,

    kMenuImpedance = 192,
    kMenuImpedanceOn = 193,
    kMenuImpedanceOnEdit = 194,
    kMenuL1Inductance = 195,
    kMenuL1InductanceEdit = 196,
    kMenuL2Inductance = 197,
    kMenuL2InductanceEdit = 198,
    kMenuL3Inductance = 199,
    kMenuL3InductanceEdit = 200,
    kMenuL1Resistance = 201,
    kMenuL1ResistanceEdit = 202,
    kMenuL2Resistance = 203,
    kMenuL2ResistanceEdit = 204,
    kMenuL3Resistance = 205,
    kMenuL3ResistanceEdit = 206,

    kMenuParallel = 207,
    kMenuParallelPosition = 208,
    kMenuParallelPositionEdit = 209,
    kMenuParallelNumber = 210,
    kMenuParallelNumberEdit = 211,
    kMenuParallelEnable = 212,
    kMenuParallelEnableEdit = 213,

    kMenuArbEdit = 214,
    kMenuLcdContrast = 215,
    kMenuLcdContrastEdit = 216,
    kMenuLcdBrightness = 217,
    kMenuLcdBrightnessEdit = 218,
    kMenuLcdSaturation = 219,
    kMenuLcdSaturationEdit = 220,

    kMenuDefaultSetting = 221,
    kMenuDefaultSetEnter = 222,
    kMenuSpecialFunction = 223,
    kMenuPassword = 224,
    kMenuFirmType = 225,
    kMenuFirmTypeEdit = 226,
    kMenuModelType = 227,
    kMenuModelTypeEdit = 228,
    // The service switch rows, 229-255.
    kMenuServiceFirst = 229,
    kMenuServiceDetailAlarm = 229,
    kMenuServiceOcp = 230,
    kMenuServiceOtp = 231,
    kMenuServiceOcpp = 232,
    kMenuServiceVmeasComp = 233,
    kMenuServiceVoltSlew = 234,
    kMenuServiceFanSlew = 235,
    kMenuServiceFanDutyMax = 236,
    kMenuServiceFanDutyMin = 237,
    kMenuServiceVsetFreqComp = 238,
    kMenuServiceVersionDetail = 239,
    kMenuServiceAlarmMonitor = 240,
    kMenuServiceClearHwAlarm = 241,
    kMenuServiceOpp = 242,
    kMenuServiceOvp = 243,
    kMenuServiceCapComp = 244,
    kMenuServiceAvgCurrComp = 245,
    kMenuServiceKp = 246,
    kMenuServiceKi = 247,
    kMenuServiceThreePhase1P2W = 248,
    kMenuServiceTempShow = 249,
    kMenuServiceRdTestMode = 250,
    kMenuServiceRdDefine1 = 251,
    kMenuServiceRdDefine2 = 252,
    kMenuServiceRdDefine3 = 253,
    kMenuServiceRdDefine4 = 254,
    kMenuServiceRdDefine5 = 255,
    kMenuServiceLast = 255,
    // The service tuning editors, 256-266.
    kMenuTuneFirst = 256,
    kMenuTuneVoltSlew = 256,
    kMenuTuneFanSlew = 257,
    kMenuTuneFanDutyMax = 258,
    kMenuTuneFanDutyMin = 259,
    kMenuTuneKp = 260,
    kMenuTuneKi = 261,
    kMenuTuneRdDefine1 = 262,
    kMenuTuneRdDefine2 = 263,
    kMenuTuneRdDefine3 = 264,
    kMenuTuneRdDefine4 = 265,
    kMenuTuneRdDefine5 = 266,
    kMenuTuneLast = 266,
    // The firmware update rows, 267-270.
    kMenuUpdateFirst = 267,
    kMenuFwUpdateFirmware = 267,
    kMenuFwUpdateUboot = 268,
    kMenuFwUpdateKernel = 269,
    kMenuFwUpdateApplication = 270,
    kMenuUpdateLast = 270,
    // The service data rows, 272-283.
    kMenuDataFirst = 272,
    kMenuDataCalRw = 272,
    kMenuDataCalRecall = 273,
    kMenuDataCalSave = 274,
    kMenuDataCopyFlash = 275,
    kMenuDataUpdateFlash = 276,
    kMenuDataUpdateUboot = 277,
    kMenuDataUpdateKernel = 278,
    kMenuDataUpdateScreen = 279,
    kMenuDataUpdateMax10 = 280,
    kMenuDataUpdateZynq = 281,
    kMenuDataUpdateDsp = 282,
    kMenuDataUpdateWeb = 283,
    kMenuDataLast = 283,

    kMenuSaveRecall = 284,
    kMenuSavRecType = 285,
    kMenuSavRecTypeEdit = 286,
    kMenuSavRecAction = 287,
    kMenuSavRecActionEdit = 288,
    kMenuSavRecMemory = 289,
    kMenuSavRecMemoryEdit = 290,

    kMenuBarcodeFirst = 292,  // 12 barcode rows, each with its editor: 292-315
    kMenuBarcodeLast = 315,

    // The calibration page: the item list, the points of the voltage procedure (low range 100 V, high
    // range 200 V) and of the current procedure, and the default confirmation.
    kMenuCalibration = 316,
    kMenuCalVoltR100P0 = 317,
    kMenuCalVoltR100P1 = 318,
    kMenuCalVoltR100P2 = 319,
    kMenuCalVoltR200P0 = 320,
    kMenuCalVoltR200P1 = 321,
    kMenuCalVoltR200P2 = 322,
    kMenuCalCurrP0 = 323,
    kMenuCalCurrP1 = 324,
    kMenuCalCurrP2 = 325,
    kMenuCalCurrP3 = 326,
    kMenuCalCurrP4 = 327,
    kMenuCalCurrP5 = 328,
    kMenuCalDefaultConfirm = 329,

    // The SEQ/SIM page shown by the mode word, after the SEQUENCE and SIMULATE states.
    kMenuSelSequenceMode = 494,

    // The builder's 24 fields: each an editor and the field it leaves for.
    kMenuArbTriangleEdit = 495,
    kMenuArbTriangle = 496,
    kMenuArbStairsEdit = 497,
    kMenuArbStairs = 498,
    kMenuArbClipKeepRmsEdit = 499,
    kMenuArbClipKeepRms = 500,
    kMenuArbClipEdit = 501,
    kMenuArbClip = 502,
    kMenuArbCf1Edit = 503,
    kMenuArbCf1 = 504,
    kMenuArbCf2Edit = 505,
    kMenuArbCf2 = 506,
    kMenuArbSdSiteEdit = 507,
    kMenuArbSdSite = 508,
    kMenuArbSdAcvEdit = 509,
    kMenuArbSdAcv = 510,
    kMenuArbSdModeEdit = 511,
    kMenuArbSdMode = 512,
    kMenuArbRippleLevelEdit = 513,
    kMenuArbRippleLevel = 514,
    kMenuArbRippleVdcEdit = 515,
    kMenuArbRippleVdc = 516,
    kMenuArbRippleTimesEdit = 517,
    kMenuArbRippleTimes = 518,
    kMenuArbDipStartEdit = 519,
    kMenuArbDipStart = 520,
    kMenuArbDipSweepEdit = 521,
    kMenuArbDipSweep = 522,
    kMenuArbDipEndEdit = 523,
    kMenuArbDipEnd = 524,
    kMenuArbLfRingAcvEdit = 525,
    kMenuArbLfRingAcv = 526,
    kMenuArbLfRingAmpEdit = 527,
    kMenuArbLfRingAmp = 528,
    kMenuArbLfRingBaseFreqEdit = 529,
    kMenuArbLfRingBaseFreq = 530,
    kMenuArbLfRingRingFreqEdit = 531,
    kMenuArbLfRingRingFreq = 532,
    kMenuArbLfRingDecayEdit = 533,
    kMenuArbLfRingDecay = 534,
    kMenuArbLfRingStartEdit = 535,
    kMenuArbLfRingStart = 536,
    kMenuArbLfRingEndEdit = 537,
    kMenuArbLfRingEnd = 538,
    kMenuArbLfRingRingEdit = 539,
    kMenuArbLfRingRing = 540,
    kMenuArbArbNoEdit = 541,
    kMenuArbArbNo = 542,
    kMenuArbTypeEdit = 543,
    kMenuArbType = 544,
};

// The SEQUENCE menu states. A field of one phase has a selection state; its edit state follows it by 3
// for the per-phase triples (L1, L2, L3 at base, base + 1, base + 2) and by 1 for a single field.
enum SeqMenuState : uint32_t {
    kMenuSeqOutputPhase = 330,
    kMenuSeqOutputPhaseCheck = 331,
    kMenuSeqRange = 332,
    kMenuSeqSetStepIndex = 333,
    kMenuSeqEditStepIndex = 334,
    kMenuSeqSetTimeStep = 335,
    kMenuSeqEditTimeStep = 336,
    kMenuSeqSetOnPhase = 337,
    kMenuSeqEditOnPhase = 340,
    kMenuSeqEnOnPhase = 343,
    kMenuSeqEditEnOnPhase = 346,
    kMenuSeqSetOffPhase = 349,
    kMenuSeqEditOffPhase = 352,
    kMenuSeqEnOffPhase = 355,
    kMenuSeqEditEnOffPhase = 358,
    kMenuSeqSetStepterm = 361,
    kMenuSeqEditStepterm = 362,
    kMenuSeqSetJumpto = 363,
    kMenuSeqEditJumpto = 364,
    kMenuSeqEnJumpto = 365,
    kMenuSeqEditEnJumpto = 366,
    kMenuSeqSetJumpCnt = 367,
    kMenuSeqEditJumpCnt = 368,
    kMenuSeqSetSyncCode = 369,
    kMenuSeqEditSyncCode = 370,
    kMenuSeqSetBranch1 = 371,
    kMenuSeqEditBranch1 = 372,
    kMenuSeqEnBranch1 = 373,
    kMenuSeqEditEnBranch1 = 374,
    kMenuSeqSetBranch2 = 375,
    kMenuSeqEditBranch2 = 376,
    kMenuSeqEnBranch2 = 377,
    kMenuSeqEditEnBranch2 = 378,
    kMenuSeqSetTriggerOut = 379,
    kMenuSeqEditTriggerOut = 380,
    kMenuSeqSetFset = 381,
    kMenuSeqEditFset = 384,
    kMenuSeqSetFsetType = 387,
    kMenuSeqEditFsetType = 390,
    kMenuSeqSetACV = 393,
    kMenuSeqEditACV = 396,
    kMenuSeqSetACVType = 399,
    kMenuSeqEditACVType = 402,
    kMenuSeqSetDCV = 405,
    kMenuSeqEditDCV = 408,
    kMenuSeqSetDCVType = 411,
    kMenuSeqEditDCVType = 414,
    kMenuSeqBalanceL2 = 417,
    kMenuSeqEditBalanceL2 = 418,
    kMenuSeqBalanceL3 = 419,
    kMenuSeqEditBalanceL3 = 420,
    kMenuSeqSetWave = 421,
    kMenuSeqEditWave = 424,
    kMenuSeqSetDuty = 427,
    kMenuSeqEditDuty = 430,
    kMenuSeqSaveMemory = 433,
    kMenuSeqRecallMemory = 434,
    kMenuSeqPreview = 435,
    kMenuSeqPreviewRUN = 436,
    kMenuSeqPreviewRUNEdit = 437,
};

// The menu states of the SIMULATE screen: one selection state per field (and per phase of the per-phase
// fields), one edit state per selection state, the memory lists and the wiring dialogs. The per-phase
// fields are triples: L1, L2, L3 in consecutive states.
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

// The calibration page's states, from its item list to the default confirmation; a new point goes into
// its procedure's run of states, and these are the only places that name a run's ends.
constexpr bool IsCalibrationState(uint32_t state) {
    return state >= kMenuCalibration && state <= kMenuCalDefaultConfirm;
}
constexpr bool IsCalVoltPointState(uint32_t state) {
    return state >= kMenuCalVoltR100P0 && state <= kMenuCalVoltR200P2;
}
constexpr bool IsCalCurrPointState(uint32_t state) {
    return state >= kMenuCalCurrP0 && state <= kMenuCalCurrP5;
}
constexpr bool IsCalPointState(uint32_t state) {
    return IsCalVoltPointState(state) || IsCalCurrPointState(state);
}

// The state n steps after a run's first (a service, data, update, barcode or builder row).
constexpr MenuState MenuStateAt(MenuState first, uint32_t n) {
    return static_cast<MenuState>(static_cast<uint32_t>(first) + n);
}
