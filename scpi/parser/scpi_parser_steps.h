#pragma once
// The steps of the parse state machine, shared by its source files.
#include <cstdint>

#include "scpi/channels/scpi_interface.h"

namespace scpi {

inline bool IsWhite(uint8_t c) {
    return c <= 32 && c != '\n';
}
inline bool IsLetter(uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsDigitByte(uint8_t c) {
    return c >= '0' && c <= '9';
}
inline bool IsQuote(uint8_t c) {
    return c == '"' || c == '\'';
}
inline char Lower(uint8_t c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
}

// The first error of a command stands.
inline void SetErrorOnce(ScpiParseState* ps, uint8_t index) {
    if (ps->errIndex == 0) ps->errIndex = index;
}

// One byte from the port; false when there is nothing now.
bool ReadByte(ScpiInterface* ifc, uint8_t* c);

// After an error: bytes are dropped up to the line feed, which ends the message (state 4). Quotes are
// tracked so that a message ending inside an open quote is reported as invalid string data.
void SkipByte(ScpiParseState* ps, uint8_t c);
// A skipped byte other than the line feed: quotes open and close, and a "?" outside them is a query
// whose answer is owed all the same (an empty field).
void SkipTrack(ScpiParseState* ps, uint8_t c);

// The form (set or query) of the command found by the lookup.
struct ScpiForm {
    uint32_t min;
    uint32_t max;
    const ScpiParamDesc* desc;
};
ScpiForm FormOf(const ScpiInterface* ifc);

// Clears the lexer for the next parameter.
void ClearLexer(ScpiLexer* lx);

// State steps; those that read return false when the port had nothing.
bool HeaderStep(ScpiInterface* ifc);
void LookupStep(ScpiInterface* ifc);
bool ParamStep(ScpiInterface* ifc);
void ParamCheckStep(ScpiInterface* ifc);

}  // namespace scpi
