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

std::string AppTitleFromPath(std::string_view modulePath)
{
    const std::size_t slash = modulePath.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::string(name);
}

std::string FolderOfPath(std::string_view path)
{
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string_view::npos)
        return std::string();
    return std::string(path.substr(0, slash + 1));
}

bool EndsWithNoCase(std::string_view path, std::string_view lowerSuffix, LeadBytePredicate isLead)
{
    const std::string lower = LowerAnsi(path, isLead);
    return lower.size() >= lowerSuffix.size() &&
           lower.compare(lower.size() - lowerSuffix.size(), lowerSuffix.size(), lowerSuffix) == 0;
}

std::string ExportFileName(std::string_view typed, bool rtfFilter, LeadBytePredicate isLead)
{
    const char* extension = rtfFilter ? ".rtf" : ".txt";
    std::string name(typed);
    if (!EndsWithNoCase(name, extension, isLead))
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

int FindNameIndex(const std::vector<std::string>& names, std::string_view text, LeadBytePredicate isLead)
{
    const std::string wanted = LowerAnsi(text, isLead);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (LowerAnsi(names[i], isLead) == wanted)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool IsOpenableLink(std::string_view target)
{
    std::string lower;
    for (char c : target)
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    for (const char* prefix : {"http://", "https://", "ftp://", "mailto:", "www."}) {
        const std::string_view p(prefix);
        if (lower.size() > p.size() && lower.compare(0, p.size(), p) == 0)
            return true;
    }
    return false;
}
