// A PE resource section built from a list of resources: the directory tree
// of types, names and languages, the data entries, the name strings and the
// data, in the order and form the Windows loader reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A resource type or name: a number, or a text when `name` is not empty.
// Texts are stored in upper case, as FindResource looks them up.
struct ResourceKey {
    uint16_t id = 0;
    std::u16string name;
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 1033;
    std::vector<uint8_t> data;
};

// How far into the image a resource section may reach: the loader maps a
// program of at most 2 GiB.
constexpr uint64_t MaxResourceSectionBytes = 0x80000000u;

// The section's bytes for a section loaded at `sectionRva`. Within each
// level, texts come before numbers, each in ascending order, which is the
// order the loader's binary search expects. Empty when the section would
// reach past MaxResourceSectionBytes.
std::vector<uint8_t> BuildResourceSection(const std::vector<Resource>& resources, uint32_t sectionRva);
