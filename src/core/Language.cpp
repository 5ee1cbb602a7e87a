#include "Language.h"

namespace {

constexpr unsigned kPrimaryChinese = 0x04;
constexpr std::string_view kNames[] = {"system", "zh", "en"};

} // namespace

UiLanguage ChooseLanguage(LanguageChoice choice, unsigned userUiLanguage)
{
    if (choice == LanguageChoice::Chinese)
        return UiLanguage::Chinese;
    if (choice == LanguageChoice::English)
        return UiLanguage::English;
    // The primary language is the low ten bits; zh-CN, zh-TW, zh-HK, zh-SG and zh-MO
    // differ only in the sublanguage above them.
    return (userUiLanguage & 0x3FF) == kPrimaryChinese ? UiLanguage::Chinese : UiLanguage::English;
}

std::string_view LanguageChoiceName(LanguageChoice choice)
{
    return kNames[static_cast<int>(choice)];
}

bool ReadLanguageChoice(std::string_view name, LanguageChoice& choice)
{
    for (int i = 0; i < 3; ++i) {
        if (name == kNames[i]) {
            choice = static_cast<LanguageChoice>(i);
            return true;
        }
    }
    return false;
}
