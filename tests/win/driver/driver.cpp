// The GUI driver: starts the installer and runs a list of steps against it,
// each a check or an action as a user would do it. Prints "ok" per step and
// one "FAIL" line for the first step that fails; exit code 0 when all steps
// pass, 1 when one fails, 2 on a usage error.
#include "tests/win/driver/commands.h"
#include "tests/win/driver/installer.h"
#include "tests/win/driver/options.h"
#include "tests/win/driver/steps.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

Options DriverOptions;

namespace {

const char Usage[] =
    "usage: driver [--exe SETUP.EXE] [--unset-env NAME]... [--no-userprofile] [--shots]\n"
    "              [--steps-file FILE | STEP...]\n"
    "Runs the steps in order; see tests/win/README.md for the step list.\n";

bool ReadFile(const char* path, std::string& content)
{
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
    std::fclose(file);
    return true;
}

struct CommandLine {
    std::string exe;
    std::vector<std::string> tokens;
};

// Parses the options; the first argument that is not an option starts the steps.
bool ParseCommandLine(int argc, char** argv, CommandLine& line)
{
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        std::string option = argv[i];
        bool hasValue = i + 1 < argc;
        if (option == "--exe" && hasValue) line.exe = argv[++i];
        else if (option == "--unset-env" && hasValue) Installer.unsetVariables.push_back(argv[++i]);
        else if (option == "--no-userprofile") Installer.unsetVariables.push_back("USERPROFILE");
        else if (option == "--shots") DriverOptions.shots = true;
        else if (option == "--steps-file" && hasValue) {
            std::string content;
            if (!ReadFile(argv[++i], content)) {
                std::fprintf(stderr, "driver: cannot read steps file %s\n", argv[i]);
                return false;
            }
            std::vector<std::string> more = SplitStepsFile(content);
            line.tokens.insert(line.tokens.end(), more.begin(), more.end());
        } else {
            std::fprintf(stderr, "driver: unknown option or missing value: %s\n%s", option.c_str(), Usage);
            return false;
        }
    }
    for (; i < argc; ++i) line.tokens.push_back(argv[i]);
    return true;
}

std::string StepText(const Step& step)
{
    std::string text = step.spec->name;
    for (const std::string& arg : step.args) text += " " + Visible(arg);
    return text;
}

int RunSteps(const std::vector<Step>& steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        std::string error;
        if (!FindStepFunction(steps[i].spec->name)(steps[i], error)) {
            std::printf("FAIL step %u %s: %s\n", static_cast<unsigned>(i + 1), StepText(steps[i]).c_str(),
                        error.c_str());
            std::fflush(stdout);
            StopInstaller();
            return 1;
        }
        std::printf("ok   step %u %s\n", static_cast<unsigned>(i + 1), StepText(steps[i]).c_str());
        std::fflush(stdout);
    }
    if (InstallerRunning()) {
        std::printf("note: the installer still ran after the last step; ended it\n");
        StopInstaller();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line)) return 2;
    std::vector<Step> steps;
    std::string error;
    if (!ParseSteps(line.tokens, steps, error)) {
        std::fprintf(stderr, "driver: %s\n%s", error.c_str(), Usage);
        return 2;
    }
    if (!line.exe.empty() && !StartInstaller(line.exe, error)) {
        std::printf("FAIL start: %s\n", error.c_str());
        return 1;
    }
    return RunSteps(steps);
}
