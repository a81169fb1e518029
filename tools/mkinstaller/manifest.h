// A product as the manifest describes it, after reading and before packing.
// Texts are already in Windows-1252; paths are host paths.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/windows_arch.h"

struct FileRow {
    std::string name;        // installed file name (Windows-1252)
    std::string sourcePath;  // resolved input, empty when not found
    // FILETIME from the row's time or [product] time, else the file's mtime.
    std::optional<uint64_t> fixedTime;
    bool keepExisting = false;  // written only when nothing of its name exists yet
};

// Authenticode signing: a certificate and its key, or a PKCS#12 bundle;
// either may need a password, read from a file.
struct Signing {
    std::string certificate;
    std::string key;
    std::string pkcs12;
    std::string passwordFile;
};

struct ProductManifest {
    std::string name;
    std::string version;
    std::string defaultFolder;
    std::string group;
    std::vector<std::string> description;  // lines, joined by '\n' in the installer
    std::string logoPath;
    std::string iconPath;
    std::vector<FileRow> files;
    bool requireAdministrator = false;  // [product] elevation = "administrator"
    // [product] arch: the stub's machine; nothing when the value was refused.
    std::optional<Arch> arch = Arch::X86;
    std::optional<Signing> signing;  // [sign]
    // SOURCE_DATE_EPOCH, as a FILETIME: no payload carries a later time.
    std::optional<uint64_t> latestTime;
    // Where each field stands in the manifest ("product.logo", "file[2].name";
    // "file" is the first [[file]] table), for messages that follow reading.
    std::map<std::string, int> lines;
};

// The line of `field` in the manifest, 0 when it has none.
int LineOf(const ProductManifest& manifest, const std::string& field);

// How messages name a row: "file[1]" is the first [[file]] table, as the
// user counts them.
std::string RowField(size_t index);

// The description as the installer holds it: lines joined by '\n'.
std::string JoinedDescription(const ProductManifest& manifest);

// The time a row's payload carries: the manifest's, else its file's, and
// never after `latestTime`; nothing when the file's time cannot be read.
std::optional<uint64_t> PayloadTime(const FileRow& row, std::optional<uint64_t> latestTime);

// The files the product is packed from, past the manifest itself: the logo,
// the icon, every row's source and the signing files that are named.
std::vector<std::string> InputPaths(const ProductManifest& manifest);

// The text the installer's window shows first.
std::string IntroText(const ProductManifest& manifest);
