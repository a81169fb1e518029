// A prefix copied from a template shares the system files with it and has
// its own registry, .ini files and profiles: what one run writes there never
// reaches the template or the next run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/native/scratch_folder.h"
#include "tools/verify/wine_prefix.h"

namespace {

TEST(WinePrefix, ACopyOfATemplateSharesOnlyTheSystemFiles) {
    ScratchFolder folder("prefix-test.");
    for (const char* file : {"user.reg", "system.reg", "drive_c/windows/win.ini", "drive_c/windows/system32/k.dll",
                             "drive_c/users/me/Desktop/d.lnk", "drive_c/users/me/Start Menu/s.lnk", ".ready",
                             "wineserver"}) {
        std::filesystem::create_directories(std::filesystem::path(folder.PathOf("t/" + std::string(file))).parent_path());
        folder.Write("t/" + std::string(file), file);
    }
    ASSERT_EQ(mkdir(folder.PathOf("t/dosdevices").c_str(), 0755), 0);
    ASSERT_EQ(symlink("../drive_c", folder.PathOf("t/dosdevices/c:").c_str()), 0);
    WinePrefix prefix(folder.PathOf("copy"), InstalledWine());
    std::string error;
    ASSERT_TRUE(prefix.CopyOf(folder.PathOf("t"), error)) << error;
    prefix.SetWindowsVersion("win7");
    prefix.RemoveStartMenu();

    EXPECT_EQ(prefix.Profile(), folder.PathOf("copy/drive_c/users/me"));
    EXPECT_EQ(folder.Status("copy/drive_c/windows/system32/k.dll").st_ino, folder.Status("t/drive_c/windows/system32/k.dll").st_ino);
    for (const char* own : {"user.reg", "system.reg", "drive_c/windows/win.ini", "drive_c/users/me/Desktop/d.lnk"}) {
        EXPECT_EQ(folder.Status("copy/" + std::string(own)).st_nlink, 1u) << own;
        EXPECT_EQ(folder.Read("t/" + std::string(own)), own) << own;
    }
    EXPECT_NE(folder.Read("copy/user.reg").find("\"Version\"=\"win7\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.PathOf("copy/drive_c/users/me/Start Menu")));
    EXPECT_TRUE(std::filesystem::exists(folder.PathOf("t/drive_c/users/me/Start Menu/s.lnk")));
    EXPECT_FALSE(std::filesystem::exists(folder.PathOf("copy/.ready")) || std::filesystem::exists(folder.PathOf("copy/wineserver")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.PathOf("copy/dosdevices/c:")));
}

}  // namespace
