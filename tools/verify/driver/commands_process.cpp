// Steps about the installer process and its executable: patching and
// starting it, its exit, screenshots.
#include "tools/verify/driver/installer.h"
#include "tools/verify/driver/resource_file.h"
#include "tools/verify/driver/steps.h"

#include <cstdio>
#include <cstring>

bool StepPatchResource(const Step& step, std::string& error) {
    return PatchResource(step.args[0], step.args[1], step.args[2], step.args[3], error);
}

bool StepStart(const Step& step, std::string& error) {
    return StartInstaller(step.args[0], error);
}

bool StepWaitExit(const Step& step, std::string& error) {
    long expected;
    if (!IntArg(step, 0, expected, error)) return false;
    if (!Installer.process) {
        error = "no installer was started";
        return false;
    }
    if (WaitForSingleObject(Installer.process, DefaultTimeoutMs) != WAIT_OBJECT_0) {
        error =
            "the installer still runs after " + std::to_string(DefaultTimeoutMs / 1000) + " s" + DescribeInstaller();
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(Installer.process, &code);
    if (static_cast<long>(code) != expected) {
        error = "exit code " + std::to_string(static_cast<long>(code)) + ", expected " + std::to_string(expected);
        return false;
    }
    return true;
}

bool StepExpectRunning(const Step&, std::string& error) {
    if (InstallerRunning()) return true;
    error = DescribeInstaller().substr(2);
    return false;
}

bool StepSleep(const Step& step, std::string& error) {
    long ms;
    if (!IntArg(step, 0, ms, error)) return false;
    Sleep(static_cast<DWORD>(ms));
    return true;
}

// Start-up drains the queue between its steps and drops a quit message that
// arrives there; a close or Exit only counts once the installer has reached
// its final message loop. Waiting for input idle, then a round trip through
// its queue and a short pause, gets past the last of those drains.
bool StepWaitIdle(const Step& step, std::string& error) {
    long timeoutMs;
    if (!IntArg(step, 0, timeoutMs, error)) return false;
    if (!InstallerRunning()) {
        error = DescribeInstaller().substr(2);
        return false;
    }
    if (WaitForInputIdle(Installer.process, static_cast<DWORD>(timeoutMs)) != 0) {
        error = "the installer did not become idle";
        return false;
    }
    if (Installer.mainWindow) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(Installer.mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs),
                            &ignored);
    }
    Sleep(250);
    return true;
}

// The screenshot itself is taken outside Wine by the runner: the driver asks
// with a line "SHOT name" and waits for the answer line.
bool RequestShot(const std::string& name, std::string& error) {
    // Let the installer handle what is queued and the X server show it.
    DWORD_PTR ignored;
    if (Installer.mainWindow && InstallerRunning())
        SendMessageTimeoutA(Installer.mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    Sleep(300);
    std::printf("SHOT %s\n", name.c_str());
    std::fflush(stdout);
    char answer[512];
    if (!std::fgets(answer, sizeof answer, stdin)) {
        error = "no answer from the screenshot taker";
        return false;
    }
    answer[std::strcspn(answer, "\r\n")] = '\0';
    if (std::strcmp(answer, "ok") != 0) {
        error = std::string("screenshot not taken: ") + answer;
        return false;
    }
    return true;
}

bool StepShot(const Step& step, std::string& error) {
    if (TakeShots) return RequestShot(step.args[0], error);
    std::printf("note: shot %s not taken (no --shots)\n", step.args[0].c_str());
    return true;
}
