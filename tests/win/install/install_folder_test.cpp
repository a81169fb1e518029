// Creating the install folder and the early exits of the install action.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "app/folder.h"
#include "state/product.h"
#include "state/window.h"
#include "tests/win/install/install_win_fixture.h"

namespace {

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(MakeFolder, CreatesEveryMissingLevelAndEntersTheLast) {
    std::string top = EnterScratchFolder();
    std::string path = top + "\\a\\b\\c";
    char buffer[MAX_PATH], current[MAX_PATH];
    strcpy(buffer, path.c_str());
    for (const char* round : {"new folders", "existing folders"}) {
        SetCurrentDirectoryA(top.c_str());
        EXPECT_EQ(MakeFolder(buffer), 1) << round;
        EXPECT_EQ(std::string(buffer), path) << round;  // cut and restored during the call
        EXPECT_TRUE(IsFolder(top + "\\a") && IsFolder(top + "\\a\\b") && IsFolder(path)) << round;
        GetCurrentDirectoryA(MAX_PATH, current);
        EXPECT_EQ(current, path) << round;
    }
}

struct EarlyExit {
    const char* label;
    const char* folder;  // relative to the scratch folder unless absolute
};

const EarlyExit EarlyExits[] = {
    {"drive root", "D:\\"},
    {"folder not creatable", "blocker\\inner"},  // "blocker" is a file
};

class InstallStopsEarly : public ::testing::TestWithParam<EarlyExit> {};

TEST_P(InstallStopsEarly, LeavesThePromptAsItWas) {
    const EarlyExit& c = GetParam();
    MakeStandInControls();
    std::string top = EnterScratchFolder();
    PutFile("blocker", "not a folder", 0);
    strcpy(InstallFolder, (c.folder[1] == ':' ? c.folder : top + "\\" + c.folder).c_str());
    SetWindowTextA(MessageText, "question");
    ShowWindow(InstallButton, SW_SHOW);
    ShowWindow(SelectButton, SW_SHOW);

    EXPECT_EQ(OnInstall(), 0) << c.label;

    char text[64];
    GetWindowTextA(MessageText, text, sizeof text);
    EXPECT_STREQ(text, "question") << c.label;
    EXPECT_TRUE(IsWindowVisible(InstallButton) && IsWindowVisible(SelectButton)) << c.label;
    EXPECT_FALSE(IsWindowVisible(CopyProgress)) << c.label;
    EXPECT_FALSE(IsFolder(top + "\\blocker\\inner")) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Table, InstallStopsEarly, ::testing::ValuesIn(EarlyExits));

}  // namespace
