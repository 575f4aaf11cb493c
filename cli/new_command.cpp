#include "new_command.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "project_session.hpp"
#include "projectfile/database_file_path.hpp"
#include "projectfile/project_backups.hpp"

namespace vantorel::cli {

namespace {

constexpr char kCommand[] = "vantorel new";
constexpr char kPasswordVariable[] = "VANTOREL_PASSWORD";

void printUsage() {
  std::fputs(
      "Usage: vantorel new PROJECT.vtp --connect CONNECTION [--type access|odbc|string]\n"
      "                    [--destination DIR] [--dynamic] [--user NAME]\n"
      "                    [--password-file FILE] [--language FILE] [--force]\n"
      "CONNECTION is an ODBC data source name, an ODBC connection string or an Access file.\n"
      "The password is read from FILE, else from the VANTOREL_PASSWORD environment variable.\n"
      "The language file of the template set defaults to lang.xml.\n"
      "An existing PROJECT.vtp is replaced only with --force.\n",
      stderr);
}

enum class Kind { Unknown, Access, Odbc, ConnectionString };

struct NewArguments {
  std::string project, connection, destination, user, passwordFile, language;
  Kind kind = Kind::Unknown;
  bool dynamic = false;
  bool force = false;
};

Kind kindNamed(std::string_view name) {
  const std::u16string lower = toLower(fromUtf8(name));
  if (lower == u"access") return Kind::Access;
  if (lower == u"odbc") return Kind::Odbc;
  if (lower == u"string") return Kind::ConnectionString;
  return Kind::Unknown;
}

// "key=value" pairs are a connection string; a path or a file of Access's kinds is a file; any
// other word names a data source.
Kind guessKind(const std::string& connection) {
  if (connection.find('=') != std::string::npos) return Kind::ConnectionString;
  const std::u16string lower = toLower(fromUtf8(connection));
  for (const char16_t* ext : {u".mdb", u".accdb", u".mde", u".accde"}) {
    const std::u16string_view e(ext);
    if (lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) {
      return Kind::Access;
    }
  }
  std::error_code ec;
  if (connection.find_first_of("/\\") != std::string::npos ||
      std::filesystem::is_regular_file(connection, ec)) {
    return Kind::Access;
  }
  return Kind::Odbc;
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; false when it is not this
// option. A missing or empty value leaves `ok` false.
bool optionValue(int argc, char** argv, int& i, const char* name, std::string& out, bool& ok) {
  const std::size_t n = std::strlen(name);
  const char* word = argv[i];
  if (std::strcmp(word, name) == 0) {
    ok = ++i < argc && argv[i][0] != '\0';
    if (ok) out = argv[i];
    return true;
  }
  if (std::strncmp(word, name, n) == 0 && word[n] == '=') {
    out = word + n + 1;
    ok = !out.empty();
    return true;
  }
  return false;
}

bool parseArguments(int argc, char** argv, NewArguments& out) {
  for (int i = 0; i < argc; ++i) {
    bool ok = true;
    std::string type;
    if (optionValue(argc, argv, i, "--connect", out.connection, ok) ||
        optionValue(argc, argv, i, "--destination", out.destination, ok) ||
        optionValue(argc, argv, i, "--user", out.user, ok) ||
        optionValue(argc, argv, i, "--password-file", out.passwordFile, ok) ||
        optionValue(argc, argv, i, "--language", out.language, ok)) {
      if (!ok) return false;
    } else if (optionValue(argc, argv, i, "--type", type, ok)) {
      if (!ok || (out.kind = kindNamed(type)) == Kind::Unknown) return false;
    } else if (std::strcmp(argv[i], "--dynamic") == 0) {
      out.dynamic = true;
    } else if (std::strcmp(argv[i], "--force") == 0) {
      out.force = true;
    } else if (argv[i][0] == '-' || argv[i][0] == '\0' || !out.project.empty()) {
      return false;
    } else {
      out.project = argv[i];
    }
  }
  return !out.project.empty() && !out.connection.empty();
}

// The password from the file (its first line) or the environment; "" when neither gives one.
// A data source named without a user logs in as its entry in odbc.ini says, password included:
// a password from the environment meant for another login must not replace that one.
bool readPassword(const NewArguments& args, std::string& password, ProjectSession& session) {
  if (args.kind == Kind::Odbc && args.user.empty()) return true;
  if (!args.passwordFile.empty()) {
    std::ifstream in(args.passwordFile, std::ios::binary);
    if (!in) {
      session.fail("cannot read the password file " + args.passwordFile);
      return false;
    }
    std::getline(in, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return true;
  }
  if (const char* fromEnvironment = std::getenv(kPasswordVariable)) password = fromEnvironment;
  return true;
}

std::u16string absolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return fs::fromNative((ec ? std::filesystem::path(path) : absolute).lexically_normal());
}

// LoadDB's nine arguments for the connection.
std::vector<Variant> loadArguments(const NewArguments& args, const std::u16string& user,
                                   const std::u16string& password) {
  const std::u16string connection = fromUtf8(args.connection);
  std::u16string name, type, sitePath, phyPath, connectionString;
  switch (args.kind) {
    case Kind::Access:
      // The site keeps its copy of the file in App_Data below its root, a folder IIS does not
      // serve, so that the file cannot be downloaded.
      type = u"ACCESS";
      sitePath = u"App_Data";
      phyPath = absolutePath(args.connection);
      break;
    case Kind::Odbc:
      type = u"ODBC";
      name = connection;
      break;
    default:
      // The loader opens a connection string as it stands; the user and password join it.
      type = u"ADO";
      connectionString = connection;
      if (!user.empty()) connectionString += u";UID=" + data::quoteConnectionValue(user);
      if (!password.empty()) connectionString += u";PWD=" + data::quoteConnectionValue(password);
      break;
  }
  return {Variant(name),  Variant(type), Variant(sitePath), Variant(phyPath),
          Variant(false), Variant(user), Variant(password), Variant(connectionString),
          Variant(u"")};
}

// A project made without anyone to choose generates every table and view it loaded; the engine
// leaves that choice to its host. Returns how many tables and views the database holds.
std::int32_t generateLoadedTables(Object& db) {
  const Variant tables = db.get(u"Tables");
  if (!tables.isObject() || !tables.objectValue()) return 0;
  Object& list = *tables.objectValue();
  const std::int32_t count = toLong(list.call(u"Count"));
  for (std::int32_t i = 1; i <= count; ++i) {
    const Variant table = list.call(u"Seq", {Variant(static_cast<std::int16_t>(i))});
    if (!table.isObject() || !table.objectValue()) continue;
    Object& t = *table.objectValue();
    if (toBool(t.get(u"TblLoaded"))) t.let(u"TblGen", Variant(true));
  }
  return count;
}

// Whether a connection string holds a password ("PWD=..." or "Password=...", braces respected).
bool holdsPassword(std::u16string_view connection) {
  std::size_t start = 0;
  while (start < connection.size()) {
    std::size_t end = start;
    bool braced = false;
    while (end < connection.size() && (braced || connection[end] != u';')) {
      if (connection[end] == u'{') braced = true;
      if (connection[end] == u'}') braced = false;
      ++end;
    }
    const std::u16string_view part = connection.substr(start, end - start);
    const std::size_t equals = part.find(u'=');
    if (equals != std::u16string_view::npos && equals + 1 < part.size()) {
      const std::u16string key = toLower(std::u16string(trimBlanks(part.substr(0, equals))));
      if (key == u"pwd" || key == u"password") return true;
    }
    start = end + 1;
  }
  return false;
}

// The project file keeps the connection's password as it was given, in clear text: the user
// must know that the file is as secret as the password, and in which settings it is.
void tellWherePasswordWent(Object& db, const std::u16string& file) {
  const Variant password = db.get(u"DBPwd");
  const Variant connection = db.get(u"DBConnstr");
  std::string settings;
  if (password.isString() && !password.stringValue().empty()) settings = "DBPwd";
  if (connection.isString() && holdsPassword(connection.stringValue())) {
    settings += settings.empty() ? "DBConnstr" : " and DBConnstr";
  }
  if (settings.empty()) {
    std::printf("No database password is stored in the project file.\n");
    return;
  }
  std::printf("The database password is stored in clear text in %s (%s): keep the file private.\n",
              toUtf8(file).c_str(), settings.c_str());
}

std::u16string projectName(const std::string& projectFile) {
  const std::u16string stem = fs::fromNative(std::filesystem::path(projectFile).stem());
  return stem.empty() ? u"Project" : stem;
}

// The project file must not replace one the user has without being told to.
bool mayWrite(const NewArguments& args, const ProjectSession& session) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::symlink_status(args.project, ec);
  if (!std::filesystem::exists(status)) return true;
  if (std::filesystem::is_directory(status)) {
    session.fail(args.project + " is a folder");
    return false;
  }
  if (args.force) return true;
  session.fail(args.project +
               " exists already; nothing was changed (--force replaces it, keeping the old file "
               "as its numbered backup)");
  return false;
}

// A named language file must be one the template sets' language folder holds: a generation
// could not load any other.
bool languageFileFound(const NewArguments& args, const ProjectSession& session) {
  if (args.language.empty()) return true;
  const std::u16string& folder = projectContext().languageFolderPath;
  const std::optional<std::u16string> path = fs::joinInside(folder, fromUtf8(args.language));
  if (!folder.empty() && path && fs::fileExists(*path)) return true;
  session.fail("the language file " + args.language + " is not in the language folder " +
               toUtf8(folder));
  return false;
}

}  // namespace

int newProject(int argc, char** argv) {
  NewArguments args;
  if (!parseArguments(argc, argv, args)) {
    if (args.connection.empty())
      std::fprintf(stderr, "%s: missing --connect CONNECTION\n", kCommand);
    printUsage();
    return 2;
  }
  if (args.kind == Kind::Unknown) args.kind = guessKind(args.connection);
  ProjectSession session(kCommand);
  if (args.kind == Kind::Odbc && args.user.empty() && !args.passwordFile.empty()) {
    session.fail(
        "--password-file needs --user: a data source named without a user logs in "
        "with the login its entry stores");
    return 2;
  }
  if (!mayWrite(args, session)) return 2;
  std::string password;
  if (!readPassword(args, password, session)) return 1;
  if (args.kind == Kind::ConnectionString) {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (const std::optional<std::u16string> absolute =
            sqliteFileMadeAbsolute(fromUtf8(args.connection), fs::fromNative(here));
        absolute && !ec) {
      args.connection = toUtf8(*absolute);
    }
  }
  ui::installInterruptHandler();
  if (!session.create()) return 1;
  if (!languageFileFound(args, session)) return 2;

  session.let(u"ProjErr", Variant(u""));
  if (!session.call(u"AddProj", {Variant(projectName(args.project))})) return 1;
  if (args.dynamic && !session.call(u"SetV", {Variant(u"DynamicLoadDB"), Variant(true)})) return 1;
  if (!session.applyDestination(args.destination)) return 1;
  // The copy of an Access file goes below the application root, so the root must outlive this
  // run for a script that generates the project later.
  if (args.kind == Kind::Access) session.rootAtDestination();
  // A site is generated in one language; the user's defaults may name none.
  const Variant language = session.get(u"DefaultLanguageFile");
  if (!args.language.empty() || !language.isString() || language.stringValue().empty()) {
    const std::u16string file = args.language.empty() ? u"lang.xml" : fromUtf8(args.language);
    if (!session.call(u"SetV", {Variant(u"DefaultLanguageFile"), Variant(file)})) return 1;
  }

  const std::u16string user = fromUtf8(args.user);
  if (!session.call(u"LoadDB", loadArguments(args, user, fromUtf8(password)))) {
    return session.failureCode();
  }
  if (ui::interruptRequested()) {
    session.fail("cancelled; no project file written");
    return session.failureCode();
  }
  if (session.reportProjErr()) return 1;
  const Variant db = session.get(u"DB");
  if (!db.isObject() || !db.objectValue()) {
    session.fail("the database was not loaded");
    return 1;
  }
  const std::int32_t count = generateLoadedTables(*db.objectValue());
  const std::u16string file = absolutePath(args.project);
  const bool replacing = fs::fileExists(file);
  if (!session.call(u"Save", {Variant(file)}) || session.reportProjErr()) return 1;

  std::printf("Created %s with %d tables and views\n", toUtf8(file).c_str(),
              static_cast<int>(count));
  if (replacing) {
    const std::u16string backup =
        backupCopyPath(projectBackupFolder(projectContext().backupFolder, file), file, 1);
    std::printf("The file it replaced is kept as %s\n", toUtf8(backup).c_str());
  }
  tellWherePasswordWent(*db.objectValue(), file);
  return 0;
}

}  // namespace vantorel::cli
