// The two generated inputs of a product's setup.exe: the compiled-in
// manifest (C++) and the resource script.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "manifest.h"

// A C string literal of Windows-1252 bytes; bytes outside printable ASCII
// are written as \x escapes.
std::string CStringLiteral(std::string_view text);

// Source defining InstallManifest and FileTable, rows in manifest order.
std::string GeneratedManifestSource(const ProductManifest& manifest);

// The file name a row's container gets in the build folder.
std::string PayloadFileName(size_t row);

// Fills the resource template: "@PAYLOADS@" becomes one RCDATA line per row,
// named after the row's name in upper case.
std::string ResourceScript(std::string_view resourceTemplate, const ProductManifest& manifest);

// The application manifest: the execution level the product asks for and
// nothing else. A compatibility section would change the Windows version the
// installer is told, which its version check relies on.
std::string ExecutionManifest(bool requireAdministrator);

// The resource template built into the tool.
extern const char* const ResourceTemplate;
