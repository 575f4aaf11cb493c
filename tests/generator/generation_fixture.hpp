#pragma once
// A project with a database of three tables (a table, a view and a report), template and cache
// folders in the test's folder, and, on request, a running script engine.
#include <filesystem>
#include <string>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/template_lookup.hpp"
#include "generator_test_support.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "project/advanced_filter.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/empty_model_list.hpp"
#include "templates/file_cache.hpp"
#include "templates/script_host.hpp"

namespace vantorel::test {

class GenerationFixture : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    projectContext().formProductStrings();
    projectContext().templateFolder = u16(dir_.path() / "tpl");
    projectContext().templateCacheFolder = u16(dir_.path() / "cache");
    projectContext().extensionWorkFolder.clear();
    std::filesystem::create_directories(dir_.path() / "tpl");
    std::filesystem::create_directories(dir_.path() / "cache");
    SharedFileCache().Clear();
    projectContext().progressCount = 0;
    projectContext().progressTotal = 0;
    setGeneral(u"ShowSession", u"False");
    setGeneral(u"ShowSessionTime", u"False");
  }

  // Shop: Orders (TABLE; OrderID, Total), Sales (VIEW; Region), Summary (REPORT; Amount).
  void addDatabase() {
    ASSERT_TRUE(proj_->databases().add(u"Shop"));
    db_ = proj_->databases().item(Variant(u"Shop"));
    proj_->setDB(db_);
    addTable(u"Orders", u"TABLE", {u"OrderID", u"Total"});
    addTable(u"Sales", u"VIEW", {u"Region"});
    addTable(u"Summary", u"REPORT", {u"Amount"});
  }
  void addTable(const std::u16string& name, const std::u16string& type,
                std::initializer_list<std::u16string> fields) {
    ASSERT_TRUE(db_->tables().add(name));
    AGPTable& t = table(name);
    t.properties().setting(kTblType) = Variant(type);
    t.setTblVar(name);
    t.setTblGen(true);
    for (const std::u16string& f : fields) t.fields().add(name, f);
  }
  AGPTable& table(const std::u16string& name) { return *db_->tables().find(name); }
  AGPField& field(const std::u16string& tbl, const std::u16string& name) {
    return *table(tbl).fields().find(name);
  }

  void startEngine() {
    run().scriptEngine = makeRef<AGScript>();
    run().scriptEngine->Initialize(proj_, proj_->DB(), run().templateControls,
                                   Ref<Object>(&SharedLanguage()), ScriptCustomScriptsObject(),
                                   Ref<Object>(&SharedFilter()), ScriptExtensionsObject(),
                                   Ref<Object>(&SharedMenus()));
    ASSERT_TRUE(run().scriptEngine->IsInitialized()) << u8(projectContext().lastErrorText);
    ASSERT_TRUE(projectContext().lastErrorText.empty()) << u8(projectContext().lastErrorText);
  }
  // Adds VBScript code to the running engine.
  void addScript(const std::u16string& code) {
    run().scriptEngine->BuildNewCode(u"zzSetup",
                                     code + u"\r\nFunction zzSetup()\r\nEnd Function\r\n", 0, 0);
    ASSERT_TRUE(projectContext().lastErrorText.empty()) << u8(projectContext().lastErrorText);
  }
  void setGeneral(const std::u16string& name, const std::u16string& value) {
    SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(name), 1,
                Variant(value));
  }
  std::filesystem::path tplPath(const std::string& name) { return dir_.path() / "tpl" / name; }

  Ref<AGPDatabase> db_;
};

}  // namespace vantorel::test
