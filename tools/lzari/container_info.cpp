#include "tools/lzari/container_info.h"

#include <string.h>
#include <strings.h>

namespace {

uint32_t ReadLittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Smallest container of each version: magic plus trailers.
constexpr uint64_t MinimumVersion0Size = 8;
constexpr uint64_t MinimumVersion1Size = 16;

}  // namespace

std::string DescribeContainer(const uint8_t* bytes, uint64_t size, ContainerInfo* info) {
    if (size < 4) return "container too short";
    const char* magic = reinterpret_cast<const char*>(bytes);
    int version;
    if (memcmp(magic, "LZar", 4) == 0) {
        version = 0;
    } else if (memcmp(magic, "LzaR", 4) == 0) {
        version = 1;
    } else if (strncasecmp(magic, "LZar", 4) == 0) {
        // Decodable in principle, but no writer produces this spelling, so
        // its layout cannot be trusted.
        return "unknown container version";
    } else {
        return "not an LZARI container";
    }

    const uint64_t minimum = version == 1 ? MinimumVersion1Size : MinimumVersion0Size;
    if (size < minimum) return "container too short";

    const uint8_t* end = bytes + size;
    info->version = version;
    info->containerSize = size;
    if (version == 1) {
        info->decodedSize = ReadLittleEndian32(end - 12);
        info->fileTime = static_cast<uint64_t>(ReadLittleEndian32(end - 4)) << 32 | ReadLittleEndian32(end - 8);
    } else {
        info->decodedSize = ReadLittleEndian32(end - 4);
        info->fileTime = 0;
    }
    return std::string();
}
