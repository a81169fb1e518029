#include <stdio.h>

#include "tools/lzari/container_info.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/file_times.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"

namespace {

// Reads only the magic and the trailers: listing never decodes.
ContainerInfo ReadTrailers(InputFile& input) {
    uint8_t head[ContainerHeadSize] = {};
    uint8_t tail[ContainerTailSize] = {};
    const uint64_t size = input.size();
    const size_t headSize = size < ContainerHeadSize ? static_cast<size_t>(size) : ContainerHeadSize;
    const size_t tailSize = size < ContainerTailSize ? static_cast<size_t>(size) : ContainerTailSize;
    input.ReadAt(0, head, headSize);
    input.ReadAt(size - tailSize, tail, tailSize);
    ContainerInfo info;
    const std::string cause = DescribeContainer(head, tail, size, &info);
    if (!cause.empty()) throw FileError(input.path(), cause);
    return info;
}

std::string RatioText(const ContainerInfo& info) {
    if (info.decodedSize == 0) return "-";
    char text[32];
    snprintf(text, sizeof text, "%.3f", static_cast<double>(info.containerSize) / info.decodedSize);
    return text;
}

}  // namespace

void PrintListHeading() {
    printf("%7s  %12s  %12s  %7s  %-20s  %s\n", "version", "compressed", "decoded", "ratio", "modified", "name");
}

void ListFile(const std::string& path) {
    InputFile input(path);
    const ContainerInfo info = ReadTrailers(input);
    const std::string modified = info.version == 1 ? FormatFileTimeUtc(info.fileTime) : "-";
    printf("%7d  %12llu  %12u  %7s  %-20s  %s\n", info.version,
           static_cast<unsigned long long>(info.containerSize), info.decodedSize, RatioText(info).c_str(),
           modified.c_str(), path.c_str());
}
