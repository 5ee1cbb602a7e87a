#pragma once
#include "../core/AlarmSet.h"
#include "../framework/PropertySheet.h"

#include <array>

// The controls of one row of an alarm page; 0 where the page has no such control.
struct AlarmRowIds {
    int enable;
    int date;
    int time;
    int weekday;
    int month;
    int day;
    int sound;
};

// A page of the alarm sheet: six rows, one per slot of its kind. Every control writes
// straight into the page's copy of the slots.
class PAlarmPage : public fw::PropertyPage {
public:
    PAlarmPage(UINT templateId, const std::array<AlarmRowIds, kAlarmSlotsPerKind>& rows);
    ~PAlarmPage() override;

    // Brings row r's controls in line with slot r.
    void RefreshRow(int r);

protected:
    virtual AlarmSlot& Slot(int r) = 0;
    virtual std::int32_t* Weekday(int) { return nullptr; }
    virtual std::int32_t* Month(int) { return nullptr; }
    virtual std::int32_t* Day(int) { return nullptr; }

    void NameControls();
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCommand(int id, int code);
    void OnDateTimeChange(const NMDATETIMECHANGE& change);
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    std::array<AlarmRowIds, kAlarmSlotsPerKind> m_rows;
    HICON m_soundIcon = nullptr;
};

class PSetGAPP : public PAlarmPage {
public:
    PSetGAPP();
    std::array<GeneralAlarm, kAlarmSlotsPerKind> m_slots;

protected:
    AlarmSlot& Slot(int r) override { return m_slots[r]; }
};

class PSetDAPP : public PAlarmPage {
public:
    PSetDAPP();
    std::array<DailyAlarm, kAlarmSlotsPerKind> m_slots;

protected:
    AlarmSlot& Slot(int r) override { return m_slots[r]; }
};

class PSetWAPP : public PAlarmPage {
public:
    PSetWAPP();
    std::array<WeeklyAlarm, kAlarmSlotsPerKind> m_slots;

protected:
    AlarmSlot& Slot(int r) override { return m_slots[r]; }
    std::int32_t* Weekday(int r) override { return &m_slots[r].weekday; }
};

class PSetMAPP : public PAlarmPage {
public:
    PSetMAPP();
    std::array<MonthlyAlarm, kAlarmSlotsPerKind> m_slots;

protected:
    AlarmSlot& Slot(int r) override { return m_slots[r]; }
    std::int32_t* Day(int r) override { return &m_slots[r].day; }
};

class PSetYAPP : public PAlarmPage {
public:
    PSetYAPP();
    std::array<YearlyAlarm, kAlarmSlotsPerKind> m_slots;

protected:
    AlarmSlot& Slot(int r) override { return m_slots[r]; }
    std::int32_t* Month(int r) override { return &m_slots[r].month; }
    std::int32_t* Day(int r) override { return &m_slots[r].day; }
};

// The alarm sheet: OK and Cancel, with the product name engraved in its corner.
class PSetAlarmPS : public fw::PropertySheet {
public:
    explicit PSetAlarmPS(HWND parent);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
};

// SYSTEMTIME and DateTime, field by field.
DateTime DateTimeFromSystemTime(const SYSTEMTIME& time);
bool SystemTimeFromDateTime(const DateTime& when, SYSTEMTIME& time);
