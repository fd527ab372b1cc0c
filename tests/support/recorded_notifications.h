// Records message boxes and quit requests instead of showing or posting them.
#pragma once

#include <string>
#include <vector>

#include "framework/user_notifications.h"

class CRecordedNotifications : public CUserNotifications {
public:
    CRecordedNotifications() : m_pPrevious(ReplaceUserNotificationsForTesting(this)) {}
    ~CRecordedNotifications() override { ReplaceUserNotificationsForTesting(m_pPrevious); }
    int ShowMessage(HWND, const char* pszText, const char* pszCaption, UINT) override {
        m_messages.push_back(std::string(pszCaption) + ": " + pszText);
        return IDOK;
    }
    void PostQuit(HWND) override { ++m_nQuitRequests; }

    std::vector<std::string> m_messages;
    int m_nQuitRequests = 0;

private:
    CUserNotifications* m_pPrevious;
};
