// The benchmark's outside view of an installer: started as its own process from here, the
// way a user starts it.
//
//   bench_measure.exe first-page PROGRAM [SHOT.bmp]
//                                           start-up until the first wizard page is shown and
//                                           painted ("first_page MS"), then close the program;
//                                           SHOT.bmp: what the screen showed at that moment
//   bench_measure.exe idle PROGRAM          peak private bytes of a program sitting on its
//                                           first page for a moment ("peak_private BYTES")
//   bench_measure.exe install-ours SETUP    our wizard walked through a whole install: Next,
//                                           Next, the series, Next, the outcome confirmed
//   bench_measure.exe install-nsis PROGRAM  the NSIS installer's welcome page, Next, and its
//                                           install until it closes itself
// The install modes print "peak_private BYTES" and "samples N". Exit code 0 when the program
// did what was expected of it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "painted_page.h"
#include "peak_memory.h"
#include "framework/scoped_handle.h"
#include "wizard_driver.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kIdleMs = 500;
// Our wizard's controls (see tools/wizard_driver/walk_main.cpp).
constexpr int kWelcomeTitle = 1042, kLanguageTitle = 1051, kSeriesList = 1006, kProgress = 1035, kNext = 12324;
// The NSIS window's Next button.
constexpr int kNsisNext = 1;

int Fail(const std::string& strWhat) {
    std::fprintf(stderr, "bench_measure: %s\n", strWhat.c_str());
    return 1;
}

class CProcess {
public:
    // Starts the program in its own folder, as Explorer does.
    bool Start(const std::string& strProgram) { return StartInItsFolder(strProgram, m_hProcess, m_dwProcessId); }
    DWORD Id() const { return m_dwProcessId; }
    bool HasEnded() const { return ::WaitForSingleObject(m_hProcess.GetUnsafe(), 0) == WAIT_OBJECT_0; }
    // Closes hWindow as its close box does; ends the process when that does not within 10 s.
    void Close(HWND hWindow) {
        ::PostMessageA(hWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (::WaitForSingleObject(m_hProcess.GetUnsafe(), 10000) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_hProcess.GetUnsafe(), 1);
            ::WaitForSingleObject(m_hProcess.GetUnsafe(), 10000);
        }
    }
    bool WaitForExit(DWORD dwTimeoutMs) { return ::WaitForSingleObject(m_hProcess.GetUnsafe(), dwTimeoutMs) == WAIT_OBJECT_0; }

private:
    CKernelHandle m_hProcess;
    DWORD m_dwProcessId = 0;
};

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls as often as the system lets it, so the moment is not rounded up to a poll interval.
HWND WaitForPaintedPage(CProcess& process, DWORD dwTimeoutMs) {
    const DWORD dwStart = ::GetTickCount();
    while (::GetTickCount() - dwStart < dwTimeoutMs) {
        if (HWND hPage = FindPaintedPage(process.Id())) return hPage;
        if (process.HasEnded()) return nullptr;
        ::Sleep(1);
    }
    return nullptr;
}

int FirstPage(const std::string& strProgram, const char* pszScreenshot) {
    CProcess process;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    if (!process.Start(strProgram)) return Fail("cannot start " + strProgram);
    HWND hWindow = WaitForPaintedPage(process, kTimeoutMs);
    ::QueryPerformanceCounter(&end);
    if (!hWindow) return Fail("no painted page from " + strProgram);
    std::printf("first_page %.3f\n", Milliseconds(start, end));
    if (pszScreenshot && !CWizardDriver::SaveScreenshot(hWindow, pszScreenshot))
        Fail(std::string("cannot save ") + pszScreenshot);
    process.Close(hWindow);
    return 0;
}

void PrintPeak(const CPeakMemorySampler& sampler) {
    std::printf("peak_private %lu\nsamples %u\n", static_cast<unsigned long>(sampler.Peak()), sampler.Samples());
}

int Idle(const std::string& strProgram) {
    CProcess process;
    if (!process.Start(strProgram)) return Fail("cannot start " + strProgram);
    CPeakMemorySampler sampler(process.Id());
    HWND hWindow = WaitForPaintedPage(process, kTimeoutMs);
    if (!hWindow) return Fail("no painted page from " + strProgram);
    ::Sleep(kIdleMs);
    process.Close(hWindow);
    PrintPeak(sampler);
    return 0;
}

int InstallOurs(const std::string& strSetup) {
    CWizardDriver driver;
    if (!driver.Start(strSetup)) return Fail("cannot start " + strSetup);
    CPeakMemorySampler sampler(driver.ProcessId());
    if (!driver.WaitForFrame(kTimeoutMs) || !driver.WaitForPage(kWelcomeTitle, kTimeoutMs)) return Fail("no wizard");
    const auto next = [&](int nMarkerID) {
        return CWizardDriver::Press(driver.Frame(), kNext) ? driver.WaitForPage(nMarkerID, kTimeoutMs) : nullptr;
    };
    if (!next(kLanguageTitle)) return Fail("no language page");
    HWND hSettings = next(kSeriesList);
    if (!hSettings || !CWizardDriver::SelectListEntry(hSettings, kSeriesList, 0)) return Fail("no settings page");
    if (!next(kProgress)) return Fail("no installing page");
    HWND hMessage = driver.WaitForOtherWindow(180000);
    if (!hMessage) return Fail("no outcome message");
    CWizardDriver::Press(hMessage, IDOK);
    const int nExitCode = driver.WaitForExit(kTimeoutMs);
    PrintPeak(sampler);
    return nExitCode == 0 ? 0 : Fail("setup.exe ended with " + std::to_string(nExitCode));
}

int InstallNsis(const std::string& strProgram) {
    CProcess process;
    if (!process.Start(strProgram)) return Fail("cannot start " + strProgram);
    CPeakMemorySampler sampler(process.Id());
    HWND hWindow = WaitForPaintedPage(process, kTimeoutMs);
    if (!hWindow || !CWizardDriver::Press(hWindow, kNsisNext)) return Fail("no welcome page with Next");
    if (!process.WaitForExit(180000)) return Fail("the NSIS installer did not end");
    PrintPeak(sampler);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string strMode = argc >= 3 ? argv[1] : "";
    if (strMode == "first-page" && argc <= 4) return FirstPage(argv[2], argc == 4 ? argv[3] : nullptr);
    if (argc != 3) return Fail("usage: bench_measure.exe first-page|idle|install-ours|install-nsis PROGRAM"), 2;
    if (strMode == "idle") return Idle(argv[2]);
    if (strMode == "install-ours") return InstallOurs(argv[2]);
    if (strMode == "install-nsis") return InstallNsis(argv[2]);
    return Fail("usage: bench_measure.exe first-page|idle|install-ours|install-nsis PROGRAM"), 2;
}
