// Signing runs osslsigncode, which the Windows tool does not bring along.
#include "signing.h"

bool SignImage(const Signing&, const std::string&, std::vector<uint8_t>&, std::string& error) {
    error = "signing is not available on Windows yet";
    return false;
}
