// 64-bit Windows as the installer meets it from inside WoW64, in process: whether the system is
// 64-bit, where the 64-bit system's own rundll32 is and that it starts as a 64-bit process (by
// Sysnative, and around turned-off redirection where there is no Sysnative), and the uninstall
// entry in the 64-bit registry view. Run in both sessions: Q73_EXPECTED_WINDOWS says which.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/scoped_handle.h"
#include "payload/install_constants.h"
#include "payload/prepare_install.h"
#include "payload/reg.h"
#include "payload/uninstall_key.h"
#include "payload/wow64.h"
#include "spooler_helpers.h"
#include "test_support.h"

namespace {

constexpr WORD kMachineX86 = 0x014C, kMachineX64 = 0x8664;

// This test program is a 64-bit one (the x86-64 build): on 64-bit Windows it is native there.
constexpr bool k64BitProcess = sizeof(void*) == 8;


// The machine a PE file is built for, read through this thread's view of the file system;
// 0 when it cannot be read.
WORD MachineOf(const std::string& strPath) {
    const std::string strBytes = ReadFileBytes(strPath);
    if (strBytes.size() < 0x40) return 0;
    DWORD dwHeader = 0;
    std::memcpy(&dwHeader, strBytes.data() + 0x3C, sizeof dwHeader);
    if (strBytes.size() < dwHeader + 6 || strBytes.compare(dwHeader, 4, std::string("PE\0\0", 4)) != 0) return 0;
    WORD wMachine = 0;
    std::memcpy(&wMachine, strBytes.data() + dwHeader + 4, sizeof wMachine);
    return wMachine;
}

// Starts the program (rundll32 with no arguments ends at once) as the installer does and tells
// whether the process runs under WoW64; -1 when it cannot be started.
int StartedUnderWow64(const SystemProgram& program) {
    const CFileSystemRedirectionOff redirection(program.bRedirectionOff);
    if (!redirection.Succeeded()) return -1;
    CPathString strCommand(program.strPath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(program.strPath.c_str(), strCommand.GetBufferUnsafe(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return -1;
    CKernelHandle hThread(process.hThread), hProcess(process.hProcess);
    BOOL bWow64 = FALSE;
    const bool bAsked = ::IsWow64Process(hProcess.GetUnsafe(), &bWow64) != FALSE;
    ::WaitForSingleObject(hProcess.GetUnsafe(), 30000);
    return bAsked ? (bWow64 ? 1 : 0) : -1;
}

std::string SystemDirectoryFile(const char* pszName) {
    char szSystem[MAX_PATH] = {};
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    return std::string(szSystem) + "\\" + pszName;
}

class Windows64Only : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ExpectedWindows64()) GTEST_SKIP() << "runs on 64-bit Windows";
    }
    void TearDown() override { HideSysnativeForTesting(false); }
};

// WoW64's redirection and Sysnative, which only a 32-bit process on 64-bit Windows meets.
class UnderWow64 : public Windows64Only {
protected:
    void SetUp() override {
        if (k64BitProcess) GTEST_SKIP() << "a 32-bit program's view of 64-bit Windows";
        Windows64Only::SetUp();
    }
};

}  // namespace

TEST(RunningSystem, IsTheKindThisRunWasStartedFor) {
    EXPECT_EQ(IsWindows64(), ExpectedWindows64());
    EXPECT_EQ(&RunningPlatform(), ExpectedWindows64() ? &kX64Platform : &kX86Platform);
    EXPECT_EQ(RunningNativeMachine(), ExpectedWindows64() ? NativeMachine::X64 : NativeMachine::X86);
}

// Where IsWow64Process2 answers, its native machine decides; ARM64 Windows (which a 32-bit
// program's IsWow64Process calls 64-bit) is neither platform the driver has.
TEST(RunningSystem, IsWow64Process2sNativeMachineDecides) {
    struct Case {
        unsigned short wMachine;
        NativeMachine expected;
        bool bWindows64;  // what a 32-bit program takes it for; a 64-bit one is always on 64-bit Windows
    };
    const Case kCases[] = {{0x014C, NativeMachine::X86, false},
                           {0x8664, NativeMachine::X64, true},
                           {0xAA64, NativeMachine::Other, false},
                           {0x01C4, NativeMachine::Other, false}};
    for (const Case& c : kCases) {
        ReplaceNativeMachineForTesting(c.wMachine);
        EXPECT_EQ(RunningNativeMachine(), c.expected) << std::hex << c.wMachine;
        EXPECT_EQ(IsWindows64(), k64BitProcess || c.bWindows64) << std::hex << c.wMachine;
    }
    ReplaceNativeMachineForTesting(0);
}

// Asked for the native program on a 32-bit system or by a 64-bit program, or for the program as
// this process sees it anywhere: the system directory's, started as this process's kind.
TEST(SystemPrograms, WithoutNativeTheSystemDirectorysProgramStartsAsThisProcesssKind) {
    for (bool bNative : {false, true}) {
        if (bNative && ExpectedWindows64() && !k64BitProcess) continue;
        SystemProgram program;
        ASSERT_TRUE(FindSystemProgram("rundll32.exe", bNative, program));
        EXPECT_EQ(std::string(program.strPath.c_str()), SystemDirectoryFile("rundll32.exe"));
        EXPECT_FALSE(program.bRedirectionOff);
        EXPECT_EQ(StartedUnderWow64(program), ExpectedWindows64() && !k64BitProcess ? 1 : 0) << "native " << bNative;
    }
}

TEST_F(UnderWow64, TheNativeRundll32IsReachedThroughSysnativeAndRunsAs64Bit) {
    SystemProgram program;
    ASSERT_TRUE(FindSystemProgram("rundll32.exe", true, program));
    EXPECT_STREQ(program.strPath.c_str(), "C:\\windows\\Sysnative\\rundll32.exe");
    EXPECT_FALSE(program.bRedirectionOff);
    EXPECT_EQ(MachineOf(program.strPath.c_str()), kMachineX64);
    EXPECT_EQ(StartedUnderWow64(program), 0);
}

// A system without Sysnative (XP x64 without its hotfix): the system directory's path with
// redirection off around the start, which reaches the 64-bit program; afterwards this thread
// sees the 32-bit system directory again.
TEST_F(UnderWow64, WithoutSysnativeRedirectionIsOffAroundTheStartOnly) {
    HideSysnativeForTesting(true);
    SystemProgram program;
    ASSERT_TRUE(FindSystemProgram("rundll32.exe", true, program));
    EXPECT_EQ(std::string(program.strPath.c_str()), SystemDirectoryFile("rundll32.exe"));
    EXPECT_TRUE(program.bRedirectionOff);
    {
        const CFileSystemRedirectionOff redirection(true);
        ASSERT_TRUE(redirection.Succeeded());
        EXPECT_EQ(MachineOf(program.strPath.c_str()), kMachineX64);
    }
    EXPECT_EQ(MachineOf(program.strPath.c_str()), kMachineX86);
    EXPECT_EQ(StartedUnderWow64(program), 0);
    EXPECT_EQ(MachineOf(program.strPath.c_str()), kMachineX86);
}

// The entry goes to the 64-bit view (where the system's list of programs reads it), names the
// uninstaller in the x64 driver directory, and is deleted there; the 32-bit view never sees it.
TEST_F(Windows64Only, TheUninstallEntryIsWrittenAndDeletedInThe64BitView) {
    const std::string strKey = UninstallKey("Q73W64");
    WriteUninstallEntry("Q73W64", kX64Platform);
    const std::string strUninstaller = PrinterDriverDirectory(kDriverEnvironmentX64) + "\\uninstallQ73W64.exe";
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "UninstallString", nullptr, KEY_WOW64_64KEY), strUninstaller + '\0');
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayIcon", nullptr, KEY_WOW64_64KEY), strUninstaller + ",-0" + '\0');
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayName", nullptr, KEY_WOW64_32KEY), "<no key>");

    if (!k64BitProcess) EXPECT_FALSE(CReg(false).DeleteKey(strKey.c_str())) << "the 32-bit view has no such key";
    EXPECT_TRUE(CReg(true).DeleteKey(strKey.c_str()));
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayName", nullptr, KEY_WOW64_64KEY), "<no key>");
    EXPECT_FALSE(CReg(true).DeleteKey(strKey.c_str())) << "deleted twice";
}

// On 32-bit Windows the entry is where it always was, and the helper deletes it there.
TEST(UninstallEntry, OnThisSystemsPlatformIsReadWithoutAViewAndDeleted) {
    if (ExpectedWindows64()) GTEST_SKIP() << "runs on 32-bit Windows";
    const std::string strKey = UninstallKey("Q73W32");
    WriteUninstallEntry("Q73W32", RunningPlatform());
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "UninstallString"),
              PrinterDriverDirectory() + "\\uninstallQ73W32.exe" + '\0');
    EXPECT_TRUE(CReg(false).DeleteKey(strKey.c_str()));
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayName"), "<no key>");
}
