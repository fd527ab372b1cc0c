// DLL planting: a winspool.drv, a comctl32.dll and a uxtheme.dll placed beside setup.exe and
// the uninstaller (their folder is also the current directory), with Wine told to prefer a DLL
// of those names found in the program's folder (as Windows does for names that are not known
// DLLs). The whole wizard installs the printer,
// the uninstaller removes it, and neither program loads a planted DLL. (Wine's own user32 loads
// version.dll and imm32.dll by name before any code of the program runs; they are not planted.)
#include <iterator>
#include <string>
#include <vector>

#include "setup_e2e.h"
#include "spooler_helpers.h"
#include "test_support.h"
#include "uninstall_texts_expected.h"

namespace {

constexpr const char* kPlantedNames[] = {"winspool.drv", "comctl32.dll", "uxtheme.dll"};
// What the test registration adds to WINEDLLOVERRIDES.
constexpr char kPlantedLoadOrder[] = "winspool.drv,comctl32,uxtheme=n,b";
constexpr DWORD kTimeoutMs = 30000;

std::string MarkOf(const char* pszName) { return std::string("C:\\q73tests\\planted-") + pszName + ".txt"; }

std::string LoadOrder() {
    char szLoadOrder[1000] = {};
    const DWORD nLength = ::GetEnvironmentVariableA("WINEDLLOVERRIDES", szLoadOrder, sizeof szLoadOrder);
    return nLength < sizeof szLoadOrder ? szLoadOrder : "";
}

// The planted DLLs beside the programs in the test's folder, their marks cleared before and
// after. The test registration gives every program the load order that prefers them.
class PlantedDlls : public SetupWizardE2E {
protected:
    void SetUp() override {
        SetupWizardE2E::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_FALSE(g_strPlantedFolder.empty()) << "pass the folder of the planted DLLs";
        ASSERT_NE(LoadOrder().find(kPlantedLoadOrder), std::string::npos)
            << "run with WINEDLLOVERRIDES holding " << kPlantedLoadOrder << ", not " << LoadOrder();
        for (const char* pszName : kPlantedNames) {
            ::DeleteFileA(MarkOf(pszName).c_str());
            ASSERT_TRUE(::CopyFileA((g_strPlantedFolder + "\\" + pszName).c_str(), Beside(pszName).c_str(), FALSE))
                << pszName;
        }
    }
    void TearDown() override {
        for (const char* pszName : kPlantedNames) ::DeleteFileA(MarkOf(pszName).c_str());
        SetupWizardE2E::TearDown();
    }

    // The planted DLLs that left a mark, with the program that loaded each.
    static std::vector<std::string> Marks() {
        std::vector<std::string> marks;
        for (const char* pszName : kPlantedNames) {
            if (FileExists(MarkOf(pszName))) marks.push_back(std::string(pszName) + " in " + ReadFileBytes(MarkOf(pszName)));
        }
        return marks;
    }
};

}  // namespace

// The control: a program that loads the names from the standard search gets the planted DLLs,
// so their marks and the load order work, and no mark below can be missing for another reason.
TEST_F(PlantedDlls, AreLoadedByAProgramThatTrustsTheStandardSearch) {
    ASSERT_FALSE(g_strPlantingProbe.empty()) << "pass the planting probe";
    const std::string strProbe = Beside("probe.exe");
    ASSERT_TRUE(::CopyFileA(g_strPlantingProbe.c_str(), strProbe.c_str(), FALSE));
    std::string strCommand = "\"" + strProbe + "\"";
    for (const char* pszName : kPlantedNames) strCommand += std::string(" ") + pszName;

    EXPECT_EQ(RunProgram(strCommand), 0) << "every planted DLL fails its start-up, so none stays loaded";
    EXPECT_EQ(Marks().size(), std::size(kPlantedNames)) << ::testing::PrintToString(Marks());
}

TEST_F(PlantedDlls, AreLoadedNeitherBySetupNorByTheUninstaller) {
    InstallWalk walk;
    EXPECT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk));
    EXPECT_EQ(Marks(), std::vector<std::string>()) << "after setup.exe";
    ASSERT_FALSE(HasFailure());
    ExpectOutcome(walk, false, true);
    EXPECT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "LPT1:", kModelName}}));

    // The uninstaller the install put beside the driver, copied beside the planted DLLs.
    const std::string strUninstaller = Beside("uninstallQ73.exe");
    ASSERT_TRUE(::CopyFileA((PrinterDriverDirectory() + "\\uninstallQ73.exe").c_str(), strUninstaller.c_str(), FALSE));
    CWizardDriver uninstaller;
    ASSERT_TRUE(uninstaller.Start(strUninstaller));
    EXPECT_EQ(uninstaller.AnswerMessageBoxes(IDYES, kTimeoutMs),
              (std::vector<std::string>{ExpectedUninstallText(UninstallText::Confirm, SystemLanguage()),
                                        ExpectedUninstallText(UninstallText::Removed, SystemLanguage())}));
    EXPECT_EQ(uninstaller.WaitForExit(kTimeoutMs), 0);
    EXPECT_EQ(Marks(), std::vector<std::string>()) << "after the uninstaller";
    EXPECT_TRUE(PrintersContaining(kModelName).empty());
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName));
}
