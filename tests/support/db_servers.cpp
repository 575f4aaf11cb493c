#include "support/db_servers.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/data/connection.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {

namespace fs = std::filesystem;

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(120);
constexpr auto kStopTimeout = std::chrono::seconds(60);

std::optional<fs::path> newestPostgresBin() {
  std::vector<fs::path> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    if (fs::exists(entry.path() / "bin" / "initdb")) found.push_back(entry.path() / "bin");
  }
  if (found.empty()) return std::nullopt;
  // Version folders are numbers; the longest, then the largest name is the newest.
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
    const std::string x = a.parent_path().filename(), y = b.parent_path().filename();
    return x.size() != y.size() ? x.size() < y.size() : x < y;
  });
  return found.back();
}

std::optional<fs::path> findProgram(const std::string& name) {
  for (const char* dir : {"/usr/sbin", "/usr/bin", "/usr/local/sbin", "/usr/local/bin", "/sbin"}) {
    const fs::path p = fs::path(dir) / name;
    if (access(p.c_str(), X_OK) == 0) return p;
  }
  return std::nullopt;
}

// Makes a folder the server's user owns.
void makeOwnedFolder(const fs::path& path, const std::string& user, fs::perms perms) {
  fs::create_directories(path);
  fs::permissions(path, perms);
  if (user.empty()) return;
  const passwd* pw = getpwnam(user.c_str());
  if (!pw || chown(path.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
    throw std::runtime_error("cannot hand " + path.string() + " to " + user);
  }
}

template <class Ready>
void waitUntil(ChildProcess& process, const std::string& what, const fs::path& log, Ready ready) {
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (!ready()) {
    if (!process.running()) {
      throw std::runtime_error(what + " stopped while starting:\n" + logTail(log.string()));
    }
    if (std::chrono::steady_clock::now() > deadline) {
      throw std::runtime_error(what + " did not start in time:\n" + logTail(log.string()));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

bool socketAccepts(const fs::path& socketPath) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = socketPath.string();
  std::copy_n(path.c_str(), std::min(path.size() + 1, sizeof address.sun_path), address.sun_path);
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// postmaster.pid's eighth line says "ready" once the server accepts connections.
bool postmasterReady(const fs::path& data) {
  std::ifstream in(data / "postmaster.pid");
  std::string line;
  for (int i = 0; i < 8 && std::getline(in, line); ++i) {
  }
  return line.rfind("ready", 0) == 0;
}

std::u16string u16(const std::string& s) {
  return fromUtf8(s);
}

// A DSN-less connection string to a server of ours on the loopback address.
std::u16string overTcp(std::u16string_view driver, int port, std::u16string_view database,
                       std::u16string_view user, std::u16string_view password) {
  return data::ConnectionString()
      .add(u"Driver", std::u16string(driver))
      .add(u"Server", u"127.0.0.1")
      .add(u"Port", u16(std::to_string(port)))
      .add(u"Database", std::u16string(database))
      .add(u"UID", std::u16string(user))
      .add(u"PWD", std::u16string(password))
      .text();
}

}  // namespace

int freeLocalPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("no socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    throw std::runtime_error("no free port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

std::string serverUser(const std::string& systemUser) {
  return geteuid() == 0 ? systemUser : std::string();
}

// ------------------------------------------------------------------------------ PostgreSQL

std::optional<std::string> PostgresServer::unavailable() {
  if (!newestPostgresBin()) return "PostgreSQL's server programs are not installed";
  if (geteuid() == 0 && !getpwnam("postgres")) return "there is no postgres system user";
  return std::nullopt;
}

PostgresServer::PostgresServer(const fs::path& folder, int port) : folder_(folder), port_(port) {
  const fs::path bin = *newestPostgresBin();
  const std::string user = serverUser("postgres");
  const fs::path data = folder_ / "data";
  const fs::path log = folder_ / "server.log";
  makeOwnedFolder(folder_, user,
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  makeOwnedFolder(data, user, fs::perms::owner_all);
  const fs::path passwordFile = folder_ / "password";
  std::ofstream(passwordFile) << "test\n";
  fs::permissions(passwordFile, fs::perms::owner_read | fs::perms::owner_write |
                                    fs::perms::group_read | fs::perms::others_read);
  runToCompletion({(bin / "initdb").string(), "-D", data.string(), "-U", "test",
                   "--pwfile=" + passwordFile.string(), "-E", "UTF8", "--locale=C",
                   "--auth-local=trust", "--auth-host=scram-sha-256", "--no-sync"},
                  (folder_ / "initdb.log").string(), user);
  // Durability is of no use to a server that lives for one test run.
  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{(bin / "postgres").string(), "-D", data.string(), "-p",
                               std::to_string(port_), "-k", folder_.string(), "-c",
                               "listen_addresses=127.0.0.1", "-c", "fsync=off", "-c",
                               "synchronous_commit=off", "-c", "full_page_writes=off"},
      log.string(), user);
  waitUntil(*process_, "PostgreSQL", log, [&] { return postmasterReady(data); });
}

PostgresServer::~PostgresServer() {
  // SIGINT is PostgreSQL's fast shutdown.
  if (process_) process_->stop(SIGINT, kStopTimeout);
}

std::u16string PostgresServer::connectionString(std::u16string_view database,
                                                std::u16string_view user,
                                                std::u16string_view password) const {
  return overTcp(u"PostgreSQL Unicode", port_, database, user, password);
}

void PostgresServer::runScripts(const std::string& database,
                                const std::vector<fs::path>& scripts) const {
  const std::optional<fs::path> psql = findProgram("psql");
  if (!psql) throw std::runtime_error("PostgreSQL's client psql is not installed");
  std::vector<std::string> argv = {
      psql->string(), "-X", "-q", "-v", "ON_ERROR_STOP=1", "-d",
      "host=127.0.0.1 port=" + std::to_string(port_) + " user=test password=test dbname=" +
          database};
  for (const fs::path& script : scripts) argv.insert(argv.end(), {"-f", script.string()});
  runToCompletion(argv, (folder_ / "psql.log").string());
}

// --------------------------------------------------------------------------------- MariaDB

std::optional<std::string> MariaDbServer::unavailable() {
  if (!findProgram("mariadbd") || !findProgram("mariadb-install-db")) {
    return "MariaDB's server programs are not installed";
  }
  if (geteuid() == 0 && !getpwnam("mysql")) return "there is no mysql system user";
  return std::nullopt;
}

// Native asynchronous I/O draws on a limit the kernel shares among every container on a host:
// where other servers have used it up, InnoDB cannot start. A test server does not need it.
constexpr const char* kNoNativeAio = "--innodb-use-native-aio=0";

MariaDbServer::MariaDbServer(const fs::path& folder, int port)
    : folder_(folder), socket_(folder / "mariadb.sock"), port_(port) {
  const std::string user = serverUser("mysql");
  const fs::path data = folder_ / "data";
  const fs::path log = folder_ / "server.log";
  makeOwnedFolder(folder_, user,
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  makeOwnedFolder(data, user, fs::perms::owner_all);
  // Its own temporary folder: a clean-up of the shared /tmp must not pull files from under it.
  const fs::path tmp = folder_ / "tmp";
  makeOwnedFolder(tmp, user, fs::perms::owner_all);
  const std::vector<std::string> install = {
      findProgram("mariadb-install-db")->string(), "--no-defaults", "--datadir=" + data.string(),
      "--auth-root-authentication-method=normal", "--skip-test-db", "--skip-name-resolve",
      kNoNativeAio};
  try {
    runToCompletion(install, (folder_ / "install-db.log").string(), user);
  } catch (const std::runtime_error&) {
    // A bootstrap that failed on a loaded host gets one more try on an empty folder before the
    // tests give up.
    fs::remove_all(data);
    makeOwnedFolder(data, user, fs::perms::owner_all);
    runToCompletion(install, (folder_ / "install-db-again.log").string(), user);
  }
  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{
          findProgram("mariadbd")->string(), "--no-defaults", "--datadir=" + data.string(),
          "--tmpdir=" + tmp.string(), "--port=" + std::to_string(port_),
          "--bind-address=127.0.0.1",
          "--socket=" + socket_.string(), "--pid-file=" + (folder_ / "mariadb.pid").string(),
          "--skip-name-resolve", "--skip-log-bin", "--character-set-server=utf8mb4",
          "--collation-server=utf8mb4_general_ci", "--innodb-flush-log-at-trx-commit=0",
          kNoNativeAio},
      log.string(), user);
  waitUntil(*process_, "MariaDB", log, [&] { return socketAccepts(socket_); });
  // install-db leaves only root over the socket; the tests log in as "test" over TCP.
  data::Connection root(data::ConnectionString()
                            .add(u"Driver", u"MariaDB Unicode")
                            .add(u"Socket", u16(socket_.string()))
                            .add(u"UID", u"root")
                            .add(u"PWD", u"")
                            .text());
  for (const char16_t* sql : {u"CREATE USER 'test'@'%' IDENTIFIED BY 'test'",
                              u"GRANT ALL PRIVILEGES ON *.* TO 'test'@'%' WITH GRANT OPTION"}) {
    data::execute(root, sql);
  }
}

MariaDbServer::~MariaDbServer() {
  if (process_) process_->stop(SIGTERM, kStopTimeout);
}

std::u16string MariaDbServer::connectionString(std::u16string_view database,
                                               std::u16string_view user,
                                               std::u16string_view password) const {
  return overTcp(u"MariaDB Unicode", port_, database, user, password);
}

void MariaDbServer::runScript(const fs::path& script,
                              const std::vector<std::string>& options) const {
  std::optional<fs::path> client = findProgram("mariadb");
  if (!client) client = findProgram("mysql");
  if (!client) throw std::runtime_error("MariaDB's client is not installed");
  std::vector<std::string> argv = {client->string(), "--no-defaults", "--protocol=TCP",
                                   "--host=127.0.0.1", "--port=" + std::to_string(port_),
                                   "--user=test", "--password=test"};
  argv.insert(argv.end(), options.begin(), options.end());
  runToCompletion(argv, (folder_ / "client.log").string(), {}, script.string());
}

}  // namespace vantorel::test
