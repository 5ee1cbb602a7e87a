#include "Language.h"

#include "Strings.h"

namespace fw {

namespace {

UiLanguage g_language = UiLanguage::Chinese;

// The program is built without UNICODE, so the system's RT_ names are narrow.
const wchar_t* const kDialogType = MAKEINTRESOURCEW(5);
const wchar_t* const kMenuType = MAKEINTRESOURCEW(4);
const wchar_t* const kStringType = MAKEINTRESOURCEW(6);

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

WORD LangIdOf(UiLanguage language)
{
    return language == UiLanguage::English ? kEnglish : kChinese;
}

const void* ResourceIn(const wchar_t* type, const wchar_t* name, WORD language, DWORD* size)
{
    HMODULE module = ResourceInstance();
    HRSRC found = ::FindResourceExW(module, type, name, language);
    if (found == nullptr)
        return nullptr;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (loaded == nullptr)
        return nullptr;
    if (size != nullptr)
        *size = ::SizeofResource(module, found);
    return ::LockResource(loaded);
}

const void* ResourceInEither(const wchar_t* type, const wchar_t* name, UiLanguage language, DWORD* size)
{
    if (language != UiLanguage::Chinese) {
        if (const void* data = ResourceIn(type, name, LangIdOf(language), size))
            return data;
    }
    return ResourceIn(type, name, kChinese, size);
}

// One entry of a block of sixteen: each is its length in characters, then the
// characters, with no terminator; an absent entry is a length of zero.
bool StringOfBlock(const void* block, DWORD size, UINT id, std::wstring& text)
{
    const WCHAR* at = static_cast<const WCHAR*>(block);
    const WCHAR* end = at + size / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16; ++i) {
        if (at >= end)
            return false;
        at += 1 + *at;
    }
    if (at >= end || *at == 0 || at + 1 + *at > end)
        return false;
    text.assign(at + 1, *at);
    return true;
}

} // namespace

void SetUiLanguage(UiLanguage language)
{
    g_language = language;
}

UiLanguage CurrentUiLanguage()
{
    return g_language;
}

UiLanguage LanguageForChoice(LanguageChoice choice)
{
    return ChooseLanguage(choice, ::GetUserDefaultUILanguage());
}

const void* LocalResource(const wchar_t* type, UINT id)
{
    return ResourceInEither(type, MAKEINTRESOURCEW(id), g_language, nullptr);
}

const DLGTEMPLATE* LocalDialog(UINT id)
{
    return static_cast<const DLGTEMPLATE*>(LocalResource(kDialogType, id));
}

HMENU LoadLocalMenu(UINT id)
{
    const void* menu = LocalResource(kMenuType, id);
    return menu != nullptr ? ::LoadMenuIndirectW(menu) : nullptr;
}

std::wstring LocalString(UINT id, UiLanguage language)
{
    const wchar_t* block = MAKEINTRESOURCEW(id / 16 + 1);
    std::wstring text;
    DWORD size = 0;
    if (language != UiLanguage::Chinese) {
        const void* data = ResourceIn(kStringType, block, LangIdOf(language), &size);
        if (data != nullptr && StringOfBlock(data, size, id, text))
            return text;
    }
    const void* data = ResourceIn(kStringType, block, kChinese, &size);
    if (data != nullptr)
        StringOfBlock(data, size, id, text);
    return text;
}

} // namespace fw
