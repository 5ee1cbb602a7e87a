#pragma once
#include "TextRules.h"

#include <optional>
#include <string>
#include <string_view>

// Position of needle in text, found only at character boundaries, where a single-byte
// letter A-Z matches either case and every other character only itself; npos when
// absent. Nothing is copied: a search runs through every note's text at each key.
std::size_t FindAnsiNoCase(std::string_view text, std::string_view needle, LeadBytePredicate isLead);

// What the find-notes list shows beside the title of a note whose title or text holds
// needle: the line of the text where it is, or, when only the title holds it, the
// text's first line with something on it; blanks at either end are left out. Nothing
// for a note that does not hold it. Lines end at CR or LF, which no trail byte of code
// page 936 is.
std::optional<std::string> MatchNote(std::string_view title, std::string_view text, std::string_view needle,
                                     LeadBytePredicate isLead);
