#include "tests/win/driver/steps.h"

#include <cstring>

const std::vector<StepSpec>& StepSpecs()
{
    static const std::vector<StepSpec> specs = {
        {"start", 1, "EXE"},
        {"wait-window", 3, "CLASS TITLE TIMEOUT_MS"},
        {"expect-children", 1, "COUNT"},
        {"expect-text", 2, "CONTROL TEXT"},
        {"wait-text", 3, "CONTROL TEXT TIMEOUT_MS"},
        {"expect-class", 2, "CONTROL CLASS"},
        {"expect-visible", 2, "CONTROL 0|1"},
        {"wait-visible", 3, "CONTROL 0|1 TIMEOUT_MS"},
        {"expect-enabled", 2, "CONTROL 0|1"},
        {"wait-enabled", 3, "CONTROL 0|1 TIMEOUT_MS"},
        {"expect-running", 0, ""},
        {"click", 1, "BUTTON"},
        {"send-command", 2, "ID NOTIFICATION"},
        {"close", 0, ""},
        {"sleep", 1, "MS"},
        {"wait-idle", 1, "TIMEOUT_MS"},
        {"rects", 0, ""},
        {"check-layout", 0, ""},
        {"wait-fatal", 2, "CODE TEXT"},
        {"browse", 1, "PATH|cancel"},
        {"shot", 1, "NAME"},
        {"wait-exit", 1, "CODE"},
        {"patch-resource", 4, "EXE TYPE NAME FILE|--delete"},
    };
    return specs;
}

static const StepSpec* FindSpec(const std::string& name)
{
    for (const StepSpec& spec : StepSpecs())
        if (name == spec.name) return &spec;
    return nullptr;
}

bool ParseSteps(const std::vector<std::string>& tokens, std::vector<Step>& steps, std::string& error)
{
    steps.clear();
    size_t i = 0;
    while (i < tokens.size()) {
        const StepSpec* spec = FindSpec(tokens[i]);
        if (!spec) {
            error = "unknown step '" + tokens[i] + "'";
            return false;
        }
        size_t available = tokens.size() - i - 1;
        if (available < static_cast<size_t>(spec->argCount)) {
            error = std::string("step '") + spec->name + "' needs " + std::to_string(spec->argCount) +
                    " argument(s) (" + spec->usage + "), got " + std::to_string(available);
            return false;
        }
        Step step{spec, {}};
        step.args.assign(tokens.begin() + i + 1, tokens.begin() + i + 1 + spec->argCount);
        steps.push_back(step);
        i += 1 + spec->argCount;
    }
    return true;
}

std::vector<std::string> SplitStepsFile(const std::string& content)
{
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string token = content.substr(start, end - start);
        if (!token.empty() && token.back() == '\r') token.pop_back();
        tokens.push_back(token);
        start = end + 1;
    }
    return tokens;
}

std::string UnescapeText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == 'n') {
                out += '\n';
                ++i;
                continue;
            }
            if (text[i + 1] == '\\' && i + 2 < text.size() && text[i + 2] == 'n') {
                out += "\\n";
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}
