#pragma once
// A project made by hand with its database, tables and fields, and snapshots filled record by
// record: the plain data the synchronisation passes compare.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_test_support.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "schema/schema_snapshot.hpp"
#include "support/shared_menus.hpp"
#include "sync/sync_run.hpp"

namespace vantorel::test {

struct ColumnSpec {
  std::u16string name;
  std::int16_t type = 3;  // adInteger
};

class SyncFixture : public RegistryTest {
 protected:
  void SetUp() override {
    spillStore(machineFile(), "");
    recorder_ = std::make_shared<ui::RecordingBackend>();
    ui::setBackendForTesting(recorder_);
    agp_ = makeRef<AGP>();
    agp_->AddProj(u"Shop");
    clearMenus();
    agp_->databases().add(u"DB");
    agp_->setDB(Ref<AGPDatabase>(agp_->databases().find(u"DB")));
    snapshot_ = makeRef<AGPSchema>();
  }
  void TearDown() override {
    agp_->UnLoadDB();
    clearMenus();
    ui::setBackendForTesting(nullptr);
  }
  AGPDatabase& db() { return *agp_->DB(); }
  AGPTable& table(const std::u16string& name) { return *db().tables().item(Variant(name)); }
  AGPField& field(const std::u16string& t, const std::u16string& f) {
    return *table(t).fields().item(Variant(f));
  }

  // A loaded table of the model with its fields, each with a caption the test can look for.
  AGPTable& addTable(const std::u16string& name, const std::vector<ColumnSpec>& fields,
                     const std::u16string& type = u"TABLE") {
    db().tables().add(name);
    AGPTable& t = table(name);
    t.properties().setting(kTblType) = Variant(type);
    t.LoadTableDefault();
    t.setTblGen(true);
    t.properties().setting(kTblLoaded) = Variant(true);
    t.properties().setting(kTblCaption) = Variant(u"Caption of " + name);
    for (const ColumnSpec& f : fields) {
      t.fields().add(name, f.name);
      AGPField& fld = *t.fields().item(Variant(f.name));
      fld.properties().setting(kFldType) = Variant(f.type);
      fld.properties().setting(kFldCaption) = Variant(name + u"." + f.name);
    }
    return t;
  }

  // A record of the snapshot, appended as the loaders append them.
  AGSchemaTable& addRecord(const std::u16string& name, const std::vector<ColumnSpec>& fields,
                           const std::u16string& type = u"TABLE") {
    AGSchemaDB& sdb = snapshot_->database();
    AGSchemaTable rec;
    rec.TblSeq = static_cast<std::int16_t>(sdb.Tables.Tbl.size());
    rec.TblName = name;
    rec.TblType = type;
    rec.TblGen = true;
    for (const ColumnSpec& f : fields) {
      AGSchemaField sf;
      sf.FldSeq = static_cast<std::int16_t>(rec.TblFields.fld.size());
      sf.FldName = f.name;
      sf.FldType = f.type;
      sf.FldSupport = true;
      rec.TblFields.fld.push_back(sf);
    }
    rec.TblFldCnt = static_cast<std::int16_t>(fields.size());
    sdb.Tables.Tbl.push_back(std::move(rec));
    sdb.DBTblCnt = static_cast<std::int16_t>(sdb.Tables.Tbl.size() - 1);
    return sdb.Tables.Tbl.back();
  }

  // The names of a table's fields, in order.
  std::vector<std::string> fieldNames(const std::u16string& t) {
    std::vector<std::string> out;
    AGPFields& fields = table(t).fields();
    for (std::int32_t i = 0; i < fields.count(); ++i) {
      out.push_back(toUtf8(fields.at(static_cast<std::size_t>(i)).FldName()));
    }
    return out;
  }
  std::string caption(const std::u16string& t, const std::u16string& f) {
    return toUtf8(settingAsText(field(t, f).properties().setting(kFldCaption)));
  }

  SyncRun makeRun(const std::u16string& scope = u"ALL") {
    return SyncRun(*agp_, db(), snapshot_, scope);
  }

  // "A|kind|table|field|message|old|new" per record.
  static std::vector<std::string> records(const SyncChangeLog& log) {
    std::vector<std::string> out;
    for (const SyncLogEntry& e : log.entries()) {
      out.push_back(toUtf8(e.action + u"|" + e.kind + u"|" + e.table + u"|" + e.field + u"|" +
                           e.message + u"|" + e.oldValue + u"|" + e.newValue));
    }
    return out;
  }

  std::shared_ptr<ui::RecordingBackend> recorder_;
  Ref<AGP> agp_;
  Ref<AGPSchema> snapshot_;
};

}  // namespace vantorel::test
