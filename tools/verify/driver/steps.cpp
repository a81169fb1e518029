#include "tools/verify/driver/steps.h"

#include <cstdlib>

namespace {

const StepKind StepKinds[] = {
    {"start", 1, "EXE", StepStart},
    {"wait-window", 3, "CLASS TITLE TIMEOUT_MS", StepWaitWindow},
    {"expect-children", 1, "COUNT", StepExpectChildren},
    {"expect-text", 2, "CONTROL TEXT", StepProperty},
    {"wait-text", 3, "CONTROL TEXT TIMEOUT_MS", StepProperty},
    {"expect-class", 2, "CONTROL CLASS", StepProperty},
    {"expect-style", 2, "CONTROL STYLE", StepProperty},
    {"expect-id", 2, "CONTROL ID", StepProperty},
    {"expect-visible", 2, "CONTROL 0|1", StepProperty},
    {"wait-visible", 3, "CONTROL 0|1 TIMEOUT_MS", StepProperty},
    {"expect-enabled", 2, "CONTROL 0|1", StepProperty},
    {"wait-enabled", 3, "CONTROL 0|1 TIMEOUT_MS", StepProperty},
    {"expect-running", 0, "", StepExpectRunning},
    {"click", 1, "BUTTON", StepClick},
    {"send-command", 2, "ID NOTIFICATION", StepSendCommand},
    {"close", 0, "", StepClose},
    {"nudge", 2, "CONTROL DX", StepNudge},
    {"sleep", 1, "MS", StepSleep},
    {"wait-idle", 1, "TIMEOUT_MS", StepWaitIdle},
    {"check-layout", 0, "", StepCheckLayout},
    {"wait-fatal", 2, "CODE TEXT", StepWaitFatal},
    {"browse", 1, "PATH|cancel", StepBrowse},
    {"shot", 1, "NAME", StepShot},
    {"wait-exit", 1, "CODE", StepWaitExit},
    {"file-times", 2, "FOLDER NAME", StepFileTimes},
    {"patch-resource", 4, "EXE TYPE NAME FILE|--delete", StepPatchResource},
};

}  // namespace

bool ParseSteps(const std::vector<std::string>& tokens, std::vector<Step>& steps, std::string& error) {
    for (size_t i = 0; i < tokens.size();) {
        const StepKind* kind = nullptr;
        for (const StepKind& s : StepKinds)
            if (tokens[i] == s.name) kind = &s;
        if (!kind) {
            error = "unknown step '" + tokens[i] + "'";
            return false;
        }
        size_t available = tokens.size() - i - 1;
        if (available < static_cast<size_t>(kind->argCount)) {
            error = std::string("step '") + kind->name + "' needs " + std::to_string(kind->argCount) +
                    " argument(s) (" + kind->usage + "), got " + std::to_string(available);
            return false;
        }
        steps.push_back({kind, {tokens.begin() + i + 1, tokens.begin() + i + 1 + kind->argCount}});
        i += 1 + kind->argCount;
    }
    return true;
}

std::vector<std::string> SplitStepsFile(const std::string& content) {
    std::vector<std::string> tokens;
    for (size_t start = 0; start < content.size();) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string token = content.substr(start, end - start);
        if (!token.empty() && token.back() == '\r') token.pop_back();
        tokens.push_back(token);
        start = end + 1;
    }
    return tokens;
}

std::string UnescapeText(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\n") == 0) {
            out += '\n';
            ++i;
        } else if (text.compare(i, 3, "\\\\n") == 0) {
            out += "\\n";
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IntArg(const Step& step, int index, long& value, std::string& error) {
    const std::string& text = step.args[index];
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0') {
        error = "'" + text + "' is not a number";
        return false;
    }
    return true;
}
