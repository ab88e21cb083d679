// Russian texts are kept readable in the sources (UTF-8) and turned into the Windows-1251 bytes
// the program shows, at compile time. A character outside the code page's Cyrillic letters and
// ASCII does not compile.
#pragma once

#include <cstddef>

// Deliberately not constexpr: reaching it in CP1251 stops the compilation.
inline void characterOutsideWindows1251() {}

template <std::size_t N> struct Cp1251Text {
    char bytes[N] = {};
    std::size_t length = 0;
    constexpr const char *c_str() const { return bytes; }
};

template <std::size_t N> consteval Cp1251Text<N> CP1251(const char8_t (&utf8)[N]) {
    Cp1251Text<N> out;
    std::size_t i = 0;
    while (i + 1 < N) { // the last byte is the terminator
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        unsigned code = 0;
        if (lead < 0x80) {
            code = lead;
            i += 1;
        } else if ((lead & 0xE0) == 0xC0) {
            code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            i += 2;
        } else {
            characterOutsideWindows1251(); // only ASCII and Cyrillic letters are converted
            return out;
        }
        char converted = 0;
        if (code < 0x80) {
            converted = static_cast<char>(code);
        } else if (code >= 0x0410 && code <= 0x044F) {
            converted = static_cast<char>(0xC0 + (code - 0x0410));
        } else if (code == 0x0401) {
            converted = static_cast<char>(0xA8); // Ё
        } else if (code == 0x0451) {
            converted = static_cast<char>(0xB8); // ё
        } else {
            characterOutsideWindows1251();
        }
        out.bytes[out.length++] = converted;
    }
    out.bytes[out.length] = '\0';
    return out;
}
