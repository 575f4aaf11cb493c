// Placeholder until the snapshot loaders arrive: every load fails.
#include "foundation/project_context.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

void AGPSchema::LoadDB(std::u16string&, const std::u16string&, const std::u16string&,
                       const std::u16string&, bool, const std::u16string&, const std::u16string&,
                       const std::u16string&, const std::u16string&, const std::u16string&) {
  projectContext().lastErrorText = u"Load Database failed!";
}

std::int16_t AGPSchema::LoadADOCustomView(const std::u16string&, const std::u16string&,
                                          const std::u16string&) {
  projectContext().lastErrorText = u"Load Database failed!";
  return 1;
}

}  // namespace vantorel
