#include "platform/automation/number_locale.hpp"

#include <iterator>

namespace vantorel {
namespace {

struct CalendarNames {
  std::array<std::u16string_view, 12> months;
  std::array<std::u16string_view, 12> monthAbbreviations;
  std::array<std::u16string_view, 7> days;  // Sunday first
  std::array<std::u16string_view, 7> dayAbbreviations;
};

constexpr CalendarNames kEnglish = {
    {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September",
     u"October", u"November", u"December"},
    {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov",
     u"Dec"},
    {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
    {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"}};
constexpr CalendarNames kGerman = {
    {u"Januar", u"Februar", u"M\u00E4rz", u"April", u"Mai", u"Juni", u"Juli", u"August",
     u"September", u"Oktober", u"November", u"Dezember"},
    {u"Jan", u"Feb", u"M\u00E4r", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov",
     u"Dez"},
    {u"Sonntag", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag"},
    {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"}};
constexpr CalendarNames kFrench = {
    {u"janvier", u"f\u00E9vrier", u"mars", u"avril", u"mai", u"juin", u"juillet", u"ao\u00FBt",
     u"septembre", u"octobre", u"novembre", u"d\u00E9cembre"},
    {u"janv.", u"f\u00E9vr.", u"mars", u"avr.", u"mai", u"juin", u"juil.", u"ao\u00FBt", u"sept.",
     u"oct.", u"nov.", u"d\u00E9c."},
    {u"dimanche", u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi"},
    {u"dim.", u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam."}};
constexpr CalendarNames kSpanish = {
    {u"enero", u"febrero", u"marzo", u"abril", u"mayo", u"junio", u"julio", u"agosto",
     u"septiembre", u"octubre", u"noviembre", u"diciembre"},
    {u"ene", u"feb", u"mar", u"abr", u"may", u"jun", u"jul", u"ago", u"sep", u"oct", u"nov",
     u"dic"},
    {u"domingo", u"lunes", u"martes", u"mi\u00E9rcoles", u"jueves", u"viernes", u"s\u00E1bado"},
    {u"dom", u"lun", u"mar", u"mi\u00E9", u"jue", u"vie", u"s\u00E1b"}};
constexpr CalendarNames kItalian = {
    {u"gennaio", u"febbraio", u"marzo", u"aprile", u"maggio", u"giugno", u"luglio", u"agosto",
     u"settembre", u"ottobre", u"novembre", u"dicembre"},
    {u"gen", u"feb", u"mar", u"apr", u"mag", u"giu", u"lug", u"ago", u"set", u"ott", u"nov",
     u"dic"},
    {u"domenica", u"luned\u00EC", u"marted\u00EC", u"mercoled\u00EC", u"gioved\u00EC",
     u"venerd\u00EC", u"sabato"},
    {u"dom", u"lun", u"mar", u"mer", u"gio", u"ven", u"sab"}};
constexpr CalendarNames kDutch = {
    {u"januari", u"februari", u"maart", u"april", u"mei", u"juni", u"juli", u"augustus",
     u"september", u"oktober", u"november", u"december"},
    {u"jan", u"feb", u"mrt", u"apr", u"mei", u"jun", u"jul", u"aug", u"sep", u"okt", u"nov",
     u"dec"},
    {u"zondag", u"maandag", u"dinsdag", u"woensdag", u"donderdag", u"vrijdag", u"zaterdag"},
    {u"zo", u"ma", u"di", u"wo", u"do", u"vr", u"za"}};

// One line of the locale table: a NumberLocale with its four name lists taken as one set.
struct LocaleRow {
  std::int32_t lcid;
  std::u16string_view name;
  char16_t decimal;
  char16_t group;
  char16_t currency;
  DateOrder dateOrder;
  char16_t dateSeparator;
  bool shortDateLeadingZeros;
  char16_t timeSeparator;
  bool hour12;
  int firstDayOfWeek;
  int firstWeekOfYear;
  std::u16string_view longDatePattern;
  std::u16string_view amDesignator;
  std::u16string_view pmDesignator;
  const CalendarNames* names;
};

constexpr LocaleRow kRows[] = {
    {1033, u"en-us", u'.', u',', u'$', DateOrder::MonthDayYear, u'/', false, u':', true, 1, 1,
     u"dddd, MMMM d, yyyy", u"AM", u"PM", &kEnglish},
    {2057, u"en-gb", u'.', u',', u'\u00A3', DateOrder::DayMonthYear, u'/', true, u':', false, 2, 2,
     u"dd MMMM yyyy", u"AM", u"PM", &kEnglish},
    {1031, u"de-de", u',', u'.', u'\u20AC', DateOrder::DayMonthYear, u'.', true, u':', false, 2, 2,
     u"dddd, d. MMMM yyyy", u"", u"", &kGerman},
    {1036, u"fr-fr", u',', u'\u00A0', u'\u20AC', DateOrder::DayMonthYear, u'/', true, u':', false,
     2, 2, u"dddd d MMMM yyyy", u"", u"", &kFrench},
    {3082, u"es-es", u',', u'.', u'\u20AC', DateOrder::DayMonthYear, u'/', true, u':', false, 2, 2,
     u"dddd, d' de 'MMMM' de 'yyyy", u"", u"", &kSpanish},
    {1040, u"it-it", u',', u'.', u'\u20AC', DateOrder::DayMonthYear, u'/', true, u':', false, 2, 2,
     u"dddd d MMMM yyyy", u"", u"", &kItalian},
    {1043, u"nl-nl", u',', u'.', u'\u20AC', DateOrder::DayMonthYear, u'-', false, u':', false, 2, 2,
     u"dddd d MMMM yyyy", u"", u"", &kDutch},
};

constexpr auto kLocales = [] {
  std::array<NumberLocale, std::size(kRows)> out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const LocaleRow& r = kRows[i];
    out[i] = {r.lcid,
              r.name,
              r.decimal,
              r.group,
              r.currency,
              r.dateOrder,
              r.dateSeparator,
              r.shortDateLeadingZeros,
              r.timeSeparator,
              r.hour12,
              r.firstDayOfWeek,
              r.firstWeekOfYear,
              r.longDatePattern,
              r.amDesignator,
              r.pmDesignator,
              r.names->months,
              r.names->monthAbbreviations,
              r.names->days,
              r.names->dayAbbreviations};
  }
  return out;
}();

thread_local const NumberLocale* tCurrent = &kLocales[0];

char16_t lowerAscii(char16_t c) noexcept {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool sameName(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t c = lowerAscii(a[i]);
    if (c == u'_') c = u'-';
    if (c != b[i]) return false;
  }
  return true;
}

}  // namespace

const NumberLocale& currentNumberLocale() noexcept {
  return *tCurrent;
}

const NumberLocale* findNumberLocale(std::int32_t lcid) noexcept {
  // Spanish with the traditional sort order formats as the modern one does.
  if (lcid == 1034) lcid = 3082;
  for (const NumberLocale& l : kLocales) {
    if (l.lcid == lcid) return &l;
  }
  return nullptr;
}

const NumberLocale* findNumberLocale(std::u16string_view name) noexcept {
  while (!name.empty() && name.front() == u' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
  for (const NumberLocale& l : kLocales) {
    // A language alone ("de") names its first country in the table.
    if (sameName(name, l.name) || sameName(name, l.name.substr(0, 2))) return &l;
  }
  return nullptr;
}

bool setCurrentLcid(std::int32_t lcid) noexcept {
  const NumberLocale* l = findNumberLocale(lcid == 0 ? kInvariantLcid : lcid);
  if (!l) return false;
  tCurrent = l;
  return true;
}

ScopedNumberLocale::ScopedNumberLocale(std::int32_t lcid) noexcept
    : previous_(currentNumberLocale().lcid) {
  setCurrentLcid(lcid);
}

ScopedNumberLocale::~ScopedNumberLocale() {
  setCurrentLcid(previous_);
}

}  // namespace vantorel
