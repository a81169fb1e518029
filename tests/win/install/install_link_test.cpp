// Shell links: the argument checks and CreateLink's results. What a saved link
// holds is read back by the install scenarios (tests/win/lib/scenario.cpp).
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "system/shortcuts.h"
#include "tests/win/install/install_win_fixture.h"

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(CreateShellLink, RefusesEachBadArgumentBeforeSavingAnything) {
    CoInitialize(nullptr);
    EnterScratchFolder();
    PutFile("t.exe", "program", 0);
    const struct {
        const char *label, *target, *arguments, *link, *description;
        int show;
        const char *folder, *icon;
        int iconIndex;
    } cases[] = {
        {"empty target", "", "", "x.lnk", "c", 1, ".", "", 0},
        {"null arguments", "t.exe", nullptr, "x.lnk", "c", 1, ".", "", 0},
        {"empty link path", "t.exe", "", "", "c", 1, ".", "", 0},
        {"null description", "t.exe", "", "x.lnk", nullptr, 1, ".", "", 0},
        {"negative show command", "t.exe", "", "x.lnk", "c", -1, ".", "", 0},
        {"null working folder", "t.exe", "", "x.lnk", "c", 1, nullptr, "", 0},
        {"null icon path", "t.exe", "", "x.lnk", "c", 1, ".", nullptr, 0},
        {"negative icon index", "t.exe", "", "x.lnk", "c", 1, ".", "", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CreateShellLink(c.target, c.arguments, c.link, c.description, c.show, c.folder, c.icon,
                                  c.iconIndex),
                  E_INVALIDARG)
            << c.label;
        EXPECT_FALSE(Exists("x.lnk")) << c.label;
    }
    CoUninitialize();
}

TEST(CreateLink, ReportsSuccessAndFailedSaves) {
    std::string folder = EnterScratchFolder(), target = folder + "\\Varnoset.EXE";
    PutFile("Varnoset.EXE", "program", 0);
    const struct { std::string link; int result; } cases[] = {
        {folder + "\\Varnoset.lnk", 0},
        {folder + "\\no such folder\\Varnoset.lnk", 76},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CreateLink(c.link.c_str(), target.c_str(), "", "comment", folder.c_str()), c.result) << c.link;
        EXPECT_EQ(Exists(c.link), c.result == 0) << c.link;
    }
}

}  // namespace
