// AGP.UnLoadTable: gives back what a loaded table holds (its charts and fields, with their menu
// entries, phrases and extension settings) while the table stays known, not loaded and not
// generated, so that a later LoadTable reads it again with its table settings kept.
#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"

namespace vantorel {

namespace {

Expected<> unloadTable(AGP& project, const std::u16string& sTableName) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return Failure{databaseNotLoaded()};
  const Ref<AGPTable> table = tableNamedExactly(db->tables(), sTableName);
  if (!table) return Failure{titledMessage(u"Table " + sTableName + u" not found!")};
  AGProperties& bag = table->properties();
  if (!settingAsBool(bag.setting(kTblLoaded))) {
    return Failure{titledMessage(u"Table " + sTableName + u" not loaded!")};
  }
  EntryStatus status(project, u"Unloading " + sTableName, true);
  const std::u16string name = table->tblName();
  table->charts().deleteAll(name);
  table->fields().removeAll(name);
  bag.setting(kTblLoaded) = Variant(false);
  table->setTblGen(false);
  status.close();
  SyncMenus(project);
  return {};
}

}  // namespace

void AGP::UnLoadTable(const std::u16string& sTableName) {
  reportEntry(unloadTable(*this, sTableName));
}

}  // namespace vantorel
