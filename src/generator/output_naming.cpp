#include "generator/output_naming.hpp"

#include "agp/agp.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

std::u16string projectSettingText(AGP& proj, std::u16string_view name) {
  const Variant* value = proj.properties().findValue(name);
  if (value == nullptr) return {};
  try {
    return toString(*value);
  } catch (const AutomationError&) {
    return {};
  }
}

bool projectSettingFlag(AGP& proj, std::u16string_view name) {
  const Variant* value = proj.properties().findValue(name);
  if (value == nullptr) return false;
  try {
    return toBool(*value);
  } catch (const AutomationError&) {
    return false;  // text that is no Boolean counts as off, as an unset option does
  }
}

std::u16string ApplyNamePattern(std::u16string_view tablePart, std::u16string_view fieldPart,
                                std::u16string_view page, std::u16string_view nameType,
                                std::u16string_view nameWord, bool lowerCase) {
  std::u16string unit(tablePart);
  if (!fieldPart.empty()) {
    unit += u'_';
    unit += fieldPart;
  }
  const std::u16string type = toLower(nameType);
  std::u16string result;
  if (type == u"prefix") {
    result.append(nameWord).append(unit).append(page);
  } else if (type == u"infix") {
    if (!unit.empty()) result.append(unit).append(nameWord);
    result.append(page);
  } else if (type == u"suffix") {
    result.append(unit).append(page).append(nameWord);
  } else {
    result.append(unit).append(page);
  }
  return lowerCase ? toLower(result) : result;
}

std::u16string FormatOutputName(AGP& proj, std::u16string_view tablePart,
                                std::u16string_view fieldPart, std::u16string_view page) {
  return ApplyNamePattern(tablePart, fieldPart, page, projectSettingText(proj, u"OutputNameType"),
                          projectSettingText(proj, u"OutputNameExt"),
                          projectSettingFlag(proj, u"OutputNameLCase"));
}

std::u16string GetOutputFileName(AGP& proj, const AGPControl& control,
                                 std::u16string_view tablePart, std::u16string_view fieldPart) {
  const AGControlFields& c = control.fields();
  std::u16string base = c.CtrlOFile;
  std::u16string ext = proj.ResolveExt(c.CtrlOExt);
  if (projectSettingFlag(proj, u"AppCompat") && !c.CtrlOFileCompat.empty())
    base = c.CtrlOFileCompat;

  const std::u16string type = toLower(c.CtrlType);
  if (type == u"copy") {
    // A copy keeps the name of what it copies, exactly as the control file lists it.
    if (c.CtrlOFile.empty()) return c.CtrlIFiles.empty() ? c.CtrlID : c.CtrlIFiles;
  } else if (type == u"other") {
    base = FormatOutputName(proj, u"", u"", base);
  } else if (type == u"table" || type == u"report") {
    base = FormatOutputName(proj, tablePart, u"", base);
  } else if (type == u"field") {
    base = FormatOutputName(proj, tablePart, fieldPart, base);
  }

  if (equalsNoCase(c.CtrlParm, u"usecompatversion"))
    base += projectSettingText(proj, u"AppCompatVersion");
  if (projectSettingFlag(proj, u"OutputNameLCase")) {
    base = toLower(base);
    ext = toLower(ext);
  }
  if (!ext.empty()) {
    base += u'.';
    base += ext;
  }
  return base;
}

std::u16string GetFolderById(const AGPControls& controls, std::u16string_view folderId) {
  for (const Ref<AGPControl>& control : controls.items()) {
    const AGControlFields& c = control->fields();
    if (equalsNoCase(c.CtrlType, u"folder") && equalsNoCase(c.CtrlID, folderId))
      return c.CtrlOFolder;
  }
  return {};
}

std::u16string GetOutputFolder(const AGPControls& controls, std::u16string_view folderId,
                               std::u16string_view defaultFolder) {
  if (!folderId.empty()) return GetFolderById(controls, folderId);
  return std::u16string(defaultFolder);
}

}  // namespace vantorel
