#pragma once
// The state a thread's project work shares: product and version strings, the registry keys of
// the per-user configuration, the working folders, the values the loaders leave for the model,
// the text of the last failure (the project object's ProjErr), and the settings the shared
// procedures work with (template lookup, code page, registry access). One object
// per thread, made on first use with the product strings formed, so that objects made without
// a project object still find their defaults.
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/c_registry.hpp"
#include "platform/automation/ref.hpp"
#include "platform/automation/variant.hpp"
#include "platform/registry/reg_key.hpp"

namespace vantorel {

class AGPKeyword;
class AGPSettings;
class AGPStatus;
struct RegistryDefaultsCache;

class ProjectContext {
 public:
  ProjectContext();
  ~ProjectContext();
  ProjectContext(const ProjectContext&) = delete;
  ProjectContext& operator=(const ProjectContext&) = delete;

  // Forms the product, version and key strings from the product's own identity, as every
  // project object's start-up does.
  void formProductStrings();

  // Text of the last failure; empty means none. Set at the project object's entry points.
  std::u16string lastErrorText;
  // The caption of the running load's or unload's progress display (the phase, "...").
  std::u16string statusText;

  std::u16string productName, productTitle, projectFileExt, productCode, shortVersion,
      templateVersion, templateName;
  // The template file templateName was taken from; its working folders are keyed by this full
  // path (TemplateWorkName), so that two sets of one name never share a cache.
  std::u16string templateFile;
  Variant techName;

  // Registry key paths below HKEY_CURRENT_USER.
  std::u16string settingsKey, generalKey, projectKey, databaseKey, tableKey, chartKey, trendlineKey,
      fieldKey, advancedFiltersKey, extensionsKey, odbcIniKey, odbcInstIniKey;

  std::u16string myDocumentsFolder, userDataFolder, backupFolder, reportFolder, extensionsFolder;
  // The last destination written through the project's Destination property.
  std::u16string destinationFolder;
  // Below the user data folder: the unpacked extensions, and the compiled templates.
  std::u16string extensionWorkFolder, templateCacheFolder;

  // The engine options read with the user's defaults.
  std::u16string languageFolderPath;
  std::int32_t scriptEngineTimeout = 0;

  // The date format in force for new date fields, copied from the project's defaultDateFormat.
  std::int16_t currentDateFormat = 0;
  // The loaded database's SecDefault (the security of each newly set-up table), DBMS name and
  // repeat-column count.
  std::u16string currentSecDefault;
  std::u16string currentDbmsName;
  std::int16_t currentRepeatColumns = 0;
  // Set by generation: the template set in use and the folder of the control being compiled
  // (the extensions' folders lie below extensionWorkFolder).
  std::u16string templateFolder, currentSourceFolder;

  // Set by InitLocaleCharset: the system code page as decimal text, and its charset name.
  Variant systemCodePage;
  std::u16string systemCharset;

  // The page progress of a load or a generation: the pages to make and those begun so far.
  std::int32_t progressTotal = 0;
  std::int32_t progressCount = 0;

  // The keep-or-update exchange around the synchronisation question, shared by the project
  // file's load and generation's template check.
  std::u16string syncQuestion;
  bool syncKeepAnswer = false;
  // The host's answer, given before the run, to the question about a changed template archive:
  // unpack it. An unattended run has no one to ask and would keep the old files every time.
  bool updateChangedTemplates = false;

  // The shared registry accessor, and the value type of its last GetRegValue.
  cRegistry registry;
  std::int32_t lastRegValueType = 0;
  // While a bulk load runs (RegistryDefaultsScope), the current user's settings as the store
  // held them when it began: the defaults of each new object, and every other read of them
  // until something writes to the store, take this one snapshot instead of checking the store
  // file again.
  bool userHivePinned = false;
  bool userHiveWritten = false;
  std::shared_ptr<const reg::RegKey> pinnedUserHive;
  // The converted per-user defaults of new objects, by catalog and key, until the store changes.
  std::shared_ptr<RegistryDefaultsCache> registryDefaults;

  // The thread's shared objects, made on first use by their own accessors.
  Ref<AGPStatus> status;
  Ref<AGPSettings> settings;
  Ref<AGPKeyword> keywords;
  // Shared objects of later layers, which this layer cannot name; each layer hands its own out
  // typed: menus, language and advanced filters; the template file cache and the template
  // archive unpacker.
  Ref<Object> menus, language, filter;
  Ref<Object> fileCache, unzip;
  // The extension list, the custom scripts and the code base.
  Ref<Object> extensions, customScripts, codeBase;
};

// The calling thread's context.
ProjectContext& projectContext();

// The shared object kept in one of the context's slots, made on first use.
template <typename T, typename Slot>
T& sharedObject(Ref<Slot>& slot) {
  if (!slot) slot = makeRef<T>();
  return static_cast<T&>(*slot);
}

}  // namespace vantorel
