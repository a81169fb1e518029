#include "tools/verify/driver/resource_file.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string WindowsError(const char* what) {
    return std::string(what) + " failed with Windows error " + std::to_string(GetLastError());
}

// A resource type or name as the API wants it: an integer atom or text.
struct ResourceId {
    std::string text;
    WORD number = 0;
    LPCSTR get() const { return number ? MAKEINTRESOURCEA(number) : text.c_str(); }
    bool operator==(const ResourceId& o) const {
        return number == o.number && (number || _stricmp(text.c_str(), o.text.c_str()) == 0);
    }
};

// "#N" or (for a type) "N" is a number, a known type name its number, the rest text.
ResourceId ParseId(const std::string& spelling, bool isType) {
    static const struct {
        const char* name;
        WORD id;
    } types[] = {{"BITMAP", 2}, {"ICON", 3}, {"RCDATA", 10}, {"GROUP_ICON", 14}};
    ResourceId id;
    for (const auto& t : types)
        if (isType && _stricmp(t.name, spelling.c_str()) == 0) id.number = t.id;
    std::string digits = isType ? spelling : spelling[0] == '#' ? spelling.substr(1) : "";
    char* end = nullptr;
    long value = std::strtol(digits.c_str(), &end, 0);
    if (!id.number && !digits.empty() && *end == '\0' && value > 0 && value <= 0xFFFF)
        id.number = static_cast<WORD>(value);
    if (!id.number) id.text = spelling;
    return id;
}

ResourceId IdFromApi(LPCSTR id) {
    ResourceId result;
    if (IS_INTRESOURCE(id))
        result.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
    else
        result.text = id;
    return result;
}

// One resource of a module, copied out so the file can be rebuilt.
struct ResourceEntry {
    ResourceId type, name;
    WORD language;
    std::vector<char> data;
};

BOOL CALLBACK CollectLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
    HRSRC found = FindResourceExA(module, type, name, language);
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    ResourceEntry entry{IdFromApi(type), IdFromApi(name), language, {}};
    if (bytes) entry.data.assign(bytes, bytes + SizeofResource(module, found));
    reinterpret_cast<std::vector<ResourceEntry>*>(param)->push_back(entry);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    return EnumResourceLanguagesA(module, type, name, CollectLanguage, param), TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param) {
    return EnumResourceNamesA(module, type, CollectName, param), TRUE;
}

HMODULE OpenAsData(const std::string& exePath, std::string& error) {
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) error = "cannot open " + exePath + ": " + WindowsError("LoadLibraryExA");
    return module;
}

// Rewrites the whole resource section from ENTRIES. Wine's UpdateResourceA
// with null data reports success but keeps the resource, so a deletion is
// done by writing every other resource anew.
bool WriteAllResources(const std::string& exePath, const std::vector<ResourceEntry>& entries, std::string& error) {
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
    if (EndUpdateResourceA(update, FALSE)) return true;
    error = WindowsError("EndUpdateResourceA");
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<char>& data, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    char buffer[65536];
    size_t got;
    while (file && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        data.insert(data.end(), buffer, buffer + got);
    bool ok = file && !std::ferror(file);
    if (file) std::fclose(file);
    if (!ok) error = "cannot read " + path;
    return ok;
}

}  // namespace

bool ReadLogoSize(const std::string& exePath, int& width, int& height, std::string& error) {
    HMODULE module = OpenAsData(exePath, error);
    if (!module) return false;
    HRSRC found = FindResourceA(module, "LOGO", MAKEINTRESOURCEA(2));
    const void* bytes = found ? LockResource(LoadResource(module, found)) : nullptr;
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
                   const std::string& dataFile, std::string& error) {
    ResourceId typeId = ParseId(type, true), nameId = ParseId(name, false);
    bool remove = dataFile == "--delete";
    std::vector<char> data;
    if (!remove && !ReadWholeFile(dataFile, data, error)) return false;
    HMODULE module = OpenAsData(exePath, error);
    if (!module) return false;
    std::vector<ResourceEntry> entries, kept;
    EnumResourceTypesA(module, CollectType, reinterpret_cast<LONG_PTR>(&entries));
    FreeLibrary(module);

    bool found = false;
    for (ResourceEntry& e : entries) {
        bool target = e.type == typeId && e.name == nameId;
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
