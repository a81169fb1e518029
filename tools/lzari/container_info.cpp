#include "tools/lzari/container_info.h"

#include "codec/lzari.h"

std::string DescribeContainer(const uint8_t* bytes, uint32_t size, ContainerInfo* info) {
    LzariContainer container;
    const LzariStatus status = LzariDescribeContainer(bytes, size, &container);
    // Decodable in principle, but no writer produces this spelling, so its
    // layout cannot be trusted.
    if (container.magic == LzariMagicCaseless) return "unknown container version";
    if (status == LzariBadMagic) return "not an LZARI container";
    if (status != LzariOk) return "container too short";

    info->version = container.version;
    info->containerSize = size;
    info->decodedSize = container.decodedSize;
    info->fileTime = static_cast<uint64_t>(container.fileTimeHigh) << 32 | container.fileTimeLow;
    info->streamEnd = container.streamEnd;
    return std::string();
}
