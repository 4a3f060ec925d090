// The single-byte text encoding: a character is its byte.
#include "GUI/gui.h"

namespace {

uint16_t GetByte(const char* s) {
    return static_cast<uint8_t>(*s);
}
int OneInText(const char*) {
    return 1;
}
int OneEncoded(uint16_t) {
    return 1;
}
int EncodeByte(char* buffer, uint16_t c) {
    *buffer = static_cast<char>(c);
    return 1;
}

}  // namespace

const GUI_ENCODING GUI_EncodingSingleByte = {GetByte, OneInText, OneEncoded, EncodeByte};
const GUI_ENCODING* GUI_pEncoding = &GUI_EncodingSingleByte;

uint16_t GUI_NextCharacter(const char** text) {
    const uint16_t c = GUI_pEncoding->GetCharacter(*text);
    *text += GUI_pEncoding->GetCharSize(*text);
    return c;
}

int GUI_CharsToBytes(const char* text, int n) {
    int bytes = 0;
    for (int i = 0; i < n; ++i) {
        bytes += GUI_pEncoding->GetCharSize(text + bytes);
    }
    return bytes;
}
