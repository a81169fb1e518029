// Signing runs osslsigncode, which the Windows tool does not bring along.
#include "tools/mkinstaller/signing.h"

const char* const SigningUnavailable =
    "mkinstaller.exe cannot sign (signing runs osslsigncode, on Linux): remove [sign], or pack with mkinstaller on "
    "Linux";

bool SignImage(const Signing&, const std::string&, std::vector<uint8_t>&, std::string& error) {
    error = SigningUnavailable;
    return false;
}

std::string SigningProblem(const Signing&, const std::string&, std::vector<uint8_t>) {
    return SigningUnavailable;
}
