#include "platform/data/statement.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/data_error.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data {

namespace {

constexpr std::size_t kChunkUnits = 2048;

Variant integerVariant(std::int64_t v) {
  if (v >= std::numeric_limits<std::int16_t>::min() &&
      v <= std::numeric_limits<std::int16_t>::max()) {
    return Variant(static_cast<std::int16_t>(v));
  }
  if (v >= std::numeric_limits<std::int32_t>::min() &&
      v <= std::numeric_limits<std::int32_t>::max()) {
    return Variant(static_cast<std::int32_t>(v));
  }
  const bool negative = v < 0;
  const UInt128 magnitude = negative ? static_cast<UInt128>(-(v + 1)) + 1 : static_cast<UInt128>(v);
  return Variant(Decimal::fromMagnitude(magnitude, 0, negative));
}

// Drivers send exact numbers as plain "-123.4500"; they become Decimals, whatever the locale.
// Nothing when the text is no such number. A plain number a Decimal cannot hold exactly (more
// digits than 96 bits, a finer scale than 28) sets tooLong instead.
std::optional<Decimal> parseExact(std::u16string_view text, bool& tooLong) {
  tooLong = false;
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  std::u16string digits;  // from the first nonzero one
  int scale = 0;
  bool point = false;
  bool any = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.' && !point) {
      point = true;
      continue;
    }
    if (c < u'0' || c > u'9') return std::nullopt;
    any = true;
    if (point) ++scale;
    if (digits.empty() && c == u'0') continue;
    digits.push_back(c);
  }
  if (!any) return std::nullopt;
  // Zeros that end the fraction carry no value; they go only when the rest would not fit.
  while ((digits.size() > 29 || scale > Decimal::kMaxScale) && scale > 0 && !digits.empty() &&
         digits.back() == u'0') {
    digits.pop_back();
    --scale;
  }
  if (digits.size() > 29 || scale > Decimal::kMaxScale) {
    tooLong = true;
    return std::nullopt;
  }
  UInt128 magnitude = 0;
  for (const char16_t c : digits) magnitude = magnitude * 10 + static_cast<unsigned>(c - u'0');
  if ((magnitude >> 96) != 0) {
    tooLong = true;
    return std::nullopt;
  }
  return Decimal::fromMagnitude(magnitude, static_cast<std::uint8_t>(scale), negative);
}

Variant numericVariant(const std::u16string& text) {
  bool tooLong = false;
  if (const auto exact = parseExact(text, tooLong)) return Variant(*exact);
  // Beyond a Decimal the driver's text is the only exact form left.
  if (tooLong) return Variant(text);
  // "NaN", "Infinity" and exponent forms.
  const std::string narrow = toUtf8(text);
  double value = 0;
  const auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (ec == std::errc() && end == narrow.data() + narrow.size()) return Variant(value);
  return Variant(text);
}

// An integer the driver gave as text: the same Variant a signed read gives where it fits.
Variant integerTextVariant(const std::u16string& text) {
  bool tooLong = false;
  const auto exact = parseExact(text, tooLong);
  if (!exact || exact->scale != 0) return numericVariant(text);
  const UInt128 magnitude = exact->magnitude();
  constexpr auto kMax = static_cast<UInt128>(std::numeric_limits<std::int64_t>::max());
  if (magnitude <= kMax) {
    const auto v = static_cast<std::int64_t>(magnitude);
    return integerVariant(exact->negative ? -v : v);
  }
  return Variant(*exact);
}

// Reads fixed-width digits at text[i...]; false when any is not a digit.
bool readDigits(std::u16string_view text, std::size_t& i, std::size_t count, int& out) {
  if (i + count > text.size()) return false;
  out = 0;
  for (std::size_t end = i + count; i < end; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    out = out * 10 + (text[i] - u'0');
  }
  return true;
}

// "HH:MM[:SS][.fraction]" from text[i] to its end, the hour of one or two digits. A fraction
// of zeros is no fraction; any other one, or a part out of a day's range, is refused.
bool readTimeOfDay(std::u16string_view text, std::size_t i, int& hour, int& minute, int& second) {
  const std::size_t colon = text.find(u':', i);
  if (colon == std::u16string_view::npos || colon - i < 1 || colon - i > 2) return false;
  if (!readDigits(text, i, colon - i, hour) || !readDigits(text, ++i, 2, minute)) return false;
  second = 0;
  if (i < text.size() && text[i] == u':' && !readDigits(text, ++i, 2, second)) return false;
  if (i < text.size() && text[i] == u'.') {
    if (++i == text.size()) return false;
    for (; i < text.size(); ++i) {
      if (text[i] != u'0') return false;
    }
  }
  return i == text.size() && hour <= 23 && minute <= 59 && second <= 59;
}

// Dates and times come as the server's text, so that what a Date cannot hold stays exact: a
// fraction of a second, MariaDB's TIME of 838 hours or below zero, a year before 100, MariaDB's
// zero date. Plain values become Dates as a driver's own conversion made them.
Variant dateTimeVariant(std::u16string text, bool timeOnly) {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  std::size_t i = 0;
  bool plain;
  if (timeOnly) {
    plain = readTimeOfDay(text, 0, hour, minute, second);
  } else {
    plain = readDigits(text, i, 4, year) && i < text.size() && text[i] == u'-' &&
            readDigits(text, ++i, 2, month) && i < text.size() && text[i] == u'-' &&
            readDigits(text, ++i, 2, day);
    if (plain && i < text.size()) {
      // SQLite keeps whatever text it was given; ISO 8601's "T" is the common other form.
      plain =
          (text[i] == u' ' || text[i] == u'T') && readTimeOfDay(text, i + 1, hour, minute, second);
    }
  }
  if (plain) {
    if (const auto date = makeDate(year, month, day, hour, minute, second)) {
      return Variant::date(*date);
    }
  }
  return Variant(std::move(text));
}

}  // namespace

std::size_t wideTextLength(std::u16string_view buffer, std::size_t reportedUnits) noexcept {
  if (buffer.empty()) return 0;
  const std::size_t capacity = buffer.size() - 1;
  const std::size_t n = std::min(reportedUnits, capacity);
  if (buffer[n] == u'\0') return n;
  // The count fell short of the text: MariaDB Connector/ODBC 3.1 counts a unit whose low byte
  // is 0xD8..0xDB ("Ø", "Ù", many CJK letters) as a surrogate pair's lead and swallows the next.
  // NUL units inside the count are kept: a value may hold them, as one that driver wrote does.
  const std::size_t nul = buffer.find(u'\0', n);
  return nul == std::u16string_view::npos ? capacity : nul;
}

Statement::Statement(const Connection& connection)
    : dbc_(connection.handle()), stmt_(SQL_HANDLE_STMT, connection.handle()) {
  // MariaDB Connector/ODBC 3.1 miscounts the wide text it converts (see wideTextLength): it
  // reads values short, cuts long ones without a word when the result holds long values, and
  // stores a NUL or worse after a wide parameter. The bytes of its connection's character set
  // come with exact counts. Its "collation sequence" names that set, asked of the driver alone.
  if (!containsNoCase(connection.properties().driverName, u"maodbc")) return;
  const std::u16string collation = connection.infoText(SQL_COLLATION_SEQ);
  if (startsWithNoCase(collation, u"utf8")) {
    textCodePage_ = kCodePageUtf8;
  } else if (startsWithNoCase(collation, u"latin1_")) {
    // MariaDB's latin1 is Windows-1252, the five bytes it leaves free included.
    textCodePage_ = kCodePageWindows1252;
  }
}

std::string Statement::encodeText(std::u16string_view text) const {
  return textCodePage_ == kCodePageUtf8 ? toUtf8(text) : encodeCodePage(text, textCodePage_);
}

void Statement::check(SQLRETURN rc, std::u16string_view fallback) const {
  if (succeeded(rc) || rc == SQL_NO_DATA) return;
  std::vector<DiagRecord> records = readDiagnostics(SQL_HANDLE_STMT, stmt_.get());
  // A server that ended the session says so in its own words (PostgreSQL's 57P01, say): the
  // driver's view of the connection decides whether anything more can be read.
  throw DataError(std::move(records), fallback, connectionDead(dbc_));
}

void Statement::execDirect(std::u16string_view sql) {
  std::u16string text(sql);
  described_ = false;
  const SQLRETURN rc =
      SQLExecDirectW(stmt_.get(), sqlText(text), static_cast<SQLINTEGER>(text.size()));
  // A statement that touches no row answers SQL_NO_DATA; that is no failure.
  check(rc, u"the statement failed");
}

void Statement::prepare(std::u16string_view sql) {
  std::u16string text(sql);
  described_ = false;
  check(SQLPrepareW(stmt_.get(), sqlText(text), static_cast<SQLINTEGER>(text.size())),
        u"the statement cannot be prepared");
}

void Statement::bindParameters(const std::vector<Variant>& values) {
  SQLFreeStmt(stmt_.get(), SQL_RESET_PARAMS);
  // Sized once: the driver keeps pointers into these buffers until the statement runs.
  parameters_.assign(values.size(), Parameter{});
  for (std::size_t i = 0; i < values.size(); ++i) {
    const Variant& v = values[i];
    Parameter& p = parameters_[i];
    const auto number = static_cast<SQLUSMALLINT>(i + 1);
    SQLRETURN rc;
    switch (v.type()) {
      case VarType::Byte:
      case VarType::Integer:
      case VarType::Long:
      case VarType::Boolean:
        p.integer = v.type() == VarType::Boolean ? (v.boolValue() ? 1 : 0) : toLong(v);
        rc = SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                              &p.integer, 0, &p.indicator);
        break;
      case VarType::Single:
      case VarType::Double:
        p.real = toDouble(v);
        rc = SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                              &p.real, 0, &p.indicator);
        break;
      default: {
        const bool isNull = v.isNull() || v.isEmpty();
        if (!isNull) p.text = v.isString() ? v.stringValue() : toString(v);
        if (textCodePage_ != 0) {
          // MariaDB's driver reads a wide parameter one unit past its end for each unit it
          // miscounts (see wideTextLength) and stores a NUL or worse after the text.
          p.bytes = encodeText(p.text);
          p.indicator = isNull ? SQL_NULL_DATA : static_cast<SQLLEN>(p.bytes.size());
          rc = SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                std::max<SQLULEN>(p.bytes.size(), 1), 0, p.bytes.data(),
                                static_cast<SQLLEN>(p.bytes.size()), &p.indicator);
          break;
        }
        p.indicator =
            isNull ? SQL_NULL_DATA : static_cast<SQLLEN>(p.text.size() * sizeof(SQLWCHAR));
        rc = SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                              std::max<SQLULEN>(p.text.size(), 1), 0, sqlText(p.text),
                              static_cast<SQLLEN>(p.text.size() * sizeof(SQLWCHAR)), &p.indicator);
        break;
      }
    }
    check(rc, u"a parameter cannot be bound");
  }
}

void Statement::execute() {
  described_ = false;
  check(SQLExecute(stmt_.get()), u"the statement failed");
}

SQLSMALLINT Statement::columnCount() {
  SQLSMALLINT count = 0;
  check(SQLNumResultCols(stmt_.get(), &count), u"the result cannot be described");
  return count;
}

const std::vector<ColumnInfo>& Statement::columns() {
  if (described_) return columns_;
  columns_.clear();
  const SQLSMALLINT count = columnCount();
  for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
    std::u16string name(256, u'\0');
    SQLSMALLINT nameLength = 0;
    ColumnInfo info;
    SQLRETURN rc = SQLDescribeColW(
        stmt_.get(), i, sqlText(name), static_cast<SQLSMALLINT>(name.size()), &nameLength,
        &info.sqlType, &info.columnSize, &info.decimalDigits, &info.nullable);
    if (rc == SQL_SUCCESS_WITH_INFO && static_cast<std::size_t>(nameLength) >= name.size()) {
      name.assign(static_cast<std::size_t>(nameLength) + 1, u'\0');
      rc = SQLDescribeColW(stmt_.get(), i, sqlText(name), static_cast<SQLSMALLINT>(name.size()),
                           &nameLength, &info.sqlType, &info.columnSize, &info.decimalDigits,
                           &info.nullable);
    }
    check(rc, u"a result column cannot be described");
    // A name holds no NUL, so its terminator ends it: the driver manager gives the byte count
    // of a name it converted from UTF-8, and MariaDB's driver counts short (see wideTextLength).
    name.resize(std::min(name.find(u'\0'), name.size() - 1));
    info.name = std::move(name);
    if (info.sqlType == SQL_BIGINT) info.isUnsigned = numericAttribute(i, SQL_DESC_UNSIGNED) != 0;
    columns_.push_back(std::move(info));
  }
  described_ = true;
  return columns_;
}

SQLLEN Statement::numericAttribute(SQLUSMALLINT column, SQLUSMALLINT field) {
  SQLLEN value = 0;
  const SQLRETURN rc = SQLColAttributeW(stmt_.get(), column, field, nullptr, 0, nullptr, &value);
  return succeeded(rc) ? value : 0;
}

std::u16string Statement::textAttribute(SQLUSMALLINT column, SQLUSMALLINT field) {
  std::u16string value(256, u'\0');
  SQLSMALLINT bytes = 0;
  const SQLRETURN rc =
      SQLColAttributeW(stmt_.get(), column, field, sqlText(value),
                       static_cast<SQLSMALLINT>(value.size() * sizeof(SQLWCHAR)), &bytes, nullptr);
  if (!succeeded(rc)) return {};
  // Ended by its terminator, as a column's name is.
  value.resize(std::min(value.find(u'\0'), value.size() - 1));
  return value;
}

bool Statement::fetch() {
  const SQLRETURN rc = SQLFetch(stmt_.get());
  if (rc == SQL_NO_DATA) return false;
  check(rc, u"a row cannot be read");
  return true;
}

void Statement::closeCursor() noexcept {
  SQLFreeStmt(stmt_.get(), SQL_CLOSE);
}

std::u16string Statement::textValue(SQLUSMALLINT column, bool& isNull) {
  if (textCodePage_ != 0) return byteTextValue(column, isNull);
  std::u16string text;
  std::u16string chunk(kChunkUnits + 1, u'\0');
  isNull = false;
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        SQLGetData(stmt_.get(), column, SQL_C_WCHAR, sqlText(chunk),
                   static_cast<SQLLEN>(chunk.size() * sizeof(SQLWCHAR)), &indicator);
    if (rc == SQL_NO_DATA) break;
    check(rc, u"a value cannot be read");
    if (indicator == SQL_NULL_DATA) {
      isNull = true;
      return {};
    }
    // A truncated part fills the buffer but for its terminator.
    const bool truncated = rc == SQL_SUCCESS_WITH_INFO &&
                           (indicator == SQL_NO_TOTAL ||
                            static_cast<std::size_t>(indicator) >= chunk.size() * sizeof(SQLWCHAR));
    const std::size_t units =
        truncated ? chunk.size() - 1
                  : wideTextLength(chunk, static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR));
    text.append(chunk, 0, units);
    if (!truncated) break;
  }
  return text;
}

std::u16string Statement::byteTextValue(SQLUSMALLINT column, bool& isNull) {
  std::string bytes;
  // On the stack: values are read by the ten thousand (a catalogue, a row at a time), and a
  // buffer made for each would be allocated and cleared every time. The counts say what it holds.
  char chunk[kChunkUnits * 2 + 1];
  constexpr std::size_t kChunkBytes = sizeof chunk;
  isNull = false;
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(stmt_.get(), column, SQL_C_CHAR, chunk,
                                    static_cast<SQLLEN>(kChunkBytes), &indicator);
    if (rc == SQL_NO_DATA) break;
    check(rc, u"a value cannot be read");
    if (indicator == SQL_NULL_DATA) {
      isNull = true;
      return {};
    }
    const bool truncated =
        rc == SQL_SUCCESS_WITH_INFO &&
        (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) >= kChunkBytes);
    bytes.append(chunk, truncated ? kChunkBytes - 1 : static_cast<std::size_t>(indicator));
    if (!truncated) break;
  }
  // Decoded whole: a character may straddle two parts.
  return textCodePage_ == kCodePageUtf8 ? fromUtf8(bytes) : decodeCodePage(bytes, textCodePage_);
}

Variant Statement::binaryValue(SQLUSMALLINT column) {
  std::vector<Variant> bytes;
  std::vector<unsigned char> chunk(kChunkUnits);
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(stmt_.get(), column, SQL_C_BINARY, chunk.data(),
                                    static_cast<SQLLEN>(chunk.size()), &indicator);
    if (rc == SQL_NO_DATA) break;
    check(rc, u"a value cannot be read");
    if (indicator == SQL_NULL_DATA) return Variant::null();
    const bool truncated =
        rc == SQL_SUCCESS_WITH_INFO &&
        (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > chunk.size());
    const std::size_t count = truncated ? chunk.size() : static_cast<std::size_t>(indicator);
    for (std::size_t i = 0; i < count; ++i) bytes.emplace_back(static_cast<std::uint8_t>(chunk[i]));
    if (!truncated) break;
  }
  return Variant(SafeArray::fromValues(std::move(bytes), VarType::Byte));
}

Variant Statement::value(SQLUSMALLINT column) {
  const std::vector<ColumnInfo>& info = columns();
  const bool described = column >= 1 && column <= info.size();
  const SQLSMALLINT type = described ? info[column - 1].sqlType : SQL_WVARCHAR;
  SQLLEN indicator = 0;
  bool isNull = false;
  switch (type) {
    case SQL_BIT: {
      unsigned char bit = 0;
      check(SQLGetData(stmt_.get(), column, SQL_C_BIT, &bit, 0, &indicator),
            u"a value cannot be read");
      return indicator == SQL_NULL_DATA ? Variant::null() : Variant(bit != 0);
    }
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: {
      // MariaDB gives an unsigned BIGINT of 2^63 and more to a signed read as -1 or the
      // smallest Int64, without a word: those columns are read as text.
      if (!described || !info[column - 1].isUnsigned) {
        std::int64_t v = 0;
        const SQLRETURN rc = SQLGetData(stmt_.get(), column, SQL_C_SBIGINT, &v, 0, &indicator);
        if (succeeded(rc)) return indicator == SQL_NULL_DATA ? Variant::null() : integerVariant(v);
      }
      // Out of the signed range (a driver that says so): the text, unsigned or not.
      const std::u16string text = textValue(column, isNull);
      return isNull ? Variant::null() : integerTextVariant(text);
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
      double v = 0;
      check(SQLGetData(stmt_.get(), column, SQL_C_DOUBLE, &v, 0, &indicator),
            u"a value cannot be read");
      if (indicator == SQL_NULL_DATA) return Variant::null();
      return type == SQL_REAL ? Variant(static_cast<float>(v)) : Variant(v);
    }
    case SQL_DECIMAL:
    case SQL_NUMERIC: {
      const std::u16string text = textValue(column, isNull);
      return isNull ? Variant::null() : numericVariant(text);
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_TYPE_TIME: {
      std::u16string text = textValue(column, isNull);
      return isNull ? Variant::null() : dateTimeVariant(std::move(text), type == SQL_TYPE_TIME);
    }
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return binaryValue(column);
    default:
      break;
  }
  std::u16string text = textValue(column, isNull);
  return isNull ? Variant::null() : Variant(std::move(text));
}

std::u16string textOf(const Variant& value) {
  if (value.isNull() || value.isEmpty()) return {};
  return value.isString() ? value.stringValue() : toString(value);
}

std::int32_t integerOf(const Variant& value, std::int32_t fallback) {
  if (!value.isNumericType() && value.type() != VarType::Boolean) return fallback;
  try {
    return toLong(value);
  } catch (const AutomationError&) {
    return fallback;
  }
}

}  // namespace vantorel::data
