// Parse state 2: the parameters of a command, one token at a time: decimal numbers with exponent and
// unit, character data, strings, non-decimal numbers (#B, #Q, #H) and definite- or indefinite-length
// blocks. Token, string and unit texts are bounded: an over-long token is refused, never written past
// its buffer.
#include <cstring>

#include "scpi/parser/scpi_errors.h"
#include "scpi/parser/scpi_parser_steps.h"

namespace scpi {
namespace {

enum QuoteState : uint8_t { kQuoteNone = 0, kQuoteInside = 1, kQuoteClosing = 2, kQuoteClosed = 3 };

uint8_t StringState(const ScpiLexer* lx) {
    uint8_t dq = (lx->numFlags2 >> kNumDqShift) & 3u;
    uint8_t sq = (lx->numFlags2 >> kNumSqShift) & 3u;
    return dq != 0 ? dq : sq;
}

void SetStringState(ScpiLexer* lx, uint8_t delimiter, uint8_t state) {
    uint8_t shift = delimiter == '"' ? kNumDqShift : kNumSqShift;
    lx->numFlags2 = static_cast<uint8_t>((lx->numFlags2 & ~(3u << shift)) | (state << shift));
}

uint8_t StringDelimiter(const ScpiLexer* lx) {
    return ((lx->numFlags2 >> kNumDqShift) & 3u) ? '"' : '\'';
}

bool IsTerminator(uint8_t c) {
    return c == ',' || c == ';' || c == '\n';
}

// A terminator ends the parameter: "," with more to follow, ";" ending the command, line feed the
// message.
void EndParam(ScpiParseState* ps, uint8_t c) {
    if (c == ',') {
        ps->hdrFlags |= kHdrParams | kHdrSeparator;
    } else {
        ps->hdrFlags &= static_cast<uint8_t>(~kHdrParams);
        if (c == '\n') ps->hdrFlags |= kHdrEnd;
    }
    ps->state = kParseParamDone;
}

bool AppendToken(ScpiParseState* ps, ScpiLexer* lx, char c, uint8_t tooLong) {
    if (lx->tokLen >= kScpiTokenSize - 1) {
        SetErrorOnce(ps, tooLong);
        return false;
    }
    lx->token[lx->tokLen++] = c;
    lx->token[lx->tokLen] = '\0';
    return true;
}

void AppendUnit(ScpiParseState* ps, ScpiLexer* lx, uint8_t c) {
    if (lx->unitLen >= kScpiUnitSize - 1) {
        SetErrorOnce(ps, kScpiErrSuffixTooLong);
        return;
    }
    lx->unit[lx->unitLen++] = Lower(c);
    lx->unit[lx->unitLen] = '\0';
}

void NumberByte(ScpiParseState* ps, ScpiLexer* lx, uint8_t c) {
    uint8_t& f = lx->numFlags;
    uint8_t& f2 = lx->numFlags2;
    const bool digits = (f & (kNumMantissa | kNumFraction)) != 0;
    const bool expOpen = (f & kNumExpMark) && !(f2 & kNumExpDigits);
    if (IsTerminator(c)) {
        if (expOpen) {
            SetErrorOnce(
                ps, (f & (kNumWsAfterMark | kNumExpSign)) ? kScpiErrInvalidInNumber : kScpiErrInvalidSuffix);
        } else if (!digits) {
            SetErrorOnce(ps, kScpiErrInvalidInNumber);
        } else {
            EndParam(ps, c);
        }
    } else if (IsWhite(c)) {
        if (f2 & kNumUnit) {
            f2 |= kNumWsAfterUnit;
        } else if (f & kNumExpMark) {
            if (f2 & kNumExpDigits) {
                f2 |= kNumWsAfterExp;
            } else if (f & kNumExpSign) {
                SetErrorOnce(ps, kScpiErrInvalidInNumber);
            } else {
                f |= kNumWsAfterMark;
            }
        } else {
            f |= kNumWsAfter;
        }
    } else if (IsDigitByte(c)) {
        if (f2 & kNumUnit) {
            SetErrorOnce(ps, kScpiErrSeparator);
        } else if (f & kNumExpMark) {
            if (f2 & kNumWsAfterExp) {
                SetErrorOnce(ps, kScpiErrSeparator);
            } else {
                f2 |= kNumExpDigits;
                AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooManyDigits);
            }
        } else if (f & kNumWsAfter) {
            SetErrorOnce(ps, kScpiErrSeparator);
        } else {
            f |= (f & kNumPoint) ? kNumFraction : kNumMantissa;
            AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooManyDigits);
        }
    } else if (c == '.' && !(f & (kNumPoint | kNumExpMark | kNumWsAfter)) && !(f2 & kNumUnit)) {
        f |= kNumPoint;
        AppendToken(ps, lx, '.', kScpiErrTooManyDigits);
    } else if (c == '+' || c == '-') {
        if (lx->tokLen == 0 && !(f & kNumSign)) {
            f |= kNumSign;
            AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooManyDigits);
        } else if ((f & kNumExpMark) && !(f & kNumExpSign) && !(f2 & kNumExpDigits)) {
            f |= kNumExpSign;
            AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooManyDigits);
        } else if ((f2 & kNumUnit) && c == '-') {
            SetErrorOnce(ps, kScpiErrInvalidSuffix);
        } else {
            SetErrorOnce(ps, kScpiErrInvalidInNumber);
        }
    } else if (IsLetter(c)) {
        if (f2 & kNumUnit) {
            if (f2 & kNumWsAfterUnit) {
                SetErrorOnce(ps, kScpiErrSeparator);
            } else {
                AppendUnit(ps, lx, c);
            }
        } else if (expOpen) {
            SetErrorOnce(
                ps, (f & (kNumWsAfterMark | kNumExpSign)) ? kScpiErrInvalidInNumber : kScpiErrInvalidSuffix);
        } else if (!digits) {
            SetErrorOnce(ps, kScpiErrInvalidInNumber);
        } else if ((c == 'E' || c == 'e') && !(f & kNumExpMark)) {
            f |= kNumExpMark;
            AppendToken(ps, lx, 'E', kScpiErrTooManyDigits);
        } else {
            f2 |= kNumUnit;
            AppendUnit(ps, lx, c);
        }
    } else if (c == '_') {
        SetErrorOnce(ps, kScpiErrInvalidChar);
    } else if (IsQuote(c)) {
        SetErrorOnce(ps, kScpiErrInvalidString);
    } else {
        bool afterIntegerDigits =
            (f & kNumMantissa) && !(f & (kNumPoint | kNumWsAfter | kNumExpMark)) && !(f2 & kNumUnit);
        SetErrorOnce(ps, afterIntegerDigits ? kScpiErrInvalidChar : kScpiErrSeparator);
    }
}

void CharByte(ScpiParseState* ps, ScpiLexer* lx, uint8_t c) {
    if (IsTerminator(c)) {
        EndParam(ps, c);
    } else if (IsWhite(c)) {
        lx->numFlags |= kNumWsAfter;
    } else if (lx->numFlags & kNumWsAfter) {
        SetErrorOnce(ps, kScpiErrSeparator);
    } else if (IsQuote(c)) {
        SetErrorOnce(ps, kScpiErrInvalidString);
    } else if (c < '-') {
        SetErrorOnce(ps, kScpiErrIllegalValue);
    } else {
        AppendToken(ps, lx, Lower(c), kScpiErrCharDataTooLong);
    }
}

void AfterClosedToken(ScpiParseState* ps, ScpiLexer* lx, uint8_t c) {
    if (IsTerminator(c)) {
        EndParam(ps, c);
    } else if (IsWhite(c)) {
        lx->numFlags |= kNumWsAfter;
    } else {
        SetErrorOnce(ps, kScpiErrSeparator);
    }
}

void StringByte(ScpiParseState* ps, ScpiLexer* lx, uint8_t c) {
    const uint8_t delimiter = StringDelimiter(lx);
    switch (StringState(lx)) {
        case kQuoteInside:
            if (c == delimiter) {
                SetStringState(lx, delimiter, kQuoteClosing);
            } else if (c == '\n') {
                SetErrorOnce(ps, kScpiErrInvalidString);
            } else {
                AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooMuchData);
            }
            break;
        case kQuoteClosing:
            if (c == delimiter) {  // a doubled delimiter stands for one
                AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooMuchData);
                SetStringState(lx, delimiter, kQuoteInside);
                break;
            }
            SetStringState(lx, delimiter, kQuoteClosed);
            AfterClosedToken(ps, lx, c);
            break;
        default:
            AfterClosedToken(ps, lx, c);
            break;
    }
}

bool IsRadixDigit(uint8_t tokClass, uint8_t c) {
    if (tokClass & kTokBinary) return c == '0' || c == '1';
    if (tokClass & kTokOctal) return c >= '0' && c <= '7';
    return IsDigitByte(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void RadixByte(ScpiParseState* ps, ScpiLexer* lx, uint8_t c) {
    if (IsTerminator(c)) {
        EndParam(ps, c);
    } else if (IsWhite(c)) {
        lx->numFlags |= kNumWsAfter;
    } else if (IsRadixDigit(lx->tokClass, c)) {
        if (lx->numFlags & kNumWsAfter) {
            SetErrorOnce(ps, kScpiErrSeparator);
        } else {
            AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooManyDigits);
        }
    } else {
        SetErrorOnce(ps, kScpiErrInvalidInNumber);
    }
}

uint32_t AlignedUsed(const ScpiCmdBlock* cmd) {
    return (cmd->dataUsed + 3u) & ~3u;
}

void OpenDefiniteBlock(ScpiInterface* ifc, uint32_t digits) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    ScpiCmdBlock* cmd = ifc->cmd;
    if (cmd->paramCount >= kScpiMaxParams) {
        SetErrorOnce(ps, kScpiErrInvalidBlock);
        return;
    }
    lx->tokClass = kTokDefBlock;
    lx->tokClass2 |= kTok2BlockDigits;
    lx->blockDigits = digits;
    lx->blockLen = 0;
    lx->blockGot = 0;
    lx->itemOffset = AlignedUsed(cmd);
    if (static_cast<uint64_t>(lx->itemOffset) + 2 + digits > kScpiDataAreaSize) {
        // No room even for the header: read its length and drop its bytes.
        SetErrorOnce(ps, kScpiErrTooMuchData);
        lx->tokClass2 |= kTok2BlockDrop;
        return;
    }
    cmd->data[lx->itemOffset] = '#';
    cmd->data[lx->itemOffset + 1] = static_cast<uint8_t>('0' + digits);
}

void OpenIndefiniteBlock(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    ScpiCmdBlock* cmd = ifc->cmd;
    if (cmd->paramCount >= kScpiMaxParams) {
        SetErrorOnce(ps, kScpiErrInvalidBlock);
        return;
    }
    lx->itemOffset = AlignedUsed(cmd);
    if (static_cast<uint64_t>(lx->itemOffset) + 2 > kScpiDataAreaSize) {
        SetErrorOnce(ps, kScpiErrBlockData);
        return;
    }
    lx->tokClass = kTokIndefBlock;
    cmd->data[lx->itemOffset] = '#';
    cmd->data[lx->itemOffset + 1] = '0';
    lx->blockGot = 2;
}

void IndefiniteByte(ScpiInterface* ifc, uint8_t c) {
    ScpiLexer* lx = ifc->lexer;
    if (c == '\n') {
        lx->tokLen = lx->blockGot;
        EndParam(ifc->parse, c);
        return;
    }
    if (static_cast<uint64_t>(lx->itemOffset) + lx->blockGot >= kScpiDataAreaSize) {
        SetErrorOnce(ifc->parse, kScpiErrBlockData);
        return;
    }
    ifc->cmd->data[lx->itemOffset + lx->blockGot++] = c;
}

void HashByte(ScpiInterface* ifc, uint8_t c) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    lx->tokClass2 &= static_cast<uint8_t>(~kTok2Hash);
    if (c == 'B' || c == 'b') {
        lx->tokClass = kTokBinary;
    } else if (c == 'Q' || c == 'q') {
        lx->tokClass = kTokOctal;
    } else if (c == 'H' || c == 'h') {
        lx->tokClass = kTokHex;
    } else if (c >= '1' && c <= '9') {
        OpenDefiniteBlock(ifc, c - '0');
        return;
    } else if (c == '0') {
        OpenIndefiniteBlock(ifc);
        return;
    } else {
        SetErrorOnce(ps, kScpiErrInvalidChar);
        return;
    }
    // The radix letter stays the token's first character.
    AppendToken(ps, lx, static_cast<char>(c), kScpiErrTooManyDigits);
}

void StartToken(ScpiInterface* ifc, uint8_t c) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    const bool separated = (ps->hdrFlags & kHdrSeparator) != 0;
    if (IsWhite(c)) {
        ps->hdrFlags |= kHdrSeparator;
    } else if (c == '+' || c == '-' || c == '.' || IsDigitByte(c)) {
        if (!separated) {
            SetErrorOnce(ps, c == '.' ? kScpiErrInvalidInNumber : kScpiErrSeparator);
        } else {
            lx->tokClass = kTokDecimal;
            NumberByte(ps, lx, c);
        }
    } else if (IsLetter(c)) {
        if (!separated) {
            SetErrorOnce(ps, kScpiErrSeparator);
        } else {
            lx->tokClass = kTokChar;
            AppendToken(ps, lx, Lower(c), kScpiErrCharDataTooLong);
        }
    } else if (c == '#') {
        if (!separated) {
            SetErrorOnce(ps, kScpiErrSeparator);
        } else {
            lx->tokClass2 |= kTok2Hash;
        }
    } else if (c == '(') {
        if (!separated) {
            SetErrorOnce(ps, kScpiErrSeparator);
        } else {
            lx->tokClass2 |= kTok2Expression;
            SetErrorOnce(ps, kScpiErrExprNotAllowed);
        }
    } else if (IsQuote(c)) {
        lx->tokClass = kTokString;
        SetStringState(lx, c, kQuoteInside);
    } else if (c == ';') {
        EndParam(ps, c);
    } else if (c == '\n') {
        ps->hdrFlags = static_cast<uint8_t>((ps->hdrFlags & ~kHdrParams) | kHdrEnd);
        ps->state = kParseCommandDone;
    } else if (c == ':' || c == '*' || c == ',' || c == '@' || c == '?' || c == ')') {
        SetErrorOnce(ps, separated ? kScpiErrSyntax : kScpiErrSeparator);
    } else {
        SetErrorOnce(ps, kScpiErrInvalidChar);
    }
}

void ParamByte(ScpiInterface* ifc, uint8_t c) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    if (lx->tokClass == 0 && !(lx->tokClass2 & kTok2Hash)) {
        StartToken(ifc, c);
    } else if (lx->tokClass2 & kTok2Hash) {
        HashByte(ifc, c);
    } else if (lx->tokClass & kTokDecimal) {
        NumberByte(ps, lx, c);
    } else if (lx->tokClass & kTokChar) {
        CharByte(ps, lx, c);
    } else if (lx->tokClass & kTokString) {
        StringByte(ps, lx, c);
    } else if (lx->tokClass & (kTokBinary | kTokOctal | kTokHex)) {
        RadixByte(ps, lx, c);
    } else if (lx->tokClass & kTokIndefBlock) {
        IndefiniteByte(ifc, c);
    } else if (lx->tokClass & kTokDefBlock) {
        // After the declared data only white space (the CR of a CR LF line end) may come before the end
        // of the message or of the message unit; nothing else can tell the data's end from a client's
        // miscount.
        if (c == '\n' || c == ';') {
            lx->tokLen = 2 + lx->blockDigits + lx->blockLen;
            EndParam(ps, c);
        } else if (!IsWhite(c)) {
            SetErrorOnce(ps, kScpiErrBlockData);
        }
    }
    if (ps->errIndex != 0 && ps->state == kParseParams && !(lx->tokClass2 & kTok2BlockDrop)) {
        // From here the rest of the message is skipped. The byte that caused the error is itself
        // subject to the skip rules (a quote opens, a line feed ends the message); an error inside a
        // string leaves the skip inside its quotes.
        const bool inString = (lx->tokClass & kTokString) && StringState(lx) == kQuoteInside;
        const uint8_t delimiter = StringDelimiter(lx);
        lx->tokClass = 0;
        lx->tokClass2 = 0;
        if (inString && c != '\n') {
            ps->qsFlags |= delimiter == '"' ? kQsDouble : kQsSingle;
            ps->hdrFlags |= kHdrQuoteSkip;
        } else {
            SkipByte(ps, c);
        }
    }
}

// Reads the length digits of a definite-length block, one byte at a time so that a malformed length
// never reads past the end of the message.
bool BlockDigitsStep(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    uint8_t c;
    if (!ReadByte(ifc, &c)) return false;
    LogAppend(ifc, c);
    if (!IsDigitByte(c)) {
        SetErrorOnce(ps, kScpiErrInvalidBlock);
        lx->tokClass = 0;
        lx->tokClass2 = 0;
        SkipByte(ps, c);
        return true;
    }
    lx->blockLen = lx->blockLen * 10 + static_cast<uint32_t>(c - '0');
    if (!(lx->tokClass2 & kTok2BlockDrop)) ifc->cmd->data[lx->itemOffset + 2 + lx->blockGot] = c;
    lx->blockGot++;
    if (lx->blockGot == lx->blockDigits) {
        lx->tokClass2 &= static_cast<uint8_t>(~kTok2BlockDigits);
        lx->blockGot = 0;
        if (2ull + lx->blockDigits + lx->blockLen > kScpiDataAreaSize) {
            // No command could hold it: refused at once and the rest of the message skipped. Waiting
            // for bytes a client will never send would hold the channel up to the declared length.
            SetErrorOnce(ps, kScpiErrTooMuchData);
            lx->tokClass = 0;
            lx->tokClass2 = 0;
            return true;
        }
        uint64_t end = static_cast<uint64_t>(lx->itemOffset) + 2 + lx->blockDigits + lx->blockLen;
        if (!(lx->tokClass2 & kTok2BlockDrop) && end > kScpiDataAreaSize) {
            // Too long for the space the items before it left: refused, and exactly its declared
            // bytes are read and dropped so that its data is never taken for commands.
            SetErrorOnce(ps, kScpiErrTooMuchData);
            lx->tokClass2 |= kTok2BlockDrop;
        }
    }
    return true;
}

bool BlockDataStep(ScpiInterface* ifc) {
    ScpiLexer* lx = ifc->lexer;
    uint32_t rest = lx->blockLen - lx->blockGot;
    uint32_t want = rest < kScpiBlockChunk ? rest : kScpiBlockChunk;
    uint8_t scratch[kScpiBlockChunk];
    const bool drop = (lx->tokClass2 & kTok2BlockDrop) != 0;
    uint8_t* dst = drop ? scratch : ifc->cmd->data + lx->itemOffset + 2 + lx->blockDigits + lx->blockGot;
    int n = ifc->io.read(dst, want, 1);
    if (n < 1) return false;
    if (static_cast<uint32_t>(n) > want) n = static_cast<int>(want);
    for (int i = 0; i < n; ++i)
        LogAppend(ifc, dst[i]);
    lx->blockGot += static_cast<uint32_t>(n);
    return true;
}

// After a dropped block: the message must end with the next byte, as after an accepted one.
void DroppedBlockEnd(ScpiInterface* ifc, uint8_t c) {
    ScpiLexer* lx = ifc->lexer;
    lx->tokClass = 0;
    lx->tokClass2 = 0;
    SkipByte(ifc->parse, c);
}

}  // namespace

bool ParamStep(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    ScpiLexer* lx = ifc->lexer;
    if (ifc->io.read == nullptr) return false;
    bool progress = false;
    for (uint32_t n = 0; n < kScpiBytesPerStep && ps->state == kParseParams; ++n) {
        if (lx->tokClass & kTokDefBlock) {
            if (lx->tokClass2 & kTok2BlockDigits) {
                if (!BlockDigitsStep(ifc)) return progress;
                progress = true;
                continue;
            }
            if (lx->blockGot < lx->blockLen) {
                if (!BlockDataStep(ifc)) return progress;
                progress = true;
                continue;
            }
        }
        uint8_t c;
        if (!ReadByte(ifc, &c)) return progress;
        progress = true;
        LogAppend(ifc, c);
        if ((lx->tokClass & kTokDefBlock) && (lx->tokClass2 & kTok2BlockDrop)) {
            DroppedBlockEnd(ifc, c);
        } else if (ps->errIndex != 0) {
            SkipByte(ps, c);
        } else {
            ParamByte(ifc, c);
        }
    }
    return true;
}

}  // namespace scpi
