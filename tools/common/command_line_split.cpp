#include "tools/common/command_line_split.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program's name, from `line`'s start; `at` moves past it.
std::string ProgramName(const std::string& line, size_t& at) {
    std::string name;
    bool quoted = false;
    for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
        if (line[at] == '"')
            quoted = !quoted;
        else
            name += line[at];
    }
    return name;
}

// One argument from `at`, which stands on its first character.
CommandArgument NextArgument(const std::string& line, size_t& at) {
    CommandArgument argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
        size_t backslashes = 0;
        while (at < line.size() && line[at] == '\\') ++backslashes, ++at;
        if (at < line.size() && line[at] == '"') {
            argument.text.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument.text += '"';
            } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                argument.text += '"';
                ++at;
            } else {
                quoted = !quoted;
            }
            ++at;
            continue;
        }
        argument.text.append(backslashes, '\\');
        if (backslashes > 0 || at >= line.size() || (!quoted && IsBlank(line[at]))) continue;
        if (!quoted && (line[at] == '*' || line[at] == '?')) argument.wildcard = true;
        argument.text += line[at++];
    }
    return argument;
}

}  // namespace

std::vector<CommandArgument> SplitCommandLine(const std::string& line) {
    size_t at = 0;
    std::vector<CommandArgument> arguments{{ProgramName(line, at), false}};
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size()) return arguments;
        arguments.push_back(NextArgument(line, at));
    }
}
