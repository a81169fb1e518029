#include "tools/mkinstaller/verify_cli.h"

CLI::App* AddVerifyCommand(CLI::App& app, VerifyOptions& options) {
    CLI::App* verify = app.add_subcommand(
        "verify",
        "Runs SETUP.EXE under Wine in a fresh prefix, installs through its window and checks every file, "
        "time and link against the manifest. Exit codes: 0 as packed, 1 a difference, 2 bad command line, or an "
        "x86 SETUP.EXE where 32-bit Windows programs cannot run.");
    verify->add_option("manifest", options.manifest, "the product's manifest (TOML)")->required();
    verify->add_option("setup", options.setup, "the setup program built from it")->required();
    verify->add_option("--source-dir", options.sourceDirs, "a folder to look for inputs in, as when packing")
        ->allow_extra_args(false);
    verify->add_flag("--allow-outside-inputs", options.allowOutsideInputs, "as when packing");
    verify
        ->add_option("--winver", options.windowsVersions,
                     "the Windows version Wine reports; one install each (default: Wine's own)")
        ->allow_extra_args(false)
        ->check(CLI::IsMember(WineWindowsVersions));
    verify->add_option("--folder", options.folder, "also install into this folder, chosen in the folder browser")
        ->check([](const std::string& folder) {
            return InstallFolderOption(folder) ? "" : "the installer would refuse the folder '" + folder + "'";
        });
    verify->add_option("--shots", options.shotsFolder, "save a screenshot of each state into this folder");
    verify->add_option("--driver", options.driver,
                       std::string("the GUI driver (default: ") + DriverFileName(Arch::X86) + ", or " +
                           DriverFileName(Arch::X64) + " for an x64 SETUP.EXE, beside the stub)");
    verify->add_flag("--no-sandbox", options.noSandbox,
                     "run Wine, the installer and Xvfb with all your rights, outside the bwrap sandbox that by "
                     "default keeps them from your files, the network, other processes and displays (without this "
                     "option verify refuses to run where bwrap cannot make a sandbox)");
    return verify;
}
