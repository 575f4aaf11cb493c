#pragma once
// AGPSchema: one reading of the live schema into AGSchema* records. A snapshot is filled once,
// by read (the whole database, or the objects of one name) or by readCustomView (the
// columns of one custom view's query into record 1), read through tblcnt and Tbl, and dropped;
// each check or synchronisation takes a new one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/database_load.hpp"
#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/ref.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

namespace data {
struct QueryResult;
class Connection;
}  // namespace data

// A table or view the project holds, which a whole-database load looks for by name when the
// catalogue leaves it out.
struct StoredObject {
  std::u16string schema;
  std::u16string name;
  std::u16string type;  // "TABLE" or "VIEW"
};

class AGSchemaTableRecord;

class AGPSchema final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  std::int16_t tblcnt() const noexcept { return db_.DBTblCnt; }
  // A copy of record i (0 is the empty record); raises 9 outside the array.
  AGSchemaTable Tbl(std::int16_t i) const;

  // Fills the snapshot from the database these settings name; the failure says why it could not.
  // sDbName may be rewritten to "DB", as callers of a connection-string source expect.
  Expected<> read(std::u16string& sDbName, const std::u16string& sDbType,
                  const std::u16string& sPath, const std::u16string& sPhyPath,
                  bool bDBUseServerMapPath, const std::u16string& sUID, const std::u16string& sPwd,
                  const std::u16string& sConnStr, const std::u16string& sSchema,
                  const std::u16string& sTableName);
  // The member scripts call: read, its failure's text ("" on success) in LastErrorText.
  void LoadDB(std::u16string& sDbName, const std::u16string& sDbType, const std::u16string& sPath,
              const std::u16string& sPhyPath, bool bDBUseServerMapPath, const std::u16string& sUID,
              const std::u16string& sPwd, const std::u16string& sConnStr,
              const std::u16string& sSchema, const std::u16string& sTableName);
  // The columns of one custom view's query as record 1 (tblcnt stays 0). The failure's number is
  // 1, or 3 for a provider error; its text may be empty.
  Expected<> readCustomView(const std::u16string& sConnStr, const std::u16string& sTableName,
                            const std::u16string& sSQL);
  // The member scripts call: 0 success, else readCustomView's failure number, with its text in
  // LastErrorText ("" on success).
  std::int16_t LoadADOCustomView(const std::u16string& sConnStr, const std::u16string& sTableName,
                                 const std::u16string& sSQL);

  // What a MySQL table's SHOW FIELDS rows (rs) tell of a column, and PostgreSQL's defaults rows;
  // the value list text of an enum or set type's rest, "('a','b')".
  void SetupMySQLFld(AGSchemaField& fld, const data::QueryResult& rs,
                     std::u16string_view sFldName) const;
  static std::u16string MySQLTagValues(std::u16string_view str);
  void SetupPostgreSqlFld(AGSchemaField& fld, const data::QueryResult& rs,
                          std::u16string_view sFldName) const;

  // Set before reading: a catalogue may hide what the user may not read, and a stored object it
  // does not list is taken as gone only when the server does not know it either.
  void expectObjects(std::vector<StoredObject> objects) { expected_ = std::move(objects); }
  // Set before reading: the project's SQLQuote setting, which chooses with the database's kind how
  // names are quoted where a driver wants them quoted. Unset, by the kind alone.
  void useSqlQuoteSetting(std::u16string setting) { sqlQuoteSetting_ = std::move(setting); }

  bool loaded() const noexcept { return loaded_ > 0; }
  // The loaders fill these.
  AGSchemaDB& database() noexcept { return db_; }
  const AGSchemaDB& database() const noexcept { return db_; }
  void markLoaded() noexcept { ++loaded_; }

  // The scripts' forms: LoadDB's arguments are Variants by reference; MySQLTagValues.
  void scriptLoadDB(Variant& sDbName, Variant& sDbType, Variant& sPath, Variant& sPhyPath,
                    Variant& bDBUseServerMapPath, Variant& sUID, Variant& sPwd, Variant& sConnStr,
                    Variant& sSchema, Variant& sTableName);
  std::u16string scriptMySQLTagValues(const std::u16string& str) const;
  // Tbl's record as an object a script can read.
  Ref<AGSchemaTableRecord> scriptTbl(std::int16_t i) const;

 private:
  // The snapshot's loaders: code 0 loaded; another failed, with the reason where there is one.
  LoadOutcome LoadADODB(DatabaseLoad& load, const std::u16string& sDbType,
                        const std::u16string& sDbName, const std::u16string& sUID,
                        const std::u16string& sPwd, const std::u16string& sConnStr,
                        const std::u16string& sSchema, const std::u16string& sTableName);
  LoadOutcome LoadDAODB(DatabaseLoad& load, const std::u16string& sPath,
                        const std::u16string& sPhyPath, bool bDBUseServerMapPath,
                        const std::u16string& sUID, const std::u16string& sPwd,
                        const std::u16string& sTableName);

  // readCustomView over the Access file `path`, described from the file itself.
  Expected<> readAccessCustomView(const std::u16string& path, const std::u16string& sTableName,
                                  const std::u16string& sSQL);
  // Record 1 of a custom view, before its columns are read.
  AGSchemaTable& customViewRecord(const std::u16string& sTableName);
  // The query's columns could not be read, or it gave none: either way record 1 is no picture of
  // the custom view, and that is the failure.
  static Failure customViewUnread(AGSchemaTable& tbl, const std::u16string& reason);
  static Failure customViewWithoutColumns(AGSchemaTable& tbl);

  // Records, after the listed ones, for the expected objects the list left out but the server
  // still knows.
  void recordUnlisted(data::Connection& cnn, const DatabaseLoad& load);

  AGSchemaDB db_;
  std::vector<StoredObject> expected_;
  std::u16string sqlQuoteSetting_;
  std::int16_t loaded_ = 0;
  std::u16string dbmsName_;  // upper case
  std::int16_t dbmsKind_ = 0;
  std::u16string oracleSchema_;
};

}  // namespace vantorel
