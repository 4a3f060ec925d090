#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/parser/scpi_errors.h"

namespace {

// The standard event bit of an error, by its table index.
uint16_t EsrBitOf(uint32_t index) {
    if (index >= 1 && index <= 40) return kEsrCme;
    if (index >= 41 && index <= 110) return kEsrExe;
    if (index >= 111 && index <= 126) return kEsrDde;
    if (index >= 127 && index <= 131) return kEsrQye;
    if (index == 132) return kEsrPon;
    if (index == 133) return kEsrUrq;
    if (index == 134) return kEsrRqc;
    if (index == kScpiErrNoSyncSignal) return kEsrExe;
    if (index == kScpiErrNoModelType) return kEsrDde;
    return 0;
}

void Assign(uint16_t& stb, uint16_t bit, bool on) {
    stb = on ? (stb | bit) : (stb & ~bit);
}

}  // namespace

int scpiUpdateStatusByte(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->status == nullptr) return -1;
    ScpiStatusBlock* b = ifc->status;
    if (!(b->chanFlags.load(std::memory_order_relaxed) & kChanValid)) return -1;
    if (ifc->parse != nullptr) b->esr |= EsrBitOf(ifc->parse->errIndex);
    scpiOpcPoll(b);

    uint16_t stb = b->stb;
    Assign(stb, 0x01, (b->lock.event & b->lock.enable) != 0);
    Assign(stb, 0x02, (b->warn.event & b->warn.enable) != 0);
    Assign(stb, 0x04, scpiErrorQueueCount(&ifc->errq) > 0);
    Assign(stb, 0x08, (b->ques.event & b->ques.enable) != 0);
    Assign(stb, 0x10, ifc->io.control != nullptr && ifc->io.control(kPortCtlCommitted, 0) > 0);
    Assign(stb, 0x20, (b->esr & b->ese) != 0);
    // RQS from the byte as updated so far; bit 7 is still the previous one.
    Assign(stb, 0x40, (b->sre & stb & 0xBF) != 0);
    Assign(stb, 0x80, (b->oper.event & b->oper.enable) != 0);
    b->stb = stb;
    return stb & 0x40;
}
