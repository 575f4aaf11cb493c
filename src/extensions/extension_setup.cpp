#include "extensions/extension_setup.hpp"

#include <string>

#include "agp/agp.hpp"
#include "agp/extension_hooks.hpp"
#include "agp/late_members.hpp"
#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/declarations.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "extensions/script_functions.hpp"
#include "extensions/setting_access.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

namespace {

Ref<AGPExtensions> extensionsMember(AGP& /*proj*/) {
  return Ref<AGPExtensions>(&SharedExtensions());
}
Ref<AGPCodeBase> codeBaseMember(AGP& /*proj*/) {
  return Ref<AGPCodeBase>(&SharedCodeBase());
}
Ref<AGPCustomScripts> customScriptsMember(AGP& /*proj*/) {
  return Ref<AGPCustomScripts>(&SharedCustomScripts());
}
bool deleteExtensionMember(AGP& /*proj*/, const std::u16string& name) {
  return DeleteExtension(name);
}

// Scripts cannot hand over a declaration node; the extension's own file gives it. The node
// argument is accepted and not used.
bool addExtendedChartMember(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& chart, const Variant& /*node*/) {
  AGPExtension* extension = SharedExtensions().find(ext);
  ExtensionDeclarations declarations;
  if (!extension || extension->xmlFile().empty() || !declarations.load(extension->xmlFile())) {
    return false;
  }
  return AddExtendedChart(proj, ext, tbl, chart, declarations.node(DeclarationLevel::Chart));
}
bool addExtendedFieldMember(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& field, const Variant& /*node*/) {
  AGPExtension* extension = SharedExtensions().find(ext);
  ExtensionDeclarations declarations;
  if (!extension || extension->xmlFile().empty() || !declarations.load(extension->xmlFile())) {
    return false;
  }
  return AddExtendedField(proj, ext, tbl, field, declarations.node(DeclarationLevel::Field));
}

// Unloading the database: every extension and every custom script goes, the last first, so no
// sequence number is renumbered on the way.
void deleteAll(AGP& /*proj*/) {
  AGPExtensions& extensions = SharedExtensions();
  while (extensions.count() > 0) {
    if (!extensions.remove(
            Variant(extensions.at(static_cast<std::size_t>(extensions.count() - 1)).name())))
      break;
  }
  AGPCustomScripts& scripts = SharedCustomScripts();
  while (scripts.count() > 0) {
    if (!scripts.remove(scripts.at(static_cast<std::size_t>(scripts.count() - 1)).keys())) break;
  }
}

}  // namespace

void registerExtensionClasses(ClassFactory& factory) {
  registerEngineClass<AGPExtensions>(factory, u"AGPExtensions");
  registerEngineClass<AGPExtension>(factory, u"AGPExtension");
  registerEngineClass<AGPExtProj>(factory, u"AGPExtProj");
  registerEngineClass<AGPExtDbs>(factory, u"AGPExtDbs");
  registerEngineClass<AGPExtDb>(factory, u"AGPExtDb");
  registerEngineClass<AGPExtTables>(factory, u"AGPExtTables");
  registerEngineClass<AGPExtTable>(factory, u"AGPExtTable");
  registerEngineClass<AGPExtCharts>(factory, u"AGPExtCharts");
  registerEngineClass<AGPExtChart>(factory, u"AGPExtChart");
  registerEngineClass<AGPExtFields>(factory, u"AGPExtFields");
  registerEngineClass<AGPExtField>(factory, u"AGPExtField");
  registerEngineClass<AGPCustomScripts>(factory, u"AGPCustomScripts");
  registerEngineClass<AGPCustomScript>(factory, u"AGPCustomScript");
  registerEngineClass<AGPCodeBase>(factory, u"AGPCodeBase");
}

void installExtensionOperations() noexcept {
  installExtensionSeams();

  installLateMember(u"Extensions", &lateMemberEntry<&extensionsMember>);
  installLateMember(u"CodeBase", &lateMemberEntry<&codeBaseMember>);
  installLateMember(u"customscripts", &lateMemberEntry<&customScriptsMember>);
  installLateMember(u"AddExtension", &lateMemberEntry<&AddExtension>);
  installLateMember(u"GetExtDefault", &lateMemberEntry<&GetExtDefault>);
  installLateMember(u"SetExtProjAtt", &lateMemberEntry<&SetExtProjAtt>);
  installLateMember(u"GetExtProjAtt", &lateMemberEntry<&GetExtProjAtt>);
  installLateMember(u"SetExtDbAtt", &lateMemberEntry<&SetExtDbAtt>);
  installLateMember(u"GetExtDbAtt", &lateMemberEntry<&GetExtDbAtt>);
  installLateMember(u"SetExtTblAtt", &lateMemberEntry<&SetExtTblAtt>);
  installLateMember(u"GetExtTblAtt", &lateMemberEntry<&GetExtTblAtt>);
  installLateMember(u"SetExtChartAtt", &lateMemberEntry<&SetExtChartAtt>);
  installLateMember(u"GetExtChartAtt", &lateMemberEntry<&GetExtChartAtt>);
  installLateMember(u"SetExtFldAtt", &lateMemberEntry<&SetExtFldAtt>);
  installLateMember(u"GetExtFldAtt", &lateMemberEntry<&GetExtFldAtt>);
  installLateMember(u"AddExtendedChart", &lateMemberEntry<&addExtendedChartMember>);
  installLateMember(u"AddExtendedField", &lateMemberEntry<&addExtendedFieldMember>);
  installLateMember(u"CopyChartToExtensions", &lateMemberEntry<&CopyChartToExtensions>);
  installLateMember(u"DeleteExtension", &lateMemberEntry<&deleteExtensionMember>);
  installLateMember(u"AddCustomScript", &lateMemberEntry<&AddCustomScript>);
  installLateMember(u"UpdateCustomScript", &lateMemberEntry<&UpdateCustomScript>);
  installLateMember(u"DeleteCustomScript", &lateMemberEntry<&DeleteCustomScript>);
  installLateMember(u"LoadCodeBase", &lateMemberEntry<&LoadCodeBase>);
  installLateMember(u"CodeBaseExist", &lateMemberEntry<&CodeBaseExist>);
  installLateMember(u"LoadCustomScriptCode", &lateMemberEntry<&LoadCustomScriptCode>);

  ExtensionHooks& hooks = extensionHooks();
  hooks.loadExtensions = &LoadExtensions;
  hooks.applyToTable = &ApplyExtensionsToTable;
  hooks.applyToChart = &ApplyExtensionsToChart;
  hooks.applyToField = &ApplyExtensionsToField;
  hooks.copyChart = &CopyChartToExtensions;
  hooks.deleteAll = &deleteAll;
}

}  // namespace vantorel
