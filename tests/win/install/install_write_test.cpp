// Writing the files: the user data rule, rewriting, stamping, empty files,
// and the progress protocol (shared by unpacking).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "state/window.h"
#include "payload/payload.h"
#include "tests/win/install/install_win_fixture.h"

namespace {

const unsigned long long StoredTime = 125422939200000000ULL;  // 1998-06-14 10:32 UTC
const unsigned long long UserTime = 132223104000000000ULL;    // 2020-01-01 00:00 UTC
char NewBytes[] = "bytes from the payload";

enum Before { Nothing, UserFile, UserFolder };

struct WriteCase {
    const char* name;
    Before before;
    bool written;
    bool empty;  // a row of no bytes and no buffer
};

// Which names count as user data is tested natively (UserDataName).
const WriteCase WriteCases[] = {
    {"plain.txt", UserFile, true, false},   {"DATA.CSV", Nothing, true, false}, {"DATA.CSV", UserFile, false, false},
    {"DATA.CSV", UserFolder, false, false}, {"empty.txt", UserFile, true, true},
};

class WriteOne : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteOne, FollowsTheUserDataRule) {
    const WriteCase& c = GetParam();
    EnterScratchFolder();
    if (c.before == UserFile) PutFile(c.name, "user bytes", UserTime);
    if (c.before == UserFolder) CreateDirectoryA(c.name, nullptr);
    PayloadRecord row = {c.name, c.empty ? nullptr : reinterpret_cast<BYTE*>(NewBytes),
                         static_cast<DWORD>(c.empty ? 0 : sizeof NewBytes - 1), FileTimeOf(StoredTime)};

    EXPECT_EQ(WriteOneFile(c.name, row), 0);

    // Times first: reading the contents moves the access time.
    FileTimes times = TimesOf(c.name);
    if (c.written) {
        EXPECT_EQ(times.created, StoredTime);
        EXPECT_EQ(times.accessed, StoredTime);
        EXPECT_EQ(times.written, StoredTime);
        EXPECT_EQ(ReadFileText(c.name), c.empty ? "" : NewBytes);
    } else if (c.before == UserFile) {
        EXPECT_EQ(times.written, UserTime);
        EXPECT_EQ(ReadFileText(c.name), "user bytes");
    } else {
        EXPECT_NE(GetFileAttributesA(c.name) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, WriteOne, ::testing::ValuesIn(WriteCases));

std::vector<ProgressMessage> ExpectedProtocol(HWND bar, WORD rows) {
    std::vector<ProgressMessage> expected = {{bar, PBM_SETRANGE, 0, MAKELPARAM(0, rows)}};
    for (WORD i = 0; i <= rows; ++i) expected.push_back({bar, PBM_SETPOS, i, 0});
    return expected;
}

// A row marked to keep an existing file leaves the user's copy; the bar still
// passes it.
class WriteAll : public ::testing::TestWithParam<int> {};

TEST_P(WriteAll, ReportsEveryRowAndWritesItInOrder) {
    const int rows = GetParam();
    const char* names[] = {"one.bin", "two.bin", "three.bin"};
    std::vector<PayloadRecord> table;
    for (int i = 0; i < rows; ++i) {
        table.push_back({names[i], reinterpret_cast<BYTE*>(NewBytes), sizeof NewBytes - 1,
                         FileTimeOf(StoredTime)});
    }
    SetRows(table, {false, true, false});  // two.bin: written only when absent
    MakeStandInControls();
    EnterScratchFolder();
    PutFile(names[1], "user bytes", UserTime);

    EXPECT_EQ(WriteFiles(), 1);

    EXPECT_EQ(ProgressLog, ExpectedProtocol(CopyProgress, static_cast<WORD>(rows)));
    EXPECT_FALSE(IsWindowVisible(CopyProgress));
    char text[64];
    GetWindowTextA(MessageText, text, sizeof text);
    EXPECT_STREQ(text, "Copying files...");
    for (int i = 0; i < 3; ++i) {
        const bool exists = GetFileAttributesA(names[i]) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(exists, i < rows || i == 1) << names[i];
        if (exists) { EXPECT_EQ(ReadFileText(names[i]), i == 1 ? "user bytes" : NewBytes) << names[i]; }
    }
}

INSTANTIATE_TEST_SUITE_P(RowCounts, WriteAll, ::testing::Values(0, 1, 3));

}  // namespace
