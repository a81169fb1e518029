#include "tools/mkinstaller/version_resource.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "common/cp1252.h"
#include "common/little_endian.h"

namespace {

constexpr uint16_t TextValue = 1, BinaryValue = 0;
constexpr uint32_t FixedInfoSignature = 0xFEEF04BD, NtWindows32 = 0x40004, Application = 1;
constexpr uint32_t UsEnglishUnicode = 0x04B00409;  // language 0x0409, code page 1200

void Align4(std::vector<uint8_t>& b) {
    b.resize((b.size() + 3) / 4 * 4, 0);
}
void PutText(std::vector<uint8_t>& b, const std::u16string& text) {
    for (char16_t c : text) AppendLittleEndian(b, c, 2);
    AppendLittleEndian(b, 0, 2);
}

// One block of the resource: its length, the length of its value, the
// value's kind, its key, the value, then its children, each on a 4-byte
// boundary.
std::vector<uint8_t> Block(const std::u16string& key, uint16_t type, const std::vector<uint8_t>& value,
                           uint16_t valueLength, const std::vector<std::vector<uint8_t>>& children = {}) {
    std::vector<uint8_t> b(6, 0);
    PutText(b, key);
    Align4(b);
    b.insert(b.end(), value.begin(), value.end());
    for (const std::vector<uint8_t>& child : children) {
        Align4(b);
        b.insert(b.end(), child.begin(), child.end());
    }
    LittleEndianWriter header(b);
    header.Put16(0, static_cast<uint32_t>(b.size()));
    header.Put16(2, valueLength);
    header.Put16(4, type);
    return b;
}

std::vector<uint8_t> StringBlock(const std::u16string& key, const std::string& cp1252) {
    std::vector<uint8_t> value;
    const std::u16string text = Cp1252ToUtf16(cp1252);
    PutText(value, text);
    return Block(key, TextValue, value, static_cast<uint16_t>(text.size() + 1));
}

// The version's leading numbers: "2.18 beta" gives 2, 18, 0, 0.
std::vector<uint16_t> VersionNumbers(const std::string& version) {
    std::vector<uint16_t> numbers;
    size_t at = 0;
    while (numbers.size() < 4 && at < version.size() && std::isdigit(static_cast<unsigned char>(version[at]))) {
        uint32_t number = 0;
        for (; at < version.size() && std::isdigit(static_cast<unsigned char>(version[at])); ++at) {
            number = std::min<uint32_t>(number * 10 + (version[at] - '0'), 0xFFFF);
        }
        numbers.push_back(static_cast<uint16_t>(number));
        if (at < version.size() && version[at] == '.') ++at;
    }
    numbers.resize(4, 0);
    return numbers;
}

}  // namespace

std::string VersionProblem(const std::string& version) {
    if (version.empty() || !std::isdigit(static_cast<unsigned char>(version[0]))) {
        return "must begin with a number, as 2.18 or 2.18 beta does; its numbers are the file version";
    }
    size_t at = 0;
    for (int part = 0; part < 4 && at < version.size() && std::isdigit(static_cast<unsigned char>(version[at]));
         ++part) {
        const size_t end = version.find_first_not_of("0123456789", at);
        const std::string digits = version.substr(at, end == std::string::npos ? end : end - at);
        uint32_t value = 0;
        for (const char digit : digits) value = std::min<uint32_t>(value * 10 + (digit - '0'), 0x10000);
        if (value > 0xFFFF) return digits + " is over 65535, the most a part of a file version holds";
        at = end == std::string::npos ? version.size() : end;
        if (at < version.size() && version[at] == '.') ++at;
    }
    return {};
}

namespace {

std::vector<uint8_t> FixedInfo(const std::string& version) {
    const std::vector<uint16_t> n = VersionNumbers(version);
    const uint32_t high = uint32_t{n[0]} << 16 | n[1], low = uint32_t{n[2]} << 16 | n[3];
    std::vector<uint8_t> b;
    for (uint32_t v :
         {FixedInfoSignature, 0x10000u, high, low, high, low, 0x3Fu, 0u, NtWindows32, Application, 0u, 0u, 0u}) {
        AppendLittleEndian(b, v, 4);
    }
    return b;
}

std::string Company(const ProductManifest& manifest) {
    for (const std::string& line : manifest.description) {
        if (line.rfind("by ", 0) == 0) return line.substr(3);
    }
    return {};
}

}  // namespace

std::vector<uint8_t> VersionResource(const ProductManifest& manifest) {
    std::vector<std::vector<uint8_t>> strings;
    const std::string company = Company(manifest);
    if (!company.empty()) strings.push_back(StringBlock(u"CompanyName", company));
    strings.push_back(StringBlock(u"FileDescription", manifest.name + " Setup"));
    strings.push_back(StringBlock(u"FileVersion", manifest.version));
    strings.push_back(StringBlock(u"ProductName", manifest.name));
    strings.push_back(StringBlock(u"ProductVersion", manifest.version));
    const std::vector<uint8_t> table = Block(u"040904B0", TextValue, {}, 0, strings);
    std::vector<uint8_t> translation;
    AppendLittleEndian(translation, UsEnglishUnicode, 4);
    const std::vector<uint8_t> var = Block(u"Translation", BinaryValue, translation, 4);
    const std::vector<uint8_t> fixed = FixedInfo(manifest.version);
    return Block(u"VS_VERSION_INFO", BinaryValue, fixed, static_cast<uint16_t>(fixed.size()),
                 {Block(u"StringFileInfo", TextValue, {}, 0, {table}), Block(u"VarFileInfo", TextValue, {}, 0, {var})});
}
