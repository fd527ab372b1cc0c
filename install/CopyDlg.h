// The installing page: half a second after it is shown it runs the installation under a wait
// cursor, its progress bar at half and then full, with the frame busy meanwhile (no button,
// close box or Alt+F4 does anything; the frame can still be moved and minimised). Leaving the
// page before then starts nothing. It is where the wizard stays when the installation gave up
// without ending the program.
#pragma once

#include <functional>

#include "res/resource.h"
#include "wizard/NewWizPage.h"

class CCopyDlg : public CNewWizPage {
public:
    enum { IDD = IDD_COPY };  // the page's template, and its id in the wizard

    CCopyDlg();

    // What the page runs once per showing: the installation. Set before the wizard runs.
    void SetInstallation(std::function<void()> install) { m_Install = std::move(install); }

    CBrush m_HeaderBrush;
    CControl m_Icon;
    CProgressCtrl m_Progress;
    CControl m_Header;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnShowWindow(bool bShow, UINT nStatus) override;

private:
    std::function<void()> m_Install;
};
