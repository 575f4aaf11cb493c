// AGP.UnLoadDB: takes the project back to the state without a database, so that another can be
// loaded. Besides the database with its tables (whose release unloads them one by one), what
// only made sense with it goes too: the whole menu list and the login table settings.
#include <cstdint>

#include "agp/agp.hpp"
#include "agp/extension_hooks.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"

namespace vantorel {

void AGP::UnLoadDB() {
  Ref<AGPDatabase> db = DB();
  if (!db) return;
  ProjectContext& context = projectContext();
  if (db->tables().count() > UnloadThreshold()) {
    context.statusText = context.productTitle + u" - Unloading Database...";
  }
  setDB(nullptr);
  // Removed as the object it is: a database renamed since it was added is not missed.
  databases().removeDatabase(*db);
  currentDbKey_.clear();
  // The last reference: the database's teardown unloads its tables now.
  db = nullptr;
  hooks::DeleteExtensionsAndCustomScripts(*this);
  AGPMenus& menus = MenuList();
  for (std::int32_t i = menus.Count(); i >= 1; --i) {
    if (const Ref<AGPMenu> item = menus.Item(i)) menus.DeleteMenu(item->MenuId());
  }
  context.lastErrorText.clear();
  ClearSecurityTable();
}

void AGP::ClearSecurityTable() {
  AGProperties& bag = properties();
  bag.setting(kProjSecTbl) = Variant(u"");
  bag.setting(kProjSecLoginIDFld) = Variant(u"");
  bag.setting(kProjSecPasswdFld) = Variant(u"");
}

}  // namespace vantorel
