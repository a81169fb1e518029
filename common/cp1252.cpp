#include "common/cp1252.h"

#include <cstddef>

namespace {

// Code points of the bytes 0x80..0x9F; 0 marks a byte the code page leaves
// undefined.
const uint16_t HighControlBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Returns the Windows-1252 byte of a code point, or -1.
int ByteOfCodePoint(uint32_t codePoint) {
    if (codePoint < 0x80) return static_cast<int>(codePoint);
    if (codePoint >= 0xA0 && codePoint <= 0xFF) return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (HighControlBlock[i] != 0 && HighControlBlock[i] == codePoint) return 0x80 + i;
    }
    return -1;
}

// Decodes one UTF-8 sequence at text[pos]; advances pos.
uint32_t NextCodePoint(std::string_view text, size_t& pos) {
    const unsigned char lead = static_cast<unsigned char>(text[pos++]);
    int extra = 0;
    uint32_t codePoint = lead;
    if (lead >= 0xF0) {
        extra = 3;
        codePoint = lead & 0x07;
    } else if (lead >= 0xE0) {
        extra = 2;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xC0) {
        extra = 1;
        codePoint = lead & 0x1F;
    }
    while (extra-- > 0 && pos < text.size()) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return codePoint;
}

}  // namespace

Cp1252Result Utf8ToCp1252(std::string_view utf8) {
    Cp1252Result result{true, {}, 0};
    size_t pos = 0;
    while (pos < utf8.size()) {
        const uint32_t codePoint = NextCodePoint(utf8, pos);
        const int byte = ByteOfCodePoint(codePoint);
        if (byte < 0) return {false, {}, codePoint};
        result.text.push_back(static_cast<char>(byte));
    }
    return result;
}

std::string UpperCp1252(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') {
            c = static_cast<char>(b - 0x20);
        } else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {  // à..þ except ÷
            c = static_cast<char>(b - 0x20);
        } else if (b == 0x9A || b == 0x9C || b == 0x9E) {  // š œ ž
            c = static_cast<char>(b - 0x10);
        } else if (b == 0xFF) {  // ÿ
            c = static_cast<char>(0x9F);
        }
    }
    return upper;
}

namespace {

uint32_t CodePointOfByte(char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b < 0xA0 && HighControlBlock[b - 0x80] != 0) return HighControlBlock[b - 0x80];
    return b;
}

}  // namespace

std::u16string Cp1252ToUtf16(std::string_view text) {
    std::u16string utf16;
    for (const char c : text) utf16 += static_cast<char16_t>(CodePointOfByte(c));
    return utf16;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string utf8;
    for (const char c : text) {
        const uint32_t codePoint = CodePointOfByte(c);
        if (codePoint < 0x80) {
            utf8 += static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            utf8 += static_cast<char>(0xC0 | (codePoint >> 6));
            utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (codePoint >> 12));
            utf8 += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }
    return utf8;
}
