#pragma once
#include <string>
#include <string_view>

// Turns bytes of a code page into UTF-16. The program hands in the system's conversion;
// the core has no tables of its own.
using CodePageDecoder = std::u16string (*)(unsigned codePage, std::string_view bytes);

// The text an RTF document shows, as UTF-16, read without an editor: the find-notes
// list reads thousands of stored notes, and an editor takes milliseconds for each.
//
// Paragraphs, lines, pages and table rows end in CR LF, tabs and table cells are tabs.
// \uN characters are taken and their stand-ins skipped; \'hh bytes and other bytes
// above 127 are decoded in the code page of the current font's character set, else of
// \ansicpg. Groups that show nothing (font and colour tables, style sheets, pictures,
// objects, headers, footers, field instructions, \* destinations) are left out, and
// of a field only its result is taken. Damaged RTF gives whatever text it holds; it
// never reads past its end.
std::u16string RtfPlainText(std::string_view rtf, CodePageDecoder decode);

// The code page of an RTF font character set (\fcharsetN); 0 for the document's own
// (the default and symbol sets).
unsigned CodePageOfCharset(int charset);
