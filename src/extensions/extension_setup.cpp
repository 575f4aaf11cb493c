#include "extensions/extension_setup.hpp"

#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

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
#include "platform/automation/bind.hpp"

namespace vantorel {

namespace {

template <auto Fn>
Variant projectEntry(Object& self, CallArgs args) {
  return lateMemberEntry<Fn>(self, args);
}

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
  if (!extension || extension->xmlFile().empty() || declarations.load(extension->xmlFile())) {
    return false;
  }
  return AddExtendedChart(proj, ext, tbl, chart, declarations.node(DeclarationLevel::Chart));
}
bool addExtendedFieldMember(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& field, const Variant& /*node*/) {
  AGPExtension* extension = SharedExtensions().find(ext);
  ExtensionDeclarations declarations;
  if (!extension || extension->xmlFile().empty() || declarations.load(extension->xmlFile())) {
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

  installLateMember(u"Extensions", &projectEntry<&extensionsMember>);
  installLateMember(u"CodeBase", &projectEntry<&codeBaseMember>);
  installLateMember(u"customscripts", &projectEntry<&customScriptsMember>);
  installLateMember(u"AddExtension", &projectEntry<&AddExtension>);
  installLateMember(u"GetExtDefault", &projectEntry<&GetExtDefault>);
  installLateMember(u"SetExtProjAtt", &projectEntry<&SetExtProjAtt>);
  installLateMember(u"GetExtProjAtt", &projectEntry<&GetExtProjAtt>);
  installLateMember(u"SetExtDbAtt", &projectEntry<&SetExtDbAtt>);
  installLateMember(u"GetExtDbAtt", &projectEntry<&GetExtDbAtt>);
  installLateMember(u"SetExtTblAtt", &projectEntry<&SetExtTblAtt>);
  installLateMember(u"GetExtTblAtt", &projectEntry<&GetExtTblAtt>);
  installLateMember(u"SetExtChartAtt", &projectEntry<&SetExtChartAtt>);
  installLateMember(u"GetExtChartAtt", &projectEntry<&GetExtChartAtt>);
  installLateMember(u"SetExtFldAtt", &projectEntry<&SetExtFldAtt>);
  installLateMember(u"GetExtFldAtt", &projectEntry<&GetExtFldAtt>);
  installLateMember(u"AddExtendedChart", &projectEntry<&addExtendedChartMember>);
  installLateMember(u"AddExtendedField", &projectEntry<&addExtendedFieldMember>);
  installLateMember(u"CopyChartToExtensions", &projectEntry<&CopyChartToExtensions>);
  installLateMember(u"DeleteExtension", &projectEntry<&deleteExtensionMember>);
  installLateMember(u"AddCustomScript", &projectEntry<&AddCustomScript>);
  installLateMember(u"UpdateCustomScript", &projectEntry<&UpdateCustomScript>);
  installLateMember(u"DeleteCustomScript", &projectEntry<&DeleteCustomScript>);
  installLateMember(u"LoadCodeBase", &projectEntry<&LoadCodeBase>);
  installLateMember(u"CodeBaseExist", &projectEntry<&CodeBaseExist>);
  installLateMember(u"LoadCustomScriptCode", &projectEntry<&LoadCustomScriptCode>);

  ExtensionHooks& hooks = extensionHooks();
  hooks.loadExtensions = &LoadExtensions;
  hooks.applyToTable = &ApplyExtensionsToTable;
  hooks.applyToChart = &ApplyExtensionsToChart;
  hooks.applyToField = &ApplyExtensionsToField;
  hooks.copyChart = &CopyChartToExtensions;
  hooks.deleteAll = &deleteAll;
}

}  // namespace vantorel
