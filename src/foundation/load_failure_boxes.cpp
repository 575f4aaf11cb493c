// The boxes that tell of a keyword or custom settings file that did not load. The loaders show
// nothing; the entry points that load the files show these, each where its load happens, so that
// the boxes keep their places among the other questions of the operation.
#include <exception>

#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/product.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

void showKeywordLoadFailure(const Failure& failure) {
  if (failure.text.empty()) return;
  try {
    ui::messageBox(failure.text, kProductTitle, ui::Buttons::OK, ui::Icon::Exclamation);
  } catch (const std::exception&) {
    // The box only informs; without it the load still reports its failure.
  }
}

void showSettingsLoadFailure(const Failure& failure) {
  try {
    ui::messageBox(failure.text);
  } catch (const std::exception&) {
    // The box only informs; every lookup now answers "not found" either way.
  }
}

}  // namespace vantorel
