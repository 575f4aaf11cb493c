#include "agp/entry_steps.hpp"

#include <cstdint>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

Ref<AGPTable> tableNamedExactly(const AGPTables& tables, std::u16string_view name) {
  for (std::int16_t i = 1, n = static_cast<std::int16_t>(tables.count()); i <= n; ++i) {
    Ref<AGPTable> table = tables.seq(i);
    if (table && table->tblName() == name) return table;
  }
  return nullptr;
}

std::u16string titledMessage(std::u16string_view message) {
  std::u16string text = projectContext().productTitle;
  text += u": ";
  text += message;
  return text;
}

std::u16string databaseNotLoaded() {
  return titledMessage(u"Database not loaded!");
}

EntryStatus::EntryStatus(AGP& project, std::u16string_view phase, bool second) {
  ProjectContext& context = projectContext();
  context.statusText = context.productTitle + u" - " + std::u16string(phase) + u"...";
  // This display takes the caption as it is: the length in front is the other display's form.
  const Variant owner(project.lhWnd());
  if (second) {
    Status().ShowStatus2(owner, Variant(context.statusText));
    Status().DispStatus(Variant(u"Please wait..."));
  } else {
    Status().ShowStatus(owner, Variant(context.statusText));
  }
  ui::yieldToHost();
}

void EntryStatus::close() noexcept {
  try {
    Status().CloseStatus();
  } catch (...) {
    // A display that cannot close must not hide the entry's own outcome.
  }
}

}  // namespace vantorel
