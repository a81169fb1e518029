// Suggestions for a misspelt word, such as an unknown key in the manifest.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The candidate closest to `word` when it is within two edits (a swap of
// neighbours counts as one), else "".
std::string ClosestWord(std::string_view word, std::initializer_list<std::string_view> candidates);
