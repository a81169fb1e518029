#include "common/name_rules.h"

#include <string.h>

static bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

static FileNameFault CharacterFault(unsigned char c) {
    if (IsControl(c)) return FileNameControl;
    switch (c) {
        case '\\':
        case '/':
            return FileNameFolder;
        case ':':
            return FileNameColon;
        case '<':
        case '>':
        case '"':
        case '|':
        case '?':
        case '*':
            return FileNameForbidden;
        default:
            return FileNameUsable;
    }
}

// Windows counts the superscript digits (Windows-1252 0xB9, 0xB2, 0xB3) as
// digits in COM and LPT names too.
static bool IsDeviceDigit(unsigned char c) {
    return (c >= '1' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
}

static bool SameLetters(const char* text, const char* upper, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

// The device names, with any extension and with spaces before the extension.
static bool IsReservedDeviceName(const char* name, size_t length) {
    const void* dot = memchr(name, '.', length);
    size_t stem = dot ? static_cast<size_t>(static_cast<const char*>(dot) - name) : length;
    while (stem > 0 && name[stem - 1] == ' ') --stem;
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices) {
        if (stem == strlen(device) && SameLetters(name, device, stem)) return true;
    }
    return stem == 4 && (SameLetters(name, "COM", 3) || SameLetters(name, "LPT", 3)) &&
           IsDeviceDigit(static_cast<unsigned char>(name[3]));
}

FileNameFault CheckFileName(const char* name, size_t length, char* character) {
    if (length == 0) return FileNameEmpty;
    for (size_t i = 0; i < length; ++i) {
        const FileNameFault fault = CharacterFault(static_cast<unsigned char>(name[i]));
        if (fault == FileNameUsable) continue;
        if (character) *character = name[i];
        return fault;
    }
    for (size_t i = 0; i + 1 < length; ++i) {
        if (name[i] == '.' && name[i + 1] == '.') return FileNameDotDot;
    }
    if (name[length - 1] == '.') return FileNameTrailingDot;
    if (name[length - 1] == ' ') return FileNameTrailingSpace;
    if (IsReservedDeviceName(name, length)) return FileNameDevice;
    return FileNameUsable;
}
