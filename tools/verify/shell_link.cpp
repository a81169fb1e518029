#include "tools/verify/shell_link.h"

#include "common/cp1252.h"
#include "common/little_endian.h"

namespace {

enum : uint32_t {
    HasTargetIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};
const uint32_t HeaderSize = 0x4C;
const uint8_t ShellLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
const uint32_t VolumeIdAndLocalBasePath = 0x1;

std::string Utf8Of(const std::u16string& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                    static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return out;
}

// The link's fields and texts; the first read past the end sticks.
class Bytes {
public:
    explicit Bytes(const std::vector<uint8_t>& bytes) : bytes_(bytes), fields_(bytes) {}
    bool Ok() const { return fields_.ok(); }
    void Fail() { fields_.Fail(); }
    bool Has(size_t at, size_t size) { return fields_.Has(at, size); }
    uint32_t U16(size_t at) { return fields_.U16(at); }
    uint32_t U32(size_t at) { return fields_.U32(at); }
    // COUNT characters of WIDTH bytes (1: Windows-1252, 2: UTF-16), as UTF-8.
    std::string Text(size_t at, size_t count, size_t width) {
        if (!Has(at, count * width)) return {};
        if (width == 1) return Cp1252ToUtf8(std::string(bytes_.begin() + at, bytes_.begin() + at + count));
        std::u16string units;
        for (size_t i = 0; i < count; ++i) units += static_cast<char16_t>(U16(at + 2 * i));
        return Utf8Of(units);
    }
    // Characters up to a NUL that lies before END.
    std::string TextZ(size_t at, size_t end, size_t width) {
        size_t count = 0;
        while (at + (count + 1) * width <= end && fields_.Read(at + count * width, width) != 0) ++count;
        if (at + (count + 1) * width > end) Fail();
        return Text(at, count, width);
    }

private:
    const std::vector<uint8_t>& bytes_;
    LittleEndianReader fields_;
};

// The local path of the link information at AT: its base path and suffix,
// in Unicode when the structure carries both forms. Returns its size, 0 when
// it is damaged.
uint32_t ReadLinkInfo(Bytes& in, size_t at, std::string& target) {
    const uint32_t size = in.U32(at), headerSize = in.U32(at + 4);
    const size_t end = at + size;
    if (!in.Has(at, size) || size < 0x1C || headerSize < 0x1C || headerSize > size) return 0;
    if ((in.U32(at + 8) & VolumeIdAndLocalBasePath) == 0) return size;
    const bool unicode = headerSize >= 0x24;
    const uint32_t base = in.U32(at + (unicode ? 0x1C : 0x10)), suffix = in.U32(at + (unicode ? 0x20 : 0x18));
    const size_t width = unicode ? 2 : 1;
    target = in.TextZ(at + base, end, width) + in.TextZ(at + suffix, end, width);
    return size;
}

}  // namespace

std::optional<ShellLink> ParseShellLink(const std::vector<uint8_t>& bytes, std::string& error) {
    Bytes in(bytes);
    if (in.U32(0) != HeaderSize || !in.Has(0, HeaderSize) ||
        !std::equal(ShellLinkClass, ShellLinkClass + 16, &bytes[4])) {
        error = "not a shell link (no link header)";
        return std::nullopt;
    }
    ShellLink link;
    const uint32_t flags = in.U32(0x14);
    link.showCommand = in.U32(0x3C);
    size_t at = HeaderSize;
    if (flags & HasTargetIdList) at += 2 + in.U16(at);
    if (flags & HasLinkInfo) {
        const uint32_t size = ReadLinkInfo(in, at, link.target);
        if (size == 0) in.Fail();
        at += size;
    }
    std::string* const strings[] = {&link.description, nullptr, &link.workingFolder, nullptr, nullptr};
    const uint32_t stringFlags[] = {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation};
    for (size_t i = 0; i < 5 && in.Ok(); ++i) {
        if ((flags & stringFlags[i]) == 0) continue;
        const uint32_t count = in.U16(at);
        const size_t width = (flags & IsUnicode) ? 2 : 1;
        std::string text = in.Text(at + 2, count, width);
        // Wine counts a terminating NUL in; the count should leave it out.
        while (!text.empty() && text.back() == '\0') text.pop_back();
        if (strings[i]) *strings[i] = text;
        at += 2 + count * width;
    }
    if (!in.Ok()) {
        error = "damaged or cut short";
        return std::nullopt;
    }
    return link;
}
