' GetLocale and SetLocale, and what the locale changes.
Dim original, previous
original = GetLocale()
previous = SetLocale(1033)
AssertEqual previous, original, "SetLocale returns the previous locale"
AssertEqual GetLocale(), 1033, "GetLocale"
AssertEqual CStr(1.5), "1.5", "en-US decimal point"
SetLocale 1031
AssertEqual GetLocale(), 1031, "German"
AssertEqual CStr(1.5), "1,5", "German decimal comma"
AssertEqual CDbl("1,5"), 1.5, "German text to number"
AssertEqual FormatNumber(1234.5, 1), "1.234,5", "German grouping"
SetLocale "en-gb"
AssertEqual GetLocale(), 2057, "locale by name"
AssertEqual CStr(#1/2/2003#), "02/01/2003", "British day first"
SetLocale 1033
AssertEqual CStr(#1/2/2003#), "1/2/2003", "back to en-US"
SetLocale "0x0407"
AssertEqual GetLocale(), 1031, "LCID as hex text"
SetLocale "es-es"
AssertEqual FormatDateTime(#10/19/1962#, vbLongDate), "viernes, 19 de octubre de 1962", "Spanish long date"
SetLocale 1040
AssertEqual MonthName(10), "ottobre", "Italian month"
SetLocale original
