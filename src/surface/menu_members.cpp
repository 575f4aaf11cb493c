// The script members of the menu list and its items.
#include "platform/automation/bind.hpp"
#include "project/menu.hpp"
#include "project/menus.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

void installMenuTables() noexcept {
  installTable<AGPMenu>(u"AGPMenu", [](ClassInfo& c) {
    using T = AGPMenu;
    ClassBuilder<T>(c)
        .get<&T::MenuAttExist>(u"MenuAttExist")
        .get<&T::MenuAtt>(u"MenuAtt")
        .prop<&T::MenuId, &T::setMenuId>(u"MenuId")
        .prop<&T::MenuText, &T::setMenuText>(u"MenuText")
        .prop<&T::MenuParentId, &T::setMenuParentId>(u"MenuParentId")
        .prop<&T::MenuSource, &T::setMenuSource>(u"MenuSource")
        .prop<&T::MenuExtUrl, &T::setMenuExtUrl>(u"MenuExtUrl")
        .prop<&T::MenuAnonymous, &T::setMenuAnonymous>(u"MenuAnonymous")
        .prop<&T::MenuSecurity, &T::setMenuSecurity>(u"MenuSecurity")
        .prop<&T::MenuUrl, &T::setMenuUrl>(u"MenuUrl")
        .prop<&T::MenuType, &T::setMenuType>(u"MenuType")
        .prop<&T::MenuCustomUrl, &T::setMenuCustomUrl>(u"MenuCustomUrl")
        .prop<&T::MenuLevel, &T::setMenuLevel>(u"MenuLevel")
        .prop<&T::MenuShow, &T::setMenuShow>(u"MenuShow")
        .prop<&T::MenuDisplayOrder, &T::setMenuDisplayOrder>(u"MenuDisplayOrder")
        .method<&T::scriptLoad>(u"Load");
  });
  installTable<AGPMenus>(u"AGPMenus", [](ClassInfo& c) {
    using T = AGPMenus;
    ClassBuilder<T>(c)
        .get<&T::curIndex>(u"curIndex")
        .method<&T::scriptLoadMenus>(u"LoadMenus")
        .method<&T::scriptAddMenu>(u"AddMenu")
        .method<&T::scriptChangeMenu>(u"ChangeMenu")
        .method<&T::DeleteMenu>(u"DeleteMenu")
        .method<&T::Sort>(u"Sort")
        .method<&T::Count>(u"Count")
        .method<&T::MenuHasID>(u"MenuHasID")
        .method<&T::GetItemByID>(u"GetItemByID")
        .method<&T::MenuHasTable>(u"MenuHasTable")
        .method<&T::GetItemByTableName>(u"GetItemByTableName")
        .method<&T::Item>(u"Item");
  });
}

}  // namespace vantorel::surface
