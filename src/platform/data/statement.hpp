#pragma once
// One ODBC statement on a connection: run or prepare a text, bind parameters, describe the
// result's columns and read its rows as Variants.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.hpp"
#include "platform/data/connection.hpp"

namespace vantorel::data {

struct ColumnInfo {
  std::u16string name;
  SQLSMALLINT sqlType = 0;  // SQL_WVARCHAR, SQL_INTEGER, ...
  SQLULEN columnSize = 0;
  SQLSMALLINT decimalDigits = 0;
  SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
  // Asked of BIGINT columns only: the narrower integers fit a signed 64-bit read either way.
  bool isUnsigned = false;
};

class Statement {
 public:
  explicit Statement(const Connection& connection);

  void execDirect(std::u16string_view sql);
  void prepare(std::u16string_view sql);
  // Binds the values to the markers in order: strings as wide text, numbers and Booleans as
  // themselves, Null and Empty as NULL, anything else as its text.
  void bindParameters(const std::vector<Variant>& values);
  void execute();

  SQLSMALLINT columnCount();
  // The result's columns, described on first use after the statement was prepared or run.
  const std::vector<ColumnInfo>& columns();
  SQLLEN numericAttribute(SQLUSMALLINT column, SQLUSMALLINT field);
  std::u16string textAttribute(SQLUSMALLINT column, SQLUSMALLINT field);

  bool fetch();
  // The column's value in the current row (columns from 1, read in increasing order).
  Variant value(SQLUSMALLINT column);
  void closeCursor() noexcept;

  SQLHSTMT handle() const noexcept { return stmt_.get(); }
  // The code page in which character data goes to and from the driver, as SQL_C_CHAR; 0 where
  // it goes as wide text. Not 0 for MariaDB's driver (see the constructor): a caller that binds
  // its own text parameters binds encodeText(text) as SQL_C_CHAR there.
  int textCodePage() const noexcept { return textCodePage_; }
  std::string encodeText(std::u16string_view text) const;
  void check(SQLRETURN rc, std::u16string_view fallback) const;

 private:
  struct Parameter {
    std::u16string text;
    std::string bytes;  // the text in textCodePage(), where the driver is given that
    std::int64_t integer = 0;
    double real = 0;
    SQLLEN indicator = 0;
  };

  std::u16string textValue(SQLUSMALLINT column, bool& isNull);
  std::u16string byteTextValue(SQLUSMALLINT column, bool& isNull);
  Variant binaryValue(SQLUSMALLINT column);

  SQLHDBC dbc_;
  OdbcHandle stmt_;
  int textCodePage_ = 0;
  std::vector<Parameter> parameters_;
  std::vector<ColumnInfo> columns_;
  bool described_ = false;
};

// The length in units of a wide text a driver wrote into the buffer (its last unit kept for the
// terminator), given the length the driver reported: the terminator decides where the count
// falls short of it.
std::size_t wideTextLength(std::u16string_view buffer, std::size_t reportedUnits) noexcept;

// Text of a column read as a string; empty for Null.
std::u16string textOf(const Variant& value);
// An integer column; the fallback for Null or non-numbers.
std::int32_t integerOf(const Variant& value, std::int32_t fallback = 0);

}  // namespace vantorel::data
