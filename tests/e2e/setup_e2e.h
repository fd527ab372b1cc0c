// End-to-end runs of the real setup.exe: a copy of it in a folder of its own, started as its
// own process and driven only through its windows (tools/wizard_driver), and the state of
// the system it leaves behind. Shared by every end-to-end test program source.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "expected_install.h"
#include "payload/payload_sets.h"
#include "res/resource.h"
#include "shell/language_choice.h"
#include "test_support.h"
#include "wine_version.h"
#include "wizard_driver.h"

// The program under test: the Windows path this test program was given as its first argument.
extern std::string g_strSetupExe;
// The folder of DLLs named like system DLLs that leave a mark when loaded, and the probe that
// loads DLLs by name (the second and third arguments).
extern std::string g_strPlantedFolder;
extern std::string g_strPlantingProbe;

// The system language of this run (the test registration's LC_ALL).
LANGID SystemLanguage();

// The printer name of the embedded setting file, and the model every printer is installed as.
constexpr char kDefaultPrinter[] = "Q73";

enum class LanguageClick { Keep, Chinese, English };

// What the language page leaves chosen after the click: Keep leaves the preselection, Chinese
// on a Chinese system of any region and English on every other.
bool ChineseChosen(LanguageClick click);

// What the operating-system and language page showed when it first appeared.
struct LanguagePageState {
    int nCheckedSystem = -1;    // 0 to 4: IDC_OS_WIN2000 to IDC_OS_WIN7; -1: none checked
    int nCheckedLanguage = -1;  // 0 Chinese, 1 English, -1 none checked
};

// A walk through the whole wizard to the outcome message and the program's end.
struct InstallWalk {
    LanguagePageState languagePage;
    bool bChineseChosen = false;  // the language checked when Next left the page
    std::string strMessage;       // the outcome box's text and caption, ANSI bytes
    std::string strCaption;
    int nExitCode = -1;
};

// How a walk gives its input: messages to the controls, or real input only (SendInput) from
// the keyboard (Tab, Space, the arrow keys, Alt and a mnemonic) or the mouse.
enum class UserInput { Messages, Keyboard, Mouse };

// How the keyboard presses Next on a page: Space on Next, which has the focus; Tab to Next,
// then Space; or Alt and Next's mnemonic where the language file gives one, else as Tab.
enum class KeyWay { Space, TabThenSpace, MnemonicOrTab };

// One run of setup.exe. A run still going when the object ends (a failed test) is ended by
// its process id, so that no wizard outlives its test.
class CSetupRun {
public:
    explicit CSetupRun(const std::string& strProgram);
    ~CSetupRun();
    CSetupRun(const CSetupRun&) = delete;
    CSetupRun& operator=(const CSetupRun&) = delete;

    // The frame showing the welcome page; null (and a test failure) when it did not appear.
    HWND WelcomePage() const { return m_hWelcome; }
    HWND Frame() const { return m_driver.Frame(); }
    CWizardDriver& Driver() { return m_driver; }

    // Presses Next with the input given and returns the page holding nMarkerID; null (and a
    // test failure) when Next is disabled or that page does not appear.
    HWND Next(int nMarkerID, UserInput input = UserInput::Messages, KeyWay way = KeyWay::Space);
    // Waits until the keyboard focus is on hExpected, or with no hExpected on any visible,
    // enabled control of the wizard; a test failure when it does not get there.
    void ExpectFocusOn(HWND hExpected = nullptr) const;
    // The program's exit code once it has ended, -1 (and a test failure) when it does not.
    int WaitForEnd();

private:
    CWizardDriver m_driver;
    HWND m_hWelcome = nullptr;
};

// The names in a folder, sorted, each subfolder's with a trailing backslash; empty when the
// folder is missing.
std::vector<std::string> FolderEntries(const std::string& strFolder);

// Reads the two radio groups of the operating-system and language page.
LanguagePageState ReadLanguagePage(HWND hPage);
// BM_GETCHECK of a button in another process.
bool IsButtonChecked(HWND hDialog, int nID);


// The checks and the clean-up below are for the running system's platform (payload/wow64.h):
// the x86 driver, its directory and the one registry view on 32-bit Windows; the x64 driver,
// its directory and the 64-bit registry view on 64-bit Windows.

// The registry view of the uninstall entry on this system, for ReadMachineValue.
REGSAM UninstallEntryView();

// Removes what an install or a failed test may have left: the model's printers and driver,
// the driver files of the printer names the tests use, their uninstall entries, the staging
// directory, the print-UI log and knobs. Waits for print-UI processes first.
void RemoveInstallerState();

// Nothing of an installation is on the system: no printer, driver, driver file, uninstall
// entry, staging directory, or print-UI call.
void ExpectNothingInstalled();
// The uninstall entry of strPrinter holds its four values, naming the uninstaller that the
// install put into the driver directory.
void ExpectUninstallEntry(const std::string& strPrinter);
// The driver directory holds the files of the set for nOSCode, the system language and the
// chosen language, under strPrinter's names, with their payload bytes (GPD and INI patched).
void ExpectDriverFiles(int nOSCode, bool bChineseChosen, const std::string& strPrinter);
// The driver file set of one printer name, in the order the install deletes it, and the
// uninstaller named after it.
std::vector<std::string> DriverFileNames(const std::string& strPrinter);
// Compares a file with the expected bytes without printing them.
::testing::AssertionResult HasBytes(const std::string& strPath, const std::string& strExpected);
// Polls until the print-UI log holds strText; false after the timeout.
bool WaitForPrintUiLog(const std::string& strText);

// The print-UI was asked to install strNew from the staged INF and then to make it the
// default, nothing else; strNew is a printer of the model on LPT1: and the default printer.
void ExpectRegistered(const std::string& strNew);
// The outcome message of a finished install, in the variant the choice gives on this system.
void ExpectOutcome(const InstallWalk& walk, bool bChineseChosen, bool bSuccess);

// A fresh folder with a copy of setup.exe named setup.exe (the outcome box is captioned with
// the program's name), and a system cleaned of installer state before and after each test.
class SetupWizardE2E : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Program() const { return m_folder.File("setup.exe"); }
    std::string Beside(const std::string& strName) const { return m_folder.File(strName); }
    // Wine reports this Windows version to setup.exe for the rest of the test.
    void UseWindowsVersion(const char* pszWineVersion) { m_version.emplace("setup.exe", pszWineVersion); }

    // The whole wizard as a user walks it: Next, a language click, Next, the series, Next;
    // then the outcome message, read and confirmed once the print-UI processes have ended,
    // and the program's end. whileInstalling, when given, runs once the installing page
    // shows. With real input the language is kept, and after every page the focus must be
    // on an enabled control: Next, or the series list before a series is chosen. Fatal
    // failures stop the walk; call it through ASSERT_NO_FATAL_FAILURE.
    void WalkThroughInstall(LanguageClick click, InstallWalk& walk,
                            const std::function<void(CSetupRun&)>& whileInstalling = nullptr,
                            UserInput input = UserInput::Messages);

    // After a first run the folder holds the language folder with the two files for this
    // system language and a setting file of strSettingBytes.
    void ExpectFirstRunFilesBeside(const std::string& strSettingBytes) const;

    CScopedDirectory m_folder{"e2e"};
    std::optional<CScopedWineVersion> m_version;
    // Runs on the settings page of WalkThroughInstall once the series is chosen, before Next.
    std::function<void(CSetupRun&, HWND hSettings)> m_onSettingsPage;
};

// What the uninstaller showed when it was run and answered.
struct UninstallRun {
    std::string strConfirm;  // the confirmation's text, answered Yes
    std::string strReport;   // the report's text, answered OK
    int nExitCode = -1;
};
// Runs the uninstaller strProgram (as the system's list of programs runs the entry's command),
// answers Yes and confirms the report. Fatal failures stop; call it through ASSERT_NO_FATAL_FAILURE.
void RunUninstaller(const std::string& strProgram, UninstallRun& run);

// After one install through the wizard on Windows 7 with the language the page preselects,
// its success checked: the starting point of tests that act on an installed printer, such as
// a second install or running the uninstall entry's UninstallString (the tear-down removes
// whatever such a test leaves).
class InstalledThroughTheWizard : public SetupWizardE2E {
protected:
    void SetUp() override;

    // The Windows version of the install, and the code setup.exe detects for it.
    static constexpr const char* kWineVersion = "win7";
    static constexpr int kOSCode = 10;
    InstallWalk m_install;
};
