// The operating-system classification and the driver set chosen from it, on version numbers,
// system language and chosen language from the fuzz bytes.
// Input (little-endian): GetVersion's result (4 bytes), a byte whose bit 0 says a version
// record was had, its major and minor version (4 bytes each), the system language id and the
// language page's choice (2 bytes each).
#include <set>

#include "fuzz_support.h"
#include "payload/os_version.h"
#include "payload/payload_sets.h"

namespace {

// The codes of the table in os_version.h, for a system that gave a version record.
int ExpectedCode(bool bNonNT, std::uint32_t dwLowByte, std::uint32_t dwMajor, std::uint32_t dwMinor) {
    if (bNonNT) {
        if (dwLowByte < 4) return 0;
        if (dwMajor == 4 && dwMinor == 10) return 2;
        if (dwMajor == 4 && dwMinor == 90) return 3;
        return 1;
    }
    if (dwMajor == 4) return 5;
    if (dwMajor == 5 && dwMinor <= 2) return 6 + static_cast<int>(dwMinor);
    if (dwMajor == 6 && dwMinor <= 1) return 9 + static_cast<int>(dwMinor);
    return 4;
}

void CheckPlan(int nCode, std::uint16_t wSystemLangId, std::uint16_t wLanguage) {
    const std::vector<StagedFile> plan = StagingPlan(nCode, wSystemLangId, wLanguage);
    FUZZ_CHECK(plan.size() == 11);
    std::set<unsigned> resources;
    for (const StagedFile& file : plan) {
        FUZZ_CHECK(file.file.pszName != nullptr && file.file.pszName[0] != '\0');
        FUZZ_CHECK(file.nResource >= 149 && file.nResource <= 254);
        // Only the GPD and the INI go through the printer-name patcher.
        const std::string_view name = file.file.pszName;
        FUZZ_CHECK(file.bPatched == (file.file.bPrinterNamed && (name == ".GPD" || name == ".INI")));
        resources.insert(file.nResource);
    }
    FUZZ_CHECK(resources.size() == plan.size());
    FUZZ_CHECK((ChoosePayloadSet(nCode) == PayloadSet::XP) == (nCode == 7));
    FUZZ_CHECK((ChoosePayloadSet(nCode) == PayloadSet::Windows2000) == (nCode == 6));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CFuzzInput input(pData, nSize);
    const std::uint32_t dwGetVersion = input.TakeU32();
    const bool bHasNumbers = (input.TakeU8() & 1) != 0;
    OSVersionNumbers numbers;
    numbers.dwMajor = input.TakeU32();
    numbers.dwMinor = input.TakeU32();
    const std::uint16_t wSystemLangId = input.TakeU16();
    const std::uint16_t wLanguage = input.TakeU16();

    const bool bNonNT = (dwGetVersion & 0x80000000u) != 0;
    const int nCode = ClassifyOSVersion(dwGetVersion, bHasNumbers ? &numbers : nullptr);
    FUZZ_CHECK(nCode >= 0 && nCode <= 10);
    FUZZ_CHECK(bNonNT ? nCode <= 3 : nCode >= 4);
    if (bHasNumbers) {
        FUZZ_CHECK(nCode == ExpectedCode(bNonNT, dwGetVersion & 0xFF, numbers.dwMajor, numbers.dwMinor));
    } else {
        // Without a record only the family is known.
        FUZZ_CHECK(nCode == (bNonNT ? ((dwGetVersion & 0xFF) < 4 ? 0 : 1) : 4));
    }
    CheckPlan(nCode, wSystemLangId, wLanguage);
    return 0;
}
