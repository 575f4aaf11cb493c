#include "foundation/value_format.hpp"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

std::u16string padded(int value, int width) {
  return toString(PadZero(Variant(static_cast<std::int32_t>(value)),
                          Variant(static_cast<std::int32_t>(width))));
}

}  // namespace

Variant FormatDateStamp(const Variant& value) {
  try {
    std::optional<double> date;
    if (value.type() == VarType::Date) {
      date = value.dateValue();
    } else if (value.isString()) {
      date = parseDate(value.stringValue());
    }
    if (!date) return Variant(toString(value));
    const DateParts p = splitDate(*date);
    return Variant(padded(p.year, 4) + u"/" + padded(p.month, 2) + u"/" + padded(p.day, 2) + u" " +
                   padded(p.hour, 2) + u":" + padded(p.minute, 2) + u":" + padded(p.second, 2));
  } catch (const std::exception&) {
    return value;
  }
}

Variant PadZero(const Variant& value, const Variant& width) {
  std::u16string text = toString(value);
  const std::int32_t w = toLong(width);
  if (static_cast<std::int64_t>(text.size()) > w) raiseVbError(vberr::kInvalidProcedureCall);
  return Variant(std::u16string(static_cast<std::size_t>(w) - text.size(), u'0') + text);
}

std::int16_t GetPercent(std::int32_t current, std::int32_t total) {
  if (total == 0) total = 1;
  const double share = static_cast<double>(std::min(current, total)) / total * 100.0;
  return toInteger(Variant(share));
}

Variant SortLines(const Variant& list) {
  const std::u16string text = toString(list);
  if (trimBlanks(text).empty()) return Variant(std::u16string());
  std::vector<std::u16string> entries = split(text, u"\r\n");
  // An exchange sort that trims only the entries it moves: entries that stay keep their blanks.
  for (std::size_t i = entries.size() - 1; i-- > 0;) {
    for (std::size_t j = 0; j <= i; ++j) {
      if (compareOrdinal(trimBlanks(entries[j]), trimBlanks(entries[j + 1])) > 0) {
        std::u16string a(trimBlanks(entries[j + 1]));
        std::u16string b(trimBlanks(entries[j]));
        entries[j] = std::move(a);
        entries[j + 1] = std::move(b);
      }
    }
  }
  return Variant(join(entries, u"\r\n"));
}

}  // namespace vantorel
