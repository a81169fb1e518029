// The GUI driver: starts the installer and runs a list of steps against it,
// each a check or an action as a user would do it. Prints "ok" per step and
// one "FAIL" line for the first step that fails; exit code 0 when all steps
// pass, 1 when one fails, 2 on a usage error.
#include "tools/verify/driver/installer.h"
#include "tools/verify/driver/steps.h"

#include <cstdio>
#include <cstring>

bool TakeShots = false;

namespace {

const char Usage[] =
    "usage: driver [--exe SETUP.EXE] [--no-userprofile] [--shots] [--steps-file FILE | STEP...]\n"
    "Runs the steps in order; see tests/win/README.md for the step list.\n";

bool ReadStepsFile(const char* path, std::vector<std::string>& tokens) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::string content;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
    std::fclose(file);
    std::vector<std::string> more = SplitStepsFile(content);
    tokens.insert(tokens.end(), more.begin(), more.end());
    return true;
}

// Parses the options; the first argument that is not an option starts the steps.
bool ParseCommandLine(int argc, char** argv, std::string& exe, std::vector<std::string>& tokens) {
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        std::string option = argv[i];
        bool hasValue = i + 1 < argc;
        if (option == "--exe" && hasValue)
            exe = argv[++i];
        else if (option == "--no-userprofile")
            Installer.withoutUserProfile = true;
        else if (option == "--shots")
            TakeShots = true;
        else if (option == "--steps-file" && hasValue && ReadStepsFile(argv[i + 1], tokens))
            ++i;
        else {
            std::fprintf(stderr, "driver: bad option, missing value or unreadable file: %s\n%s", argv[i], Usage);
            return false;
        }
    }
    tokens.insert(tokens.end(), argv + i, argv + argc);
    return true;
}

std::string StepText(const Step& step) {
    std::string text = step.kind->name;
    for (const std::string& arg : step.args) text += " " + Visible(arg);
    return text;
}

int RunSteps(const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        std::string error;
        bool ok = steps[i].kind->run(steps[i], error);
        std::printf(ok ? "ok   step %u %s\n" : "FAIL step %u %s: %s\n", static_cast<unsigned>(i + 1),
                    StepText(steps[i]).c_str(), error.c_str());
        std::fflush(stdout);
        if (!ok) {
            // The state that failed, for whoever reads the report.
            if (TakeShots && InstallerRunning()) RequestShot("failed", error);
            StopInstaller();
            return 1;
        }
    }
    if (InstallerRunning()) {
        std::printf("note: the installer still ran after the last step; ended it\n");
        StopInstaller();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string exe, error;
    std::vector<std::string> tokens;
    std::vector<Step> steps;
    if (!ParseCommandLine(argc, argv, exe, tokens)) return 2;
    if (!ParseSteps(tokens, steps, error)) {
        std::fprintf(stderr, "driver: %s\n%s", error.c_str(), Usage);
        return 2;
    }
    if (!exe.empty() && !StartInstaller(exe, error)) {
        std::printf("FAIL start: %s\n", error.c_str());
        return 1;
    }
    return RunSteps(steps);
}
