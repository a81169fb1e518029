#include "tools/mkinstaller/resource_section.h"

#include <algorithm>
#include <functional>
#include <map>
#include <type_traits>

#include "common/little_endian.h"

namespace {

struct KeyOrder {
    bool operator()(const ResourceKey& a, const ResourceKey& b) const {
        const bool aNamed = !a.name.empty(), bNamed = !b.name.empty();
        if (aNamed != bNamed) return aNamed;
        return aNamed ? a.name < b.name : a.id < b.id;
    }
};

using Languages = std::map<uint16_t, const std::vector<uint8_t>*>;
using Names = std::map<ResourceKey, Languages, KeyOrder>;
using Types = std::map<ResourceKey, Names, KeyOrder>;

constexpr uint32_t DirectoryBytes = 16, EntryBytes = 8, DataEntryBytes = 16;
constexpr uint32_t SubdirectoryBit = 0x80000000u, NameBit = 0x80000000u;

uint32_t Align(uint32_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

class SectionWriter {
public:
    explicit SectionWriter(uint32_t size) : bytes_(size, 0), fields_(bytes_) {}
    void Put16(uint32_t at, uint32_t value) { fields_.Put16(at, value); }
    void Put32(uint32_t at, uint32_t value) { fields_.Put32(at, value); }
    void PutBytes(uint32_t at, const std::vector<uint8_t>& data) {
        std::copy(data.begin(), data.end(), bytes_.begin() + at);
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    LittleEndianWriter fields_;
};

// Where each part goes: directories first (root, then the types' and the
// names' directories), then the data entries, the strings and the data.
struct Layout {
    std::map<const Names*, uint32_t> typeDirectories;
    std::map<const Languages*, uint32_t> nameDirectories;
    uint32_t dataEntries = 0;
    std::map<std::u16string, uint32_t> strings;
    uint32_t data = 0;
    uint64_t size = 0;  // may pass 4 GiB: the caller refuses that before writing
};

void AddString(Layout& layout, const ResourceKey& key) {
    if (!key.name.empty()) layout.strings.emplace(key.name, 0);
}

Layout PlanLayout(const Types& types, const std::vector<Resource>& resources) {
    Layout layout;
    // The directories, entries and names of at most 65,535 rows stay far
    // below 4 GiB; the data may not.
    uint32_t at = DirectoryBytes + EntryBytes * types.size();
    for (const auto& [type, names] : types) {
        AddString(layout, type);
        layout.typeDirectories[&names] = at;
        at += DirectoryBytes + EntryBytes * names.size();
    }
    for (const auto& [type, names] : types) {
        for (const auto& [name, languages] : names) {
            AddString(layout, name);
            layout.nameDirectories[&languages] = at;
            at += DirectoryBytes + EntryBytes * languages.size();
        }
    }
    layout.dataEntries = at;
    at += DataEntryBytes * resources.size();
    for (auto& [text, offset] : layout.strings) {
        offset = at;
        at += 2 + 2 * text.size();
    }
    layout.data = Align(at, 8);
    uint64_t end = layout.data;
    for (const Resource& resource : resources) end = (end + resource.data.size() + 7) / 8 * 8;
    layout.size = end;
    return layout;
}

void PutDirectory(SectionWriter& out, uint32_t at, size_t named, size_t numbered) {
    out.Put16(at + 12, static_cast<uint32_t>(named));
    out.Put16(at + 14, static_cast<uint32_t>(numbered));
}

template <typename Map>
void PutEntries(SectionWriter& out, const Layout& layout, uint32_t at, const Map& entries,
                const std::function<uint32_t(const typename Map::mapped_type&)>& target) {
    size_t named = 0;
    uint32_t entry = at + DirectoryBytes;
    for (const auto& [key, value] : entries) {
        if constexpr (std::is_same_v<typename Map::key_type, ResourceKey>) {
            named += !key.name.empty();
            out.Put32(entry, key.name.empty() ? key.id : (NameBit | layout.strings.at(key.name)));
        } else {
            out.Put32(entry, key);
        }
        out.Put32(entry + 4, target(value));
        entry += EntryBytes;
    }
    PutDirectory(out, at, named, entries.size() - named);
}

}  // namespace

std::vector<uint8_t> BuildResourceSection(const std::vector<Resource>& resources, uint32_t sectionRva) {
    Types types;
    for (const Resource& resource : resources) types[resource.type][resource.name][resource.language] = &resource.data;
    const Layout layout = PlanLayout(types, resources);
    if (layout.size > MaxResourceSectionBytes - sectionRva) return {};
    SectionWriter out(static_cast<uint32_t>(layout.size));

    PutEntries<Types>(out, layout, 0, types,
                      [&](const Names& names) { return SubdirectoryBit | layout.typeDirectories.at(&names); });
    uint32_t dataEntry = layout.dataEntries, data = layout.data;
    for (const auto& [type, names] : types) {
        PutEntries<Names>(out, layout, layout.typeDirectories.at(&names), names, [&](const Languages& languages) {
            return SubdirectoryBit | layout.nameDirectories.at(&languages);
        });
        for (const auto& [name, languages] : names) {
            PutEntries<Languages>(out, layout, layout.nameDirectories.at(&languages), languages,
                                  [&](const std::vector<uint8_t>* bytes) {
                                      out.Put32(dataEntry, sectionRva + data);
                                      out.Put32(dataEntry + 4, static_cast<uint32_t>(bytes->size()));
                                      out.PutBytes(data, *bytes);
                                      data = Align(data + static_cast<uint32_t>(bytes->size()), 8);
                                      dataEntry += DataEntryBytes;
                                      return dataEntry - DataEntryBytes;
                                  });
        }
    }
    for (const auto& [text, offset] : layout.strings) {
        out.Put16(offset, static_cast<uint32_t>(text.size()));
        for (size_t i = 0; i < text.size(); ++i) out.Put16(offset + 2 + 2 * static_cast<uint32_t>(i), text[i]);
    }
    return out.Take();
}
