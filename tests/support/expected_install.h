// What an installation must leave, written out here rather than taken from the product's own
// tables: the files of every driver set by name and payload id, and the outcome texts. A fault
// in the product's choice of set, file or text then fails the tests instead of moving their
// expectation along with it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The variant of the texts and of the configuration plug-in a run gives.
enum class ExpectedVariant { English, SimplifiedChinese, TraditionalChinese };

// A Chinese system of any region (its Unidrv core is the Chinese one).
bool ExpectedChineseSystem(LANGID wSystemLanguage);
// English unless Chinese was chosen; then Simplified Chinese on a system of 0x0804 exactly and
// Traditional Chinese on every other.
ExpectedVariant ExpectedVariantFor(bool bChineseChosen, LANGID wSystemLanguage);

struct ExpectedDriverFile {
    std::string strName;     // for the printer name given
    unsigned nPayloadId;     // the resource whose bytes the file has (GPD and INI: patched)
    bool bInSubfolders;      // also staged in I386 and x86 (the x64 set: in amd64)
    bool bPatched;           // rewritten for the printer name
};

// The x86 set for operating-system code nOSCode (6 Windows 2000, 7 XP, any other the general
// set), with the Unidrv core in Chinese on a Chinese system.
std::vector<ExpectedDriverFile> ExpectedX86Set(int nOSCode, bool bChineseSystem, ExpectedVariant variant,
                                               const std::string& strPrinter = "Q73");
// The x64 set (no Unidrv core: the platform has its own).
std::vector<ExpectedDriverFile> ExpectedX64Set(ExpectedVariant variant, const std::string& strPrinter = "Q73");

// The outcome message in the system's ANSI bytes (GBK, Big5).
std::string ExpectedOutcomeText(ExpectedVariant variant, bool bSuccess);
// The name of the Nth copy of the model's printer, "Q73(Copy 1)" or its Chinese form.
std::string ExpectedCopyName(ExpectedVariant variant, int nCopy);
