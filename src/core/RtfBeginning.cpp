#include "RtfBeginning.h"

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string RtfBeginning(std::string_view rtf, std::size_t bytes)
{
    if (rtf.substr(0, 5) != "{\\rtf")
        return std::string();
    const std::size_t end = rtf.size();
    std::size_t cut = 0;
    int depth = 0;
    std::size_t at = 0;
    while (at < end && at < bytes) {
        const char c = rtf[at++];
        if (c == '{') {
            ++depth;
            continue;
        }
        if (c == '}') {
            if (--depth <= 0)
                break;
            continue;
        }
        if (c != '\\' || at >= end)
            continue;
        if (!IsLetter(rtf[at])) {
            // A control symbol: \'hh takes two more bytes, the others none.
            at += rtf[at] == '\'' ? 3 : 1;
            continue;
        }
        const std::size_t wordAt = at;
        while (at < end && IsLetter(rtf[at]))
            ++at;
        const std::string_view word = rtf.substr(wordAt, at - wordAt);
        if (at < end && rtf[at] == '-')
            ++at;
        unsigned long long value = 0;
        bool hasValue = false;
        for (int digits = 0; at < end && IsDigit(rtf[at]); ++at) {
            if (++digits <= 10)
                value = value * 10 + static_cast<unsigned>(rtf[at] - '0');
            hasValue = true;
        }
        if (at < end && rtf[at] == ' ')
            ++at;
        if (word == "bin" && hasValue) {
            at = value < end - at ? at + static_cast<std::size_t>(value) : end;
            continue;
        }
        if (word == "par" && depth == 1 && at <= bytes)
            cut = at;
    }
    if (cut == 0)
        return std::string();
    std::string beginning(rtf.substr(0, cut));
    beginning += '}';
    return beginning;
}
