#include "tools/mkinstaller/signing.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"
#include "tools/common/program_search.h"
#include "tools/verify/child_process.h"

namespace fs = std::filesystem;

namespace {

// A file under the temporary folder, removed when the object goes away or
// an interruption ends the tool.
class ScratchFile {
public:
    ScratchFile() {
        std::error_code error;
        fs::path folder = fs::temp_directory_path(error);
        if (error) folder = "/tmp";
        const platform::InterruptsHeld held;
        const int descriptor = platform::CreateTemporaryBeside((folder / "mkinstaller").string(), &path_);
        if (descriptor < 0) return;
        platform::Close(descriptor);
        slot_ = platform::RegisterTemporary(path_);
    }
    ~ScratchFile() {
        if (path_.empty()) return;
        const platform::InterruptsHeld held;
        platform::Remove(path_);
        platform::ForgetTemporary(slot_);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int slot_ = -1;
};

// Runs a program from the PATH; its output goes to `log`. An interruption
// ends it before the temporaries go (child_process.h).
int Run(const std::vector<std::string>& arguments, const std::string& log) {
    const int output = open(log.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    ChildFiles files;
    files.output = output;
    std::string error;
    const int code = output < 0 ? -1 : RunChild(arguments, files, error);
    if (output >= 0) close(output);
    return code;
}

std::vector<std::string> SignCommand(const Signing& signing, const std::string& productName) {
    std::vector<std::string> command = {"osslsigncode", "sign", "-h", "sha256", "-n", productName};
    if (signing.pkcs12.empty()) {
        command.insert(command.end(), {"-certs", signing.certificate, "-key", signing.key});
    } else {
        command.insert(command.end(), {"-pkcs12", signing.pkcs12});
    }
    if (!signing.passwordFile.empty()) command.insert(command.end(), {"-readpass", signing.passwordFile});
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) command.insert(command.end(), {"-time", epoch});
    return command;
}

bool IsOpenSslErrorLine(const std::string& line) {
    return line.find(":error:") != std::string::npos;
}

// osslsigncode's own account of a failure, without OpenSSL's error queue:
// its first line, with the lines indented under it.
std::string FailureReason(const std::string& output) {
    std::istringstream lines(output);
    std::string reason;
    for (std::string line; std::getline(lines, line);) {
        const bool continued = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        if (!reason.empty() && !continued) break;
        const size_t text = line.find_first_not_of(" \t");
        if (text == std::string::npos || IsOpenSslErrorLine(line) || line == "Failed") continue;
        reason += (reason.empty() ? "" : " ") + line.substr(text);
    }
    return reason.empty() ? "it gave no reason" : reason;
}

}  // namespace

const char* const SigningUnavailable = nullptr;

std::string SigningProblem(const Signing& signing, const std::string& productName, std::vector<uint8_t> trial) {
    const std::string missing = ProgramProblem("osslsigncode");
    if (!missing.empty()) return missing + "; it signs the setup program (Debian: apt install osslsigncode)";
    std::string error;
    return SignImage(signing, productName, trial, error) ? "" : error;
}

bool SignImage(const Signing& signing, const std::string& productName, std::vector<uint8_t>& image,
               std::string& error) {
    ScratchFile unsigned_, signed_, log;
    if (unsigned_.Path().empty() || signed_.Path().empty() || log.Path().empty()) {
        error = std::string("cannot create a temporary file: ") + std::strerror(errno);
        return false;
    }
    std::ofstream(unsigned_.Path(), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    platform::Remove(signed_.Path());  // osslsigncode makes its output itself
    std::vector<std::string> command = SignCommand(signing, productName);
    command.insert(command.end(), {"-in", unsigned_.Path(), "-out", signed_.Path()});
    const int status = Run(command, log.Path());
    if (status != 0) {
        std::ifstream in(log.Path());
        const std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        error = status == 127 || status < 0 ? "cannot run osslsigncode (is it installed?)"
                                            : "osslsigncode cannot sign with it: " + FailureReason(output);
        return false;
    }
    std::ifstream in(signed_.Path(), std::ios::binary);
    image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !image.empty();
}
