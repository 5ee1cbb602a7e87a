#pragma once
#include <string_view>

// The language of the program's menus, dialogs and messages. The names it writes (the
// notes folder, its subfolders, the side file, new notes' titles) are Chinese in both.
enum class UiLanguage { Chinese, English };

// What the user chose in the tray menu: the system's language, or one of the two.
enum class LanguageChoice { System = 0, Chinese = 1, English = 2 };

// The language shown for a choice, given the user's UI language as the system numbers
// it (a LANGID): every Chinese, whatever its region or script, reads the Chinese texts;
// every other language reads the English ones.
UiLanguage ChooseLanguage(LanguageChoice choice, unsigned userUiLanguage);

// The choice as the side file writes it, and back; an unknown word is no choice at all.
std::string_view LanguageChoiceName(LanguageChoice choice);
bool ReadLanguageChoice(std::string_view name, LanguageChoice& choice);
