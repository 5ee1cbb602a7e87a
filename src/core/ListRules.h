#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Check lists and bullets as characters at the start of a paragraph, so that every
// rich-text program keeps them: "☐ " an open item, "☑ " a done one, "• " a bullet.
// Where text leaves in a code page without them, they are written as "[ ] ", "[x] " and
// "- ", and "[ ] " and "[x] " are read back as boxes.

constexpr wchar_t kOpenBox = 0x2610;
constexpr wchar_t kDoneBox = 0x2611;
constexpr wchar_t kBullet = 0x2022;

enum class ListMark { None, Open, Done, Bullet };

// The mark a paragraph starts with: its character and a space.
ListMark MarkOf(std::wstring_view paragraph);
wchar_t MarkCharacter(ListMark mark);
// The mark's character and its space.
constexpr std::size_t kMarkLength = 2;

// What typing a space right after this start of a paragraph makes: "[]" and "[ ]" an
// open item, "-" and "*" a bullet; None for anything else.
ListMark MarkTypedAs(std::wstring_view paragraphBeforeSpace);

// Paragraphs end in "\r", "\n" or "\r\n".
std::wstring PlainFromMarks(std::wstring_view text);
std::wstring MarksFromPlain(std::wstring_view text);
