#include <gtest/gtest.h>

#include "platform/data/ado_types.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query_metadata.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data {
namespace {

TEST(AdoTypes, SqlTypesTranslateToTheAdoCodes) {
  struct Case {
    SQLSMALLINT sqlType;
    bool isUnsigned;
    AdoType type;
    std::int32_t fixedSize;
  } cases[] = {
      {SQL_CHAR, false, AdoType::Char, 0},
      {SQL_VARCHAR, false, AdoType::VarChar, 0},
      {SQL_LONGVARCHAR, false, AdoType::LongVarChar, 0},
      {SQL_WCHAR, false, AdoType::WChar, 0},
      {SQL_WVARCHAR, true, AdoType::VarWChar, 0},
      {SQL_WLONGVARCHAR, false, AdoType::LongVarWChar, 0},
      {SQL_DECIMAL, false, AdoType::Numeric, 19},
      {SQL_NUMERIC, false, AdoType::Numeric, 19},
      {SQL_BIT, false, AdoType::Boolean, 2},
      {SQL_TINYINT, false, AdoType::TinyInt, 1},
      {SQL_TINYINT, true, AdoType::UnsignedTinyInt, 1},
      {SQL_SMALLINT, false, AdoType::SmallInt, 2},
      {SQL_SMALLINT, true, AdoType::UnsignedSmallInt, 2},
      {SQL_INTEGER, false, AdoType::Integer, 4},
      {SQL_INTEGER, true, AdoType::UnsignedInt, 4},
      {SQL_BIGINT, false, AdoType::BigInt, 8},
      {SQL_BIGINT, true, AdoType::UnsignedBigInt, 8},
      {SQL_REAL, false, AdoType::Single, 4},
      {SQL_FLOAT, false, AdoType::Double, 8},
      {SQL_DOUBLE, true, AdoType::Double, 8},
      {SQL_BINARY, false, AdoType::Binary, 0},
      {SQL_VARBINARY, false, AdoType::VarBinary, 0},
      {SQL_LONGVARBINARY, false, AdoType::LongVarBinary, 0},
      {SQL_TYPE_DATE, false, AdoType::DBDate, 6},
      {SQL_TYPE_TIME, false, AdoType::DBTime, 6},
      {SQL_TYPE_TIMESTAMP, false, AdoType::DBTimeStamp, 16},
      {SQL_GUID, false, AdoType::Guid, 16},
      {SQL_INTERVAL_DAY, false, AdoType::VarWChar, 0},
  };
  for (const Case& c : cases) {
    const AdoTypeInfo info = adoTypeOf(c.sqlType, c.isUnsigned);
    EXPECT_EQ(info.type, c.type) << c.sqlType;
    EXPECT_EQ(info.fixedSize, c.fixedSize) << c.sqlType;
  }
}

TEST(AdoTypes, AttributesFollowNullabilityUpdatabilityAndLength) {
  struct Case {
    SQLLEN nullable;
    SQLLEN updatable;
    SQLSMALLINT sqlType;
    std::int32_t bits;
  } cases[] = {
      {SQL_NO_NULLS, SQL_ATTR_WRITE, SQL_INTEGER, kAdFldFixed | kAdFldUpdatable},
      {SQL_NULLABLE, SQL_ATTR_READONLY, SQL_WVARCHAR, kAdFldIsNullable | kAdFldMayBeNull},
      {SQL_NULLABLE_UNKNOWN, SQL_ATTR_READWRITE_UNKNOWN, SQL_WCHAR,
       kAdFldFixed | kAdFldMayBeNull | kAdFldUnknownUpdatable},
      {SQL_NO_NULLS, SQL_ATTR_WRITE, SQL_WLONGVARCHAR,
       kAdFldLong | kAdFldMayDefer | kAdFldUpdatable},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(adoAttributes(adoTypeOf(c.sqlType, false), c.nullable, c.updatable), c.bits)
        << c.sqlType;
  }
}

TEST(AdoTypes, OnlySelectAndWithTextsAreQueries) {
  struct Case {
    std::u16string sql;
    bool query;
  } cases[] = {
      {u"SELECT 1", true},
      {u"  select * from t", true},
      {u"(SELECT a FROM t) UNION (SELECT b FROM u)", true},
      {u"-- note\n/* more */ WITH x AS (SELECT 1) SELECT * FROM x", true},
      {u"SELECTED", false},
      {u"DELETE FROM t", false},
      {u"/* SELECT */ DROP TABLE t", false},
      {u"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isQueryText(c.sql), c.query) << toUtf8(c.sql);
}

TEST(AdoTypes, RefusedLoginsAreClassifiedBySqlState) {
  struct Case {
    std::u16string state;
    std::u16string message;
    FailureKind kind;
    std::int32_t native = 1;
  } cases[] = {
      {u"28000", u"Access denied for user", FailureKind::LoginRefused},
      {u"HY000", u"Access denied for user", FailureKind::LoginRefused, 1045},
      {u"08001", u"FATAL: password authentication failed for user", FailureKind::LoginRefused},
      {u"08001", u"fe_sendauth: no password supplied", FailureKind::LoginRefused},
      {u"08001", u"could not connect to server", FailureKind::ConnectionLost},
      {u"08S01", u"Lost connection to server during query", FailureKind::ConnectionLost},
      // An unknown data source is no refused login: the provider's lines say what is wrong.
      {u"IM002", u"Data source name not found", FailureKind::Other},
      {u"42S02", u"Table doesn't exist", FailureKind::Other},
      {u"42000", u"SELECT command denied to user", FailureKind::Other, 1142},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(classifyFailure({{c.state, c.native, c.message}}), c.kind) << toUtf8(c.message);
  }
  // A server that ended the session in its own words: the driver's view decides.
  EXPECT_TRUE(DataError({{u"57P01", 35, u"terminating connection"}}, u"", true).connectionLost());
  EXPECT_FALSE(DataError({{u"57P01", 35, u"terminating connection"}}, u"").connectionLost());
  EXPECT_TRUE(DataError({{u"28000", 1045, u"denied"}}, u"", true).loginRefused());
  const DataError error({{u"28000", 1045, u"Access denied"}, {u"01000", 0, u"note"}}, u"unused");
  EXPECT_EQ(error.number(), kLoginRefused);
  EXPECT_EQ(error.description(),
            u"SQLSTATE 28000, native error 1045: Access denied\r\nSQLSTATE 01000, native error "
            u"0: note");
  EXPECT_EQ(DataError({}, u"fallback").description(), u"fallback");
}

}  // namespace
}  // namespace vantorel::data
