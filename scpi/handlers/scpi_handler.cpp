#include "scpi/handlers/scpi_handler.h"

#include <cstring>

#include "scpi/channels/remote_port.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/channels/scpi_interface.h"

namespace {

const ScpiParamItem* Item(const ScpiInterface* ifc, uint32_t i) {
    if (ifc == nullptr || ifc->cmd == nullptr || i >= ifc->cmd->paramCount) return nullptr;
    return &ifc->cmd->items[i];
}

// Digits of v (most significant first) into out; the count.
int Digits(char* out, uint32_t v) {
    char rev[10];
    int n = 0;
    do {
        rev[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = 0; i < n; ++i)
        out[i] = rev[n - 1 - i];
    return n;
}

}  // namespace

int scpiIsQuery(const ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->cmd == nullptr) return -1;
    return ifc->cmd->query != 0 ? 1 : 0;
}

int scpiGetParamCount(const ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->cmd == nullptr) return -1;
    return static_cast<int>(ifc->cmd->paramCount);
}

int scpiGetInt(const ScpiInterface* ifc, uint32_t i, int32_t* out) {
    const ScpiParamItem* item = Item(ifc, i);
    if (item == nullptr || item->type != kItemInt || out == nullptr) return -1;
    // Items are 4-byte aligned in the data area: copied, never cast.
    std::memcpy(out, item->data, sizeof(*out));
    return 0;
}

int scpiFormatInt(char* buffer, int32_t value, uint32_t mode) {
    if (buffer == nullptr) return -1;
    int n = 0;
    const bool negative = value < 0;
    const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    const uint32_t base = mode & ~kFmtSign;
    if (mode & kFmtSign) {
        buffer[n++] = negative ? '-' : '+';
    } else if (negative && base <= kFmtDecimal) {
        buffer[n++] = '-';
    }
    if (base == 0) {
        n += Digits(buffer + n, magnitude / 1000);
        buffer[n++] = '.';
        const uint32_t frac = magnitude % 1000;
        buffer[n++] = static_cast<char>('0' + frac / 100);
        buffer[n++] = static_cast<char>('0' + frac / 10 % 10);
        buffer[n++] = static_cast<char>('0' + frac % 10);
    } else if (base == kFmtDecimal) {
        n += Digits(buffer + n, magnitude);
    } else {
        static const char kHex[] = "0123456789ABCDEF";
        const uint32_t bits = (mode & kFmtSign) ? magnitude : static_cast<uint32_t>(value);
        for (int shift = 28; shift >= 0; shift -= 4)
            buffer[n++] = kHex[(bits >> shift) & 0xF];
    }
    buffer[n] = '\0';
    return n;
}

int scpiRefuseHeader(ScpiInterface* ifc) {
    scpiSetError(ifc, kScpiErrUndefinedHeader);
    return 0;
}

namespace scpi {

int ParamType(const ScpiInterface* ifc, uint32_t i) {
    const ScpiParamItem* item = Item(ifc, i);
    return item == nullptr ? -1 : item->type;
}

int WriteSignedReply(ScpiInterface* ifc, int32_t value) {
    char text[16];
    int n = scpiFormatInt(text, value, kFmtSign | kFmtDecimal);
    return scpiWriteResponse(ifc, text, static_cast<uint32_t>(n), kPortCopy, 0);
}

int WriteTextReply(ScpiInterface* ifc, const char* text) {
    return scpiWriteResponse(ifc, text, static_cast<uint32_t>(std::strlen(text)), kPortCopy, 0);
}

}  // namespace scpi
