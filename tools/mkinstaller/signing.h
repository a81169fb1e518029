// Authenticode signing of a finished setup program with osslsigncode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkinstaller/manifest.h"

// Signs `image` in place, naming the product in the signature. The signing
// time is SOURCE_DATE_EPOCH when set, so that a signed build is
// reproducible too. False with `error` set when osslsigncode fails.
// Why this build cannot sign, or null when it can: a manifest with [sign] is
// then refused before anything is packed.
extern const char* const SigningUnavailable;

bool SignImage(const Signing& signing, const std::string& productName, std::vector<uint8_t>& image, std::string& error);

// Why `signing` cannot sign, found by signing `trial` (a copy of the stub)
// before anything is packed: osslsigncode missing, or a certificate, key or
// password it cannot use, in one line. "" when it signs.
std::string SigningProblem(const Signing& signing, const std::string& productName, std::vector<uint8_t> trial);
