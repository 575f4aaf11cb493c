// OLE dates: calendar arithmetic, and the text forms CDate reads and CStr writes, in the
// thread's locale (en-US unless SetLocale chose another).
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/clock.hpp"

namespace vantorel {
namespace {

// Day numbers of 1 January 100 and 31 December 9999, the range automation dates cover.
constexpr std::int64_t kMinDay = -657434;
constexpr std::int64_t kMaxDay = 2958465;
// Days from 30 December 1899 to 1 January 1970, the epoch of the civil-day algorithms below.
constexpr std::int64_t kEpochShift = 25569;
constexpr int kSecondsPerDay = 86400;

// Proleptic Gregorian day count from 1 January 1970 (the well-known era/day-of-era method).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) noexcept {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) noexcept {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

int daysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

// Splits into a day number and the seconds since that day's midnight, rounded to the second.
void splitRaw(double oleDate, std::int64_t& day, int& seconds) {
  if (!(oleDate > static_cast<double>(kMinDay - 1) && oleDate < static_cast<double>(kMaxDay + 1))) {
    raiseVbError(vberr::kOverflow);
  }
  const double whole = std::trunc(oleDate);
  day = static_cast<std::int64_t>(whole);
  seconds = static_cast<int>(std::floor(std::fabs(oleDate - whole) * kSecondsPerDay + 0.5));
  if (seconds >= kSecondsPerDay) {
    if (day < kMaxDay) {
      seconds -= kSecondsPerDay;
      ++day;
    } else {
      seconds = kSecondsPerDay - 1;
    }
  }
}

// ---- parsing -------------------------------------------------------------------------------

enum class TokenKind : std::uint8_t { Number, Month, AmPm, Weekday, Separator };

struct Token {
  TokenKind kind;
  char16_t sep;  // Separator: the character; AmPm: 'A' or 'P'
  int value;     // Number: the value; Month: 1..12
  int digits;    // Number: how many digits were written
};

constexpr int kMaxTokens = 16;

struct Word {
  const char* text;
  TokenKind kind;
  int value;
};

constexpr Word kWords[] = {
    {"january", TokenKind::Month, 1},    {"february", TokenKind::Month, 2},
    {"march", TokenKind::Month, 3},      {"april", TokenKind::Month, 4},
    {"may", TokenKind::Month, 5},        {"june", TokenKind::Month, 6},
    {"july", TokenKind::Month, 7},       {"august", TokenKind::Month, 8},
    {"september", TokenKind::Month, 9},  {"october", TokenKind::Month, 10},
    {"november", TokenKind::Month, 11},  {"december", TokenKind::Month, 12},
    {"jan", TokenKind::Month, 1},        {"feb", TokenKind::Month, 2},
    {"mar", TokenKind::Month, 3},        {"apr", TokenKind::Month, 4},
    {"jun", TokenKind::Month, 6},        {"jul", TokenKind::Month, 7},
    {"aug", TokenKind::Month, 8},        {"sep", TokenKind::Month, 9},
    {"sept", TokenKind::Month, 9},       {"oct", TokenKind::Month, 10},
    {"nov", TokenKind::Month, 11},       {"dec", TokenKind::Month, 12},
    {"sunday", TokenKind::Weekday, 0},   {"monday", TokenKind::Weekday, 1},
    {"tuesday", TokenKind::Weekday, 2},  {"wednesday", TokenKind::Weekday, 3},
    {"thursday", TokenKind::Weekday, 4}, {"friday", TokenKind::Weekday, 5},
    {"saturday", TokenKind::Weekday, 6}, {"sun", TokenKind::Weekday, 0},
    {"mon", TokenKind::Weekday, 1},      {"tue", TokenKind::Weekday, 2},
    {"wed", TokenKind::Weekday, 3},      {"thu", TokenKind::Weekday, 4},
    {"fri", TokenKind::Weekday, 5},      {"sat", TokenKind::Weekday, 6},
    {"am", TokenKind::AmPm, 'A'},        {"pm", TokenKind::AmPm, 'P'},
    {"a", TokenKind::AmPm, 'A'},         {"p", TokenKind::AmPm, 'P'},
    {"t", TokenKind::Separator, 'T'},
};

constexpr int kMaxWord = 16;

// The ASCII letters and the Latin-1 ones, which the locales' month and day names use.
bool isWordLetter(char16_t c) noexcept {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

char16_t foldLetter(char16_t c) noexcept {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c | 0x20;
  return c;
}

bool sameWord(std::u16string_view lower, std::u16string_view name) noexcept {
  // Abbreviations such as "janv." carry their point; the tokenizer reads it as a separator.
  if (!name.empty() && name.back() == u'.') name.remove_suffix(1);
  if (lower.size() != name.size()) return false;
  for (std::size_t k = 0; k < lower.size(); ++k) {
    if (lower[k] != foldLetter(name[k])) return false;
  }
  return true;
}

bool lookUpWord(std::u16string_view lower, Token& out) noexcept {
  for (const Word& w : kWords) {
    std::size_t k = 0;
    while (k < lower.size() && w.text[k] != '\0' && static_cast<char16_t>(w.text[k]) == lower[k])
      ++k;
    if (k == lower.size() && w.text[k] == '\0') {
      out.kind = w.kind;
      out.value = w.value;
      out.sep = w.kind == TokenKind::Month ? 0 : static_cast<char16_t>(w.value);
      out.digits = 0;
      return true;
    }
  }
  const NumberLocale& locale = currentNumberLocale();
  for (int m = 0; m < 12; ++m) {
    if (sameWord(lower, locale.monthNames[m]) || sameWord(lower, locale.monthAbbreviations[m])) {
      out = Token{TokenKind::Month, 0, m + 1, 0};
      return true;
    }
  }
  for (int d = 0; d < 7; ++d) {
    if (sameWord(lower, locale.dayNames[d]) || sameWord(lower, locale.dayAbbreviations[d])) {
      out = Token{TokenKind::Weekday, static_cast<char16_t>(d), d, 0};
      return true;
    }
  }
  return false;
}

int tokenize(std::u16string_view s, Token* tokens) noexcept {
  int n = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f') {
      ++i;
      continue;
    }
    if (n == kMaxTokens) return -1;
    Token& t = tokens[n++];
    if (c >= u'0' && c <= u'9') {
      int value = 0, digits = 0;
      for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i, ++digits) {
        if (digits == 9) return -1;
        value = value * 10 + (s[i] - u'0');
      }
      t = Token{TokenKind::Number, 0, value, digits};
    } else if (isWordLetter(c)) {
      char16_t lower[kMaxWord];
      std::size_t len = 0;
      for (; i < s.size() && isWordLetter(s[i]); ++i) {
        if (len == kMaxWord) return -1;
        lower[len++] = foldLetter(s[i]);
      }
      if (!lookUpWord(std::u16string_view(lower, len), t)) return -1;
    } else if (c == u'/' || c == u'-' || c == u'.' || c == u',' || c == u':') {
      t = Token{TokenKind::Separator, c, 0, 0};
      ++i;
    } else {
      return -1;
    }
  }
  return n;
}

bool isSep(const Token& t, char16_t c) noexcept {
  return t.kind == TokenKind::Separator && t.sep == c;
}

// A year written with one or two digits: 00-29 are the 2000s, 30-99 the 1900s.
int fullYear(const Token& t) noexcept {
  if (t.digits > 2) return t.value;
  return t.value < 30 ? 2000 + t.value : 1900 + t.value;
}

bool yearLike(const Token& t) noexcept {
  return t.digits > 2 || t.value > 31;
}

int currentYear() {
  std::int64_t day;
  int seconds;
  splitRaw(sys::nowAsOleDate(), day, seconds);
  int y, m, d;
  civilFromDays(day - kEpochShift, y, m, d);
  return y;
}

struct Ymd {
  int year, month, day;
};

bool validYmd(const Ymd& d) noexcept {
  return d.year >= 100 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= daysInMonth(d.year, d.month);
}

// A comma separates date parts, except where it is the decimal point.
bool isDateSeparator(char16_t c) noexcept {
  return c == u'/' || c == u'-' || c == u'.' || (c == u',' && currentNumberLocale().decimal != c);
}

// Two or three numbers, separated by blanks or date separators. Like automation, this tries the
// readings in turn (the locale's order first, then the others) and takes the first that is a
// real date, so "30/2" is February 1930 and "13/1/2003" is 13 January.
bool parseNumericDate(const Token* t, int n, Ymd& out) {
  Token nums[3];
  int count = 0;
  char16_t separator = 0;
  bool afterSeparator = true;  // also rejects a leading separator
  for (int k = 0; k < n; ++k) {
    if (t[k].kind == TokenKind::Number) {
      if (count == 3) return false;
      nums[count++] = t[k];
      afterSeparator = false;
    } else if (t[k].kind == TokenKind::Separator && isDateSeparator(t[k].sep) && !afterSeparator &&
               (separator == 0 || separator == t[k].sep)) {
      separator = t[k].sep;
      afterSeparator = true;
    } else {
      return false;
    }
  }
  if (afterSeparator || count < 2) return false;
  const bool dayFirst = currentNumberLocale().dateOrder == DateOrder::DayMonthYear;
  Ymd tries[4];
  int tryCount = 0;
  const Token& a = nums[0];
  const Token& b = nums[1];
  if (count == 2) {
    // Without a year one number may be the year: "3/2009" is March 2009.
    if (yearLike(b)) {
      tries[tryCount++] = {fullYear(b), a.value, 1};
    } else if (yearLike(a)) {
      tries[tryCount++] = {fullYear(a), b.value, 1};
    } else {
      const int year = currentYear();
      tries[tryCount++] = dayFirst ? Ymd{year, b.value, a.value} : Ymd{year, a.value, b.value};
      tries[tryCount++] = dayFirst ? Ymd{year, a.value, b.value} : Ymd{year, b.value, a.value};
      tries[tryCount++] = {fullYear(b), a.value, 1};
      tries[tryCount++] = {fullYear(a), b.value, 1};
    }
  } else {
    const Token& c = nums[2];
    if (yearLike(a)) {
      tries[tryCount++] = {fullYear(a), b.value, c.value};
    } else {
      const int year = fullYear(c);
      tries[tryCount++] = dayFirst ? Ymd{year, b.value, a.value} : Ymd{year, a.value, b.value};
      tries[tryCount++] = dayFirst ? Ymd{year, a.value, b.value} : Ymd{year, b.value, a.value};
      tries[tryCount++] = {fullYear(a), b.value, c.value};
    }
  }
  for (int k = 0; k < tryCount; ++k) {
    if (validYmd(tries[k])) {
      out = tries[k];
      return true;
    }
  }
  return false;
}

bool parseNamedDate(const Token* t, int n, Ymd& out) {
  // Separators only punctuate around a month name: "March 5, 2009", "5-Mar-2009", "Mar. 5".
  Token parts[kMaxTokens];
  int count = 0, monthAt = -1;
  for (int k = 0; k < n; ++k) {
    if (t[k].kind == TokenKind::Separator) {
      if (t[k].sep == u':' || t[k].sep == u'T') return false;
      continue;
    }
    if (t[k].kind == TokenKind::Month) {
      if (monthAt >= 0) return false;
      monthAt = count;
    } else if (t[k].kind != TokenKind::Number) {
      return false;
    }
    parts[count++] = t[k];
  }
  const int month = parts[monthAt].value;
  // As with numbers alone, the first reading that is a real date wins: "29-Feb-01" is
  // 1 February 2029.
  Ymd tries[2];
  int tryCount = 0;
  if (count == 2) {
    const Token& num = parts[monthAt == 0 ? 1 : 0];
    if (!yearLike(num)) tries[tryCount++] = {currentYear(), month, num.value};
    tries[tryCount++] = {fullYear(num), month, 1};
  } else {
    if (count != 3 || monthAt == 2) return false;
    const Token& first = parts[monthAt == 0 ? 1 : 0];
    const Token& last = parts[2];
    if (monthAt == 1 && yearLike(first)) {
      tries[tryCount++] = {fullYear(first), month, last.value};
    } else {
      tries[tryCount++] = {fullYear(last), month, first.value};
      if (!yearLike(last)) tries[tryCount++] = {fullYear(first), month, last.value};
    }
  }
  for (int k = 0; k < tryCount; ++k) {
    if (validYmd(tries[k])) {
      out = tries[k];
      return true;
    }
  }
  return false;
}

bool parseDatePart(const Token* t, int n, Ymd& out) {
  if (n > 0 && t[0].kind == TokenKind::Weekday) {
    ++t, --n;
    if (n > 0 && isSep(t[0], u',')) ++t, --n;
  }
  if (n == 0) return false;
  bool named = false;
  for (int k = 0; k < n; ++k) {
    if (t[k].kind == TokenKind::Month)
      named = true;
    else if (t[k].kind != TokenKind::Number && t[k].kind != TokenKind::Separator)
      return false;
  }
  return named ? parseNamedDate(t, n, out) : parseNumericDate(t, n, out);
}

struct Hms {
  int hour = 0, minute = 0, second = 0;
};

// Reads "h[:mm[:ss]] [AM|PM]" from t[start]; returns the index after it, or -1.
int parseTimePart(const Token* t, int n, int start, Hms& out) {
  int k = start;
  int fields[3] = {t[k++].value, 0, 0};
  int fieldCount = 1;
  while (fieldCount < 3 && k + 1 < n && isSep(t[k], u':') && t[k + 1].kind == TokenKind::Number) {
    fields[fieldCount++] = t[k + 1].value;
    k += 2;
  }
  if (k < n && isSep(t[k], u':')) return -1;
  char16_t meridiem = 0;
  if (k < n && t[k].kind == TokenKind::AmPm) meridiem = t[k++].sep;
  if (fieldCount == 1 && meridiem == 0) return -1;
  int hour = fields[0];
  // An hour past 12 is already on the 24-hour clock: "13:55 AM" is 1:55 PM.
  if (meridiem != 0 && hour <= 12) {
    if (hour == 12) hour = 0;
    if (meridiem == u'P') hour += 12;
  }
  if (hour > 23 || fields[1] > 59 || fields[2] > 59) return -1;
  out = Hms{hour, fields[1], fields[2]};
  return k;
}

}  // namespace

std::optional<double> makeDate(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59) {
    return std::nullopt;
  }
  const auto days = static_cast<double>(daysFromCivil(year, month, day) + kEpochShift);
  const double time = (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
  // Before the epoch the fraction still counts forward from midnight, away from zero.
  return days >= 0 ? days + time : days - time;
}

DateParts splitDate(double oleDate) {
  std::int64_t day;
  int seconds;
  splitRaw(oleDate, day, seconds);
  DateParts p{};
  civilFromDays(day - kEpochShift, p.year, p.month, p.day);
  p.hour = seconds / 3600;
  p.minute = seconds / 60 % 60;
  p.second = seconds % 60;
  return p;
}

std::u16string formatShortDate(int year, int month, int day) {
  const NumberLocale& locale = currentNumberLocale();
  std::u16string out;
  const auto two = [&](int v) {
    if (v >= 10 || locale.shortDateLeadingZeros) out += static_cast<char16_t>(u'0' + v / 10);
    out += static_cast<char16_t>(u'0' + v % 10);
  };
  const auto four = [&](int v) {
    for (int div = 1000; div > 0; div /= 10) out += static_cast<char16_t>(u'0' + v / div % 10);
  };
  switch (locale.dateOrder) {
    case DateOrder::MonthDayYear:
      two(month), out += locale.dateSeparator, two(day), out += locale.dateSeparator, four(year);
      break;
    case DateOrder::DayMonthYear:
      two(day), out += locale.dateSeparator, two(month), out += locale.dateSeparator, four(year);
      break;
    case DateOrder::YearMonthDay:
      four(year), out += locale.dateSeparator, two(month), out += locale.dateSeparator, two(day);
      break;
  }
  return out;
}

std::u16string formatLongTime(int hour, int minute, int second) {
  const NumberLocale& locale = currentNumberLocale();
  std::u16string out;
  const int shown = locale.hour12 ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
  if (shown >= 10 || !locale.hour12) out += static_cast<char16_t>(u'0' + shown / 10);
  out += static_cast<char16_t>(u'0' + shown % 10);
  for (const int v : {minute, second}) {
    out += locale.timeSeparator;
    out += static_cast<char16_t>(u'0' + v / 10);
    out += static_cast<char16_t>(u'0' + v % 10);
  }
  if (locale.hour12) {
    out += u' ';
    out += hour < 12 ? locale.amDesignator : locale.pmDesignator;
  }
  return out;
}

std::u16string formatDate(double oleDate) {
  std::int64_t day;
  int seconds;
  splitRaw(oleDate, day, seconds);
  std::u16string out;
  if (day != 0) {
    int y, m, d;
    civilFromDays(day - kEpochShift, y, m, d);
    out = formatShortDate(y, m, d);
  }
  if (seconds != 0 || day == 0) {
    if (day != 0) out += u' ';
    out += formatLongTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
  }
  return out;
}

std::optional<double> parseDate(std::u16string_view text) {
  Token tokens[kMaxTokens];
  const int n = tokenize(text, tokens);
  if (n <= 0) return std::nullopt;
  // Where the locale does not write dates with points, a point between numbers separates the
  // parts of a time, as automation reads it: "13.50" is 1:50 PM. Beside a month name it is
  // punctuation: "March 5. 2009".
  bool named = false;
  for (int k = 0; k < n; ++k) named = named || tokens[k].kind == TokenKind::Month;
  if (!named && currentNumberLocale().dateSeparator != u'.') {
    for (int k = 1; k + 1 < n; ++k) {
      if (isSep(tokens[k], u'.') && tokens[k - 1].kind == TokenKind::Number &&
          tokens[k + 1].kind == TokenKind::Number) {
        tokens[k].sep = u':';
      }
    }
  }

  int timeStart = -1;
  for (int k = 0; k + 1 < n; ++k) {
    if (tokens[k].kind == TokenKind::Number &&
        (isSep(tokens[k + 1], u':') || tokens[k + 1].kind == TokenKind::AmPm)) {
      timeStart = k;
      break;
    }
  }
  Hms time;
  int dateBegin = 0, dateEnd = n;
  if (timeStart >= 0) {
    const int timeEnd = parseTimePart(tokens, n, timeStart, time);
    if (timeEnd < 0) return std::nullopt;
    if (timeStart == 0) {
      dateBegin = timeEnd;
    } else {
      if (timeEnd != n) return std::nullopt;
      dateEnd = timeStart;
      // "2009-03-05T07:08:09" and "March 5, 2009, 7:08 PM".
      if (isSep(tokens[dateEnd - 1], u'T') || isSep(tokens[dateEnd - 1], u',')) --dateEnd;
    }
  }

  Ymd date{1899, 12, 30};
  if (dateBegin < dateEnd && !parseDatePart(tokens + dateBegin, dateEnd - dateBegin, date)) {
    return std::nullopt;
  }
  if (timeStart < 0 && dateBegin >= dateEnd) return std::nullopt;
  return makeDate(date.year, date.month, date.day, time.hour, time.minute, time.second);
}

}  // namespace vantorel
