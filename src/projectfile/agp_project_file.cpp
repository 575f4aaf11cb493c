// The project object's members that belong to the project file.
#include "agp/agp.hpp"
#include "platform/automation/variant_convert.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"

namespace vantorel {

void AGP::Save(const std::u16string& projFile) {
  saveProject(*this, projFile);
}

void AGP::Load(const std::u16string& projFile) {
  loadProject(*this, projFile);
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
