#pragma once
// What every command handler uses: the parsed command's accessors, reply formatting, the refusal of a
// form a handler does not implement, and the identity text.
#include <cstdint>

struct ScpiInterface;

constexpr uint32_t kScpiIdnSize = 128;
// The identity text answered by *IDN?: manufacturer, model, serial number, firmware version.
extern char g_IdnBuf[kScpiIdnSize];
// Formats g_IdnBuf from the brand, the model name and the serial number (at start-up and after the
// serial number or the brand changes).
void BuildIdnString();

// Accessors of the parsed command; -1 for a null interface or an index beyond the parameter count.
int scpiIsQuery(const ScpiInterface* ifc);
int scpiGetParamCount(const ScpiInterface* ifc);
// Header suffix value i, -1 when the header had none there (or for a null interface).
int scpiGetSuffix(const ScpiInterface* ifc, uint32_t i);
// Type tests of parameter i: 1 when it has that type, else 0 (-1 for a null interface or no such item).
int scpiIsInt(const ScpiInterface* ifc, uint32_t i);
int scpiIsBlock(const ScpiInterface* ifc, uint32_t i);
// 0 and the value when parameter i is an integer (a choice), else -1.
int scpiGetInt(const ScpiInterface* ifc, uint32_t i, int32_t* out);
int scpiGetChoice(const ScpiInterface* ifc, uint32_t i, int32_t* out);
// 0 and the f64 value when parameter i is a real number, else -1.
int scpiGetReal(const ScpiInterface* ifc, uint32_t i, double* out);
// The item's length and a pointer to its bytes when parameter i is a string (a block), else -1.
int scpiGetString(const ScpiInterface* ifc, uint32_t i, const char** out);
int scpiGetBlock(const ScpiInterface* ifc, uint32_t i, const uint8_t** out);

// Formats a 32-bit value into buffer (at least 16 bytes) and returns its length. Mode bit 7: a sign
// character first, then the magnitude. Mode 0: thousandths with three decimals ("1.234"); mode 1: plain
// decimal; any other mode: eight upper-case hexadecimal digits.
int scpiFormatInt(char* buffer, int32_t value, uint32_t mode);
constexpr uint32_t kFmtSign = 0x80;
constexpr uint32_t kFmtDecimal = 1;

// Reports "-113,"Undefined header"" for a form the handler does not implement; returns 0.
int scpiRefuseHeader(ScpiInterface* ifc);

namespace scpi {

// The item type of parameter i (ScpiItemType), -1 when there is none.
int ParamType(const ScpiInterface* ifc, uint32_t i);
// A register reply: the value as a signed decimal ("+0"), separated from earlier replies.
int WriteSignedReply(ScpiInterface* ifc, int32_t value);
// A text reply, separated from earlier replies.
int WriteTextReply(ScpiInterface* ifc, const char* text);

}  // namespace scpi
