// The project object's members. The project file, the template engine, generation, database
// loading, the schema check, the synchronisation and the extensions each do their part of them
// directly; the project object itself keeps its settings and its own layer's entries.
#include <cstdint>
#include <string>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/script_functions.hpp"
#include "extensions/setting_access.hpp"
#include "foundation/setting_members.hpp"
#include "foundation/setting_values.hpp"
#include "generator/generation_driver.hpp"
#include "model/database.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_file_operations.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"
#include "projectfile/working_folders.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "surface/project_extension_members.hpp"
#include "surface/surface_tables.hpp"
#include "sync/custom_sync.hpp"
#include "sync/sync_driver.hpp"
#include "templates/template_operations.hpp"

namespace vantorel::surface {

namespace {

// Scripts pass the path by reference; the project file only reads it.
void save(AGP& project, Variant& projFile) {
  saveProjectFile(project, toString(projFile));
}
void load(AGP& project, Variant& projFile) {
  loadProjectFile(project, toString(projFile));
}

std::int16_t compareVersion(AGP& /*project*/, const std::u16string& a, const std::u16string& b) {
  return CompareVersion(a, b);
}
std::int16_t boolToNum(AGP& /*project*/, const Variant& value) {
  return BoolToNum(value);
}
// The writers show their failures themselves; scripts get no result.
void writeOutputFile(AGP& /*project*/, const std::u16string& path, const std::u16string& text,
                     bool plainOnly) {
  WriteOutputFile(path, text, plainOnly);
}
void writeUtf8File(AGP& /*project*/, const std::u16string& path, const std::u16string& text) {
  WriteUtf8File(path, text);
}
void deleteFolderIfExists(AGP& /*project*/, const std::u16string& folder) {
  DeleteFolderIfExists(folder);
}

// Scripts pass every argument by reference; the entries only read them.
void loadDB(AGP& project, Variant& sDbName, Variant& sDbType, Variant& sPath, Variant& sPhyPath,
            Variant& bDBUseServerMapPath, Variant& sUID, Variant& sPwd, Variant& sConnStr,
            Variant& sSchema) {
  LoadDB(project, {toString(sDbName), toString(sDbType), toString(sPath), toString(sPhyPath),
                   settingAsBool(bDBUseServerMapPath), toString(sUID), toString(sPwd),
                   toString(sConnStr), toString(sSchema)});
}
void loadTable(AGP& project, Variant& sTableName) {
  LoadTable(project, toString(sTableName));
}

// bCopyFields is read as a Boolean, a null value (or one that is no Boolean) counting as False.
void loadCustomView(AGP& project, const std::u16string& sTableName, const std::u16string& sSQL,
                    const Variant& bCopyFields) {
  bool copy = false;
  if (!bCopyFields.isNull() && !bCopyFields.isEmpty()) {
    try {
      copy = toBool(bCopyFields);
    } catch (const AutomationError&) {
      copy = false;
    }
  }
  LoadCustomView(project, sTableName, sSQL, copy);
}

void syncCustom(AGP& project, const std::u16string& sTable) {
  SyncCustom(project, sTable);
}
void syncReport(AGP& project, const std::u16string& sTable) {
  SyncReport(project, sTable);
}

// The members of the schema check, the synchronisation and the extensions answer a property
// read as well as a call.
template <auto Fn>
void callOrRead(ClassBuilder<AGP>& b, std::u16string_view name) {
  b.method<Fn>(name).template get<Fn>(name);
}

void describeSchemaSyncAndExtensionMembers(ClassBuilder<AGP>& b) {
  callOrRead<&CustomViewConnStr>(b, u"CustomViewConnStr");
  callOrRead<&loadCustomView>(b, u"LoadCustomView");
  callOrRead<&ChangeCustomViewToView>(b, u"ChangeCustomViewToView");
  callOrRead<&CheckDB>(b, u"CheckDB");
  callOrRead<&SynchronizeDB>(b, u"SynchronizeDB");
  callOrRead<&syncCustom>(b, u"SyncCustom");
  callOrRead<&syncReport>(b, u"SyncReport");
  callOrRead<&extensionsMember>(b, u"Extensions");
  callOrRead<&codeBaseMember>(b, u"CodeBase");
  callOrRead<&customScriptsMember>(b, u"customscripts");
  callOrRead<&AddExtension>(b, u"AddExtension");
  callOrRead<&GetExtDefault>(b, u"GetExtDefault");
  callOrRead<&SetExtProjAtt>(b, u"SetExtProjAtt");
  callOrRead<&GetExtProjAtt>(b, u"GetExtProjAtt");
  callOrRead<&SetExtDbAtt>(b, u"SetExtDbAtt");
  callOrRead<&GetExtDbAtt>(b, u"GetExtDbAtt");
  callOrRead<&SetExtTblAtt>(b, u"SetExtTblAtt");
  callOrRead<&GetExtTblAtt>(b, u"GetExtTblAtt");
  callOrRead<&SetExtChartAtt>(b, u"SetExtChartAtt");
  callOrRead<&GetExtChartAtt>(b, u"GetExtChartAtt");
  callOrRead<&SetExtFldAtt>(b, u"SetExtFldAtt");
  callOrRead<&GetExtFldAtt>(b, u"GetExtFldAtt");
  callOrRead<&addExtendedChartMember>(b, u"AddExtendedChart");
  callOrRead<&addExtendedFieldMember>(b, u"AddExtendedField");
  callOrRead<&CopyChartToExtensions>(b, u"CopyChartToExtensions");
  callOrRead<&deleteExtensionMember>(b, u"DeleteExtension");
  callOrRead<&AddCustomScript>(b, u"AddCustomScript");
  callOrRead<&UpdateCustomScript>(b, u"UpdateCustomScript");
  callOrRead<&DeleteCustomScript>(b, u"DeleteCustomScript");
  callOrRead<&LoadCodeBase>(b, u"LoadCodeBase");
  callOrRead<&CodeBaseExist>(b, u"CodeBaseExist");
  callOrRead<&LoadCustomScriptCode>(b, u"LoadCustomScriptCode");
}

}  // namespace

void installProjectTables() noexcept {
  using T = AGP;
  static const ClassInfo& project = describeClass(u"AGP", [](ClassInfo& c) {
    ClassBuilder<T> b(c);
    b.prop<&T::lhWnd, &T::setLhWnd>(u"lhWnd")
        .get<&T::ProjInit>(u"ProjInit")
        .get<&T::scriptControlList>(u"ControlList")
        .get<&T::DB>(u"DB")
        .get<&T::scriptMenuList>(u"MenuList")
        .get<&T::DBCnt>(u"DBCnt")
        .get<&T::scriptProperties>(u"Properties")
        .method<&T::GetV>(u"GetV")
        .method<&T::SetV>(u"SetV")
        .get<&T::scriptLanguage>(u"Language")
        .prop<&T::lhWnd, &T::setLhWnd>(u"hwnd")
        .prop<&T::ProjErr, &T::setProjErr>(u"ProjErr");
    // The interface lists two pairs of settings the other way round from the catalogue; the
    // members take their places first, and the catalogue then fills them.
    const SettingCatalog& catalog = projectCatalog();
    for (SettingSlot row = 0; row < catalog.size(); ++row) {
      SettingSlot listed = row;
      if (row == kProjTblHdrFontColor || row == kProjCreateVDir) ++listed;
      if (row == kProjTblHdrColor || row == kProjAutoBrowse) --listed;
      c.define(catalog[listed].name);
    }
    b.settings<&T::properties>(catalog)
        .prop<&T::ProjName, &T::setProjName>(u"ProjName")
        .get<&T::ProjVar>(u"ProjVar")
        .get<&T::SyncLog>(u"SyncLog")
        .prop<&T::Destination, &T::setDestination>(u"Destination")
        .method<&T::AddProj>(u"AddProj")
        .method<&T::DeleteProj>(u"DeleteProj")
        .method<&save>(u"Save")
        .method<&load>(u"Load")
        .method<&T::LoadDefault>(u"LoadDefault")
        .method<&saveProjectDefaults>(u"SaveDefault")
        .method<&T::scriptFldSrchOprs>(u"FldSrchOprs")
        .method<&generateSite>(u"GenScript")
        .method<&checkSite>(u"GenCheck")
        .method<&buildExParseFunction>(u"BuildExParseFunction")
        .method<&loadDB>(u"LoadDB")
        .method<&loadTable>(u"LoadTable")
        .method<&T::scriptUnLoadTable>(u"UnLoadTable")
        .method<&T::scriptLoadReport>(u"LoadReport")
        .method<&T::scriptLoadChart>(u"LoadChart")
        .method<&T::scriptCopyChart>(u"CopyChart")
        .method<&T::CopyTableSettings>(u"CopyTableSettings")
        .method<&T::CopyFieldSettings>(u"CopyFieldSettings")
        .method<&T::UnLoadDB>(u"UnLoadDB")
        .method<&compareVersion>(u"CompareVersion")
        .method<&boolToNum>(u"BoolToNum")
        .method<&writeOutputFile>(u"WriteOutputFile")
        .method<&writeUtf8File>(u"WriteUtf8File")
        .method<&T::CopyDefaultSettings>(u"CopyDefaultSettings")
        .method<&T::CopyRegistryKey>(u"CopyRegistryKey")
        .method<&deleteFolderIfExists>(u"DeleteFolderIfExists");
    describeSchemaSyncAndExtensionMembers(b);
  });
  MemberTable<T>::install(project);
}

}  // namespace vantorel::surface
