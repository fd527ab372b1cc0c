// The install sequence's own file work, timed in this process against a bare copy of the same
// bytes. The program carries setup.exe's payload, so the staging extracts from resources
// mapped exactly as setup.exe's are. For the build's Wine prefixes only: it empties C:\TEMP
// and C:\q73bench, and removes the driver files it copied.
//
//   bench_install.exe RUNS     RUNS interleaved pairs; prints "install MS" and "bare_copy MS"
//                              lines, then "files N" and "bytes N" of one run
//   bench_install.exe --check  one run of each; exit code 0 when both left the same files
//
// "Own work" is StageAndCopyDriverFiles: staging the driver set below C:\TEMP (patching the GPD and
// the INI) and the copies into the driver directory, without the housekeeping before it, the
// print-UI it then runs or the message box. The bare copy writes the same files with the
// same bytes to the same places with CopyFileA: the staged files from a copy made once, the
// driver directory's from the staged ones, as the installer copies them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "framework/file_finder.h"
#include "framework/file_io.h"
#include "framework/user_notifications.h"
#include "install/install_driver.h"
#include "payload/install_constants.h"
#include "payload/spooler.h"
#include "payload/wow64.h"
#include "shell/setup.h"

namespace {

constexpr char kStaging[] = "C:\\TEMP";
constexpr char kBenchRoot[] = "C:\\q73bench";
constexpr char kSource[] = "C:\\q73bench\\source";

// The files below strRoot, as paths relative to it.
void ListFiles(const std::string& strRoot, const std::string& strRelative, std::vector<std::string>& files) {
    CFileFinder finder;
    const std::string strFolder = strRelative.empty() ? strRoot : strRoot + "\\" + strRelative;
    for (bool bFound = finder.FindFile((strFolder + "\\*").c_str()); bFound; bFound = finder.FindNextFile()) {
        if (finder.IsDots()) continue;
        const std::string strPath = finder.GetFilePath();
        const std::string strName = strPath.substr(strPath.find_last_of('\\') + 1);
        const std::string strChild = strRelative.empty() ? strName : strRelative + "\\" + strName;
        if (finder.IsDirectory())
            ListFiles(strRoot, strChild, files);
        else
            files.push_back(strChild);
    }
}

void RemoveTree(const std::string& strPath) {
    std::vector<std::string> files;
    ListFiles(strPath, "", files);
    for (const std::string& strFile : files) ::DeleteFileA((strPath + "\\" + strFile).c_str());
    // Deepest folders first: each file's folder chain, longest path first.
    std::vector<std::string> folders;
    for (const std::string& strFile : files) {
        for (std::size_t n = strFile.find_last_of('\\'); n != std::string::npos && n > 0;
             n = strFile.find_last_of('\\', n - 1))
            folders.push_back(strPath + "\\" + strFile.substr(0, n));
    }
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& strFolder : folders) ::RemoveDirectoryA(strFolder.c_str());
    ::RemoveDirectoryA(strPath.c_str());
}

// What one run of the install work leaves: the staged files (relative to C:\TEMP) and the
// names it copied into the driver directory.
struct RunResult {
    std::vector<std::string> staged;
    std::vector<std::string> copied;
};

std::string DriverDirectory() {
    CPathString strDirectory;
    if (!GetDriverDirectory(strDirectory)) {
        std::fputs("bench_install: no driver directory\n", stderr);
        std::exit(1);
    }
    return strDirectory.c_str();
}

// The driver directory's copies are the staged top-level files that are also there.
RunResult Inventory(const std::string& strDriverDirectory) {
    RunResult result;
    ListFiles(kStaging, "", result.staged);
    for (const std::string& strFile : result.staged) {
        if (strFile.find('\\') == std::string::npos && PathExists((strDriverDirectory + "\\" + strFile).c_str()))
            result.copied.push_back(strFile);
    }
    return result;
}

// Back to the state before an install: no staging folder, none of the copies.
void Clean(const RunResult& run, const std::string& strDriverDirectory) {
    RemoveTree(kStaging);
    for (const std::string& strName : run.copied) ::DeleteFileA((strDriverDirectory + "\\" + strName).c_str());
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TimeInstallWork() {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    StageAndCopyDriverFiles({kDefaultPrinterName, g_nOSVersion, g_wLanguage, ::GetSystemDefaultLangID(),
                             RunningPlatform(), PortChoice(), nullptr, "", UserNotifications()});
    ::QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

double TimeBareCopy(const RunResult& run, const std::string& strDriverDirectory) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    ::CreateDirectoryA(kStaging, nullptr);
    for (const std::string& strFile : run.staged) {
        const std::string strTarget = std::string(kStaging) + "\\" + strFile;
        const std::size_t nSlash = strTarget.find_last_of('\\');
        if (nSlash > std::string(kStaging).size()) ::CreateDirectoryA(strTarget.substr(0, nSlash).c_str(), nullptr);
        ::CopyFileA((std::string(kSource) + "\\" + strFile).c_str(), strTarget.c_str(), FALSE);
    }
    for (const std::string& strName : run.copied)
        ::CopyFileA((std::string(kStaging) + "\\" + strName).c_str(), (strDriverDirectory + "\\" + strName).c_str(), FALSE);
    ::QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

// Every file a run left, with its bytes.
std::map<std::string, std::string> Contents(const RunResult& run, const std::string& strDriverDirectory) {
    std::map<std::string, std::string> contents;
    for (const std::string& strFile : run.staged)
        ReadWholeFile((std::string(kStaging) + "\\" + strFile).c_str(), contents["staged\\" + strFile]);
    for (const std::string& strName : run.copied)
        ReadWholeFile((strDriverDirectory + "\\" + strName).c_str(), contents["driver\\" + strName]);
    return contents;
}

}  // namespace

int main(int argc, char** argv) {
    const bool bCheck = argc == 2 && std::string(argv[1]) == "--check";
    const int nRuns = argc == 2 && !bCheck ? std::atoi(argv[1]) : 0;
    if (!bCheck && nRuns <= 0) {
        std::fputs("usage: bench_install.exe RUNS | --check\n", stderr);
        return 2;
    }
    g_szPrinterName.assign(kDefaultPrinterName);
    g_wLanguage = 1;
    ::SetCurrentDirectoryA("C:\\");  // never inside a folder that is removed
    const std::string strDriverDirectory = DriverDirectory();

    // A first run, untimed: what it leaves is what every run writes, and the bare copy's source.
    RemoveTree(kStaging);
    TimeInstallWork();
    const RunResult run = Inventory(strDriverDirectory);
    if (run.staged.empty() || run.copied.empty()) {
        std::fputs("bench_install: the install work wrote nothing\n", stderr);
        return 1;
    }
    const std::map<std::string, std::string> installed = Contents(run, strDriverDirectory);
    RemoveTree(kBenchRoot);
    ::CreateDirectoryA(kBenchRoot, nullptr);
    ::CreateDirectoryA(kSource, nullptr);
    for (const std::string& strFile : run.staged) {
        const std::string strTarget = std::string(kSource) + "\\" + strFile;
        const std::size_t nSlash = strTarget.find_last_of('\\');
        ::CreateDirectoryA(strTarget.substr(0, nSlash).c_str(), nullptr);
        WriteWholeFile(strTarget.c_str(), installed.at("staged\\" + strFile).data(),
                       static_cast<DWORD>(installed.at("staged\\" + strFile).size()));
    }
    Clean(run, strDriverDirectory);

    int nStatus = 0;
    if (bCheck) {
        TimeBareCopy(run, strDriverDirectory);
        const bool bSame = Contents(run, strDriverDirectory) == installed;
        std::printf("bare copy %s the install work's %zu files\n", bSame ? "matches" : "differs from",
                    installed.size());
        nStatus = bSame ? 0 : 1;
    } else {
        for (int i = 0; i < nRuns; ++i) {
            // Alternate which goes first, so neither always finds the other's leftovers in the caches.
            for (int nTurn = 0; nTurn < 2; ++nTurn) {
                if ((nTurn == 0) == (i % 2 == 0))
                    std::printf("install %.3f\n", TimeInstallWork());
                else
                    std::printf("bare_copy %.3f\n", TimeBareCopy(run, strDriverDirectory));
                Clean(run, strDriverDirectory);
            }
        }
        std::size_t cbTotal = 0;
        for (const auto& entry : installed) cbTotal += entry.second.size();
        std::printf("files %zu\nbytes %zu\n", installed.size(), cbTotal);
    }
    Clean(run, strDriverDirectory);
    RemoveTree(kBenchRoot);
    return nStatus;
}
