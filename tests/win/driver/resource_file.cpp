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

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

bool ResourceLanguages(const std::string& exePath, const ResourceId& type, const ResourceId& name,
                       std::vector<WORD>& languages, std::string& error)
{
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        error = "cannot open " + exePath + ": " + WindowsError("LoadLibraryExA");
        return false;
    }
    EnumResourceLanguagesA(module, type.get(), name.get(), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    FreeLibrary(module);
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
    std::vector<WORD> languages;
    if (!ResourceLanguages(exePath, typeId, nameId, languages, error)) return false;
    bool remove = dataFile == "--delete";
    if (remove && languages.empty()) {
        error = "no resource " + type + " " + name + " in " + exePath;
        return false;
    }
    if (languages.empty()) languages.push_back(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    std::vector<char> data;
    if (!remove && !ReadWholeFile(dataFile, data, error)) return false;

    HANDLE update = BeginUpdateResourceA(exePath.c_str(), FALSE);
    if (!update) {
        error = WindowsError("BeginUpdateResourceA");
        return false;
    }
    for (WORD language : languages) {
        if (!UpdateResourceA(update, typeId.get(), nameId.get(), language, remove ? nullptr : data.data(),
                             remove ? 0 : static_cast<DWORD>(data.size()))) {
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
