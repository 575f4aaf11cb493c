#pragma once
// PostgreSQL's own names for column types, which its ODBC driver answers "unknown" for (arrays,
// geometric and bit types) or reports in ODBC's terms. Read from the system catalogue over the
// connection the loader already holds.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/fields.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query_metadata.hpp"

namespace vantorel {

struct PgMetadataField {
  std::u16string Name;
  // pg_type's name; "array" for every array type.
  std::u16string DataTypeName;
};

struct PgMetadataTable {
  std::u16string Name;
  std::u16string TableType;  // "TABLE" or "VIEW"
  std::vector<PgMetadataField> Fields;
};

class PgMetadataComponent {
 public:
  explicit PgMetadataComponent(data::Connection& connection) : connection_(connection) {}

  // The table or view of that name in the schema (the one the search path finds when the schema
  // is empty); no entry when there is none. Raises the provider's error.
  std::vector<PgMetadataTable> tables(std::u16string_view name, std::u16string_view schema);
  // The columns of a described query's result, typed from the columns they come from where the
  // driver tells them, else by the driver's own type name.
  PgMetadataTable describe(std::u16string_view name,
                           const std::vector<data::FieldDescription>& columns);

 private:
  data::Connection& connection_;
};

// The PostgreSQL type name of each column of a table or view (sSQL empty; the one the schema
// holds, or the search path finds when it is empty) or of a custom view's query; nothing when
// the catalogue could not be read.
std::optional<std::vector<PgMetadataField>> readFieldTypeNames(data::Connection& connection,
                                                               std::u16string_view sTableName,
                                                               std::u16string_view schema,
                                                               std::u16string_view sSQL);

// The type names of a custom view's columns, from the description its load already made;
// nothing when the catalogue could not be read.
std::optional<std::vector<PgMetadataField>> readQueryTypeNames(
    data::Connection& connection, std::u16string_view sTableName,
    const std::vector<data::FieldDescription>& columns);

// The DataTypeName of every array type.
inline constexpr std::u16string_view kPgArrayTypeName = u"array";

// The DataTypeName of a column of pg_type's name and category: "array" for every array type.
std::u16string pgTypeName(std::u16string typname, std::u16string_view typcategory);

// True for the type names the generated pages have no input for, and for an empty one.
bool unsupportedPgType(std::u16string_view typeName);

// Gives each field the type name of its column, by exact name; an unsupported one takes the
// field out of generation, and an array out of the add and edit forms.
void applyFieldTypeNames(AGPFields& Fields, const std::vector<PgMetadataField>& columns);

// Gives the fields of a table or view (sSQL empty) of the schema, or of a custom view (its query)
// PostgreSQL's type names, and takes the types the generated pages cannot handle out of generation.
// When the catalogue cannot be read the fields keep the type names they have.
void LoadFieldTypeNames(data::Connection& connection, AGPFields& Fields,
                        std::u16string_view sTableName, std::u16string_view schema,
                        std::u16string_view sSQL);

}  // namespace vantorel
