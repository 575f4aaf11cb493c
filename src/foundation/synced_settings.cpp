#include "foundation/synced_settings.hpp"

#include "platform/text/case_fold.hpp"

namespace vantorel {

void CopySyncedSettings(const AGProperties& source, AGProperties& target,
                        std::u16string_view except) {
  // A bag copied onto itself has nothing to change.
  if (&source == &target) return;
  source.forEachSetting([&](SettingSlot, const SettingRecord& record, const Variant& value) {
    if (!record.sync) return;
    if (!except.empty() && equalsNoCase(record.name, except)) return;
    if (const std::optional<SettingSlot> slot = target.slotOf(record.name)) {
      target.setValue(*slot, value);
    }
  });
}

}  // namespace vantorel
