// The two things the installer tells the user's session: a message box, and the request that
// ends the wizard. Both go through one replaceable sink so that tests can observe them; the
// shipped program only ever uses the platform's.
#pragma once

#include <windows.h>

class CUserNotifications {
public:
    virtual ~CUserNotifications() = default;
    // MessageBoxA's contract: returns the button pressed.
    virtual int ShowMessage(HWND hOwner, const char* pszText, const char* pszCaption, UINT uType);
    // Posts WM_QUIT (both parameters 0) to hWnd.
    virtual void PostQuit(HWND hWnd);
};

// The sink in use: the platform's unless a test installed its own.
CUserNotifications& UserNotifications();

// For tests only: makes pSink the sink in use (null restores the platform's). Returns the one
// it replaces.
CUserNotifications* ReplaceUserNotificationsForTesting(CUserNotifications* pSink);

// A silent run's sink for as long as it lives: every message box is logged (framework/run_log.h),
// never shown, and answered with its first button (Yes or OK); no quit request is posted.
class CSilentNotifications : public CUserNotifications {
public:
    CSilentNotifications();
    ~CSilentNotifications() override;
    CSilentNotifications(const CSilentNotifications&) = delete;
    CSilentNotifications& operator=(const CSilentNotifications&) = delete;

    int ShowMessage(HWND hOwner, const char* pszText, const char* pszCaption, UINT uType) override;
    void PostQuit(HWND hWnd) override;

private:
    CUserNotifications* m_pPrevious;
};
