// Waiting on the user-interface thread without leaving its windows unanswered: the thread's
// sent and posted messages are handled during the wait, so its windows repaint, their timers
// run and the system never takes them for hung.
//
// Whatever the thread's windows receive meanwhile is handled by them as usual, so a window
// that must not act during a wait (buttons, the close box) has to refuse that itself.
#pragma once

#include <windows.h>

// Waits until hObject is signalled or dwTimeoutMs milliseconds have passed, handling the
// thread's messages meanwhile; the limit counts from the call, however many messages arrive.
// A null hObject only waits out the time. A quit request taken from the queue during the wait
// is posted again before returning, so the loop it was meant for still ends.
// Returns what WaitForSingleObject would: WAIT_OBJECT_0 (signalled), WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitHandlingMessages(HANDLE hObject, DWORD dwTimeoutMs);
