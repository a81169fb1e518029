#include "name_rules.h"

#include "cp1252.h"

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string ForbiddenCharacterProblem(std::string_view name) {
    for (const char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (IsControl(c)) return "contains a control character";
        switch (c) {
            case '\\': return "contains '\\' (a name may not hold a folder)";
            case '/': return "contains '/' (a name may not hold a folder)";
            case ':': return "contains ':' (a drive or stream separator)";
            case '<': case '>': case '"': case '|': case '?': case '*':
                return std::string("contains '") + ch + "', which Windows file names may not hold";
            default: break;
        }
    }
    return {};
}

// Windows counts the superscript digits (Windows-1252 0xB9, 0xB2, 0xB3) as
// digits in COM and LPT names too.
bool IsDeviceDigit(unsigned char c) { return (c >= '1' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3; }

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9 and LPT1-9 name devices, with
// any extension and with spaces before the extension.
bool IsReservedDeviceName(std::string_view name) {
    std::string stem = UpperCp1252(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (stem == device) return true;
    }
    if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0)) {
        return IsDeviceDigit(static_cast<unsigned char>(stem[3]));
    }
    return false;
}

}  // namespace

std::string FileNameProblem(std::string_view name) {
    if (name.empty()) return "is empty";
    std::string problem = ForbiddenCharacterProblem(name);
    if (!problem.empty()) return problem;
    if (name.find("..") != std::string_view::npos) return "contains '..'";
    if (name.back() == '.') return "ends with a dot, which Windows drops from file names";
    if (name.back() == ' ') return "ends with a space, which Windows drops from file names";
    if (IsReservedDeviceName(name)) return "is a reserved device name";
    return {};
}
