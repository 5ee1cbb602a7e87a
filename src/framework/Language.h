#pragma once
#include "../core/Language.h"

#include <windows.h>

#include <string>

namespace fw {

// The language the program's resources are taken in. Every dialog, menu and string is
// looked up here by language, not left to the system's own choice, because the thread's
// UI language is set differently, or not at all, from one Windows to the next.
void SetUiLanguage(UiLanguage language);
UiLanguage CurrentUiLanguage();
// The language for a choice on this machine: the user's UI language decides "System".
UiLanguage LanguageForChoice(LanguageChoice choice);

// A resource in the program's language, else in Chinese, which has every resource;
// null when neither has it.
const void* LocalResource(const wchar_t* type, UINT id);
// A dialog template, for the functions that take one whole.
const DLGTEMPLATE* LocalDialog(UINT id);
// A menu made from the template in the program's language; the caller owns it.
HMENU LoadLocalMenu(UINT id);
// A string-table entry in the given language, else in Chinese; empty when neither has it.
std::wstring LocalString(UINT id, UiLanguage language);

} // namespace fw
