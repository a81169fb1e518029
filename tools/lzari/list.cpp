#include <stdio.h>

#include "tools/lzari/decode_container.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/suffix.h"
#include "common/file_time.h"

namespace {

std::string RatioText(const ContainerInfo& info) {
    if (info.decodedSize == 0) return "-";
    char text[32];
    snprintf(text, sizeof text, "%.3f", static_cast<double>(info.containerSize) / info.decodedSize);
    return text;
}

void PrintRow(const std::string& name, const DecodedFile& member) {
    const ContainerInfo& info = member.info;
    const std::string modified = info.version == 1 ? FileTimeText(info.fileTime, Fraction::Dropped) : "-";
    const std::string mark = member.endFault ? std::string("  [") + member.endFault + "]" : "";
    printf("%7d  %12llu  %12u  %7s  %-20s  %s%s\n", info.version, static_cast<unsigned long long>(info.containerSize),
           info.decodedSize, RatioText(info).c_str(), modified.c_str(), name.c_str(), mark.c_str());
}

}  // namespace

void PrintListHeading() {
    printf("%7s  %12s  %12s  %7s  %-20s  %s\n", "version", "compressed", "decoded", "ratio", "modified", "name");
}

// The trailers alone cannot be trusted: a cut container or one with bytes
// appended has other bytes in their place. Only a container that decodes to
// its size field is listed, a row for each member of joined ones; one with
// bytes after its stream is listed with a mark, and then refused.
void ListFile(const Options& options, const std::string& given) {
    const std::string path = LocateContainer(given, options.suffix);
    InputFile input(path, RulesFor(options, path));
    Progress progress(input.name(), input.sizeHint(), options.quiet);
    const std::vector<DecodedFile> members = DecodeInput(input, &progress, nullptr);
    progress.Finish();
    for (const DecodedFile& member : members) PrintRow(input.name(), member);
    RequireCleanEnd(input.name(), members.back());
}
