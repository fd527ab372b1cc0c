// The language of the texts an installation shows and of the plug-in libraries it stages.
// Portable.
#pragma once

#include <cstdint>

// Chinese of any region: the primary language (low 8 bits) is 4.
constexpr bool IsChineseLanguage(std::uint16_t wLangId) { return (wLangId & 0xFF) == 0x04; }

// English when English was chosen on the language page (any wLanguage but 0); for Chinese,
// Simplified on a 0x0804 system and Traditional on every other.
enum class TextVariant { English, SimplifiedChinese, TraditionalChinese };
TextVariant ChooseTextVariant(std::uint16_t wLanguage, std::uint16_t wSystemLangId);

// For texts shown before or without the language page: Chinese on Chinese systems (the rule
// above), English elsewhere.
TextVariant SystemTextVariant(std::uint16_t wSystemLangId);
