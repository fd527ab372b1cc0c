// The installer's main window: the wizard frame on dialog 102 with the application icon, the
// about entry of its system menu, the localised button captions and its own Cancel button;
// and the about box that entry opens.
#pragma once

#include "res/resource.h"
#include "wizard/NewWizDialog.h"

class CSetupDlg : public CNewWizDialog {
public:
    enum { IDD = IDD_SETUP_DIALOG };

    CSetupDlg();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nID, int nNotifyCode, HWND hControl) override;
    bool OnSysCommand(UINT nID, LPARAM lParam) override;
    bool OnPaint() override;
    HCURSOR OnQueryDragIcon() override;

    HICON m_hIcon;  // a shared resource icon: never destroyed
};

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
