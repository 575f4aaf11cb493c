#include "database/ado_database_loader.hpp"

#include <optional>
#include <vector>

#include "database/access_custom_view.hpp"
#include "database/bulk_catalogue.hpp"
#include "database/connection_details.hpp"
#include "database/custom_view_loader.hpp"
#include "database/load_steps.hpp"
#include "database/table_schema_loader.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/status.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/access_file.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/memory_tuning.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// What the model holds for one field, about: its settings' values and its own strings.
constexpr std::size_t kFieldBytes = 3 * 1024;

// One whole-database load or single-table re-read, with the database it fills.
class AdoDatabaseLoad {
 public:
  AdoDatabaseLoad(DatabaseLoad& load, AGPDatabase& db, const AdoLoadArguments& arguments,
                  SchemaChooser chooseSchema)
      : load_(load),
        db_(db),
        bag_(db.properties()),
        a_(arguments),
        bLoadAll_(arguments.sTableName.empty()),
        chooseSchema_(std::move(chooseSchema)) {}

  LoadOutcome run() {
    if (std::u16string missing = missingSource(); !missing.empty()) {
      // The driver manager would open its default data source for nothing named.
      return LoadOutcome::failed(3, std::move(missing));
    }
    if (bLoadAll_) Status().DispStatus(Variant(u"Connecting to Data Source..."));
    data::Connection cnn(connectionString());
    if (!cnn.isOpen()) return LoadOutcome::failed(1);
    if (bLoadAll_) writeConnectionSettings(cnn);
    ProjectContext& context = projectContext();
    context.currentDbmsName = toString(bag_.setting(kDBDBMSName));
    kind_ = GetDbmsType(context.currentDbmsName);
    if (kind_ == kDbmsPostgreSql) {
      if (a_.DBType == u"ODBC") {
        load_.pg = GetPgDsnInfo(a_.DBName);
      } else if (!a_.sConnStr.empty()) {
        ParsePgConnStr(a_.sConnStr, load_.pg);
      }
    }
    if (kind_ == kDbmsSqlServer && a_.DBType == u"ODBC") {
      // There is no native SQL Server provider to reopen the source through here; the open
      // ODBC connection is what the native one falls back to.
      attemptStep([&] { sqlServerDsn_ = GetSqlServerDsnInfo(a_.DBName); });
    }
    if (bLoadAll_) {
      load_.quote = SetSqlQuote(load_.sqlQuoteSetting, context.currentDbmsName);
      bag_.setting(kDBQuoteS) = Variant(load_.quote.open);
      bag_.setting(kDBQuoteE) = Variant(load_.quote.close);
      Status().DispStatus(Variant(u"Loading Database Tables/Views..."));
    } else {
      load_.quote = recordedSqlQuote(db_);
    }
    const std::vector<data::TableRow> rows = data::listTables(cnn, {});
    if (kind_ == kDbmsOracle) chooseOracleSchema(rows);
    loadRows(cnn, rows);
    return {};
  }

 private:
  std::u16string missingSource() const {
    if (a_.DBType == u"ODBC" && a_.sConnStr.empty()) {
      return trimBlanks(a_.DBName).empty() ? u"invalid DBName specified!" : u"";
    }
    return trimBlanks(a_.sConnStr).empty() ? u"invalid connection string specified!" : u"";
  }

  std::u16string connectionString() const {
    if (a_.DBType == u"ODBC" && a_.sConnStr.empty()) {
      return data::dsnConnectionString(a_.DBName, a_.uid, a_.pwd);
    }
    return a_.sConnStr;
  }

  void writeConnectionSettings(const data::Connection& cnn) {
    bag_.setting(kDBType) = Variant(a_.DBType);
    bag_.setting(kDBPath) = Variant(u"");
    bag_.setting(kDBUseServerMapPath) = Variant(false);
    bag_.setting(kDBPhyPath) = Variant(u"");
    bag_.setting(kDBUID) = Variant(a_.uid);
    bag_.setting(kDBPwd) = Variant(a_.pwd);
    bag_.setting(kDBConnstr) = Variant(a_.sConnStr);
    const data::ProviderProperties& p = cnn.properties();
    // A property the driver does not answer leaves its row as it was, but for the DBMS name.
    const auto write = [&](SettingSlot row, const std::u16string& value) {
      if (!value.empty()) bag_.setting(row) = Variant(value);
    };
    write(kDBADOVer, p.driverManagerVersion);
    bag_.setting(kDBDBMSName) = Variant(recordedDbmsName(p.dbmsName));
    write(kDBDBMSVer, p.dbmsVersion);
    write(kDBOLEDBVer, p.driverOdbcVersion);
    write(kDBProviderName, p.driverName);
    write(kDBProviderVer, p.driverVersion);
  }

  void chooseOracleSchema(const std::vector<data::TableRow>& rows) {
    Variant& schemaFilter = db_.schemaFilter();
    if (!bLoadAll_) {
      schemaFilter = Variant(a_.sSchema);
      return;
    }
    schemaFilter = Variant(!a_.sSchema.empty() ? a_.sSchema
                                               : ChooseOracleSchema(rows, toString(schemaFilter),
                                                                    a_.uid, chooseSchema_));
    bag_.setting(kDBSchema) = schemaFilter;
  }

  void loadRows(data::Connection& cnn, const std::vector<data::TableRow>& rows) {
    const std::vector<CatalogueEntry> entries = selectCatalogueRows(
        rows,
        catalogueFilterFor(cnn, projectContext().currentDbmsName, toString(db_.schemaFilter())));
    // A dynamic load only registers the tables: nothing to read.
    BulkCatalogue catalogue = bLoadAll_ && !load_.dynamicLoad
                                  ? BulkCatalogue::read(cnn, entries, kind_, load_.catalogueInBulk)
                                  : BulkCatalogue();
    // Each field's settings are a few kilobytes first written as it is made: faulted in now, in
    // a few calls, the thousands of pages a large database's model takes cost a fraction of
    // what a fault each does (on a virtual machine a large part of the model's build time).
    sys::prefaultHeap(catalogue.columnCount() * kFieldBytes);
    AGPTables& tables = db_.tables();
    std::int32_t processed = 0;
    const auto total = static_cast<std::int32_t>(entries.size());
    for (const CatalogueEntry& entry : entries) {
      const data::TableRow& row = entry.row;
      if (!bLoadAll_ && row.name != a_.sTableName) continue;
      if (bLoadAll_) {
        Status().DispStatus(Variant(u"Loading " + row.type + u" " + row.name + u"..."));
        if (tables.add(row.name)) {
          tables.item(Variant(row.name))->properties().setting(kTblLoaded) = Variant(false);
        }
      }
      if (tables.tableExist(Variant(row.name))) {
        Ref<AGPTable> table = tables.item(Variant(row.name));
        Load_ADO(load_, *table, cnn, row, bLoadAll_, &catalogue);
        addNotes(*table, entry.notes);
      }
      ++processed;
      if (bLoadAll_) Status().SetStatus(Variant(GetPercent(processed, total)));
    }
  }

  static void addNotes(AGPTable& table, const std::vector<std::u16string>& notes) {
    if (notes.empty()) return;
    Variant& error = table.properties().setting(kTblError);
    std::u16string text = toString(error);
    for (const std::u16string& note : notes) text += (text.empty() ? u"" : u"\r\n") + note;
    error = Variant(text);
  }

  DatabaseLoad& load_;
  AGPDatabase& db_;
  AGProperties& bag_;
  const AdoLoadArguments& a_;
  bool bLoadAll_;
  SchemaChooser chooseSchema_;
  std::int16_t kind_ = 0;
  std::optional<SqlServerDsnInfo> sqlServerDsn_;
};

}  // namespace

std::u16string adoFailureText(const AutomationError& error, bool numbered) {
  const std::u16string& title = projectContext().productTitle;
  const auto* dataError = dynamic_cast<const data::DataError*>(&error);
  if (!dataError) return title + u": ADO Connection Error " + error.description();
  if (dataError->loginRefused()) {
    return title + u": Unable to connect to Data Source! User ID / Password not valid!";
  }
  std::u16string text;
  std::int32_t i = 0;
  for (const data::DiagRecord& record : dataError->records()) {
    ++i;
    if (numbered) text += u"\r\nError #" + toU16(i) + u":";
    text += u"\r\n   ADO Error   #" + toU16(data::kProviderFailed);
    text += u"\r\n   Description  " + record.line();
    text += u"\r\n   Source       " + error.source();
  }
  if (text.empty()) return title + u": ADO Connection Error " + error.description();
  return title + u": " + text;
}

LoadOutcome loadAdoDatabase(DatabaseLoad& load, AGPDatabase& db, const AdoLoadArguments& arguments,
                            const SchemaChooser& chooseSchema) {
  try {
    return AdoDatabaseLoad(load, db, arguments, chooseSchema).run();
  } catch (const AutomationError& e) {
    return LoadOutcome::failed(3, adoFailureText(e));
  }
}

namespace {

// Adds the custom view sTableName and fills it through `load`; a custom view that fails is taken
// out again.
template <typename Load>
LoadOutcome addCustomView(AGPDatabase& db, const std::u16string& sTableName, const Load& load) {
  AGPTables& tables = db.tables();
  if (!tables.add(sTableName)) {
    if (!tables.tableExist(Variant(sTableName))) return LoadOutcome::failed(1);
    return LoadOutcome::failed(
        1, projectContext().productTitle + u": Table/View " + sTableName + u" already exists!");
  }
  Ref<AGPTable> table = tables.item(Variant(sTableName));
  table->properties().setting(kTblLoaded) = Variant(false);
  LoadOutcome outcome;
  try {
    outcome = load(*table);
  } catch (const AutomationError& e) {
    outcome = LoadOutcome::failed(1, e.description());
  }
  if (!outcome.loaded()) tables.remove(sTableName);
  return outcome;
}

// No Jet or ACE provider exists here: the file the connection names is read directly.
LoadOutcome loadAccessCustomView(DatabaseLoad& load, AGPDatabase& db, const std::u16string& path,
                                 const std::u16string& sTableName, const std::u16string& sSQL) {
  ProjectContext& context = projectContext();
  context.currentDbmsName = toString(db.properties().setting(kDBDBMSName));
  load.quote = SetSqlQuote(load.sqlQuoteSetting, context.currentDbmsName);
  try {
    data::access::AccessFile file = data::access::AccessFile::open(fs::toNative(path));
    return addCustomView(db, sTableName, [&](AGPTable& table) {
      return Load_AccessCustomView(load, table, db, file, sTableName, sSQL);
    });
  } catch (const AutomationError& e) {
    return LoadOutcome::failed(1, context.productTitle + u": " + e.description());
  }
}

}  // namespace

LoadOutcome loadAdoCustomView(DatabaseLoad& load, AGPDatabase& db, const std::u16string& sConnStr,
                              const std::u16string& sTableName, const std::u16string& sSQL) {
  if (const std::optional<std::u16string> file = accessFileOfConnection(sConnStr)) {
    return loadAccessCustomView(load, db, *file, sTableName, sSQL);
  }
  try {
    data::Connection cnn(sConnStr);
    if (!cnn.isOpen()) return LoadOutcome::failed(1);
    AGProperties& bag = db.properties();
    ProjectContext& context = projectContext();
    context.currentDbmsName = toString(bag.setting(kDBDBMSName));
    load.quote = SetSqlQuote(load.sqlQuoteSetting, context.currentDbmsName);
    if (GetDbmsType(context.currentDbmsName) == kDbmsPostgreSql) {
      if (toString(bag.setting(kDBType)) == u"ODBC") {
        load.pg = GetPgDsnInfo(toString(bag.setting(kDBName)));
      } else if (const std::u16string stored = toString(bag.setting(kDBConnstr)); !stored.empty()) {
        ParsePgConnStr(stored, load.pg);
      }
    }
    return addCustomView(db, sTableName, [&](AGPTable& table) {
      return Load_ADOCustomView(load, table, db, cnn, sTableName, sSQL);
    });
  } catch (const AutomationError& e) {
    return LoadOutcome::failed(1, adoFailureText(e));
  }
}

}  // namespace vantorel
