#include "TextRules.h"

namespace {

// Length in bytes of the character that starts at text[i].
std::size_t CharLength(std::string_view text, std::size_t i, LeadBytePredicate isLead)
{
    if (isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
        return 2;
    return 1;
}

} // namespace

std::string LowerAnsi(std::string_view text, LeadBytePredicate isLead)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t len = CharLength(out, i, isLead);
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z')
            out[i] = static_cast<char>(out[i] - 'A' + 'a');
        i += len;
    }
    return out;
}

std::size_t FindAnsi(std::string_view text, std::string_view needle, LeadBytePredicate isLead)
{
    if (needle.empty())
        return 0;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, isLead)) {
        if (text.compare(i, needle.size(), needle) == 0)
            return i;
    }
    return std::string_view::npos;
}

bool HasExitSwitch(std::string_view commandLine, LeadBytePredicate isLead)
{
    const std::string lower = LowerAnsi(commandLine, isLead);
    return FindAnsi(lower, "-exit", isLead) != std::string_view::npos ||
           FindAnsi(lower, "/exit", isLead) != std::string_view::npos;
}

std::string EscapeMenuAmpersands(std::string_view title)
{
    std::string text;
    for (char c : title) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}

std::wstring_view ArgumentsOfCommandLine(std::wstring_view commandLine)
{
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        while (at < commandLine.size() && commandLine[at] != L' ' && commandLine[at] != L'\t')
            ++at;
    }
    while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t'))
        ++at;
    return commandLine.substr(at);
}

std::wstring AppTitleFromPath(std::wstring_view modulePath)
{
    const std::size_t slash = modulePath.find_last_of(L"\\/");
    std::wstring_view name = slash == std::wstring_view::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::wstring(name);
}

std::wstring FolderOfPath(std::wstring_view path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring_view::npos)
        return std::wstring();
    return std::wstring(path.substr(0, slash + 1));
}

std::wstring FileNameOfPath(std::wstring_view path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

bool EndsWithNoCase(std::wstring_view path, std::wstring_view lowerSuffix)
{
    if (path.size() < lowerSuffix.size())
        return false;
    const std::wstring_view tail = path.substr(path.size() - lowerSuffix.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const wchar_t c = tail[i] >= L'A' && tail[i] <= L'Z' ? static_cast<wchar_t>(tail[i] - L'A' + L'a') : tail[i];
        if (c != lowerSuffix[i])
            return false;
    }
    return true;
}

std::wstring ExportFileName(std::wstring_view typed, bool rtfFilter)
{
    const wchar_t* extension = rtfFilter ? L".rtf" : L".txt";
    std::wstring name(typed);
    if (!EndsWithNoCase(name, extension))
        name += extension;
    return name;
}

std::string NotFoundShownText(std::string_view text, LeadBytePredicate isLead)
{
    constexpr std::size_t kShown = 32;
    if (text.size() <= kShown)
        return std::string(text);
    std::size_t end = 0;
    while (end < kShown) {
        const std::size_t length = CharLength(text, end, isLead);
        if (end + length > kShown)
            break;
        end += length;
    }
    return std::string(text.substr(0, end)) + " ...";
}

std::string LinkToOpen(std::string_view target)
{
    std::string lower;
    for (char c : target)
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    for (const char* prefix : {"http://", "https://", "ftp://", "mailto:", "www."}) {
        const std::string_view p(prefix);
        if (lower.size() <= p.size() || lower.compare(0, p.size(), p) != 0)
            continue;
        if (p == "www.")
            return "http://" + std::string(target);
        return std::string(target);
    }
    return std::string();
}

std::wstring TitleFromText(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000 || c == 0xA0; };
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(L"\r\n\v");
        std::wstring_view line = text.substr(0, end);
        text.remove_prefix(end == std::wstring_view::npos ? text.size() : end + 1);
        while (!line.empty() && blank(line.front()))
            line.remove_prefix(1);
        while (!line.empty() && blank(line.back()))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        std::size_t cut = 0;
        for (std::size_t chars = 0; cut < line.size() && chars < kMostTitleChars; ++chars) {
            const bool pair = line[cut] >= 0xD800 && line[cut] <= 0xDBFF && cut + 1 < line.size();
            cut += pair ? 2 : 1;
        }
        return std::wstring(line.substr(0, cut));
    }
    return std::wstring();
}
