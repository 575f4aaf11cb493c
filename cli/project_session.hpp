#pragma once
// What `vantorel check` and `vantorel generate` share: a project object with the project file
// loaded, reached late-bound, by member name, as a script reaches it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"
#include "projectfile/project_reader.hpp"

namespace vantorel::cli {

// The arguments of the commands that work on a project file:
// PROJECT.vtp [--destination DIR] [--update-templates].
struct ProjectArguments {
  std::string project;
  std::string destination;
  bool updateTemplates = false;  // --update-templates: unpack a changed template archive
};
// False for anything else (the caller prints its usage).
bool parseProjectArguments(int argc, char** argv, ProjectArguments& out);

class ProjectSession {
 public:
  // `command` prefixes every message ("vantorel generate").
  explicit ProjectSession(std::string command);

  // Creates the project object; false (with a message printed) on failure.
  bool create();
  // Creates the project object and loads the file; false (with a message printed) on failure.
  // A load that skips the schema check reads the file without asking or synchronising.
  bool open(const std::string& projectFile, LoadSchemaCheck check = LoadSchemaCheck::AsProjectAsks);
  // Calls a method; returns nothing when it raised (the message is printed). Ctrl-C while it
  // runs is reported as a cancel.
  std::optional<Variant> call(std::u16string_view member, std::vector<Variant> arguments = {});
  Variant get(std::u16string_view member);
  void let(std::u16string_view member, const Variant& value);
  // Sets the project's Destination to the folder made absolute; nothing for "". False (with a
  // message printed) when the folder cannot be used.
  bool applyDestination(const std::string& folder);
  // A project without an application root (AppRootFolder) has the destination as its root for
  // this run, so that what lies below the root (an Access file's DBPath, "~/" folders) lands in
  // the site.
  void rootAtDestination();

  // Answers the question about a changed template archive with "unpack it" for this run.
  void updateChangedTemplates();

  // The project's ProjErr: the reason of the last failure, or empty.
  std::u16string projErr();
  // Prints ProjErr when it is not empty; returns whether it was.
  bool reportProjErr();
  // Runs a step of the engine called directly; false (with the message printed) when it raised.
  bool runStep(const std::function<void()>& step);

  // False, with the reason printed, when the project's database could not be read when the
  // project was loaded, or when a project that loads its tables one by one has none loaded: a
  // site made then would be made from nothing or from a definition the database may no longer
  // have.
  bool databaseUsable();

  // A path of the site as the user reads it: relative to the destination when it lies below it.
  std::string sitePath(const std::u16string& path);

  // The exit code after a failure: 128 + the signal after Ctrl-C or SIGTERM, else 1.
  int failureCode() const;
  void fail(std::string_view message) const;

  Object& project() { return *project_; }

 private:
  std::string command_;
  Ref<Object> project_;
  // The load's warning that the database could not be read; empty when it was, or was not tried.
  std::u16string unreadableDatabase_;
};

}  // namespace vantorel::cli
