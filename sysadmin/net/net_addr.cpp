#include "sysadmin/net/net_addr.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxText = 127;
constexpr int kMaxFieldDigits = 16;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int ParseDottedQuad(const char* text, uint8_t out[4]) {
    if (text == nullptr) return -1;
    char field[kMaxFieldDigits + 1] = {};
    int digits = 0, fields = 0;
    for (int i = 0;; ++i) {
        if (i > kMaxText) return -1;
        const char c = text[i];
        if (IsDigit(c)) {
            if (digits == kMaxFieldDigits) return -1;
            field[digits++] = c;
            continue;
        }
        if (c != '.' && c != '\0') return -1;
        if (digits == 0 || fields == 4) return -1;
        field[digits] = '\0';
        const unsigned long value = std::strtoul(field, nullptr, 10);
        if (value > 255) return -1;
        if (out != nullptr) out[fields] = static_cast<uint8_t>(value);
        ++fields;
        digits = 0;
        if (c == '\0') return fields == 4 ? 0 : -1;
    }
}

int IpTextValidate(const char* text) {
    return ParseDottedQuad(text, nullptr);
}

const char* ParseDottedQuadLoose(const char* text, uint8_t out[4]) {
    const char* p = text;
    for (int f = 0; f < 4; ++f) {
        char field[4] = {};
        int n = 0;
        while (*p != '.' && *p != '\0' && *p != '\r' && *p != '\n' && n < 3)
            field[n++] = *p++;
        while (*p != '.' && *p != '\0' && *p != '\r' && *p != '\n')
            ++p;  // a longer field keeps its first 3 characters
        out[f] = static_cast<uint8_t>(std::atoi(field));
        if (*p != '.') break;
        ++p;
    }
    return text;
}

const char* FindFirstDigit(const char* text, int n) {
    if (text == nullptr || n < 1) return nullptr;
    for (int i = 0; i < n; ++i) {
        if (text[i] == '\0') return nullptr;
        if (IsDigit(text[i])) return text + i;
    }
    return text + n;
}

size_t IpTextExtract(const char* src, char* dst, size_t n) {
    constexpr size_t kMaxAddr = 16;
    char text[kMaxAddr + 1] = {};
    size_t len = 0, i = 0;
    while (i < n && src[i] != '\0' && !IsDigit(src[i]))
        ++i;
    for (; i < n && src[i] != '\0'; ++i) {
        const char c = src[i];
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') break;
        if (!IsDigit(c) && c != '.') return 0;
        if (len == kMaxAddr) return 0;
        text[len++] = c;
    }
    if (len == 0 || IpTextValidate(text) != 0) return 0;
    std::memcpy(dst, text, len + 1);
    return len;
}

int MacTextValidate(const char* text) {
    if (text == nullptr) return -1;
    int separators = 0, digits = 0;
    for (int i = 0;; ++i) {
        if (i > kMaxText) return -1;
        const char c = text[i];
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            if (++digits > 2) return -1;
            continue;
        }
        if (c != '-' && c != '\0') return -1;
        ++separators;
        digits = 0;
        if (c == '\0') return separators == 6 ? 0 : -1;
    }
}
