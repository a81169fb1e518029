// The message loops' dispatch rule and the main window's procedure.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "state/window.h"
#include "app/startup.h"

namespace {

std::vector<UINT> Received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) || message >= WM_APP) Received.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

class MessageLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "RECORDER";
        RegisterClassA(&windowClass);
    }

    void SetUp() override {
        window_ = CreateWindowExA(0, "RECORDER", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_NE(window_, nullptr);
        PumpMessages();
        Received.clear();
    }
    void TearDown() override { DestroyWindow(window_); }

    void Post(UINT message) { PostMessageA(window_, message, VK_F5, 0); }

    HWND window_ = NULL;
};

TEST_F(MessageLoop, PumpEmptiesTheQueueAndDropsQuit) {
    Post(WM_APP + 1);
    PostQuitMessage(0);
    Post(WM_APP + 2);
    PumpMessages();
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(Received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
}

// Key presses are translated but never reach a window procedure; other
// messages are dispatched. (WM_CHAR is left out: Wine's TranslateMessage
// answers nonzero for it as well, Windows' does not.)
TEST_F(MessageLoop, FinalLoopReturnsTheQuitCodeAfterDispatchingWhatCameBefore) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_APP + 1, WM_APP + 2}) Post(message);
    PostQuitMessage(7);
    EXPECT_EQ(RunMessageLoop(), 7);
    EXPECT_EQ(Received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
}

// Takes a waiting WM_QUIT and gives its code, or -1 when there is none.
int TakeQuit() {
    MSG message;
    return PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) ? static_cast<int>(message.wParam) : -1;
}

TEST(MainWndProc, OnlyClicksOnExitPostQuit) {
    const struct {
        WORD id, notification;
        bool quits;
    } cases[] = {
        {IDC_EXIT, BN_CLICKED, true},   {IDC_EXIT, BN_DOUBLECLICKED, true}, {IDC_EXIT, BN_SETFOCUS, false},
        {IDC_EXIT, 0x0300, false},      {IDC_EXIT, 1, false},    {0x403, BN_CLICKED, false},
        {0, BN_CLICKED, false},
    };
    while (TakeQuit() >= 0) {}
    for (const auto& c : cases) {
        EXPECT_EQ(MainWndProc(NULL, WM_COMMAND, MAKEWPARAM(c.id, c.notification), 0), 0);
        EXPECT_EQ(TakeQuit(), c.quits ? 0 : -1) << c.id << "/" << c.notification;
    }
}

TEST(MainWndProc, MinimumTrackSizeIsTheOnlyFieldSet) {
    MINMAXINFO info;
    memset(&info, 0x5A, sizeof info);
    MINMAXINFO expected = info;
    expected.ptMinTrackSize = {560, 480};
    EXPECT_EQ(MainWndProc(NULL, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(memcmp(&info, &expected, sizeof info), 0);
}

TEST(MainWndProc, ControlsGetBlackTransparentTextOnTheirBrush) {
    const struct {
        UINT message;
        int brush;
    } cases[] = {{WM_CTLCOLORSTATIC, LTGRAY_BRUSH}, {WM_CTLCOLORBTN, LTGRAY_BRUSH}, {WM_CTLCOLOREDIT, WHITE_BRUSH}};
    for (const auto& c : cases) {
        HDC dc = CreateCompatibleDC(NULL);
        SetTextColor(dc, RGB(200, 10, 10));
        SetBkMode(dc, OPAQUE);
        EXPECT_EQ(MainWndProc(NULL, c.message, reinterpret_cast<WPARAM>(dc), 0),
                  reinterpret_cast<LRESULT>(GetStockObject(c.brush)));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0)) << c.message;
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << c.message;
        DeleteDC(dc);
    }
}

}  // namespace
