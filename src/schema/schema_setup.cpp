#include "schema/schema_setup.hpp"

#include "agp/agp.hpp"
#include "agp/late_members.hpp"
#include "platform/automation/variant_convert.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"

namespace vantorel {

namespace {

// bCopyFields is read as a Boolean, a null value (or one that is no Boolean) counting as False.
void loadCustomViewMember(AGP& proj, const std::u16string& sTableName, const std::u16string& sSQL,
                          const Variant& bCopyFields) {
  bool copy = false;
  if (!bCopyFields.isNull() && !bCopyFields.isEmpty()) {
    try {
      copy = toBool(bCopyFields);
    } catch (const AutomationError&) {
      copy = false;
    }
  }
  LoadCustomView(proj, sTableName, sSQL, copy);
}

}  // namespace

void installSchemaOperations() noexcept {
  installLateMember(u"CustomViewConnStr", &lateMemberEntry<&CustomViewConnStr>);
  installLateMember(u"LoadCustomView", &lateMemberEntry<&loadCustomViewMember>);
  installLateMember(u"ChangeCustomViewToView", &lateMemberEntry<&ChangeCustomViewToView>);
  installLateMember(u"CheckDB", &lateMemberEntry<&CheckDB>);
}

}  // namespace vantorel
