// The file properties of the built setup.exe and uninstaller, read the way Windows reads them:
// the version resource (GetFileVersionInfoA / VerQueryValueA), the test-build mark, and the
// application manifest that asks for administrator rights and for nothing else.
//
//   program_resources_tests.exe <setup.exe> <uninstall.exe>
//
// The build passes the project version (Q73_VERSION_MAJOR, _MINOR, _PATCH) and whether it embeds
// stand-ins (Q73_EXPECT_TEST_BUILD); the texts are the ones users and tools read, written here.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"

namespace {

std::string g_strSetupExe, g_strUninstallExe;

const std::string kVersion = std::to_string(Q73_VERSION_MAJOR) + "." + std::to_string(Q73_VERSION_MINOR) + "." +
                             std::to_string(Q73_VERSION_PATCH);

struct ProgramCase {
    const char* pszName;
    const std::string* pstrPath;
    const char* pszDescription;
    const char* pszFileName;
};

const ProgramCase kPrograms[] = {
    {"setup", &g_strSetupExe, "Q73 printer driver setup", "setup.exe"},
    {"uninstaller", &g_strUninstallExe, "Q73 printer driver uninstall", "uninstall.exe"},
};

// A program's version resource, as GetFileVersionInfoA gives it.
class CVersionInfo {
public:
    explicit CVersionInfo(const std::string& strPath) {
        DWORD dwHandle = 0;
        const DWORD cbInfo = ::GetFileVersionInfoSizeA(strPath.c_str(), &dwHandle);
        if (!cbInfo) return;
        m_data.resize(cbInfo);
        if (!::GetFileVersionInfoA(strPath.c_str(), 0, cbInfo, m_data.data())) m_data.clear();
    }
    bool IsPresent() const { return !m_data.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        void* pValue = nullptr;
        UINT cbValue = 0;
        if (!IsPresent() || !::VerQueryValueA(m_data.data(), "\\", &pValue, &cbValue) ||
            cbValue < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(pValue);
    }

    // A string of the first translation the resource lists; "<none>" when it has no such string.
    std::string String(const char* pszName) const {
        void* pValue = nullptr;
        UINT cbValue = 0;
        if (!IsPresent() || !::VerQueryValueA(m_data.data(), "\\VarFileInfo\\Translation", &pValue, &cbValue) ||
            cbValue < 2 * sizeof(WORD))
            return "<none>";
        const WORD* pTranslation = static_cast<const WORD*>(pValue);
        char szBlock[64];
        std::snprintf(szBlock, sizeof szBlock, "\\StringFileInfo\\%04X%04X\\", pTranslation[0], pTranslation[1]);
        const std::string strPath = std::string(szBlock) + pszName;
        if (!::VerQueryValueA(m_data.data(), strPath.c_str(), &pValue, &cbValue) || !cbValue) return "<none>";
        return static_cast<const char*>(pValue);
    }

private:
    mutable std::vector<char> m_data;
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
using CModule = CScopedHandle<ModuleTraits>;  // LoadLibraryExA

BOOL CALLBACK CollectManifestId(HMODULE, LPCSTR, LPSTR pszName, LONG_PTR lParam) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(lParam)->push_back(
        IS_INTRESOURCE(pszName) ? reinterpret_cast<ULONG_PTR>(pszName) : 0);
    return TRUE;
}

class ProgramResources : public ::testing::TestWithParam<ProgramCase> {
protected:
    void SetUp() override { ASSERT_FALSE(GetParam().pstrPath->empty()) << "pass setup.exe and uninstall.exe"; }
};

TEST_P(ProgramResources, CarryTheProjectVersionAndTheProductsNames) {
    const CVersionInfo info(*GetParam().pstrPath);
    ASSERT_TRUE(info.IsPresent()) << "no version resource in " << *GetParam().pstrPath;
    const VS_FIXEDFILEINFO* pFixed = info.Fixed();
    ASSERT_NE(pFixed, nullptr);
    EXPECT_EQ(pFixed->dwSignature, 0xFEEF04BDu);
    const DWORD dwMS = MAKELONG(Q73_VERSION_MINOR, Q73_VERSION_MAJOR), dwLS = MAKELONG(0, Q73_VERSION_PATCH);
    EXPECT_EQ(pFixed->dwFileVersionMS, dwMS);
    EXPECT_EQ(pFixed->dwFileVersionLS, dwLS);
    EXPECT_EQ(pFixed->dwProductVersionMS, dwMS);
    EXPECT_EQ(pFixed->dwProductVersionLS, dwLS);
    EXPECT_EQ(pFixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(info.String("FileVersion"), kVersion);
    EXPECT_EQ(info.String("ProductVersion"), kVersion);
    EXPECT_EQ(info.String("ProductName"), "Q73 printer driver");
    EXPECT_EQ(info.String("FileDescription"), GetParam().pszDescription);
    EXPECT_EQ(info.String("OriginalFilename"), GetParam().pszFileName);
    // The printer's maker, as the driver's INF names its provider.
    EXPECT_EQ(info.String("CompanyName"), "Q73");
    EXPECT_EQ(info.String("LegalCopyright"), "Copyright (C) Q73");
}

// Only a build that embeds stand-ins says so; a release carries no Comments at all.
TEST_P(ProgramResources, SayWhetherTheyAreATestBuild) {
    const CVersionInfo info(*GetParam().pstrPath);
    ASSERT_TRUE(info.IsPresent());
    if (Q73_EXPECT_TEST_BUILD)
        EXPECT_EQ(info.String("Comments"), "Test build: stand-in driver files, not for release");
    else
        EXPECT_EQ(info.String("Comments"), "<none>");
}

TEST_P(ProgramResources, AskForAdministratorRightsAndNothingElse) {
    const CModule hModule(::LoadLibraryExA(GetParam().pstrPath->c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(hModule.IsValid()) << "cannot open " << *GetParam().pstrPath;

    // One manifest, the one the loader reads for a program (id 1).
    std::vector<ULONG_PTR> ids;
    ::EnumResourceNamesA(hModule.GetUnsafe(), MAKEINTRESOURCEA(24), &CollectManifestId,
                         reinterpret_cast<LONG_PTR>(&ids));
    ASSERT_EQ(ids, std::vector<ULONG_PTR>{1});

    HRSRC hInfo = ::FindResourceA(hModule.GetUnsafe(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(hInfo, nullptr);
    const char* pData = static_cast<const char*>(::LockResource(::LoadResource(hModule.GetUnsafe(), hInfo)));
    ASSERT_NE(pData, nullptr);
    const std::string strManifest(pData, ::SizeofResource(hModule.GetUnsafe(), hInfo));

    EXPECT_NE(strManifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"),
              std::string::npos)
        << strManifest;
    // Nothing that changes what the program sees: the Windows version, the common controls.
    for (const char* pszAbsent : {"supportedOS", "compatibility", "dependency", "Common-Controls", "dpiAware"})
        EXPECT_EQ(strManifest.find(pszAbsent), std::string::npos) << pszAbsent << " in\n" << strManifest;
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<ProgramCase>& info) { return info.param.pszName; });

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 2) {
        g_strSetupExe = argv[1];
        g_strUninstallExe = argv[2];
    }
    return RUN_ALL_TESTS();
}
