#include "agp/project_operations.hpp"

#include "agp/agp.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

ProjectOperations& projectOperations() noexcept {
  static ProjectOperations operations;
  return operations;
}

namespace {

template <typename Operation>
Operation installed(Operation operation, const char16_t* member) {
  if (!operation) {
    throw AutomationError(445, u"AGP", std::u16string(u"AGP.") + member + u" is not available");
  }
  return operation;
}

}  // namespace

void AGP::Save(const std::u16string& projFile) {
  installed(projectOperations().save, u"Save")(*this, projFile);
}

void AGP::Load(const std::u16string& projFile) {
  installed(projectOperations().load, u"Load")(*this, projFile);
}

void AGP::SaveDefault() {
  installed(projectOperations().saveDefault, u"SaveDefault")(*this);
}

std::u16string AGP::BuildExParseFunction(const std::u16string& text) {
  return installed(projectOperations().buildExParseFunction, u"BuildExParseFunction")(*this, text);
}

void AGP::GenScript() {
  installed(projectOperations().genScript, u"GenScript")(*this);
}

std::int16_t AGP::GenCheck() {
  return installed(projectOperations().genCheck, u"GenCheck")(*this);
}

// Scripts pass the path by reference; the engine only reads it.
void AGP::scriptSave(Variant& projFile) {
  Save(toString(projFile));
}

void AGP::scriptLoad(Variant& projFile) {
  Load(toString(projFile));
}

}  // namespace vantorel
