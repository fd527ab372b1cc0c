// The operating-system and language page: both radio groups preselected from the running
// system. The language choice is published in g_wLanguage; the operating-system choice stays
// on the page, since the installation follows the detected system.
#pragma once

#include "res/resource.h"
#include "wizard/NewWizPage.h"

class CLanguageDlg : public CNewWizPage {
public:
    enum { IDD = IDD_LANGUAGE };  // the page's template, and its id in the wizard

    CLanguageDlg();

    CControl m_Icon;
    CControl m_Header;
    int m_nLanguage = -1;  // 0 Chinese, 1 English, -1 none
    int m_nOS = -1;        // 0 Windows 2000 ... 4 Windows 7, -1 none

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int nID, int nNotifyCode, HWND hControl) override;
    void OnShowWindow(bool bShow, UINT nStatus) override;
};

// The button of the operating-system group for an operating-system code: 0 (Windows 2000)
// to 4 (Windows 7), -1 for systems the page does not name.
int OperatingSystemChoice(int nOSVersion);

// The language chosen on this page: 0 Chinese, any other value English. 0 until the page has
// been shown.
extern WORD g_wLanguage;
