#include "surface/project_extension_members.hpp"

#include "extensions/declarations.hpp"
#include "extensions/extension_operations.hpp"

namespace vantorel::surface {

Ref<AGPExtensions> extensionsMember(AGP& /*project*/) {
  return Ref<AGPExtensions>(&SharedExtensions());
}
Ref<AGPCodeBase> codeBaseMember(AGP& /*project*/) {
  return Ref<AGPCodeBase>(&SharedCodeBase());
}
Ref<AGPCustomScripts> customScriptsMember(AGP& /*project*/) {
  return Ref<AGPCustomScripts>(&SharedCustomScripts());
}
bool deleteExtensionMember(AGP& /*project*/, const std::u16string& name) {
  return DeleteExtension(name);
}

namespace {

using AddExtended = bool (*)(AGP&, const std::u16string&, const std::u16string&,
                             const std::u16string&, const xml::Node&);

bool addFromDeclarationFile(AGP& project, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& name, DeclarationLevel level, AddExtended add) {
  AGPExtension* extension = SharedExtensions().find(ext);
  ExtensionDeclarations declarations;
  if (!extension || extension->xmlFile().empty() || !declarations.load(extension->xmlFile())) {
    return false;
  }
  return add(project, ext, tbl, name, declarations.node(level));
}

}  // namespace

bool addExtendedChartMember(AGP& project, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& chart, const Variant& /*node*/) {
  return addFromDeclarationFile(project, ext, tbl, chart, DeclarationLevel::Chart,
                                &AddExtendedChart);
}
bool addExtendedFieldMember(AGP& project, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& field, const Variant& /*node*/) {
  return addFromDeclarationFile(project, ext, tbl, field, DeclarationLevel::Field,
                                &AddExtendedField);
}

}  // namespace vantorel::surface
