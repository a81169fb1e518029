// Windows-1252, the 8-bit code page the installer's texts are shown in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Cp1252Result {
    bool ok;
    std::string text;       // the converted bytes when ok
    uint32_t badCodePoint;  // the first character without a Windows-1252 byte
};

// Converts UTF-8 text (already known to be valid UTF-8) to Windows-1252.
// C1 control characters (U+0080..U+009F) have no place in the code page's
// text and are refused like any other unrepresentable character.
Cp1252Result Utf8ToCp1252(std::string_view utf8);

// Converts Windows-1252 text to UTF-16, as resource names are stored.
std::u16string Cp1252ToUtf16(std::string_view text);

// Converts Windows-1252 text back to UTF-8, for messages.
std::string Cp1252ToUtf8(std::string_view text);

// Upper-cases letters of Windows-1252 text the way resource names are
// spelled: a-z and the accented lower-case letters of the code page.
std::string UpperCp1252(std::string_view text);
