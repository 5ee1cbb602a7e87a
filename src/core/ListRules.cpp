#include "ListRules.h"

#include <array>
#include <utility>

namespace {

bool IsParagraphEnd(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

// Replaces, at the start of every paragraph, the first of the pairs' left sides found.
template <std::size_t N>
std::wstring ReplaceAtParagraphStarts(std::wstring_view text,
                                      const std::array<std::pair<std::wstring_view, std::wstring_view>, N>& pairs)
{
    std::wstring out;
    out.reserve(text.size());
    bool start = true;
    std::size_t i = 0;
    while (i < text.size()) {
        if (start) {
            start = false;
            bool replaced = false;
            for (const auto& [from, to] : pairs) {
                if (text.substr(i, from.size()) == from) {
                    out += to;
                    i += from.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        out += text[i];
        start = IsParagraphEnd(text[i]);
        ++i;
    }
    return out;
}

} // namespace

ListMark MarkOf(std::wstring_view paragraph)
{
    if (paragraph.size() < kMarkLength || paragraph[1] != L' ')
        return ListMark::None;
    switch (paragraph[0]) {
    case kOpenBox: return ListMark::Open;
    case kDoneBox: return ListMark::Done;
    case kBullet: return ListMark::Bullet;
    default: return ListMark::None;
    }
}

wchar_t MarkCharacter(ListMark mark)
{
    switch (mark) {
    case ListMark::Open: return kOpenBox;
    case ListMark::Done: return kDoneBox;
    case ListMark::Bullet: return kBullet;
    default: return 0;
    }
}

ListMark MarkTypedAs(std::wstring_view paragraphBeforeSpace)
{
    if (paragraphBeforeSpace == L"[]" || paragraphBeforeSpace == L"[ ]")
        return ListMark::Open;
    if (paragraphBeforeSpace == L"-" || paragraphBeforeSpace == L"*")
        return ListMark::Bullet;
    return ListMark::None;
}

std::wstring PlainFromMarks(std::wstring_view text)
{
    static const std::array<std::pair<std::wstring_view, std::wstring_view>, 3> pairs = {
        {{L"\u2610 ", L"[ ] "}, {L"\u2611 ", L"[x] "}, {L"\u2022 ", L"- "}}};
    return ReplaceAtParagraphStarts(text, pairs);
}

std::wstring MarksFromPlain(std::wstring_view text)
{
    static const std::array<std::pair<std::wstring_view, std::wstring_view>, 3> pairs = {
        {{L"[ ] ", L"\u2610 "}, {L"[x] ", L"\u2611 "}, {L"[X] ", L"\u2611 "}}};
    return ReplaceAtParagraphStarts(text, pairs);
}
