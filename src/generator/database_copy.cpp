#include "generator/database_copy.hpp"

#include <filesystem>
#include <optional>
#include <system_error>

#include "agp/agp.hpp"
#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
#include "generator/output_items.hpp"
#include "generator/output_paths.hpp"
#include "generator/page_generation.hpp"
#include "generator/run_end.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

namespace {

std::u16string_view withoutLeadingSeparators(std::u16string_view path) {
  while (!path.empty() && fs::isSeparator(path.front())) path.remove_prefix(1);
  return path;
}

// "~" goes, and then one separator; what is left is read below the application root.
std::u16string normalDbPath(std::u16string_view dbPath) {
  dbPath = trimBlanks(dbPath);
  if (!dbPath.empty() && dbPath.front() == u'~') {
    dbPath.remove_prefix(1);
    if (!dbPath.empty() && fs::isSeparator(dbPath.front())) dbPath.remove_prefix(1);
  }
  return std::u16string(dbPath);
}

bool isAbsoluteDbPath(std::u16string_view dbPath) {
  return dbPath.starts_with(u"\\\\") || dbPath.find(u':') != std::u16string_view::npos;
}

bool sameFile(const std::u16string& a, const std::u16string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(fs::toNative(a), fs::toNative(b), ec) && !ec;
}

// A failed step still counts one, as the check pass has always added it.
StepOutcome failWith(std::u16string message) {
  return {1, Failure{std::move(message)}};
}

std::u16string outsideRoot(std::u16string_view setting, std::u16string_view value,
                           std::u16string_view root) {
  return projectContext().productTitle + u": The " + std::u16string(setting) + u" " +
         inQuotes(value) + u" leads outside the folder " + inQuotes(root) +
         u". Generation aborted.";
}

std::u16string noAppRoot(std::u16string_view setting) {
  return projectContext().productTitle +
         u": The project has no application root folder (\"AppRootFolder\" " +
         u"is empty), so the " + std::u16string(setting) + u" has no place. Generation aborted.";
}

Expected<> copyFile(AGP& proj, const std::u16string& source, const std::u16string& target) {
  try {
    fs::copyFile(source, target, true, OutputRootOf(proj, target));
    return {};
  } catch (const fs::FileError& e) {
    return Failure{u"Copying to file " + inQuotes(target) + u" failed! Error = " +
                   fromUtf8(e.what())};
  }
}

}  // namespace

std::u16string DatabaseSourceFile(std::u16string_view dbType, std::u16string_view phyPath,
                                  std::u16string_view connStr) {
  if (equalsNoCase(dbType, u"ACCESS")) return std::u16string(phyPath);
  const std::size_t attach = findTextNoCase(connStr, u"AttachDbFilename");
  if (attach == std::u16string_view::npos ||
      findTextNoCase(connStr, u"\\SQLExpress") == std::u16string_view::npos) {
    return {};
  }
  const std::size_t equals = connStr.find(u'=', attach);
  if (equals == std::u16string_view::npos) return {};
  const std::size_t end = connStr.find(u';', equals);
  const std::u16string_view value = connStr.substr(
      equals + 1, end == std::u16string_view::npos ? std::u16string_view::npos : end - equals - 1);
  return std::u16string(trimBlanks(value));
}

StepOutcome CopyDatabase(AGP& proj, bool checkOnly, std::u16string* copied) {
  AGProperties& settings = proj.properties();
  const std::u16string appRoot(trimBlanks(settingValueText(settings, u"AppRootFolder")));

  const std::u16string uploadText(trimBlanks(settingValueText(settings, u"UploadPath")));
  std::u16string_view upload = uploadText;
  if (!upload.empty() && upload.front() == u'~') upload.remove_prefix(1);
  // Without an application root the upload folder would land in the current folder.
  if (!upload.empty() && !appRoot.empty()) {
    const std::optional<std::u16string> folder =
        fs::joinInside(appRoot, withoutLeadingSeparators(upload));
    if (!folder) return failWith(outsideRoot(u"upload folder", uploadText, appRoot));
    MakeOutputFolder(proj, *folder);
  }

  const Ref<AGPDatabase> db = proj.DB();
  if (!db) return {};
  AGProperties& dbSettings = db->properties();
  const std::u16string source = DatabaseSourceFile(settingValueText(dbSettings, u"DBType"),
                                                   settingValueText(dbSettings, u"DBPhyPath"),
                                                   settingValueText(dbSettings, u"DBConnstr"));
  if (source.find_first_of(u"\\/") == std::u16string::npos) return {};
  const std::u16string fileName = fileNamePart(source);
  const std::u16string dbPathText = settingValueText(dbSettings, u"DBPath");
  const std::u16string dbPath = normalDbPath(dbPathText);
  if (fileName.empty() || !fs::fileExists(source) || isAbsoluteDbPath(dbPath)) return {};

  std::u16string folder;
  if (dbPath.empty()) {
    if (Expected<> root = CheckOutputRoot(proj); !root)
      return failWith(std::move(root.failure().text));
    folder = fs::normalizeSeparators(trimBlanks(settingValueText(settings, u"Destination")));
  } else {
    if (appRoot.empty()) return failWith(noAppRoot(u"database folder"));
    const std::optional<std::u16string> inside =
        fs::joinInside(appRoot, withoutLeadingSeparators(dbPath));
    if (!inside) return failWith(outsideRoot(u"database folder", dbPathText, appRoot));
    folder = *inside;
  }
  if (folder.empty() || folder.back() != u'/') folder += u'/';
  const std::u16string target = folder + fileName;

  if (!fs::folderExists(folder)) {
    const ui::Answer answer = ui::messageBox(
        u"Folder " + inQuotes(folder) + u" does not exist! Do you want to create it?",
        projectContext().productTitle, ui::Buttons::YesNoCancel, ui::Icon::Question);
    if (answer == ui::Answer::Cancel) RaiseCancelled();
    if (answer != ui::Answer::Yes) {
      ui::messageBox(u"Database Folder " + inQuotes(folder) +
                         u" not created! Database will not be copied. Make sure you set up the "
                         u"correct database path for the " +
                         toString(projectContext().techName) + u" scripts to work correctly!",
                     projectContext().productTitle, ui::Buttons::OK, ui::Icon::Exclamation);
      return {};
    }
    MakeOutputFolder(proj, folder);
    if (!fs::folderExists(folder)) return {};
  }

  if (sameFile(source, target)) return {};
  if (copied) *copied = target;
  if (fs::fileExists(target)) {
    if (checkOnly) {
      proj.controlList().Add(u"@db", fileName, true, u"Copy database");
      return {};
    }
    if (!IsOutputItemOn(proj, u"@db")) return {};
    StepProgress();
  } else if (checkOnly) {
    return {};
  }

  if (Expected<> copied = copyFile(proj, source, target); !copied)
    return failWith(std::move(copied.failure().text));
  if (source.size() >= 4 &&
      toLower(std::u16string_view(source).substr(source.size() - 4)) == u".mdf") {
    const std::u16string sourceLog = source.substr(0, source.size() - 4) + u"_log.ldf";
    const std::u16string targetLog = target.substr(0, target.size() - 4) + u"_log.ldf";
    if (fs::fileExists(sourceLog)) {
      if (Expected<> copied = copyFile(proj, sourceLog, targetLog); !copied)
        return failWith(std::move(copied.failure().text));
    }
  }
  return {};
}

}  // namespace vantorel
