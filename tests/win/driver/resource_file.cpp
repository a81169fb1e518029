#include "tests/win/driver/resource_file.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string WindowsError(const char* what)
{
    return std::string(what) + " failed with Windows error " + std::to_string(GetLastError());
}

// A resource type or name as the API wants it: an integer atom or text.
struct ResourceId {
    std::string text;
    WORD number = 0;
    LPCSTR get() const { return number ? MAKEINTRESOURCEA(number) : text.c_str(); }
};

bool ParseNumber(const char* text, WORD& value)
{
    char* end = nullptr;
    long parsed = std::strtol(text, &end, 0);
    if (*text == '\0' || *end != '\0' || parsed <= 0 || parsed > 0xFFFF) return false;
    value = static_cast<WORD>(parsed);
    return true;
}

ResourceId ParseType(const std::string& type)
{
    static const struct { const char* name; WORD id; } known[] = {
        {"BITMAP", 2}, {"ICON", 3}, {"RCDATA", 10}, {"GROUP_ICON", 14}};
    ResourceId id;
    for (const auto& k : known)
        if (_stricmp(k.name, type.c_str()) == 0) id.number = k.id;
    if (!id.number && !ParseNumber(type.c_str(), id.number)) id.text = type;
    return id;
}

ResourceId ParseName(const std::string& name)
{
    ResourceId id;
    if (!(name.size() > 1 && name[0] == '#' && ParseNumber(name.c_str() + 1, id.number))) id.text = name;
    return id;
}

// One resource of a module, copied out so the file can be rebuilt.
struct ResourceEntry {
    ResourceId type, name;
    WORD language;
    std::vector<char> data;
};

ResourceId IdFromApi(LPCSTR id)
{
    ResourceId result;
    if (IS_INTRESOURCE(id)) result.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
    else result.text = id;
    return result;
}

bool SameId(const ResourceId& a, const ResourceId& b)
{
    return a.number ? a.number == b.number : (!b.number && _stricmp(a.text.c_str(), b.text.c_str()) == 0);
}

BOOL CALLBACK CollectLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    auto* entries = reinterpret_cast<std::vector<ResourceEntry>*>(param);
    HRSRC found = FindResourceExA(module, type, name, language);
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    ResourceEntry entry{IdFromApi(type), IdFromApi(name), language, {}};
    if (bytes) entry.data.assign(bytes, bytes + SizeofResource(module, found));
    entries->push_back(entry);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EnumResourceLanguagesA(module, type, name, CollectLanguage, param);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param)
{
    EnumResourceNamesA(module, type, CollectName, param);
    return TRUE;
}

bool ReadAllResources(const std::string& exePath, std::vector<ResourceEntry>& entries, std::string& error)
{
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        error = "cannot open " + exePath + ": " + WindowsError("LoadLibraryExA");
        return false;
    }
    EnumResourceTypesA(module, CollectType, reinterpret_cast<LONG_PTR>(&entries));
    FreeLibrary(module);
    return true;
}

// Rewrites the whole resource section from ENTRIES. Wine's UpdateResourceA
// with null data reports success but keeps the resource, so a deletion is
// done by writing every other resource anew.
bool WriteAllResources(const std::string& exePath, const std::vector<ResourceEntry>& entries, std::string& error)
{
    HANDLE update = BeginUpdateResourceA(exePath.c_str(), TRUE);
    if (!update) {
        error = WindowsError("BeginUpdateResourceA");
        return false;
    }
    for (const ResourceEntry& e : entries) {
        if (!UpdateResourceA(update, e.type.get(), e.name.get(), e.language, const_cast<char*>(e.data.data()),
                             static_cast<DWORD>(e.data.size()))) {
            error = WindowsError("UpdateResourceA");
            EndUpdateResourceA(update, TRUE);
            return false;
        }
    }
    if (!EndUpdateResourceA(update, FALSE)) {
        error = WindowsError("EndUpdateResourceA");
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<char>& data, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.insert(data.end(), buffer, buffer + got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) error = "cannot read " + path;
    return ok;
}

} // namespace

bool ReadLogoSize(const std::string& exePath, int& width, int& height, std::string& error)
{
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        error = "cannot open " + exePath + ": " + WindowsError("LoadLibraryExA");
        return false;
    }
    HRSRC found = FindResourceA(module, "LOGO", MAKEINTRESOURCEA(2));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    bool ok = bytes && SizeofResource(module, found) >= sizeof(BITMAPINFOHEADER);
    if (ok) {
        BITMAPINFOHEADER header;
        std::memcpy(&header, bytes, sizeof header);
        width = header.biWidth;
        height = header.biHeight;
    } else {
        error = "no LOGO bitmap in " + exePath;
    }
    FreeLibrary(module);
    return ok;
}

bool PatchResource(const std::string& exePath, const std::string& type, const std::string& name,
                   const std::string& dataFile, std::string& error)
{
    ResourceId typeId = ParseType(type), nameId = ParseName(name);
    std::vector<ResourceEntry> entries;
    if (!ReadAllResources(exePath, entries, error)) return false;
    bool remove = dataFile == "--delete";
    std::vector<char> data;
    if (!remove && !ReadWholeFile(dataFile, data, error)) return false;

    std::vector<ResourceEntry> kept;
    bool found = false;
    for (ResourceEntry& e : entries) {
        bool target = SameId(e.type, typeId) && SameId(e.name, nameId);
        found = found || target;
        if (target && remove) continue;
        if (target) e.data = data;
        kept.push_back(e);
    }
    if (!found && remove) {
        error = "no resource " + type + " " + name + " in " + exePath;
        return false;
    }
    if (!found) kept.push_back({typeId, nameId, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), data});
    return WriteAllResources(exePath, kept, error);
}
