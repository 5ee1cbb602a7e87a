#include "PAlarmPages.h"

#include "../core/DpiScale.h"
#include "../framework/Accessible.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTimeFormat[] = L"H':'mm' 'tt";

using Rows = std::array<AlarmRowIds, kAlarmSlotsPerKind>;

// enable, date, time, weekday, month, day, sound
constexpr Rows kGeneralRows = {{{1050, 1020, 1034, 0, 0, 0, 1033},
                                {1051, 1021, 1035, 0, 0, 0, 1045},
                                {1052, 1022, 1041, 0, 0, 0, 1046},
                                {1053, 1023, 1042, 0, 0, 0, 1047},
                                {1054, 1024, 1043, 0, 0, 0, 1048},
                                {1055, 1026, 1044, 0, 0, 0, 1049}}};
constexpr Rows kDailyRows = {{{1056, 0, 1062, 0, 0, 0, 1068},
                              {1057, 0, 1063, 0, 0, 0, 1069},
                              {1058, 0, 1064, 0, 0, 0, 1070},
                              {1059, 0, 1065, 0, 0, 0, 1071},
                              {1060, 0, 1066, 0, 0, 0, 1072},
                              {1061, 0, 1067, 0, 0, 0, 1073}}};
constexpr Rows kWeeklyRows = {{{1074, 0, 1082, 1012, 0, 0, 1085},
                               {1075, 0, 1083, 1013, 0, 0, 1086},
                               {1076, 0, 1084, 1014, 0, 0, 1087},
                               {1077, 0, 1018, 1015, 0, 0, 1088},
                               {1078, 0, 1019, 1080, 0, 0, 1089},
                               {1079, 0, 1020, 1081, 0, 0, 1090}}};
constexpr Rows kMonthlyRows = {{{1091, 0, 1103, 0, 0, 1097, 1109},
                                {1092, 0, 1104, 0, 0, 1098, 1110},
                                {1093, 0, 1105, 0, 0, 1099, 1111},
                                {1094, 0, 1106, 0, 0, 1100, 1112},
                                {1095, 0, 1107, 0, 0, 1101, 1113},
                                {1096, 0, 1108, 0, 0, 1102, 1114}}};
constexpr Rows kYearlyRows = {{{1027, 0, 1008, 0, 1016, 1022, 1035},
                               {1028, 0, 1009, 0, 1017, 1023, 1036},
                               {1029, 0, 1011, 0, 1018, 1024, 1037},
                               {1030, 0, 1013, 0, 1019, 1026, 1038},
                               {1031, 0, 1012, 0, 1020, 1033, 1040},
                               {1032, 0, 1014, 0, 1021, 1034, 1039}}};

void FillCombo(HWND combo, UINT base, int count)
{
    for (int n = 1; n <= count; ++n)
        ::SendMessageW(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(fw::LoadResStringW(base + static_cast<UINT>(n)).c_str()));
}

// Entry n - 1 stands for the number n. The lists are matched by position, never by
// their text.
void SelectNumber(HWND combo, int number, int count)
{
    // A number no entry stands for (a damaged file) shows no selection.
    const WPARAM index = number >= 1 && number <= count ? static_cast<WPARAM>(number - 1) : static_cast<WPARAM>(-1);
    ::SendMessageW(combo, CB_SETCURSEL, index, 0);
}

int SelectedNumber(HWND combo)
{
    const LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : static_cast<int>(index) + 1;
}

} // namespace

DateTime DateTimeFromSystemTime(const SYSTEMTIME& time)
{
    return DateTime::FromFields(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

bool SystemTimeFromDateTime(const DateTime& when, SYSTEMTIME& time)
{
    if (!when.HasFields())
        return false;
    time = {};
    time.wYear = static_cast<WORD>(when.Year());
    time.wMonth = static_cast<WORD>(when.Month());
    time.wDay = static_cast<WORD>(when.Day());
    time.wDayOfWeek = static_cast<WORD>(when.DayOfWeek() - 1);
    time.wHour = static_cast<WORD>(when.Hour());
    time.wMinute = static_cast<WORD>(when.Minute());
    time.wSecond = static_cast<WORD>(when.Second());
    return true;
}

PAlarmPage::PAlarmPage(UINT templateId, const Rows& rows) : fw::PropertyPage(templateId), m_rows(rows) {}

PAlarmPage::~PAlarmPage()
{
    if (m_soundIcon != nullptr)
        ::DestroyIcon(m_soundIcon);
}

BOOL PAlarmPage::OnInitDialog()
{
    for (const AlarmRowIds& row : m_rows) {
        if (row.weekday != 0)
            FillCombo(Item(row.weekday), IDS_WEEKDAY_BASE, 7);
        if (row.month != 0)
            FillCombo(Item(row.month), IDS_MONTH_BASE, 12);
        if (row.day != 0)
            FillCombo(Item(row.day), IDS_DAY_BASE, 31);
    }
    NameControls();
    return TRUE;
}

// The column headings stand above the first row only: each control is named by its row
// and its column, so that a screen reader says more than "date picker".
void PAlarmPage::NameControls()
{
    const std::wstring format = fw::LoadResStringW(IDS_ALARM_CONTROL_NAME);
    std::vector<std::pair<HWND, std::wstring>> names;
    int number = 1;
    for (const AlarmRowIds& row : m_rows) {
        const std::pair<int, UINT> columns[] = {{row.date, IDS_ALARM_COLUMN_DATE},     {row.time, IDS_ALARM_COLUMN_TIME},
                                                {row.weekday, IDS_ALARM_COLUMN_WEEKDAY}, {row.month, IDS_ALARM_COLUMN_MONTH},
                                                {row.day, IDS_ALARM_COLUMN_DAY},       {row.sound, IDS_ALARM_COLUMN_SOUND}};
        for (const auto& [id, column] : columns) {
            if (id == 0)
                continue;
            wchar_t name[64] = {};
            ::_snwprintf(name, 63, format.c_str(), number, fw::LoadResStringW(column).c_str());
            names.emplace_back(Item(id), name);
        }
        ++number;
    }
    fw::NameControls(names);
}

bool PAlarmPage::OnSetActive()
{
    const int size = fw::IconSizeForDpi(16, fw::WindowDpi(m_hWnd));
    HICON icon = static_cast<HICON>(
        ::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_SOUND), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    for (const AlarmRowIds& row : m_rows) {
        ::SendMessageW(Item(row.time), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kTimeFormat));
        ::SendMessageW(Item(row.sound), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
    // The buttons show the new icon now; the one of the last activation can go.
    if (m_soundIcon != nullptr)
        ::DestroyIcon(m_soundIcon);
    m_soundIcon = icon;
    for (int r = 0; r < kAlarmSlotsPerKind; ++r)
        RefreshRow(r);
    return true;
}

void PAlarmPage::RefreshRow(int r)
{
    const AlarmRowIds& row = m_rows[r];
    AlarmSlot& slot = Slot(r);
    ::EnableWindow(Item(row.enable), TRUE);
    ::CheckDlgButton(m_hWnd, row.enable, slot.enabled ? BST_CHECKED : BST_UNCHECKED);
    for (int id : {row.date, row.time, row.weekday, row.month, row.day, row.sound}) {
        if (id != 0)
            ::EnableWindow(Item(id), slot.enabled ? TRUE : FALSE);
    }
    SYSTEMTIME when;
    if (SystemTimeFromDateTime(slot.when, when)) {
        for (int id : {row.date, row.time}) {
            if (id != 0)
                ::SendMessageW(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&when));
        }
    }
    if (row.weekday != 0)
        SelectNumber(Item(row.weekday), *Weekday(r), 7);
    if (row.month != 0)
        SelectNumber(Item(row.month), *Month(r), 12);
    if (row.day != 0)
        SelectNumber(Item(row.day), *Day(r), 31);
    ::CheckDlgButton(m_hWnd, row.sound, slot.sound ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR PAlarmPage::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == DTN_DATETIMECHANGE) {
        OnDateTimeChange(*reinterpret_cast<const NMDATETIMECHANGE*>(lParam));
        SetResult(0);
        return TRUE;
    }
    return fw::PropertyPage::DialogProc(msg, wParam, lParam);
}

void PAlarmPage::OnCommand(int id, int code)
{
    for (int r = 0; r < kAlarmSlotsPerKind; ++r) {
        const AlarmRowIds& row = m_rows[r];
        AlarmSlot& slot = Slot(r);
        if (code == BN_CLICKED && id == row.enable) {
            slot.enabled = ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
            RefreshRow(r);
        } else if (code == BN_CLICKED && id == row.sound) {
            slot.sound = ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
        } else if (code == CBN_SELCHANGE && id == row.weekday) {
            *Weekday(r) = SelectedNumber(Item(id));
        } else if (code == CBN_SELCHANGE && id == row.month) {
            *Month(r) = SelectedNumber(Item(id));
        } else if (code == CBN_SELCHANGE && id == row.day) {
            *Day(r) = SelectedNumber(Item(id));
        } else {
            continue;
        }
        return;
    }
}

void PAlarmPage::OnDateTimeChange(const NMDATETIMECHANGE& change)
{
    if (change.dwFlags != GDT_VALID)
        return;
    const int id = static_cast<int>(change.nmhdr.idFrom);
    for (int r = 0; r < kAlarmSlotsPerKind; ++r) {
        DateTime& when = Slot(r).when;
        SYSTEMTIME old = change.st;
        SystemTimeFromDateTime(when, old);
        const SYSTEMTIME& picked = change.st;
        if (id == m_rows[r].date) {
            when = DateTime::FromFields(picked.wYear, picked.wMonth, picked.wDay, old.wHour, old.wMinute, old.wSecond);
            return;
        }
        if (id == m_rows[r].time) {
            when = DateTime::FromFields(old.wYear, old.wMonth, old.wDay, picked.wHour, picked.wMinute, picked.wSecond);
            return;
        }
    }
}

PSetGAPP::PSetGAPP() : PAlarmPage(IDD_ALARM_GENERAL, kGeneralRows) {}
PSetDAPP::PSetDAPP() : PAlarmPage(IDD_ALARM_DAILY, kDailyRows) {}
PSetWAPP::PSetWAPP() : PAlarmPage(IDD_ALARM_WEEKLY, kWeeklyRows) {}
PSetMAPP::PSetMAPP() : PAlarmPage(IDD_ALARM_MONTHLY, kMonthlyRows) {}
PSetYAPP::PSetYAPP() : PAlarmPage(IDD_ALARM_YEARLY, kYearlyRows) {}

PSetAlarmPS::PSetAlarmPS(HWND parent) : fw::PropertySheet(fw::LoadResString(IDS_ALARM_SHEET_TITLE), parent, 0) {}

LRESULT PSetAlarmPS::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        OnPaint();
        return 0;
    }
    return DefWindowProc(msg, wParam, lParam);
}

void PSetAlarmPS::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    {
        fw::SavedDC saved(dc);
        ::SetMapMode(dc, MM_TEXT);
        ::SetBkMode(dc, TRANSPARENT);
        LOGFONTW logfont;
        std::memset(&logfont, 0, sizeof(logfont));
        const int dpi = fw::WindowDpi(m_hWnd);
        logfont.lfHeight = ::MulDiv(280, dpi, 1440);
        logfont.lfWeight = FW_BOLD;
        logfont.lfItalic = TRUE;
        ::lstrcpynW(logfont.lfFaceName, L"Times New Roman", LF_FACESIZE);
        fw::Font font(::CreateFontIndirectW(&logfont));
        fw::SelectObject selectFont(dc, font.Get());
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        const int left = client.left + ScaleForDpi(15, dpi);
        const int top = (client.bottom - ScaleForDpi(5, dpi)) - logfont.lfHeight;
        const int lift = ScaleForDpi(1, dpi);
        const std::wstring name = fw::LoadResStringW(IDS_PRODUCT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::TextOutW(dc, left + lift, top + lift, name.c_str(), static_cast<int>(name.size()));
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
        ::TextOutW(dc, left, top, name.c_str(), static_cast<int>(name.size()));
    }
    ::EndPaint(m_hWnd, &paint);
}
