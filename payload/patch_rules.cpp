#include "payload/patch_rules.h"

namespace {

struct RuleForm {
    const char* pszMatch;
    const char* pszReplacementFormat;  // one %s: the printer name
};

constexpr RuleForm kRuleForms[kPatchRuleCount] = {
    {"OEMDriverFile1=", "OEMDriverFile1=%sD.DLL"},
    {"OEMConfigFile1=", "OEMConfigFile1=%sF.DLL"},
    {"*GPDFileName:", "*GPDFileName: \"%s.GPD\""},
    {"*ModelName:", "*ModelName: \"%s\""},
    {"*ResourceDLL:", "*ResourceDLL: \"%sRES.DLL\""},
};

}  // namespace

bool MakePatchRules(std::string_view printerName, PatchRule (&rules)[kPatchRuleCount]) {
    const std::string strName(printerName);  // NUL-terminated for %s
    for (int i = 0; i < kPatchRuleCount; ++i) {
        if (!rules[i].strMatch.assign(kRuleForms[i].pszMatch) ||
            !rules[i].strReplacement.format(kRuleForms[i].pszReplacementFormat, strName.c_str()))
            return false;
    }
    return true;
}

const PatchRule* FindMatchingRule(std::string_view line, const PatchRule* pRules, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        if (line.find(std::string_view(pRules[i].strMatch)) != std::string_view::npos)
            return &pRules[i];
    }
    return nullptr;
}

std::string PatchText(std::string_view source, const PatchRule* pRules, int nCount) {
    std::string strResult;
    strResult.reserve(source.size() + source.size() / 16);
    ForEachTextLine(source, kMaxPatchLine, [&](std::string_view line) {
        const PatchRule* pRule = FindMatchingRule(line, pRules, nCount);
        strResult.append(pRule ? std::string_view(pRule->strReplacement) : line);
        strResult.push_back('\n');
    });
    return strResult;
}
