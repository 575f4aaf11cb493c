#include "generator/run_warnings.hpp"

#include "foundation/project_context.hpp"
#include "generator/generation_run.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

void WarnOnce(GenerationRun& run, std::u16string text) {
  if (!run.warnings.insert(text).second) return;
  ui::messageBox(text, projectContext().productTitle, ui::Buttons::OK, ui::Icon::Exclamation);
}

}  // namespace vantorel
