#include "wizard/LanguageDlg.h"

#include "framework/data_exchange.h"
#include "payload/os_version.h"
#include "res/resource.h"
#include "wizard/dialog_strings.h"

WORD g_wLanguage = 0;

int OperatingSystemChoice(int nOSVersion) {
    constexpr int kWindows2000Code = 6, kWindows7Code = 10;
    if (nOSVersion < kWindows2000Code || nOSVersion > kWindows7Code) return -1;
    return nOSVersion - kWindows2000Code;
}

CLanguageDlg::CLanguageDlg() : CNewWizPage(IDD) {}

void CLanguageDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_HEADER_ICON, m_Icon);
    DDX_Control(dx, IDC_HEADER_BOX, m_Header);
    DDX_Radio(dx, IDC_LANGUAGE_CHINESE, m_nLanguage);
    DDX_Radio(dx, IDC_OS_WIN2000, m_nOS);
}

BOOL CLanguageDlg::OnInitDialog() {
    CNewWizPage::OnInitDialog();
    m_nLanguage = PRIMARYLANGID(::GetSystemDefaultLangID()) == LANG_CHINESE ? 0 : 1;
    g_wLanguage = static_cast<WORD>(m_nLanguage);
    m_nOS = OperatingSystemChoice(GetOSVersionCode());  // asked afresh, not g_nOSVersion
    g_SetDialogStrings(m_hWnd, IDD);
    LayoutHeader();
    UpdateData(false);
    return TRUE;
}

bool CLanguageDlg::OnCommand(int nID, int nNotifyCode, HWND) {
    if (nNotifyCode != BN_CLICKED || (nID != IDC_LANGUAGE_CHINESE && nID != IDC_LANGUAGE_ENGLISH)) return false;
    UpdateData(true);
    g_wLanguage = static_cast<WORD>(m_nLanguage);
    return true;
}

void CLanguageDlg::OnShowWindow(bool, UINT) { LayoutHeader(); }
