// The real setup.exe left before the installation starts: cancelled or closed on each page it
// shows first, and run a second time. Nothing is installed; only the start-up's own files
// appear beside the program.
#include <string>
#include <vector>

#include "setup_e2e.h"

namespace {

enum class Leave { CancelButton, CloseBox };

struct CancelCase {
    const char* pszName;
    int nNextPresses;  // 0: the welcome page, 1: the language page, 2: the settings page
    bool bSelectSeries;
    Leave leave;
};

const CancelCase kCancelCases[] = {
    {"OnTheWelcomePage", 0, false, Leave::CancelButton},
    {"OnTheLanguagePage", 1, false, Leave::CancelButton},
    {"OnTheSettingsPage", 2, false, Leave::CancelButton},
    {"OnTheSettingsPageWithTheSeriesSelected", 2, true, Leave::CancelButton},
    {"ByTheCloseBoxWithTheSeriesSelected", 2, true, Leave::CloseBox},
};

void PrintTo(const CancelCase& c, std::ostream* pOut) { *pOut << c.pszName; }

class WizardCancel : public SetupWizardE2E, public ::testing::WithParamInterface<CancelCase> {};

// The welcome page's title and the Next button's caption of one language file, as UTF-8.
struct WelcomeTexts {
    const char* pszTitle;
    const char* pszNext;
};

constexpr WelcomeTexts kEnglishTexts = {"Welcome to the Printer Driver Setup Wizard", "&Next"};

// The texts of the language file the system language selects.
WelcomeTexts SystemLanguageTexts() {
    const LANGID wLangId = SystemLanguage();
    if (wLangId == 0x0804) return {"欢迎使用打印机驱动安装程序向导", "下一步"};
    if (IsChineseLanguage(wLangId)) return {"歡迎使用打印機驅動安裝程序嚮導", "下一步"};
    return kEnglishTexts;
}

// A last-write time far back: a language file set to it and written again would show it.
constexpr FILETIME kLongAgo = {0xC89DC000, 0x01C07385};  // 1 January 2001

void BackdateFile(const std::string& strPath) {
    CFileHandle hFile(::CreateFileA(strPath.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    ASSERT_TRUE(hFile.IsValid()) << strPath;
    ASSERT_TRUE(::SetFileTime(hFile.GetUnsafe(), nullptr, nullptr, &kLongAgo)) << strPath;
}

bool IsBackdated(const std::string& strPath) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    return ::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data) &&
           ::CompareFileTime(&data.ftLastWriteTime, &kLongAgo) == 0;
}

// Starts the program, checks the welcome page's title and the Next button's caption, cancels.
void ExpectWelcomeTextsThenCancel(const std::string& strProgram, const WelcomeTexts& texts) {
    CSetupRun run(strProgram);
    ASSERT_TRUE(run.WelcomePage());
    EXPECT_EQ(CWizardDriver::Text(::GetDlgItem(run.WelcomePage(), IDC_WELCOME_TITLE)), Ansi(texts.pszTitle));
    EXPECT_EQ(CWizardDriver::Text(::GetDlgItem(run.Frame(), ID_WIZNEXT)), Ansi(texts.pszNext));
    ASSERT_TRUE(CWizardDriver::Press(run.Frame(), IDC_CANCEL_BUTTON));
    EXPECT_EQ(run.WaitForEnd(), 1602);  // cancelled
}

}  // namespace

TEST_P(WizardCancel, EndsTheProgramWithNothingInstalled) {
    const CancelCase& c = GetParam();
    {
        CSetupRun run(Program());
        ASSERT_TRUE(run.WelcomePage());
        const int kPageMarkers[] = {IDC_LANGUAGE_TITLE, IDC_SERIES_LIST};
        HWND hPage = run.WelcomePage();
        for (int i = 0; i < c.nNextPresses; ++i) {
            hPage = run.Next(kPageMarkers[i]);
            ASSERT_TRUE(hPage);
        }
        if (c.bSelectSeries) {
            ASSERT_TRUE(CWizardDriver::SelectListEntry(hPage, IDC_SERIES_LIST, 0));
        }
        if (c.leave == Leave::CancelButton) {
            ASSERT_TRUE(CWizardDriver::Press(run.Frame(), IDC_CANCEL_BUTTON));
        } else {
            ASSERT_TRUE(::PostMessageA(run.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0));
        }
        EXPECT_EQ(run.WaitForEnd(), 1602);  // cancelled
    }
    ExpectNothingInstalled();
    ExpectFirstRunFilesBeside(PayloadBytes(148));
}

INSTANTIATE_TEST_SUITE_P(Pages, WizardCancel, ::testing::ValuesIn(kCancelCases),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.pszName; });

// The first run writes the language files and shows English whatever the system language; the
// second finds them, rewrites none and shows the system language's file.
TEST_F(SetupWizardE2E, ASecondRunShowsTheSystemLanguageThatTheFirstRunWrote) {
    ASSERT_NO_FATAL_FAILURE(ExpectWelcomeTextsThenCancel(Program(), kEnglishTexts));
    const std::vector<std::string> files = FolderEntries(Beside("Language"));
    for (const std::string& strFile : files) ASSERT_NO_FATAL_FAILURE(BackdateFile(Beside("Language\\" + strFile)));

    ASSERT_NO_FATAL_FAILURE(ExpectWelcomeTextsThenCancel(Program(), SystemLanguageTexts()));
    for (const std::string& strFile : files)
        EXPECT_TRUE(IsBackdated(Beside("Language\\" + strFile))) << strFile << " was written again";
    ExpectFirstRunFilesBeside(PayloadBytes(148));
    ExpectNothingInstalled();
}
