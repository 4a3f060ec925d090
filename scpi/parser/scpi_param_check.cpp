// Parse state 3: a complete parameter is checked against the command's parameter spec, converted, and
// stored as a typed item in the command block.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "scpi/parser/scpi_errors.h"
#include "scpi/parser/scpi_parser_steps.h"

namespace scpi {
namespace {

constexpr uint32_t kAllKinds = kParamNumeric | kParamChoice | kParamString | kParamExpression | kParamBlock;

// Appends an item of `length` bytes at the next 4-byte boundary of the data area; null when full.
ScpiParamItem* AppendItem(ScpiCmdBlock* cmd, uint8_t type, uint32_t length, const void* bytes) {
    uint32_t offset = (cmd->dataUsed + 3u) & ~3u;
    if (static_cast<uint64_t>(offset) + length > kScpiDataAreaSize) return nullptr;
    ScpiParamItem* item = &cmd->items[cmd->paramCount++];
    item->type = type;
    item->length = length;
    item->data = cmd->data + offset;
    if (bytes != nullptr && length > 0) std::memcpy(item->data, bytes, length);
    cmd->dataUsed = offset + length;
    return item;
}

// Decimal integer within 32 bits (signed); false when it does not fit.
bool ParseDecimalInt(const char* text, uint32_t len, int32_t* out) {
    uint32_t i = 0;
    bool negative = false;
    if (i < len && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t v = 0;
    for (; i < len; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<int64_t>(INT32_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    *out = static_cast<int32_t>(v);
    return true;
}

// Digits after the radix letter as an unsigned 32-bit value; false without digits or on overflow.
bool ParseRadix(const char* text, uint32_t len, uint32_t radix, uint32_t* out) {
    if (len < 2) return false;
    uint64_t v = 0;
    for (uint32_t i = 1; i < len; ++i) {
        char c = text[i];
        uint32_t d = (c >= '0' && c <= '9') ? static_cast<uint32_t>(c - '0')
                                            : static_cast<uint32_t>((c | 0x20) - 'a' + 10);
        v = v * radix + d;
        if (v > UINT32_MAX) return false;
    }
    *out = static_cast<uint32_t>(v);
    return true;
}

uint8_t CheckDecimal(ScpiInterface* ifc, const ScpiParamDesc& d) {
    ScpiLexer* lx = ifc->lexer;
    ScpiCmdBlock* cmd = ifc->cmd;
    if (!(d.kind & kParamNumeric)) return kScpiErrNumericNotAllowed;
    const bool real = (lx->numFlags & (kNumPoint | kNumExpMark)) || (lx->numFlags2 & kNumUnit);
    if (!real) {
        int32_t v;
        if (!ParseDecimalInt(lx->token, lx->tokLen, &v)) return kScpiErrDataOutOfRange;
        lx->intValue = v;
        lx->tokLen = sizeof(int32_t);
        return AppendItem(cmd, kItemInt, sizeof(int32_t), &v) ? 0 : kScpiErrTooMuchData;
    }
    double value = std::strtod(lx->token, nullptr);
    if (!std::isfinite(value)) return kScpiErrExponentTooLarge;
    if (lx->numFlags2 & kNumUnit) {
        int32_t exponent;
        if (d.unitTable == 0 || !UnitLookup(d.unitTable, lx->unit, lx->unitLen, &exponent)) {
            return kScpiErrInvalidSuffix;
        }
        value *= std::pow(10.0, exponent);
        if (!std::isfinite(value)) return kScpiErrExponentTooLarge;
    }
    lx->realValue = value;
    lx->tokLen = sizeof(double);
    return AppendItem(cmd, kItemReal, sizeof(double), &value) ? 0 : kScpiErrTooMuchData;
}

uint8_t CheckToken(ScpiInterface* ifc, const ScpiParamDesc& d) {
    ScpiLexer* lx = ifc->lexer;
    ScpiCmdBlock* cmd = ifc->cmd;
    if (lx->tokClass & kTokDecimal) return CheckDecimal(ifc, d);
    if (lx->tokClass & (kTokBinary | kTokOctal | kTokHex)) {
        if (!(d.kind & kParamNumeric)) return kScpiErrNumericNotAllowed;
        uint32_t radix = (lx->tokClass & kTokBinary) ? 2 : (lx->tokClass & kTokOctal) ? 8 : 16;
        uint32_t v;
        if (!ParseRadix(lx->token, lx->tokLen, radix, &v)) return kScpiErrInvalidInNumber;
        lx->intValue = static_cast<int32_t>(v);
        lx->tokLen = sizeof(int32_t);
        return AppendItem(cmd, kItemInt, sizeof(uint32_t), &v) ? 0 : kScpiErrTooMuchData;
    }
    if (lx->tokClass & kTokChar) {
        if (!(d.kind & kParamChoice)) return kScpiErrCharNotAllowed;
        int32_t v;
        if (!ChoiceLookup(d.choices, lx->token, lx->tokLen, &v)) return kScpiErrIllegalValue;
        lx->intValue = v;
        lx->tokLen = sizeof(int32_t);
        return AppendItem(cmd, kItemChoice, sizeof(int32_t), &v) ? 0 : kScpiErrTooMuchData;
    }
    if (lx->tokClass & kTokString) {
        if (!(d.kind & kParamString)) return kScpiErrStringNotAllowed;
        ScpiParamItem* item = AppendItem(cmd, kItemString, lx->tokLen + 1, nullptr);
        if (item == nullptr) return kScpiErrTooMuchData;
        std::memcpy(item->data, lx->token, lx->tokLen);
        item->data[lx->tokLen] = '\0';
        return 0;
    }
    if (lx->tokClass2 & kTok2Expression) return kScpiErrExprNotAllowed;  // expressions are never evaluated
    if (lx->tokClass & (kTokDefBlock | kTokIndefBlock)) {
        if (!(d.kind & kParamBlock)) return kScpiErrBlockNotAllowed;
        // The bytes are already in the data area, where the lexer put them.
        ScpiParamItem* item = &cmd->items[cmd->paramCount++];
        item->type = kItemBlock;
        item->length = lx->tokLen;
        item->data = cmd->data + lx->itemOffset;
        cmd->dataUsed = lx->itemOffset + lx->tokLen;
        return 0;
    }
    return (d.kind & kAllKinds) == kAllKinds ? kScpiErrDataType : kScpiErrMissingParam;
}

}  // namespace

void ParamCheckStep(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    ScpiCmdBlock* cmd = ifc->cmd;
    const ScpiForm form = FormOf(ifc);
    const bool empty = lx->tokClass == 0 && !(lx->tokClass2 & (kTok2Hash | kTok2Expression));
    const bool more = (ps->hdrFlags & kHdrParams) != 0;

    uint8_t err = 0;
    if (form.max == 0 || form.desc == nullptr) {
        if (!(empty && !more)) err = kScpiErrParamNotAllowed;
    } else if (cmd->paramCount >= form.max || cmd->paramCount >= kScpiMaxParams) {
        err = kScpiErrParamCount;
    } else {
        const ScpiParamDesc& d =
            (form.desc[0].kind & kParamAllPositions) ? form.desc[0] : form.desc[cmd->paramCount];
        if (empty) {
            if (!(d.kind & kParamOptional)) {
                err = kScpiErrMissingParam;
            } else if (AppendItem(cmd, kItemOmitted, 0, nullptr) == nullptr) {
                err = kScpiErrTooMuchData;
            }
        } else {
            err = CheckToken(ifc, d);
        }
    }
    if (err != 0) {
        SetErrorOnce(ps, err);
        ps->state = kParseCommandDone;
        return;
    }
    if (more) {
        ClearLexer(lx);
        ps->state = kParseParams;
    } else {
        ps->state = kParseCommandDone;
    }
}

}  // namespace scpi
