// AGPSchema.LoadDB and the reading behind it: checks the settings it is given, shows the
// progress display and hands the work to the Access or the ODBC loader.
#include "foundation/entry_error_text.hpp"
#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/ui/ui.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

namespace {

// The display stays open for the load only, however the load ends.
class SnapshotStatus {
 public:
  SnapshotStatus() {
    const std::u16string caption =
        projectContext().productTitle + u" - Checking Database Schema...";
    Status().ShowStatus(Variant(0), Variant(caption));
    ui::yieldToHost();
  }
  ~SnapshotStatus() {
    try {
      Status().CloseStatus();
    } catch (...) {
      // A display that cannot close must not hide the load's own outcome.
    }
  }
  SnapshotStatus(const SnapshotStatus&) = delete;
  SnapshotStatus& operator=(const SnapshotStatus&) = delete;
};

// The message of settings that name no database; empty when they name one.
std::u16string guardMessage(const std::u16string& t, const std::u16string& sDbName,
                            const std::u16string& sPath, const std::u16string& sPhyPath,
                            const std::u16string& sConnStr) {
  if (t == u"ACCESS") return sPath.empty() && sPhyPath.empty() ? u"invalid database path!" : u"";
  // An ODBC source given by its connection string needs no name.
  if (t == u"ODBC") return sDbName.empty() && sConnStr.empty() ? u"invalid DBName specified!" : u"";
  return sConnStr.empty() ? u"invalid connection string specified!" : u"";
}

}  // namespace

Expected<> AGPSchema::read(std::u16string& sDbName, const std::u16string& sDbType,
                           const std::u16string& sPath, const std::u16string& sPhyPath,
                           bool bDBUseServerMapPath, const std::u16string& sUID,
                           const std::u16string& sPwd, const std::u16string& sConnStr,
                           const std::u16string& sSchema, const std::u16string& sTableName) {
  if (loaded_ >= 1) return Failure{u"database already loaded!"};
  const std::u16string t = toUpper(sDbType);
  if (t != u"ACCESS" && t != u"ODBC") sDbName = u"DB";
  // Settings that name no database are a failure of their own: a load of nothing that happened
  // to succeed would leave an empty snapshot for a full one.
  if (std::u16string guard = guardMessage(t, sDbName, sPath, sPhyPath, sConnStr); !guard.empty()) {
    return Failure{std::move(guard)};
  }
  DatabaseLoad load;
  load.sqlQuoteSetting = sqlQuoteSetting_;
  LoadOutcome outcome;
  {
    const SnapshotStatus status;
    outcome = t == u"ACCESS"
                  ? LoadDAODB(load, sPath, sPhyPath, bDBUseServerMapPath, sUID, sPwd, sTableName)
                  : LoadADODB(load, t, sDbName, sUID, sPwd, sConnStr, sSchema, sTableName);
  }
  if (!outcome.loaded()) {
    return Failure{outcome.reason.empty() ? u"Load Database failed!" : std::move(outcome.reason),
                   outcome.code};
  }
  loaded_ = 1;
  return {};
}

void AGPSchema::LoadDB(std::u16string& sDbName, const std::u16string& sDbType,
                       const std::u16string& sPath, const std::u16string& sPhyPath,
                       bool bDBUseServerMapPath, const std::u16string& sUID,
                       const std::u16string& sPwd, const std::u16string& sConnStr,
                       const std::u16string& sSchema, const std::u16string& sTableName) {
  static_cast<void>(withEntryErrorText([&] {
    return read(sDbName, sDbType, sPath, sPhyPath, bDBUseServerMapPath, sUID, sPwd, sConnStr,
                sSchema, sTableName);
  }));
}

}  // namespace vantorel
