// Creating the install folder and the early exits of the install action.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "app/folder.h"
#include "app/manifest.h"
#include "app/windows.h"
#include "tests/win/install/install_win_fixture.h"

namespace {

std::string CurrentFolder() {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(MakeFolder, CreatesEveryMissingLevelAndEntersTheLast) {
    std::string top = EnterScratchFolder();
    std::string path = top + "\\a\\b\\c";
    char buffer[MAX_PATH];
    strcpy(buffer, path.c_str());
    EXPECT_EQ(MakeFolder(buffer), 1);
    EXPECT_EQ(std::string(buffer), path);  // cut and restored during the call
    EXPECT_TRUE(IsFolder(top + "\\a"));
    EXPECT_TRUE(IsFolder(top + "\\a\\b"));
    EXPECT_TRUE(IsFolder(path));
    EXPECT_EQ(CurrentFolder(), path);

    SetCurrentDirectoryA(top.c_str());
    EXPECT_EQ(MakeFolder(buffer), 1) << "existing folders are accepted";
    EXPECT_EQ(CurrentFolder(), path);
}

TEST(MakeFolder, AFileInTheWayFails) {
    std::string top = EnterScratchFolder();
    PutFile("blocker", "not a folder", 0);
    char buffer[MAX_PATH];
    strcpy(buffer, (top + "\\blocker\\inner").c_str());
    EXPECT_EQ(MakeFolder(buffer), 0);
}

struct EarlyExit {
    const char* label;
    bool fileInTheWay;
    const char* folder;  // relative to the scratch folder unless absolute
};

const EarlyExit EarlyExits[] = {
    {"drive root", false, "D:\\"},
    {"drive A", false, "A:\\setup"},
    {"folder not creatable", true, "blocker\\inner"},
};

class InstallStopsEarly : public ::testing::TestWithParam<EarlyExit> {};

TEST_P(InstallStopsEarly, LeavesThePromptAsItWas) {
    const EarlyExit& c = GetParam();
    MakeStandInControls();
    std::string top = EnterScratchFolder();
    if (c.fileInTheWay) PutFile("blocker", "not a folder", 0);
    std::string folder = c.folder[1] == ':' ? c.folder : top + "\\" + c.folder;
    strcpy(InstallFolder, folder.c_str());
    SetWindowTextA(MessageText, "question");
    ShowWindow(InstallButton, SW_SHOW);
    ShowWindow(SelectButton, SW_SHOW);

    EXPECT_EQ(OnInstall(), 0) << c.label;

    char text[64];
    GetWindowTextA(MessageText, text, sizeof text);
    EXPECT_STREQ(text, "question") << c.label;
    EXPECT_TRUE(IsWindowVisible(InstallButton)) << c.label;
    EXPECT_TRUE(IsWindowVisible(SelectButton)) << c.label;
    EXPECT_FALSE(IsWindowVisible(CopyProgress)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Table, InstallStopsEarly, ::testing::ValuesIn(EarlyExits));

}  // namespace
