#include "agp/agp.hpp"

#include "fields/search_operators.hpp"
#include "foundation/captions.hpp"
#include "foundation/custom_settings.hpp"
#include "foundation/product.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/script_text.hpp"
#include "foundation/setting_members.hpp"
#include "foundation/system_info.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/user_folders.hpp"
#include "foundation/value_conversion.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/strings.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"

namespace vantorel {

namespace {

// The text after the last "\" (or "/"), when there is one.
std::optional<std::u16string> lastPathElement(const std::u16string& path) {
  const std::size_t at = path.find_last_of(u"\\/");
  if (at == std::u16string::npos) return std::nullopt;
  return path.substr(at + 1);
}

void requireName(const std::u16string& name) {
  // The empty name can never be declared; refusing it up front leaves the bag untouched.
  if (name.empty()) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
}

}  // namespace

AGP::AGP() {
  InitProjProperties();
  projectContext().formProductStrings();
  fullVersion_ = fullVersion();
  scriptExt_ = u"asp";

  const Variant languageFolder =
      GetRegValue(u"HKCU", projectContext().generalKey, u"LanguageFolder");
  CopyDefaultSettings(!toString(languageFolder).empty());

  projectContext().extensionsFolder =
      toString(GetRegValue(u"HKCU", projectContext().extensionsKey, u"SourceFolder"));
  const std::u16string templateFile =
      toString(GetRegValue(u"HKCU", projectContext().projectKey, u"Template"));
  if (const auto name = lastPathElement(templateFile)) {
    projectContext().templateName = *name;
    projectContext().templateFile = templateFile;
  } else if (!trimBlanks(templateFile).empty()) {
    // A name alone is a set shipped in the data folder.
    projectContext().templateName = std::u16string(trimBlanks(templateFile));
    projectContext().templateFile = BundledTemplateSet(templateFile);
  }
  if (projectContext().extensionsFolder.empty()) {
    projectContext().extensionsFolder = fs::joinPath(sys::programFolder(), u"extensions");
  }

  LoadDefault();

  projectContext().myDocumentsFolder = GetSpecialFolderPath(lhWnd_, kFolderIdDocuments);
  const std::u16string documents(trimBlanks(projectContext().myDocumentsFolder));
  // Without a documents folder the working folders would land in the file system's root.
  if (documents.empty()) {
    projectContext().userDataFolder.clear();
    MakeBackupAndReportFolders({});
    return;
  }
  projectContext().userDataFolder =
      fs::joinPath(documents, StripSpacesAndSlashes(projectContext().productName));
  MakeFolderPath(projectContext().userDataFolder);
  MakeBackupAndReportFolders(projectContext().userDataFolder);
}

AGP::~AGP() = default;

const ClassInfo& AGP::classInfo() const noexcept {
  return MemberTable<AGP>::get(u"AGP");
}

AGProperties& AGP::properties() {
  if (!properties_) properties_ = makeRef<AGProperties>(projectCatalog());
  return *properties_;
}

void AGP::InitProjProperties() {
  // The bag stays the same object, so a host holding AGP.Properties sees the new declarations.
  if (properties_) {
    properties_->reset();
  } else {
    properties_ = makeRef<AGProperties>(projectCatalog());
  }
}

void AGP::ClearProperties() {
  AGProperties& bag = properties();
  while (bag.count() > 0) {
    const Ref<AGProperty> first = bag.at(0);
    if (!bag.remove(first->name())) break;
  }
}

AGPMenus& AGP::MenuList() const {
  return SharedMenus();
}
Ref<AGPMenus> AGP::scriptMenuList() const {
  return Ref<AGPMenus>(&SharedMenus());
}
AGPLanguage& AGP::Language() const {
  return SharedLanguage();
}
Ref<AGPLanguage> AGP::scriptLanguage() const {
  return Ref<AGPLanguage>(&SharedLanguage());
}

const std::u16string& AGP::ProjErr() const {
  return projectContext().lastErrorText;
}
void AGP::setProjErr(const std::u16string& text) {
  projectContext().lastErrorText = text;
}

Variant AGP::GetV(const std::u16string& Name) {
  requireName(Name);
  AGProperties& bag = properties();
  if (const std::optional<SettingSlot> slot = bag.slotOf(Name)) {
    return ConvertSetting(bag.value(*slot), Variant(bag.record(*slot).dataType));
  }
  const std::u16string type = SharedSettings().LoadSettingType(u"Project", Name);
  Variant value = SharedSettings().LoadSettingValue(u"Project", Name);
  bag.add(Name, type, false, 0, true, true);
  bag.setValue(*bag.slotOf(Name), value);
  return value;
}

Variant AGP::SetV(const std::u16string& Name, const Variant& Value) {
  requireName(Name);
  AGProperties& bag = properties();
  if (const std::optional<SettingSlot> slot = bag.slotOf(Name)) {
    bag.setValue(*slot, ConvertSetting(Value, Variant(bag.record(*slot).dataType)));
    return Variant();
  }
  const std::u16string type = SharedSettings().LoadSettingType(u"Project", Name);
  bag.add(Name, type, false, 0, true, true);
  bag.setValue(*bag.slotOf(Name), Value);
  return Variant();
}

std::u16string AGP::ProjName() {
  return toString(properties().setting(kProjName));
}

void AGP::setProjName(const std::u16string& str) {
  properties().setting(kProjName) = Variant(str);
  properties().setting(kProjVar) = GetVarName(Variant(str), Variant(u""));
}

std::u16string AGP::ProjVar() {
  return toString(properties().setting(kProjVar));
}
std::u16string AGP::SyncLog() {
  return toString(properties().setting(kProjSyncLog));
}
std::u16string AGP::Destination() {
  return toString(properties().setting(kProjDestination));
}

void AGP::setDestination(const std::u16string& str) {
  properties().setting(kProjDestination) = Variant(str);
  projectContext().destinationFolder = str;
}

void AGP::AddProj(const std::u16string& strProjName) {
  setProjName(strProjName);
  LoadDefault();
  projInit_ = true;
}

AGPDatabases& AGP::databases() {
  if (!databases_) databases_ = makeRef<AGPDatabases>();
  return *databases_;
}

Ref<AGPDatabase> AGP::DB() const {
  return db_;
}
void AGP::setDB(Ref<AGPDatabase> db) {
  db_ = std::move(db);
}
std::int16_t AGP::DBCnt() {
  return static_cast<std::int16_t>(databases().count());
}

void AGP::DeleteProj() {
  ClearProperties();
  db_ = nullptr;
  // Each database goes as the object it is: one whose DBName was changed after it was added
  // would be missed by a removal under its name and stay loaded.
  AGPDatabases& held = databases();
  while (held.count() > 0) {
    const Ref<AGPDatabase> database(&held.at(0));
    if (!held.removeDatabase(*database)) break;
  }
  currentDbKey_.clear();
  InitProjProperties();
  projInit_ = false;
}

void AGP::MakeFolderPath(const std::u16string& path) {
  try {
    fs::createFolders(path);
  } catch (...) {
    // A folder that cannot be made is simply missing; start-up goes on without it.
  }
}

std::u16string AGP::ResolveExt(const std::u16string& value) const {
  return value == u"*" ? scriptExt_ : value;
}

std::u16string AGP::scriptFldSrchOprs(Variant& ftype) {
  return FldSrchOprs(toInteger(ftype));
}

AGControlItems& AGP::controlList() {
  if (!controlList_) controlList_ = makeRef<AGControlItems>();
  return *controlList_;
}

}  // namespace vantorel
