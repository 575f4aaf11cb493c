#include "extensions/script_functions.hpp"

#include "agp/agp.hpp"
#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "generator/output_formatting.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

bool AddCustomScript(AGP& /*proj*/, const std::u16string& scriptType,
                     const std::u16string& codeType, const std::u16string& name,
                     const std::u16string& ctrlId, const std::u16string& l1Key,
                     const std::u16string& l2Key, const std::u16string& code) {
  const CustomScriptKeys keys{scriptType, codeType, name, ctrlId, l1Key, l2Key};
  AGPCustomScripts& scripts = SharedCustomScripts();
  if (!scripts.add(keys)) return false;
  AGPCustomScript* script = scripts.scriptItem(keys);
  if (!script) return false;
  script->setCode(code);
  return true;
}

bool UpdateCustomScript(AGP& /*proj*/, const std::u16string& scriptType,
                        const std::u16string& codeType, const std::u16string& name,
                        const std::u16string& ctrlId, const std::u16string& l1Key,
                        const std::u16string& l2Key, const std::u16string& code) {
  AGPCustomScript* script =
      SharedCustomScripts().scriptItem({scriptType, codeType, name, ctrlId, l1Key, l2Key});
  if (!script) return false;
  script->setCode(code);
  return true;
}

bool DeleteCustomScript(AGP& /*proj*/, const std::u16string& scriptType,
                        const std::u16string& codeType, const std::u16string& name,
                        const std::u16string& ctrlId, const std::u16string& l1Key,
                        const Variant& l2Key) {
  std::u16string l2;
  try {
    l2 = l2Key.isMissing() ? std::u16string() : toString(l2Key);
  } catch (const AutomationError&) {
    return false;
  }
  return SharedCustomScripts().remove({scriptType, codeType, name, ctrlId, l1Key, l2});
}

std::u16string LoadCodeBase(AGP& /*proj*/, const std::u16string& scriptType,
                            const std::u16string& codeType, const std::u16string& name) {
  return SharedCodeBase().CodeSource(scriptType, codeType, name);
}

bool CodeBaseExist(AGP& /*proj*/, const std::u16string& scriptType,
                   const std::u16string& codeType, const std::u16string& name) {
  return SharedCodeBase().CodeExist(scriptType, codeType, name);
}

std::u16string LoadCustomScriptCode(AGP& proj, const std::u16string& scriptType,
                                    const std::u16string& codeType, const std::u16string& name,
                                    const std::u16string& ctrlId, const std::u16string& l1Key,
                                    const std::u16string& l2Key) {
  projectContext().lastErrorText.clear();
  std::u16string path;
  try {
    path = toString(GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey),
                                Variant(u"CodeBase")));
  } catch (const AutomationError&) {
    return {};
  }
  if (path.empty() || !fs::fileExists(path)) return {};
  SharedCodeBase().Load(path);

  // The control, table and field become the current items of their lists, as the host expects
  // after asking for one of their snippets.
  projectTemplateControls(proj)->Item(Variant(ctrlId));
  const std::u16string kind = toLower(codeType);
  if ((kind == u"table" || kind == u"field") && proj.DB()) {
    AGPTables& tables = proj.DB()->tables();
    if (tables.tableExist(Variant(l1Key))) {
      const Ref<AGPTable> table = tables.item(Variant(l1Key));
      if (kind == u"field" && table && table->fields().fieldExist(Variant(l2Key))) {
        table->fields().item(Variant(l2Key));
      }
    }
  }
  return FormatGeneratedOutput(u"", LoadCodeBase(proj, scriptType, codeType, name));
}

}  // namespace vantorel
