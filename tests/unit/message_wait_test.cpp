// Waiting on the user-interface thread while its messages are handled: timers and posted
// messages run during the wait, the limit holds under a stream of messages, and a quit request
// survives the wait.
#include "framework/message_wait.h"

#include <gtest/gtest.h>

#include "framework/scoped_handle.h"

namespace {

constexpr UINT kRepost = WM_APP + 1;

int g_nTicks = 0;
HANDLE g_hSignalAfterThreeTicks = nullptr;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    if (++g_nTicks == 3 && g_hSignalAfterThreeTicks) ::SetEvent(g_hSignalAfterThreeTicks);
}

void CALLBACK RequestQuit(HWND, UINT, UINT_PTR nTimer, DWORD) {
    ::KillTimer(nullptr, nTimer);
    ::PostQuitMessage(7);
}

// A thread timer, killed with its owner.
class CThreadTimer {
public:
    CThreadTimer(UINT nIntervalMs, TIMERPROC pProc) : m_nTimer(::SetTimer(nullptr, 0, nIntervalMs, pProc)) {}
    ~CThreadTimer() { ::KillTimer(nullptr, m_nTimer); }
    CThreadTimer(const CThreadTimer&) = delete;
    CThreadTimer& operator=(const CThreadTimer&) = delete;

private:
    UINT_PTR m_nTimer;
};

// A message-only window; once started, it posts itself a message again for each one it
// handles: a queue that is never empty (and so never lets a timer fire).
class CMessageWindow {
public:
    CMessageWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &CMessageWindow::Proc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "q73-endless-messages";
        ::RegisterClassA(&windowClass);
        m_hWnd = ::CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    }
    ~CMessageWindow() {
        ::DestroyWindow(m_hWnd);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, kRepost, kRepost, PM_REMOVE)) {
        }
    }
    CMessageWindow(const CMessageWindow&) = delete;
    CMessageWindow& operator=(const CMessageWindow&) = delete;

    void StartEndlessMessages() const { ::PostMessageA(m_hWnd, kRepost, 0, 0); }
    HWND GetSafeHwnd() const { return m_hWnd; }
    static int s_nHandled;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMessage, WPARAM wParam, LPARAM lParam) {
        if (uMessage != kRepost) return ::DefWindowProcA(hWnd, uMessage, wParam, lParam);
        ++s_nHandled;
        ::PostMessageA(hWnd, kRepost, 0, 0);
        return 0;
    }
    HWND m_hWnd;
};

int CMessageWindow::s_nHandled = 0;

CKernelHandle NewEvent() { return CKernelHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

class MessageWait : public ::testing::Test {
protected:
    void SetUp() override {
        g_nTicks = 0;
        CMessageWindow::s_nHandled = 0;
    }
    void TearDown() override { g_hSignalAfterThreeTicks = nullptr; }
};

}  // namespace

TEST_F(MessageWait, TimersRunDuringTheWaitAndTheSignalEndsIt) {
    CKernelHandle hEvent = NewEvent();
    g_hSignalAfterThreeTicks = hEvent.GetUnsafe();
    CThreadTimer timer(10, &CountTick);
    EXPECT_EQ(WaitHandlingMessages(hEvent.GetUnsafe(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(g_nTicks, 3);
    // Signalled already: no wait, even with no time left.
    EXPECT_EQ(WaitHandlingMessages(hEvent.GetUnsafe(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST_F(MessageWait, TheLimitHoldsUnderAQueueThatIsNeverEmpty) {
    CMessageWindow endless;
    ASSERT_TRUE(endless.GetSafeHwnd());
    endless.StartEndlessMessages();
    CKernelHandle hEvent = NewEvent();
    for (HANDLE hObject : {hEvent.GetUnsafe(), HANDLE(nullptr)}) {
        const int nHandledBefore = CMessageWindow::s_nHandled;
        const DWORD dwStart = ::GetTickCount();
        EXPECT_EQ(WaitHandlingMessages(hObject, 200), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_GE(::GetTickCount() - dwStart, 200u) << "returned before the limit";
        EXPECT_GT(CMessageWindow::s_nHandled, nHandledBefore + 1);
    }
}

// The wizard's run ends on a quit request posted to its window: one taken from the queue while
// the installation waits must still reach it, and must not cut the wait short.
TEST_F(MessageWait, AQuitRequestTakenDuringTheWaitIsPostedAgainAfterIt) {
    CMessageWindow window;
    CKernelHandle hEvent = NewEvent();
    {
        CThreadTimer timer(10, &RequestQuit);
        EXPECT_EQ(WaitHandlingMessages(hEvent.GetUnsafe(), 150), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    ::PostMessageA(window.GetSafeHwnd(), WM_QUIT, 0, 0);  // as the installation's quit request
    ::SetEvent(hEvent.GetUnsafe());
    EXPECT_EQ(WaitHandlingMessages(hEvent.GetUnsafe(), 1000), static_cast<DWORD>(WAIT_OBJECT_0));
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window.GetSafeHwnd());
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "posted twice";
}

TEST_F(MessageWait, AWaitOnAClosedHandleFails) {
    HANDLE hClosed = NewEvent().Release();
    ::CloseHandle(hClosed);
    EXPECT_EQ(WaitHandlingMessages(hClosed, 1000), static_cast<DWORD>(WAIT_FAILED));
}
