// The early exits of the install action. Creating the folder itself is
// shown by every install scenario, over existing levels by install.reinstall.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "app/folder.h"
#include "system/folder_security.h"

#include <sddl.h>  // after windows.h
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

std::string DaclOf(const std::string& path) {
    char descriptor[4096];
    DWORD needed = 0;
    char* text = nullptr;
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor, &needed) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                              &text, nullptr)) {
        return "unreadable";
    }
    std::string dacl = text;
    LocalFree(text);
    return dacl;
}

// Elevated (as Wine runs the tests), the folders made for the install and
// the install folder that existed get the program folder's protection; a
// parent that existed keeps its own. Wine keeps a DACL as Unix permissions,
// so a protected folder reads back without the access for everyone that an
// ordinary one has.
TEST(MakeFolder, ProtectsWhatAnElevatedInstallerMakesAndInstallsInto) {
    SECURITY_ATTRIBUTES* security = nullptr;
    ASSERT_EQ(FolderSecurity(&security), 1);
    if (!security) GTEST_SKIP() << "this Wine runs the tests unelevated";
    char* built = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(
        security->lpSecurityDescriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &built, nullptr));
    EXPECT_STREQ(built, PROGRAM_FOLDER_SDDL);
    LocalFree(built);

    const std::string top = EnterScratchFolder(), existing = top + "\\existing", made = existing + "\\made";
    CreateDirectoryA(existing.c_str(), nullptr);
    const std::string ordinary = DaclOf(existing);
    ASSERT_NE(ordinary.find(";;;WD)"), std::string::npos) << ordinary;
    for (const std::string& folder : {made + "\\inner", existing}) {
        EXPECT_EQ(DaclOf(existing), ordinary) << "a parent that existed";
        strcpy(InstallFolder, folder.c_str());
        ASSERT_EQ(MakeFolder(InstallFolder), 1) << folder;
    }
    for (const std::string& folder : {made, made + "\\inner", existing}) {
        EXPECT_EQ(DaclOf(folder).find(";;;WD)"), std::string::npos) << folder << ": " << DaclOf(folder);
    }
}

}  // namespace
