#include "templates/script_host_support.hpp"

#include <filesystem>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "project/advanced_filter.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "support/test_files.hpp"
#include "templates/controls.hpp"
#include "templates/empty_model_list.hpp"

namespace vantorel::test {

void ScriptHostTest::SetUp() {
  spillStore(machineFile(), "");
  ui_ = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(ui_);
  projectContext().formProductStrings();
  projectContext().lastErrorText.clear();
  project_ = makeRef<AGP>();
  project_->AddProj(u"Shop Site");
  std::filesystem::create_directories(dir_.path() / "site");
  project_->setDestination(fromUtf8((dir_.path() / "site").string()));
}

void ScriptHostTest::TearDown() {
  ui::setBackendForTesting(nullptr);
  projectContext().lastErrorText.clear();
  project_ = nullptr;
}

void ScriptHostTest::setGeneral(const std::u16string& name, const std::u16string& value) {
  SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(name), 1,
              Variant(value));
}

std::u16string ScriptHostTest::writeFile(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = dir_.path() / "files" / name;
  test::writeFile(path, bytes);
  return fromUtf8(path.string());
}

void ScriptHostTest::addDatabase() {
  ASSERT_TRUE(project_->databases().add(u"Shop"));
  Ref<AGPDatabase> db = project_->databases().item(Variant(u"Shop"));
  project_->setDB(db);
  AGPTables& tables = db->tables();
  ASSERT_TRUE(tables.add(u"Orders"));
  ASSERT_TRUE(tables.add(u"Customers"));
  Ref<AGPTable> orders = tables.item(Variant(u"Orders"));
  orders->fields().add(u"Orders", u"OrderID");
  orders->fields().add(u"Orders", u"Total");
  tables.item(Variant(u"Customers"))->fields().add(u"Customers", u"Name");
}

Ref<AGScript> ScriptHostTest::initializedHost() {
  Ref<AGScript> host = makeRef<AGScript>();
  host->Initialize(project_, project_->DB(), projectTemplateControls(*project_),
                   Ref<Object>(&SharedLanguage()), ScriptCustomScriptsObject(),
                   Ref<Object>(&SharedFilter()), ScriptExtensionsObject(),
                   Ref<Object>(&SharedMenus()));
  return host;
}

std::size_t ScriptHostTest::messagesShown() const {
  return ui_->events(ui::RecordingBackend::Event::Kind::Asked).size();
}

}  // namespace vantorel::test
