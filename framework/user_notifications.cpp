#include "framework/user_notifications.h"

#include <string>

#include "framework/run_log.h"

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

CSilentNotifications::CSilentNotifications() : m_pPrevious(ReplaceUserNotificationsForTesting(this)) {}

CSilentNotifications::~CSilentNotifications() { ReplaceUserNotificationsForTesting(m_pPrevious); }

int CSilentNotifications::ShowMessage(HWND, const char* pszText, const char* pszCaption, UINT uType) {
    LogStep(std::string("message not shown (") + pszCaption + "): " + pszText);
    return (uType & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

void CSilentNotifications::PostQuit(HWND) {}
