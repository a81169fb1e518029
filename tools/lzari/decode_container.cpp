#include "tools/lzari/decode_container.h"

#include "tools/lzari/file_error.h"

namespace {

const char* CauseOf(LzariStatus status) {
    switch (status) {
    case LzariTooShort: return "container too short";
    case LzariBadMagic: return "not an LZARI container";
    case LzariNoMemory: return "out of memory";
    case LzariDamaged: return "damaged container";
    case LzariOk: break;
    }
    return "damaged container";
}

}  // namespace

ContainerInfo DescribeContainerBytes(const std::string& path, const std::vector<uint8_t>& container) {
    const size_t size = container.size();
    const size_t tailSize = size < ContainerTailSize ? size : ContainerTailSize;
    ContainerInfo info;
    const std::string cause = DescribeContainer(container.data(), container.data() + size - tailSize, size, &info);
    if (!cause.empty()) throw FileError(path, cause);
    return info;
}

DecodedFile DecodeContainer(const std::string& path, const std::vector<uint8_t>& container) {
    DecodedFile decoded;
    decoded.info = DescribeContainerBytes(path, container);
    auto state = NewCodecState();
    decoded.bytes.reset(LzariDecodeWith(state.get(), container.data(), static_cast<uint32_t>(container.size()),
                                        &decoded.length));
    if (state->status != LzariOk) throw FileError(path, CauseOf(state->status));
    // The codec checks this itself; a disagreement would mean a wrong file.
    if (decoded.length != decoded.info.decodedSize || state->version != decoded.info.version)
        throw FileError(path, "damaged container");
    return decoded;
}
