#include "Naming.h"

#include <cstdio>

std::string NoteFileStem(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof(text), "N%02d%02d%02d", ((year % 100) + 100) % 100, month % 100, day % 100);
    return text;
}

std::string NextFileCandidate(const std::string& stem, const std::function<bool(const std::string&)>& isTaken)
{
    for (int n = 1;; ++n) {
        std::string candidate = stem + " (" + std::to_string(n) + ")";
        if (!isTaken(candidate))
            return candidate;
    }
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
