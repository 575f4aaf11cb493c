#include "platform/data/statement.hpp"

#include <charconv>
#include <limits>
#include <optional>
#include <string>

#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/data_error.hpp"
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
std::optional<Decimal> parseExact(std::u16string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  UInt128 magnitude = 0;
  int digits = 0;
  int scale = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.' && !point) {
      point = true;
      continue;
    }
    if (c < u'0' || c > u'9') return std::nullopt;
    if (digits == 0 && c == u'0' && !point) continue;
    if (++digits > 28) return std::nullopt;
    magnitude = magnitude * 10 + static_cast<unsigned>(c - u'0');
    if (point) ++scale;
  }
  if (scale > Decimal::kMaxScale || (magnitude >> 96) != 0) return std::nullopt;
  return Decimal::fromMagnitude(magnitude, static_cast<std::uint8_t>(scale), negative);
}

Variant numericVariant(const std::u16string& text) {
  if (const auto exact = parseExact(text)) return Variant(*exact);
  const std::string narrow = toUtf8(text);
  double value = 0;
  const auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (ec == std::errc() && end == narrow.data() + narrow.size()) return Variant(value);
  return Variant(text);
}

Variant dateVariant(int year, int month, int day, int hour, int minute, int second,
                    const std::u16string& fallback) {
  if (const auto date = makeDate(year, month, day, hour, minute, second)) {
    return Variant::date(*date);
  }
  return Variant(fallback);
}

}  // namespace

Statement::Statement(const Connection& connection)
    : dbc_(connection.handle()), stmt_(SQL_HANDLE_STMT, connection.handle()) {}

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
    name.resize(
        std::min(name.size() - 1, static_cast<std::size_t>(std::max<SQLSMALLINT>(nameLength, 0))));
    // The driver manager gives the byte count of a name it converted from UTF-8.
    if (const auto nul = name.find(u'\0'); nul != std::u16string::npos) name.resize(nul);
    info.name = std::move(name);
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
  value.resize(
      std::min(value.size() - 1,
               static_cast<std::size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR)));
  if (const auto nul = value.find(u'\0'); nul != std::u16string::npos) value.resize(nul);
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
        truncated ? chunk.size() - 1 : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
    text.append(chunk, 0, units);
    if (!truncated) break;
  }
  return text;
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
  const SQLSMALLINT type =
      column >= 1 && column <= info.size() ? info[column - 1].sqlType : SQL_WVARCHAR;
  SQLLEN indicator = 0;
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
      std::int64_t v = 0;
      const SQLRETURN rc = SQLGetData(stmt_.get(), column, SQL_C_SBIGINT, &v, 0, &indicator);
      if (succeeded(rc)) return indicator == SQL_NULL_DATA ? Variant::null() : integerVariant(v);
      // An unsigned BIGINT beyond the signed range: read it as text.
      break;
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
      bool isNull = false;
      const std::u16string text = textValue(column, isNull);
      return isNull ? Variant::null() : numericVariant(text);
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP: {
      SQL_TIMESTAMP_STRUCT ts{};
      check(SQLGetData(stmt_.get(), column, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator),
            u"a value cannot be read");
      if (indicator == SQL_NULL_DATA) return Variant::null();
      return dateVariant(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second,
                         fromAscii(std::to_string(ts.year) + "-" + std::to_string(ts.month) + "-" +
                                   std::to_string(ts.day)));
    }
    case SQL_TYPE_TIME: {
      SQL_TIME_STRUCT t{};
      check(SQLGetData(stmt_.get(), column, SQL_C_TYPE_TIME, &t, sizeof t, &indicator),
            u"a value cannot be read");
      if (indicator == SQL_NULL_DATA) return Variant::null();
      return dateVariant(1899, 12, 30, t.hour, t.minute, t.second, u"");
    }
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return binaryValue(column);
    default:
      break;
  }
  bool isNull = false;
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
