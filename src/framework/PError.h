#pragma once
#include <string>

// Reports a failure that leaves the program unusable at start: shows the code and its
// message from the string table, then ends the process with exit code 1. Nothing is
// saved.
class PError {
public:
    PError() = default;
    virtual ~PError() = default;

    [[noreturn]] void Raise(int code);

    int Code() const { return m_code; }

    // The text of the error box for a code.
    static std::string BoxText(int code);

    static constexpr unsigned kBoxStyle = 0x00040010; // MB_ICONERROR | MB_TOPMOST

    // The function that shows the box; tests put a recording one in front of it.
    using BoxFunction = int(__stdcall*)(void* owner, const char* text, const char* caption, unsigned style);
    static void SetBoxFunction(BoxFunction show);

private:
    int m_code = 20001;
};

extern PError g_error;
