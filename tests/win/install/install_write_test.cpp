// Writing the files: the progress protocol (shared by unpacking) and the
// rows kept. What a write leaves (bytes, times, the user's data over a
// reinstall) is checked by the install scenarios.
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
