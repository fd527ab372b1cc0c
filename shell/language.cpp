// The language files beside the program: finding one that declares the wanted language,
// and writing them out of the payload when none does.
#include "framework/file_finder.h"
#include "framework/profile.h"
#include "shell/language_choice.h"
#include "shell/setup.h"

namespace {

// The "Language" value a language file declares under [Setting]; empty when it has none.
std::string DeclaredLanguage(const std::string& strFile) {
    return ReadProfileString(strFile.c_str(), "Setting", "Language", "");
}

// True when some file matching "Language\*.dll" declares exactly strWanted (letter case
// included). The file system's enumeration order does not matter: any such file will do.
bool LanguageFolderDeclares(const std::string& strWanted) {
    CFileFinder finder;
    bool bFound = finder.FindFile((g_strAppDir + "Language\\*.dll").c_str());
    for (; bFound; bFound = finder.FindNextFile()) {
        if (finder.IsDots() || finder.IsDirectory()) continue;
        if (DeclaresLanguage(DeclaredLanguage(finder.GetFilePath()), strWanted)) return true;
    }
    return false;
}

}  // namespace

void CSetupApp::LoadLanguage(const std::string& strName) {
    std::string strWanted = strName;
    if (strWanted.empty()) {
        // Without a setting file there is nothing to read; the profile functions would
        // otherwise fall back to a file of the system's.
        strWanted = g_strSettingFile.empty()
                        ? std::string("English")
                        : ReadProfileString(g_strSettingFile.c_str(), "Setting", "Language", "English");
    }

    if (!LanguageFolderDeclares(strWanted)) {
        const std::string strLanguageFolder = g_strAppDir + "Language";
        ::CreateDirectoryA(strLanguageFolder.c_str(), nullptr);
        for (LanguageFile file : FallbackLanguageFiles(::GetSystemDefaultLangID())) {
            ExtractResource(LanguageFileResource(file),
                            (strLanguageFolder + LanguageFileName(file)).c_str(), FALSE);
        }
        g_strLanguageFile = strLanguageFolder + LanguageFileName(LanguageFile::English);
        strWanted = DeclaredLanguageName(LanguageFile::English);
    }

    // At start-up the setting file's path is not known yet: no record is made then.
    if (!g_strSettingFile.empty())
        WriteProfileString(g_strSettingFile.c_str(), "Setting", "Language", strWanted.c_str());
}
