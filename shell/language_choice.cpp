#include "shell/language_choice.h"

#include "payload/payload_ids.h"

namespace {

struct LanguageFileInfo {
    const char* pszDeclaredName;
    const char* pszFileName;
    unsigned nResource;
};

constexpr LanguageFileInfo kFiles[] = {
    {"English", "\\Multi_eng.dll", payload_ids::kLanguageFileEnglish},
    {"Chinese", "\\Multi_ch.dll", payload_ids::kLanguageFileSimplifiedChinese},
    {"Chinese", "\\Multi_ch_BIG5.dll", payload_ids::kLanguageFileTraditionalChinese},
};

const LanguageFileInfo& Info(LanguageFile file) { return kFiles[static_cast<int>(file)]; }

}  // namespace

LanguageFile StartupLanguageFile(std::uint16_t wLangId) {
    if (!IsChineseLanguage(wLangId)) return LanguageFile::English;
    return wLangId == 0x0804 ? LanguageFile::SimplifiedChinese : LanguageFile::TraditionalChinese;
}

const char* DeclaredLanguageName(LanguageFile file) { return Info(file).pszDeclaredName; }
bool DeclaresLanguage(std::string_view declared, std::string_view wanted) {
    return !declared.empty() && declared == wanted;
}

const char* LanguageFileName(LanguageFile file) { return Info(file).pszFileName; }
unsigned LanguageFileResource(LanguageFile file) { return Info(file).nResource; }

std::array<LanguageFile, 2> FallbackLanguageFiles(std::uint16_t wLangId) {
    const bool bTraditional = StartupLanguageFile(wLangId) == LanguageFile::TraditionalChinese;
    return {LanguageFile::English,
            bTraditional ? LanguageFile::TraditionalChinese : LanguageFile::SimplifiedChinese};
}
