#pragma once
// The snapshot's own rules for a field record: the type, support and literal quotes of an ADO
// or DAO type, the attribute bits of a DAO column, and the reading of one described column.
// The type tables are the field model's, so a record and a loaded field agree; the quotes
// follow the snapshot (ADO date literals in "'", Access ones in "#").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/pg_metadata.hpp"
#include "database/table_description.hpp"
#include "fields/field_definition.hpp"
#include "platform/data/access_schema.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

void SetupADOFldType(AGSchemaField& fld, std::int16_t type, std::uint8_t precision);
void SetupDAOFldType(AGSchemaField& fld, std::int16_t type);
std::int32_t GetDAOFldAttributes(const DaoFieldDefinition& f);

// True when an element from index 1 on equals the value; element 0 is never compared.
bool InArray(const std::vector<std::u16string>& arr, std::u16string_view value);

// Record fld from a described column: the ADO import, then what the database's kind adds
// (withExtras: MySQL's SHOW FIELDS, SQL Server's row GUIDs and PostgreSQL's defaults, which a
// custom view's query does not have), then PostgreSQL's long text types and updatable bit.
void readAdoColumn(AGSchemaField& fld, const ColumnDescription& c, std::int16_t dbmsKind,
                   bool withExtras);

// Record fld from an Access column.
void readDaoColumn(AGSchemaField& fld, const data::access::AccessColumn& column);

// Gives the fields 1..TblFldCnt of the record PostgreSQL's type names, by exact name.
void LoadFieldTypeNames(AGSchemaTable& tbl, const std::vector<PgMetadataField>& columns);

// TblKey: the sorted names of the primary-key fields, CR LF separated.
void setTableKey(AGSchemaTable& tbl);

}  // namespace vantorel
