#pragma once
#include <windows.h>
#include <string>
#include <string_view>

namespace fw {

// The module whose resources the program uses (the program file itself).
HINSTANCE ResourceInstance();

// A string-table entry; empty when the table has none with that id.
std::string LoadResString(UINT id);
// The same entry as the table holds it, for file names.
std::wstring LoadResStringW(UINT id);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...);

// The program's text is held as bytes of this code page, whatever the system's ANSI
// code page is: the note files were always written in it, and the byte rules (the
// not-found cut, the menu-text and face-name limits) count its bytes.
constexpr UINT kTextCodePage = 936;

// The character set asked of the fonts that show the program's texts. A Chinese Windows
// links Chinese glyphs into any font, as before; elsewhere the font mapper is asked for
// a face that has them.
BYTE TextCharSet();

// True when the byte starts a double-byte character of the program's code page.
bool IsTextLeadByte(unsigned char byte);

// Text between bytes of a code page and the wide functions. The system's functions
// count in int: a text longer than that is refused (empty), never cut to a wrapped
// length. Empty too for a code page the system does not have.
std::wstring WideFromBytes(UINT codePage, std::string_view bytes);
std::string BytesFromWide(UINT codePage, const wchar_t* text, std::size_t length);

// The same for the program's own code page. Characters it cannot hold become '?'.
// Text in the program's code page, in which a GB18030 four-byte sequence stands for a
// character the code page lacks (a two-byte code never has a digit as its second byte).
std::wstring WideFromText(std::string_view text);
// The code page's bytes for every character it has, as TextFromWide gives them, and a
// four-byte sequence for every other: for text that must keep any script, such as titles.
std::string TextFromWideKeepingAll(const std::wstring& text);
// A text file's bytes as characters, in whichever encoding they turn out to be in.
std::wstring WideFromFileText(std::string_view bytes);
std::string TextFromWide(const std::wstring& text);
std::string TextFromWide(const wchar_t* text, std::size_t length);

// A window's text, whole.
std::wstring WindowText(HWND hwnd);

// Full path of the program file, however long and whatever characters it holds.
std::wstring ModulePath();

} // namespace fw
