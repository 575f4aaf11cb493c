#include "generator/generation_driver.hpp"

#include <cstdint>
#include <exception>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/status.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/value_conversion.hpp"
#include "foundation/version_compare.hpp"
#include "generator/control_item_lists.hpp"
#include "generator/copy_controls.hpp"
#include "generator/extension_merge.hpp"
#include "generator/generation_extensions.hpp"
#include "generator/generation_loop.hpp"
#include "generator/generation_state.hpp"
#include "generator/output_folders.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/run_end.hpp"
#include "generator/template_compiler.hpp"
#include "generator/template_freshness.hpp"
#include "generator/template_loading.hpp"
#include "model/database.hpp"
#include "model/tables.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/ui/ui.hpp"
#include "project/advanced_filter.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "projectfile/project_file_seams.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/empty_model_list.hpp"
#include "templates/file_cache.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {

namespace {

void initialize(AGScript& engine, AGP& proj) {
  engine.Initialize(Ref<Object>(&proj), proj.DB(), TemplateControls(),
                    Ref<Object>(&SharedLanguage()), ScriptCustomScriptsObject(),
                    Ref<Object>(&SharedFilter()), ScriptExtensionsObject(),
                    Ref<Object>(&SharedMenus()));
}

bool askYesNo(const std::u16string& text) {
  return ui::messageBox(text, projectContext().productTitle, ui::Buttons::YesNo) == ui::Answer::Yes;
}

// "copy" and "folder" controls have no template to compile.
bool compiledTemplate(const AGPControl& control) {
  return !equalsNoCase(control.CtrlType(), u"copy") && !equalsNoCase(control.CtrlType(), u"folder");
}

std::int64_t versionPart(std::u16string_view part) {
  std::int32_t value = 0;
  for (const char16_t c : trimBlanks(part)) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c - u'0');
    if (value > 1000000) break;
  }
  return value;
}

// The enabled extensions whose archives exist, in sequence order.
std::vector<GenerationExtensions::Entry> presentExtensions() {
  std::vector<GenerationExtensions::Entry> present;
  const GenerationExtensions* extensions = generationExtensions();
  if (!extensions) return present;
  for (std::int32_t i = 1; i <= extensions->count(); ++i) {
    const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
    if (e && e->enabled && fs::fileExists(extensionArchivePath(*e))) present.push_back(*e);
  }
  return present;
}

class Driver {
 public:
  explicit Driver(AGP& proj) : proj_(proj) {}

  void run() {
    projectContext().lastErrorText.clear();
    SaveOtherGenList(proj_);
    if (!CheckComponents()) return;
    DefaultHeaderLogo(proj_);
    if (!checkDatabase() || !CheckOutputRoot(proj_)) return;

    const std::u16string templateFile = TakeTemplateName(proj_);
    TemplateCache() = makeRef<AGPCache>();
    projectContext().templateFolder =
        PrepareTemplatePath(templateFile, u"Script", false, true, !projectContext().syncKeepAnswer);
    if (!checkExtensions() || !checkUserCode() || !loadControls() || !checkVersion()) return;
    if (!loadLanguages()) return;
    purgeCompiledTemplates();
    readUserOptions();
    if (!startEngines() || !mergeExtensions()) return;
    if (projectContext().lastErrorText.empty()) CheckScriptFiles(proj_);
    if (projectContext().lastErrorText.empty()) {
      OpenPhase(proj_, u" - Validating project settings...", 2, true);
      if (ScriptEngine()) ScriptEngine()->Validate();
      Status().CloseStatus();
    }
    // Two controls compiled into one function or file would silently replace each other.
    if (!CheckCompiledNames(*TemplateControls())) {
      TemplateCache() = nullptr;
      ReleaseEngines();
      return;
    }
    compileTemplates();
    generate();
    TemplateCache() = nullptr;
    ReleaseEngines();
  }

 private:
  bool end(std::u16string message) {
    projectContext().lastErrorText = std::move(message);
    return false;
  }

  bool checkDatabase() {
    const Ref<AGPDatabase> db = proj_.DB();
    if (!db)
      return end(projectContext().productTitle + u": Database not loaded! Generation aborted!");
    if (db->tables().count() < 1) {
      return end(projectContext().productTitle +
                 u": No tables found in the Database! Generation aborted!");
    }
    return true;
  }

  bool checkExtensions() {
    GenerationExtensions* extensions = generationExtensions();
    std::u16string enabledList;
    if (extensions) {
      for (std::int32_t i = 1; i <= extensions->count(); ++i) {
        const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
        if (!e || !e->enabled) continue;
        const std::u16string file = extensionArchivePath(*e);
        const std::int16_t r = IsFileChanged(u"extension", e->name, file);
        if (r == -1) {
          if (!askYesNo(u"The '" + e->name +
                        u"' extension is not found! Do you want to ignore the extension and "
                        u"continue generation?")) {
            return end(projectContext().productTitle + u" - Error in loading the '" + e->name +
                       u"' extension. Generation aborted.");
          }
          extensions->setEnabled(e->name, false);
          extensionsChanged_ = true;
        }
        PrepareTemplatePath(file, e->name, true, true, r > 0);
        if (r != -1 && !ExtFilesUnchanged(e->name)) extensionsChanged_ = true;
      }
      for (std::int32_t i = 1; i <= extensions->count(); ++i) {
        const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
        if (!e || !e->enabled) continue;
        if (!enabledList.empty()) enabledList += u"\r\n";
        enabledList += e->name;
      }
    }
    if (!TemplateCache()->MatchCacheGroup(Variant(u"extension"), Variant(enabledList))) {
      TemplateCache()->DeleteCacheGroup(Variant(u"extension"));
      extensionsChanged_ = true;
    }
    return true;
  }

  bool checkUserCode() {
    const std::int16_t r = IsFileChanged(u"usercode", u"usercode", proj_.UserCodePath());
    if (r == -1)
      return end(projectContext().productTitle +
                 u": User code file not found! Generation aborted!");
    userCodeChanged_ = r != 0;
    return true;
  }

  bool loadControls() {
    controlFile_ = projectContext().templateFolder.empty()
                       ? std::u16string()
                       : fs::joinPath(projectContext().templateFolder, u"control.xml");
    const std::int16_t r = IsFileChanged(u"control", u"control", controlFile_);
    if (r == -1)
      return end(projectContext().productTitle + u": control file not found! Generation aborted!");
    controlChanged_ = r != 0;
    if (!TemplateControls()->LoadControls(controlFile_)) {
      return end(projectContext().productTitle +
                 (CtrlErrCode() == 2 ? u": Control file is invalid! Please check if the correct "
                                       u"template file is in use!"
                                     : u": Load control file failed! Please check if the correct "
                                       u"template file is in use!"));
    }
    return true;
  }

  bool checkVersion() {
    const std::u16string& version = TemplateControls()->ProdVersion();
    const int verdict = CompareTemplateVersion(version, projectContext().shortVersion);
    if (verdict > 0) {
      return end(projectContext().productTitle + u": Template version (" + version +
                 u") newer than software version (" + proj_.FullVersion() +
                 u")! Generation aborted!");
    }
    if (verdict < 0) {
      return end(projectContext().productTitle + u": Template version (" + version +
                 u") older than minimum required (" + projectContext().shortVersion +
                 u")! Generation aborted!");
    }
    return true;
  }

  bool loadLanguages() {
    SharedLanguage().ResetFiles();
    const bool multi = projectSettingFlag(proj_, u"MultiLanguage");
    std::u16string list =
        projectSettingText(proj_, multi ? u"LanguageFiles" : u"DefaultLanguageFile");
    if (!list.empty()) {
      std::vector<std::u16string> entries = split(list, u",");
      for (std::u16string& entry : entries) {
        if (SharedLanguage().Load(projectContext().languageFolderPath + u"\\" + entry)) continue;
        if (!askYesNo(u"Load language file '" + entry +
                      u"' failed! Do you want to ignore the language file and continue "
                      u"generation?")) {
          return end(projectContext().productTitle + u" - Error in loading the language file '" +
                     entry + u"'. Generation aborted.");
        }
        entry.clear();
      }
      if (multi) {
        list.clear();
        for (const std::u16string& entry : entries) {
          if (entry.empty()) continue;
          if (!list.empty()) list += u",";
          list += entry;
        }
        proj_.SetV(u"LanguageFiles", Variant(list));
      }
    }
    if (list.empty()) {
      return end(projectContext().productTitle +
                 u": No language file specified in project! Generation aborted!");
    }
    return true;
  }

  void purgeCompiledTemplates() {
    if (projectContext().syncKeepAnswer && !extensionsChanged_ && !userCodeChanged_ &&
        !controlChanged_)
      return;
    DeleteFilesByExt(TemplateCacheFolder(), u"tpl");
    TemplateCache()->DeleteCacheGroup(Variant(u"tpl"));
    if (extensionsChanged_) {
      for (const GenerationExtensions::Entry& e : presentExtensions()) {
        CacheFileStamp(u"extension", e.name, extensionArchivePath(e));
        CacheExtFiles(e.name);
      }
    }
    if (userCodeChanged_) CacheFileStamp(u"usercode", u"usercode", proj_.UserCodePath());
    if (controlChanged_) CacheFileStamp(u"control", u"control", controlFile_);
  }

  void readUserOptions() {
    const auto general = [](std::u16string_view name) {
      return GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(name));
    };
    proj_.setBackupFileFlag(toBool(ConvertSetting(general(u"BackupFile"), Variant(u"Boolean"))));
    projectContext().scriptEngineTimeout =
        toLong(ConvertSetting(general(u"ScriptEngineTimeout"), Variant(u"Long")));
  }

  bool startEngines() {
    OpenPhase(proj_, u" - Initializing VBScript Engine...", 2, true);
    SharedFilter().load();
    InitScriptEngine(proj_);
    if (projectContext().lastErrorText.empty() && !ExParseEngine()) {
      ExParseEngine() = makeRef<AGScript>();
      if (!ExParseEngine()->IsInitialized()) {
        Status().CloseStatus();
        ScriptEngine() = nullptr;
        ExParseEngine() = nullptr;
        return end(projectContext().productTitle +
                   u": The expression engine could not be started.");
      }
      initialize(*ExParseEngine(), proj_);
    }
    if (projectContext().lastErrorText.empty()) {
      for (const GenerationExtensions::Entry& e : presentExtensions()) {
        const std::optional<std::u16string> folder = fs::joinInside(ExtensionWorkFolder(), e.name);
        if (!folder) continue;
        const std::u16string userCode = fs::joinPath(*folder, u"usercode.vbs");
        if (fs::fileExists(userCode)) ScriptEngine()->AddUserCode(userCode);
        const std::u16string language = fs::joinPath(*folder, u"lang.xml");
        if (fs::fileExists(language)) SharedLanguage().LoadExtension(language);
      }
    }
    Status().CloseStatus();
    if (!projectContext().lastErrorText.empty()) {
      TemplateCache() = nullptr;
      ReleaseEngines();
      return false;
    }
    return true;
  }

  bool mergeExtensions() {
    OpenPhase(proj_, u" - Merging extensions...", 2, true);
    bool allMerged = true;
    for (const GenerationExtensions::Entry& e : presentExtensions()) {
      if (MergeExtControls(e.name)) continue;
      generationExtensions()->setEnabled(e.name, false);
      TemplateCache()->DeleteCache(Variant(u"extension"), Variant(e.name));
      ui::messageBox(projectContext().productTitle +
                         (CtrlErrCode() == 2 ? u": Incorrect extension '" : u": Load extension '") +
                         e.name +
                         (CtrlErrCode() == 2 ? u"' used. Extension is disabled."
                                             : u"' failed. Extension is disabled."),
                     {}, ui::Buttons::OK, ui::Icon::Exclamation);
      allMerged = false;
    }
    Status().CloseStatus();
    if (allMerged) return true;
    if (askYesNo(u"Some extensions are disabled due to error in loading the extensions. Do you "
                 u"want to continue generation?")) {
      return true;
    }
    projectContext().lastErrorText =
        projectContext().productTitle + u" - Error in loading extensions. Generation aborted.";
    TemplateCache()->WriteCacheFile();
    TemplateCache() = nullptr;
    ReleaseEngines();
    return false;
  }

  void compileTemplates() {
    OpenPhase(proj_, u" - Validating control.xml...", 2, true);
    CompileProgressCount() = 0;
    CompileProgressTotal() = 0;
    // A control compiled from its input files alone has no sessions to count, and must still
    // be compiled when it is out of date.
    bool anyOutdated = false;
    const std::vector<Ref<AGPControl>> controls = TemplateControls()->items();
    for (const Ref<AGPControl>& control : controls) {
      if (!compiledTemplate(*control) || !IsTplOutdated(*control)) continue;
      anyOutdated = true;
      CompileProgressTotal() += control->Sessions()->Count();
    }
    Status().CloseStatus();
    if (!anyOutdated) return;

    OpenPhase(proj_, u" - Loading template...", 2, true);
    SharedFileCache().Clear();
    for (const Ref<AGPControl>& control : controls) {
      if (compiledTemplate(*control)) LoadCtrlTplFiles(*control);
    }
    Status().CloseStatus();

    OpenPhase(proj_, u" - Creating Cache Files...", 3, true);
    for (const Ref<AGPControl>& control : controls) {
      if (!compiledTemplate(*control)) continue;
      if (Status().StatusIsCancelled()) RaiseCancelled();
      ui::yieldToHost();
      if (!control->CtrlGen()) continue;
      std::u16string label = control->CtrlID();
      if (!control->CtrlTagExt().empty()) label += u"(" + control->CtrlTagExt() + u")";
      Status().DispStatus(Variant(u"Loading " + label + u" script..."));
      BuildTemplateScript(proj_, *control, GetTplFileName(*control));
    }
    Status().CloseStatus();

    for (const std::u16string& name : fs::listFiles(TemplateCacheFolder())) {
      const std::size_t dot = name.rfind(u'.');
      const std::u16string ext = dot == std::u16string::npos ? u"" : name.substr(dot + 1);
      if (ext != u"xml") CacheFileStamp(u"tpl", name, fs::joinPath(TemplateCacheFolder(), name));
    }
    TemplateCache()->WriteCacheFile();
  }

  void generate() {
    OpenPhase(proj_, u" - Generating " + toString(projectContext().techName) + u" Scripts...", 3,
              false);
    CreateOutputFolders(proj_);
    SharedMenus().Sort();
    std::int16_t count = 0;
    GenerateAll(proj_, false, count);
    Status().CloseStatus();
  }

  AGP& proj_;
  std::u16string controlFile_;
  bool extensionsChanged_ = false;
  bool userCodeChanged_ = false;
  bool controlChanged_ = false;
};

}  // namespace

void InitScriptEngine(AGP& proj) {
  ScriptEngine() = makeRef<AGScript>();
  if (ScriptEngine()->IsInitialized()) {
    initialize(*ScriptEngine(), proj);
    return;
  }
  Status().CloseStatus();
  ScriptEngine() = nullptr;
  if (projectContext().lastErrorText.empty()) {
    projectContext().lastErrorText =
        projectContext().productTitle + u": The script engine could not be started.";
  }
}

std::u16string TakeTemplateName(AGP& proj) {
  const std::u16string templateFile = projectSettingText(proj, u"Template");
  const std::size_t at = templateFile.find_last_of(u"\\/");
  if (at != std::u16string::npos) projectContext().templateName = templateFile.substr(at + 1);
  return templateFile;
}

void DefaultHeaderLogo(AGP& proj) {
  if (!projectSettingText(proj, u"HeaderLogo").empty()) return;
  const Variant logo =
      GetRegValue(Variant(u"HKCU"), Variant(projectContext().projectKey), Variant(u"HeaderLogo"));
  proj.SetV(u"HeaderLogo", Variant(toString(logo)));
}

void OpenPhase(AGP& proj, std::u16string_view phaseText, int variant, bool keep) {
  const std::u16string caption = projectContext().productTitle + std::u16string(phaseText);
  if (keep) StatusText() = caption;
  if (variant == 2) {
    Status().ShowStatus2(Variant(proj.lhWnd()), Variant(caption));
    Status().DispStatus(Variant(u"Please wait..."));
  } else {
    Status().ShowStatus3(Variant(proj.lhWnd()), Variant(caption));
  }
}

void ReleaseEngines() {
  for (Ref<AGScript>* engine : {&ScriptEngine(), &ExParseEngine()}) {
    if (*engine) (*engine)->Reset();
    *engine = nullptr;
  }
}

int CompareTemplateVersion(std::u16string_view templateVersion, std::u16string_view shortVersion) {
  // A version without parts has the major part 0; a newer minor part is still usable.
  const std::optional<VersionDifference> difference =
      firstVersionDifference(templateVersion.empty() ? u"0" : templateVersion,
                             shortVersion.empty() ? u"0" : shortVersion, 2, versionPart);
  if (!difference) return 0;
  if (!difference->newer) return -1;
  return difference->part == 0 ? 1 : 0;
}

void generateSite(AGP& proj) {
  try {
    Driver(proj).run();
  } catch (...) {
    // Whatever ends the run early, no progress display is left open behind it.
    Status().CloseStatus();
    throw;
  }
}

}  // namespace vantorel
