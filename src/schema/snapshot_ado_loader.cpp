// The snapshot of a database reached over ODBC: every table and view of the catalogue (or those
// of one name), read through the same description as the model's loader and recorded by the
// snapshot's own rules; and the columns of one custom view's query.
#include <algorithm>
#include <optional>
#include <vector>

#include "database/access_custom_view.hpp"
#include "database/ado_database_loader.hpp"
#include "database/bulk_catalogue.hpp"
#include "database/catalogue_selection.hpp"
#include "database/connection_details.hpp"
#include "database/schema_question.hpp"
#include "database/table_description.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/status.hpp"
#include "foundation/value_format.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/ui/ui.hpp"
#include "schema/schema_snapshot.hpp"
#include "schema/snapshot_fields.hpp"

namespace vantorel {

namespace {

// Fields 1..TblFldCnt from the described columns; a duplicate name is left out and takes the
// table out of generation. Keys only come with a catalogue table's description.
void recordColumns(AGSchemaTable& tbl, const TableDescription& d, std::int16_t kind,
                   bool withExtras) {
  tbl.TblFields.fld.assign(d.columns.size() + 1, AGSchemaField{});
  std::int16_t j = 0;
  for (const ColumnDescription& c : d.columns) {
    if (c.duplicate) {
      tbl.TblGen = false;
      continue;
    }
    AGSchemaField& fld = tbl.TblFields.fld[static_cast<std::size_t>(++j)];
    fld.FldSeq = j;
    readAdoColumn(fld, c, kind, withExtras);
    if (c.primaryKey) fld.FldIsPrimaryKey = true;
    if (c.required) fld.FldReq = true;
    if (c.uniqueIndex) fld.FldUniqueIdx = true;
  }
  tbl.TblFldCnt = j;
  if (d.typeNames) LoadFieldTypeNames(tbl, *d.typeNames);
}

// The record of one described table or view, as LoadADODB's main pass fills it.
void recordTable(AGSchemaTable& tbl, const TableDescription& d, std::int16_t kind) {
  tbl.TblGen = true;
  tbl.TblSchema = d.schema;
  tbl.TblName = d.name;
  tbl.TblType = d.type;
  tbl.TblUpdatable = true;
  if (d.readError) {
    // Listed, but its columns are unknown: the check must not take it for a table without any.
    tbl.TblGen = false;
    tbl.TblReadError = d.readError->empty() ? u"The columns could not be read." : *d.readError;
    return;
  }
  recordColumns(tbl, d, kind, true);
  setTableKey(tbl);
}

}  // namespace

LoadOutcome AGPSchema::LoadADODB(DatabaseLoad& load, const std::u16string& sDbType,
                                 const std::u16string& sDbName, const std::u16string& sUID,
                                 const std::u16string& sPwd, const std::u16string& sConnStr,
                                 const std::u16string& sSchema, const std::u16string& sTableName) {
  const bool loadAll = sTableName.empty();
  try {
    if (loadAll) Status().DispStatus(Variant(u"Connecting to Data Source..."));
    const bool dsn = sDbType == u"ODBC" && sConnStr.empty();
    data::Connection cnn(dsn ? data::dsnConnectionString(sDbName, sUID, sPwd) : sConnStr);
    if (!cnn.isOpen()) return LoadOutcome::failed(1);

    db_.DBName = sDbName;
    db_.DBType = u"ODBC";
    db_.DBPath.clear();
    db_.DBUseServerMapPath = false;
    db_.DBPhyPath.clear();
    db_.DBUID = sUID;
    db_.DBPwd = sPwd;
    db_.DBConnstr = sConnStr;
    const data::ProviderProperties& p = cnn.properties();
    db_.DBADOVer = p.driverManagerVersion;
    db_.DBDBMSName = recordedDbmsName(p.dbmsName);
    db_.DBDBMSVer = p.dbmsVersion;
    db_.DBOLEDBVer = p.driverOdbcVersion;
    db_.DBProviderName = p.driverName;
    db_.DBProviderVer = p.driverVersion;
    dbmsName_ = toUpper(db_.DBDBMSName);
    dbmsKind_ = GetDbmsType(dbmsName_);

    if (dbmsKind_ == kDbmsPostgreSql) {
      if (sDbType == u"ODBC") {
        load.pg = GetPgDsnInfo(sDbName);
      } else if (!sConnStr.empty()) {
        ParsePgConnStr(sConnStr, load.pg);
      }
    }
    // There is no native SQL Server provider to reopen an ODBC source through here; the open
    // ODBC connection is what the native one falls back to.
    load.quote = SetSqlQuote(load.sqlQuoteSetting, dbmsName_);

    if (loadAll) Status().DispStatus(Variant(u"Loading Database Tables/Views..."));
    std::vector<data::TableRow> rows;
    try {
      rows = data::listTables(cnn, {});
    } catch (const AutomationError& e) {
      // Without the list nothing can be said about which tables exist.
      db_.tableListError = adoFailureText(e);
      throw;
    }
    if (dbmsKind_ == kDbmsOracle) {
      oracleSchema_ =
          !sSchema.empty() ? sSchema : ChooseOracleSchema(rows, u"", sUID, &askForOracleSchema);
      db_.DBSchema = oracleSchema_;
    }
    // The model's own selection: the same rows, so the same tables, on every server.
    const std::vector<CatalogueEntry> entries =
        selectCatalogueRows(rows, catalogueFilterFor(cnn, db_.DBDBMSName, oracleSchema_));
    BulkCatalogue catalogue =
        loadAll ? BulkCatalogue::read(cnn, entries, dbmsKind_, load.catalogueInBulk)
                : BulkCatalogue();
    const auto total = static_cast<std::int32_t>(entries.size());
    std::int32_t done = 0;
    std::vector<AGSchemaTable>& tables = db_.Tables.Tbl;
    for (const CatalogueEntry& entry : entries) {
      const data::TableRow& row = entry.row;
      if (!loadAll && row.name != sTableName) continue;
      if (loadAll) Status().DispStatus(Variant(u"Loading " + row.type + u" " + row.name + u"..."));
      AGSchemaTable& tbl = tables.emplace_back();
      tbl.TblSeq = static_cast<std::int16_t>(tables.size() - 1);
      recordTable(tbl, catalogue.describe(cnn, row, dbmsKind_, load.quote), dbmsKind_);
      ++done;
      if (loadAll) Status().SetStatus(Variant(GetPercent(done, total)));
      ui::yieldToHost();
    }
    if (loadAll) recordUnlisted(cnn, load);
    db_.DBTblCnt = static_cast<std::int16_t>(tables.size() - 1);
    return {};
  } catch (const AutomationError& e) {
    return LoadOutcome::failed(3, adoFailureText(e));
  }
}

void AGPSchema::recordUnlisted(data::Connection& cnn, const DatabaseLoad& load) {
  std::vector<AGSchemaTable>& tables = db_.Tables.Tbl;
  for (const StoredObject& object : expected_) {
    // A name the list holds as the other kind is that object now (a table replaced by a view
    // of its name): reading it again as the stored kind would give the name twice.
    const bool listed =
        std::any_of(tables.begin() + 1, tables.end(), [&](const AGSchemaTable& tbl) {
          return (tbl.TblType == object.type && equalsNoCase(tbl.TblName, object.name)) ||
                 tbl.TblName == object.name;
        });
    if (listed) continue;
    const data::TableRow row{u"", object.schema, object.name, object.type, u""};
    const std::optional<TableDescription> d =
        describeUnlistedTable(cnn, row, dbmsKind_, load.quote);
    if (!d) continue;
    AGSchemaTable& tbl = tables.emplace_back();
    tbl.TblSeq = static_cast<std::int16_t>(tables.size() - 1);
    recordTable(tbl, *d, dbmsKind_);
  }
}

Expected<> AGPSchema::readCustomView(const std::u16string& sConnStr,
                                     const std::u16string& sTableName, const std::u16string& sSQL) {
  if (const std::optional<std::u16string> file = accessFileOfConnection(sConnStr)) {
    return readAccessCustomView(*file, sTableName, sSQL);
  }
  const ProjectContext& context = projectContext();
  try {
    data::Connection cnn(sConnStr);
    if (!cnn.isOpen()) return Failure{u"", 1};
    db_.connectionDatabase = cnn.properties().currentCatalog;
    const std::int16_t kind = GetDbmsType(context.currentDbmsName);
    AGSchemaTable& tbl = customViewRecord(sTableName);
    if (containsNoCase(context.currentDbmsName, u"ORA") &&
        tbl.TblName.find(u' ') != std::u16string::npos) {
      tbl.TblGen = false;
      return Failure{context.productTitle + u": Invalid Oracle Custom View Name", 1};
    }
    const Expected<TableDescription> d = describeCustomView(cnn, sTableName, sSQL, kind);
    if (!d) return customViewUnread(tbl, d.failure().text);
    recordColumns(tbl, *d, kind, false);
    if (tbl.TblFldCnt == 0) return customViewWithoutColumns(tbl);
    return {};
  } catch (const AutomationError& e) {
    return Failure{adoFailureText(e, false), 3};
  }
}

std::int16_t AGPSchema::LoadADOCustomView(const std::u16string& sConnStr,
                                          const std::u16string& sTableName,
                                          const std::u16string& sSQL) {
  const Expected<> read =
      withEntryErrorText([&] { return readCustomView(sConnStr, sTableName, sSQL); });
  return read ? std::int16_t{0} : static_cast<std::int16_t>(read.failure().number);
}

AGSchemaTable& AGPSchema::customViewRecord(const std::u16string& sTableName) {
  db_.Tables.Tbl.assign(2, AGSchemaTable{});
  AGSchemaTable& tbl = db_.Tables.Tbl[1];
  tbl.TblGen = true;
  tbl.TblName = sTableName;
  tbl.TblType = u"CUSTOMVIEW";
  tbl.TblUpdatable = true;
  return tbl;
}

Failure AGPSchema::customViewUnread(AGSchemaTable& tbl, const std::u16string& reason) {
  tbl.TblGen = false;
  tbl.TblReadError = reason;
  return Failure{projectContext().productTitle + u": " + reason, 1};
}

Failure AGPSchema::customViewWithoutColumns(AGSchemaTable& tbl) {
  // A query without columns is no picture of the custom view: every field would seem gone.
  tbl.TblGen = false;
  return Failure{
      projectContext().productTitle + u": The query of " + tbl.TblName + u" returns no columns!",
      1};
}

}  // namespace vantorel
