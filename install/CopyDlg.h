// The installing page: half a second after it is shown it runs the installation under a wait
// cursor, its progress bar at half and then full. It is where the wizard stays when the
// installation gave up without ending the program.
#pragma once

#include "NewWizPage.h"

class CCopyDlg : public CNewWizPage {
public:
    CCopyDlg();

    CBrush m_HeaderBrush;
    CControl m_Icon;
    CProgressCtrl m_Progress;
    CControl m_Header;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int nID, int nNotifyCode, HWND hControl) override;
    HBRUSH OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnShowWindow(bool bShow, UINT nStatus) override;
};
