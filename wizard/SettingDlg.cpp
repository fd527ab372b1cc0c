#include "wizard/SettingDlg.h"

#include "framework/data_exchange.h"
#include "res/resource.h"
#include "wizard/NewWizDialog.h"
#include "wizard/dialog_strings.h"

namespace {
constexpr char kSeries[] = "80mm series";
}  // namespace

CSettingDlg::CSettingDlg() : CNewWizPage(IDD) {}

void CSettingDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_SERIES_LIST, m_listSeries);
    DDX_Check(dx, IDC_SET_DEFAULT, m_bSetDefault);
    DDX_Text(dx, IDC_PRINTER_NAME, m_strPrinterName);
}

BOOL CSettingDlg::OnInitDialog() {
    CNewWizPage::OnInitDialog();
    UpdateData(true);  // the template's clear box and empty name replace the constructor's values
    m_listSeries.AddString(kSeries);
    GetFrame()->EnableNext(m_listSeries.GetCurSel() != LB_ERR);
    g_SetDialogStrings(m_hWnd, IDD);
    return TRUE;
}

bool CSettingDlg::OnCommand(int nID, int nNotifyCode, HWND) {
    if (nID != IDC_SERIES_LIST || nNotifyCode != LBN_SELCHANGE) return false;
    GetFrame()->EnableNext(true);
    if (m_listSeries.GetCurSel() == 0) m_strPrinterName = kSeries;
    UpdateData(false);
    return true;
}

void CSettingDlg::OnShowWindow(bool, UINT) { UpdateData(true); }
