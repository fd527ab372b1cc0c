#include "wizard/WelcomeDlg.h"

#include "res/resource.h"
#include "wizard/dialog_strings.h"

CWelcomeDlg::CWelcomeDlg() : CNewWizPage(IDD) {}

BOOL CWelcomeDlg::OnInitDialog() {
    CNewWizPage::OnInitDialog();
    g_SetDialogStrings(m_hWnd, IDD);
    return TRUE;
}
