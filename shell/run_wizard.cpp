// The last step of start-up: the one wizard of the program, run modally and torn down.
#include "install/CopyDlg.h"
#include "shell/setup.h"
#include "wizard/LanguageDlg.h"
#include "wizard/SettingDlg.h"
#include "wizard/WelcomeDlg.h"
#include "wizard/setupDlg.h"

void CSetupApp::RunWizard() {
    // Declared in this order so that they are destroyed in the reverse one: the installing,
    // settings, language and welcome pages, then the frame.
    CSetupDlg dlg;
    CWelcomeDlg welcome;
    CLanguageDlg language;
    CSettingDlg setting;
    CCopyDlg copy;

    dlg.AddPage(&welcome, CWelcomeDlg::IDD);
    dlg.AddPage(&language, CLanguageDlg::IDD);
    dlg.AddPage(&setting, CSettingDlg::IDD);
    dlg.AddPage(&copy, CCopyDlg::IDD);
    copy.SetInstallation([this] { InstallDriver(); });

    m_pMainWnd = &dlg;
    dlg.DoModal();  // Finish, cancel and the installation's quit request all end here alike
    m_pMainWnd = nullptr;
}
