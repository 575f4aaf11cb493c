// The snapshot of an Access file: its user tables with their fields and keys, and the stored
// queries listed among its views, read through the same reader and selection as the model's
// Access loader and recorded by the snapshot's own rules.
#include <vector>

#include "database/access_custom_view.hpp"
#include "database/dao_database_loader.hpp"
#include "database/dao_view_key.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/status.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/access_file.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/strings.hpp"
#include "schema/schema_snapshot.hpp"
#include "schema/snapshot_fields.hpp"

namespace vantorel {

namespace access = data::access;

namespace {

// Fields 1..TblFldCnt from the columns the model's loader takes; false when one was left out
// for its name.
bool recordFields(AGSchemaTable& tbl, const std::vector<access::AccessColumn>& columns) {
  bool duplicate = false;
  const std::vector<const access::AccessColumn*> kept = loadedAccessColumns(columns, &duplicate);
  tbl.TblFields.fld.assign(kept.size() + 1, AGSchemaField{});
  std::int16_t j = 0;
  for (const access::AccessColumn* column : kept) {
    AGSchemaField& fld = tbl.TblFields.fld[static_cast<std::size_t>(++j)];
    fld.FldSeq = j;
    readDaoColumn(fld, *column);
    fld.sourceTable = column->sourceTable;
    fld.sourceField = column->sourceField;
  }
  tbl.TblFldCnt = j;
  return !duplicate;
}

AGSchemaField* fieldNamed(AGSchemaTable& tbl, std::u16string_view name) {
  for (std::int16_t j = 1; j <= tbl.TblFldCnt; ++j) {
    AGSchemaField& fld = tbl.TblFields.fld[static_cast<std::size_t>(j)];
    if (fld.FldName == name) return &fld;
  }
  return nullptr;
}

void recordTable(AGSchemaTable& tbl, const access::AccessTable& definition) {
  if (definition.columns.empty()) return;  // no fields: not generated, no keys
  tbl.TblGen = recordFields(tbl, definition.columns);
  tbl.TblUpdatable = true;
  for (const access::AccessIndex& index : definition.indexes) {
    if (index.primary()) {
      for (const std::u16string& name : index.fields) {
        if (AGSchemaField* fld = fieldNamed(tbl, name)) fld->FldIsPrimaryKey = true;
      }
      tbl.TblKey = toString(SortLines(Variant(join(index.fields, u"\r\n"))));
    }
    if (index.unique && index.fields.size() == 1) {
      if (AGSchemaField* fld = fieldNamed(tbl, index.fields.front())) fld->FldUniqueIdx = true;
    }
  }
  // Without its indexes the table's keys are unknown, not absent.
  if (!definition.indexNote.empty()) tbl.TblReadError = definition.indexNote;
}

// The view's key and updatability, from the tables recorded so far.
void SetupViewKey(AGSchemaTable& view, const access::AccessQuery& query,
                  const std::vector<AGSchemaTable>& tables, std::int16_t tableCount) {
  const TableKeyLookup tableKey = [&](std::u16string_view name) {
    std::optional<std::u16string> key;
    for (std::int16_t i = 1; i <= tableCount; ++i) {
      const AGSchemaTable& t = tables[static_cast<std::size_t>(i)];
      if (t.TblName == name) key = t.TblKey;
    }
    return key;
  };
  std::vector<std::u16string> fieldNames;
  for (std::int16_t j = 1; j <= view.TblFldCnt; ++j) {
    fieldNames.push_back(view.TblFields.fld[static_cast<std::size_t>(j)].FldName);
  }
  const ViewKeyAnswer answer = viewKeyOf(describeViewSql(query), tableKey, view.TblKey, fieldNames);
  view.TblUpdatable = answer.updatable;
  if (answer.key) view.TblKey = *answer.key;
}

}  // namespace

LoadOutcome AGPSchema::LoadDAODB(DatabaseLoad& load, const std::u16string& sPath,
                                 const std::u16string& sPhyPath, bool bDBUseServerMapPath,
                                 const std::u16string& sUID, const std::u16string& sPwd,
                                 const std::u16string& sTableName) {
  // An empty snapshot taken for a successful one would show every table as removed.
  if (sPhyPath.empty()) {
    return LoadOutcome::failed(
        1, u"Open MS Access database failed. Error: No database file was named.");
  }
  const bool loadAll = sTableName.empty();
  if (loadAll) Status().DispStatus(Variant(u"Loading Database Tables..."));
  try {
    access::AccessFile file = access::AccessFile::open(fs::toNative(sPhyPath));
    markLoaded();
    db_.DBName.clear();
    db_.DBType = u"ACCESS";
    db_.DBUseServerMapPath = bDBUseServerMapPath;
    db_.DBPath = sPath;
    db_.DBPhyPath = sPhyPath;
    db_.DBUID = sUID;
    db_.DBPwd = sPwd;
    db_.DBADOVer = kAccessEngineVersion;
    db_.DBDBMSName = u"ACCESS";
    db_.DBDBMSVer = file.version();
    db_.DBOLEDBVer = db_.DBProviderName = db_.DBProviderVer = u"N.A.";
    dbmsName_ = u"ACCESS";
    dbmsKind_ = kDbmsAccess;
    load.quote = SetSqlQuote(load.sqlQuoteSetting, dbmsName_);
    if (!file.queryFailure().empty()) {
      // Without the list of views every view would seem removed.
      db_.viewListError = u"Queries not loaded due to ADOX Error: " + file.queryFailure();
      return LoadOutcome::failed(1, db_.viewListError);
    }

    const auto total = static_cast<std::int32_t>(file.tableNames().size() + file.queries().size());
    std::int32_t done = 0;
    const auto advance = [&] {
      ++done;
      if (loadAll) Status().SetStatus(Variant(GetPercent(done, total)));
    };
    std::vector<AGSchemaTable>& tables = db_.Tables.Tbl;
    const auto addRecord = [&](const std::u16string& name, const char16_t* type) -> AGSchemaTable& {
      AGSchemaTable& tbl = tables.emplace_back();
      tbl.TblSeq = static_cast<std::int16_t>(tables.size() - 1);
      tbl.TblName = name;
      tbl.TblType = type;
      return tbl;
    };
    for (const std::u16string& name : file.tableNames()) {
      if (isLoadableAccessTable(name) && (loadAll || name == sTableName)) {
        if (loadAll) Status().DispStatus(Variant(u"Loading Table " + name + u"..."));
        AGSchemaTable& tbl = addRecord(name, u"TABLE");
        try {
          recordTable(tbl, file.readTable(name));
        } catch (const AutomationError& e) {
          tbl.TblGen = false;
          tbl.TblReadError = e.description();
        }
      }
      advance();
    }
    db_.DBTblCnt = static_cast<std::int16_t>(tables.size() - 1);
    if (loadAll) Status().DispStatus(Variant(u"Loading Database Views..."));
    const std::vector<std::u16string> listed = file.viewNames();
    for (const access::QueryInfo& info : file.queries()) {
      if (isLoadableAccessView(info, listed) && (loadAll || info.name == sTableName)) {
        if (loadAll) Status().DispStatus(Variant(u"Loading View " + info.name + u"..."));
        AGSchemaTable& view = addRecord(info.name, u"VIEW");
        view.TblUpdatable = true;
        try {
          const access::AccessQuery query = file.readQuery(info.name);
          recordFields(view, query.columns);
          view.TblSQL = query.sql;
          SetupViewKey(view, query, tables, db_.DBTblCnt);
        } catch (const AutomationError& e) {
          view.TblReadError = e.description();
        }
      }
      advance();
    }
    db_.DBTblCnt = static_cast<std::int16_t>(tables.size() - 1);
    return {};
  } catch (const AutomationError& e) {
    return LoadOutcome::failed(1, daoFailureText(e));
  }
}

Expected<> AGPSchema::readAccessCustomView(const std::u16string& path,
                                           const std::u16string& sTableName,
                                           const std::u16string& sSQL) {
  AGSchemaTable& tbl = customViewRecord(sTableName);
  try {
    access::AccessFile file = access::AccessFile::open(fs::toNative(path));
    const AccessQueryDescription d = describeAccessQuery(file, sSQL);
    if (d.problem) return customViewUnread(tbl, *d.problem);
    if (!recordFields(tbl, d.columns)) tbl.TblGen = false;
    if (tbl.TblFldCnt == 0) return customViewWithoutColumns(tbl);
    return {};
  } catch (const AutomationError& e) {
    // The file could not be opened or one of its tables read.
    return customViewUnread(tbl, e.description());
  }
}

}  // namespace vantorel
