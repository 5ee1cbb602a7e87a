#pragma once
// What most Windows-side tests share: a fake clock, a logic window over a program folder
// of its own, and actions run inside the modal loop a command opens.
#include "note/Monitors.h"
#include "logic/PLogic.h"
#include "store/PVersions.h"
#include "tray/PSysTray.h"
#include "WinTestUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace wintest {

// The clock the note store reads: the UTC minute of the alarm gate, the local time notes
// are named and alarmed by, and the UTC time versions are named by. Nothing moves unless
// a test moves it.
struct FakeClock {
    static inline int minute = 17;
    static inline int minuteReads = 0;
    // 7 December 2026 (a Monday), 09:41:27.
    static inline SYSTEMTIME local = {2026, 12, 1, 7, 9, 41, 27, 0};
    static inline SYSTEMTIME utc = {2026, 12, 1, 7, 9, 41, 27, 0};

    static void Install()
    {
        minute = 17;
        minuteReads = 0;
        local = {2026, 12, 1, 7, 9, 41, 27, 0};
        utc = local;
        PLogic::SetMinuteSource([] {
            ++minuteReads;
            return minute;
        });
        PLogic::SetLocalTimeSource([] { return local; });
        PVersions::SetUtcSource([] { return utc; });
    }
    static void Remove()
    {
        PLogic::SetMinuteSource(nullptr);
        PLogic::SetLocalTimeSource(nullptr);
        PVersions::SetUtcSource(nullptr);
    }
};

// Runs an attempt inside the modal loop the next call opens (a menu, a dialog, a sheet):
// it is tried every 50 ms until it reports that it found what it waits for and acted.
// After ten seconds the test fails and the loop is ended, so that it cannot hang.
inline std::function<bool()>& PendingAttempt()
{
    static std::function<bool()> attempt;
    return attempt;
}

inline void CALLBACK TryPendingAttempt(HWND, UINT, UINT_PTR timer, DWORD)
{
    static int tries = 0;
    auto& attempt = PendingAttempt();
    if (attempt && attempt()) {
        attempt = nullptr;
    } else if (++tries >= 200) {
        ADD_FAILURE() << "what the test waited for inside the modal loop never came";
        attempt = nullptr;
        ::EndMenu();
        if (HWND active = ::GetActiveWindow())
            ::PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
    }
    if (!attempt) {
        tries = 0;
        ::KillTimer(nullptr, timer);
    }
}

inline void WhenReady(std::function<bool()> attempt)
{
    PendingAttempt() = std::move(attempt);
    ::SetTimer(nullptr, 0, 50, &TryPendingAttempt);
}

// The active window once it is a dialog holding the given control (0: any dialog).
inline HWND ActiveDialog(int withControl = 0)
{
    HWND active = ::GetActiveWindow();
    if (active == nullptr || ClassName(active) != "#32770")
        return nullptr;
    return withControl == 0 || ::GetDlgItem(active, withControl) != nullptr ? active : nullptr;
}

// What the program handed the shell (icons added and removed, balloons shown), in place
// of the shell itself.
struct ShellCalls {
    static inline std::vector<std::pair<DWORD, NOTIFYICONDATAW>> calls;
    // The newest version of the icon's messages this shell takes (4 from Vista on).
    static inline UINT newestVersion = 4;

    static BOOL WINAPI Record(DWORD message, PNOTIFYICONDATAW data)
    {
        calls.emplace_back(message, *data);
        return message != NIM_SETVERSION || data->uVersion <= newestVersion;
    }
    // The texts of the balloons shown since the last look, warnings marked "!".
    static std::vector<std::wstring> TakeBalloons()
    {
        std::vector<std::wstring> texts;
        for (const auto& [message, data] : calls) {
            if (message == NIM_MODIFY && (data.uFlags & NIF_INFO) != 0)
                texts.push_back((data.dwInfoFlags == NIIF_WARNING ? L"!" : L"") + std::wstring(data.szInfo));
        }
        calls.clear();
        return texts;
    }
};

// A logic window over a program folder of its own, reading the fake clock.
class LogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeClock::Install();
        ShellCalls::calls.clear();
        ShellCalls::newestVersion = 4;
        PSysTray::SetNotifyFunction(&ShellCalls::Record);
        PLogic::SetProgramFolder(folder.Path());
        // The user's own folders too: what a test rescues stays in its folder.
        PLogic::SetUserFolders(folder.Path() + L"roaming\\", folder.Path() + L"local\\");
        Start();
    }
    void TearDown() override
    {
        logic.reset();
        PLogic::SetProgramFolder(L"");
        PLogic::SetUserFolders(L"", L"");
        PSysTray::SetNotifyFunction(nullptr);
        SetMonitorWorkAreas({});
        FakeClock::Remove();
    }
    // A new logic window over the same folder, as at the next start of the program.
    void Start()
    {
        StartBeforeReading();
        // The rest of the start and the notes come from the loop, as in the program once it is up.
        ASSERT_TRUE(PumpUntil([this] { return logic->HasStarted() && !logic->Reader().IsReading(); }, 30000));
    }
    void StartBeforeReading()
    {
        logic.reset();
        logic = std::make_unique<PLogic>();
        ASSERT_TRUE(logic->Create());
    }

    TempFolder folder{"pinvel-test"};
    std::unique_ptr<PLogic> logic;
};

} // namespace wintest
