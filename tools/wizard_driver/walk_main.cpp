// Walks setup.exe through its wizard the way a user does (Next, Next, select the series,
// Next), photographs every page, the about box and the outcome message, confirms it, and
// reports what was installed.
//
//   wizard_walk.exe <setup.exe> <folder for the screenshots>   walk, photograph, report
//   wizard_walk.exe --cancel <setup.exe>                        cancel on the first page
//   wizard_walk.exe --report                                    report only
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"
#include "payload/install_constants.h"
#include "payload/wow64.h"
#include "wizard_driver.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kInstallTimeoutMs = 180000;  // the print-UI wait alone may take 90 seconds
constexpr int kAboutCommand = 0x10;

// Control ids that tell the pages apart, and the wizard's buttons.
constexpr int kWelcomeTitle = 1042, kLanguageTitle = 1051, kSeriesList = 1006, kProgress = 1035;
constexpr int kNext = 12324, kCancel = 1061;

// Writes ANSI text (the system's code page) to stdout as UTF-8 for the terminal.
void Print(const std::string& strAnsi) {
    const int cchWide = ::MultiByteToWideChar(CP_ACP, 0, strAnsi.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(cchWide > 0 ? cchWide : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, strAnsi.c_str(), -1, wide.data(), cchWide);
    const int cbUtf8 = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(static_cast<size_t>(cbUtf8 > 0 ? cbUtf8 : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), cbUtf8, nullptr, nullptr);
    std::fputs(utf8.data(), stdout);
    std::fflush(stdout);
}

bool Fail(const std::string& strWhat) {
    Print("walk: " + strWhat + "\n");
    return false;
}

bool Shoot(HWND hWnd, const std::string& strFolder, const char* pszName, HWND hAlso = nullptr) {
    ::Sleep(300);  // let the page finish painting
    const std::string strPath = strFolder + "\\" + pszName + ".bmp";
    if (!CWizardDriver::SaveScreenshot(hWnd, strPath, hAlso)) return Fail("cannot save " + strPath);
    Print("  screenshot " + std::string(pszName) + "\n");
    return true;
}

// Next from the shown page, then the page with the marker control.
HWND Next(CWizardDriver& driver, int nMarkerID, const char* pszPage) {
    if (!CWizardDriver::Press(driver.Frame(), kNext)) return Fail("Next is not enabled"), nullptr;
    HWND hPage = driver.WaitForPage(nMarkerID, kWindowTimeoutMs);
    if (!hPage) return Fail(std::string("no ") + pszPage + " page"), nullptr;
    Print(std::string("Page: ") + pszPage + "\n");
    return hPage;
}

bool Walk(const std::string& strProgram, const std::string& strFolder) {
    CWizardDriver driver;
    if (!driver.Start(strProgram)) return Fail("cannot start " + strProgram);
    if (!driver.WaitForFrame(kWindowTimeoutMs) || !driver.WaitForPage(kWelcomeTitle, kWindowTimeoutMs))
        return Fail("no wizard");
    Print("Page: welcome\n");
    if (!Shoot(driver.Frame(), strFolder, "1-welcome")) return false;

    ::PostMessageA(driver.Frame(), WM_SYSCOMMAND, kAboutCommand, 0);
    HWND hAbout = driver.WaitForOtherWindow(kWindowTimeoutMs);
    if (!hAbout) return Fail("no about box");
    if (!Shoot(hAbout, strFolder, "about", driver.Frame())) return false;
    CWizardDriver::Press(hAbout, IDOK);

    if (!Next(driver, kLanguageTitle, "operating system and language") || !Shoot(driver.Frame(), strFolder, "2-language"))
        return false;
    HWND hSettings = Next(driver, kSeriesList, "printer settings");
    if (!hSettings || !CWizardDriver::SelectListEntry(hSettings, kSeriesList, 0)) return Fail("cannot select the series");
    if (!Shoot(driver.Frame(), strFolder, "3-settings")) return false;
    if (!Next(driver, kProgress, "installing")) return false;
    Shoot(driver.Frame(), strFolder, "4-installing");

    HWND hMessage = driver.WaitForOtherWindow(kInstallTimeoutMs);
    if (!hMessage) return Fail("no outcome message");
    if (!Shoot(hMessage, strFolder, "5-outcome", driver.Frame())) return false;
    Print("Outcome: \"" + CWizardDriver::MessageText(hMessage) + "\" (caption \"" + CWizardDriver::Text(hMessage) +
          "\")\n");
    CWizardDriver::Press(hMessage, IDOK);
    const int nExitCode = driver.WaitForExit(kWindowTimeoutMs);
    Print("setup.exe ended with exit code " + std::to_string(nExitCode) + "\n");
    return nExitCode == 0;
}

// A first run writes the language files and shows English whatever the system language: a
// run cancelled at once makes the next one show the system's language.
bool CancelFirstPage(const std::string& strProgram) {
    CWizardDriver driver;
    if (!driver.Start(strProgram)) return Fail("cannot start " + strProgram);
    if (!driver.WaitForFrame(kWindowTimeoutMs) || !driver.WaitForPage(kWelcomeTitle, kWindowTimeoutMs))
        return Fail("no wizard");
    CWizardDriver::Press(driver.Frame(), kCancel);
    return driver.WaitForExit(kWindowTimeoutMs) == 1602 || Fail("setup.exe did not end as cancelled (1602) after Cancel");
}

void ReportPrinters() {
    DWORD cbNeeded = 0, nCount = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &cbNeeded, &nCount);
    std::vector<BYTE> buffer(cbNeeded ? cbNeeded : 1);
    if (!cbNeeded || !::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), cbNeeded, &cbNeeded, &nCount))
        nCount = 0;
    Print("Printers: " + std::to_string(nCount) + "\n");
    const auto* pPrinters = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i)
        Print(std::string("  \"") + pPrinters[i].pPrinterName + "\" driver \"" + pPrinters[i].pDriverName +
              "\" on " + pPrinters[i].pPortName + "\n");
    char szDefault[MAX_PATH] = {};
    DWORD cchDefault = MAX_PATH;
    Print(std::string("Default printer: ") + (::GetDefaultPrinterA(szDefault, &cchDefault) ? szDefault : "(none)") +
          "\n");
}

// The printer drivers installed for 32-bit Windows and, on 64-bit Windows, for x64: each with
// its files as the spooler knows them.
void ReportDrivers() {
    std::vector<const char*> environments = {kDriverEnvironment};
    if (IsWindows64()) environments.push_back(kDriverEnvironmentX64);
    for (const char* pszEnvironment : environments) {
        std::string strEnvironment = pszEnvironment;
        DWORD cbNeeded = 0, nCount = 0;
        ::EnumPrinterDriversA(nullptr, &strEnvironment[0], 3, nullptr, 0, &cbNeeded, &nCount);
        std::vector<BYTE> buffer(cbNeeded ? cbNeeded : 1);
        if (!cbNeeded ||
            !::EnumPrinterDriversA(nullptr, &strEnvironment[0], 3, buffer.data(), cbNeeded, &cbNeeded, &nCount))
            nCount = 0;
        Print("Printer drivers for \"" + strEnvironment + "\": " + std::to_string(nCount) + "\n");
        const auto* pDrivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
        for (DWORD i = 0; i < nCount; ++i) {
            const DRIVER_INFO_3A& driver = pDrivers[i];
            Print(std::string("  \"") + driver.pName + "\"\n    driver " + driver.pDriverPath + "\n    data " +
                  driver.pDataFile + "\n    configuration " + driver.pConfigFile + "\n");
            for (const char* pszFile = driver.pDependentFiles; pszFile && *pszFile; pszFile += std::strlen(pszFile) + 1)
                Print(std::string("    dependent ") + pszFile + "\n");
        }
    }
}

// The uninstall entries of printers in one registry view (0: this program's own).
void ReportUninstallEntries(REGSAM samView, const char* pszView) {
    constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    CRegistryKey uninstall;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ | samView, uninstall.Receive()) != ERROR_SUCCESS)
        return;
    char szName[256];
    for (DWORD i = 0;; ++i) {
        DWORD cchName = sizeof szName;
        if (::RegEnumKeyExA(uninstall.GetUnsafe(), i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string strName(szName, cchName);
        if (strName.size() < 8 || strName.compare(strName.size() - 8, 8, " printer") != 0) continue;
        Print("Uninstall entry \"" + strName + "\"" + pszView + ":\n");
        CRegistryKey entry;
        if (::RegOpenKeyExA(uninstall.GetUnsafe(), szName, 0, KEY_READ, entry.Receive()) != ERROR_SUCCESS) continue;
        for (const char* pszValue : {"DisplayName", "UninstallString", "DisplayIcon", "Publisher"}) {
            char szData[MAX_PATH] = {};
            DWORD cbData = sizeof szData - 1;
            const bool bFound = ::RegQueryValueExA(entry.GetUnsafe(), pszValue, nullptr, nullptr,
                                                   reinterpret_cast<BYTE*>(szData), &cbData) == ERROR_SUCCESS;
            Print(std::string("  ") + pszValue + " = " + (bFound ? "\"" + std::string(szData) + "\"" : "(none)") + "\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string strMode = argc > 1 ? argv[1] : "";
    if (strMode == "--cancel" && argc == 3) return CancelFirstPage(argv[2]) ? 0 : 1;
    const bool bReportOnly = strMode == "--report" && argc == 2;
    if (!bReportOnly && argc != 3) {
        std::fputs("usage: wizard_walk.exe <setup.exe> <screenshot folder> | --cancel <setup.exe> | --report\n",
                   stderr);
        return 2;
    }
    const bool bWalked = bReportOnly || Walk(argv[1], argv[2]);
    ReportPrinters();
    ReportDrivers();
    if (IsWindows64()) {
        ReportUninstallEntries(KEY_WOW64_64KEY, " (64-bit registry view)");
        ReportUninstallEntries(KEY_WOW64_32KEY, " (32-bit registry view)");
    } else {
        ReportUninstallEntries(0, "");
    }
    return bWalked ? 0 : 1;
}
