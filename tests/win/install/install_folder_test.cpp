// The early exits of the install action. Creating the folder itself is
// shown by every install scenario, over existing levels by install.reinstall.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "app/folder.h"
#include "state/product.h"
#include "state/window.h"
#include "tests/win/install/install_win_fixture.h"

namespace {

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
    EXPECT_EQ(GetFileAttributesA((top + "\\blocker\\inner").c_str()), INVALID_FILE_ATTRIBUTES) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Table, InstallStopsEarly, ::testing::ValuesIn(EarlyExits));

}  // namespace
