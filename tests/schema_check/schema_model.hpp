#pragma once
// A project with a database made by hand, and snapshots filled by hand to compare it with: the
// same column descriptions give the stored field and the live column, so a case only states
// what it changes.
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field_settings.hpp"
#include "foundation/registry_test_support.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel::test {

struct Column {
  std::u16string name;
  std::int16_t type = 3;
  std::int32_t size = 4;
  std::u16string typeName = u"int";
  std::u16string tags;
  bool required = false;
};

struct TableShape {
  std::u16string name;
  std::u16string type = u"TABLE";
  std::vector<Column> columns;
  std::u16string key;  // CR LF separated
};

inline AGSchemaField columnRecord(const Column& c) {
  AGSchemaField f;
  f.FldName = c.name;
  f.FldType = c.type;
  f.FldSize = c.size;
  f.FldTypeName = c.typeName;
  f.FldTagValues = c.tags;
  f.FldReq = c.required;
  f.FldSupport = true;
  return f;
}

inline AGSchemaTable tableRecord(const TableShape& t) {
  AGSchemaTable r;
  r.TblName = t.name;
  r.TblType = t.type;
  r.TblKey = t.key;
  r.TblSchema = u"main";
  r.TblGen = true;
  for (const Column& c : t.columns) r.TblFields.fld.push_back(columnRecord(c));
  r.TblFldCnt = static_cast<std::int16_t>(t.columns.size());
  return r;
}

inline void addRecord(AGPSchema& snapshot, const AGSchemaTable& rec) {
  AGSchemaDB& db = snapshot.database();
  db.Tables.Tbl.push_back(rec);
  db.DBTblCnt = static_cast<std::int16_t>(db.Tables.Tbl.size() - 1);
}

inline void setColumn(AGPField& field, const Column& c) {
  AGProperties& bag = field.properties();
  bag.setting(kFldType) = Variant(c.type);
  bag.setting(kFldSize) = Variant(c.size);
  bag.setting(kFldTypeName) = Variant(c.typeName);
  bag.setting(kFldTagValues) = Variant(c.tags);
  bag.setting(kFldReq) = Variant(c.required);
  bag.setting(kFldSupport) = Variant(true);
  for (const FieldSetting flag : {kFldUniqueIdx, kFldZeroLen, kFldAutoIncrement}) {
    bag.setting(flag) = Variant(false);
  }
  bag.setting(kFldAttribute) = Variant(std::int32_t{0});
}

class SchemaModelTest : public RegistryTest {
 protected:
  void SetUp() override {
    spillStore(machineFile(), "");
    agp_ = makeRef<AGP>();
    agp_->AddProj(u"Shop");
    agp_->databases().add(u"DB");
    agp_->setDB(Ref<AGPDatabase>(agp_->databases().find(u"DB")));
  }
  void TearDown() override { agp_->UnLoadDB(); }

  AGPTable& addTable(const TableShape& t, bool loaded = true) {
    AGPTables& tables = agp_->DB()->tables();
    tables.add(t.name);
    AGPTable& table = *tables.item(Variant(t.name));
    table.properties().setting(kTblType) = Variant(t.type);
    table.LoadTableDefault();
    table.properties().setting(kTblLoaded) = Variant(loaded);
    table.properties().setting(kTblKey) = Variant(t.key);
    for (const Column& c : t.columns) {
      table.fields().add(t.name, c.name);
      setColumn(*table.fields().item(Variant(c.name)), c);
    }
    return table;
  }
  AGPTable& table(const std::u16string& name) {
    return *agp_->DB()->tables().item(Variant(name));
  }

  Ref<AGP> agp_;
};

}  // namespace vantorel::test
