#include "install/register_printer.h"

#include <string>
#include <vector>

#include "framework/fixed_string.h"
#include "framework/message_wait.h"
#include "framework/run_log.h"
#include "framework/scoped_handle.h"
#include "framework/system_folders.h"
#include "install/registration_rules.h"
#include "payload/install_constants.h"
#include "payload/printer_search.h"
#include "payload/spooler.h"
#include "payload/system_account.h"
#include "payload/wow64.h"

namespace {

constexpr DWORD kInstallWaitMs = 90000;
constexpr DWORD kEndedWaitMs = 10000;  // for a process this run has ended
DWORD g_dwInstallWaitMs = kInstallWaitMs;

// Starts the command line in pszDirectory, in the system's own rundll32 of the platform, never
// one found on the search path (a planted copy in the current directory or beside the program
// would run otherwise). The process handle is returned through pProcess when it is given.
// Shown normally, not hidden: the show state a process is started with applies to the first
// window it shows, and rundll32 hands it to the print UI, whose first window may be a prompt
// an administrator must answer (an unsigned driver package on Windows 10 and 11). rundll32
// itself has no window and no console, so nothing else appears.
bool StartPrintUi(const CFixedString<1000>& strCommand, const char* pszDirectory, const InstallPlatform& platform,
                 CKernelHandle* pProcess) {
    SystemProgram rundll32;
    if (!FindSystemProgram("rundll32.exe", platform.bNativePrintUi, rundll32)) return false;
    const CFileSystemRedirectionOff redirection(rundll32.bRedirectionOff);
    if (!redirection.Succeeded()) return false;
    const CPathString& strProgram = rundll32.strPath;
    CFixedString<1000> strWritable(strCommand);  // CreateProcessA may write to its command line
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(strProgram.c_str(), strWritable.GetBufferUnsafe(), nullptr, nullptr, FALSE, 0,
                          nullptr, pszDirectory, &startup, &process))
        return false;
    CKernelHandle hThread(process.hThread);
    CKernelHandle hProcess(process.hProcess);
    if (pProcess) *pProcess = std::move(hProcess);
    return true;
}

enum class PrintUiRun { NotStarted, StillRunning, EndedByThisRun, Ended };

// Logs the command line, starts it (StartPrintUi) and waits for it, at most g_dwInstallWaitMs,
// then logs its exit code. The caller's windows stay answered meanwhile; they refuse what must
// not happen then. One still running when the wait runs out (stalled, perhaps, behind a prompt
// nobody answers) is ended: it would read the staged files after the run has let them go.
PrintUiRun RunPrintUi(const CFixedString<1000>& strCommand, const char* pszDirectory, const InstallPlatform& platform) {
    LogStep(std::string("print-UI: ") + strCommand.c_str());
    CKernelHandle hProcess;
    if (!StartPrintUi(strCommand, pszDirectory, platform, &hProcess)) {
        LogStep("print-UI: could not be started");
        return PrintUiRun::NotStarted;
    }
    if (WaitHandlingMessages(hProcess.GetUnsafe(), g_dwInstallWaitMs) != WAIT_OBJECT_0) {
        LogStep("print-UI: still running after the wait: ended");
        ::TerminateProcess(hProcess.GetUnsafe(), ERROR_TIMEOUT);
        return WaitHandlingMessages(hProcess.GetUnsafe(), kEndedWaitMs) == WAIT_OBJECT_0 ? PrintUiRun::EndedByThisRun
                                                                                          : PrintUiRun::StillRunning;
    }
    DWORD dwExitCode = 0;
    if (::GetExitCodeProcess(hProcess.GetUnsafe(), &dwExitCode))
        LogStep("print-UI: exit code " + std::to_string(dwExitCode));
    return PrintUiRun::Ended;
}

// "printers before: A, B" for the log.
void LogPrinters(const char* pszWhen, const std::vector<std::string>& printers) {
    std::string strLine = std::string("printers ") + pszWhen + ":";
    for (std::size_t i = 0; i < printers.size(); ++i) strLine += (i ? ", " : " ") + printers[i];
    if (printers.empty()) strLine += " none";
    LogStep(strLine);
}

}  // namespace

DWORD ReplaceRegistrationWaitForTesting(DWORD dwMilliseconds) {
    const DWORD dwPrevious = g_dwInstallWaitMs;
    g_dwInstallWaitMs = dwMilliseconds;
    return dwPrevious;
}

RegistrationResult RegisterPrinter(TextVariant variant, const InstallPlatform& platform, const std::string& strPort,
                                   const std::function<bool()>& stagedStillInPlace) {
    std::vector<std::string> before;
    if (!EnumerateLocalPrinters(before)) return {RegistrationResult::GaveUp, false};
    LogPrinters("before", before);
    const int nCountBefore = CountPrintersContaining(before, kModelName);

    const std::string strNewName = NewPrinterName(variant, nCountBefore);
    CFixedString<1000> strInstall;
    // The INF is named after the model, whatever the printer is called.
    if (!strInstall.format("rundll32 printui.dll,PrintUIEntry /if /f %s\\%s.INF /r \"%s\" /b \"%s\" /m \"%s\" ",
                           kStagingDirectory, kModelName, strPort.c_str(), strNewName.c_str(), kModelName))
        return {RegistrationResult::Failure, true};

    // The install command runs in the staging directory. It is handed to it rather than made
    // this program's current directory, which would keep the directory from being removed.
    switch (RunPrintUi(strInstall, kStagingDirectory, platform)) {
    case PrintUiRun::NotStarted: return {RegistrationResult::Failure, true};
    case PrintUiRun::StillRunning: return {RegistrationResult::Failure, false};  // it may read the staged files
    case PrintUiRun::EndedByThisRun: return {RegistrationResult::Failure, true};
    case PrintUiRun::Ended: break;
    }
    if (!stagedStillInPlace()) {
        LogStep("staged files: not all still the ones staged");
        return {RegistrationResult::Failure, true};
    }
    WaitHandlingMessages(nullptr, 100);

    std::vector<std::string> after;
    if (!EnumerateLocalPrinters(after)) return {RegistrationResult::GaveUp, true};
    LogPrinters("after", after);
    if (!IsRegistrationSuccess(nCountBefore, CountPrintersContaining(after, kModelName)))
        return {RegistrationResult::Failure, true};

    // The default printer is a setting of the user: the SYSTEM account of a deployment service
    // has none that anybody would see.
    if (IsRunningAsLocalSystem()) {
        LogStep("default printer: skipped, running as SYSTEM");
        return {RegistrationResult::Success, true};
    }
    CFixedString<1000> strDefault;
    const std::string strAdded = AddedPrinter(strNewName, before, after);
    // Waited for, so that a silent run has finished everything when it ends, but its result
    // does not decide the outcome. Not in the staging directory: a command still running after
    // the wait would keep the directory from being removed once the staged files are gone.
    CPathString strSystem;
    if (strDefault.format("rundll32 printui.dll,PrintUIEntry /y /n \"%s\"", strAdded.c_str()) &&
        GetSystemFolder(strSystem))
        RunPrintUi(strDefault, strSystem.c_str(), platform);
    return {RegistrationResult::Success, true};
}
