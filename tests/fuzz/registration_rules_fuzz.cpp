// The registration's decisions on the printers listed before and after the print-UI ran, and
// the copy names they lead to.
// Input: the text variant (1 byte, taken modulo 3), a copy count (4 bytes, little-endian,
// signed), then one printer name a line: "-name" listed before only, "+name" after only, any
// other line listed both before and after.
#include <algorithm>
#include <string>

#include "command_line.h"
#include "fuzz_support.h"
#include "payload/printer_name.h"
#include "install/registration_rules.h"
#include "payload/printer_search.h"

namespace {

bool Lists(const std::vector<std::string>& names, const std::string& strName) {
    return std::find(names.begin(), names.end(), strName) != names.end();
}

void CheckCopyName(TextVariant variant, int nCount) {
    const std::string strName = NewPrinterName(variant, nCount);
    if (nCount <= 0) {
        FUZZ_CHECK(strName == kModelName);
        return;
    }
    const std::string strCount = std::to_string(nCount);
    FUZZ_CHECK(strName.compare(0, 4, "Q73(") == 0 && strName.back() == ')');
    FUZZ_CHECK(strName.size() > strCount.size() + 1 &&
               strName.compare(strName.size() - strCount.size() - 1, strCount.size(), strCount) == 0);
    // The copy name reaches the print-UI whole, quoted on its command line.
    const ParseResult parsed = ParsePrintUiCommandLine("/y /n \"" + strName + "\"");
    FUZZ_CHECK(parsed.outcome == ParseOutcome::kOk && parsed.command.strName == strName);
    FUZZ_CHECK(IsUsablePrinterName(strName, LongestFixedPartAroundPrinterName(0)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CFuzzInput input(pData, nSize);
    const TextVariant variant = static_cast<TextVariant>(input.TakeU8() % 3);
    const int nCount = static_cast<int>(input.TakeU32());
    std::vector<std::string> before, after;
    while (!input.Empty()) {
        const std::string_view line = input.TakeLine();
        if (!line.empty() && line[0] == '-') {
            before.emplace_back(line.substr(1));
        } else if (!line.empty() && line[0] == '+') {
            after.emplace_back(line.substr(1));
        } else {
            before.emplace_back(line);
            after.emplace_back(line);
        }
    }

    CheckCopyName(variant, nCount);
    for (bool bSuccess : {false, true}) {
        const char* pszMessage = OutcomeMessage(variant, bSuccess);
        FUZZ_CHECK(pszMessage != nullptr && pszMessage[0] != '\0');
    }

    // The registration as the install runs it.
    const int nBefore = CountPrintersContaining(before, kModelName);
    const int nAfter = CountPrintersContaining(after, kModelName);
    FUZZ_CHECK(nBefore >= 0 && static_cast<std::size_t>(nBefore) <= before.size());
    const std::string strFirst = FirstPrinterContaining(before, kModelName);
    FUZZ_CHECK((nBefore == 0) == strFirst.empty());
    if (nBefore > 0) {
        FUZZ_CHECK(Holds(strFirst, kModelName));
        const auto firstModel = std::find_if(before.begin(), before.end(),
                                             [](const std::string& s) { return Holds(s, kModelName); });
        FUZZ_CHECK(*firstModel == strFirst);
    }
    FUZZ_CHECK(IsRegistrationSuccess(nBefore, nAfter) == (nAfter > nBefore));
    const std::string strNewName = NewPrinterName(variant, nBefore);
    CheckCopyName(variant, nBefore);

    const std::string strAdded = AddedPrinter(strNewName, before, after);
    if (Lists(after, strNewName)) {
        FUZZ_CHECK(strAdded == strNewName);
    } else if (strAdded.empty()) {
        for (const std::string& strName : after) FUZZ_CHECK(!Holds(strName, kModelName) || Lists(before, strName));
    } else {
        FUZZ_CHECK(Lists(after, strAdded) && !Lists(before, strAdded) && Holds(strAdded, kModelName));
    }
    return 0;
}
