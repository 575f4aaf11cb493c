// The script members of the field and its list.
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_members.hpp"
#include "platform/automation/bind.hpp"
#include "surface/install_table.hpp"
#include "surface/list_members.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

void installFieldTables() noexcept {
  installTable<AGPField>(u"AGPField", [](ClassInfo& c) {
    using T = AGPField;
    // The interface order: the edit control's pair stands before the view pair, and the derived
    // FldParm right behind FldVar. Naming the members first fixes their places; the catalog's
    // properties then fill them in.
    for (std::u16string_view name : {u"Properties", u"GetV", u"SetV", u"Key"}) c.define(name);
    const SettingCatalog& rows = fieldCatalog();
    for (SettingSlot s = 0; s < rows.size(); ++s) {
      if (s == kFldViewTag) {
        c.define(rows[kFldHtmlTag].name);
        c.define(rows[kFldHtmlTagReadOnly].name);
      }
      c.define(rows[s].name);
      if (s == kFldVar) c.define(u"FldParm");
    }
    ClassBuilder<T>(c)
        .get<&T::Properties>(u"Properties")
        .method<&T::GetV>(u"GetV")
        .method<&T::SetV>(u"SetV")
        .prop<&T::Key, &T::setKey>(u"Key")
        .settings<&T::properties>(rows)
        .get<&T::FldParm>(u"FldParm")
        .method<&T::scriptLoadFldDao>(u"LoadFld_DAO")
        .method<&T::scriptLoadFldAdo>(u"LoadFld_ADO")
        .method<&T::LoadFldDefault>(u"LoadFldDefault");
  });
  installTable<AGPFields>(u"AGPFields", [](ClassInfo& c) {
    using T = AGPFields;
    ClassBuilder<T> b(c);
    listHeadMembers<&T::scriptDelete, &T::fieldExist>(b, u"FieldExist")
        .method<&T::setItem>(u"SetItem")
        .method<&T::setSeq>(u"SetSeq")
        .method<&T::scriptNewEnum>(u"NewEnum_fld")
        .enumerator<&T::newEnum>();
  });
}

}  // namespace vantorel::surface
