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
#include "generator/generation_run.hpp"
#include "generator/output_folders.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/run_end.hpp"
#include "generator/run_locks.hpp"
#include "generator/run_outcome.hpp"
#include "generator/run_warnings.hpp"
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

// Loads the engine with the project's objects; a failure becomes the run's.
void initialize(AGScript& engine, GenerationRun& run) {
  AGP& proj = run.proj();
  ScriptOutcome started =
      engine.initialize(ScriptObjects{Ref<Object>(&proj), proj.DB(), run.templateControls,
                                      Ref<Object>(&SharedLanguage()), ScriptCustomScriptsObject(),
                                      Ref<Object>(&SharedFilter()), ScriptExtensionsObject(),
                                      Ref<Object>(&SharedMenus())},
                        run.failure.has_value(), &showScriptFileFailure);
  if (!started) run.failure = std::move(started.failure().text);
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

// How the host names an extension the run went on without.
std::u16string extensionNamed(const std::u16string& name) {
  return u"the extension '" + name + u"'";
}

// The enabled extensions whose archives exist, in sequence order.
std::vector<GenerationExtensions::Entry> presentExtensions() {
  std::vector<GenerationExtensions::Entry> present;
  const GenerationExtensions* extensions = Installed<GenerationExtensions>::get();
  if (!extensions) return present;
  for (std::int32_t i = 1; i <= extensions->count(); ++i) {
    const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
    if (e && e->enabled && fs::fileExists(extensionArchivePath(*e))) present.push_back(*e);
  }
  return present;
}

class Driver {
 public:
  explicit Driver(GenerationRun& run) : run_(run), proj_(run.proj()) {}

  void run() {
    SaveOtherGenList(proj_);
    if (Expected<> ready = CheckComponents(); !ready) {
      end(std::move(ready.failure().text));
      return;
    }
    DefaultHeaderLogo(proj_);
    if (!checkDatabase()) return;
    if (Expected<> root = CheckOutputRoot(proj_); !root) {
      end(std::move(root.failure().text));
      return;
    }

    if (Expected<> locked = LockDestination(run_); !locked) {
      end(std::move(locked.failure().text));
      return;
    }

    const std::u16string templateFile = TakeTemplateName(proj_);
    // A set that is gone must not be stood in for by what an earlier run unpacked.
    if (!trimBlanks(templateFile).empty() && !fs::fileExists(templateFile)) {
      end(TemplateNotFound(templateFile));
      return;
    }
    LockTemplateFolders(run_, templateFile);
    run_.templateCache = makeRef<AGPCache>();
    PreparedTemplates prepared =
        PrepareTemplatePath(templateFile, u"Script", false, true, !projectContext().syncKeepAnswer);
    projectContext().templateFolder = std::move(prepared.folder);
    templateUnpacked_ = std::move(prepared.unpacked);
    if (!checkExtensions() || !checkUserCode() || !loadControls() || !checkVersion()) return;
    loadCodeBase();
    if (!loadLanguages()) return;
    purgeCompiledTemplates();
    readUserOptions();
    if (!startEngines() || !mergeExtensions()) return;
    warnUnknownTypes();
    // After a failure here the templates are still compiled, and the walk stops after the
    // database copy.
    if (!run_.failure) keepFailure(CheckScriptFiles(run_));
    if (!run_.failure) {
      OpenPhase(run_, u" - Validating project settings...", 2, true);
      if (run_.scriptEngine) keepFailure(run_.scriptEngine->validate().outcome);
      Status().CloseStatus();
    }
    // The template's own validation explains a missing root best; this catches the rest
    // before a folder is made.
    if (!run_.failure) keepFailure(CheckOutputFolders(proj_, *run_.templateControls));
    // Two controls compiled into one function or file would silently replace each other.
    if (Expected<> distinct = CheckCompiledNames(*run_.templateControls); !distinct) {
      run_.failure = std::move(distinct.failure().text);
      run_.templateCache = nullptr;
      run_.releaseEngines();
      return;
    }
    compileTemplates();
    generate();
    run_.templateCache = nullptr;
    run_.releaseEngines();
  }

 private:
  bool end(std::u16string message) {
    run_.failure = std::move(message);
    return false;
  }

  // The run goes on after a failed check; its message is what the run ends with.
  void keepFailure(Expected<> checked) {
    if (!checked) run_.failure = std::move(checked.failure().text);
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
    GenerationExtensions* extensions = Installed<GenerationExtensions>::get();
    std::u16string enabledList;
    if (extensions) {
      for (std::int32_t i = 1; i <= extensions->count(); ++i) {
        const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
        if (!e || !e->enabled) continue;
        const std::u16string file = extensionArchivePath(*e);
        const std::int16_t r = IsFileChanged(run_.templateCache.get(), u"extension", e->name, file);
        if (r == -1) {
          if (!askYesNo(u"The '" + e->name +
                        u"' extension is not found! Do you want to ignore the extension and "
                        u"continue generation?")) {
            return end(projectContext().productTitle + u" - Error in loading the '" + e->name +
                       u"' extension. Generation aborted.");
          }
          extensions->setEnabled(e->name, false);
          extensionsChanged_ = true;
          ui::reportLeftOut(extensionNamed(e->name),
                            file.empty() ? u"its archive name \"" + e->templateFile +
                                               u"\" leads outside the extensions folder"
                                         : u"its archive \"" + file + u"\" is not found");
        }
        const Expected<> unpacked = PrepareTemplatePath(file, e->name, true, true, r > 0).unpacked;
        if (!unpacked) {
          // What an earlier archive left is gone; the run goes on without the extension.
          extensions->setEnabled(e->name, false);
          extensionsChanged_ = true;
          unpackFailed_ = true;
          ui::reportLeftOut(
              extensionNamed(e->name),
              u"its archive \"" + file + u"\" could not be unpacked: " + unpacked.failure().text);
          ui::messageBox(projectContext().productTitle + u": Load extension '" + e->name +
                             u"' failed. Extension is disabled.",
                         {}, ui::Buttons::OK, ui::Icon::Exclamation);
          continue;
        }
        if (r != -1 && !ExtFilesUnchanged(run_, e->name)) extensionsChanged_ = true;
      }
      for (std::int32_t i = 1; i <= extensions->count(); ++i) {
        const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
        if (!e || !e->enabled) continue;
        if (!enabledList.empty()) enabledList += u"\r\n";
        enabledList += e->name;
      }
    }
    if (!run_.templateCache->MatchCacheGroup(Variant(u"extension"), Variant(enabledList))) {
      run_.templateCache->DeleteCacheGroup(Variant(u"extension"));
      extensionsChanged_ = true;
    }
    return true;
  }

  bool checkUserCode() {
    const std::int16_t r =
        IsFileChanged(run_.templateCache.get(), u"usercode", u"usercode", proj_.UserCodePath());
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
    if (!templateUnpacked_) return end(TemplateUnpackFailure(templateUnpacked_.failure().text));
    const std::int16_t r =
        IsFileChanged(run_.templateCache.get(), u"control", u"control", controlFile_);
    if (r == -1)
      return end(projectContext().productTitle + u": control file not found! Generation aborted!");
    controlChanged_ = r != 0;
    if (Expected<> loaded = LoadRunControls(run_, controlFile_); !loaded) {
      return end(std::move(loaded.failure().text));
    }
    return true;
  }

  bool checkVersion() {
    const std::u16string& version = run_.templateControls->ProdVersion();
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

  // The user's code base, for the templates' snippets; a bad file keeps the last good one.
  void loadCodeBase() {
    const std::u16string path = toString(
        GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(u"CodeBase")));
    GenerationExtensions* extensions = Installed<GenerationExtensions>::get();
    if (extensions && !path.empty() && fs::fileExists(path)) extensions->loadCodeBase(path);
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
        // A site without its texts is not a whole site, whoever let the run go on.
        ui::reportLeftOut(u"the language file '" + entry + u"'",
                          u"it could not be loaded from the language folder \"" +
                              projectContext().languageFolderPath + u"\"");
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
    DeleteFilesByExt(projectContext().templateCacheFolder, u"tpl");
    run_.templateCache->DeleteCacheGroup(Variant(u"tpl"));
    if (extensionsChanged_) {
      for (const GenerationExtensions::Entry& e : presentExtensions()) {
        CacheFileStamp(run_.templateCache.get(), u"extension", e.name, extensionArchivePath(e));
        CacheExtFiles(run_, e.name);
      }
    }
    if (userCodeChanged_)
      CacheFileStamp(run_.templateCache.get(), u"usercode", u"usercode", proj_.UserCodePath());
    if (controlChanged_)
      CacheFileStamp(run_.templateCache.get(), u"control", u"control", controlFile_);
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
    OpenPhase(run_, u" - Initializing VBScript Engine...", 2, true);
    SharedFilter().load();
    InitScriptEngine(run_);
    if (!run_.failure && !run_.exParseEngine) {
      run_.setExParseEngine(makeRef<AGScript>());
      if (!run_.exParseEngine->IsInitialized()) {
        Status().CloseStatus();
        run_.scriptEngine = nullptr;
        run_.setExParseEngine(nullptr);
        return end(projectContext().productTitle +
                   u": The expression engine could not be started.");
      }
      initialize(*run_.exParseEngine, run_);
    }
    if (!run_.failure) {
      for (const GenerationExtensions::Entry& e : presentExtensions()) {
        const std::optional<std::u16string> folder =
            fs::joinInside(projectContext().extensionWorkFolder, e.name);
        if (!folder) continue;
        const std::u16string userCode = fs::joinPath(*folder, u"usercode.vbs");
        // Each extension's code is added; the last failure is the one reported.
        if (fs::fileExists(userCode)) {
          keepFailure(run_.scriptEngine->addUserCode(userCode, &showScriptFileFailure));
        }
        const std::u16string language = fs::joinPath(*folder, u"lang.xml");
        if (fs::fileExists(language)) SharedLanguage().LoadExtension(language);
      }
    }
    Status().CloseStatus();
    if (run_.failure) {
      run_.templateCache = nullptr;
      run_.releaseEngines();
      return false;
    }
    return true;
  }

  bool mergeExtensions() {
    OpenPhase(run_, u" - Merging extensions...", 2, true);
    bool allMerged = true;
    for (const GenerationExtensions::Entry& e : presentExtensions()) {
      const Expected<> merged = MergeExtControls(run_, e.name);
      if (merged) continue;
      Installed<GenerationExtensions>::get()->setEnabled(e.name, false);
      const std::u16string& why = merged.failure().text;
      ui::reportLeftOut(extensionNamed(e.name),
                        why.empty() ? u"no control file was unpacked from its archive \"" +
                                          extensionArchivePath(e) + u"\""
                                    : why);
      run_.templateCache->DeleteCache(Variant(u"extension"), Variant(e.name));
      const bool foreign = merged.failure().number == kControlFileForeign;
      ui::messageBox(
          projectContext().productTitle +
              (foreign ? u": Incorrect extension '" : u": Load extension '") + e.name +
              (foreign ? u"' used. Extension is disabled." : u"' failed. Extension is disabled."),
          {}, ui::Buttons::OK, ui::Icon::Exclamation);
      allMerged = false;
    }
    Status().CloseStatus();
    if (allMerged && !unpackFailed_) return true;
    if (askYesNo(u"Some extensions are disabled due to error in loading the extensions. Do you "
                 u"want to continue generation?")) {
      return true;
    }
    run_.failure =
        projectContext().productTitle + u" - Error in loading extensions. Generation aborted.";
    run_.templateCache->WriteCacheFile();
    run_.templateCache = nullptr;
    run_.releaseEngines();
    return false;
  }

  // A control of a type the loop does not know makes nothing; its author hears of it.
  void warnUnknownTypes() {
    static constexpr std::u16string_view kKnown[] = {u"copy",  u"field",  u"folder", u"function",
                                                     u"other", u"report", u"simple", u"table"};
    for (const Ref<AGPControl>& control : run_.templateControls->items()) {
      const std::u16string& type = control->CtrlType();
      bool known = false;
      for (const std::u16string_view k : kKnown) known = known || equalsNoCase(type, k);
      if (known) continue;
      WarnOnce(run_, projectContext().productTitle + u": Control \"" + control->CtrlID() +
                         u"\" has the unknown type \"" + type + u"\"; it makes no output.");
    }
  }

  void compileTemplates() {
    OpenPhase(run_, u" - Validating control.xml...", 2, true);
    run_.compileProgressCount = 0;
    run_.compileProgressTotal = 0;
    // A control compiled from its input files alone has no sessions to count, and must still
    // be compiled when it is out of date.
    bool anyOutdated = false;
    const std::vector<Ref<AGPControl>> controls = run_.templateControls->items();
    for (const Ref<AGPControl>& control : controls) {
      if (!compiledTemplate(*control) || !IsTplOutdated(run_.templateCache.get(), *control))
        continue;
      anyOutdated = true;
      run_.compileProgressTotal += control->Sessions()->Count();
    }
    Status().CloseStatus();
    if (!anyOutdated) return;

    OpenPhase(run_, u" - Loading template...", 2, true);
    run_.fileCache->Clear();
    for (const Ref<AGPControl>& control : controls) {
      if (compiledTemplate(*control)) LoadCtrlTplFiles(*run_.fileCache, *control);
    }
    Status().CloseStatus();

    OpenPhase(run_, u" - Creating Cache Files...", 3, true);
    for (const Ref<AGPControl>& control : controls) {
      if (!compiledTemplate(*control)) continue;
      if (Status().StatusIsCancelled()) RaiseCancelled();
      ui::yieldToHost();
      if (!control->CtrlGen()) continue;
      std::u16string label = control->CtrlID();
      if (!control->CtrlTagExt().empty()) label += u"(" + control->CtrlTagExt() + u")";
      Status().DispStatus(Variant(u"Loading " + label + u" script..."));
      BuildTemplateScript(run_, *control, GetTplFileName(*control));
    }
    Status().CloseStatus();

    for (const std::u16string& name : fs::listFiles(projectContext().templateCacheFolder)) {
      const std::size_t dot = name.rfind(u'.');
      const std::u16string ext = dot == std::u16string::npos ? u"" : name.substr(dot + 1);
      if (ext != u"xml")
        CacheFileStamp(run_.templateCache.get(), u"tpl", name,
                       fs::joinPath(projectContext().templateCacheFolder, name));
    }
    run_.templateCache->WriteCacheFile();
  }

  void generate() {
    OpenPhase(run_, u" - Generating " + toString(projectContext().techName) + u" Scripts...", 3,
              false);
    // Nothing is made for a run that did not pass validation.
    if (!run_.failure) CreateOutputFolders(run_);
    SharedMenus().Sort();
    std::int16_t count = 0;
    run_.deferOutputs = true;
    GenerateAll(run_, false, count);
    run_.commitOutputs();
    Status().CloseStatus();
  }

  GenerationRun& run_;
  AGP& proj_;
  std::u16string controlFile_;
  bool extensionsChanged_ = false;
  // An extension whose archive could not be unpacked was disabled.
  bool unpackFailed_ = false;
  // Whether the template set's archive was unpacked; a failure stops the run at its controls.
  Expected<> templateUnpacked_;
  bool userCodeChanged_ = false;
  bool controlChanged_ = false;
};

}  // namespace

Expected<> LoadRunControls(GenerationRun& run, const std::u16string& file) {
  const Expected<> loaded = run.templateControls->loadControlFile(file);
  for (const std::u16string& warning : run.templateControls->loadWarnings()) ui::warn(warning);
  if (loaded) return {};
  const Failure& fault = loaded.failure();
  std::u16string message =
      projectContext().productTitle +
      (fault.number == kControlFileForeign
           ? u": Control file is invalid! Please check if the correct template file is in use!"
           : u": Load control file failed! Please check if the correct template file is in use!");
  if (!fault.text.empty()) message += u"\r\n" + fault.text;
  return Failure{std::move(message), fault.number};
}

void InitScriptEngine(GenerationRun& run) {
  run.scriptEngine = makeRef<AGScript>();
  if (run.scriptEngine->IsInitialized()) {
    initialize(*run.scriptEngine, run);
    return;
  }
  Status().CloseStatus();
  run.scriptEngine = nullptr;
  if (!run.failure)
    run.failure = projectContext().productTitle + u": The script engine could not be started.";
}

std::u16string TemplateNotFound(std::u16string_view templateFile) {
  if (trimBlanks(templateFile).empty()) {
    return projectContext().productTitle +
           u": Template file not found! The project names no template set (\"Template\" is "
           u"empty). Generation aborted!";
  }
  return projectContext().productTitle + u": Template file \"" + std::u16string(templateFile) +
         u"\" not found! Generation aborted!";
}

std::u16string TakeTemplateName(AGP& proj) {
  std::u16string templateFile = projectSettingText(proj, u"Template");
  // A name without a folder is one of the sets shipped in the data folder, wherever that is.
  if (!trimBlanks(templateFile).empty() &&
      templateFile.find_first_of(u"\\/") == std::u16string::npos) {
    templateFile = BundledTemplateSet(trimBlanks(templateFile));
  }
  const std::size_t at = templateFile.find_last_of(u"\\/");
  if (at != std::u16string::npos) {
    projectContext().templateName = templateFile.substr(at + 1);
    projectContext().templateFile = templateFile;
  }
  return templateFile;
}

std::u16string TemplateUnpackFailure(const std::u16string& cause) {
  return projectContext().productTitle + u": The template file cannot be used! " + cause +
         u" Generation aborted!";
}

void DefaultHeaderLogo(AGP& proj) {
  if (!projectSettingText(proj, u"HeaderLogo").empty()) return;
  const Variant logo =
      GetRegValue(Variant(u"HKCU"), Variant(projectContext().projectKey), Variant(u"HeaderLogo"));
  proj.SetV(u"HeaderLogo", Variant(toString(logo)));
}

void OpenPhase(GenerationRun& run, std::u16string_view phaseText, int variant, bool keep) {
  AGP& proj = run.proj();
  const std::u16string caption = projectContext().productTitle + std::u16string(phaseText);
  if (keep) run.statusText = caption;
  if (variant == 2) {
    Status().ShowStatus2(Variant(proj.lhWnd()), Variant(caption));
    Status().DispStatus(Variant(u"Please wait..."));
  } else {
    Status().ShowStatus3(Variant(proj.lhWnd()), Variant(caption));
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
  GenerationRun run(proj);
  runWithOutcome(run, [&run] { Driver(run).run(); });
}

void generateSiteNoting(AGP& proj, std::vector<SiteOutput>& outputs) {
  GenerationRun run(proj);
  run.siteOutputs = &outputs;
  runWithOutcome(run, [&run] { Driver(run).run(); });
}

}  // namespace vantorel
