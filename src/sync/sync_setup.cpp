#include "sync/sync_setup.hpp"

#include "agp/agp.hpp"
#include "agp/late_members.hpp"
#include "sync/custom_sync.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel {

namespace {

void syncCustomMember(AGP& project, const std::u16string& sTable) {
  SyncCustom(project, sTable);
}
void syncReportMember(AGP& project, const std::u16string& sTable) {
  SyncReport(project, sTable);
}

}  // namespace

void installSyncOperations() noexcept {
  installLateMember(u"SynchronizeDB", &lateMemberEntry<&SynchronizeDB>);
  installLateMember(u"SyncCustom", &lateMemberEntry<&syncCustomMember>);
  installLateMember(u"SyncReport", &lateMemberEntry<&syncReportMember>);
}

}  // namespace vantorel
