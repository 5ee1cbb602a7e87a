#pragma once
#include <string>
#include <string_view>
#include <vector>

// Tells whether a byte starts a double-byte character of the code page the text is in.
using LeadBytePredicate = bool (*)(unsigned char);

// Lower-cases the single-byte letters A-Z and leaves double-byte characters whole:
// a trail byte can fall in the A-Z range and must not be changed.
std::string LowerAnsi(std::string_view text, LeadBytePredicate isLead);

// Position of needle in text, found only at character boundaries; npos when absent.
std::size_t FindAnsi(std::string_view text, std::string_view needle, LeadBytePredicate isLead);

// True when the command line (the part after the program name) asks a running copy
// to quit: "-exit" or "/exit" anywhere, in any letter case, even inside another word.
bool HasExitSwitch(std::string_view commandLine, LeadBytePredicate isLead);

// A title as a menu item's text: "&" doubled, so that it shows as itself instead of
// underlining the next letter. No trail byte of the code page is an "&".
std::string EscapeMenuAmpersands(std::string_view title);

// Paths are wide strings: a byte string in the system's code page cannot name every file.

// A process's command line without the program name that starts it, as the program's
// entry point is given it: the name ends at its closing quote, or at the first blank
// when unquoted, and the blanks after it go too.
std::wstring_view ArgumentsOfCommandLine(std::wstring_view commandLine);

// The program file's name without folder and extension, used as the application title.
std::wstring AppTitleFromPath(std::wstring_view modulePath);

// The folder part of a path up to and including its last backslash; empty without one.
std::wstring FolderOfPath(std::wstring_view path);
// The part of a path after its last backslash; the whole path without one.
std::wstring FileNameOfPath(std::wstring_view path);

// True when the path ends in the given lower-case ASCII suffix (".rtf"), in any letter
// case. Import and export treat a file as RTF exactly when its name ends in ".rtf".
bool EndsWithNoCase(std::wstring_view path, std::wstring_view lowerSuffix);

// The name an export is written to: with the RTF filter a name not ending in ".rtf"
// gets ".rtf" appended, with the text filter one not ending in ".txt" gets ".txt".
std::wstring ExportFileName(std::wstring_view typed, bool rtfFilter);

// The search text as the not-found message shows it: whole up to 32 bytes, else its
// first 32 bytes and " ...". A double-byte character cut in half is dropped whole.
std::string NotFoundShownText(std::string_view text, LeadBytePredicate isLead);

// Links in a note are opened through the shell, and a note's text may come from a file
// someone else wrote: only web and mail addresses are opened, never a file, a share or
// a program ("file:", "\\server\...", "C:\..."). Returns what the shell is handed, or
// an empty string for a link that is not opened. A "www." link goes as "http://www.":
// bare, the shell may take it for a file or a program in the current folder
// ("www.example.com" has the program extension ".com").
std::string LinkToOpen(std::string_view target);

// The most characters a title made from a text holds: about what a caption shows.
constexpr std::size_t kMostTitleChars = 40;
// A title for a text: its first line that holds more than blanks, without the blanks
// around it, cut to kMostTitleChars characters (a character outside the basic plane
// is never cut in two). Empty when every line is blank.
std::wstring TitleFromText(std::wstring_view text);
