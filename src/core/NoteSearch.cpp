#include "NoteSearch.h"

namespace {

std::size_t CharLength(std::string_view text, std::size_t i, LeadBytePredicate isLead)
{
    return isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

char FoldLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether needle starts at text[at] character for character: a trail byte in the range
// of the letters is part of its character and is never folded or matched on its own.
bool StartsAt(std::string_view text, std::size_t at, std::string_view needle, LeadBytePredicate isLead)
{
    for (std::size_t j = 0; j < needle.size();) {
        if (at + j >= text.size())
            return false;
        const std::size_t length = CharLength(needle, j, isLead);
        if (CharLength(text, at + j, isLead) != length)
            return false;
        if (length == 1 ? FoldLetter(text[at + j]) != FoldLetter(needle[j])
                        : text.compare(at + j, 2, needle.substr(j, 2)) != 0)
            return false;
        j += length;
    }
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

std::string Trimmed(std::string_view line)
{
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    return std::string(line);
}

std::string LineAt(std::string_view text, std::size_t pos)
{
    std::size_t start = pos;
    while (start > 0 && !IsLineBreak(text[start - 1]))
        --start;
    std::size_t end = pos;
    while (end < text.size() && !IsLineBreak(text[end]))
        ++end;
    return Trimmed(text.substr(start, end - start));
}

std::string FirstFilledLine(std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        std::string line = LineAt(text, start);
        if (!line.empty())
            return line;
        while (start < text.size() && !IsLineBreak(text[start]))
            ++start;
        ++start;
    }
    return std::string();
}

} // namespace

std::size_t FindAnsiNoCase(std::string_view text, std::string_view needle, LeadBytePredicate isLead)
{
    if (needle.empty())
        return 0;
    const char first = FoldLetter(needle[0]);
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, isLead)) {
        if (FoldLetter(text[i]) == first && StartsAt(text, i, needle, isLead))
            return i;
    }
    return std::string_view::npos;
}

std::optional<std::string> MatchNote(std::string_view title, std::string_view text, std::string_view needle,
                                     LeadBytePredicate isLead)
{
    const std::size_t at = FindAnsiNoCase(text, needle, isLead);
    if (at != std::string_view::npos)
        return LineAt(text, at);
    if (FindAnsiNoCase(title, needle, isLead) != std::string_view::npos)
        return FirstFilledLine(text);
    return std::nullopt;
}
