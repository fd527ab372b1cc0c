#include "payload/text_variant.h"

TextVariant ChooseTextVariant(std::uint16_t wLanguage, std::uint16_t wSystemLangId) {
    if (wLanguage != 0) return TextVariant::English;
    return wSystemLangId == 0x0804 ? TextVariant::SimplifiedChinese : TextVariant::TraditionalChinese;
}

TextVariant SystemTextVariant(std::uint16_t wSystemLangId) {
    return ChooseTextVariant(IsChineseLanguage(wSystemLangId) ? 0 : 1, wSystemLangId);
}
