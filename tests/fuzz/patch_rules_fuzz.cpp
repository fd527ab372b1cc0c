// The line patcher on a printer name and a GPD or INI text from the fuzz bytes.
// Input: the printer name, LF, then the text.
#include "fuzz_support.h"
#include "payload/patch_rules.h"
#include "payload/printer_name.h"

namespace {

void CheckRules(std::string_view name, const PatchRule (&rules)[kPatchRuleCount]) {
    for (const PatchRule& rule : rules) {
        const std::string_view replacement = rule.strReplacement;
        FUZZ_CHECK(replacement.size() <= kMaxPatchLine);
        FUZZ_CHECK(replacement.substr(0, rule.strMatch.size()) == std::string_view(rule.strMatch));
        FUZZ_CHECK(Holds(replacement, name));
    }
}

// The first rule whose match text occurs in the line, and none before it.
void CheckMatch(std::string_view line, const PatchRule* pRules, const PatchRule* pFound) {
    const PatchRule* pEnd = pFound ? pFound : pRules + kPatchRuleCount;
    for (const PatchRule* pRule = pRules; pRule != pEnd; ++pRule) FUZZ_CHECK(!Holds(line, pRule->strMatch));
    if (pFound) FUZZ_CHECK(Holds(line, pFound->strMatch));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CFuzzInput input(pData, nSize);
    const std::string_view name = input.TakeLine();
    const std::string_view text = input.Rest();

    PatchRule rules[kPatchRuleCount];
    const bool bMade = MakePatchRules(name, rules);
    // The replacements are formatted with %s: a NUL ends the name there.
    const bool bNulFree = !Holds(name, std::string_view("\0", 1));
    // "*ResourceDLL: \"" + name + "RES.DLL\"" is the longest replacement.
    if (bNulFree) FUZZ_CHECK(bMade == (name.size() + 23 <= kMaxPatchLine));
    // A name the start-up accepts always gives usable rules.
    if (IsUsablePrinterName(name, LongestFixedPartAroundPrinterName(0))) FUZZ_CHECK(bMade);
    if (bMade && bNulFree) CheckRules(name, rules);
    // Unusable rules are never used: the install patches with the default name then.
    if (!bMade) FUZZ_CHECK(MakePatchRules(kDefaultPrinterName, rules));

    const std::string strPatched = PatchText(text, rules, kPatchRuleCount);
    const std::vector<std::string_view> pieces = TextPieces(text, kMaxPatchLine);
    const std::vector<std::string_view> written = WrittenLines(strPatched);
    FUZZ_CHECK(written.size() == pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const PatchRule* pRule = FindMatchingRule(pieces[i], rules, kPatchRuleCount);
        CheckMatch(pieces[i], rules, pRule);
        FUZZ_CHECK(written[i] == (pRule ? std::string_view(pRule->strReplacement) : pieces[i]));
        FUZZ_CHECK(written[i].size() <= kMaxPatchLine);
    }
    return 0;
}
