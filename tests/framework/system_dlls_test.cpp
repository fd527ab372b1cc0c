// The spooler and the common controls reached at run time: from the system directory's files,
// with the platform's arguments, results and errors.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <string>

#include "framework/system_dlls.h"

namespace {

constexpr char kEnvironment[] = "Windows NT x86";

std::string Upper(std::string strText) {
    if (!strText.empty()) ::CharUpperBuffA(&strText[0], static_cast<DWORD>(strText.size()));
    return strText;
}

std::string SystemFile(const char* pszName) {
    char szSystem[MAX_PATH] = {};
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    return std::string(szSystem) + "\\" + pszName;
}

// The path of the file of the module that holds the code at pFunction.
std::string ModuleFileOf(FARPROC pFunction) {
    HMODULE hModule = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(pFunction), &hModule))
        return std::string();
    char szPath[MAX_PATH] = {};
    return ::GetModuleFileNameA(hModule, szPath, MAX_PATH) ? szPath : "";
}

}  // namespace

TEST(SystemLibrary, TakesItsFunctionsFromTheSystemDirectorysFile) {
    struct Case { const char* pszFile; const char* pszFunction; };
    for (const Case& c : {Case{"winspool.drv", "EnumPrintersA"}, Case{"comctl32.dll", "InitCommonControlsEx"}}) {
        CSystemLibrary library(c.pszFile);
        const FARPROC pFunction = library.Find(c.pszFunction);
        ASSERT_NE(pFunction, nullptr) << c.pszFile << " " << ::GetLastError();
        EXPECT_EQ(Upper(ModuleFileOf(pFunction)), Upper(SystemFile(c.pszFile)));
        EXPECT_EQ(library.Find(c.pszFunction), pFunction);
    }
}

TEST(SystemLibrary, FailsWithTheLoadersErrors) {
    CSystemLibrary spooler("winspool.drv");
    ::SetLastError(0);
    EXPECT_EQ(spooler.Find("NoSuchFunctionQ73"), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

    CSystemLibrary missing("q73-no-such-library.dll");
    ::SetLastError(0);
    EXPECT_EQ(missing.Find("EnumPrintersA"), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    // Only a bare file name is looked for, and only in the system directory.
    for (const char* pszName : {"..\\winspool.drv", "C:winspool.drv", "spool/winspool.drv", "C:\\q73\\x.dll"}) {
        CSystemLibrary named(pszName);
        ::SetLastError(0);
        EXPECT_EQ(named.Find("EnumPrintersA"), nullptr) << pszName;
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME)) << pszName;
    }
}

TEST(SystemDlls, WrappersGiveThePlatformsResults) {
    char szOurs[MAX_PATH] = {}, szPlatforms[MAX_PATH] = {};
    DWORD cbOurs = 0, cbPlatforms = 0;
    ASSERT_TRUE(system_dlls::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(kEnvironment), 1,
                                                        reinterpret_cast<BYTE*>(szOurs), sizeof szOurs, &cbOurs));
    ASSERT_TRUE(::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(kEnvironment), 1,
                                             reinterpret_cast<BYTE*>(szPlatforms), sizeof szPlatforms, &cbPlatforms));
    EXPECT_STREQ(szOurs, szPlatforms);
    EXPECT_EQ(cbOurs, cbPlatforms);

    DWORD cbNeeded = 0, nReturned = 0, cbPlatformNeeded = 0, nPlatformReturned = 0;
    const BOOL bOurs = system_dlls::EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 3, nullptr, 0,
                                                        &cbNeeded, &nReturned);
    const DWORD dwOurError = ::GetLastError();
    const BOOL bPlatforms = ::EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 3, nullptr, 0,
                                                  &cbPlatformNeeded, &nPlatformReturned);
    EXPECT_EQ(bOurs, bPlatforms);
    if (!bPlatforms) EXPECT_EQ(dwOurError, ::GetLastError());
    EXPECT_EQ(cbNeeded, cbPlatformNeeded);

    HANDLE hPrinter = nullptr;
    ::SetLastError(0);
    EXPECT_FALSE(system_dlls::OpenPrinterA(const_cast<char*>("No such printer Q73"), &hPrinter, nullptr));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));

    // The progress bar's class, the one common control the wizard uses.
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    EXPECT_TRUE(system_dlls::InitCommonControlsEx(&controls));
    WNDCLASSEXA progress = {};
    progress.cbSize = sizeof progress;
    EXPECT_TRUE(::GetClassInfoExA(nullptr, PROGRESS_CLASSA, &progress));
}
