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

int IsAllDigits(const char* text, int n) {
    if (text == nullptr || n < 1) return -1;
    // A terminating zero inside the first n characters is not a digit, so a short text fails here too.
    for (int i = 0; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
    }
    return 0;
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

namespace {

// The value of c as a digit of the radix, or -1.
int RadixDigit(char c, uint32_t radix) {
    int d;
    if (c >= '0' && c <= '9') {
        d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        d = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        d = c - 'A' + 10;
    } else {
        return -1;
    }
    return static_cast<uint32_t>(d) < radix ? d : -1;
}

}  // namespace

int ParseRadixNumber(const char* text, uint32_t* result) {
    if (text == nullptr || text[0] == '\0') return kRadixEmpty;
    uint32_t radix;
    switch (text[0]) {
        case 'B':
        case 'b':
            radix = 2;
            break;
        case 'Q':
        case 'q':
            radix = 8;
            break;
        case 'H':
        case 'h':
            radix = 16;
            break;
        default:
            return kRadixNoLetter;
    }
    if (text[1] == '\0') return kRadixBadDigit;
    uint64_t value = 0;
    for (const char* p = text + 1; *p != '\0'; ++p) {
        int d = RadixDigit(*p, radix);
        if (d < 0) return kRadixBadDigit;
        value = value * radix + static_cast<uint32_t>(d);
        // Checked after every digit, so neither the multiplication nor the addition can wrap unseen.
        if (value > UINT32_MAX) return kRadixOverflow;
    }
    if (result != nullptr) *result = static_cast<uint32_t>(value);
    return kRadixOk;
}

void NibbleSwapBuffer(uint8_t* buffer, size_t length) {
    if (buffer == nullptr) return;
    for (size_t i = 0; i < length; ++i) {
        buffer[i] = static_cast<uint8_t>((buffer[i] << 4) | (buffer[i] >> 4));
    }
}
