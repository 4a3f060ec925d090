#pragma once
// Compile-time helpers that turn keywords as written in the command list ("CALibration", "AC-INt")
// into keyword records, and that generate numbered keyword runs ("ARB1" ... "ARB253").
#include <array>
#include <cstddef>
#include <cstdint>

#include "scpi/parser/scpi_tree.h"

namespace scpi {

constexpr bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}

// The short form is the leading run of characters that are not lower-case letters.
consteval ScpiKeyword Kw(const char* notation) {
    uint32_t n = 0;
    while (notation[n] != '\0')
        ++n;
    uint32_t s = 0;
    while (s < n && !IsLower(notation[s]))
        ++s;
    return ScpiKeyword{s, n, notation};
}

// Texts of a numbered run: prefix followed by the numbers first .. first + Count - 1, with at least
// `width` digits (zero-padded).
template <size_t Count>
struct NameRun {
    char text[Count][12];
};

template <size_t Count>
consteval NameRun<Count> MakeNameRun(const char* prefix, int first, int width) {
    NameRun<Count> run{};
    for (size_t i = 0; i < Count; ++i) {
        char* out = run.text[i];
        int pos = 0;
        for (const char* p = prefix; *p != '\0'; ++p)
            out[pos++] = *p;
        int number = first + static_cast<int>(i);
        char digits[8] = {};
        int nd = 0;
        do {
            digits[nd++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number > 0);
        while (nd < width)
            digits[nd++] = '0';
        while (nd > 0)
            out[pos++] = digits[--nd];
        out[pos] = '\0';
    }
    return run;
}

// Entries for names[from .. from + count - 1] with values firstValue, firstValue + 1, ...
template <size_t Count, size_t N>
consteval std::array<ScpiChoice, Count> ChoiceRun(const NameRun<N>& names, size_t from, int32_t firstValue) {
    std::array<ScpiChoice, Count> out{};
    for (size_t i = 0; i < Count; ++i) {
        const char* text = names.text[from + i];
        uint32_t len = 0;
        while (text[len] != '\0')
            ++len;
        out[i] = ScpiChoice{ScpiKeyword{len, len, text}, firstValue + static_cast<int32_t>(i)};
    }
    return out;
}

template <size_t N>
consteval std::array<ScpiChoice, N> Choices(const ScpiChoice (&items)[N]) {
    std::array<ScpiChoice, N> out{};
    for (size_t i = 0; i < N; ++i)
        out[i] = items[i];
    return out;
}

// Concatenates parts and appends the end entry.
template <size_t... N>
consteval std::array<ScpiChoice, (N + ... + 0) + 1> ChoiceList(const std::array<ScpiChoice, N>&... parts) {
    std::array<ScpiChoice, (N + ... + 0) + 1> out{};
    size_t pos = 0;
    (([&] {
         for (const ScpiChoice& c : parts)
             out[pos++] = c;
     }()),
     ...);
    out[pos] = ScpiChoice{ScpiKeyword{0, 0, nullptr}, 0};
    return out;
}

}  // namespace scpi
