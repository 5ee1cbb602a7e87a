#include "Naming.h"

#include <cstdio>

namespace {

template <typename String, typename IsTaken>
String NumberedCandidate(const String& stem, const String& ext, const IsTaken& isTaken)
{
    for (int n = 1;; ++n) {
        const std::string number = " (" + std::to_string(n) + ")";
        String candidate = stem + String(number.begin(), number.end()) + ext;
        if (!isTaken(candidate))
            return candidate;
    }
}

// "name (12)" -> "name"; anything else stays as it is.
std::wstring_view WithoutNumber(std::wstring_view stem)
{
    if (stem.size() < 4 || stem.back() != L')')
        return stem;
    const std::size_t open = stem.rfind(L" (");
    if (open == std::wstring_view::npos || open + 3 >= stem.size())
        return stem;
    for (std::size_t i = open + 2; i + 1 < stem.size(); ++i) {
        if (stem[i] < L'0' || stem[i] > L'9')
            return stem;
    }
    return stem.substr(0, open);
}

} // namespace

std::string NoteFileStem(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof(text), "N%02d%02d%02d", ((year % 100) + 100) % 100, month % 100, day % 100);
    return text;
}

std::string NextFileCandidate(const std::string& stem, const std::function<bool(const std::string&)>& isTaken)
{
    return NumberedCandidate(stem, std::string(), isTaken);
}

std::wstring FreeFileName(std::wstring_view name, const std::function<bool(const std::wstring&)>& isTaken)
{
    std::wstring own(name);
    if (!isTaken(own))
        return own;
    const std::size_t dot = name.rfind(L'.');
    const std::wstring_view stem = dot == std::wstring_view::npos ? name : name.substr(0, dot);
    const std::wstring_view ext = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
    return NumberedCandidate(std::wstring(WithoutNumber(stem)), std::wstring(ext), isTaken);
}

std::string NextTitleCandidate(const std::string& base, int& counter,
                               const std::function<bool(const std::string&)>& isTaken)
{
    for (;;) {
        std::string candidate = base + " " + std::to_string(counter);
        ++counter;
        if (!isTaken(candidate))
            return candidate;
    }
}

std::wstring FileNameFromTitle(std::wstring_view title, std::wstring_view fallback)
{
    std::wstring name;
    for (wchar_t c : title)
        name += (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) ? L'_' : c;
    while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
        name.pop_back();
    if (name.empty())
        name = fallback;
    // The device names count with any extension and in any letter case.
    std::wstring base = name.substr(0, name.find(L'.'));
    for (wchar_t& c : base)
        c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"}) {
        if (base == device)
            return L"_" + name;
    }
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) && base[3] >= L'1' &&
        base[3] <= L'9')
        return L"_" + name;
    return name;
}
