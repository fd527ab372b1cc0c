// The stale-INF scan on the text of an INF file from the Windows INF folder.
// Input: the INF text.
#include "fuzz_support.h"
#include "payload/patch_rules.h"
#include "payload/stale_inf.h"

namespace {

bool AnyPieceHolds(const std::vector<std::string_view>& pieces, std::string_view marker) {
    for (std::string_view piece : pieces) {
        if (Holds(piece, marker)) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    const std::vector<std::string_view> pieces = TextPieces(text, kMaxPatchLine);
    const bool bStale = IsStaleModelInf(text);

    // A match needs the model, the printer class and a manufacturer section or GPD reference.
    if (bStale) {
        FUZZ_CHECK(AnyPieceHolds(pieces, "Q73") && AnyPieceHolds(pieces, "Class=Printer"));
        FUZZ_CHECK(AnyPieceHolds(pieces, "[Manufacturer]") || AnyPieceHolds(pieces, ".GPD"));
    }
    // One line decides alone.
    if (pieces.size() == 1) {
        const std::string_view line = pieces[0];
        FUZZ_CHECK(bStale == (Holds(line, "Class=Printer") && Holds(line, "Q73") &&
                              (Holds(line, "[Manufacturer]") || Holds(line, ".GPD"))));
    }
    // After the class and the section have been seen, any line with the model decides.
    const std::string strAfterHeader = "[Version]\r\nClass=Printer\r\n[Manufacturer]\r\n" + std::string(text);
    FUZZ_CHECK(IsStaleModelInf(strAfterHeader) == AnyPieceHolds(pieces, "Q73"));
    // What follows a match changes nothing; the line scanner agrees and stays matched.
    if (bStale) FUZZ_CHECK(IsStaleModelInf(std::string(text) + "\r\n[Strings]\r\nQ73=\"x\"\r\n"));
    CStaleInfScan scan;
    bool bMatched = false;
    for (std::string_view piece : pieces) {
        const bool bNow = scan.ScanLine(piece);
        FUZZ_CHECK(bNow == scan.IsModelMatch() && (!bMatched || bNow));
        bMatched = bNow;
    }
    FUZZ_CHECK(bMatched == bStale);
    return 0;
}
