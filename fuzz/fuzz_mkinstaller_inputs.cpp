// What a pull request may hand mkinstaller: a manifest's text, a logo, an
// icon. The first byte picks which; each must end in a verdict, never in a
// crash, a read or write out of bounds, or an allocation without bound. An
// icon that is accepted goes on into the resource section it becomes.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkinstaller/image_check.h"
#include "tools/mkinstaller/logo_image.h"
#include "tools/mkinstaller/manifest_reader.h"
#include "tools/mkinstaller/resource_section.h"
#include "tools/mkinstaller/setup_resources.h"

namespace {

void PackIcon(const std::vector<uint8_t>& bytes) {
    if (!IconProblem(bytes).empty()) return;
    ProductManifest manifest;
    manifest.version = "1.0";
    BuildResourceSection(SetupResources(manifest, PackResult{true, "", {}}, {}, bytes), 0x1000);
}

void ReadManifestOf(const std::vector<uint8_t>& bytes) {
    ProblemList problems;
    // No folder of that name: every input the text names is not found.
    ReadManifestText(std::string(bytes.begin(), bytes.end()), {"/nonexistent/manifest.toml", {}}, problems);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::vector<uint8_t> bytes(data + 1, data + size);
    switch (data[0] % 3) {
        case 0: LogoFromFile(bytes); break;
        case 1: PackIcon(bytes); break;
        default: ReadManifestOf(bytes); break;
    }
    return 0;
}
