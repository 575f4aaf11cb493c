// AGP.UnLoadTable: gives back what a loaded table holds (its charts and fields, with their menu
// entries, phrases and extension settings) while the table stays known, not loaded and not
// generated, so that a later LoadTable reads it again with its table settings kept.
#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"

namespace vantorel {

void AGP::UnLoadTable(const std::u16string& sTableName) {
  ProjectContext& context = projectContext();
  const Ref<AGPDatabase> db = DB();
  if (!db) {
    context.lastErrorText = databaseNotLoaded();
    return;
  }
  const Ref<AGPTable> table = tableNamedExactly(db->tables(), sTableName);
  if (!table) {
    context.lastErrorText = titledMessage(u"Table " + sTableName + u" not found!");
    return;
  }
  AGProperties& bag = table->properties();
  if (!settingAsBool(bag.setting(kTblLoaded))) {
    context.lastErrorText = titledMessage(u"Table " + sTableName + u" not loaded!");
    return;
  }
  EntryStatus status(*this, u"Unloading " + sTableName, true);
  const std::u16string name = table->tblName();
  table->charts().deleteAll(name);
  table->fields().removeAll(name);
  bag.setting(kTblLoaded) = Variant(false);
  table->setTblGen(false);
  status.close();
  SyncMenus(*this);
  context.lastErrorText.clear();
}

}  // namespace vantorel
