// The real setup.exe walked with real input only: the keyboard in every system language, with
// the texts of that language's file, and the mouse in one; and the wizard answering, but
// refusing every action, while a slow print-UI runs.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "setup_e2e.h"
#include "spooler_helpers.h"

namespace {

// Windows takes a window that has handled no message for five seconds for hung; the stand-in
// print-UI waits longer than that.
constexpr char kSlowPrintUiSeconds[] = "7";
constexpr DWORD kWatchedMs = 6000;
constexpr UINT kAnswerTimeoutMs = 1000;

// Asks the window for an answer as the system does before it marks a window hung.
bool Answers(HWND hWnd) {
    DWORD_PTR dwResult = 0;
    return ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &dwResult) != 0;
}

int ProgressPosition(HWND hPage) {
    DWORD_PTR dwPosition = 0;
    if (!::SendMessageTimeoutA(::GetDlgItem(hPage, IDC_COPY_PROGRESS), PBM_GETPOS, 0, 0, SMTO_NORMAL,
                               kAnswerTimeoutMs, &dwPosition))
        return -1;
    return static_cast<int>(dwPosition);
}

std::string EnabledButtons(HWND hFrame) {
    std::string strEnabled;
    for (int nID : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDC_CANCEL_BUTTON})
        strEnabled += CWizardDriver::IsEnabled(hFrame, nID) ? '+' : '-';
    return strEnabled;
}

// While the print-UI runs: the frame keeps answering and is never taken for hung, it repaints
// what is uncovered, its buttons are off, and a click on Cancel and Alt+F4 do nothing.
void ExpectAliveButRefusing(CSetupRun& run) {
    ASSERT_TRUE(WaitForPrintUiLog(InstallCommand(kDefaultPrinter))) << "the print-UI was not called";
    HWND hFrame = run.Frame();
    HWND hPage = run.Driver().WaitForPage(IDC_COPY_PROGRESS, 0);
    ASSERT_TRUE(hPage);
    EXPECT_EQ(EnabledButtons(hFrame), "----");
    EXPECT_TRUE(CWizardDriver::ClickWindow(::GetDlgItem(hFrame, IDC_CANCEL_BUTTON)));
    EXPECT_TRUE(CWizardDriver::TypeKey(hFrame, VK_F4, true));

    int nUnanswered = 0, nHung = 0, nChecks = 0;
    for (const DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < kWatchedMs; ::Sleep(250)) {
        ++nChecks;
        if (!Answers(hFrame)) ++nUnanswered;
        if (::IsHungAppWindow(hFrame)) ++nHung;
    }
    EXPECT_EQ(nUnanswered, 0) << "of " << nChecks << " questions";
    EXPECT_EQ(nHung, 0) << "of " << nChecks << " checks";

    ASSERT_TRUE(::RedrawWindow(hFrame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN));
    RECT stillInvalid = {};
    EXPECT_TRUE(Answers(hFrame));  // paint is handled before the answer comes back
    EXPECT_FALSE(::GetUpdateRect(hFrame, &stillInvalid, FALSE)) << "not repainted";

    EXPECT_EQ(ProgressPosition(hPage), 50);
    EXPECT_EQ(run.Driver().WaitForPage(IDC_COPY_PROGRESS, 0), hPage) << "the installing page was left";
    EXPECT_FALSE(run.Driver().HasEnded());
    EXPECT_EQ(run.Driver().WaitForOtherWindow(0), nullptr) << "a window other than the outcome";
}

}  // namespace

// The first run writes the language files and shows English; once cancelled with Escape, the
// second shows the system's language, and a keyboard user installs through it: Space on the
// focused Next, Tab to Next and Space, the Down arrow in the series list, Alt and Next's
// mnemonic where the language file gives one.
TEST_F(SetupWizardE2E, AKeyboardUserInstallsInTheSystemsLanguage) {
    {
        CSetupRun first(Program());
        ASSERT_TRUE(first.WelcomePage());
        first.ExpectFocusOn(::GetDlgItem(first.Frame(), ID_WIZNEXT));
        ASSERT_TRUE(CWizardDriver::TypeKey(first.Frame(), VK_ESCAPE));
        EXPECT_EQ(first.WaitForEnd(), 1602);  // cancelled
    }
    ExpectNothingInstalled();

    // The English file marks Next's N for Alt; the Chinese files mark nothing, so Tab reaches it.
    const char cMnemonic = IsChineseLanguage(SystemLanguage()) ? 0 : 'N';
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(
        LanguageClick::Keep, walk,
        [&](CSetupRun& run) { EXPECT_EQ(CWizardDriver::Mnemonic(::GetDlgItem(run.Frame(), ID_WIZNEXT)), cMnemonic); },
        UserInput::Keyboard));
    ExpectOutcome(walk, ChineseChosen(LanguageClick::Keep), true);
    ExpectRegistered(kDefaultPrinter);
    ExpectUninstallEntry(kDefaultPrinter);
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}

// With one USB printer plugged in, Next three times puts the printer on its port. With two,
// the wizard cannot tell which is the receipt printer: it keeps LPT1: preselected, and a keyboard
// user tabs to the port list and takes the first USB port with Home.
TEST_F(SetupWizardE2E, TheOneUsbPortIsPreselectedAndAKeyboardUserChoosesOneOfTwo) {
    if (SystemLanguage() != 0x0409) GTEST_SKIP() << "one language is enough for the port";
    PlantPort("USB001");
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk));
    ExpectOutcome(walk, false, true);
    EXPECT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "USB001", kModelName}}));
    RemoveInstallerState();

    PlantPort("USB001");
    PlantPort("USB002");
    m_onSettingsPage = [](CSetupRun& run, HWND hSettings) {
        HWND hPorts = ::GetDlgItem(hSettings, IDC_PORT_LIST);
        EXPECT_EQ(CWizardDriver::Text(hPorts), "LPT1:");
        ASSERT_TRUE(run.Driver().TabTo(hPorts, 5000)) << "no number of Tabs reaches the port list";
        ASSERT_TRUE(CWizardDriver::TypeKey(run.Frame(), VK_HOME));
        for (int i = 0; i < 100 && CWizardDriver::Text(hPorts) != "USB001 (Local Port)"; ++i) ::Sleep(50);
        EXPECT_EQ(CWizardDriver::Text(hPorts), "USB001 (Local Port)");
    };
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk, nullptr, UserInput::Keyboard));
    ExpectOutcome(walk, false, true);
    EXPECT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "USB001", kModelName}}));
}

// A mouse user clicks Next, the series and Next; while the slow print-UI runs the wizard
// stays alive and refuses Cancel, and the one installation succeeds.
TEST_F(SetupWizardE2E, AMouseUserInstallsAndTheWizardStaysAliveWhileThePrintUiRuns) {
    if (SystemLanguage() != 0x0409) GTEST_SKIP() << "one language is enough for the mouse";
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", kSlowPrintUiSeconds);
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk, ExpectAliveButRefusing, UserInput::Mouse));
    ExpectOutcome(walk, ChineseChosen(LanguageClick::Keep), true);
    ExpectRegistered(kDefaultPrinter);  // one install command and one default command: one installation
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}
