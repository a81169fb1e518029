// The message loops' dispatch rule and the main window's procedure.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "app/startup.h"
#include "app/windows.h"

namespace {

std::vector<UINT> Received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) Received.push_back(message);
    if (message >= WM_APP) Received.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

class MessageLoopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "RECORDER";
        RegisterClassA(&windowClass);
    }

    void SetUp() override {
        window_ = CreateWindowExA(0, "RECORDER", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
        ASSERT_NE(window_, nullptr);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Received.clear();
    }
    void TearDown() override { DestroyWindow(window_); }

    void Post(UINT message, WPARAM wParam = 0) { PostMessageA(window_, message, wParam, 0); }

    HWND window_ = NULL;
};

struct DispatchCase {
    UINT message;
    WPARAM wParam;
    bool dispatched;
};

// Key presses are translated but never reach a window procedure; other
// messages are dispatched. (WM_CHAR is left out: Wine's TranslateMessage
// answers nonzero for it as well, Windows' does not.)
const DispatchCase DispatchCases[] = {
    {WM_KEYDOWN, VK_F5, false},    {WM_KEYUP, VK_F5, false},
    {WM_SYSKEYDOWN, VK_F5, false}, {WM_SYSKEYUP, VK_F5, false},
    {WM_APP + 1, 0, true},         {WM_APP + 2, 0, true},
};

TEST_F(MessageLoopTest, PumpDispatchesOnlyWhatTranslateLeavesAlone) {
    for (const DispatchCase& c : DispatchCases) {
        Received.clear();
        Post(c.message, c.wParam);
        PumpMessages();
        bool seen = !Received.empty() && Received[0] == c.message;
        EXPECT_EQ(seen, c.dispatched) << "message 0x" << std::hex << c.message;
    }
}

TEST_F(MessageLoopTest, PumpEmptiesTheQueueAndDropsQuit) {
    Post(WM_APP + 1);
    PostQuitMessage(0);
    Post(WM_APP + 2);
    PumpMessages();
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(Received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
}

TEST_F(MessageLoopTest, FinalLoopReturnsTheQuitCodeAfterDispatchingWhatCameBefore) {
    for (const DispatchCase& c : DispatchCases) Post(c.message, c.wParam);
    PostQuitMessage(7);
    EXPECT_EQ(RunMessageLoop(), 7);
    std::vector<UINT> expected;
    for (const DispatchCase& c : DispatchCases) {
        if (c.dispatched) expected.push_back(c.message);
    }
    EXPECT_EQ(Received, expected);
}

bool TakeQuit(int* code) {
    MSG message;
    if (!PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
    *code = static_cast<int>(message.wParam);
    return true;
}

struct CommandCase {
    WORD id;
    WORD notification;
    bool quits;
};

TEST(MainWndProc, OnlyClicksOnExitPostQuit) {
    const CommandCase cases[] = {
        {IDC_EXIT, BN_CLICKED, true},
        {IDC_EXIT, BN_DOUBLECLICKED, true},
        {IDC_EXIT, 1, false},
        {IDC_EXIT, BN_SETFOCUS, false},
        {IDC_EXIT, BN_KILLFOCUS, false},
        {IDC_EXIT, 0x0300, false},
        {0x403, BN_CLICKED, false},
        {0, BN_CLICKED, false},
    };
    for (const CommandCase& c : cases) {
        int code = -1;
        while (TakeQuit(&code)) {}
        LRESULT result = MainWndProc(NULL, WM_COMMAND, MAKEWPARAM(c.id, c.notification), 0);
        EXPECT_EQ(result, 0);
        code = -1;
        EXPECT_EQ(TakeQuit(&code), c.quits) << c.id << "/" << c.notification;
        if (c.quits) EXPECT_EQ(code, 0);
    }
}

TEST(MainWndProc, CloseAsksToQuitAndKeepsTheWindow) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    int code = -1;
    while (TakeQuit(&code)) {}
    EXPECT_EQ(MainWndProc(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(TakeQuit(&code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
}

TEST(MainWndProc, MinimumTrackSizeIsTheOnlyFieldSet) {
    MINMAXINFO info;
    memset(&info, 0x5A, sizeof info);
    MINMAXINFO expected = info;
    expected.ptMinTrackSize.x = 560;
    expected.ptMinTrackSize.y = 480;
    EXPECT_EQ(MainWndProc(NULL, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(memcmp(&info, &expected, sizeof info), 0);
}

struct ColourCase {
    UINT message;
    int brush;
};

TEST(MainWndProc, ControlsGetBlackTransparentTextOnTheirBrush) {
    const ColourCase cases[] = {
        {WM_CTLCOLORSTATIC, LTGRAY_BRUSH},
        {WM_CTLCOLORBTN, LTGRAY_BRUSH},
        {WM_CTLCOLOREDIT, WHITE_BRUSH},
    };
    for (const ColourCase& c : cases) {
        HDC dc = CreateCompatibleDC(NULL);
        SetTextColor(dc, RGB(200, 10, 10));
        SetBkMode(dc, OPAQUE);
        LRESULT brush = MainWndProc(NULL, c.message, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(c.brush))) << c.message;
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0)) << c.message;
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << c.message;
        DeleteDC(dc);
    }
}

}  // namespace
