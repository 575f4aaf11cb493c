// The project object's members that belong to the project file.
#include "agp/agp.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/ui/ui.hpp"
#include "project/project_state.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"

namespace vantorel {

void AGP::Save(const std::u16string& projFile) {
  saveProject(*this, projFile);
}

void AGP::Load(const std::u16string& projFile) {
  if (const std::optional<std::u16string> notice = loadProject(*this, projFile)) {
    ui::messageBox(*notice, ProductTitle(), ui::Buttons::OK, ui::Icon::Exclamation);
  }
}

void AGP::SaveDefault() {
  saveProjectDefaults(*this);
}

// Scripts pass the path by reference; the engine only reads it.
void AGP::scriptSave(Variant& projFile) {
  Save(toString(projFile));
}

void AGP::scriptLoad(Variant& projFile) {
  Load(toString(projFile));
}

}  // namespace vantorel
