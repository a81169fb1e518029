#include "tools/mkinstaller/stub_image.h"

#include <algorithm>

#include "common/little_endian.h"
#include "release.h"

namespace {

// Offsets in the PE headers, from the start of the optional header; PE32
// and PE32+ differ only where the data directories begin.
constexpr uint32_t OptionalHeaderAt = 24;  // after "PE\0\0" and the file header
constexpr uint32_t SectionAlignmentAt = 32, FileAlignmentAt = 36, InitializedDataAt = 8;
constexpr uint32_t SizeOfImageAt = 56, SizeOfHeadersAt = 60, CheckSumAt = 64;
constexpr uint32_t ResourceDirectory = 2, CertificateDirectory = 4, DebugDirectory = 6;
constexpr uint32_t SectionHeaderBytes = 40;
constexpr uint32_t DosHeaderBytes = 64, PeOffsetAt = 60, SymbolTableAt = 12;
constexpr uint32_t ResourceSectionFlags = 0x40000040;  // initialised data, readable
// The new section and the product's resources, up to about 1 GiB, must stay
// within the 32-bit addresses of the image.
constexpr uint64_t LastSectionEndLimit = 0x80000000;
constexpr uint32_t MaxAlignment = 0x10000;

struct Layout {
    Arch arch;
    uint16_t machine;
    uint16_t magic;
    uint32_t directoryCountAt;
    uint32_t directoriesAt;
    const char* notThisArch;
};

const Layout Layouts[] = {
    {Arch::X86, 0x14C, 0x10B, 92, 96, "is not a 32-bit x86 program"},
    {Arch::X64, 0x8664, 0x20B, 108, 112, "is not a 64-bit x64 program"},
};

const Layout* LayoutOfMachine(uint32_t machine) {
    for (const Layout& layout : Layouts) {
        if (layout.machine == machine) return &layout;
    }
    return nullptr;
}

// A machine whose optional header is of the other kind: the header says
// what the program claims to be.
const char* MismatchProblem(const Layout& machine, uint32_t magic) {
    for (const Layout& layout : Layouts) {
        if (layout.magic == magic) return layout.notThisArch;
    }
    return machine.notThisArch;
}

uint32_t Get16(const std::vector<uint8_t>& b, size_t at) {
    return LittleEndianReader(b).U16(at);
}
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return LittleEndianReader(b).U32(at);
}
void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    LittleEndianWriter(b).Put16(at, v);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    LittleEndianWriter(b).Put32(at, v);
}
bool IsPowerOfTwoUpTo(uint32_t value, uint32_t limit) {
    return value != 0 && (value & (value - 1)) == 0 && value <= limit;
}

uint32_t Align(uint32_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

struct Headers {
    const Layout* layout = nullptr;
    uint32_t pe = 0;        // "PE\0\0"
    uint32_t optional = 0;  // the optional header
    uint32_t sections = 0;  // the section table
    uint32_t sectionCount = 0;
};

// The end of the last section in the file and in memory; 64 bits, so that
// no hostile header wraps them around.
struct Extent {
    uint64_t fileEnd = 0;
    uint64_t memoryEnd = 0;
    uint64_t firstRaw = UINT64_MAX;
};

Extent SectionsExtent(const std::vector<uint8_t>& image, const Headers& h) {
    Extent extent;
    for (uint32_t i = 0; i < h.sectionCount; ++i) {
        const size_t at = h.sections + i * SectionHeaderBytes;
        const uint64_t virtualSize = Get32(image, at + 8), rva = Get32(image, at + 12);
        const uint64_t rawSize = Get32(image, at + 16), raw = Get32(image, at + 20);
        extent.memoryEnd = std::max(extent.memoryEnd, rva + std::max(virtualSize, rawSize));
        if (rawSize == 0) continue;
        extent.fileEnd = std::max(extent.fileEnd, raw + rawSize);
        extent.firstRaw = std::min(extent.firstRaw, raw);
    }
    return extent;
}

// Checks that the headers up to the section table and one more entry lie in
// the file, and that machine and optional header agree.
std::string ReadHeaders(const std::vector<uint8_t>& image, Headers& h) {
    if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z') return "is not a Windows program";
    h.pe = Get32(image, 60);
    if (uint64_t{h.pe} + OptionalHeaderAt + 2 > image.size() || Get32(image, h.pe) != 0x4550) {
        return "is not a Windows program";
    }
    h.layout = LayoutOfMachine(Get16(image, h.pe + 4));
    if (h.layout == nullptr) return "is not an x86 or x64 Windows program";
    h.optional = h.pe + OptionalHeaderAt;
    h.sectionCount = Get16(image, h.pe + 6);
    const uint32_t optionalSize = Get16(image, h.pe + 20);
    h.sections = h.optional + optionalSize;
    const uint32_t magic = Get16(image, h.optional);
    if (magic != h.layout->magic) return MismatchProblem(*h.layout, magic);
    const uint32_t directoriesEnd = h.layout->directoriesAt + 8 * (CertificateDirectory + 1);
    if (uint64_t{h.sections} + uint64_t{h.sectionCount + 1} * SectionHeaderBytes > image.size() ||
        uint64_t{h.optional} + directoriesEnd > image.size()) {
        return "is cut short";
    }
    if (optionalSize < directoriesEnd ||
        Get32(image, h.optional + h.layout->directoryCountAt) <= CertificateDirectory) {
        return h.layout->notThisArch;
    }
    return "";
}

uint32_t DirectoryAt(const Headers& h, uint32_t directory) {
    return h.optional + h.layout->directoriesAt + 8 * directory;
}

// The headers of a setup program follow the DOS header at once: the DOS
// program a linker puts between them is dropped, and with it, for a PE32
// stub of four sections, a whole file sector of headers. Returns how large
// the headers then are, the new section's entry included; zero when they
// cannot move: something other than headers lies before the first
// section's data, something is found by its offset in the file (a COFF
// symbol table, debug data), or they would grow.
uint32_t PackedHeadersSize(const std::vector<uint8_t>& image, const Headers& h, const Extent& extent) {
    const uint32_t size = Get32(image, h.optional + SizeOfHeadersAt);
    const uint32_t tableEnd = DosHeaderBytes + (h.sections - h.pe) + (h.sectionCount + 1) * SectionHeaderBytes;
    const uint32_t packed = Align(tableEnd, Get32(image, h.optional + FileAlignmentAt));
    const bool hasDebugData = Get32(image, h.optional + h.layout->directoryCountAt) > DebugDirectory &&
                              Get32(image, DirectoryAt(h, DebugDirectory) + 4) != 0;
    if (h.pe < DosHeaderBytes || size > image.size() || extent.firstRaw < size ||
        Get32(image, h.pe + 4 + SymbolTableAt) != 0 || hasDebugData || packed > size) {
        return 0;
    }
    return packed;
}

// Moves the headers to follow the DOS header and every section's data down
// by what the headers shrink by; the sections' addresses stay.
void PackHeaders(std::vector<uint8_t>& image, Headers& h, uint32_t packedSize) {
    const uint32_t size = Get32(image, h.optional + SizeOfHeadersAt), shift = size - packedSize;
    std::vector<uint8_t> packed(image.begin(), image.begin() + DosHeaderBytes);
    packed.insert(packed.end(), image.begin() + h.pe, image.begin() + h.sections + h.sectionCount * SectionHeaderBytes);
    packed.resize(packedSize, 0);
    packed.insert(packed.end(), image.begin() + size, image.end());
    image.swap(packed);

    const uint32_t moved = h.pe - DosHeaderBytes;
    h.pe -= moved;
    h.optional -= moved;
    h.sections -= moved;
    Put32(image, PeOffsetAt, h.pe);
    Put32(image, h.optional + SizeOfHeadersAt, packedSize);
    for (uint32_t i = 0; i < h.sectionCount; ++i) {
        const size_t at = h.sections + i * SectionHeaderBytes;
        if (Get32(image, at + 16) != 0) Put32(image, at + 20, Get32(image, at + 20) - shift);
    }
}

// The checksum the loader verifies for drivers and some tools compare: the
// 16-bit one's-complement sum of the file, read with the checksum field as
// zero, plus the file's length; an odd last byte counts as a word of its own.
uint32_t PeChecksum(const std::vector<uint8_t>& image) {
    LittleEndianReader in(image);
    uint64_t sum = 0;
    for (size_t i = 0; i < image.size(); i += 2) {
        sum += in.Read(i, std::min<size_t>(2, image.size() - i));
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<uint32_t>(sum) + static_cast<uint32_t>(image.size());
}

}  // namespace

std::optional<Arch> ImageArch(const std::vector<uint8_t>& image) {
    Headers h;
    if (!ReadHeaders(image, h).empty()) return std::nullopt;
    return h.layout->arch;
}

std::string StubReleaseMark() {
    return "mkinstaller stub " INSTALLER_RELEASE;
}

std::string StubProblem(const std::vector<uint8_t>& image) {
    Headers h;
    const std::string problem = ReadHeaders(image, h);
    if (!problem.empty()) return problem;
    if (Get32(image, DirectoryAt(h, ResourceDirectory) + 4) != 0) return "already carries resources";
    if (Get32(image, DirectoryAt(h, CertificateDirectory) + 4) != 0) return "is signed";
    if (!IsPowerOfTwoUpTo(Get32(image, h.optional + SectionAlignmentAt), MaxAlignment) ||
        !IsPowerOfTwoUpTo(Get32(image, h.optional + FileAlignmentAt), MaxAlignment)) {
        return "has a section or file alignment that is not a power of two up to 64 KiB";
    }
    const Extent extent = SectionsExtent(image, h);
    if (h.sectionCount == 0 || extent.fileEnd > image.size()) return "is cut short";
    if (extent.fileEnd != image.size()) return "has data after its sections";
    const uint32_t tableEnd = h.sections + (h.sectionCount + 1) * SectionHeaderBytes;
    const bool roomWhereTheyAre = tableEnd <= Get32(image, h.optional + SizeOfHeadersAt) && tableEnd <= extent.firstRaw;
    if ((!roomWhereTheyAre && PackedHeadersSize(image, h, extent) == 0) || extent.memoryEnd > LastSectionEndLimit ||
        h.sectionCount == UINT16_MAX) {
        return "has no room for another section";
    }
    const std::string mark = StubReleaseMark();
    if (std::search(image.begin(), image.end(), mark.begin(), mark.end()) == image.end()) {
        return "is not a stub of this release (" + mark + ")";
    }
    return "";
}

std::string AddResourceSection(std::vector<uint8_t>& image, const std::vector<Resource>& resources) {
    Headers h;
    ReadHeaders(image, h);
    const Extent extent = SectionsExtent(image, h);
    const uint32_t sectionAlignment = Get32(image, h.optional + SectionAlignmentAt);
    const uint32_t fileAlignment = Get32(image, h.optional + FileAlignmentAt);
    const uint32_t rva = Align(static_cast<uint32_t>(extent.memoryEnd), sectionAlignment);
    const std::vector<uint8_t> section = BuildResourceSection(resources, rva);
    if (section.empty())
        return "the product's resources would make a setup program of over 2 GiB, more than Windows loads";
    const uint32_t size = static_cast<uint32_t>(section.size());
    if (const uint32_t packedSize = PackedHeadersSize(image, h, extent)) PackHeaders(image, h, packedSize);
    const uint32_t raw = Align(static_cast<uint32_t>(image.size()), fileAlignment);
    const uint32_t rawSize = Align(size, fileAlignment);

    const size_t header = h.sections + h.sectionCount * SectionHeaderBytes;
    const char name[8] = {'.', 'r', 's', 'r', 'c'};
    std::copy(name, name + 8, image.begin() + header);
    Put32(image, header + 8, size);
    Put32(image, header + 12, rva);
    Put32(image, header + 16, rawSize);
    Put32(image, header + 20, raw);
    Put32(image, header + 36, ResourceSectionFlags);
    Put16(image, h.pe + 6, h.sectionCount + 1);
    Put32(image, h.optional + SizeOfImageAt, Align(rva + size, sectionAlignment));
    Put32(image, h.optional + InitializedDataAt, Get32(image, h.optional + InitializedDataAt) + rawSize);
    Put32(image, DirectoryAt(h, ResourceDirectory), rva);
    Put32(image, DirectoryAt(h, ResourceDirectory) + 4, size);

    image.resize(raw, 0);
    image.insert(image.end(), section.begin(), section.end());
    image.resize(raw + rawSize, 0);
    Put32(image, h.optional + CheckSumAt, 0);
    Put32(image, h.optional + CheckSumAt, PeChecksum(image));
    return "";
}
