#include "WelcomeDlg.h"

#include "resource.h"
#include "setup.h"

CWelcomeDlg::CWelcomeDlg() : CNewWizPage(IDD_WELCOME) {}

BOOL CWelcomeDlg::OnInitDialog() {
    CNewWizPage::OnInitDialog();
    g_SetDialogStrings(m_hWnd, IDD_WELCOME);
    return TRUE;
}
