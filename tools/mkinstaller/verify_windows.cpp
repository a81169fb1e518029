// `mkinstaller verify` drives Wine and a private X display: the Windows tool
// has the command, so that it is not mistaken for a manifest, and refuses it.
#include <cstdio>

#include "tools/mkinstaller/verify_cli.h"

CLI::App* AddVerifyCommand(CLI::App& app, VerifyOptions&) {
    CLI::App* verify = app.add_subcommand("verify", "Linux only: runs a setup.exe under Wine and checks the install.");
    verify->allow_extras();
    return verify;
}

int RunVerify(const VerifyOptions&) {
    std::fprintf(stderr, "mkinstaller verify needs Wine and runs on Linux only\n");
    return 2;
}
