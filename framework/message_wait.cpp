#include "framework/message_wait.h"

namespace {

// Handles the messages in the queue until it is empty or the time is up; notes a quit request
// instead of handling it.
void HandleMessages(DWORD dwStart, DWORD dwTimeoutMs, bool& bQuit, MSG& quit) {
    MSG msg;
    while (::GetTickCount() - dwStart < dwTimeoutMs && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            bQuit = true;
            quit = msg;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace

DWORD WaitHandlingMessages(HANDLE hObject, DWORD dwTimeoutMs) {
    const DWORD dwStart = ::GetTickCount();  // differences stay right across the wrap-around
    const DWORD nHandles = hObject ? 1 : 0;
    bool bQuit = false;
    MSG quit = {};
    DWORD dwResult;
    for (;;) {
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeoutMs) {
            // Time is up, even under a stream of messages: the object decides alone.
            dwResult = hObject ? ::WaitForSingleObject(hObject, 0) : WAIT_TIMEOUT;
            break;
        }
        const DWORD dwWait = ::MsgWaitForMultipleObjectsEx(nHandles, hObject ? &hObject : nullptr,
                                                           dwTimeoutMs - dwElapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (dwWait == WAIT_OBJECT_0 + nHandles) {
            HandleMessages(dwStart, dwTimeoutMs, bQuit, quit);
            continue;
        }
        dwResult = dwWait;  // signalled (only with an object), timed out or failed
        break;
    }
    if (bQuit && !::PostMessageA(quit.hwnd, WM_QUIT, quit.wParam, quit.lParam))
        ::PostQuitMessage(static_cast<int>(quit.wParam));  // its window is gone: the thread's loop still ends
    return dwResult;
}
