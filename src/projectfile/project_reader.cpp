// AGP.Load around the node reader: version and extension checks, the converter, menus and
// reserved words, the fix-ups after reading and the schema check a project asks for.
#include "projectfile/project_reader.hpp"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <vector>

#include "agp/agp.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/script_text.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/status.hpp"
#include "foundation/version_compare.hpp"
#include "model/database.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/expected.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "platform/xml/attributes.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "projectfile/database_file_path.hpp"
#include "projectfile/load_notes.hpp"
#include "projectfile/project_element_reader.hpp"
#include "projectfile/project_file_seams.hpp"
#include "projectfile/project_stream.hpp"
#include "projectfile/table_keys.hpp"
#include "projectfile/working_folders.hpp"
#include "schema/difference_check.hpp"
#include "schema/load_check.hpp"
#include "sync/load_time_sync.hpp"

namespace vantorel {

namespace {

// Closes the load's progress display however the load ends. It opens when the project's
// database starts, with the number of its tables.
class LoadProgress {
 public:
  explicit LoadProgress(std::int32_t hwnd) : hwnd_(hwnd) {
    projectContext().progressTotal = 0;
    projectContext().progressCount = 0;
  }
  ~LoadProgress() { close(); }
  LoadProgress(const LoadProgress&) = delete;
  LoadProgress& operator=(const LoadProgress&) = delete;
  void start(std::int32_t total) {
    projectContext().progressTotal = total;
    projectContext().progressCount = 0;
    if (total <= 0 || open_) return;
    // The display takes its caption as text; no length prefix is needed here.
    Status().ShowStatus(Variant(hwnd_), Variant(u"Loading Project File..."));
    open_ = true;
  }
  void close() {
    if (open_) Status().CloseStatus();
    open_ = false;
  }

 private:
  std::int32_t hwnd_;
  bool open_ = false;
};

std::u16string rootVersion(const ProjectFileStream& stream) {
  for (const xml::AttributeView& a : stream.rootAttributes()) {
    if (a.name == "Version") {
      return fromUtf8(a.value);
    }
  }
  raiseVbError(vberr::kInvalidUseOfNull, u"The project file has no Version");
}

// Ends a load early; its text becomes the project's error text.
struct LoadStopped {
  std::u16string text;
};

// A refused file: the project's error text as it has always read, and the place and reason
// said on standard error, where the host shows them.
[[noreturn]] void refuse(const StreamFailure& failure, const std::u16string& file) {
  const std::u16string failed =
      projectContext().productTitle + u": Load Project File failed! Please check!";
  ui::warn(failure.located(file));
  throw LoadStopped{failure.encoding ? failed + u"\r\n" + failure.description : failed};
}

// Older and foreign project files need the converter, an outside component this engine does not
// have: creating it fails as it does on a machine without it.
[[noreturn]] void convertProjectFile() {
  raiseVbError(vberr::kCannotCreateObject);
}

// The warning shown when the database could not be read. A reason that gives the same advice
// already (a database without tables does) is not followed by it twice.
std::u16string unreadableDatabaseNotice(std::u16string_view reason) {
  constexpr std::u16string_view kAdvice = u"Please check if correct database is in use.";
  std::u16string notice = u"Unable to load database information! Reason: ";
  notice += trimBlanks(reason);
  if (endsWith(notice, kAdvice)) return notice;
  if (!endsWith(notice, u".")) notice += u'.';
  return notice + u" " + std::u16string(kAdvice);
}

// A database that cannot be read leaves its warning in warnings.
void synchronisationCheck(AGP& project, AGPDatabase& db, const KeepOldDefinition& keepOld,
                          ProjectLoadWarnings& warnings) {
  AGProperties& props = db.properties();
  const SnapshotSource connection{settingAsText(props.setting(kDBName)),
                                  settingAsText(props.setting(kDBType)),
                                  settingAsText(props.setting(kDBPath)),
                                  settingAsText(props.setting(kDBPhyPath)),
                                  settingAsBool(props.setting(kDBUseServerMapPath)),
                                  settingAsText(props.setting(kDBUID)),
                                  settingAsText(props.setting(kDBPwd)),
                                  settingAsText(props.setting(kDBConnstr)),
                                  settingAsText(props.setting(kDBSchema))};
  Status().DispStatus(
      Variant(projectContext().productTitle + u" - Database Synchronization Check..."));
  Expected<> loaded;
  try {
    loaded = TakeLoadSnapshot(project, connection);
  } catch (const AutomationError& e) {
    loaded = Failure{e.description(), e.number()};
  }
  if (!loaded) {
    warnings.unreadableDatabase = unreadableDatabaseNotice(loaded.failure().text);
  } else {
    bool ask = true;
    if (CountLoadDifferences(project) < 1) {
      if (!FieldTypeNamesEmpty(project)) {
        projectContext().syncKeepAnswer = true;
        ask = false;
      } else {
        projectContext().syncQuestion =
            u"Field Type Names are empty for some of the fields in the project. Generated codes "
            u"may not work correctly. Update from database schema?";
      }
    } else {
      projectContext().syncQuestion =
          u"Database has been modified since last change. Do you want to keep old definition or "
          u"update to new definition?";
    }
    if (ask) projectContext().syncKeepAnswer = !keepOld || keepOld(projectContext().syncQuestion);
    if (!projectContext().syncKeepAnswer) {
      SynchroniseLoadedProject(project);
      SetTblKeyFromFields(db);
    }
    SyncMenus(project);
  }
  ReleaseLoadSnapshot(project);
}

void readProject(AGP& project, const std::u16string& projFile, const KeepOldDefinition& keepOld,
                 LoadSchemaCheck check, ProjectLoadWarnings& warnings) {
  if (Expected<> ready = CheckComponents(); !ready) throw LoadStopped{ready.failure().text};
  project.LoadDefault();
  // Whether the project wants no extension is the file's to say.
  if (ProjectExtensionStore* store = Installed<ProjectExtensionStore>::get())
    store->setNoneWanted(false);
  ProjectFileStream stream;
  if (std::optional<StreamFailure> failed = stream.open(projFile)) refuse(*failed, projFile);
  AGProperties& props = project.properties();
  LoadNotes notes(projFile);
  notes.setText(stream.text());
  notes.at(stream.rootOffset());
  // What the model refuses to take ends the load; where it stopped is said with the reason.
  try {
    const std::u16string fileVersion = rootVersion(stream);
    if (const auto ext = projectFileExtension(projFile);
        ext && toLower(*ext) != toLower(projectContext().projectFileExt)) {
      notes = LoadNotes(projFile);
      convertProjectFile();
    }
    switch (CompareVersion(fileVersion, projectContext().shortVersion)) {
      case -1:
        notes = LoadNotes(projFile);
        convertProjectFile();
        break;
      case 2:
        throw LoadStopped{projectContext().productTitle + u": Project file version (" +
                          fileVersion + u") newer than software (" + project.FullVersion() +
                          u")! Please check!"};
      default:
        break;
    }
    // The menus stand beside the model in the same file; they are read as the file streams past
    // and taken in at its end, the old ones gone from the start. A root that is no project stops
    // the load below, with a message of its own.
    {
      xml::Document none;
      static_cast<void>(SharedMenus().LoadMenusFrom(none.append_child(stream.rootName())));
    }
    // A keyword file that does not load is told of here, before anything else the load says.
    if (const Expected<> keywords = SharedKeywords().load(
            settingAsText(GetRegValue(u"HKCU", projectContext().generalKey, u"Keyword")));
        !keywords) {
      showKeywordLoadFailure(keywords.failure());
    }

    if (std::string_view(stream.rootName()) != "Project") {
      throw LoadStopped{projectContext().productTitle + u": Invalid Project File!"};
    }
    LoadProgress progress(project.lhWnd());

    {
      const ElementTag root{stream.rootName(), stream.rootAttributes()};
      std::vector<xml::AttributeView> kept;
      loadTagAttributes(ElementTag{root.name, attributesToKeep(root, stream.text(), kept, &notes)},
                        props, &notes);
    }
    if (settingAsText(props.setting(kProjSmtpServer)).empty()) {
      props.setting(kProjSmtpServer) = Variant(u"localhost");
      props.setting(kProjSmtpServerPort) = Variant(static_cast<std::int16_t>(25));
    }
    props.setting(kProjVar) = GetVarName(props.setting(kProjName), Variant(u""));
    if (std::optional<StreamFailure> failed = stream.read(
            project, notes,
            [&](std::size_t tables) {
              progress.start(static_cast<std::int32_t>(std::min<std::size_t>(tables, INT32_MAX)));
            },
            [](const xml::Node& menus) {
              static_cast<void>(SharedMenus().LoadMenusFrom(menus));
            })) {
      refuse(*failed, projFile);
    }
    progress.close();
  } catch (const AutomationError& e) {
    notes.say(u"reading stopped: " + e.description());
    throw;
  }

  // A named set that is missing keeps its name: another set standing in would overwrite the
  // site with foreign pages, and the next save would make the swap permanent. Generation stops
  // and says the set is not found.
  if (trimBlanks(settingAsText(props.setting(kProjTemplate))).empty()) {
    props.setting(kProjTemplate) = GetRegValue(u"HKCU", projectContext().projectKey, u"Template");
  }
  copyDateFormatSetting(props);

  const Ref<AGPDatabase> db = project.DB();
  if (!db) {
    throw LoadStopped{projectContext().productTitle +
                      u": No Database Information in Project File!"};
  }
  AGProperties& dbProps = db->properties();
  // A SQLite file named relative to the project file is found beside it, wherever this runs;
  // a save into the same folder writes the name back as it was.
  const std::u16string storedConnstr = settingAsText(dbProps.setting(kDBConnstr));
  const std::u16string projectFolder = projectFileFolder(projFile);
  if (std::optional<std::u16string> resolved =
          sqliteFileMadeAbsolute(storedConnstr, projectFolder)) {
    dbProps.setting(kDBConnstr) = Variant(*resolved);
    db->storedConnstr() = AGPDatabase::StoredConnstr{storedConnstr, *resolved, projectFolder};
  }
  projectContext().currentDbmsName = settingAsText(dbProps.setting(kDBDBMSName));
  const SqlQuote quote =
      SetSqlQuote(settingAsText(props.setting(kProjSQLQuote)), projectContext().currentDbmsName);
  dbProps.setting(kDBQuoteS) = Variant(quote.open);
  dbProps.setting(kDBQuoteE) = Variant(quote.close);
  projectContext().currentSecDefault = settingAsText(dbProps.setting(kSecDefault));
  SetTblKeyFromFields(*db);

  if (check == LoadSchemaCheck::AsProjectAsks && settingAsBool(props.setting(kProjAutoSync))) {
    synchronisationCheck(project, *db, keepOld, warnings);
  }

  ProjectExtensionStore* store = Installed<ProjectExtensionStore>::get();
  if (store && store->empty() && !store->noneWanted()) store->loadInstalled(project);
}

}  // namespace

std::int16_t CompareVersion(std::u16string_view a, std::u16string_view b) {
  const std::optional<VersionDifference> difference =
      firstVersionDifference(a, b, 3, [](std::u16string_view part) -> std::int64_t {
        return toInteger(Variant(std::u16string(part)));
      });
  if (!difference) return 0;
  if (!difference->newer) return -1;
  // A newer build is still the same version.
  return difference->part == 0 ? 2 : difference->part == 1 ? 1 : 0;
}

std::optional<std::u16string> projectFileExtension(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  const std::u16string_view name =
      slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return std::nullopt;
  return std::u16string(name.substr(dot + 1));
}

ProjectLoadWarnings loadProject(AGP& project, const std::u16string& projFile,
                                const KeepOldDefinition& keepOld, LoadSchemaCheck check) {
  projectContext().lastErrorText.clear();
  // A project of thousands of objects reads the same defaults for each of them.
  RegistryDefaultsScope pinned;
  ProjectLoadWarnings warnings;
  try {
    readProject(project, projFile, keepOld, check, warnings);
  } catch (const LoadStopped& stop) {
    projectContext().lastErrorText = stop.text;
  } catch (const std::exception&) {
    // Whatever was read until the failure stays in the model, as the host expects.
    projectContext().lastErrorText =
        projectContext().productTitle + u": Load Project File failed! Please check!";
  }
  return warnings;
}

}  // namespace vantorel
