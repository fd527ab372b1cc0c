#include "setup_e2e.h"

#include <algorithm>
#include <vector>

#include "framework/scoped_handle.h"
#include "install/registration_rules.h"
#include "payload/driver_files.h"
#include "payload/patch_rules.h"
#include "payload/payload_sets.h"
#include "payload/reg.h"
#include "payload/spooler.h"
#include "payload/wow64.h"
#include "spooler_helpers.h"

std::string g_strSetupExe;
std::string g_strPlantedFolder;
std::string g_strPlantingProbe;

namespace {

// Bounds against a hung run, not timing checks: a window shows within seconds, and the
// installation ends well inside the installer's own 90-second wait for the print-UI.
constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kInstallTimeoutMs = 150000;
constexpr DWORD kProcessTimeoutMs = 30000;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 10000;
constexpr DWORD kFocusTimeoutMs = 5000;

// The printer names the end-to-end tests give in setting files.
constexpr const char* kTestPrinterNames[] = {"Q73", "ABC"};

// Polls until done() answers true or the time is up.
template <typename Done>
bool PollUntil(DWORD dwTimeoutMs, Done done) {
    for (DWORD dwWaited = 0;; dwWaited += kPollMs) {
        if (done()) return true;
        if (dwWaited >= dwTimeoutMs) return false;
        ::Sleep(kPollMs);
    }
}

void TerminateById(DWORD dwProcessId) {
    CKernelHandle hProcess(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwProcessId));
    if (!hProcess.IsValid()) return;
    ::TerminateProcess(hProcess.GetUnsafe(), 99);
    ::WaitForSingleObject(hProcess.GetUnsafe(), kProcessTimeoutMs);
}

bool IsTraditionalChineseSystem(LANGID wLangId) { return IsChineseLanguage(wLangId) && wLangId != 0x0804; }


void DeleteDriverFiles(const std::string& strPrinter) {
    const std::string strDirectory = PrinterDriverDirectory(RunningPlatform().pszEnvironment);
    if (strDirectory.empty()) return;
    for (const std::string& strName : DriverFileNames(strPrinter)) {
        ::DeleteFileA((strDirectory + "\\" + strName).c_str());
        ::DeleteFileA((strDirectory + "\\3\\" + strName).c_str());
    }
}

}  // namespace

REGSAM UninstallEntryView() { return RunningPlatform().b64BitRegistryView ? KEY_WOW64_64KEY : 0; }

std::vector<std::string> DriverFileNames(const std::string& strPrinter) {
    std::vector<std::string> names;
    for (const DriverFile& file : RunningPlatform().driverFileSet) names.push_back(DriverFileName(file, strPrinter));
    names.push_back(UninstallerFileName(strPrinter));
    return names;
}

::testing::AssertionResult HasBytes(const std::string& strPath, const std::string& strExpected) {
    if (!FileExists(strPath)) return ::testing::AssertionFailure() << strPath << " is missing";
    const std::string strActual = ReadFileBytes(strPath);
    if (strActual == strExpected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << strPath << " holds " << strActual.size() << " bytes that differ from the "
                                         << strExpected.size() << " expected";
}

bool WaitForPrintUiLog(const std::string& strText) {
    return PollUntil(kWindowTimeoutMs, [&] { return PrintUiLog().find(strText) != std::string::npos; });
}

LANGID SystemLanguage() { return ::GetSystemDefaultLangID(); }

bool ChineseChosen(LanguageClick click) {
    return click == LanguageClick::Chinese || (click == LanguageClick::Keep && IsChineseLanguage(SystemLanguage()));
}

std::vector<std::string> FolderEntries(const std::string& strFolder) {
    std::vector<std::string> entries;
    WIN32_FIND_DATAA data = {};
    CFindHandle hFind(::FindFirstFileA((strFolder + "\\*").c_str(), &data));
    for (bool bMore = hFind.IsValid(); bMore; bMore = ::FindNextFileA(hFind.GetUnsafe(), &data) != FALSE) {
        const std::string strName = data.cFileName;
        if (strName == "." || strName == "..") continue;
        entries.push_back(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? strName + "\\" : strName);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

CSetupRun::CSetupRun(const std::string& strProgram) {
    if (!m_driver.Start(strProgram)) {
        ADD_FAILURE() << "cannot start " << strProgram;
        return;
    }
    if (m_driver.WaitForFrame(kWindowTimeoutMs))
        m_hWelcome = m_driver.WaitForPage(IDC_WELCOME_TITLE, kWindowTimeoutMs);
    if (!m_hWelcome) ADD_FAILURE() << "no wizard with its welcome page";
}

CSetupRun::~CSetupRun() {
    if (m_driver.ProcessId() && !m_driver.HasEnded()) {
        ADD_FAILURE() << "setup.exe was still running at the end of the test; ended";
        TerminateById(m_driver.ProcessId());
    }
}

namespace {

bool PressNext(CWizardDriver& driver, UserInput input, KeyWay way) {
    HWND hNext = ::GetDlgItem(driver.Frame(), ID_WIZNEXT);
    if (!::IsWindowEnabled(hNext)) return false;
    switch (input) {
    case UserInput::Messages:
        return CWizardDriver::Press(driver.Frame(), ID_WIZNEXT);
    case UserInput::Mouse:
        return CWizardDriver::ClickWindow(hNext);
    case UserInput::Keyboard:
        break;
    }
    const char cMnemonic = CWizardDriver::Mnemonic(hNext);
    if (way == KeyWay::MnemonicOrTab && cMnemonic) return CWizardDriver::TypeKey(driver.Frame(), cMnemonic, true);
    if (way != KeyWay::Space && !driver.TabTo(hNext, kFocusTimeoutMs)) {
        ADD_FAILURE() << "no number of Tabs reaches Next";
        return false;
    }
    return driver.Focus() == hNext && CWizardDriver::TypeKey(driver.Frame(), VK_SPACE);
}

}  // namespace

void CSetupRun::ExpectFocusOn(HWND hExpected) const {
    HWND hFrame = Frame();
    const HWND hFocus = m_driver.WaitForFocus(
        [&](HWND h) {
            if (hExpected) return h == hExpected;
            return ::IsChild(hFrame, h) && ::IsWindowVisible(h) && ::IsWindowEnabled(h);
        },
        kFocusTimeoutMs);
    if (!hFocus) {
        HWND hActual = m_driver.Focus();
        ADD_FAILURE() << "the focus is on " << (hActual ? "control " + std::to_string(::GetDlgCtrlID(hActual)) : "no window")
                      << (hActual && !::IsWindowEnabled(hActual) ? " (disabled)" : "") << ", not on "
                      << (hExpected ? "control " + std::to_string(::GetDlgCtrlID(hExpected))
                                    : "an enabled control of the wizard");
    }
}

HWND CSetupRun::Next(int nMarkerID, UserInput input, KeyWay way) {
    if (!PressNext(m_driver, input, way)) {
        ADD_FAILURE() << "Next is not enabled, or not pressed";
        return nullptr;
    }
    HWND hPage = m_driver.WaitForPage(nMarkerID, kWindowTimeoutMs);
    if (!hPage) ADD_FAILURE() << "no page with control " << nMarkerID << " after Next";
    return hPage;
}

int CSetupRun::WaitForEnd() {
    const int nExitCode = m_driver.WaitForExit(kProcessTimeoutMs);
    if (nExitCode == -1) ADD_FAILURE() << "setup.exe did not end";
    return nExitCode;
}

bool IsButtonChecked(HWND hDialog, int nID) {
    HWND hButton = ::GetDlgItem(hDialog, nID);
    DWORD_PTR dwState = 0;
    return hButton && ::SendMessageTimeoutA(hButton, BM_GETCHECK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &dwState) &&
           dwState == BST_CHECKED;
}

LanguagePageState ReadLanguagePage(HWND hPage) {
    LanguagePageState state;
    for (int i = 0; i <= IDC_OS_WIN7 - IDC_OS_WIN2000; ++i) {
        if (IsButtonChecked(hPage, IDC_OS_WIN2000 + i)) state.nCheckedSystem = i;
    }
    if (IsButtonChecked(hPage, IDC_LANGUAGE_CHINESE)) state.nCheckedLanguage = 0;
    if (IsButtonChecked(hPage, IDC_LANGUAGE_ENGLISH)) state.nCheckedLanguage = 1;
    return state;
}

void RemoveInstallerState() {
    if (!WaitUntilNoProcessNamed("rundll32.exe", kProcessTimeoutMs))
        ADD_FAILURE() << "a print-UI process keeps running";
    const InstallPlatform& platform = RunningPlatform();
    DeletePrintersContaining(kModelName);
    DeletePrinterDriverNamed(kModelName, platform.pszEnvironment);
    for (const char* pszPrinter : kTestPrinterNames) {
        DeleteDriverFiles(pszPrinter);
        CReg(platform.b64BitRegistryView).DeleteKey(UninstallKey(pszPrinter).c_str());
    }
    RemoveTree(kStagingDirectory);
    ::DeleteFileA(PrintUiLogPath().c_str());
    ClearPrintUiKnobs();
    for (const char* pszPort : {"USB001", "USB002"}) RemovePlantedPort(pszPort);
}

void ExpectNothingInstalled() {
    const InstallPlatform& platform = RunningPlatform();
    EXPECT_TRUE(PrintersContaining(kModelName).empty());
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName, platform.pszEnvironment));
    const std::string strDirectory = PrinterDriverDirectory(platform.pszEnvironment);
    for (const char* pszPrinter : kTestPrinterNames) {
        EXPECT_EQ(ReadMachineValue(UninstallKey(pszPrinter).c_str(), "DisplayName", nullptr, UninstallEntryView()),
                  "<no key>")
            << pszPrinter;
        for (const std::string& strName : DriverFileNames(pszPrinter))
            EXPECT_FALSE(FileExists(strDirectory + "\\" + strName)) << strName;
    }
    EXPECT_FALSE(FileExists(kStagingDirectory));
    EXPECT_FALSE(FileExists(PrintUiLogPath())) << PrintUiLog();
}

void ExpectUninstallEntry(const std::string& strPrinter) {
    const std::string strKey = UninstallKey(strPrinter);
    const std::string strUninstaller =
        PrinterDriverDirectory(RunningPlatform().pszEnvironment) + "\\uninstall" + strPrinter + ".exe";
    struct Value { const char* pszName; std::string strText; };
    const Value values[] = {{"DisplayName", strPrinter + " printer driver uninstall"},
                            {"UninstallString", strUninstaller},
                            {"DisplayIcon", strUninstaller + ",-0"},
                            {"Publisher", strPrinter + " printer"}};
    for (const Value& value : values) {
        DWORD dwType = 0;
        EXPECT_EQ(ReadMachineValue(strKey.c_str(), value.pszName, &dwType, UninstallEntryView()), value.strText + '\0')
            << value.pszName;
        EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ)) << value.pszName;
    }
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "QuietUninstallString", nullptr, UninstallEntryView()),
              "\"" + strUninstaller + "\" /S" + '\0');
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayVersion", nullptr, UninstallEntryView()), std::string("1.1.0") + '\0');
    const std::string kOne("\1\0\0\0", 4);
    for (const char* pszFlag : {"NoModify", "NoRepair"}) {
        DWORD dwType = 0;
        EXPECT_EQ(ReadMachineValue(strKey.c_str(), pszFlag, &dwType, UninstallEntryView()), kOne) << pszFlag;
        EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD)) << pszFlag;
    }
    // The driver files and the uninstaller: the uninstaller alone is more than 40 KB.
    DWORD dwType = 0;
    const std::string strSize = ReadMachineValue(strKey.c_str(), "EstimatedSize", &dwType, UninstallEntryView());
    ASSERT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(strSize.size(), 4u);
    EXPECT_GT(*reinterpret_cast<const DWORD*>(strSize.data()), 40u);
    EXPECT_TRUE(HasBytes(strUninstaller, PayloadBytes(255)));
}

void ExpectDriverFiles(int nOSCode, bool bChineseChosen, const std::string& strPrinter) {
    const InstallPlatform& platform = RunningPlatform();
    const std::string strDirectory = PrinterDriverDirectory(platform.pszEnvironment);
    ASSERT_FALSE(strDirectory.empty());
    const ExpectedVariant variant = ExpectedVariantFor(bChineseChosen, SystemLanguage());
    const std::vector<ExpectedDriverFile> set =
        ExpectedWindows64() ? ExpectedX64Set(variant, strPrinter)
                            : ExpectedX86Set(nOSCode, ExpectedChineseSystem(SystemLanguage()), variant, strPrinter);
    for (const ExpectedDriverFile& file : set)
        EXPECT_TRUE(HasBytes(strDirectory + "\\" + file.strName, StagedBytes(file, strPrinter))) << file.strName;
}

void ExpectRegistered(const std::string& strNew) {
    EXPECT_EQ(PrintUiLog(), InstallCommand(strNew) + "\r\n" + DefaultCommand(strNew) + "\r\n");
    const std::vector<LocalPrinter> printers = PrintersContaining(kModelName);
    EXPECT_TRUE(std::count(printers.begin(), printers.end(), LocalPrinter{strNew, "LPT1:", kModelName}) == 1)
        << strNew << " is not among " << ::testing::PrintToString(printers);
    EXPECT_EQ(DefaultPrinterName(), strNew);
}

void ExpectOutcome(const InstallWalk& walk, bool bChineseChosen, bool bSuccess) {
    EXPECT_EQ(walk.strMessage, ExpectedOutcomeText(ExpectedVariantFor(bChineseChosen, SystemLanguage()), bSuccess));
    EXPECT_EQ(walk.strCaption, "setup");
    EXPECT_EQ(walk.nExitCode, bSuccess ? 0 : 1603);
}

void SetupWizardE2E::SetUp() {
    ASSERT_FALSE(g_strSetupExe.empty()) << "pass the path of setup.exe";
    RemoveInstallerState();
    ASSERT_TRUE(::CopyFileA(g_strSetupExe.c_str(), Program().c_str(), FALSE)) << g_strSetupExe;
}

void SetupWizardE2E::TearDown() {
    RemoveInstallerState();
    m_version.reset();
}

namespace {

// Chooses the first series: by its list's notification, a click on it, or the Down arrow in
// the list, which has the focus.
bool ChooseSeries(CSetupRun& run, HWND hSettings, UserInput input) {
    HWND hList = ::GetDlgItem(hSettings, IDC_SERIES_LIST);
    switch (input) {
    case UserInput::Messages:
        return CWizardDriver::SelectListEntry(hSettings, IDC_SERIES_LIST, 0);
    case UserInput::Mouse:
        return CWizardDriver::ClickListEntry(hList, 0);
    case UserInput::Keyboard:
        break;
    }
    run.ExpectFocusOn(hList);
    return CWizardDriver::TypeKey(run.Frame(), VK_DOWN);
}

bool ConfirmMessage(HWND hMessage, UserInput input) {
    switch (input) {
    case UserInput::Messages:
        return CWizardDriver::Press(hMessage, IDOK);
    case UserInput::Mouse:
        return CWizardDriver::ClickWindow(::GetDlgItem(hMessage, IDOK));
    case UserInput::Keyboard:
        break;
    }
    return CWizardDriver::TypeKey(hMessage, VK_RETURN);
}

}  // namespace

void SetupWizardE2E::WalkThroughInstall(LanguageClick click, InstallWalk& walk,
                                        const std::function<void(CSetupRun&)>& whileInstalling, UserInput input) {
    const bool bRealInput = input != UserInput::Messages;
    ASSERT_TRUE(!bRealInput || click == LanguageClick::Keep) << "real input keeps the preselected language";
    CSetupRun run(Program());
    ASSERT_TRUE(run.WelcomePage());
    HWND hNext = ::GetDlgItem(run.Frame(), ID_WIZNEXT);
    if (bRealInput) run.ExpectFocusOn(hNext);

    HWND hLanguage = run.Next(IDC_LANGUAGE_TITLE, input, KeyWay::Space);
    ASSERT_TRUE(hLanguage);
    if (bRealInput) run.ExpectFocusOn(hNext);
    walk.languagePage = ReadLanguagePage(hLanguage);
    if (click != LanguageClick::Keep) {
        const int nButton = click == LanguageClick::Chinese ? IDC_LANGUAGE_CHINESE : IDC_LANGUAGE_ENGLISH;
        ASSERT_TRUE(CWizardDriver::Press(hLanguage, nButton));
        ASSERT_TRUE(PollUntil(kWindowTimeoutMs, [&] { return IsButtonChecked(hLanguage, nButton); }));
    }
    walk.bChineseChosen = IsButtonChecked(hLanguage, IDC_LANGUAGE_CHINESE);

    HWND hSettings = run.Next(IDC_SERIES_LIST, input, KeyWay::TabThenSpace);
    ASSERT_TRUE(hSettings);
    EXPECT_FALSE(CWizardDriver::IsEnabled(run.Frame(), ID_WIZNEXT)) << "Next before a series is selected";
    if (bRealInput) run.ExpectFocusOn(::GetDlgItem(hSettings, IDC_SERIES_LIST));
    ASSERT_TRUE(ChooseSeries(run, hSettings, input));
    ASSERT_TRUE(PollUntil(kWindowTimeoutMs, [&] { return CWizardDriver::IsEnabled(run.Frame(), ID_WIZNEXT); }))
        << "choosing the series does not enable Next";
    if (m_onSettingsPage) {
        ASSERT_NO_FATAL_FAILURE(m_onSettingsPage(run, hSettings));
    }
    ASSERT_TRUE(run.Next(IDC_COPY_PROGRESS, input, KeyWay::MnemonicOrTab));
    if (bRealInput) run.ExpectFocusOn();
    if (whileInstalling) {
        ASSERT_NO_FATAL_FAILURE(whileInstalling(run));
    }

    HWND hMessage = run.Driver().WaitForOtherWindow(kInstallTimeoutMs);
    ASSERT_TRUE(hMessage) << "no outcome message";
    walk.strMessage = CWizardDriver::MessageText(hMessage);
    walk.strCaption = CWizardDriver::Text(hMessage);
    // The default-printer command is started, not waited for: let it finish before the end.
    EXPECT_TRUE(WaitUntilNoProcessNamed("rundll32.exe", kProcessTimeoutMs));
    ASSERT_TRUE(ConfirmMessage(hMessage, input));
    walk.nExitCode = run.WaitForEnd();
}

void SetupWizardE2E::ExpectFirstRunFilesBeside(const std::string& strSettingBytes) const {
    const bool bTraditional = IsTraditionalChineseSystem(SystemLanguage());
    const std::string strChinese = bTraditional ? "Multi_ch_BIG5.dll" : "Multi_ch.dll";
    EXPECT_EQ(FolderEntries(Beside("Language")), (std::vector<std::string>{strChinese, "Multi_eng.dll"}));
    EXPECT_TRUE(HasBytes(Beside("Language\\Multi_eng.dll"), PayloadBytes(147)));
    EXPECT_TRUE(HasBytes(Beside("Language\\" + strChinese), PayloadBytes(bTraditional ? 248 : 146)));
    EXPECT_EQ(ReadFileBytes(Beside("setting.dll")), strSettingBytes);
}

void RunUninstaller(const std::string& strProgram, UninstallRun& run) {
    CWizardDriver uninstaller;
    ASSERT_TRUE(uninstaller.Start(strProgram)) << strProgram;
    HWND hConfirm = uninstaller.WaitForOtherWindow(kWindowTimeoutMs);
    ASSERT_TRUE(hConfirm) << "no confirmation";
    run.strConfirm = CWizardDriver::MessageText(hConfirm);
    ASSERT_TRUE(CWizardDriver::Press(hConfirm, IDYES));
    PollUntil(kWindowTimeoutMs, [&] { return !::IsWindow(hConfirm); });
    HWND hReport = uninstaller.WaitForOtherWindow(kWindowTimeoutMs);
    ASSERT_TRUE(hReport) << "no report";
    run.strReport = CWizardDriver::MessageText(hReport);
    CWizardDriver::Press(hReport, IDOK);
    run.nExitCode = uninstaller.WaitForExit(kProcessTimeoutMs);
}

void InstalledThroughTheWizard::SetUp() {
    SetupWizardE2E::SetUp();
    if (HasFatalFailure()) return;
    UseWindowsVersion(kWineVersion);
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, m_install));
    ExpectOutcome(m_install, ChineseChosen(LanguageClick::Keep), true);
    ASSERT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "LPT1:", kModelName}}));
}
