// The printer settings page: the series list, which holds Next back on the first visit
// until a series is chosen, the default-printer box and the name the choice fills in. Its
// values stay on the page.
#pragma once

#include <string>

#include "res/resource.h"
#include "wizard/NewWizPage.h"

class CSettingDlg : public CNewWizPage {
public:
    enum { IDD = IDD_SETTING };  // the page's template, and its id in the wizard

    CSettingDlg();

    CListBox m_listSeries;
    int m_bSetDefault = 1;
    std::string m_strPrinterName;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int nID, int nNotifyCode, HWND hControl) override;
    void OnShowWindow(bool bShow, UINT nStatus) override;
};
