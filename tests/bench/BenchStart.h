#pragma once
#include <vector>

// Each step the program takes before its message loop answers, timed through the same
// library code by pinvel_start_steps.exe in fresh processes, with the notes folder of
// each count.
void RunStartSteps(const std::vector<int>& counts);

// Where pinvel_start_steps.exe writes its figures, in the folder it is started in: one
// "key milliseconds" per line.
constexpr wchar_t kStartResultsFile[] = L"start-steps.txt";
