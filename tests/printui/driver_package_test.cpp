// Reading the driver from its INF with the platform's INF parser, in process, against the set
// staged in C:\TEMP: the driver's own INF, the decorations and source layouts an INF may use,
// and the INFs the stand-in must refuse before it copies anything (those that printui_test.cpp
// runs through rundll32 are not repeated here).
#include <gtest/gtest.h>

#include "test_support.h"  // windows.h first
#include <setupapi.h>

#include <string>
#include <vector>

#include "driver_package.h"
#include "printui_staging.h"
#include "serial_ports.h"
#include "target_platform.h"

namespace {

const std::string kArch = kArchitectureDecoration;
// The driver's models section for this build's architecture, as its INF writes it.
const std::string kModels = "[Q73." + kArch + "]\r\n\"Q73\" = Q73.GPD\r\n";

class DriverPackageFromInf : public ::testing::Test {
protected:
    Outcome Read(const std::string& strInf, const char* pszModel = "Q73") {
        StageDriverSet(strInf);
        return ReadDriverPackage(kStagedInf, pszModel, m_package);
    }
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        for (const DriverPackageFile& file : m_package.files) names.push_back(file.strName);
        return names;
    }
    // The staged place each file of the package was read from, told by its bytes.
    std::string SourceBytesOf(const std::string& strName) const {
        for (const DriverPackageFile& file : m_package.files)
            if (file.strName == strName) return ReadFileBytes(file.strSourcePath);
        return "<not in the package>";
    }

    CScopedStagingDirectory m_staging;
    DriverPackage m_package;
};

TEST_F(DriverPackageFromInf, TheDriversInfGivesUnidrvAndItsOwnFilesFromTheirSourceLayout) {
    const Outcome outcome = Read(DriverInfText());
    ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
    EXPECT_EQ(m_package.strModel, "Q73");
    EXPECT_EQ(m_package.strDriverFile, "UNIDRV.DLL");
    EXPECT_EQ(m_package.strConfigFile, "UNIDRVUI.DLL");
    EXPECT_EQ(m_package.strDataFile, "Q73.GPD");
    EXPECT_EQ(m_package.strHelpFile, "UNIDRV.HLP");
    EXPECT_EQ(FileNames(), InstalledFileNames());
    for (const std::string& strName : InstalledFileNames())
        EXPECT_EQ(SourceBytesOf(strName), StagedSetBytes(StagedPlaceOf(strName))) << strName;
    EXPECT_EQ(m_package.DependentFiles(), (std::vector<std::string>{"ZIKU.UFM", "Q73.INI", "Q73RES.DLL", "Q73D.DLL",
                                                                    "Q73F.DLL", "UNIRES.DLL", "STDNAMES.GPD"}));
}

TEST_F(DriverPackageFromInf, TheModelNameMatchesWithoutRegardToCaseAndKeepsTheInfsSpelling) {
    const Outcome outcome = Read(DriverInfText(), "q73");
    ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
    EXPECT_EQ(m_package.strModel, "Q73");
}

// The models section follows the decorations the manufacturer's entry lists: this
// architecture's, then plain NT, then the undecorated section. Each candidate names its own
// install section, which names its own help file: the help file tells which one was read.
TEST_F(DriverPackageFromInf, ModelsSectionsFallBackFromTheArchitectureToNtToUndecorated) {
    std::string strInf = ReplacedOnce(DriverInfText(), kModels, "");
    for (const char* pszHelp : {"Q73.INI", "ZIKU.UFM", "Q73RES.DLL"}) {
        strInf += std::string("\r\n[INSTALL.") + pszHelp + "]\r\nCopyFiles=Q73_FILES\r\nDataSection=UNIDRV_DATA\r\n" +
                  "DataFile=Q73.GPD\r\nHelpFile=" + pszHelp + "\r\nInclude=NTPRINT.INF\r\nNeeds=UNIDRV.OEM\r\n";
    }
    const std::string strArch = "[Q73." + kArch + "]\r\n\"Q73\" = INSTALL.Q73.INI\r\n";
    const std::string strNt = "[Q73.NT]\r\n\"Q73\" = INSTALL.ZIKU.UFM\r\n";
    const std::string strPlain = "[Q73]\r\n\"Q73\" = INSTALL.Q73RES.DLL\r\n";
    struct Case {
        const char* pszWhat;
        std::string strManufacturer;  // the [Manufacturer] entry
        std::string strSections;      // the models sections there are
        const char* pszHelp;          // the help file of the section to follow; nullptr for none
    };
    const Case cases[] = {
        {"all three listed", "%Q73%=Q73,NT," + kArch, strArch + strNt + strPlain, "Q73.INI"},
        {"NT listed", "%Q73%=Q73,NT,NTia64", strArch + strNt + strPlain, "ZIKU.UFM"},
        {"another architecture only", "%Q73%=Q73,NTia64", strArch + strNt + strPlain, "Q73RES.DLL"},
        {"listed section lacks the model", "%Q73%=Q73," + kArch, "[Q73." + kArch + "]\r\n" + strPlain, nullptr},
        {"no undecorated section", "%Q73%=Q73,NTia64", strArch + strNt, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const std::string strCase =
            ReplacedOnce(strInf, "%Q73%=Q73,NTx86,NTamd64", c.strManufacturer) + "\r\n" + c.strSections;
        const Outcome outcome = Read(strCase);
        if (!c.pszHelp) {
            EXPECT_EQ(outcome.dwError, static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER)) << outcome.strReason;
            continue;
        }
        ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
        EXPECT_EQ(m_package.strHelpFile, c.pszHelp);
    }
}

// Install sections are decorated the same way: the best one the INF has is followed alone.
TEST_F(DriverPackageFromInf, InstallSectionsFallBackFromTheArchitectureToNtToUndecorated) {
    const std::string strInf = DriverInfText();
    auto section = [](const std::string& strDecoration, const char* pszHelp) {
        return "[Q73.GPD" + strDecoration + "]\r\nCopyFiles=Q73_FILES\r\nDataSection=UNIDRV_DATA\r\n"
               "DataFile=Q73.GPD\r\nHelpFile=" + pszHelp + "\r\nInclude=NTPRINT.INF\r\nNeeds=UNIDRV.OEM\r\n";
    };
    struct Case {
        const char* pszWhat;
        std::string strAdded;
        const char* pszHelp;
    };
    const Case cases[] = {
        {"architecture and NT", section("." + kArch, "Q73.INI") + section(".NT", "ZIKU.UFM"), "Q73.INI"},
        {"NT", section(".NT", "ZIKU.UFM"), "ZIKU.UFM"},
        {"another architecture", section(".NTia64", "Q73.INI"), "UNIDRV.HLP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const Outcome outcome = Read(strInf + "\r\n" + c.strAdded);
        ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
        EXPECT_EQ(m_package.strHelpFile, c.pszHelp);
    }
}

TEST_F(DriverPackageFromInf, SourceDisksFilesSubdirectoriesAndTheArchitecturesSectionsAreFollowed) {
    std::string strInf = ReplacedOnce(DriverInfText(), "Q73F.DLL = 2\r\n", "Q73F.DLL = 2,sub\r\n");
    // This architecture's section is read before the plain one: Q73D.DLL from the root here.
    strInf += std::string("\r\n[SourceDisksFiles.") + kSourceMediaSuffix + "]\r\nQ73D.DLL = 1\r\n";
    StageDriverSet(strInf);
    ASSERT_TRUE(::CreateDirectoryA("C:\\TEMP\\x86\\sub", nullptr));
    WriteFileBytes("C:\\TEMP\\x86\\sub\\Q73F.DLL", "from x86\\sub");
    const Outcome outcome = ReadDriverPackage(kStagedInf, "Q73", m_package);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
    EXPECT_EQ(SourceBytesOf("Q73F.DLL"), "from x86\\sub");
    EXPECT_EQ(SourceBytesOf("Q73D.DLL"), StagedSetBytes("Q73D.DLL"));
}

TEST_F(DriverPackageFromInf, SingleFileEntriesAndRenamedCopiesAreCopied) {
    std::string strInf = ReplacedOnce(DriverInfText(), "CopyFiles=Q73_FILES", "CopyFiles=Q73_FILES,@Q73.INF");
    strInf = ReplacedOnce(strInf, "Q73F.DLL\r\n\r\n", "Q73G.DLL,Q73F.DLL\r\n\r\n");
    strInf = ReplacedOnce(strInf, "Q73F.DLL = 2\r\n", "Q73F.DLL = 2\r\nQ73.INF = 1\r\n");
    const Outcome outcome = Read(strInf);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
    EXPECT_EQ(SourceBytesOf("Q73G.DLL"), StagedSetBytes("x86\\Q73F.DLL"));
    EXPECT_EQ(SourceBytesOf("Q73.INF"), strInf);
    EXPECT_EQ(SourceBytesOf("Q73F.DLL"), "<not in the package>");
}

// The model's install section, as the reader found it, has its AddReg carried out by the setup
// API: the serial ports are set as the INF says.
TEST_F(DriverPackageFromInf, TheInstallSectionsRegistryLinesAreAppliedWithTheSetupApi) {
    StageDriverSet(DriverInfText());
    const CSerialPortSettings ports;
    m_package.strInfPath = kStagedInf;
    m_package.strInstallSection = "Q73.GPD";
    const Outcome outcome = ApplyDriverRegistry(m_package);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.strReason;
    EXPECT_EQ(CSerialPortSettings::Current(), ExpectedSerialPorts());
}

struct RefusedInf {
    const char* pszWhat;
    std::string strFrom, strTo;  // the change to the driver's INF
    DWORD dwError;
    const char* pszReason;       // a part of the reason
};

std::vector<RefusedInf> RefusedInfs() {
    return {
        {"no NT signature", "Signature=\"$Windows NT$\"\r\n", "", ERROR_WRONG_INF_STYLE, "cannot read"},
        {"model for other architectures only", kModels, "[Q73." + kArch + "]\r\n\"Q73 other\" = Q73.GPD\r\n",
         ERROR_UNKNOWN_PRINTER_DRIVER, "no model \"Q73\""},
        {"no install section", "[Q73.GPD]\r\n", "[Q73.GPDX]\r\n", ERROR_SECTION_NOT_FOUND, "[Q73.GPD]"},
        {"copied file not in SourceDisksFiles", "ZIKU.UFM = 1\r\n", "", ERROR_FILE_NOT_FOUND,
         "ZIKU.UFM is not in the INF's SourceDisksFiles"},
        {"disk not in SourceDisksNames", "2 = %Disk1%,,,x86\r\n", "", ERROR_FILE_NOT_FOUND, "the disk of Q73D.DLL"},
        {"copy section missing", "CopyFiles=Q73_FILES", "CopyFiles=Q73_FILEZ", ERROR_SECTION_NOT_FOUND,
         "no copy section [Q73_FILEZ]"},
        {"no data file", "DataFile=Q73.GPD\r\n", "", ERROR_INVALID_DATA, "names no DataFile"},
        {"copies elsewhere", "DefaultDestDir=66000", "DefaultDestDir=11", ERROR_INVALID_DATA,
         "elsewhere than the printer driver directory"},
        {"destination outside the driver directory", "[Q73_FILES]\r\nQ73.GPD\r\n",
         "[Q73_FILES]\r\n..\\Q73.GPD,Q73.GPD\r\n", ERROR_INVALID_NAME, "not a plain file name"},
        {"another INF included", "Include=NTPRINT.INF", "Include=OTHER.INF", ERROR_FILE_NOT_FOUND,
         "includes OTHER.INF"},
        {"platform INF not included", "Include=NTPRINT.INF\r\n", "", ERROR_SECTION_NOT_FOUND, "[UNIDRV_DATA]"},
        {"needs an unknown section", "Needs=UNIDRV.OEM,UNIDRV_DATA", "Needs=UNIDRV.OEM,PSCRIPT.OEM",
         ERROR_SECTION_NOT_FOUND, "needs [PSCRIPT.OEM]"},
        // [Version], as the platform reads it before anything else.
        {"another signature", "Signature=\"$Windows NT$\"", "Signature=\"$Windows 95$\"", ERROR_INVALID_DATA,
         "[Version] Signature is \"$Windows 95$\""},
        {"another class", "Class=Printer\r\n", "Class=Image\r\n", ERROR_INVALID_DATA, "[Version] Class is \"Image\""},
        {"another class GUID", "{4D36E979-E325-11CE-BFC1-08002BE10318}", "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}",
         ERROR_INVALID_DATA, "[Version] ClassGUID is \"{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\""},
        {"no provider", "Provider=%Q73%\r\n", "", ERROR_INVALID_DATA, "[Version] names no Provider"},
        {"no driver version", "DriverVer=08/07/2004,1.0.0.0\r\n", "", ERROR_INVALID_DATA, "[Version] has no DriverVer"},
        {"a driver date the platform cannot read", "DriverVer=08/07/2004,1.0.0.0", "DriverVer=2004-08-07,1.0.0.0",
         ERROR_INVALID_DATA, "[Version] DriverVer \"2004-08-07,1.0.0.0\" is not mm/dd/yyyy[,w.x.y.z]"},
        {"a driver version part too large", "DriverVer=08/07/2004,1.0.0.0", "DriverVer=08/07/2004,1.0.0.70000",
         ERROR_INVALID_DATA, "is not mm/dd/yyyy[,w.x.y.z]"},
        {"a catalog that is not beside the INF", "CatalogFile=Q73.cat", "CatalogFile=Q73X.cat", ERROR_FILE_NOT_FOUND,
         "[Version] CatalogFile Q73X.cat is not beside the INF"},
        {"a catalog outside the INF's folder", "CatalogFile=Q73.cat", "CatalogFile=..\\Q73.cat", ERROR_INVALID_DATA,
         "[Version] CatalogFile \"..\\Q73.cat\" is not a plain file name"},
    };
}

TEST_F(DriverPackageFromInf, RefusesWhatCannotBeInstalledAsTheInfSays) {
    for (const RefusedInf& c : RefusedInfs()) {
        SCOPED_TRACE(c.pszWhat);
        StageDriverSet(ReplacedOnce(DriverInfText(), c.strFrom, c.strTo));
        const Outcome outcome = ReadDriverPackage(kStagedInf, "Q73", m_package);
        EXPECT_EQ(outcome.dwError, c.dwError) << outcome.strReason;
        EXPECT_NE(outcome.strReason.find(c.pszReason), std::string::npos) << outcome.strReason;
    }
}

}  // namespace
