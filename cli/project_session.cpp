#include "project_session.hpp"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "platform/ui/ui.hpp"
#include "schema/sync_question.hpp"

namespace vantorel::cli {

ProjectSession::ProjectSession(std::string command) : command_(std::move(command)) {}

void ProjectSession::fail(std::string_view message) const {
  std::fflush(stdout);
  std::fprintf(stderr, "%s: %.*s\n", command_.c_str(), static_cast<int>(message.size()),
               message.data());
}

int ProjectSession::failureCode() const {
  return ui::interruptRequested() ? 128 + ui::interruptSignal() : 1;
}

bool ProjectSession::open(const std::string& projectFile, LoadSchemaCheck check) {
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(projectFile, ec);
  if (ec || !std::filesystem::is_regular_file(path, ec)) {
    fail("no project file " + projectFile);
    return false;
  }
  if (!create()) return false;
  project_->let(u"ProjErr", Variant(u""));
  const std::u16string file = fs::fromNative(path.lexically_normal());
  try {
    // AGP.Load as a script calls it, with the warning kept for the commands to act on.
    const ProjectLoadWarnings warnings =
        check == LoadSchemaCheck::Skip
            ? loadProject(static_cast<AGP&>(*project_), file, {}, LoadSchemaCheck::Skip)
            : loadProject(static_cast<AGP&>(*project_), file, &AskKeepOldDefinition, check);
    if (warnings.any()) {
      unreadableDatabase_ = warnings.unreadableDatabase;
      ui::messageBox(warnings.unreadableDatabase, projectContext().productTitle, ui::Buttons::OK,
                     ui::Icon::Exclamation);
    }
  } catch (const AutomationError& e) {
    fail(toUtf8(e.description()));
    return false;
  }
  return !reportProjErr();
}

bool ProjectSession::runStep(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const AutomationError& e) {
    // A fatal failure or the user's cancel: the description is the engine's message.
    fail(toUtf8(e.description().empty() ? projErr() : e.description()));
    return false;
  }
}

bool ProjectSession::databaseUsable() {
  if (!unreadableDatabase_.empty()) {
    fail("the project's database could not be read; nothing was done");
    return false;
  }
  const Ref<AGPDatabase> db = static_cast<AGP&>(*project_).DB();
  if (!db) return true;  // the engine's own check names this
  AGPTables& tables = db->tables();
  bool anyLoaded = tables.count() == 0;
  for (std::int32_t i = 0; i < tables.count() && !anyLoaded; ++i) {
    anyLoaded =
        settingAsBool(tables.at(static_cast<std::size_t>(i)).properties().setting(kTblLoaded));
  }
  if (anyLoaded) return true;
  fail("none of the database's " + std::to_string(tables.count()) +
       " tables and views is loaded (the project loads them one by one: AGP.LoadTable); "
       "nothing was done");
  return false;
}

std::string ProjectSession::sitePath(const std::u16string& path) {
  const Variant destination = get(u"Destination");
  if (destination.isString() && !destination.stringValue().empty()) {
    const std::filesystem::path root = fs::toNative(destination.stringValue()).lexically_normal();
    const std::filesystem::path file = fs::toNative(path).lexically_normal();
    const std::filesystem::path relative = file.lexically_relative(root);
    if (!relative.empty() && *relative.begin() != "..") return relative.string();
  }
  return toUtf8(path);
}

bool ProjectSession::create() {
  try {
    project_ = ClassFactory::instance().create(u"vantorel4.AGP");
  } catch (const AutomationError& e) {
    fail(toUtf8(e.description()));
    return false;
  }
  return true;
}

std::optional<Variant> ProjectSession::call(std::u16string_view member,
                                            std::vector<Variant> arguments) {
  // The commands call only members the project object always has; a name it lacks is a fault of
  // this program, not of the project.
  if (project_->memberId(member) == kDispIdUnknown) {
    fail("internal error: the project object has no member " + toUtf8(member));
    return std::nullopt;
  }
  try {
    std::vector<Variant*> pointers;
    pointers.reserve(arguments.size());
    for (Variant& argument : arguments) pointers.push_back(&argument);
    return invokeByName(*project_, member, kInvokeMethod | kInvokeGet, CallArgs(pointers));
  } catch (const AutomationError& e) {
    // A fatal failure or the user's cancel: the description is the engine's message.
    fail(toUtf8(e.description().empty() ? projErr() : e.description()));
    return std::nullopt;
  }
}

void ProjectSession::updateChangedTemplates() {
  projectContext().updateChangedTemplates = true;
}

Variant ProjectSession::get(std::u16string_view member) {
  return project_->get(member);
}

void ProjectSession::let(std::u16string_view member, const Variant& value) {
  project_->let(member, value);
}

std::u16string ProjectSession::projErr() {
  const Variant text = project_->get(u"ProjErr");
  return text.isString() ? text.stringValue() : std::u16string();
}

bool ProjectSession::reportProjErr() {
  const std::u16string text = projErr();
  if (text.empty()) return false;
  fail(toUtf8(text));
  return true;
}

bool parseProjectArguments(int argc, char** argv, ProjectArguments& out) {
  for (int i = 0; i < argc; ++i) {
    const char* word = argv[i];
    if (std::strcmp(word, "--destination") == 0 || std::strcmp(word, "-d") == 0) {
      if (++i == argc || argv[i][0] == '\0') return false;
      out.destination = argv[i];
    } else if (std::strncmp(word, "--destination=", 14) == 0 && word[14] != '\0') {
      out.destination = word + 14;
    } else if (std::strcmp(word, "--update-templates") == 0) {
      out.updateTemplates = true;
    } else if (word[0] == '-' || word[0] == '\0' || !out.project.empty()) {
      return false;
    } else {
      out.project = word;
    }
  }
  return !out.project.empty();
}

bool ProjectSession::applyDestination(const std::string& folder) {
  if (folder.empty()) return true;
  // The engine takes the folder as given; a relative one would depend on where it runs.
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  if (ec) {
    fail("cannot use the destination " + folder);
    return false;
  }
  let(u"Destination", Variant(fs::fromNative(absolute.lexically_normal())));
  return true;
}

void ProjectSession::rootAtDestination() {
  const std::optional<Variant> root = call(u"GetV", {Variant(u"AppRootFolder")});
  if (!root || (root->isString() && !trimBlanks(root->stringValue()).empty())) return;
  const Variant destination = get(u"Destination");
  if (destination.isString() && !trimBlanks(destination.stringValue()).empty()) {
    call(u"SetV", {Variant(u"AppRootFolder"), destination});
  }
}

}  // namespace vantorel::cli
