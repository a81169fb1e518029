// Shell links: argument checks, the properties a saved link carries, and
// CreateLink's results.
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "system/shortcuts.h"
#include "tests/win/install/install_win_fixture.h"

namespace {

struct LinkProperties {
    std::string path, arguments, description, workingDirectory;
    int showCommand = -1;
};

// Loads a saved link through the shell, independently of how it was made.
bool LoadLink(const std::string& file, LinkProperties& out) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    IPersistFile* persist = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    bool loaded = SUCCEEDED(persist->Load(wide, STGM_READ));
    char text[1024];
    text[0] = '\0';
    link->GetPath(text, sizeof text, nullptr, 0);
    out.path = text;
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    out.arguments = text;
    text[0] = '\0';
    link->GetDescription(text, sizeof text);
    out.description = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, sizeof text);
    out.workingDirectory = text;
    link->GetShowCmd(&out.showCommand);
    persist->Release();
    link->Release();
    return loaded;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ShellLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        folder = EnterScratchFolder();
        link = folder + "\\Varnoset.lnk";
        target = folder + "\\Varnoset.EXE";
        PutFile("Varnoset.EXE", "program", 0);
    }
    void TearDown() override { CoUninitialize(); }
    std::string folder, link, target;
};

struct RejectedCase {
    const char* label;
    bool emptyTarget, nullArguments, emptyLink, nullDescription;
    int showCommand;
    bool nullWorkingDirectory, nullIconPath;
    int iconIndex;
};

const RejectedCase RejectedCases[] = {
    {"empty target", true, false, false, false, 1, false, false, 0},
    {"null arguments", false, true, false, false, 1, false, false, 0},
    {"empty link path", false, false, true, false, 1, false, false, 0},
    {"null description", false, false, false, true, 1, false, false, 0},
    {"negative show command", false, false, false, false, -1, false, false, 0},
    {"null working directory", false, false, false, false, 1, true, false, 0},
    {"null icon path", false, false, false, false, 1, false, true, 0},
    {"negative icon index", false, false, false, false, 1, false, false, -1},
};

class RejectedLink : public ShellLinkTest, public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedLink, RefusedBeforeAnythingIsSaved) {
    const RejectedCase& c = GetParam();
    HRESULT result = CreateShellLink(
        c.emptyTarget ? "" : target.c_str(), c.nullArguments ? nullptr : "",
        c.emptyLink ? "" : link.c_str(), c.nullDescription ? nullptr : "comment", c.showCommand,
        c.nullWorkingDirectory ? nullptr : folder.c_str(), c.nullIconPath ? nullptr : "",
        c.iconIndex);
    EXPECT_EQ(result, E_INVALIDARG) << c.label;
    EXPECT_FALSE(Exists(link)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Table, RejectedLink, ::testing::ValuesIn(RejectedCases));

TEST_F(ShellLinkTest, SavedLinkCarriesEveryProperty) {
    const char* description = "Varnoset, charts\nby Holbrine Software\nMarrow Falls, Vermont";
    ASSERT_EQ(CreateShellLink(target.c_str(), "", link.c_str(), description, SW_SHOWNORMAL,
                              folder.c_str(), "", 0),
              S_OK);
    LinkProperties saved;
    ASSERT_TRUE(LoadLink(link, saved));
    EXPECT_STRCASEEQ(saved.path.c_str(), target.c_str());
    EXPECT_EQ(saved.arguments, "");
    EXPECT_EQ(saved.description, description);
    EXPECT_STRCASEEQ(saved.workingDirectory.c_str(), folder.c_str());
    EXPECT_EQ(saved.showCommand, SW_SHOWNORMAL);
}

TEST_F(ShellLinkTest, EmptyOptionalTextsLeaveThePropertiesUnset) {
    ASSERT_EQ(CreateShellLink(target.c_str(), "", link.c_str(), "", 0, "", "", 0), S_OK);
    LinkProperties saved;
    ASSERT_TRUE(LoadLink(link, saved));
    EXPECT_EQ(saved.description, "");
    EXPECT_EQ(saved.workingDirectory, "");
}

TEST_F(ShellLinkTest, CreateLinkReportsSuccessAndFailedSaves) {
    EXPECT_EQ(CreateLink(link.c_str(), target.c_str(), "", "comment", folder.c_str()), 0);
    EXPECT_TRUE(Exists(link));
    EXPECT_EQ(CreateLink("", target.c_str(), "", "comment", folder.c_str()), 76);
    std::string missing = folder + "\\no such folder\\Varnoset.lnk";
    EXPECT_EQ(CreateLink(missing.c_str(), target.c_str(), "", "comment", folder.c_str()), 76);
}

}  // namespace
