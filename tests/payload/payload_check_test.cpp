// setup.exe, opened as a resource module: every payload id is there with its size, nothing
// else is, every id is byte for byte the file the build made for it, and the files that are
// one file share their bytes, stored once.
#include <gtest/gtest.h>
#include <windows.h>
#include <imagehlp.h>

#include <algorithm>
#include <cstring>
#include <fstream>
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

std::set<unsigned> ExpectedIds() {
    std::set<unsigned> ids;
    for (unsigned nID = 146; nID <= 256; ++nID) {
        const bool bGap = nID == 160 || nID == 167 || nID == 180 || nID == 181 || (nID >= 202 && nID <= 247);
        if (!bGap) ids.insert(nID);
    }
    return ids;
}

// Groups of ids that hold one file, with its size where we make the file ourselves or the
// stand-in takes the maker's size. 0 for a size we do not fix (the uninstaller).
struct SharedFile { std::vector<unsigned> ids; std::size_t cbSize; };

const std::vector<SharedFile>& SharedFiles() {
    static const std::vector<SharedFile> files = {
        {{146}, 9304}, {{147}, 9326}, {{148}, 44}, {{248}, 9305}, {{255}, 0}, {{256}, 1569},
        {{153, 168, 186}, 14362}, {{155, 169, 187}, 16605}, {{159, 170, 188}, 64},
        {{156, 171, 189}, 23040}, {{154}, 496},
        {{149, 172}, 264704}, {{152, 173}, 12164}, {{150, 174}, 193024}, {{151, 175}, 618496},
        {{190}, 263680}, {{191}, 12164}, {{192}, 198144}, {{193}, 618496},
        {{163, 176, 196}, 251904}, {{164, 177, 197}, 21225}, {{165, 178, 198}, 196096},
        {{166, 179, 199}, 619520},
        {{161, 182}, 13312}, {{200}, 15872}, {{157, 184, 194}, 13312}, {{249, 250, 251}, 13312},
        {{162, 183, 201}, 5120}, {{158, 185, 195, 252, 253, 254}, 5120},
    };
    return files;
}

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
    for (unsigned nID : {160u, 167u, 180u, 181u, 202u, 247u}) EXPECT_EQ(s_ids.count(nID), 0u) << nID;
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

TEST_F(Payload, StandInsSayWhatTheyStandFor) {
    const std::string strCore = Bytes(163);
    if (strCore.compare(0, 2, "MZ") == 0) GTEST_SKIP() << "built with the vendor's files";
    EXPECT_EQ(strCore.find("Q73 setup payload stand-in: Unidrv core UNIDRV.DLL, English"), 0u);
    EXPECT_NE(Bytes(249).find("configuration plug-in, Traditional Chinese"), std::string::npos);
}

TEST_F(Payload, TheIniHoldsItsThreeLinesAndAnEmptyOne) {
    EXPECT_EQ(Bytes(159), "[OEMFiles]\r\nOEMDriverFile1=Q73D.DLL\r\nOEMConfigFile1=Q73F.DLL\r\n\r\n");
}

TEST_F(Payload, TheGpdIsAnEightyMillimetreDescriptionWithThreePatchedLines) {
    const std::string strGpd = Bytes(155);
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
                                "08/07/2004", "NTx86", "NTamd64", "NTia64", "UNIDRV_DATA", "Q73.GPD", "66000",
                                "NTPRINT.INF", "UNIDRV.OEM", "COM1:", "COM4:", "38400,n,8,1,p", "Q73D.DLL",
                                "Q73F.DLL", "ZIKU.UFM", "Q73.INI", "Q73RES.DLL", "[Manufacturer]"}) {
        EXPECT_NE(strInf.find(pszText), std::string::npos) << pszText;
    }
}

TEST_F(Payload, TheResourceLibrariesNameThePaperSize) {
    CScopedDirectory dir("reslib");
    for (unsigned nID : {162u, 158u}) {
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
