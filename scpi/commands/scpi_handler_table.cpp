// The handler tables of both command sets: one row per command id, row index = id, filled by command
// name. An alternate-set id runs the handler of the main-set command it stands for.
#include "scpi/commands/scpi_handler_table.h"

#include <array>
#include <utility>

#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/commands/scpi_cmds_alt_first.h"
#include "scpi/commands/scpi_cmds_alt_second.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/seqsim_tables_hold.h"

namespace scpi {
namespace {

// The rows whose set form changes the page or reconfigures the output: refused while a calibration is in
// progress (scpi::RunSetHandler).
constexpr ScpiSetReach kPageOrOutput = ScpiSetReach::kPageOrOutput;
// The rows whose set form writes only the channel's status registers: nothing the stage plays, so an
// *OPC? after them has nothing to wait for.
constexpr ScpiSetReach kStatus = ScpiSetReach::kStatus;

constexpr ScpiHandlerRow kMainEntries[] = {
    {kCmdCal, CmdCal},
    {kCmdCls, CmdCls},
    {kCmdEse, CmdEse, kStatus},
    {kCmdEsr, CmdEsr},
    {kCmdIdn, CmdIdn},
    {kCmdOpc, CmdOpc, kStatus},
    {kCmdRcl, CmdRcl, kPageOrOutput},
    {kCmdRst, CmdRst, kPageOrOutput},
    {kCmdSav, CmdSav},
    {kCmdSre, CmdSre, kStatus},
    {kCmdStb, CmdStb},
    {kCmdTrg, CmdTrg, kPageOrOutput},
    {kCmdTst, CmdTst},
    {kCmdWai, CmdWai},
    {kCmdAbor, CmdAbor},
    {kCmdCalConfMode, CmdCalConfMode},
    {kCmdCalVoltAvg, CmdCalVoltAvg},
    {kCmdCalVolt, CmdCalVolt},
    {kCmdCalCurrAvg, CmdCalCurrAvg},
    {kCmdCalCurr, CmdCalCurr},
    {kCmdInitImmName, CmdInitName, kPageOrOutput},
    {kCmdMemSav, CmdSav},
    {kCmdMemRcl, CmdRcl, kPageOrOutput},
    {kCmdMemTrig, CmdMemTrig},
    {kCmdOutpStatTrig, CmdOutpTrig},
    {kCmdOutpStat, CmdOutpStat},
    {kCmdOutpImp, CmdOutpImp},
    {kCmdOutpImpInd, CmdOutpImpInd},
    {kCmdOutpImpRes, CmdOutpImpRes},
    {kCmdOutpMonAmpl, CmdOutpMonAmpl},
    {kCmdOutpMonSour, CmdOutpMonSour},
    {kCmdOutpPon, CmdOutpPon},
    {kCmdOutpProtCle, CmdOutpProtCle},
    {kCmdOutpRel, CmdOutpRel},
    {kCmdParPos, CmdParPos},
    {kCmdParNumb, CmdParNumb},
    {kCmdParEnab, CmdParEnab},
    // [SOURce:]SIMulation: the state fields and the run status.
    {kCmdSourSimCond, HoldingSeqSimTables<CmdSourSim<kCmdSourSimCond>>},
    {kCmdSourSimAbnCode, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnCode>>},
    {kCmdSourSimAbnFreq, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnFreq>>},
    {kCmdSourSimAbnPhasStarEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnPhasStarEnab>>},
    {kCmdSourSimAbnPhasStarImm, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnPhasStarImm>>},
    {kCmdSourSimAbnPhasStopEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnPhasStopEnab>>},
    {kCmdSourSimAbnPhasStopImm, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnPhasStopImm>>},
    {kCmdSourSimAbnTime, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnTime>>},
    {kCmdSourSimAbnVolt, HoldingSeqSimTables<CmdSourSim<kCmdSourSimAbnVolt>>},
    {kCmdSourSimCst, HoldingSeqSimTables<CmdSourSim<kCmdSourSimCst>>},
    {kCmdSourSimCtim, HoldingSeqSimTables<CmdSourSim<kCmdSourSimCtim>>},
    {kCmdSourSimCrepCoun, HoldingSeqSimTables<CmdSourSim<kCmdSourSimCrepCoun>>},
    {kCmdSourSimInitCode, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitCode>>},
    {kCmdSourSimInitFreq, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitFreq>>},
    {kCmdSourSimInitPhasStarEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitPhasStarEnab>>},
    {kCmdSourSimInitPhasStarImm, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitPhasStarImm>>},
    {kCmdSourSimInitPhasStopEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitPhasStopEnab>>},
    {kCmdSourSimInitPhasStopImm, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitPhasStopImm>>},
    {kCmdSourSimInitVolt, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInitVolt>>},
    {kCmdSourSimInstSel, HoldingSeqSimTables<CmdSourSim<kCmdSourSimInstSel>>},
    {kCmdSourSimNormCode, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormCode>>},
    {kCmdSourSimNormFreq, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormFreq>>},
    {kCmdSourSimNormPhasStarEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormPhasStarEnab>>},
    {kCmdSourSimNormPhasStarImm, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormPhasStarImm>>},
    {kCmdSourSimNormPhasStopEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormPhasStopEnab>>},
    {kCmdSourSimNormPhasStopImm, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormPhasStopImm>>},
    {kCmdSourSimNormTime, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormTime>>},
    {kCmdSourSimNormVolt, HoldingSeqSimTables<CmdSourSim<kCmdSourSimNormVolt>>},
    {kCmdSourSimRepCoun, HoldingSeqSimTables<CmdSourSim<kCmdSourSimRepCoun>>},
    {kCmdSourSimRepEnab, HoldingSeqSimTables<CmdSourSim<kCmdSourSimRepEnab>>},
    {kCmdSourSimTranCode, HoldingSeqSimTables<CmdSourSim<kCmdSourSimTranCode>>},
    {kCmdSourSimTranTime, HoldingSeqSimTables<CmdSourSim<kCmdSourSimTranTime>>},
    {kCmdDispWindDesMode, CmdDispDesMode, kPageOrOutput},
    {kCmdDispWindMeasSour, CmdDispMeasSour},
    {kCmdEthDhcp, CmdEthDhcp},
    {kCmdInpGain, CmdInpGain},
    {kCmdInpSour, CmdInpSour},
    {kCmdInpSyncSour, CmdInpSyncSour},
    {kCmdInstEdit, CmdInstEdit},
    {kCmdInstSel, CmdInstSel},
    // Measurement settings and READ?; the current-harmonic enable is not built in any form.
    {kCmdMeasAverCoun, CmdMeasAverCoun},
    {kCmdMeasConfSens, CmdMeasConfSens},
    {kCmdMeasScalPeakCle, CmdMeasPeakCle},
    {kCmdMeasScalCurrHarmEnab, CmdUndefined},
    {kCmdMeasUpdRate, CmdMeasUpdRate},
    {kCmdSourRead, CmdSourRead},
    {kCmdStatLockCond, CmdStat<kCmdStatLockCond>, kStatus},
    {kCmdStatLockEnab, CmdStat<kCmdStatLockEnab>, kStatus},
    {kCmdStatLockNtr, CmdStat<kCmdStatLockNtr>, kStatus},
    {kCmdStatLockPtr, CmdStat<kCmdStatLockPtr>, kStatus},
    {kCmdStatLockEven, CmdStat<kCmdStatLockEven>, kStatus},
    {kCmdStatOperCond, CmdStat<kCmdStatOperCond>, kStatus},
    {kCmdStatOperEnab, CmdStat<kCmdStatOperEnab>, kStatus},
    {kCmdStatOperNtr, CmdStat<kCmdStatOperNtr>, kStatus},
    {kCmdStatOperPtr, CmdStat<kCmdStatOperPtr>, kStatus},
    {kCmdStatOperEven, CmdStat<kCmdStatOperEven>, kStatus},
    {kCmdStatPres, CmdStatPres, kStatus},
    {kCmdStatQuesCond, CmdStat<kCmdStatQuesCond>, kStatus},
    {kCmdStatQuesEnab, CmdStat<kCmdStatQuesEnab>, kStatus},
    {kCmdStatQuesNtr, CmdStat<kCmdStatQuesNtr>, kStatus},
    {kCmdStatQuesPtr, CmdStat<kCmdStatQuesPtr>, kStatus},
    {kCmdStatQuesEven, CmdStat<kCmdStatQuesEven>, kStatus},
    {kCmdStatWarnCond, CmdStat<kCmdStatWarnCond>, kStatus},
    {kCmdStatWarnEnab, CmdStat<kCmdStatWarnEnab>, kStatus},
    {kCmdStatWarnNtr, CmdStat<kCmdStatWarnNtr>, kStatus},
    {kCmdStatWarnPtr, CmdStat<kCmdStatWarnPtr>, kStatus},
    {kCmdStatWarnEven, CmdStat<kCmdStatWarnEven>, kStatus},
    {kCmdSourFreqImm, CmdSourFreq},
    {kCmdSourVoltLevImmAmpl, CmdSourVolt},
    {kCmdSourCurrLimPeakHigh, CmdSourGeneric<kCmdSourCurrLimPeakHigh>},
    {kCmdSourCurrLimPeakLow, CmdSourGeneric<kCmdSourCurrLimPeakLow>},
    {kCmdSourCurrLimRmsAmpl, CmdSourGeneric<kCmdSourCurrLimRmsAmpl>},
    {kCmdSourFreqLimHigh, CmdSourGeneric<kCmdSourFreqLimHigh>},
    {kCmdSourFreqLimLow, CmdSourGeneric<kCmdSourFreqLimLow>},
    {kCmdSourLineVoltLevImmAmpl, CmdSourGeneric<kCmdSourLineVoltLevImmAmpl>},
    {kCmdSourLineVoltLevImmOffs, CmdSourGeneric<kCmdSourLineVoltLevImmOffs>},
    {kCmdSourPhasStarImm, CmdSourGeneric<kCmdSourPhasStarImm>},
    {kCmdSourPhasStopImm, CmdSourGeneric<kCmdSourPhasStopImm>},
    {kCmdSourSquDcyc, CmdSourGeneric<kCmdSourSquDcyc>},
    {kCmdSourVoltLimHigh, CmdSourGeneric<kCmdSourVoltLimHigh>},
    {kCmdSourVoltLimLow, CmdSourGeneric<kCmdSourVoltLimLow>},
    {kCmdSourVoltLevImmOffs, CmdSourGeneric<kCmdSourVoltLevImmOffs>},
    {kCmdSourCurrLimPeakMode, CmdSourChoice<kCmdSourCurrLimPeakMode>},
    {kCmdSourCurrLimRmsMode, CmdSourChoice<kCmdSourCurrLimRmsMode>},
    {kCmdSourFuncThdForm, CmdSourChoice<kCmdSourFuncThdForm>},
    {kCmdSourPhasBal, CmdSourChoice<kCmdSourPhasBal>},
    {kCmdSourPhasMode, CmdSourChoice<kCmdSourPhasMode>},
    {kCmdSourPhasRel, CmdSourChoice<kCmdSourPhasRel>},
    {kCmdSourPhasSetcStat, CmdSourChoice<kCmdSourPhasSetcStat>},
    {kCmdSourPhasStarStat, CmdSourChoice<kCmdSourPhasStarStat>},
    {kCmdSourPhasStopStat, CmdSourChoice<kCmdSourPhasStopStat>},
    {kCmdSourVoltResp, CmdSourChoice<kCmdSourVoltResp>},
    {kCmdSourFuncShapImm, CmdSourFunc},
    {kCmdSourPhasPhas, CmdSourPhasPhas},
    {kCmdSourPhasSyncImm, CmdSourPhasSync},
    {kCmdSourVoltLimPeak, CmdSourVoltLimPeak},
    {kCmdSourVoltLimRms, CmdSourVoltLimRms},
    {kCmdSourVoltRang, CmdSourVoltRang, kPageOrOutput},
    {kCmdSourMode, CmdSourMode, kPageOrOutput},
    {kCmdSystCommLanDhcp, CmdSystCommLanDhcp},
    {kCmdSystCommLanDns, CmdSystCommLanDns},
    {kCmdSystCommLanGat, CmdSystCommLanGat},
    {kCmdSystCommLanHost, CmdUndefined},
    {kCmdSystCommLanIpad, CmdSystCommLanIpad},
    {kCmdSystCommLanMac, CmdSystCommLanMac},
    {kCmdSystCommLanSmas, CmdSystCommLanSmas},
    {kCmdSystCommLanWebPact, CmdSystCommLanWebPact},
    {kCmdSystCommLanWebPass, CmdSystCommLanWebPass},
    {kCmdSystCommRlst, CmdSystCommRlst},
    {kCmdSystCommSerRecTranBaud, CmdSystCommSerBaud},
    {kCmdSystCommSerRecTranBits, CmdSystCommSerBits},
    {kCmdSystCommSerRecTranPar, CmdSystCommSerPar},
    {kCmdSystCommSerRecTranSbit, CmdSystCommSerSbit},
    {kCmdSystCommTcpCont, CmdSystCommTcpCont},
    {kCmdSystCommUsbFronStat, CmdSystCommUsbFronStat},
    {kCmdSystCommUsbRearMode, CmdSystCommUsbRearMode},
    {kCmdSystCommUsbRearStat, CmdSystCommUsbRearStat},
    {kCmdSystConfExtStat, CmdSystConfExt},
    {kCmdSystConfPhas, CmdSystConfPhas, kPageOrOutput},
    {kCmdSystConfMode, CmdSystConfMode, kPageOrOutput},
    {kCmdSystConfTrigOutpSour, CmdSystConfTrigOutpSour},
    {kCmdSystConfTrigOutpWidt, CmdSystConfTrigOutpWidt},
    {kCmdSystErrEnab, CmdSystErrEnab, kStatus},
    {kCmdSystErr, CmdSystErr},
    {kCmdSystKloc, CmdSystKloc},
    {kCmdSystPass, CmdSystPass},
    {kCmdSystPkhTime, CmdSystPkhTime},
    {kCmdSystReb, CmdSystReb},
    {kCmdSystScpiData, CmdSystScpiData},
    {kCmdSystInf, CmdSystInf},
    {kCmdSystHoldStat, CmdSystHoldStat},
    {kCmdSystWrel, CmdSystWrel},
    {kCmdSystBarcMem, CmdSystBarcMem},
    {kCmdSystBeepStat, CmdSystBeepStat},
    {kCmdSystCommEnab, CmdSystCommEnab},
    {kCmdSystCommGpibSelfAddr, CmdSystCommGpibAddr},
    {kCmdSystCommIntAddr, CmdSystCommIntAddr},
    {kCmdSystCommIntBaud, CmdSystCommIntBaud},
    // The AC voltage unit and the factory's ZCALib commands.
    {kCmdSystAcvUnit, CmdSystAcvUnit},
    {kCmdSystVun, CmdSystAcvUnit},
    {kCmdZcalApas, CmdZcalApas},
    {kCmdZcalMac, CmdZcalMac},
    {kCmdZcalMfrs, CmdZcalMfrs},
    {kCmdZcalMfrsQx, CmdZcalMfrsQx},
    {kCmdZcalMtyp, CmdZcalMtyp, kPageOrOutput},
    {kCmdZcalProg, CmdZcalProg},
    // SEQuence remote editing and status; TRIGger sources, software triggers and SEQ/SIM run control.
    {kCmdSourSeqCond, HoldingSeqSimTables<CmdSeqCond>},
    {kCmdSourSeqCpar, HoldingSeqSimTables<CmdSeqCpar>},
    {kCmdSourSeqCst, HoldingSeqSimTables<CmdSeqCst>},
    {kCmdSourSeqCtim, HoldingSeqSimTables<CmdSeqCtim>},
    {kCmdSourSeqCjumCnt, HoldingSeqSimTables<CmdSeqCjumCnt>},
    {kCmdSourSeqInstSel, HoldingSeqSimTables<CmdSeqInstSel>},
    {kCmdSourSeqNsp, HoldingSeqSimTables<CmdSeqNsp>},
    {kCmdSourSeqSpar, HoldingSeqSimTables<CmdSeqSpar>},
    {kCmdSourSeqStep, HoldingSeqSimTables<CmdSeqStep>},
    {kCmdTrigOutpSour, CmdTrigOutpSour},
    {kCmdTrigOutpImm, CmdTrigOutpImm},
    {kCmdTrigMemSour, CmdTrigMemSour},
    {kCmdTrigMemImm, CmdTrigMemImm, kPageOrOutput},
    {kCmdTrigSeqSelExec, CmdTrigSeqSelExec},
    {kCmdTrigSimSelExec, CmdTrigSimSelExec},
    {kCmdTrigTranSour, CmdTrigTranSour},
    {kCmdTrigTranImm, CmdTrigTranImm},
    // DATA memory management, its TRACe aliases and the waveform builder; WAVE:NAME is built in no form.
    {kCmdDataSeqCle, CmdDataSeqCle},
    {kCmdDataSeqName, CmdDataSeqName},
    {kCmdDataSeqRec, CmdDataSeqRec},
    {kCmdDataSeqStor, CmdDataSeqStor},
    {kCmdDataSimCle, CmdDataSimCle},
    {kCmdDataSimName, CmdDataSimName},
    {kCmdDataSimRec, CmdDataSimRec},
    {kCmdDataSimStor, CmdDataSimStor},
    {kCmdDataPresCle, CmdDataPresCle},
    {kCmdDataWaveCle, CmdDataWaveCle},
    {kCmdDataWaveName, CmdUndefined},
    {kCmdDataWavCle, CmdDataWaveCle},
    {kCmdTracSeqCle, CmdDataSeqCle},
    {kCmdTracSeqName, CmdDataSeqName},
    {kCmdTracSeqRec, CmdDataSeqRec},
    {kCmdTracSeqStor, CmdDataSeqStor},
    {kCmdTracSimCle, CmdDataSimCle},
    {kCmdTracSimName, CmdDataSimName},
    {kCmdTracSimRec, CmdDataSimRec},
    {kCmdTracSimStor, CmdDataSimStor},
    {kCmdTracPresCle, CmdDataPresCle},
    {kCmdTracWaveCle, CmdDataWaveCle},
    {kCmdTracWaveName, CmdUndefined},
    {kCmdTracWavCle, CmdDataWaveCle},
    {kCmdSystArbEditBuil, CmdSystArbEditBuil},
    {kCmdSystArbEditCfac, CmdSystArbEditCfac},
    {kCmdSystArbEditClip, CmdSystArbEditClip},
    {kCmdSystArbEditDip, CmdSystArbEditDip},
    {kCmdSystArbEditLfr, CmdSystArbEditLfr},
    {kCmdSystArbEditRipp, CmdSystArbEditRipp},
    {kCmdSystArbEditSta, CmdSystArbEditSta},
    {kCmdSystArbEditStor, CmdSystArbEditStor},
    {kCmdSystArbEditStorAppl, CmdSystArbEditStorAppl},
    {kCmdSystArbEditSurg, CmdSystArbEditSurg},
    {kCmdSystArbEditTri, CmdSystArbEditTri},
    // Memory data transfer and the TRACe keywords that run the same handlers.
    {kCmdDataArbFile, CmdDataArbFile},
    {kCmdDataSeqData, CmdDataSeqData},
    {kCmdDataSeqDataPres, HoldingSeqSimTables<CmdDataSeqPres>},
    {kCmdDataSeqFile, CmdDataSeqData},
    {kCmdDataSimData, CmdDataSimData},
    {kCmdDataSimDataPres, HoldingSeqSimTables<CmdDataSimPres>},
    {kCmdDataSimFile, CmdDataSimData},
    {kCmdDataPresData, CmdDataPresData},
    {kCmdDataPresFile, CmdDataPresFile},
    {kCmdDataWaveData, CmdDataWaveData},
    {kCmdDataWavData, CmdDataWaveData},
    {kCmdMemDataSeq, CmdDataSeqData},
    {kCmdMemDataSim, CmdDataSimData},
    {kCmdMemDataPres, CmdDataPresData},
    {kCmdTracArbFile, CmdDataArbFile},
    {kCmdTracData, CmdDataWaveData},
    {kCmdTracSeqData, CmdDataSeqData},
    {kCmdTracSeqFile, CmdDataSeqData},
    {kCmdTracSimData, CmdDataSimData},
    {kCmdTracSimFile, CmdDataSimData},
    {kCmdTracPresData, CmdDataPresData},
    {kCmdTracPresFile, CmdDataPresFile},
    {kCmdTracWaveData, CmdDataWaveData},
    {kCmdTracWavData, CmdDataWaveData},
};

using MainTable = std::array<ScpiHandlerRow, kMainCmdCount + 1>;

// The measurement queries run by quantity: FETCh 47-73, MEASure 87-99 and 101-114 (100 clears the
// peaks), and the harmonic lists FETCh 74-77 and MEASure 116-119.
template <size_t... Q>
constexpr void FillMeasurement(MainTable& table, std::index_sequence<Q...>) {
    ((table[kCmdFetcScalCurrCfac + Q].handler = CmdFetch<Q>), ...);
    ((table[Q < 13 ? kCmdMeasScalCurrCfac + Q : kCmdMeasScalCurrCfac + Q + 1].handler = CmdMeasure<Q>), ...);
}
template <size_t... L>
constexpr void FillHarmonics(MainTable& table, std::index_sequence<L...>) {
    ((table[kCmdFetcScalCurrHarmRms + L].handler = CmdHarm<L, true>), ...);
    ((table[kCmdMeasScalCurrHarmRms + L].handler = CmdHarm<L, false>), ...);
}

constexpr std::array<ScpiHandlerRow, kMainCmdCount + 1> BuildMain() {
    std::array<ScpiHandlerRow, kMainCmdCount + 1> table{};
    for (uint32_t id = 0; id < table.size(); ++id)
        table[id] = ScpiHandlerRow{id, CmdUndefined};
    for (const ScpiHandlerRow& e : kMainEntries)
        table[e.id] = e;
    FillMeasurement(table, std::make_index_sequence<27>());
    FillHarmonics(table, std::make_index_sequence<4>());
    return table;
}

constexpr auto kMain = BuildMain();

template <size_t N>
constexpr void MapAlt(std::array<ScpiHandlerRow, kAltCmdCount + 1>& table, const ScpiAltCmdRow (&rows)[N]) {
    for (const ScpiAltCmdRow& row : rows)
        table[row.id] = ScpiHandlerRow{row.id, kMain[row.mainId].handler, kMain[row.mainId].reach};
}

constexpr std::array<ScpiHandlerRow, kAltCmdCount + 1> BuildAlt() {
    std::array<ScpiHandlerRow, kAltCmdCount + 1> table{};
    for (uint32_t id = 0; id < table.size(); ++id)
        table[id] = ScpiHandlerRow{id, CmdUndefined};
    MapAlt(table, kAltRowsFirst);
    MapAlt(table, kAltRowsSecond);
    return table;
}

constexpr auto kAlt = BuildAlt();

}  // namespace

constexpr std::array<ScpiHandlerRow, kMainCmdCount + 1> kMainHandlers = kMain;
}  // namespace scpi

constexpr std::array<ScpiHandlerRow, scpi::kAltCmdCount + 1> ScpiAltCmdTable = scpi::kAlt;
