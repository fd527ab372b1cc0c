// The last step of start-up: the one wizard of the program, run modally and torn down.
#include "CopyDlg.h"
#include "LanguageDlg.h"
#include "SettingDlg.h"
#include "WelcomeDlg.h"
#include "resource.h"
#include "setup.h"
#include "setupDlg.h"

void CSetupApp::RunWizard() {
    // Declared in this order so that they are destroyed in the reverse one: the installing,
    // settings, language and welcome pages, then the frame.
    CSetupDlg dlg;
    CWelcomeDlg welcome;
    CLanguageDlg language;
    CSettingDlg setting;
    CCopyDlg copy;

    dlg.AddPage(&welcome, IDD_WELCOME);
    dlg.AddPage(&language, IDD_LANGUAGE);
    dlg.AddPage(&setting, IDD_SETTING);
    dlg.AddPage(&copy, IDD_COPY);

    m_pMainWnd = &dlg;
    dlg.DoModal();  // Finish, cancel and the installation's quit request all end here alike
    m_pMainWnd = nullptr;
}
