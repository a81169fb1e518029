#include "state/window.h"
#include "app/startup.h"

namespace {

// Key messages are translated but never dispatched: TranslateMessage returns
// nonzero for them, and only messages it leaves alone reach a window
// procedure. The character messages it posts are dispatched as usual.
void TranslateAndDispatch(const MSG& message) {
    if (!TranslateMessage(&message)) DispatchMessageA(&message);
}

}  // namespace

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) {
        // A WM_QUIT taken here (close box during start-up) is dropped like any
        // other message; start-up goes on to the folder prompt.
        GetMessageA(&message, NULL, 0, 0);
        TranslateAndDispatch(message);
    }
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0)) TranslateAndDispatch(message);
    return static_cast<int>(message.wParam);
}
