// Parse state 0: the program header, one byte at a time, split into up to six levels of keyword and
// numeric suffix.
#include "scpi/parser/scpi_errors.h"
#include "scpi/parser/scpi_parser_steps.h"

namespace scpi {
namespace {

bool Collected(const ScpiParseState* ps) {
    return ps->kwLen > 0 || (ps->levelCount < kScpiMaxLevels && ps->suffixLen[ps->levelCount] > 0);
}

void AppendKeyword(ScpiParseState* ps, uint8_t c) {
    if (ps->kwLen >= kScpiKeywordSize) {
        SetErrorOnce(ps, kScpiErrMnemonicTooLong);
        return;
    }
    ps->keyword[ps->levelCount][ps->kwLen++] = static_cast<char>(c);
}

void CloseKeyword(ScpiParseState* ps) {
    ps->keywordLen[ps->levelCount] = ps->kwLen;
    ps->levelCount++;
    ps->kwLen = 0;
    ps->qsFlags &= static_cast<uint8_t>(~(kQsSuffix | kQsLetterAfterDigits));
}

void StartQuoteSkip(ScpiParseState* ps, uint8_t c) {
    ps->qsFlags |= c == '"' ? kQsDouble : kQsSingle;
    ps->hdrFlags |= kHdrQuoteSkip;
}

void HeaderByte(ScpiInterface* ifc, uint8_t c) {
    ScpiParseState* ps = ifc->parse;
    if (ps->errIndex != 0) {
        SkipByte(ps, c);
        return;
    }
    const uint32_t level = ps->levelCount;
    if (IsLetter(c) || c == '_') {
        ps->hdrFlags &= static_cast<uint8_t>(~kHdrColon);
        if ((ps->qsFlags & kQsSuffix) && !(ps->qsFlags & kQsLetterAfterDigits)) {
            // Digits followed by a letter were part of the keyword, not its suffix.
            for (uint32_t i = 0; i < ps->suffixLen[level]; ++i)
                AppendKeyword(ps, ps->suffix[level][i]);
            ps->suffixLen[level] = 0;
            ps->qsFlags = static_cast<uint8_t>((ps->qsFlags & ~kQsSuffix) | kQsLetterAfterDigits);
        }
        AppendKeyword(ps, c);
    } else if (IsDigitByte(c)) {
        if (!(ps->qsFlags & kQsLetterAfterDigits)) {
            if (ps->suffixLen[level] >= kScpiKeywordSize) {
                SetErrorOnce(ps, kScpiErrMnemonicTooLong);
            } else {
                ps->suffix[level][ps->suffixLen[level]++] = static_cast<char>(c);
                ps->qsFlags |= kQsSuffix;
            }
        } else {
            AppendKeyword(ps, c);
        }
    } else if (c == '*') {
        if (level == 0 && !Collected(ps) && !(ps->hdrFlags & (kHdrColon | kHdrRoot))) {
            ps->hdrFlags |= kHdrCommon;
            AppendKeyword(ps, c);
        } else {
            SetErrorOnce(ps, kScpiErrSyntax);
        }
    } else if (c == ':') {
        if (ps->hdrFlags & kHdrColon) {
            SetErrorOnce(ps, kScpiErrSyntax);
        } else if (level == 0 && !Collected(ps)) {
            ps->hdrFlags |= kHdrRoot | kHdrColon;
        } else {
            CloseKeyword(ps);
            ps->hdrFlags |= kHdrColon;
            if (ps->levelCount >= kScpiMaxLevels) SetErrorOnce(ps, kScpiErrUndefinedHeader);
        }
    } else if (c == '?') {
        if (ps->hdrFlags & kHdrColon) {
            SetErrorOnce(ps, kScpiErrSyntax);
        } else if (Collected(ps)) {
            CloseKeyword(ps);
            ps->hdrFlags |= kHdrQuery | kHdrParams;
            ps->state = kParseLookup;
        } else {
            SetErrorOnce(ps, kScpiErrSeparator);
        }
    } else if (c == ';') {
        if (ps->hdrFlags & kHdrColon) {
            SetErrorOnce(ps, kScpiErrSyntax);
            ps->state = kParseCommandDone;
        } else if (Collected(ps)) {
            CloseKeyword(ps);
            ps->state = kParseLookup;
        }
    } else if (c == '\n') {
        if (ps->hdrFlags & kHdrColon) {
            SetErrorOnce(ps, kScpiErrSyntax);
            ps->hdrFlags |= kHdrEnd;
            ps->state = kParseCommandDone;
        } else if (Collected(ps)) {
            CloseKeyword(ps);
            ps->hdrFlags |= kHdrEnd;
            ps->state = kParseLookup;
        } else if (ifc->replyCount > 0) {
            ps->hdrFlags |= kHdrEnd;
            ps->state = kParseFinished;
        } else {
            // An empty line still ends the program message: the next header starts at the root.
            ps->curNode = CmdSetDesc(ifc)->mainRoot;
            if (ifc->cmd != nullptr) ifc->cmd->suffixCount = 0;
        }
    } else if (IsWhite(c)) {
        if (ps->hdrFlags & kHdrColon) {
            SetErrorOnce(ps, kScpiErrSyntax);
        } else if (Collected(ps)) {
            CloseKeyword(ps);
            ps->hdrFlags |= kHdrParams | kHdrSeparator;
            ps->state = kParseLookup;
        }
    } else if (IsQuote(c)) {
        if (level > 0) {
            SetErrorOnce(ps, kScpiErrUndefinedHeader);
        } else if (Collected(ps)) {
            SetErrorOnce(ps, kScpiErrHeaderSeparator);
        } else {
            SetErrorOnce(ps, kScpiErrSeparator);
        }
        StartQuoteSkip(ps, c);
    } else {
        SetErrorOnce(ps, Collected(ps) ? kScpiErrUndefinedHeader : kScpiErrInvalidChar);
    }
}

}  // namespace

bool ReadByte(ScpiInterface* ifc, uint8_t* c) {
    if (ifc->io.read == nullptr) return false;
    return ifc->io.read(c, 1, 1) >= 1;
}

void SkipTrack(ScpiParseState* ps, uint8_t c) {
    if (c == '"' && !(ps->qsFlags & kQsSingle)) {
        ps->qsFlags ^= kQsDouble;
    } else if (c == '\'' && !(ps->qsFlags & kQsDouble)) {
        ps->qsFlags ^= kQsSingle;
    } else if (c == '#' && !(ps->qsFlags & (kQsDouble | kQsSingle))) {
        ps->qsFlags |= kQsHashSkipped;
    } else if (c == '?' && !(ps->qsFlags & (kQsDouble | kQsSingle | kQsHashSkipped))) {
        ps->skippedQueries++;
    }
}

void SkipByte(ScpiParseState* ps, uint8_t c) {
    if (c != '\n') {
        SkipTrack(ps, c);
    } else {
        // The line feed ends the message even inside an open quote, so that one unbalanced quote
        // never swallows the messages that follow.
        if (ps->qsFlags & (kQsDouble | kQsSingle)) ps->errIndex = kScpiErrInvalidString;
        ps->qsFlags &= static_cast<uint8_t>(~(kQsDouble | kQsSingle));
        ps->hdrFlags |= kHdrEnd;
        ps->state = kParseCommandDone;
    }
    if (ps->qsFlags & (kQsDouble | kQsSingle)) {
        ps->hdrFlags |= kHdrQuoteSkip;
    } else {
        ps->hdrFlags &= static_cast<uint8_t>(~kHdrQuoteSkip);
    }
}

bool HeaderStep(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    for (uint32_t n = 0; n < kScpiBytesPerStep; ++n) {
        uint8_t c;
        if (!ReadByte(ifc, &c)) return n > 0;
        LogAppend(ifc, c);
        HeaderByte(ifc, c);
        if (ps->state != kParseHeader) return true;
    }
    return true;
}

}  // namespace scpi
