#pragma once
// The command handlers, by the command they serve; the handler tables index them by command id.
#include <cstdint>

struct ScpiInterface;

namespace scpi {

// Row 0 of both tables and every id whose handler is not there: "-113,"Undefined header"".
int CmdUndefined(ScpiInterface* ifc);

// IEEE 488.2 common commands (MEMory:SAV and MEMory:RCL run *SAV and *RCL).
int CmdCal(ScpiInterface* ifc);
int CmdCls(ScpiInterface* ifc);
int CmdEse(ScpiInterface* ifc);
int CmdEsr(ScpiInterface* ifc);
int CmdIdn(ScpiInterface* ifc);
int CmdOpc(ScpiInterface* ifc);
int CmdRcl(ScpiInterface* ifc);
int CmdRst(ScpiInterface* ifc);
int CmdSav(ScpiInterface* ifc);
int CmdSre(ScpiInterface* ifc);
int CmdStb(ScpiInterface* ifc);
int CmdTrg(ScpiInterface* ifc);
int CmdTst(ScpiInterface* ifc);
int CmdWai(ScpiInterface* ifc);

// Trigger actions.
int CmdAbor(ScpiInterface* ifc);
int CmdInitName(ScpiInterface* ifc);
int CmdMemTrig(ScpiInterface* ifc);
int CmdOutpTrig(ScpiInterface* ifc);

// STATus: the register commands of the four groups by their (main-set) command id, and PRESet.
int CmdStatRegister(ScpiInterface* ifc, uint32_t id);
template <uint32_t Id>
int CmdStat(ScpiInterface* ifc) {
    return CmdStatRegister(ifc, Id);
}
int CmdStatPres(ScpiInterface* ifc);

// FETCh and MEASure: the scalar quantities 0-26 and the harmonic lists 0-3 (scpi_meas_snapshot.h).
int CmdFetchScalar(ScpiInterface* ifc, uint32_t quantity);
int CmdMeasureScalar(ScpiInterface* ifc, uint32_t quantity);
int CmdHarmList(ScpiInterface* ifc, uint32_t list, bool fromSnapshot);
template <uint32_t Q>
int CmdFetch(ScpiInterface* ifc) {
    return CmdFetchScalar(ifc, Q);
}
template <uint32_t Q>
int CmdMeasure(ScpiInterface* ifc) {
    return CmdMeasureScalar(ifc, Q);
}
template <uint32_t L, bool Snapshot>
int CmdHarm(ScpiInterface* ifc) {
    return CmdHarmList(ifc, L, Snapshot);
}

// The measurement settings (MEASure:AVERage:COUNt, CONFigure:SENSing, PEAK:CLEar, UPDate:RATE) and READ?.
int CmdMeasAverCoun(ScpiInterface* ifc);
int CmdMeasConfSens(ScpiInterface* ifc);
int CmdMeasPeakCle(ScpiInterface* ifc);
int CmdMeasUpdRate(ScpiInterface* ifc);
int CmdSourRead(ScpiInterface* ifc);

// [SOURce:] settings.
int CmdSourFreq(ScpiInterface* ifc);
int CmdSourVolt(ScpiInterface* ifc);
// [SOURce:] settings: the generic ones behind a guard and the named states, each by its (main-set)
// command id; the waveform, the phase angles, the voltage limits, the range and the output mode.
int CmdSourGenericRow(ScpiInterface* ifc, uint32_t cmd);
int CmdSourChoiceRow(ScpiInterface* ifc, uint32_t cmd);
template <uint32_t Cmd>
int CmdSourGeneric(ScpiInterface* ifc) {
    return CmdSourGenericRow(ifc, Cmd);
}
template <uint32_t Cmd>
int CmdSourChoice(ScpiInterface* ifc) {
    return CmdSourChoiceRow(ifc, Cmd);
}
int CmdSourFunc(ScpiInterface* ifc);
int CmdSourPhasPhas(ScpiInterface* ifc);
int CmdSourPhasSync(ScpiInterface* ifc);
int CmdSourVoltLimPeak(ScpiInterface* ifc);
int CmdSourVoltLimRms(ScpiInterface* ifc);
int CmdSourVoltRang(ScpiInterface* ifc);
int CmdSourMode(ScpiInterface* ifc);

// OUTPut and PARallel.
int CmdOutpStat(ScpiInterface* ifc);
int CmdOutpImp(ScpiInterface* ifc);
int CmdOutpImpInd(ScpiInterface* ifc);
int CmdOutpImpRes(ScpiInterface* ifc);
int CmdOutpMonAmpl(ScpiInterface* ifc);
int CmdOutpMonSour(ScpiInterface* ifc);
int CmdOutpPon(ScpiInterface* ifc);
int CmdOutpProtCle(ScpiInterface* ifc);
int CmdOutpRel(ScpiInterface* ifc);
int CmdParPos(ScpiInterface* ifc);
int CmdParNumb(ScpiInterface* ifc);
int CmdParEnab(ScpiInterface* ifc);

// DISPlay, INPut, INSTrument and ETHernet:DHCP.
int CmdDispDesMode(ScpiInterface* ifc);
int CmdDispMeasSour(ScpiInterface* ifc);
int CmdEthDhcp(ScpiInterface* ifc);
int CmdInpGain(ScpiInterface* ifc);
int CmdInpSour(ScpiInterface* ifc);
int CmdInpSyncSour(ScpiInterface* ifc);
int CmdInstEdit(ScpiInterface* ifc);
int CmdInstSel(ScpiInterface* ifc);

// STATus:OPERation|QUEStionable|WARNing|LOCK:CONDition?

// SYSTem:ERRor?
int CmdSystErr(ScpiInterface* ifc);

// SYSTem:COMMunicate: LAN, remote/local state, RS232, socket port and USB ports.
int CmdSystCommLanDhcp(ScpiInterface* ifc);
int CmdSystCommLanDns(ScpiInterface* ifc);
int CmdSystCommLanGat(ScpiInterface* ifc);
int CmdSystCommLanIpad(ScpiInterface* ifc);
int CmdSystCommLanMac(ScpiInterface* ifc);
int CmdSystCommLanSmas(ScpiInterface* ifc);
int CmdSystCommLanWebPact(ScpiInterface* ifc);
int CmdSystCommLanWebPass(ScpiInterface* ifc);
int CmdSystCommRlst(ScpiInterface* ifc);
int CmdSystCommSerBaud(ScpiInterface* ifc);
int CmdSystCommSerBits(ScpiInterface* ifc);
int CmdSystCommSerPar(ScpiInterface* ifc);
int CmdSystCommSerSbit(ScpiInterface* ifc);
int CmdSystCommTcpCont(ScpiInterface* ifc);
int CmdSystCommUsbFronStat(ScpiInterface* ifc);
int CmdSystCommUsbRearMode(ScpiInterface* ifc);
int CmdSystCommUsbRearStat(ScpiInterface* ifc);

// SYSTem configuration, error enable, lock and maintenance.
int CmdSystConfExt(ScpiInterface* ifc);
int CmdSystConfPhas(ScpiInterface* ifc);
int CmdSystConfMode(ScpiInterface* ifc);
int CmdSystConfTrigOutpSour(ScpiInterface* ifc);
int CmdSystConfTrigOutpWidt(ScpiInterface* ifc);
int CmdSystErrEnab(ScpiInterface* ifc);
int CmdSystKloc(ScpiInterface* ifc);
int CmdSystPass(ScpiInterface* ifc);
int CmdSystPkhTime(ScpiInterface* ifc);
int CmdSystReb(ScpiInterface* ifc);
int CmdSystScpiData(ScpiInterface* ifc);
int CmdSystInf(ScpiInterface* ifc);
int CmdSystHoldStat(ScpiInterface* ifc);
int CmdSystWrel(ScpiInterface* ifc);
int CmdSystAcvUnit(ScpiInterface* ifc);
int CmdSystBarcMem(ScpiInterface* ifc);
int CmdSystBeepStat(ScpiInterface* ifc);
int CmdSystCommEnab(ScpiInterface* ifc);
int CmdSystCommGpibAddr(ScpiInterface* ifc);
int CmdSystCommIntAddr(ScpiInterface* ifc);
int CmdSystCommIntBaud(ScpiInterface* ifc);
int CmdZcalApas(ScpiInterface* ifc);
int CmdZcalMac(ScpiInterface* ifc);
int CmdZcalMfrs(ScpiInterface* ifc);
int CmdZcalMfrsQx(ScpiInterface* ifc);
int CmdZcalMtyp(ScpiInterface* ifc);
int CmdZcalProg(ScpiInterface* ifc);

// [SOURce:]SIMulation: the field commands of the six states and the run status, by (main-set) id.
int CmdSourSimRow(ScpiInterface* ifc, uint32_t cmd);
template <uint32_t Cmd>
int CmdSourSim(ScpiInterface* ifc) {
    return CmdSourSimRow(ifc, Cmd);
}

// Memory data transfer: whole ARB, SEQ, SIM and preset memories as blocks.
int CmdDataArbFile(ScpiInterface* ifc);
int CmdDataSeqData(ScpiInterface* ifc);
int CmdDataSeqPres(ScpiInterface* ifc);
int CmdDataSimData(ScpiInterface* ifc);
int CmdDataSimPres(ScpiInterface* ifc);
int CmdDataPresData(ScpiInterface* ifc);
int CmdDataPresFile(ScpiInterface* ifc);
int CmdDataWaveData(ScpiInterface* ifc);

// CALibration.
int CmdCalConfMode(ScpiInterface* ifc);
int CmdCalVoltAvg(ScpiInterface* ifc);
int CmdCalVolt(ScpiInterface* ifc);
int CmdCalCurrAvg(ScpiInterface* ifc);
int CmdCalCurr(ScpiInterface* ifc);

// [SOURce:]SEQuence status and current-step editing; TRIGger sources, software triggers and run control.
int CmdSeqCond(ScpiInterface* ifc);
int CmdSeqCpar(ScpiInterface* ifc);
int CmdSeqCst(ScpiInterface* ifc);
int CmdSeqCtim(ScpiInterface* ifc);
int CmdSeqCjumCnt(ScpiInterface* ifc);
int CmdSeqInstSel(ScpiInterface* ifc);
int CmdSeqNsp(ScpiInterface* ifc);
int CmdSeqSpar(ScpiInterface* ifc);
int CmdSeqStep(ScpiInterface* ifc);
int CmdTrigTranSour(ScpiInterface* ifc);
int CmdTrigOutpSour(ScpiInterface* ifc);
int CmdTrigMemSour(ScpiInterface* ifc);
int CmdTrigTranImm(ScpiInterface* ifc);
int CmdTrigOutpImm(ScpiInterface* ifc);
int CmdTrigMemImm(ScpiInterface* ifc);
int CmdTrigSeqSelExec(ScpiInterface* ifc);
int CmdTrigSimSelExec(ScpiInterface* ifc);
// DATA memory management (clear, name, recall, store) and the waveform builder (SYSTem:ARBitrary:EDIT).
int CmdDataSeqCle(ScpiInterface* ifc);
int CmdDataSimCle(ScpiInterface* ifc);
int CmdDataSeqName(ScpiInterface* ifc);
int CmdDataSimName(ScpiInterface* ifc);
int CmdDataSeqRec(ScpiInterface* ifc);
int CmdDataSimRec(ScpiInterface* ifc);
int CmdDataSeqStor(ScpiInterface* ifc);
int CmdDataSimStor(ScpiInterface* ifc);
int CmdDataPresCle(ScpiInterface* ifc);
int CmdDataWaveCle(ScpiInterface* ifc);
int CmdSystArbEditBuil(ScpiInterface* ifc);
int CmdSystArbEditCfac(ScpiInterface* ifc);
int CmdSystArbEditClip(ScpiInterface* ifc);
int CmdSystArbEditDip(ScpiInterface* ifc);
int CmdSystArbEditLfr(ScpiInterface* ifc);
int CmdSystArbEditRipp(ScpiInterface* ifc);
int CmdSystArbEditSta(ScpiInterface* ifc);
int CmdSystArbEditStor(ScpiInterface* ifc);
int CmdSystArbEditStorAppl(ScpiInterface* ifc);
int CmdSystArbEditSurg(ScpiInterface* ifc);
int CmdSystArbEditTri(ScpiInterface* ifc);

}  // namespace scpi
