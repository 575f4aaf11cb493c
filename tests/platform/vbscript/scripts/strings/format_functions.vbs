' FormatNumber, FormatPercent, FormatCurrency and FormatDateTime (en-US).
AssertEqual FormatNumber(1234.567, 2), "1,234.57", "FormatNumber"
AssertEqual FormatNumber(1234.5), "1,234.50", "two decimals by default"
AssertEqual FormatNumber(-1234.5, 1), "-1,234.5", "negative"
AssertEqual FormatNumber(0.25, 2, False), ".25", "without the leading digit"
AssertEqual FormatNumber(-5, 0, , True), "(5)", "parentheses for negatives"
AssertEqual FormatNumber(1234567, 0, , , False), "1234567", "without grouping"
AssertEqual FormatPercent(0.25), "25.00%", "FormatPercent"
AssertEqual FormatPercent(0.125, 1), "12.5%", "FormatPercent with decimals"
AssertEqual FormatCurrency(1234.5), "$1,234.50", "FormatCurrency"
SetLocale 1031
AssertEqual FormatCurrency(-1234.5), "-1.234,50 " & ChrW(8364), "FormatCurrency follows the locale's layout"
SetLocale 1033
Dim d
d = #1/2/2003 3:04:05 PM#
AssertEqual FormatDateTime(d, vbShortDate), "1/2/2003", "short date"
AssertEqual FormatDateTime(d, vbLongTime), "3:04:05 PM", "long time"
AssertEqual FormatDateTime(d, vbShortTime), "15:04", "short time"
AssertEqual FormatDateTime(d), "1/2/2003 3:04:05 PM", "general date"
On Error Resume Next
Dim x
x = FormatNumber("abc")
AssertError 13, "FormatNumber of text"
