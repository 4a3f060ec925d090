#include "core/system/util/text_util.h"

char* ByteToDecimal(char* dst, uint8_t byte) {
    if (dst == nullptr) return nullptr;
    char digits[3];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + byte % 10);
        byte /= 10;
    } while (byte != 0);
    char* p = dst;
    while (n > 0)
        *p++ = digits[--n];
    *p = '\0';
    return dst;
}

char* IpToString(char* dst, const uint8_t* bytes) {
    if (dst == nullptr || bytes == nullptr) return nullptr;
    char* p = dst;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) *p++ = '.';
        ByteToDecimal(p, bytes[i]);
        p += StrLength(p);
    }
    return dst;
}

size_t StrLength(const char* text) {
    if (text == nullptr) return 0;
    size_t n = 0;
    while (text[n] != '\0')
        ++n;
    return n;
}

bool TextHasControl(const char* text, size_t size) {
    for (size_t i = 0; text != nullptr && i < size && text[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

void NibbleSwapBuffer(uint8_t* buffer, size_t length) {
    if (buffer == nullptr) return;
    for (size_t i = 0; i < length; ++i) {
        buffer[i] = static_cast<uint8_t>((buffer[i] << 4) | (buffer[i] >> 4));
    }
}
