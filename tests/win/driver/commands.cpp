#include "tests/win/driver/commands.h"

#include <cstdlib>
#include <cstring>

StepFunction FindStepFunction(const char* name)
{
    static const struct { const char* name; StepFunction function; } table[] = {
        {"start", StepStart},
        {"wait-window", StepWaitWindow},
        {"expect-children", StepExpectChildren},
        {"expect-text", StepExpectText},
        {"wait-text", StepWaitText},
        {"expect-class", StepExpectClass},
        {"expect-visible", StepExpectVisible},
        {"wait-visible", StepWaitVisible},
        {"expect-enabled", StepExpectEnabled},
        {"wait-enabled", StepWaitEnabled},
        {"expect-running", StepExpectRunning},
        {"click", StepClick},
        {"send-command", StepSendCommand},
        {"close", StepClose},
        {"sleep", StepSleep},
        {"wait-idle", StepWaitIdle},
        {"rects", StepRects},
        {"check-layout", StepCheckLayout},
        {"wait-fatal", StepWaitFatal},
        {"browse", StepBrowse},
        {"shot", StepShot},
        {"wait-exit", StepWaitExit},
        {"patch-resource", StepPatchResource},
    };
    for (const auto& entry : table)
        if (std::strcmp(entry.name, name) == 0) return entry.function;
    return nullptr;
}

bool IntArg(const Step& step, int index, long& value, std::string& error)
{
    const std::string& text = step.args[index];
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0') {
        error = "'" + text + "' is not a number";
        return false;
    }
    return true;
}

bool FlagArg(const Step& step, int index, bool& value, std::string& error)
{
    const std::string& text = step.args[index];
    if (text != "0" && text != "1") {
        error = "'" + text + "' is not 0 or 1";
        return false;
    }
    value = text == "1";
    return true;
}
