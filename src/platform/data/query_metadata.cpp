#include "platform/data/query_metadata.hpp"

#include <algorithm>
#include <limits>

#include "platform/data/data_error.hpp"
#include "platform/data/read_only_transaction.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data {

namespace {

std::int32_t clampSize(SQLLEN size) {
  if (size < 0) return 0;
  return static_cast<std::int32_t>(
      std::min<SQLLEN>(size, std::numeric_limits<std::int32_t>::max()));
}

bool isDateOrTime(AdoType type) {
  return type == AdoType::DBDate || type == AdoType::DBTime || type == AdoType::DBTimeStamp;
}

// Skips blanks, "--" and "/* */" comments and opening parentheses.
std::size_t skipLead(std::u16string_view sql) {
  std::size_t i = 0;
  while (i < sql.size()) {
    if (isBlank(sql[i]) || sql[i] == u'(') {
      ++i;
    } else if (sql.substr(i, 2) == u"--") {
      const std::size_t end = sql.find(u'\n', i);
      i = end == std::u16string_view::npos ? sql.size() : end + 1;
    } else if (sql.substr(i, 2) == u"/*") {
      const std::size_t end = sql.find(u"*/", i + 2);
      i = end == std::u16string_view::npos ? sql.size() : end + 2;
    } else {
      break;
    }
  }
  return i;
}

bool startsWithWord(std::u16string_view text, std::u16string_view word) {
  if (!startsWithNoCase(text, word)) return false;
  if (text.size() == word.size()) return true;
  const char16_t next = text[word.size()];
  return !(next == u'_' || (next >= u'0' && next <= u'9') || (next >= u'a' && next <= u'z') ||
           (next >= u'A' && next <= u'Z'));
}

}  // namespace

bool isQueryText(std::u16string_view sql) {
  const std::u16string_view rest = sql.substr(skipLead(sql));
  return startsWithWord(rest, u"SELECT") || startsWithWord(rest, u"WITH");
}

std::vector<FieldDescription> describeResult(Statement& statement) {
  const std::vector<ColumnInfo>& columns = statement.columns();
  std::vector<FieldDescription> fields;
  fields.reserve(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const ColumnInfo& column = columns[i];
    const auto n = static_cast<SQLUSMALLINT>(i + 1);
    FieldDescription f;
    f.name = column.name;
    f.sqlType = column.sqlType;
    f.typeName = statement.textAttribute(n, SQL_DESC_TYPE_NAME);
    f.isUnsigned = statement.numericAttribute(n, SQL_DESC_UNSIGNED) == SQL_TRUE;
    f.autoIncrement = statement.numericAttribute(n, SQL_DESC_AUTO_UNIQUE_VALUE) == SQL_TRUE;
    const SQLLEN updatable = statement.numericAttribute(n, SQL_DESC_UPDATABLE);
    const AdoTypeInfo ado = adoTypeOf(column.sqlType, f.isUnsigned);
    f.type = ado.type;
    f.definedSize =
        ado.fixedSize > 0 ? ado.fixedSize : clampSize(static_cast<SQLLEN>(column.columnSize));
    f.octetLength = clampSize(statement.numericAttribute(n, SQL_DESC_OCTET_LENGTH));
    if (ado.isNumeric || isDateOrTime(ado.type))
      f.precision = clampSize(static_cast<SQLLEN>(column.columnSize));
    f.scale = std::max<std::int32_t>(column.decimalDigits, 0);
    f.nullable = column.nullable != SQL_NO_NULLS;
    f.updatable = updatable == SQL_ATTR_WRITE;
    f.attributes = adoAttributes(ado, column.nullable, updatable);
    f.baseCatalog = statement.textAttribute(n, SQL_DESC_CATALOG_NAME);
    f.baseSchema = statement.textAttribute(n, SQL_DESC_SCHEMA_NAME);
    f.baseTable = statement.textAttribute(n, SQL_DESC_BASE_TABLE_NAME);
    f.baseColumn = statement.textAttribute(n, SQL_DESC_BASE_COLUMN_NAME);
    fields.push_back(std::move(f));
  }
  return fields;
}

std::vector<FieldDescription> describeQuery(Connection& connection, std::u16string_view sql) {
  if (!isQueryText(sql)) {
    throw DataError({}, u"Only a SELECT or WITH query can describe its columns.");
  }
  // A driver may run a statement to describe it; whatever runs here can change nothing.
  ReadOnlyTransaction transaction(connection);
  Statement statement(connection);
  statement.prepare(sql);
  if (statement.columnCount() > 0) return describeResult(statement);
  // Where preparing tells no columns, the text runs only as a derived table that gives no row:
  // no server takes a statement that changes data there, and nothing can follow its end.
  Statement probe(connection);
  probe.prepare(u"SELECT * FROM (\n" + std::u16string(sql) + u"\n) q WHERE 1 = 0");
  probe.execute();
  std::vector<FieldDescription> fields = describeResult(probe);
  probe.closeCursor();
  return fields;
}

}  // namespace vantorel::data
