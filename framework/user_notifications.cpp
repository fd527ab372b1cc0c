#include "framework/user_notifications.h"

namespace {

CUserNotifications g_platformNotifications;
CUserNotifications* g_pNotifications = &g_platformNotifications;

}  // namespace

int CUserNotifications::ShowMessage(HWND hOwner, const char* pszText, const char* pszCaption, UINT uType) {
    return ::MessageBoxA(hOwner, pszText, pszCaption, uType);
}

void CUserNotifications::PostQuit(HWND hWnd) { ::PostMessageA(hWnd, WM_QUIT, 0, 0); }

CUserNotifications& UserNotifications() { return *g_pNotifications; }

CUserNotifications* ReplaceUserNotificationsForTesting(CUserNotifications* pSink) {
    CUserNotifications* pPrevious = g_pNotifications;
    g_pNotifications = pSink ? pSink : &g_platformNotifications;
    return pPrevious;
}
