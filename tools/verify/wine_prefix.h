// A fresh Wine prefix for one verify run, kept apart from the user's: HOME
// is a throwaway folder, the profile's Desktop and the like are real folders
// inside the prefix (not links to HOME), the menu builder and the Mono and
// Gecko downloads are off, and there is no drive Z: (the host's root), so
// the installer and its folder browser reach nothing outside the prefix.
#pragma once

#include <string>
#include <vector>

// Sets this process's environment, which every Wine program inherits: the
// display and the Xauthority file with its cookie among it.
void UseIsolatedWineEnvironment(const std::string& home, const std::string& prefix, const std::string& display,
                                const std::string& authority);

// How Windows programs are started: through `wine`, or through a loader
// named directly, which the programs it starts must know as WINELOADER.
struct WineLoader {
    std::string program;                   // "wine", or the loader's path
    std::vector<std::string> environment;  // for ChildFiles::environment
};

// `wine` as installed. On Debian it is a script that starts the 32-bit
// loader whenever that is installed, as `wineboot` does through it.
WineLoader InstalledWine();

// The 64-bit loader: wine64 on the PATH, else /usr/lib/wine/wine64, else
// `wine`. It runs x86_64 programs and boots a 64-bit prefix also where the
// kernel refuses 32-bit programs, and with them `wine` and `wineboot`.
WineLoader Wine64Loader();

// The 32-bit loader: $MKINSTALLER_WINE32 when set, else /usr/lib/wine/wine,
// else `wine` as the PATH finds it; "" when there is none.
std::string Wine32LoaderPath();

// Why LOADER cannot run programs here, or "" when `LOADER --version` ends
// with exit code 0 within a few seconds.
std::string LoaderProblem(const std::string& loader);

// Why the 32-bit loader cannot run programs here; "" where it can, or where
// no 32-bit loader is installed to ask.
std::string Wine32Problem();

// ARGUMENTS, a Wine program, followed in the same child by the end of every
// process of the prefix and of its server, which then saves the registry: a
// sandbox kills what its command leaves running. Its exit code is the
// program's.
std::vector<std::string> WineSession(const std::vector<std::string>& arguments);

class WinePrefix {
public:
    // BOOT runs wineboot.
    WinePrefix(std::string path, WineLoader boot) : path_(std::move(path)), boot_(std::move(boot)) {}
    ~WinePrefix();  // ends every process of the prefix
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    // wineboot -i (a WineSession), then the settings above, the Start Menu
    // folder that Windows keeps in the profile, and undecorated windows drawn
    // by Wine itself (there is no window manager). Wine's output goes to LOG.
    bool Create(const std::string& log, std::string& error);

    // The prefix as a copy of TEMPLATE, a stopped prefix that Create made: its
    // system folders (1.3 GB, read-only in use) as hard links, 20 ms instead
    // of seconds for a copy; what Wine or a program may rewrite in place as
    // copies of its own: the registry, the .ini files and the user profiles.
    bool CopyOf(const std::string& templatePath, std::string& error);

    // The Windows version Wine reports (win7, winxp, ...), in the stopped prefix.
    void SetWindowsVersion(const std::string& version);

    // Takes away the Start Menu folder that Windows keeps in the profile.
    void RemoveStartMenu();

    // Maps drive LETTER to a folder in the prefix, unless it exists.
    void AddDrive(char letter);

    // The user's profile folder (Unix path).
    const std::string& Profile() const { return profile_; }

    // The Unix path of a Windows path (Windows-1252) on one of the prefix's
    // drives; each existing component is matched ignoring letter case, as
    // Windows does.
    std::string UnixPath(const std::string& windowsPath) const;

    // Copies FILE to WINDOWS_PATH, making its folders.
    bool Stage(const std::string& file, const std::string& windowsPath, std::string& error) const;

private:
    // Ends every process of the prefix and waits until its server is gone:
    // what a WineSession cut short by a stop signal leaves outside a sandbox.
    void Finish();
    void SetUserValue(const std::string& key, const std::string& name, const std::string& value);
    bool MakeProfileFolders(std::string& error);
    bool FindProfile(std::string& error);

    std::string path_;
    WineLoader boot_;
    std::string profile_;
    bool booted_ = false;
};
