#include "scpi/channels/scpi_interface.h"

#include <cstring>

#include "scpi/parser/scpi_errors.h"

int scpiSetError(ScpiInterface* ifc, uint32_t index) {
    if (ifc == nullptr || ifc->parse == nullptr) return -1;
    ifc->parse->errIndex = static_cast<uint8_t>(index < kScpiErrCount ? index : 0);
    return 0;
}

void scpiResetInterface(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr) return;
    ScpiParseState* ps = ifc->parse;
    uint32_t curNode = ps->curNode;
    std::memset(ps, 0, sizeof(*ps));
    for (int32_t& v : ps->suffixVal)
        v = -1;
    ps->curNode = curNode;
    ps->state = kParseHeader;
    uint32_t sel = g_ScpiCmdSetSel.load(std::memory_order_relaxed);
    const ScpiCmdSet* row = &g_ScpiCmdSets[sel < 2 ? sel : 0];
    // A node of one set means nothing in the other: a change of set starts at its main root.
    if (ifc->cmdSet != nullptr && ifc->cmdSet != row) ps->curNode = row->desc->mainRoot;
    ifc->cmdSet = row;
    ifc->deferredState = 0;
    scpi::LogNewLine(ifc);
}

namespace scpi {

void ReselectCmdSet(ScpiInterface* ifc) {
    if (ifc == nullptr) return;
    uint32_t sel = g_ScpiCmdSetSel.load(std::memory_order_relaxed);
    const ScpiCmdSet* want = &g_ScpiCmdSets[sel < 2 ? sel : 0];
    if (ifc->cmdSet == want) return;
    ifc->cmdSet = want;
    if (ifc->parse != nullptr) ifc->parse->curNode = want->desc->mainRoot;
}

const ScpiCmdSetDescriptor* CmdSetDesc(const ScpiInterface* ifc) {
    const ScpiCmdSet* set = ifc->cmdSet != nullptr ? ifc->cmdSet : &g_ScpiCmdSets[0];
    return set->desc;
}

void LogAppend(ScpiInterface* ifc, uint8_t byte) {
    if (byte == '\r' || byte == '\n') return;
    ScpiCommandLog& log = ifc->log;
    std::lock_guard<std::mutex> hold(log.lock);
    if (log.curCol >= static_cast<int32_t>(kScpiLogLineSize) - 1) return;
    log.line[log.curLine][log.curCol++] = static_cast<char>(byte);
    log.line[log.curLine][log.curCol] = '\0';
}

namespace {
void CloseLineLocked(ScpiCommandLog& log) {
    if (log.curCol < static_cast<int32_t>(kScpiLogLineSize) - 3) {
        log.line[log.curLine][log.curCol++] = '\\';
        log.line[log.curLine][log.curCol++] = 'n';
        log.line[log.curLine][log.curCol] = '\0';
    }
    log.curLine++;
    if (log.curLine >= static_cast<int32_t>(kScpiLogLines)) {
        log.curLine = 0;
        log.wrapped = 1;
    }
    log.curCol = 0;
}
}  // namespace

void LogCloseLine(ScpiInterface* ifc) {
    std::lock_guard<std::mutex> hold(ifc->log.lock);
    CloseLineLocked(ifc->log);
}

void LogCloseOpenLine(ScpiInterface* ifc) {
    std::lock_guard<std::mutex> hold(ifc->log.lock);
    if (ifc->log.curCol > 0) CloseLineLocked(ifc->log);
}

void LogNewLine(ScpiInterface* ifc) {
    ScpiCommandLog& log = ifc->log;
    std::lock_guard<std::mutex> hold(log.lock);
    if (log.wrapped) log.overwritten = 1;
    std::memset(log.line[log.curLine], 0, kScpiLogLineSize);
    log.curCol = 0;
}

const char* LogCurrentLine(const ScpiInterface* ifc) {
    thread_local char copy[kScpiLogLineSize];
    std::lock_guard<std::mutex> hold(ifc->log.lock);
    std::memcpy(copy, ifc->log.line[ifc->log.curLine], kScpiLogLineSize);
    copy[kScpiLogLineSize - 1] = '\0';
    return copy;
}

void LogClear(ScpiInterface* ifc) {
    ScpiCommandLog& log = ifc->log;
    std::lock_guard<std::mutex> hold(log.lock);
    std::memset(log.line, 0, sizeof log.line);
    log.curLine = 0;
    log.curCol = 0;
    log.wrapped = 0;
    log.overwritten = 0;
}

size_t LogDump(const ScpiInterface* ifc, char* out, size_t size) {
    if (size == 0) return 0;
    const ScpiCommandLog& log = ifc->log;
    std::lock_guard<std::mutex> hold(log.lock);
    size_t n = 0;
    auto put = [&](const char* text, size_t len) {
        const size_t room = size - 1 - n;
        if (len > room) len = room;
        std::memcpy(out + n, text, len);
        n += len;
    };
    if (log.curLine == 0 && log.curCol == 0 && log.wrapped == 0) {
        put("No Command Record Data\n", 23);
        out[n] = '\0';
        return n;
    }
    int32_t line = log.curLine;
    for (uint32_t k = 0; k < kScpiLogLines; ++k) {
        const char* text = log.line[line];
        const size_t len = strnlen(text, kScpiLogLineSize);
        if (len > 0) {
            put(text, len);
            put("\r\n", 2);
        }
        if (--line < 0) {
            if (log.wrapped == 0) break;
            line = static_cast<int32_t>(kScpiLogLines) - 1;
        }
    }
    out[n] = '\0';
    return n;
}

}  // namespace scpi
