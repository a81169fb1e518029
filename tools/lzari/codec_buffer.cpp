#include "tools/lzari/codec_buffer.h"

std::unique_ptr<LzariState> NewCodecState() {
    return std::make_unique<LzariState>();
}
