// The language choices on a system language id, the language page's choice and the values
// of a language file's and the setting file's "Language" entries.
// Input: the system language id and the page's choice (2 bytes each, little-endian), then
// the declared value, LF, and the wanted value.
#include <cstring>

#include "fuzz_support.h"
#include "shell/language_choice.h"

namespace {

void CheckFile(LanguageFile file) {
    const std::string_view name = LanguageFileName(file);
    FUZZ_CHECK(name.size() > 5 && name[0] == '\\' && name.substr(name.size() - 4) == ".dll");
    const unsigned nResource = LanguageFileResource(file);
    FUZZ_CHECK(nResource == (file == LanguageFile::English ? 147u
                             : file == LanguageFile::SimplifiedChinese ? 146u : 248u));
    FUZZ_CHECK(std::strcmp(DeclaredLanguageName(file), file == LanguageFile::English ? "English" : "Chinese") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CFuzzInput input(pData, nSize);
    const std::uint16_t wLangId = input.TakeU16();
    const std::uint16_t wLanguage = input.TakeU16();
    const std::string_view declared = input.TakeLine();
    const std::string_view wanted = input.Rest();

    const bool bChinese = (wLangId & 0xFF) == 0x04;
    FUZZ_CHECK(IsChineseLanguage(wLangId) == bChinese);
    const LanguageFile startup = StartupLanguageFile(wLangId);
    FUZZ_CHECK(startup == (!bChinese ? LanguageFile::English
                           : wLangId == 0x0804 ? LanguageFile::SimplifiedChinese : LanguageFile::TraditionalChinese));
    CheckFile(startup);

    // English first, then the Chinese file the system reads best.
    const auto fallback = FallbackLanguageFiles(wLangId);
    FUZZ_CHECK(fallback[0] == LanguageFile::English && fallback[1] != LanguageFile::English);
    if (bChinese) FUZZ_CHECK(fallback[1] == startup);
    CheckFile(fallback[1]);

    const TextVariant variant = ChooseTextVariant(wLanguage, wLangId);
    if (wLanguage != 0) {
        FUZZ_CHECK(variant == TextVariant::English);
    } else {
        FUZZ_CHECK(variant == (wLangId == 0x0804 ? TextVariant::SimplifiedChinese : TextVariant::TraditionalChinese));
    }

    // A declaration counts by its exact bytes only.
    const bool bDeclares = DeclaresLanguage(declared, wanted);
    FUZZ_CHECK(bDeclares == (!declared.empty() && declared == wanted));
    FUZZ_CHECK(DeclaresLanguage(declared, declared) == !declared.empty());
    for (LanguageFile file : {LanguageFile::English, LanguageFile::SimplifiedChinese}) {
        if (DeclaresLanguage(declared, DeclaredLanguageName(file)))
            FUZZ_CHECK(declared == DeclaredLanguageName(file));
    }
    return 0;
}
