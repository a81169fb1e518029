#include "tools/mkinstaller/setup_resources.h"

#include "common/product_record.h"
#include "common/cp1252.h"
#include "common/little_endian.h"
#include "tools/mkinstaller/version_resource.h"

namespace {

enum : uint16_t {
    BitmapType = 2,
    IconType = 3,
    RcDataType = 10,
    IconGroupType = 14,
    VersionType = 16,
    ManifestType = 24
};
constexpr size_t IconDirBytes = 6, IconEntryBytes = 16;

ResourceKey Named(const std::string& cp1252) {
    return {0, Cp1252ToUtf16(UpperCp1252(cp1252))};
}
ResourceKey Numbered(uint16_t id) {
    return {id, {}};
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// An .ico file becomes one icon resource per image and a group that lists
// them: the file's directory entries with the image's resource number in
// place of its offset.
void AddIcon(std::vector<Resource>& resources, const std::vector<uint8_t>& ico) {
    LittleEndianReader in(ico);
    const uint16_t count = in.U16(4);
    std::vector<uint8_t> group(ico.begin(), ico.begin() + IconDirBytes);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = IconDirBytes + i * IconEntryBytes;
        const uint32_t size = in.U32(entry + 8), offset = in.U32(entry + 12);
        const uint16_t id = static_cast<uint16_t>(i + 1);
        resources.push_back(
            {Numbered(IconType), Numbered(id), 1033, {ico.begin() + offset, ico.begin() + offset + size}});
        group.insert(group.end(), ico.begin() + entry, ico.begin() + entry + 12);
        AppendLittleEndian(group, id, 2);
    }
    resources.push_back({Numbered(IconGroupType), Named("IC0N"), 1033, group});
}

}  // namespace

std::string ExecutionManifest(bool requireAdministrator) {
    const char* level = requireAdministrator ? "requireAdministrator" : "asInvoker";
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
               "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
               "    <security>\n"
               "      <requestedPrivileges>\n"
               "        <requestedExecutionLevel level=\"") +
           level +
           "\" uiAccess=\"false\"/>\n"
           "      </requestedPrivileges>\n"
           "    </security>\n"
           "  </trustInfo>\n"
           "</assembly>\n";
}

std::string ProductRecord(const ProductManifest& manifest) {
    std::string record;
    for (const std::string& text :
         {manifest.name, manifest.version, manifest.defaultFolder, manifest.group, JoinedDescription(manifest)}) {
        record += text + '\0';
    }
    for (const FileRow& row : manifest.files) {
        if (row.keepExisting) record += static_cast<char>(KeepExistingMark);
        record += row.name + '\0';
    }
    return record + '\0';
}

std::vector<Resource> SetupResources(const ProductManifest& manifest, const PackResult& packed,
                                     const std::vector<uint8_t>& logo, const std::vector<uint8_t>& icon) {
    std::vector<Resource> resources;
    resources.push_back(
        {Numbered(ProductRecordType), Named(PRODUCT_RECORD_NAME), 1033, Bytes(ProductRecord(manifest))});
    for (size_t row = 0; row < manifest.files.size(); ++row) {
        resources.push_back({Numbered(RcDataType), Named(manifest.files[row].name), 1033, packed.files[row].container});
    }
    resources.push_back({Numbered(BitmapType), Named("LOGO"), 1033, logo});
    AddIcon(resources, icon);
    resources.push_back({Numbered(VersionType), Numbered(1), 1033, VersionResource(manifest)});
    resources.push_back(
        {Numbered(ManifestType), Numbered(1), 1033, Bytes(ExecutionManifest(manifest.requireAdministrator))});
    return resources;
}
