// The installer's own frame and four pages under a scripted modal run, with an application
// object whose installation only records that it ran.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/message_wait.h"
#include "framework/scoped_handle.h"
#include "install/CopyDlg.h"
#include "res/resource.h"
#include "scripted_steps.h"
#include "shell/setup.h"
#include "test_support.h"
#include "wizard/LanguageDlg.h"
#include "wizard/SettingDlg.h"
#include "wizard/WelcomeDlg.h"
#include "wizard/setupDlg.h"

// Counts the installations the installing page starts and notes what it showed meanwhile;
// with m_bWaitForRelease it waits, handling messages as the real one does while the print-UI
// runs, until m_hRelease is set; with m_bQuit it ends the run as the real installation does.
class CRecordingApp : public CSetupApp {
public:
    void InstallDriver() override {
        ++m_nRuns;
        m_nProgressDuring = m_pCopyPage ? m_pCopyPage->m_Progress.GetPos() : -1;
        m_bWaitCursorDuring = ::GetCursor() == ::LoadCursorA(nullptr, IDC_WAIT);
        if (m_bWaitForRelease) {
            m_bWaiting = true;
            EXPECT_EQ(WaitHandlingMessages(m_hRelease.GetUnsafe(), 30000), WAIT_OBJECT_0) << "never released";
            m_bWaiting = false;
        }
        if (m_bQuit) ::PostMessageA(GetMainWindow(), WM_QUIT, 0, 0);
    }
    int m_nRuns = 0;
    int m_nProgressDuring = -1;
    bool m_bWaitCursorDuring = false;
    bool m_bQuit = false;
    bool m_bWaitForRelease = false;
    bool m_bWaiting = false;
    CKernelHandle m_hRelease{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    const CCopyDlg* m_pCopyPage = nullptr;
};

class WizardTest : public ::testing::Test {
protected:
    WizardTest() {
        m_dlg.AddPage(&m_welcome, IDD_WELCOME);
        m_dlg.AddPage(&m_language, IDD_LANGUAGE);
        m_dlg.AddPage(&m_setting, IDD_SETTING);
        m_dlg.AddPage(&m_copy, IDD_COPY);
        m_app.m_pMainWnd = &m_dlg;
        m_app.m_pCopyPage = &m_copy;
        m_copy.SetInstallation([this] { m_app.InstallDriver(); });
        m_strPreviousLanguageFile = std::exchange(g_strLanguageFile, m_dir.File("Multi.dll"));
        g_wLanguage = 0;
        g_bInstallDone = false;
    }
    ~WizardTest() override {
        g_strLanguageFile = m_strPreviousLanguageFile;
        g_wLanguage = 0;
        g_bInstallDone = false;
    }

    // The language file of payload nResource (146 Chinese, 147 English, 248 traditional).
    void UseLanguageFile(unsigned nResource) { WriteFileBytes(g_strLanguageFile, PayloadBytes(nResource)); }

    INT_PTR Run(std::vector<CScriptedSteps::Step> steps) { return RunScripted(m_dlg, std::move(steps)); }

    HWND F() const { return m_dlg.GetSafeHwnd(); }
    int ShownID() const { return m_dlg.GetActivePage() ? m_dlg.GetActivePage()->m_nDialogID : 0; }
    // Selects the series the way a click does: the list selects, then notifies its page.
    void SelectSeries() {
        HWND hList = m_setting.GetDlgItem(IDC_SERIES_LIST);
        ::SendMessageA(hList, LB_SETCURSEL, 0, 0);
        ::SendMessageA(m_setting.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hList));
    }
    void Close() { ::PostMessageA(F(), WM_CLOSE, 0, 0); }

    CScopedDirectory m_dir{"wizard"};
    std::string m_strPreviousLanguageFile;
    CRecordingApp m_app;
    CSetupDlg m_dlg;
    CWelcomeDlg m_welcome;
    CLanguageDlg m_language;
    CSettingDlg m_setting;
    CCopyDlg m_copy;
};
