// printui.dll stand-in for our Wine prefixes only (Wine's own answers "not implemented" to
// /if). Never part of setup.exe. Called as
//   rundll32.exe printui.dll,PrintUIEntry <command line>
// rundll32 prefers PrintUIEntryW; both entries end in Run() with the same ANSI bytes.
//
// Every call appends its command line to the log file, then may sleep (Q73_PRINTUI_HANG),
// then carries out /if or /y (see command_line.h; knobs and log path in knobs.h). It never
// shows UI: outcomes go to OutputDebugStringA only, since nobody reads a return code.
#include <windows.h>

#include <string>
#include <vector>

#include "call_log.h"
#include "command_line.h"
#include "knobs.h"
#include "standin_spooler.h"

namespace {

void Report(const std::string& strText) {
    const std::string strLine = "q73 printui stand-in: " + strText + "\n";
    ::OutputDebugStringA(strLine.c_str());
}

void Run(const std::string& strCommandLine) {
    const CPrintUiKnobs knobs = CPrintUiKnobs::FromEnvironment();
    if (!AppendCallLog(knobs.strLogPath.c_str(), strCommandLine))
        Report(std::string("cannot append to ") + knobs.strLogPath.c_str());
    if (knobs.nHangSeconds) ::Sleep(knobs.nHangSeconds * 1000);

    const ParseResult parsed = ParsePrintUiCommandLine(strCommandLine);
    if (parsed.outcome != ParseOutcome::kOk) {
        Report(std::string("refused: ") + DescribeParseOutcome(parsed.outcome) + " " + parsed.strDetail);
        return;
    }
    const PrintUiCommand& command = parsed.command;
    DWORD dwError = ERROR_SUCCESS;
    if (command.action == PrintUiAction::kSetDefault) {
        dwError = SetDefaultPrinterByName(command.strName.c_str());
    } else if (knobs.bFail) {
        Report("failing /if on request");
        return;
    } else {
        const char* pszName = knobs.bHasName ? knobs.strName.c_str() : command.strName.c_str();
        dwError = EnsurePrinterDriver(command.strModel.c_str(), command.strInfPath.c_str());
        if (dwError == ERROR_SUCCESS)
            dwError = AddLocalPrinter(pszName, command.strPort.c_str(), command.strModel.c_str());
    }
    Report("done, error " + std::to_string(dwError));
}

}  // namespace

extern "C" {

void CALLBACK PrintUIEntryW(HWND, HINSTANCE, LPCWSTR pszCommandLine, int) {
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
    Run(strCommandLine);
}

void CALLBACK PrintUIEntry(HWND, HINSTANCE, LPCSTR pszCommandLine, int) {
    Run(pszCommandLine ? std::string(pszCommandLine) : std::string());
}

}  // extern "C"
