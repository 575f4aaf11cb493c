#include "schema/snapshot_fields.hpp"

#include "database/dao_table_loader.hpp"
#include "database/mysql_fields.hpp"
#include "database/postgresql_fields.hpp"
#include "fields/field_types.hpp"
#include "fields/type_rules.hpp"
#include "foundation/field_kind.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kLongTextSize = 8000;

void setQuotes(AGSchemaField& fld, const char16_t* quote) {
  fld.FldQuoteS = quote;
  fld.FldQuoteE = quote;
}

void applyMySqlColumn(AGSchemaField& fld, const MySqlColumnType& column) {
  fld.FldTypeName = column.type;
  if (column.key == u"PRI") {
    fld.FldIsPrimaryKey = true;
  } else if (column.key == u"UNI") {
    fld.FldUniqueIdx = true;
  }
  if (column.list != MySqlColumnType::ValueList::None) fld.FldTagValues = column.tagValues;
}

void applyPgDefault(AGSchemaField& fld, const std::optional<std::u16string>& value) {
  if (value && !fld.FldAutoIncrement) fld.FldDefault = Variant(*value);
}

}  // namespace

void SetupADOFldType(AGSchemaField& fld, std::int16_t type, std::uint8_t precision) {
  fld.FldType = type;
  if (fld.FldTypeName.empty()) {
    fld.FldTypeName = toString(
        AdoTypeName(Variant(type), Variant(static_cast<std::int16_t>(precision))));
  }
  const AdoTypeRule rule = adoTypeRule(type);
  if (!rule.supported) return;
  fld.FldSupport = true;
  setQuotes(fld, *rule.quote == LiteralQuote::None ? u"" : u"'");
}

void SetupDAOFldType(AGSchemaField& fld, std::int16_t type) {
  const DaoTypeRule rule = daoTypeRule(type);
  fld.FldType = rule.adoType;
  fld.FldSupport = rule.supported;
  if (rule.quote) setQuotes(fld, rule.quote);
}

std::int32_t GetDAOFldAttributes(const DaoFieldDefinition& f) { return daoFieldAttributes(f); }

bool InArray(const std::vector<std::u16string>& arr, std::u16string_view value) {
  for (std::size_t i = 1; i < arr.size(); ++i) {
    if (arr[i] == value) return true;
  }
  return false;
}

void readAdoColumn(AGSchemaField& fld, const ColumnDescription& c, std::int16_t kind,
                   bool withExtras) {
  const AdoFieldDefinition d = adoFieldDefinition(c.column);
  fld.FldName = d.Name;
  SetupADOFldType(fld, d.Type, d.Precision);
  fld.FldSize = d.DefinedSize;
  fld.FldZeroLen = true;
  fld.FldReq = false;
  fld.FldUniqueIdx = false;
  fld.FldAttribute = d.Attributes;
  fld.FldAutoIncrement = c.column.autoIncrement;
  if (withExtras) {
    if (c.mysql) applyMySqlColumn(fld, *c.mysql);
    if (c.rowGuid) fld.FldAutoIncrement = true;
    applyPgDefault(fld, c.pgDefault);
  }
  if (kind == kDbmsPostgreSql) {
    // PostgreSQL reports its unbounded text types as plain (var)char of a huge size, and its
    // driver leaves the updatable bit off for ordinary columns.
    if (fld.FldType == adoType::kVarChar && fld.FldSize > kLongTextSize) {
      fld.FldType = adoType::kLongVarChar;
    } else if (fld.FldType == adoType::kVarWChar && fld.FldSize > kLongTextSize) {
      fld.FldType = adoType::kLongVarWChar;
    }
    if (!fld.FldAutoIncrement) fld.FldAttribute |= kAdoFldUpdatable;
  }
}

void readDaoColumn(AGSchemaField& fld, const data::access::AccessColumn& column) {
  const DaoFieldDefinition f = daoFieldDefinition(column);
  fld.FldDefault = Variant(column.defaultValue);
  fld.FldZeroLen = f.AllowZeroLength;
  fld.FldReq = f.Required;
  fld.FldName = f.Name;
  SetupDAOFldType(fld, f.Type);
  fld.FldSize = f.Size;
  fld.FldUniqueIdx = false;
  fld.FldAttribute = GetDAOFldAttributes(f);
  fld.FldIsPrimaryKey = false;
  fld.FldAutoIncrement = (f.Attributes & kDaoAutoIncrField) == kDaoAutoIncrField;
  if (f.Caption && !f.Caption->empty()) fld.FldCaption = *f.Caption;
}

void LoadFieldTypeNames(AGSchemaTable& tbl, const std::vector<PgMetadataField>& columns) {
  for (const PgMetadataField& column : columns) {
    for (std::int16_t j = 1; j <= tbl.TblFldCnt; ++j) {
      AGSchemaField& fld = tbl.TblFields.fld[static_cast<std::size_t>(j)];
      if (fld.FldName != column.Name) continue;
      fld.FldTypeName = column.DataTypeName;
      if (unsupportedPgType(column.DataTypeName)) fld.FldSupport = false;
    }
  }
}

void setTableKey(AGSchemaTable& tbl) {
  std::vector<std::u16string> names;
  for (std::int16_t j = 1; j <= tbl.TblFldCnt; ++j) {
    const AGSchemaField& fld = tbl.TblFields.fld[static_cast<std::size_t>(j)];
    if (fld.FldIsPrimaryKey) names.push_back(fld.FldName);
  }
  tbl.TblKey = toString(SortLines(Variant(join(names, u"\r\n"))));
}

void AGPSchema::SetupMySQLFld(AGSchemaField& fld, const data::QueryResult& rs,
                              std::u16string_view sFldName) const {
  if (const std::optional<MySqlColumnType> column = mySqlColumnType(rs, sFldName)) {
    applyMySqlColumn(fld, *column);
  }
}

std::u16string AGPSchema::MySQLTagValues(std::u16string_view str) {
  return vantorel::MySQLTagValues(str);
}

void AGPSchema::SetupPostgreSqlFld(AGSchemaField& fld, const data::QueryResult& rs,
                                   std::u16string_view sFldName) const {
  applyPgDefault(fld, postgreSqlColumnDefault(rs, sFldName));
}

}  // namespace vantorel
