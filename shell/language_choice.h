// Which language file the start-up uses and which files it writes when none declares the
// wanted language, chosen by the system default language identifier. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "payload/text_variant.h"

enum class LanguageFile { English, SimplifiedChinese, TraditionalChinese };

// Simplified Chinese for 0x0804, Traditional Chinese for every other Chinese identifier,
// English for the rest.
LanguageFile StartupLanguageFile(std::uint16_t wLangId);

// The language name a file declares: "English" or "Chinese".
const char* DeclaredLanguageName(LanguageFile file);

// Whether a language file's "Language" value declares the wanted language: the exact bytes,
// letter case included; an empty value declares nothing.
bool DeclaresLanguage(std::string_view declared, std::string_view wanted);

// The file's name inside the language folder, with its leading backslash ("\Multi_eng.dll").
const char* LanguageFileName(LanguageFile file);

// The payload resource holding the file: 147, 146 or 248.
unsigned LanguageFileResource(LanguageFile file);

// The two files written, in this order, when no file declares the wanted language: English,
// then Traditional Chinese on a Chinese system other than 0x0804, else Simplified Chinese.
std::array<LanguageFile, 2> FallbackLanguageFiles(std::uint16_t wLangId);
