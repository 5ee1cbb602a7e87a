#pragma once

// A local calendar date and time, held the way note files store it: an OLE Automation
// date. The whole part counts days from 1899-12-30 00:00 (negative before it) and the
// fraction, read as an absolute value, is the time of day, so -1.25 is 1899-12-29 06:00.
//
// The fields are read after rounding to the nearest second (halves round up, later in
// the day) and exist only for the days 0100-01-01 to 9999-12-31. Anything else, and an
// invalid date-time, reads -1 from every field query.

// 1974-04-15 10:30:00, the date-time every stored stamp starts with.
constexpr double kDefaultStampValue = 27134.4375;

class DateTime {
public:
    // The default stamp, valid.
    DateTime() = default;

    // A value as read from a file: valid whatever it holds; out of range it has no fields.
    static DateTime FromValue(double value);

    // Invalid when the numbers do not name a real date and time of the years 100 to 9999.
    static DateTime FromFields(int year, int month, int day, int hour, int minute, int second);

    static DateTime Invalid();

    double Value() const { return m_value; }
    bool IsValid() const { return m_valid; }

    // False for an invalid date-time and for values whose rounded date is out of range.
    bool HasFields() const;

    int Year() const;
    int Month() const;      // 1..12
    int Day() const;        // 1..31
    int Hour() const;       // 0..23
    int Minute() const;
    int Second() const;
    int DayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    // Same bits and same status: two NaNs with one payload are equal, 0.0 and -0.0 are not.
    bool operator==(const DateTime& other) const;
    bool operator!=(const DateTime& other) const { return !(*this == other); }

private:
    struct Fields {
        int year, month, day, hour, minute, second, dayOfWeek;
    };

    DateTime(double value, bool valid) : m_value(value), m_valid(valid) {}

    // Fills f and returns true when the date-time has fields.
    bool Split(Fields& f) const;
    int FieldOr(int Fields::*field) const;

    double m_value = kDefaultStampValue;
    bool m_valid = true;
};
