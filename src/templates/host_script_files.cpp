// The box the entry points that drive the script host show for a script file that is not there.
#include "platform/ui/ui.hpp"
#include "templates/script_files.hpp"

namespace vantorel {

void showScriptFileFailure(const Failure& failure) {
  ui::messageBox(failure.text);
}

}  // namespace vantorel
