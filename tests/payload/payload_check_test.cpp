// setup.exe, opened as a resource module: every payload id is there with its size, nothing
// else is, every id is byte for byte the file the build made for it, and the files that are
// one file share their bytes, stored once.
#include <gtest/gtest.h>
#include <windows.h>
#include <imagehlp.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "payload/patch_rules.h"
#include "test_support.h"

namespace {

std::string g_strSetupExe;
// The resource script the build generated from the manifest: one "ID OWNER_DATA "PATH"" line
// per id, PATH a Unix path of the build tree (reached through drive Z:).
std::string g_strPayloadScript;

class Payload : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_hModule = ::LoadLibraryExA(g_strSetupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(s_hModule, nullptr) << "cannot open " << g_strSetupExe;
        ::EnumResourceNamesA(s_hModule, "OWNER_DATA", &Payload::CollectName, 0);
    }
    static void TearDownTestSuite() {
        if (s_hModule) ::FreeLibrary(s_hModule);
        s_hModule = nullptr;
    }

    static BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR pszName, LONG_PTR) {
        if (IS_INTRESOURCE(pszName)) s_ids.insert(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(pszName)));
        return TRUE;
    }

    static std::string Bytes(unsigned nID, HMODULE hModule = s_hModule) {
        HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), "OWNER_DATA");
        if (!hInfo) return std::string();
        const char* pData = static_cast<const char*>(::LockResource(::LoadResource(hModule, hInfo)));
        return std::string(pData, ::SizeofResource(hModule, hInfo));
    }

    static HMODULE s_hModule;
    static std::set<unsigned> s_ids;
};

HMODULE Payload::s_hModule = nullptr;
std::set<unsigned> Payload::s_ids;

// This program is built with the setup.exe it checks: the 64-bit setup.exe carries the x64 set
// alone.
constexpr bool k64BitSetup = sizeof(void*) == 8;

// 146 to 256 with the gaps the x86 sets have always had, then the x64 set's 257 to 262 and the
// package's catalog, 263. The 64-bit setup.exe: the language and setting files, the
// uninstaller, the INF and its catalog, the general set's font metrics, standard names, GPD and
// INI, and the x64 set's DLLs.
std::set<unsigned> ExpectedIds() {
    if (k64BitSetup) return {146, 147, 148, 154, 186, 187, 188, 248, 255, 256, 257, 258, 259, 260, 261, 262, 263};
    std::set<unsigned> ids;
    for (unsigned nID = 146; nID <= 263; ++nID) {
        const bool bGap = nID == 160 || nID == 167 || nID == 180 || nID == 181 || (nID >= 202 && nID <= 247);
        if (!bGap) ids.insert(nID);
    }
    return ids;
}

// The maker's x64 plug-ins, or their stand-ins.
constexpr unsigned kX64Plugins[] = {257, 258, 259, 260};

// Groups of ids that hold one file, with its size where we make the file ourselves or the
// stand-in takes the maker's size. 0 for a size we do not fix (the uninstaller).
struct SharedFile { std::vector<unsigned> ids; std::size_t cbSize; };

// Of the ids this setup.exe carries.
std::vector<SharedFile> SharedFiles() {
    static const std::vector<SharedFile> all = {
        {{146}, 9304}, {{147}, 9326}, {{148}, 44}, {{248}, 9305}, {{255}, 0}, {{256}, 1777},
        {{153, 168, 186}, 14362}, {{155, 169, 187}, 16605}, {{159, 170, 188}, 64},
        {{156, 171, 189}, 23040}, {{154}, 496},
        {{149, 172}, 264704}, {{152, 173}, 12164}, {{150, 174}, 193024}, {{151, 175}, 618496},
        {{190}, 263680}, {{191}, 12164}, {{192}, 198144}, {{193}, 618496},
        {{163, 176, 196}, 251904}, {{164, 177, 197}, 21225}, {{165, 178, 198}, 196096},
        {{166, 179, 199}, 619520},
        {{161, 182}, 13312}, {{200}, 15872}, {{157, 184, 194}, 13312}, {{249, 250, 251}, 13312},
        {{162, 183, 201}, 5120}, {{158, 185, 195, 252, 253, 254}, 5120},
        {{257}, 0}, {{258}, 0}, {{259}, 0}, {{260}, 0}, {{261}, 0}, {{262}, 0}, {{263}, 0},
    };
    const std::set<unsigned> carried = ExpectedIds();
    std::vector<SharedFile> files;
    for (const SharedFile& file : all) {
        SharedFile kept{{}, file.cbSize};
        for (unsigned nID : file.ids)
            if (carried.count(nID)) kept.ids.push_back(nID);
        if (!kept.ids.empty()) files.push_back(kept);
    }
    return files;
}

// The general set's INI and GPD, which both setup.exe carry.
constexpr unsigned kIni = 188, kGpd = 187;

std::vector<std::string> SplitLines(const std::string& strText, const char* pszEnd) {
    std::vector<std::string> lines;
    std::size_t nStart = 0, nEnd;
    while ((nEnd = strText.find(pszEnd, nStart)) != std::string::npos) {
        lines.push_back(strText.substr(nStart, nEnd - nStart));
        nStart = nEnd + std::strlen(pszEnd);
    }
    if (nStart < strText.size()) lines.push_back(strText.substr(nStart));
    return lines;
}

// Each id of the generated resource script with the Windows path of its file.
std::map<unsigned, std::string> PayloadFiles() {
    std::map<unsigned, std::string> files;
    std::ifstream script(g_strPayloadScript);
    std::string strLine;
    while (std::getline(script, strLine)) {
        const std::size_t nOpen = strLine.find(" OWNER_DATA \"");
        if (nOpen == std::string::npos || strLine.back() != '"') continue;
        std::string strPath = "Z:" + strLine.substr(nOpen + 13, strLine.size() - nOpen - 14);
        std::replace(strPath.begin(), strPath.end(), '/', '\\');
        files[static_cast<unsigned>(std::stoul(strLine))] = strPath;
    }
    return files;
}

// The library mapped as an image, the way the program's own resources are reached.
class CImageResources {
public:
    CImageResources() : m_hModule(::LoadLibraryExA(g_strSetupExe.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~CImageResources() { if (m_hModule) ::FreeLibrary(m_hModule); }
    CImageResources(const CImageResources&) = delete;
    CImageResources& operator=(const CImageResources&) = delete;
    HMODULE Get() const { return m_hModule; }

private:
    HMODULE m_hModule;
};

}  // namespace

TEST_F(Payload, EveryIdIsTheFileTheBuildMadeForItInBothWaysOfLoading) {
    const std::map<unsigned, std::string> files = PayloadFiles();
    ASSERT_EQ(files.size(), ExpectedIds().size()) << "cannot read " << g_strPayloadScript;
    CImageResources image;
    ASSERT_NE(image.Get(), nullptr);
    for (const auto& [nID, strPath] : files) {
        const std::string strFile = ReadFileBytes(strPath);
        ASSERT_TRUE(FileExists(strPath)) << strPath;
        EXPECT_EQ(Bytes(nID), strFile) << nID << " as a data file, " << strPath;
        EXPECT_EQ(Bytes(nID, image.Get()), strFile) << nID << " as an image, " << strPath;
    }
}

TEST_F(Payload, IdenticalFilesAreOneCopyInTheMappedProgram) {
    CImageResources image;
    ASSERT_NE(image.Get(), nullptr);
    std::map<std::string, const void*> copyOfBytes;
    std::set<const void*> copies;
    for (unsigned nID : ExpectedIds()) {
        HRSRC hInfo = ::FindResourceA(image.Get(), MAKEINTRESOURCEA(nID), "OWNER_DATA");
        ASSERT_NE(hInfo, nullptr) << nID;
        const void* pData = ::LockResource(::LoadResource(image.Get(), hInfo));
        const std::string strBytes(static_cast<const char*>(pData), ::SizeofResource(image.Get(), hInfo));
        const auto inserted = copyOfBytes.emplace(strBytes, pData);
        EXPECT_EQ(inserted.first->second, pData) << nID << " has its own copy of bytes stored before";
        copies.insert(pData);
    }
    EXPECT_EQ(copies.size(), SharedFiles().size());
}

TEST_F(Payload, TheHeaderChecksumIsTheFilesOwn) {
    DWORD dwInHeader = 0, dwComputed = 0;
    ASSERT_EQ(::MapFileAndCheckSumA(g_strSetupExe.c_str(), &dwInHeader, &dwComputed), CHECKSUM_SUCCESS);
    EXPECT_NE(dwInHeader, 0u);
    EXPECT_EQ(dwInHeader, dwComputed);
}

TEST_F(Payload, HoldsExactlyTheListedIdsUnderLanguage2052) {
    EXPECT_EQ(s_ids, ExpectedIds());
    for (unsigned nID : {160u, 167u, 180u, 181u, 202u, 247u, 264u}) EXPECT_EQ(s_ids.count(nID), 0u) << nID;
    for (unsigned nID : ExpectedIds()) {
        EXPECT_NE(::FindResourceExA(s_hModule, "OWNER_DATA", MAKEINTRESOURCEA(nID),
                                    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
                  nullptr)
            << nID;
    }
}

TEST_F(Payload, SizesAndSharedBytes) {
    std::map<std::string, unsigned> firstIdOfBytes;
    for (const SharedFile& file : SharedFiles()) {
        const std::string strBytes = Bytes(file.ids[0]);
        if (file.cbSize) {
            EXPECT_EQ(strBytes.size(), file.cbSize) << file.ids[0];
        }
        EXPECT_FALSE(strBytes.empty()) << file.ids[0];
        for (unsigned nID : file.ids) EXPECT_EQ(Bytes(nID), strBytes) << nID << " differs from " << file.ids[0];
        // Files that are not one file must not share bytes either.
        const auto inserted = firstIdOfBytes.emplace(strBytes, file.ids[0]);
        EXPECT_TRUE(inserted.second) << file.ids[0] << " has the bytes of " << inserted.first->second;
    }
}

// Without a vendor folder, the maker's font metrics file is a stand-in that says so.
bool BuiltWithStandIns(HMODULE hModule) {
    HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(154), "OWNER_DATA");
    const char* pData = hInfo ? static_cast<const char*>(::LockResource(::LoadResource(hModule, hInfo))) : nullptr;
    return pData && std::string(pData, ::SizeofResource(hModule, hInfo)).rfind("Q73 setup payload stand-in: ", 0) == 0;
}

TEST_F(Payload, StandInsSayWhatTheyStandFor) {
    if (!BuiltWithStandIns(s_hModule)) GTEST_SKIP() << "built with the vendor's files";
    if (k64BitSetup) GTEST_SKIP() << "the 64-bit setup.exe carries no Unidrv core";
    const std::string strCore = Bytes(163);
    EXPECT_EQ(strCore.find("Q73 setup payload stand-in: Unidrv core UNIDRV.DLL, English"), 0u);
    EXPECT_NE(Bytes(249).find("configuration plug-in, Traditional Chinese"), std::string::npos);
}

TEST_F(Payload, TheIniHoldsItsThreeLinesAndAnEmptyOne) {
    EXPECT_EQ(Bytes(kIni), "[OEMFiles]\r\nOEMDriverFile1=Q73D.DLL\r\nOEMConfigFile1=Q73F.DLL\r\n\r\n");
}

TEST_F(Payload, TheGpdIsAnEightyMillimetreDescriptionWithThreePatchedLines) {
    const std::string strGpd = Bytes(kGpd);
    const std::vector<std::string> lines = SplitLines(strGpd, "\r\n");
    EXPECT_EQ(lines.size(), 962u);
    for (const std::string& strLine : lines) EXPECT_LE(strLine.size(), 62u) << strLine;
    for (const char* pszLine : {"*GPDFileName: \"Q73.GPD\"", "*ModelName: \"Q73\"", "*ResourceDLL: \"Q73RES.DLL\"",
                                "*CodePage: 936", "*Include: \"stdnames.gpd\""}) {
        EXPECT_EQ(std::count(lines.begin(), lines.end(), pszLine), 1) << pszLine;
    }
    EXPECT_NE(strGpd.find("PAIR(180, 180)"), std::string::npos);
    EXPECT_NE(strGpd.find("*DefaultOption: PAPER80"), std::string::npos);
    EXPECT_NE(strGpd.find("PAIR(563, 2105)"), std::string::npos);
    EXPECT_NE(strGpd.find("*rcNameID: 800"), std::string::npos);

    // Patching for "ABC" changes exactly the three model lines.
    PatchRule rules[kPatchRuleCount];
    ASSERT_TRUE(MakePatchRules("ABC", rules));
    const std::vector<std::string> patched = SplitLines(PatchText(strGpd, rules, kPatchRuleCount), "\n");
    ASSERT_EQ(patched.size(), lines.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (patched[i] != lines[i]) changed.push_back(patched[i]);
    }
    EXPECT_EQ(changed, (std::vector<std::string>{"*GPDFileName: \"ABC.GPD\"", "*ModelName: \"ABC\"",
                                                 "*ResourceDLL: \"ABCRES.DLL\""}));
}

TEST_F(Payload, TheInfInstallsModelQ73FromTheStagedLayout) {
    const std::string strInf = Bytes(256);
    for (const char* pszText : {"$Windows NT$", "ntprint.inf", "Class=Printer", "{4D36E979-E325-11CE-BFC1-08002BE10318}",
                                "08/07/2004", "NTx86", "NTamd64", "UNIDRV_DATA", "Q73.GPD", "66000",
                                "NTPRINT.INF", "UNIDRV.OEM", "COM1:", "COM4:", "38400,n,8,1,p", "Q73D.DLL",
                                "Q73F.DLL", "ZIKU.UFM", "Q73.INI", "Q73RES.DLL", "[Manufacturer]"}) {
        EXPECT_NE(strInf.find(pszText), std::string::npos) << pszText;
    }
    // 64-bit Windows takes the plug-ins from the amd64 subfolder; no section for IA-64 systems,
    // which would install the x86 plug-ins.
    EXPECT_NE(strInf.find("3 = %Disk1%,,,amd64\r\n"), std::string::npos);
    EXPECT_NE(strInf.find("[SourceDisksFiles.amd64]\r\nQ73D.DLL = 3\r\nQ73F.DLL = 3\r\n"), std::string::npos);
    EXPECT_EQ(strInf.find("ia64"), std::string::npos);
}

namespace {

// The machine field of a PE image's file header and whether it is a DLL; 0 when the bytes are
// no PE image.
struct PeImage { WORD wMachine = 0; bool bDll = false; };
PeImage ReadPeHeader(const std::string& strBytes) {
    PeImage image;
    DWORD dwHeader = 0;
    if (strBytes.size() < 0x40 || strBytes.compare(0, 2, "MZ") != 0) return image;
    std::memcpy(&dwHeader, strBytes.data() + 0x3C, sizeof dwHeader);
    if (strBytes.size() < dwHeader + 24 || strBytes.compare(dwHeader, 4, std::string("PE\0\0", 4)) != 0) return image;
    WORD wCharacteristics = 0;
    std::memcpy(&image.wMachine, strBytes.data() + dwHeader + 4, sizeof image.wMachine);
    std::memcpy(&wCharacteristics, strBytes.data() + dwHeader + 22, sizeof wCharacteristics);
    image.bDll = (wCharacteristics & IMAGE_FILE_DLL) != 0;
    return image;
}

// A text of the version resource's English block; empty when there is none.
std::string VersionText(const std::string& strPath, const char* pszName) {
    DWORD dwHandle = 0;
    const DWORD cbInfo = ::GetFileVersionInfoSizeA(strPath.c_str(), &dwHandle);
    if (!cbInfo) return std::string();
    std::string strInfo(cbInfo, '\0');
    if (!::GetFileVersionInfoA(strPath.c_str(), 0, cbInfo, &strInfo[0])) return std::string();
    void* pValue = nullptr;
    UINT cchValue = 0;
    const std::string strQuery = std::string("\\StringFileInfo\\040904B0\\") + pszName;
    if (!::VerQueryValueA(strInfo.data(), strQuery.c_str(), &pValue, &cchValue) || !pValue) return std::string();
    return static_cast<const char*>(pValue);
}

}  // namespace

TEST_F(Payload, TheX64SetsDllsAreX8664Dlls) {
    for (unsigned nID : {257u, 258u, 259u, 260u, 261u, 262u}) {
        const PeImage image = ReadPeHeader(Bytes(nID));
        EXPECT_EQ(image.wMachine, IMAGE_FILE_MACHINE_AMD64) << nID;
        EXPECT_TRUE(image.bDll) << nID;
    }
}

// Without the maker's files, each x64 plug-in is our stand-in and says so, and which one it is.
TEST_F(Payload, TheX64PluginStandInsSayWhatTheyStandFor) {
    if (!BuiltWithStandIns(s_hModule)) GTEST_SKIP() << "built with the vendor's files";
    CScopedDirectory dir("x64standin");
    const char* const kWhat[] = {"rendering plug-in", "configuration plug-in of the printer's maker, English",
                                 "configuration plug-in of the printer's maker, Simplified Chinese",
                                 "configuration plug-in of the printer's maker, Traditional Chinese"};
    for (std::size_t i = 0; i < std::size(kX64Plugins); ++i) {
        const std::string strPath = dir.File("plugin" + std::to_string(kX64Plugins[i]) + ".dll");
        WriteFileBytes(strPath, Bytes(kX64Plugins[i]));
        EXPECT_EQ(VersionText(strPath, "FileDescription").rfind("Stand-in for the ", 0), 0u) << kX64Plugins[i];
        EXPECT_NE(VersionText(strPath, "FileDescription").find(kWhat[i]), std::string::npos) << kX64Plugins[i];
        EXPECT_NE(VersionText(strPath, "FileDescription").find("x64"), std::string::npos) << kX64Plugins[i];
        EXPECT_EQ(VersionText(strPath, "Comments").rfind("Test build", 0), 0u) << kX64Plugins[i];
    }
}

// The x64 resource libraries name every option as the x86 ones do: English 261 as 162, Chinese
// 262 as 158.
TEST_F(Payload, TheX64ResourceLibrariesHoldTheX86OnesStrings) {
    if (k64BitSetup) GTEST_SKIP() << "the 64-bit setup.exe carries no x86 resource library";
    CScopedDirectory dir("x64reslib");
    for (const auto& [nX64, nX86] : {std::pair<unsigned, unsigned>{261, 162}, {262, 158}}) {
        HMODULE hModules[2] = {};
        for (int i = 0; i < 2; ++i) {
            const unsigned nID = i ? nX86 : nX64;
            const std::string strPath = dir.File("res" + std::to_string(nID) + ".dll");
            WriteFileBytes(strPath, Bytes(nID));
            hModules[i] = ::LoadLibraryExA(strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            ASSERT_NE(hModules[i], nullptr) << nID;
        }
        int nStrings = 0;
        for (UINT nString = 300; nString <= 801; ++nString) {
            char szX64[256] = {}, szX86[256] = {};
            const int cchX64 = ::LoadStringA(hModules[0], nString, szX64, sizeof szX64);
            EXPECT_EQ(cchX64, ::LoadStringA(hModules[1], nString, szX86, sizeof szX86)) << nX64 << " string " << nString;
            EXPECT_STREQ(szX64, szX86) << nX64 << " string " << nString;
            nStrings += cchX64 > 0;
        }
        char szPaper[64] = {};
        ::LoadStringA(hModules[0], 800, szPaper, sizeof szPaper);
        EXPECT_STREQ(szPaper, "papersize(80x297mm)") << nX64;
        EXPECT_GT(nStrings, 1) << nX64;
        for (HMODULE hModule : hModules) ::FreeLibrary(hModule);
    }
}

TEST_F(Payload, TheResourceLibrariesNameThePaperSize) {
    CScopedDirectory dir("reslib");
    for (unsigned nID : k64BitSetup ? std::vector<unsigned>{261, 262} : std::vector<unsigned>{162, 158}) {
        const std::string strPath = dir.File("res" + std::to_string(nID) + ".dll");
        WriteFileBytes(strPath, Bytes(nID));
        HMODULE hLibrary = ::LoadLibraryExA(strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(hLibrary, nullptr) << nID;
        char szText[64] = {};
        EXPECT_GT(::LoadStringA(hLibrary, 800, szText, sizeof szText), 0) << nID;
        EXPECT_STREQ(szText, "papersize(80x297mm)") << nID;
        ::FreeLibrary(hLibrary);
        ::DeleteFileA(strPath.c_str());
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_strSetupExe = argv[1];
    if (argc > 2) g_strPayloadScript = argv[2];
    return RUN_ALL_TESTS();
}
