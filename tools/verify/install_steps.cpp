#include "tools/verify/install_steps.h"

namespace {

// Unpacking and writing a product of up to 1 GiB takes a while under Wine;
// a fatal report ends these waits at once.
const char* const UnpackMs = "300000";
const char* const WindowMs = "60000";
const char* const DialogMs = "10000";
const char* const IdleMs = "20000";

// The driver reads "\n" in a text as a line break and "\\n" as a backslash
// and an n; every other backslash stands for itself.
std::string DriverText(const std::string& text) {
    std::string escaped;
    for (size_t i = 0; i < text.size(); ++i) {
        escaped += text[i];
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') escaped += '\\';
    }
    return escaped;
}

}  // namespace

std::vector<std::string> InstallSteps(const std::string& folder, bool chosenFolder,
                                      const std::vector<std::string>& names) {
    std::vector<std::string> steps;
    int shots = 0;
    auto add = [&steps](std::initializer_list<std::string> tokens) { steps.insert(steps.end(), tokens); };
    auto shot = [&](const std::string& state) { add({"shot", std::to_string(++shots) + "-" + state}); };

    add({"wait-window", "MAIN", "Software Installation Utility", WindowMs});
    shot("startup");
    add({"wait-visible", "SelectButton", "1", UnpackMs, "wait-idle", IdleMs});
    shot("prompt");
    if (chosenFolder) {
        add({"click", "SelectButton", "wait-window", "#32770", "Browse for Folder", DialogMs});
        shot("browser");
        add({"browse", folder, "wait-text", "FolderText", DriverText(folder), DialogMs});
        add({"wait-enabled", "InstallButton", "1", DialogMs});
        shot("chosen");
    }
    add({"click", "InstallButton", "wait-visible", "ExitButton", "1", UnpackMs, "wait-idle", IdleMs, "expect-text",
         "MessageText", "The software has been successfully installed."});
    shot("installed");
    add({"click", "ExitButton", "wait-exit", "0"});
    for (const std::string& name : names) add({"file-times", folder, name});
    return steps;
}
