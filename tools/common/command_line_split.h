// How a Windows program's C runtime splits its command line into arguments,
// and which arguments it would expand as wildcards. Portable (UTF-8 text in,
// no Win32), so that the rules are tested on every system.
#pragma once

#include <string>
#include <vector>

struct CommandArgument {
    std::string text;
    bool wildcard = false;  // holds a '*' or '?' outside quotes
};

// The program's name ends at the first blank, or inside quotes at the next
// quote; no escapes there. Then blanks separate arguments outside quotes;
// 2n backslashes before a quote give n and the quote opens or closes quotes,
// 2n+1 give n and a literal quote; "" inside quotes is a literal quote;
// other backslashes stand for themselves.
std::vector<CommandArgument> SplitCommandLine(const std::string& line);
