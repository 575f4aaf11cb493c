#include "schema/snapshot_agreement.hpp"
#include "database/ado_database_loader.hpp"
#include "database/dao_database_loader.hpp"

#include <gtest/gtest.h>

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {

namespace {

std::string utf8(const std::u16string& text) {
  return toUtf8(text);
}

void expectFieldAgrees(AGPField& field, const AGSchemaField& fld) {
  SCOPED_TRACE(utf8(fld.FldName));
  AGProperties& bag = field.properties();
  EXPECT_EQ(field.FldName(), fld.FldName);
  EXPECT_EQ(toInteger(bag.setting(kFldType)), fld.FldType);
  EXPECT_EQ(toString(bag.setting(kFldTypeName)), fld.FldTypeName);
  EXPECT_EQ(toLong(bag.setting(kFldSize)), fld.FldSize);
  EXPECT_EQ(field.FldIsPrimaryKey(), fld.FldIsPrimaryKey);
  EXPECT_EQ(toBool(bag.setting(kFldReq)), fld.FldReq);
  EXPECT_EQ(toBool(bag.setting(kFldUniqueIdx)), fld.FldUniqueIdx);
  EXPECT_EQ(toBool(bag.setting(kFldAutoIncrement)), fld.FldAutoIncrement);
  EXPECT_EQ(toLong(bag.setting(kFldAttribute)), fld.FldAttribute);
  EXPECT_EQ(toBool(bag.setting(kFldSupport)), fld.FldSupport);
}

}  // namespace

void expectModelAndSnapshotAgree(AGPDatabase& model, const AGPSchema& snapshot) {
  AGPTables& tables = model.tables();
  ASSERT_EQ(tables.count(), snapshot.tblcnt());
  for (std::int16_t i = 1; i <= snapshot.tblcnt(); ++i) {
    const AGSchemaTable tbl = snapshot.Tbl(i);
    SCOPED_TRACE(utf8(tbl.TblName));
    Ref<AGPTable> table = tables.item(Variant(tbl.TblName));
    ASSERT_TRUE(table);
    AGProperties& bag = table->properties();
    EXPECT_EQ(table->tblName(), tbl.TblName);
    EXPECT_EQ(toString(bag.setting(kTblType)), tbl.TblType);
    EXPECT_EQ(toString(bag.setting(kTblKey)), tbl.TblKey);
    AGPFields& fields = table->fields();
    ASSERT_EQ(fields.count(), tbl.TblFldCnt);
    for (std::int16_t j = 1; j <= tbl.TblFldCnt; ++j) {
      expectFieldAgrees(fields.at(static_cast<std::size_t>(j - 1)),
                        tbl.TblFields.fld[static_cast<std::size_t>(j)]);
    }
  }
}

void expectAccessFileAgrees(const std::filesystem::path& path) {
  SCOPED_TRACE(path.string());
  const std::u16string phyPath = fromUtf8(path.string());
  testing::internal::CaptureStderr();
  const Ref<AGPDatabase> model = accessModelOf(phyPath);
  const Ref<AGPSchema> snapshot = accessSnapshotOf(phyPath);
  testing::internal::GetCapturedStderr();
  expectModelAndSnapshotAgree(*model, *snapshot);
  EXPECT_EQ(snapshot->database().DBType, u"ACCESS");
  EXPECT_EQ(snapshot->database().DBDBMSName, u"ACCESS");
  EXPECT_EQ(snapshot->database().DBPhyPath, phyPath);
}

Ref<AGPSchema> snapshotOf(const std::u16string& connectionString) {
  auto snapshot = makeRef<AGPSchema>();
  std::u16string name;
  snapshot->LoadDB(name, u"ADO", u"", u"", false, u"", u"", connectionString, u"", u"");
  EXPECT_EQ(utf8(projectContext().lastErrorText), "");
  EXPECT_EQ(name, u"DB");
  return snapshot;
}

Ref<AGPSchema> accessSnapshotOf(const std::u16string& phyPath) {
  auto snapshot = makeRef<AGPSchema>();
  std::u16string name;
  snapshot->LoadDB(name, u"ACCESS", phyPath, phyPath, false, u"", u"", u"", u"", u"");
  EXPECT_EQ(utf8(projectContext().lastErrorText), "");
  return snapshot;
}

Ref<AGPDatabase> modelOf(const std::u16string& connectionString) {
  auto db = makeRef<AGPDatabase>();
  EXPECT_EQ(LoadADODB(*db, {u"DB", u"", u"", u"", connectionString, u"", u""}), 0)
      << utf8(projectContext().lastErrorText);
  return db;
}

Ref<AGPDatabase> accessModelOf(const std::u16string& phyPath) {
  auto db = makeRef<AGPDatabase>();
  EXPECT_EQ(loadDaoDatabase(*db, {phyPath, phyPath}), 0) << utf8(projectContext().lastErrorText);
  return db;
}

}  // namespace vantorel::test
