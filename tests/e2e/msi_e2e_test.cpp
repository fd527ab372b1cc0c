// The Windows Installer package as Group Policy runs it: msiexec installs it without UI, which
// runs setup.exe silently, and removes it, which runs the uninstaller silently.
#include <string>

#include "setup_e2e.h"
#include "spooler_helpers.h"
#include "test_support.h"

namespace {

constexpr DWORD kMsiexecTimeoutMs = 200000;  // the install alone may wait 90 seconds for the print UI

// The Windows path of the package this run tests (the test registration's Q73_MSI).
std::string PackagePath() {
    const char* pszPackage = std::getenv("Q73_MSI");
    return pszPackage ? pszPackage : "";
}

int RunMsiexec(const std::string& strArguments) {
    CWizardDriver msiexec;
    if (!msiexec.Start("C:\\windows\\system32\\msiexec.exe", strArguments)) {
        ADD_FAILURE() << "msiexec did not start";
        return -1;
    }
    return msiexec.WaitForExit(kMsiexecTimeoutMs);
}

}  // namespace

TEST_F(SetupWizardE2E, MsiexecInstallsAndRemovesThePackageSilently) {
    const std::string strPackage = PackagePath();
    ASSERT_FALSE(strPackage.empty()) << "the test registration sets Q73_MSI";

    EXPECT_EQ(RunMsiexec("/i \"" + strPackage + "\" /qn"), 0);
    ExpectRegistered(kDefaultPrinter);
    EXPECT_TRUE(IsPrinterDriverInstalled(kModelName, ExpectedDriverEnvironment()));
    ExpectUninstallEntry(kDefaultPrinter);

    EXPECT_EQ(RunMsiexec("/x \"" + strPackage + "\" /qn"), 0);
    EXPECT_TRUE(PrintersContaining(kModelName).empty());
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName, ExpectedDriverEnvironment()));
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName", nullptr, UninstallEntryView()),
              "<no key>");
}
