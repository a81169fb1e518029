// A setup.exe of ill intent for `mkinstaller verify`: it tries to write a file
// into HOSTILE_TARGET, a host folder outside verify's work folder, by every
// route that Wine and Linux give a Windows program, and to read a variable of
// verify's environment. Its exit code has a bit for each attempt it saw
// succeed; what the host folder holds tells the rest.
#include <windows.h>

#include <stdint.h>

#include <string>

namespace {

const char Content[] = "hostile\n";
const int UnixPathBit = 1, DriveBit = 2, SystemCallBit = 4, EnvironmentBit = 8;

// A Linux system call made straight from Windows code (x86_64 numbering).
long long LinuxCall(long long number, long long a, long long b, long long c) {
    long long result;
    __asm__ volatile("syscall" : "=a"(result) : "a"(number), "D"(a), "S"(b), "d"(c) : "rcx", "r11", "memory");
    return result;
}

bool WriteThroughSystemCalls(const std::string& path) {
    const long long linuxOpen = 2, linuxWrite = 1, linuxClose = 3, writeCreateTruncate = 01101;
    const long long fd = LinuxCall(linuxOpen, reinterpret_cast<intptr_t>(path.c_str()), writeCreateTruncate, 0644);
    if (fd < 0) return false;
    const bool written = LinuxCall(linuxWrite, fd, reinterpret_cast<intptr_t>(Content), sizeof Content - 1) ==
                         static_cast<long long>(sizeof Content - 1);
    LinuxCall(linuxClose, fd, 0, 0);
    return written;
}

bool WriteWindowsFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, Content, sizeof Content - 1, &written, nullptr) && written == sizeof Content - 1;
    CloseHandle(file);
    return ok;
}

// Wine starts a file that is no Windows program as a Linux program.
void WriteThroughLinuxShell(const std::string& path) {
    std::string command = "sh -c \"echo hostile >'" + path + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA("\\\\?\\unix\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return;
    }
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
}

}  // namespace

int main() {
    const std::string target = HOSTILE_TARGET;
    std::string windowsTarget = target;
    for (char& c : windowsTarget) c = c == '/' ? '\\' : c;
    int seen = 0;
    if (WriteWindowsFile("\\\\?\\unix" + windowsTarget + "\\unix-path")) seen |= UnixPathBit;
    for (char drive = 'A'; drive <= 'Z'; ++drive) {
        if (WriteWindowsFile(std::string(1, drive) + ":" + windowsTarget + "\\drive-" + drive)) seen |= DriveBit;
    }
    if (WriteThroughSystemCalls(target + "/system-call")) seen |= SystemCallBit;
    WriteThroughLinuxShell(target + "/linux-program");
    if (GetEnvironmentVariableA("HOSTILE_TEST_SECRET", nullptr, 0) > 0) seen |= EnvironmentBit;
    return seen;
}
