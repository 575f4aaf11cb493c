#include "database/dao_database_loader.hpp"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "database/dao_table_loader.hpp"
#include "database/dao_view_key.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/status.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/data/access_file.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace access = data::access;

namespace {

// One load of one file: the database filled, the file read, the progress shown.
class DaoDatabaseLoad {
 public:
  DaoDatabaseLoad(DatabaseLoad& load, AGPDatabase& database, access::AccessFile& file,
                  const std::u16string& tableName)
      : load_(load),
        database_(database),
        tables_(database.tables()),
        file_(file),
        tableName_(tableName),
        loadAll_(tableName.empty()),
        total_(static_cast<std::int32_t>(file.tableNames().size() + file.queries().size())) {}

  void loadTables() {
    if (loadAll_) Status().DispStatus(Variant(std::u16string(u"Loading Database Tables...")));
    for (const std::u16string& name : file_.tableNames()) {
      if (isLoadableAccessTable(name)) loadTable(name);
      advance();
    }
  }

  void loadViews() {
    if (loadAll_) Status().DispStatus(Variant(std::u16string(u"Loading Database Views...")));
    // The tables load without the stored queries; the user is told why no view came.
    if (!file_.queryFailure().empty()) {
      load_.notices.push_back(u"Queries not loaded due to ADOX Error: " + file_.queryFailure());
    }
    const std::vector<std::u16string> viewNames = file_.viewNames();
    for (const access::QueryInfo& info : file_.queries()) {
      if (isLoadableAccessView(info, viewNames) && (loadAll_ || info.name == tableName_)) {
        loadView(info.name);
      }
      advance();
    }
  }

 private:
  void loadTable(const std::u16string& name) {
    if (loadAll_) {
      Status().DispStatus(Variant(u"Loading Table " + name + u"..."));
      if (!tables_.add(name)) return;
      Ref<AGPTable> table = tables_.item(Variant(name));
      table->properties().setting(kTblType) = Variant(std::u16string(u"TABLE"));
      table->properties().setting(kTblLoaded) = Variant(false);
      const access::AccessTable definition = file_.readTable(name);
      if (!definition.columns.empty()) LoadTbl_DAO(load_, *table, definition, loadAll_);
      return;
    }
    if (name != tableName_ || !tables_.tableExist(Variant(name))) return;
    const access::AccessTable definition = file_.readTable(name);
    if (!definition.columns.empty()) {
      LoadTbl_DAO(load_, *tables_.item(Variant(name)), definition, loadAll_);
    }
  }

  void loadView(const std::u16string& name) {
    const access::AccessQuery definition = file_.readQuery(name);
    if (loadAll_) {
      Status().DispStatus(Variant(u"Loading View " + name + u"..."));
      if (tables_.add(name)) {
        Ref<AGPTable> view = tables_.item(Variant(name));
        view->properties().setting(kTblType) = Variant(std::u16string(u"VIEW"));
        view->properties().setting(kTblLoaded) = Variant(false);
        LoadView_DAO(load_, *view, definition, loadAll_);
      }
    } else if (tables_.tableExist(Variant(name))) {
      LoadView_DAO(load_, *tables_.item(Variant(name)), definition, loadAll_);
    }
    if (!tables_.tableExist(Variant(name))) return;
    Ref<AGPTable> view = tables_.item(Variant(name));
    view->properties().setting(kTblSQL) = Variant(definition.sql);
    SetupViewKey(database_, *view, definition);
  }

  void advance() {
    ++processed_;
    if (loadAll_) Status().SetStatus(Variant(GetPercent(processed_, total_)));
  }

  DatabaseLoad& load_;
  AGPDatabase& database_;
  AGPTables& tables_;
  access::AccessFile& file_;
  const std::u16string& tableName_;
  const bool loadAll_;
  const std::int32_t total_;
  std::int32_t processed_ = 0;
};

void writeDatabaseSettings(DatabaseLoad& load, AGPDatabase& database,
                           const DaoLoadArguments& arguments, const access::AccessFile& file) {
  AGProperties& bag = database.properties();
  const std::u16string notApplicable = u"N.A.";
  bag.setting(kDBType) = Variant(std::u16string(u"ACCESS"));
  bag.setting(kDBUseServerMapPath) = Variant(arguments.DBUseServerMapPath);
  bag.setting(kDBPath) = Variant(arguments.DBPath);
  bag.setting(kDBPhyPath) = Variant(arguments.DBPhyPath);
  bag.setting(kDBUID) = Variant(arguments.uid);
  bag.setting(kDBPwd) = Variant(arguments.pwd);
  bag.setting(kDBADOVer) = Variant(std::u16string(kAccessEngineVersion));
  bag.setting(kDBDBMSName) = Variant(std::u16string(u"ACCESS"));
  bag.setting(kDBDBMSVer) = Variant(file.version());
  bag.setting(kDBOLEDBVer) = Variant(notApplicable);
  bag.setting(kDBProviderName) = Variant(notApplicable);
  bag.setting(kDBProviderVer) = Variant(notApplicable);
  ProjectContext& context = projectContext();
  context.currentDbmsName = u"ACCESS";
  load.quote = SetSqlQuote(load.sqlQuoteSetting, context.currentDbmsName);
  bag.setting(kDBQuoteS) = Variant(load.quote.open);
  bag.setting(kDBQuoteE) = Variant(load.quote.close);
}

}  // namespace

bool isLoadableAccessTable(std::u16string_view name) {
  return name != u"Switchboard Items";
}

bool isLoadableAccessView(const access::QueryInfo& info,
                          const std::vector<std::u16string>& viewNames) {
  return std::find(viewNames.begin(), viewNames.end(), info.name) != viewNames.end();
}

std::vector<const access::AccessColumn*> loadedAccessColumns(
    const std::vector<access::AccessColumn>& columns, bool* duplicate) {
  std::vector<const access::AccessColumn*> kept;
  std::unordered_set<std::u16string, NoCaseHash, NoCaseEqual> names;
  if (duplicate) *duplicate = false;
  for (const access::AccessColumn& column : columns) {
    if (column.name.empty()) continue;
    if (names.insert(column.name).second) {
      kept.push_back(&column);
    } else if (duplicate) {
      *duplicate = true;
    }
  }
  return kept;
}

std::u16string daoFailureText(const AutomationError& e) {
  return u"\r\nError # " + toU16(e.number()) + u"\r\nGenerated by " + e.source() +
         u"\r\nDescription  " + e.description() + u"\r\n";
}

LoadOutcome loadAccessDatabase(DatabaseLoad& load, AGPDatabase& database,
                               const DaoLoadArguments& arguments) {
  // Loading nothing and reporting success would leave the project without tables unexplained.
  if (arguments.DBPhyPath.empty()) {
    return LoadOutcome::failed(
        1, u"Open MS Access database failed. Error: No database file was named.");
  }
  try {
    // uid and pwd are kept for the generated site; the reader needs neither.
    // The path may be written with either separator, as the host's paths are.
    access::AccessFile file = access::AccessFile::open(fs::toNative(arguments.DBPhyPath));
    if (arguments.sTableName.empty()) writeDatabaseSettings(load, database, arguments, file);
    DaoDatabaseLoad run(load, database, file, arguments.sTableName);
    run.loadTables();
    run.loadViews();
    return {};
  } catch (const AutomationError& e) {
    return LoadOutcome::failed(1, daoFailureText(e));
  }
}

}  // namespace vantorel
