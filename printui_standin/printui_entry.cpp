// printui.dll stand-in for our Wine prefixes only (Wine's own answers "not implemented" to
// /if). Never part of setup.exe. Called as
//   rundll32.exe printui.dll,PrintUIEntry <command line>
// rundll32 prefers PrintUIEntryW; both entries end in Run() with the same ANSI bytes.
//
// Every call appends its command line to the log file, then may sleep (Q73_PRINTUI_HANG),
// then carries out /if or /y (see command_line.h; knobs and log path in knobs.h). /if installs
// the way the platform does: the driver from the INF (driver_package.h) into the driver
// directory and the spooler, its registry lines, then the printer on the port. It never shows
// UI. A refused or failed call appends its reason to the log and ends rundll32 with exit code 1
// (entry points of rundll32 return nothing, and rundll32 itself would exit with 0); nothing is
// added then.
#include <windows.h>

#include <string>
#include <vector>

#include "call_log.h"
#include "command_line.h"
#include "driver_package.h"
#include "knobs.h"
#include "standin_spooler.h"

namespace {

constexpr UINT kFailureExitCode = 1;

void Report(const std::string& strText) {
    const std::string strLine = "q73 printui stand-in: " + strText + "\n";
    ::OutputDebugStringA(strLine.c_str());
}

Outcome InstallPrinter(const PrintUiCommand& command, const CPrintUiKnobs& knobs) {
    DriverPackage package;
    Outcome outcome = ReadDriverPackage(command.strInfPath.c_str(), command.strModel.c_str(), package);
    if (outcome.Succeeded()) outcome = InstallDriverPackage(package);
    if (outcome.Succeeded()) outcome = ApplyDriverRegistry(package);
    if (!outcome.Succeeded()) return outcome;
    const char* pszName = knobs.bHasName ? knobs.strName.c_str() : command.strName.c_str();
    return AddLocalPrinter(pszName, command.strPort.c_str(), package.strModel.c_str());
}

// False when the call was refused or failed: the log then says why.
bool Run(const std::string& strCommandLine, int nCmdShow) {
    const CPrintUiKnobs knobs = CPrintUiKnobs::FromEnvironment();
    if (!AppendCallLog(knobs.strLogPath.c_str(), strCommandLine))
        Report(std::string("cannot append to ") + knobs.strLogPath.c_str());
    if (!knobs.strShowLogPath.empty()) AppendCallLog(knobs.strShowLogPath.c_str(), std::to_string(nCmdShow));
    if (knobs.nHangSeconds) ::Sleep(knobs.nHangSeconds * 1000);

    const ParseResult parsed = ParsePrintUiCommandLine(strCommandLine);
    Outcome outcome;
    if (parsed.outcome != ParseOutcome::kOk) {
        std::string strReason = DescribeParseOutcome(parsed.outcome);
        if (!parsed.strDetail.empty()) strReason += " " + parsed.strDetail;
        outcome = Outcome::Failure(ERROR_INVALID_PARAMETER, strReason);
    } else if (parsed.command.action == PrintUiAction::kSetDefault) {
        outcome = SetDefaultPrinterByName(parsed.command.strName.c_str());
    } else if (knobs.bFail) {
        Report("adding nothing on request");  // a print UI that quietly adds nothing
        return true;
    } else {
        outcome = InstallPrinter(parsed.command, knobs);
    }
    if (outcome.Succeeded()) {
        Report("done");
        return true;
    }
    Report("refused: " + outcome.strReason);
    AppendRefusal(knobs.strLogPath.c_str(), outcome.strReason, outcome.dwError);
    return false;
}

// Called last in an entry, once Run() has closed every handle it opened: ExitProcess skips the
// caller's destructors, and what they would free is only memory of the ending process.
void EndCall(bool bSucceeded) {
    if (!bSucceeded) ::ExitProcess(kFailureExitCode);
}

}  // namespace

extern "C" {

void CALLBACK PrintUIEntryW(HWND, HINSTANCE, LPCWSTR pszCommandLine, int nCmdShow) {
    // The installer passed ANSI bytes; the ANSI code page gives exactly those bytes back.
    std::string strCommandLine;
    if (pszCommandLine && *pszCommandLine) {
        const int cbNeeded = ::WideCharToMultiByte(CP_ACP, 0, pszCommandLine, -1, nullptr, 0, nullptr, nullptr);
        if (cbNeeded > 1) {
            std::vector<char> buffer(static_cast<size_t>(cbNeeded));
            if (::WideCharToMultiByte(CP_ACP, 0, pszCommandLine, -1, buffer.data(), cbNeeded, nullptr, nullptr))
                strCommandLine.assign(buffer.data());
        }
    }
    EndCall(Run(strCommandLine, nCmdShow));
}

void CALLBACK PrintUIEntry(HWND, HINSTANCE, LPCSTR pszCommandLine, int nCmdShow) {
    EndCall(Run(pszCommandLine ? std::string(pszCommandLine) : std::string(), nCmdShow));
}

}  // extern "C"
