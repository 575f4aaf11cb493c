#include "agp/project_operations.hpp"

#include "agp/agp.hpp"
#include "foundation/installed_operation.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

ProjectOperations& projectOperations() noexcept {
  static ProjectOperations operations;
  return operations;
}

void AGP::Save(const std::u16string& projFile) {
  installedOperation(projectOperations().save, u"AGP", u"Save")(*this, projFile);
}

void AGP::Load(const std::u16string& projFile) {
  installedOperation(projectOperations().load, u"AGP", u"Load")(*this, projFile);
}

void AGP::SaveDefault() {
  installedOperation(projectOperations().saveDefault, u"AGP", u"SaveDefault")(*this);
}

std::u16string AGP::BuildExParseFunction(const std::u16string& text) {
  return installedOperation(projectOperations().buildExParseFunction, u"AGP",
                            u"BuildExParseFunction")(*this, text);
}

void AGP::GenScript() {
  installedOperation(projectOperations().genScript, u"AGP", u"GenScript")(*this);
}

std::int16_t AGP::GenCheck() {
  return installedOperation(projectOperations().genCheck, u"AGP", u"GenCheck")(*this);
}

std::int16_t AGP::CompareVersion(const std::u16string& a, const std::u16string& b) {
  return installedOperation(projectOperations().compareVersion, u"AGP", u"CompareVersion")(a, b);
}

std::int16_t AGP::BoolToNum(const Variant& value) {
  return installedOperation(projectOperations().boolToNum, u"AGP", u"BoolToNum")(value);
}

void AGP::WriteOutputFile(const std::u16string& path, const std::u16string& text, bool plainOnly) {
  installedOperation(projectOperations().writeOutputFile, u"AGP", u"WriteOutputFile")(path, text,
                                                                                     plainOnly);
}

void AGP::WriteUtf8File(const std::u16string& path, const std::u16string& text) {
  installedOperation(projectOperations().writeUtf8File, u"AGP", u"WriteUtf8File")(path, text);
}

void AGP::DeleteFolderIfExists(const std::u16string& folder) {
  installedOperation(projectOperations().deleteFolderIfExists, u"AGP",
                     u"DeleteFolderIfExists")(folder);
}

// Scripts pass the path by reference; the engine only reads it.
void AGP::scriptSave(Variant& projFile) {
  Save(toString(projFile));
}

void AGP::scriptLoad(Variant& projFile) {
  Load(toString(projFile));
}

}  // namespace vantorel
