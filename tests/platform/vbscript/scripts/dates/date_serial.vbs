' DateSerial and TimeSerial carry out-of-range parts over.
Dim d
d = DateSerial(2024, 2, 29)
AssertEqual Year(d), 2024, "Year"
AssertEqual Month(d), 2, "Month"
AssertEqual Day(d), 29, "Day"
AssertEqual VarType(d), vbDate, "DateSerial gives a Date"
AssertEqual DateSerial(2023, 13, 1), #1/1/2024#, "month 13"
AssertEqual DateSerial(2024, 3, 0), #2/29/2024#, "day 0 is the last day of the month before"
AssertEqual DateSerial(2024, 1, -1), #12/30/2023#, "negative day"
AssertEqual DateSerial(99, 1, 1), #1/1/1999#, "two-digit years"
AssertEqual Hour(TimeSerial(25, 0, 0)), 1, "25 hours carry into a day"
AssertEqual Day(TimeSerial(25, 0, 0)), 31, "the day after day zero"
AssertEqual TimeSerial(12, -30, 0), #11:30:00 AM#, "negative minutes"
AssertEqual TimeSerial(0, 0, 90), #12:01:30 AM#, "seconds carry"
Dim t
t = #3:04:05 PM#
AssertEqual Hour(t), 15, "Hour"
AssertEqual Minute(t), 4, "Minute"
AssertEqual Second(t), 5, "Second"
AssertEqual DateValue("January 2, 2003"), #1/2/2003#, "DateValue"
AssertEqual TimeValue("3:04 PM"), #3:04:00 PM#, "TimeValue"
AssertEqual Year(#1/2/2003 3:04:05 PM#), 2003, "Year of a date with a time"
AssertEqual Year(CDate(2958465.99999999)), 9999, "the last instant of 9999 stays in 9999"
