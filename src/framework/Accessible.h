#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace fw {

// Gives a control without a label of its own the name a screen reader says for it. A
// control that shows no text of its own (a picture button) takes it as its window text;
// any other (a date picker, a list box) is named through the accessibility service, where
// the system has it.
void NameControls(const std::vector<std::pair<HWND, std::wstring>>& names);

} // namespace fw
