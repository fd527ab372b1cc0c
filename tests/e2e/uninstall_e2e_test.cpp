// Installed through the wizard, removed through the uninstall entry: the command the system's
// list of programs runs, answered Yes, leaves nothing of the installation behind.
#include <string>
#include <vector>

#include "setup_e2e.h"
#include "spooler_helpers.h"
#include "test_support.h"
#include "uninstall_texts_expected.h"

namespace {

std::string Expected(UninstallText text) {
    return ExpectedUninstallText(text, SystemLanguage());
}

}  // namespace

TEST_F(InstalledThroughTheWizard, TheUninstallEntrysCommandRemovesTheInstallation) {
    const std::string strCommand = ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "UninstallString");
    ASSERT_GT(strCommand.size(), 1u);
    const std::string strProgram = strCommand.substr(0, strCommand.size() - 1);  // without its terminator

    UninstallRun run;
    ASSERT_NO_FATAL_FAILURE(RunUninstaller(strProgram, run));
    EXPECT_EQ(run.strConfirm, Expected(UninstallText::Confirm));
    EXPECT_EQ(run.strReport, Expected(UninstallText::Removed));
    EXPECT_EQ(run.nExitCode, 0);

    EXPECT_TRUE(PrintersContaining(kDefaultPrinter).empty());
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName"), "<no key>");
    for (const std::string& strName : DriverFileNames(kDefaultPrinter)) {
        if (strName.rfind(kDefaultPrinter, 0) == 0) {  // the files named after the printer
            EXPECT_FALSE(FileExists(PrinterDriverDirectory() + "\\" + strName)) << strName;
        }
    }
}
