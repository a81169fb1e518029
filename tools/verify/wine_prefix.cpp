#include "tools/verify/wine_prefix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/verify/child_process.h"
#include "common/cp1252.h"
#include "tools/common/program_search.h"

namespace fs = std::filesystem;

void UseIsolatedWineEnvironment(const std::string& home, const std::string& prefix, const std::string& display,
                                const std::string& authority) {
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("XDG_DESKTOP_DIR", (home + "/Desktop").c_str(), 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("XAUTHORITY", authority.c_str(), 1);
    unsetenv("WINEARCH");
    unsetenv("WINESERVER");
    unsetenv("WINELOADER");
}

namespace {

const char DebianWine32[] = "/usr/lib/wine/wine";
const char DebianWine64[] = "/usr/lib/wine/wine64";
const int LoaderCheckMs = 5000;

// The last line of Wine's output that tells of a problem, or "": Wine also
// prints lines of success ("configuration ... has been updated").
std::string LastProblemLineOf(const std::string& path) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line)) {
        std::string lower = line;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* word : {"err:", "error", "fail", "cannot", "could not", "not found"}) {
            if (lower.find(word) != std::string::npos) last = line;
        }
    }
    return last;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

fs::path Child(const fs::path& folder, const std::string& name) {
    std::error_code error;
    if (fs::exists(folder / name, error)) return folder / name;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (EqualIgnoringCase(entry.path().filename().string(), name)) return entry.path();
    }
    return folder / name;
}

// A key of user.reg spells each backslash twice.
std::string RegistryKey(const std::string& key) {
    std::string doubled;
    for (char c : key) doubled += c == '\\' ? "\\\\" : std::string(1, c);
    return doubled;
}

}  // namespace

WineLoader InstalledWine() {
    return {"wine", {}};
}

WineLoader Wine64Loader() {
    std::string loader = ProgramPath("wine64");
    if (loader.empty()) loader = ProgramPath(DebianWine64);
    if (loader.empty()) return InstalledWine();
    return {loader, {"WINELOADER=" + loader}};
}

std::string Wine32LoaderPath() {
    const char* chosen = std::getenv("MKINSTALLER_WINE32");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    const std::string debian = ProgramPath(DebianWine32);
    return debian.empty() ? ProgramPath("wine") : debian;
}

std::string LoaderProblem(const std::string& loader) {
    std::string error;
    const int code = RunChildWithin({loader, "--version"}, {}, LoaderCheckMs, error);
    if (code < 0) return error;
    return code == 0 ? "" : loader + " --version " + HowChildEnded(code);
}

std::string Wine32Problem() {
    const std::string loader = Wine32LoaderPath();
    return loader.empty() ? "" : LoaderProblem(loader);
}

std::vector<std::string> WineSession(const std::vector<std::string>& arguments) {
    std::vector<std::string> session = {
        "sh", "-c", "\"$@\"; code=$?; wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; exit $code",
        "wine-session"};
    session.insert(session.end(), arguments.begin(), arguments.end());
    return session;
}

WinePrefix::~WinePrefix() {
    if (booted_) Finish();
}

bool WinePrefix::Create(const std::string& log, std::string& error) {
    const int logFile = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ChildFiles files;
    files.output = logFile;
    files.environment = boot_.environment;
    booted_ = true;
    const int code = RunChild(WineSession({boot_.program, "wineboot", "-i"}), files, error);
    if (logFile >= 0) close(logFile);
    if (code != 0) {
        if (code > 0) {
            const std::string problem = LastProblemLineOf(log);
            error = "wineboot -i failed (" + ChildEnding(code) + ")" + (problem.empty() ? "" : ": " + problem);
        }
        return false;
    }
    SetUserValue("Software\\Wine\\X11 Driver", "Decorated", "N");
    std::error_code removed;
    fs::remove(fs::path(path_) / "dosdevices" / "z:", removed);
    return MakeProfileFolders(error);
}

void WinePrefix::SetWindowsVersion(const std::string& version) {
    SetUserValue("Software\\Wine", "Version", version);
}

// Editing user.reg while no wineserver runs is what `reg add` does, without
// starting Wine.
void WinePrefix::SetUserValue(const std::string& key, const std::string& name, const std::string& value) {
    std::ofstream(path_ + "/user.reg", std::ios::app)
        << "\n[" << RegistryKey(key) << "] 0\n\"" << name << "\"=\"" << value << "\"\n";
}

bool WinePrefix::MakeProfileFolders(std::string& error) {
    const fs::path users = fs::path(path_) / "drive_c" / "users";
    std::error_code failed;
    std::vector<fs::path> links;
    for (auto it = fs::recursive_directory_iterator(users, failed); !failed && it != fs::recursive_directory_iterator();
         it.increment(failed)) {
        if (it->is_symlink()) links.push_back(it->path());
    }
    for (const fs::path& link : links) {
        fs::remove(link, failed);
        fs::create_directories(link, failed);
    }
    if (!FindProfile(error)) return false;
    fs::create_directories(fs::path(profile_) / "Desktop", failed);
    fs::create_directories(fs::path(profile_) / "Start Menu" / "Programs", failed);
    if (failed) error = "cannot make the profile's folders in " + profile_ + ": " + failed.message();
    return !failed;
}

bool WinePrefix::FindProfile(std::string& error) {
    const fs::path users = fs::path(path_) / "drive_c" / "users";
    std::error_code failed;
    for (const fs::directory_entry& entry : fs::directory_iterator(users, failed)) {
        if (entry.is_directory() && entry.path().filename() != "Public") profile_ = entry.path().string();
    }
    if (profile_.empty()) error = "Wine made no user profile in " + users.string();
    return !profile_.empty();
}

bool WinePrefix::CopyOf(const std::string& templatePath, std::string& error) {
    const fs::path from = templatePath, to = path_;
    const auto links = fs::copy_options::recursive | fs::copy_options::copy_symlinks;
    std::vector<fs::path> own = {"drive_c/users"};
    std::error_code failed;
    for (const fs::path& folder : {fs::path(), fs::path("drive_c/windows")}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(from / folder, failed)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".reg" || extension == ".ini") own.push_back(folder / entry.path().filename());
        }
    }
    if (!failed) fs::remove_all(to, failed);
    if (!failed) fs::create_directories(to.parent_path(), failed);
    if (!failed) fs::copy(from, to, links | fs::copy_options::create_hard_links, failed);
    for (const fs::path& path : own) {
        if (!failed) fs::remove_all(to / path, failed);
        if (!failed) fs::copy(from / path, to / path, links, failed);
    }
    // Neither the template's mark nor the file its server kept comes along.
    for (const char* name : {".ready", "wineserver"}) {
        if (!failed) fs::remove(to / name, failed);
    }
    if (failed) {
        error = "cannot copy the prefix " + templatePath + " to " + path_ + ": " + failed.message();
        return false;
    }
    return FindProfile(error);
}

void WinePrefix::RemoveStartMenu() {
    std::error_code ignored;
    fs::remove_all(fs::path(profile_) / "Start Menu", ignored);
}

void WinePrefix::AddDrive(char letter) {
    const std::string drive(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
    std::error_code ignored;
    fs::create_directory(fs::path(path_) / ("drive_" + drive), ignored);
    fs::create_directory_symlink("../drive_" + drive, fs::path(path_) / "dosdevices" / (drive + ":"), ignored);
}

void WinePrefix::Finish() {
    std::string ignored;
    RunChild({"wineserver", "-k"}, {}, ignored, false);
    RunChild({"wineserver", "-w"}, {}, ignored, false);
}

std::string WinePrefix::UnixPath(const std::string& windowsPath) const {
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    fs::path path = fs::path(path_) / ("drive_" + std::string(1, drive));
    std::istringstream components(windowsPath.substr(windowsPath.find('\\') + 1));
    for (std::string component; std::getline(components, component, '\\');) {
        if (!component.empty()) path = Child(path, Cp1252ToUtf8(component));
    }
    return path.string();
}

bool WinePrefix::Stage(const std::string& file, const std::string& windowsPath, std::string& error) const {
    const fs::path target = UnixPath(windowsPath);
    std::error_code failed;
    fs::create_directories(target.parent_path(), failed);
    if (!failed) fs::copy_file(file, target, fs::copy_options::overwrite_existing, failed);
    if (failed) error = "cannot copy " + file + " into the prefix: " + failed.message();
    return !failed;
}
