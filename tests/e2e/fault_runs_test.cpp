// The host program in a hostile environment: broken template sets, signals and kill -9 in the
// middle of a run, a full disk (a file size limit), and runs side by side. Every case must end
// with a plain exit code and its cause, and leave nothing half written behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/fs/file_lock.hpp"
#include "platform/fs/path.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fsys = std::filesystem;
using vantorel::test::readFile;
using vantorel::test::writeFile;

namespace {

const fsys::path kSource = fsys::path(VANTOREL_TEST_DATA).parent_path().parent_path();

// The hidden temporaries an atomic write makes, anywhere below folder.
std::vector<std::string> temporariesBelow(const fsys::path& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fsys::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(".") && name.find(".tmp-") != std::string::npos) found.push_back(name);
  }
  return found;
}

// The pid of a process that has ended.
pid_t endedPid() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

struct Exit {
  int code = -1;   // the exit code, -1 when a signal ended it
  int signal = 0;  // the signal that ended it
  std::string output;
};

// One run of the host program with its own home, documents and settings.
class HostRun {
 public:
  HostRun(const fsys::path& home, std::vector<std::string> arguments,
          std::optional<rlim_t> fileSizeLimit = std::nullopt)
      : log_(home / ("run-" + std::to_string(counter_++) + ".log")) {
    fsys::create_directories(home);
    pid_ = fork();
    if (pid_ != 0) return;
    const int out = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    setenv("HOME", home.c_str(), 1);
    setenv("VANTOREL_HOME", (home / "config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home / "Documents").c_str(), 1);
    unsetenv("VANTOREL_ANSWERS");
    if (fileSizeLimit) {
      // A write past the limit fails with EFBIG, as on a full disk, instead of ending the program.
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*fileSizeLimit, *fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<char*> argv{const_cast<char*>(VANTOREL_CLI_PATH)};
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(VANTOREL_CLI_PATH, argv.data());
    _exit(127);
  }

  pid_t pid() const { return pid_; }
  void signal(int number) const { ::kill(pid_, number); }
  // Whether the program is still running.
  bool running() const {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
  }

  Exit wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    Exit e;
    if (WIFEXITED(status)) e.code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) e.signal = WTERMSIG(status);
    e.output = readFile(log_);
    return e;
  }

 private:
  static inline int counter_ = 0;
  fsys::path log_;
  pid_t pid_ = -1;
};

Exit run(const fsys::path& home, std::vector<std::string> arguments,
         std::optional<rlim_t> fileSizeLimit = std::nullopt) {
  return HostRun(home, std::move(arguments), fileSizeLimit).wait();
}

// Waits, without a time limit of its own, until the run made its first page or ended.
void waitForFirstPage(const HostRun& host, const fsys::path& site) {
  while (host.running()) {
    std::error_code ec;
    bool any = false;
    for (fsys::directory_iterator it(site, ec), end; !ec && it != end; it.increment(ec)) {
      any = any || it->path().extension() == ".asp";
    }
    if (any) return;
    usleep(2000);
  }
}

class FaultRuns : public ::testing::Test {
 protected:
  fsys::path home() const { return dir_.path() / "home"; }

  // The bundled template set, changed by edit, zipped into folder/set.zip.
  fsys::path templateSet(const fsys::path& folder,
                         const std::function<void(std::map<std::string, std::string>&)>& edit) {
    std::map<std::string, std::string> files;
    const fsys::path sample = kSource / "templates" / "sample";
    for (const auto& entry : fsys::recursive_directory_iterator(sample)) {
      if (entry.is_regular_file()) {
        files[fsys::relative(entry.path(), sample).generic_string()] = readFile(entry.path());
      }
    }
    edit(files);
    fsys::create_directories(folder);
    const fsys::path zip = folder / "set.zip";
    writeZip(zip, files);
    return zip;
  }

  static void writeZip(const fsys::path& zip, const std::map<std::string, std::string>& files) {
    if (files.empty()) {
      // libzip writes no file for an archive without entries: the end record alone is one.
      writeFile(zip, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
      return;
    }
    int error = 0;
    zip_t* archive = zip_open(zip.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr);
    if (!archive) return;
    for (const auto& [name, content] : files) {
      zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
      EXPECT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
    }
    EXPECT_EQ(zip_close(archive), 0);
  }

  // The shop example's project, using the template set at zip ("" for the user's default).
  fsys::path project(const fsys::path& folder, const fsys::path& zip = {}) {
    std::string text = readFile(kSource / "examples" / "shop" / "shop.vtp");
    const std::string empty = "Template=\"\"";
    const std::size_t at = text.find(empty);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos)
      text.replace(at, empty.size(), "Template=\"" + zip.string() + "\"");
    const fsys::path file = folder / "shop.vtp";
    writeFile(file, text);
    return file;
  }

  // The bundled data files with an extensions folder of their own (the user's extensions folder
  // is the "extensions" folder of the data folder VANTOREL_DATA names), holding the sample
  // extension's declaration file; the archive is the test's.
  class OwnExtensions {
   public:
    explicit OwnExtensions(fsys::path data) : data_(std::move(data)) {
      const char* bundled = getenv("VANTOREL_DATA");
      EXPECT_NE(bundled, nullptr);
      bundled_ = bundled ? bundled : "";
      fsys::create_directories(data_ / "extensions");
      for (const auto& entry : fsys::directory_iterator(bundled_)) {
        if (entry.path().filename() != "extensions") {
          fsys::create_symlink(entry.path(), data_ / entry.path().filename());
        }
      }
      fsys::copy_file(fsys::path(bundled_) / "extensions" / "AboutPage.xml",
                      data_ / "extensions" / "AboutPage.xml");
      setenv("VANTOREL_DATA", data_.c_str(), 1);
    }
    ~OwnExtensions() { setenv("VANTOREL_DATA", bundled_.c_str(), 1); }
    OwnExtensions(const OwnExtensions&) = delete;
    OwnExtensions& operator=(const OwnExtensions&) = delete;
    const fsys::path& folder() const { return data_; }
    fsys::path archive() const { return data_ / "extensions" / "AboutPage.zip"; }

   private:
    fsys::path data_;
    std::string bundled_;
  };

  static std::map<std::string, std::string> aboutPageFiles() {
    std::map<std::string, std::string> files;
    for (const char* name : {"about.asp", "control.xml", "usercode.vbs"}) {
      files[name] = readFile(kSource / "templates" / "sample-extension" / name);
    }
    return files;
  }

  Exit generate(const fsys::path& vtp, const fsys::path& site,
                std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    return run(home(), {"generate", vtp.string(), "--destination", site.string()}, fileSizeLimit);
  }

  vantorel::test::TempDir dir_;
};

// Each of these once ended the run with a crash after its message, or with success and broken
// pages; each now ends with exit code 1 and names its cause.
TEST_F(FaultRuns, BrokenTemplateSetsStopTheRunWithTheirCause) {
  using Files = std::map<std::string, std::string>;
  const auto replace = [](std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
  };
  struct Case {
    const char* name;
    std::function<void(Files&)> edit;
    std::vector<std::string> expected;  // in the output
  };
  const std::vector<Case> cases = {
      {"a missing input file",
       [](Files& f) { f.erase("list.asp"); },
       {"Section \"list\" of \"list.asp\" cannot be read: the file is missing"}},
      {"a section marker without its closer",
       [&](Files& f) { replace(f["list.asp"], "<!--##session list##-->", "<!--##session list"); },
       {"Section \"list\" of \"list.asp\" is lost",
        "\"<!--##session\" without its \"##-->\" at line 3 column 1"}},
      {"a section without its end",
       [&](Files& f) {
         std::string& text = f["list.asp"];
         text.erase(text.rfind("<!--##/session##-->"));
       },
       // The last section of the bundled list page, wherever the page puts it.
       {"without its \"<!--##/session##-->\" at line "}},
      {"a condition function that does not exist",
       [&](Files& f) {
         replace(f["control.xml"], "function/TableHasSearchFields/", "function/NoSuchFunction/");
       },
       {"NoSuchFunction", "Sub or Function not defined"}},
      {"a syntax error in the set's script code",
       [](Files& f) { f["functions.vbs"] += "Function Broken(\r\n"; },
       {"functions.vbs"}},
      {"an empty archive", [](Files& f) { f.clear(); }, {"holds no files"}},
      {"an archive escaping its folder",
       [](Files& f) { f["../escape.txt"] = "x"; },
       {"The template file cannot be used!", "refused"}},
  };
  int i = 0;
  for (const Case& c : cases) {
    const fsys::path folder = dir_.path() / ("case" + std::to_string(i++));
    const Exit e = generate(project(folder, templateSet(folder, c.edit)), folder / "site");
    EXPECT_EQ(e.signal, 0) << c.name << "\n" << e.output;
    EXPECT_EQ(e.code, 1) << c.name << "\n" << e.output;
    for (const std::string& text : c.expected) {
      EXPECT_NE(e.output.find(text), std::string::npos) << c.name << ": " << text << "\n"
                                                        << e.output;
    }
    EXPECT_EQ(e.output.find("Load control file failed"), std::string::npos) << c.name;
    // The cause, not a later symptom of it.
    if (c.expected[0] != "NoSuchFunction") {
      EXPECT_EQ(e.output.find("Sub or Function not defined"), std::string::npos) << c.name;
    }
  }

  // A compiled template removed between runs.
  const fsys::path folder = dir_.path() / "tpl";
  const fsys::path vtp = project(folder, templateSet(folder, [](Files&) {}));
  const auto compiledLists = [this] {
    std::vector<fsys::path> found;
    for (const auto& entry : fsys::recursive_directory_iterator(home() / "Documents")) {
      if (entry.path().filename() == "list.tpl") found.push_back(entry.path());
    }
    return found;
  };
  const std::vector<fsys::path> earlier = compiledLists();
  ASSERT_EQ(generate(vtp, folder / "site").code, 0);
  std::size_t removed = 0;
  for (const fsys::path& path : compiledLists()) {
    if (std::find(earlier.begin(), earlier.end(), path) == earlier.end()) {
      removed += fsys::remove(path) ? 1 : 0;
    }
  }
  ASSERT_EQ(removed, 1u);
  const Exit again = generate(vtp, folder / "site");
  EXPECT_EQ(again.signal, 0) << again.output;
  EXPECT_TRUE(again.code == 0 || again.code == 1) << again.output;
}

// An extension the run cannot use is disabled with the unattended answer Yes and the site made
// without it; the run still ends with exit code 1 and names it with its cause.
TEST_F(FaultRuns, AnExtensionTheRunWentWithoutFailsIt) {
  const OwnExtensions data(dir_.path() / "data");
  std::map<std::string, std::string> files = aboutPageFiles();
  files["../escape.txt"] = "x";
  writeZip(data.archive(), files);

  const struct {
    const char* name;
    const char* archive;  // the extension's archive as the project file names it
    std::string cause;
  } cases[] = {
      {"an archive escaping its folder", "AboutPage.zip",
       "its archive \"" + (data.folder() / "extensions" / "AboutPage.zip").string() +
           "\" could not be unpacked: Archive \"" +
           (data.folder() / "extensions" / "AboutPage.zip").string() +
           "\" refused: its entry \"../escape.txt\" would land outside the folder"},
      {"a missing archive", "Missing.zip",
       "its archive \"" + (data.folder() / "extensions" / "Missing.zip").string() +
           "\" is not found"},
      {"a name holding a path", "../AboutPage.zip",
       "its archive name \"../AboutPage.zip\" leads outside the extensions folder"},
  };
  int i = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fsys::path folder = dir_.path() / ("case" + std::to_string(i++));
    const fsys::path vtp = project(folder);
    std::string text = readFile(vtp);
    const std::string bundled = "Template=\"AboutPage.zip\"";
    ASSERT_NE(text.find(bundled), std::string::npos);
    text.replace(text.find(bundled), bundled.size(), std::string("Template=\"") + c.archive + "\"");
    writeFile(vtp, text);

    const Exit e = generate(vtp, folder / "site");
    EXPECT_EQ(e.code, 1) << e.output;
    EXPECT_NE(
        e.output.find("vantorel generate: generated without the extension 'AboutPage': " + c.cause),
        std::string::npos)
        << e.output;
    EXPECT_TRUE(fsys::exists(folder / "site" / "default.asp")) << e.output;
    EXPECT_FALSE(fsys::exists(folder / "site" / "about.asp"));
  }
  for (const auto& entry : fsys::recursive_directory_iterator(dir_.path())) {
    EXPECT_NE(entry.path().filename(), "escape.txt") << entry.path();
  }
}

// An extension archive is unpacked afresh whenever it changed: a file the new archive lacks no
// longer replaces the template set's, and an archive that cannot be unpacked disables the
// extension with its cause instead of leaving the earlier unpacking in use.
TEST_F(FaultRuns, AChangedExtensionArchiveIsUnpackedAfresh) {
  const OwnExtensions data(dir_.path() / "data");
  const fsys::path vtp = project(dir_.path());
  const auto pagesHolding = [](const fsys::path& site, const std::string& text) {
    int count = 0;
    for (const auto& entry : fsys::recursive_directory_iterator(site)) {
      if (entry.is_regular_file() && readFile(entry.path()).find(text) != std::string::npos) {
        ++count;
      }
    }
    return count;
  };
  std::map<std::string, std::string> files = aboutPageFiles();
  std::string page = readFile(kSource / "templates" / "sample" / "page.asp");
  const std::string start = "<!--##session pagestart##-->";
  ASSERT_NE(page.find(start), std::string::npos);
  page.insert(page.find(start) + start.size(), "\nREPLACED-PAGE-START");
  files["page.asp"] = page;
  files["about.asp"] += "FIRST-ARCHIVE";
  writeZip(data.archive(), files);
  Exit e = generate(vtp, dir_.path() / "site1");
  ASSERT_EQ(e.code, 0) << e.output;
  ASSERT_GT(pagesHolding(dir_.path() / "site1", "REPLACED-PAGE-START"), 0);

  files.erase("page.asp");
  files["about.asp"] = aboutPageFiles()["about.asp"] + "SECOND-ARCHIVE";
  writeZip(data.archive(), files);
  e = generate(vtp, dir_.path() / "site2");
  ASSERT_EQ(e.code, 0) << e.output;
  EXPECT_EQ(pagesHolding(dir_.path() / "site2", "REPLACED-PAGE-START"), 0);
  EXPECT_EQ(pagesHolding(dir_.path() / "site2", "FIRST-ARCHIVE"), 0);
  EXPECT_EQ(pagesHolding(dir_.path() / "site2", "SECOND-ARCHIVE"), 1);

  std::string noise(4096, '\0');
  std::mt19937 random(40);
  for (char& c : noise) c = static_cast<char>(random());
  writeFile(data.archive(), noise);
  e = generate(vtp, dir_.path() / "site3");
  EXPECT_EQ(e.code, 1) << e.output;
  EXPECT_NE(e.output.find("vantorel generate: generated without the extension 'AboutPage': its "
                          "archive \"" +
                          data.archive().string() + "\" could not be unpacked: "),
            std::string::npos)
      << e.output;
  EXPECT_TRUE(fsys::exists(dir_.path() / "site3" / "default.asp")) << e.output;
  EXPECT_EQ(pagesHolding(dir_.path() / "site3", "SECOND-ARCHIVE"), 0);
}

// A project whose template set is gone keeps its name and does not generate with another set.
TEST_F(FaultRuns, AMissingTemplateSetStopsTheRun) {
  const fsys::path vtp = project(dir_.path(), dir_.path() / "gone" / "set.zip");
  const Exit e = generate(vtp, dir_.path() / "site");
  EXPECT_EQ(e.code, 1) << e.output;
  // The message names the file, so that a moved set can be found again.
  EXPECT_NE(e.output.find("Template file \"" + (dir_.path() / "gone" / "set.zip").string() +
                          "\" not found"),
            std::string::npos)
      << e.output;
  EXPECT_FALSE(fsys::exists(dir_.path() / "site" / "default.asp"));
}

// Two sets of one name in different folders each generate with their own templates.
TEST_F(FaultRuns, SetsOfOneNameKeepTheirOwnCaches) {
  const auto marked = [](const std::string& mark) {
    return [mark](std::map<std::string, std::string>& f) {
      std::string& page = f["page.asp"];
      page.insert(page.find("<!--##session home##-->") + 23, "<!-- " + mark + " -->\r\n");
    };
  };
  const fsys::path a = dir_.path() / "a";
  const fsys::path b = dir_.path() / "b";
  const fsys::path vtpA = project(a, templateSet(a, marked("set A")));
  const fsys::path vtpB = project(b, templateSet(b, marked("set B")));
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(generate(vtpA, a / "site").code, 0);
    ASSERT_EQ(generate(vtpB, b / "site").code, 0);
    EXPECT_NE(readFile(a / "site" / "default.asp").find("set A"), std::string::npos) << round;
    EXPECT_NE(readFile(b / "site" / "default.asp").find("set B"), std::string::npos) << round;
  }
}

// The root folder and the user's home are no places for a site.
TEST_F(FaultRuns, RefusesTheRootAndTheHomeFolderAsDestination) {
  const fsys::path vtp = project(dir_.path());
  fsys::create_directories(home());
  for (const std::string& destination :
       {std::string("/"), std::string("/tmp/.."), home().string(), home().string() + "/"}) {
    const Exit e = run(home(), {"generate", vtp.string(), "--destination", destination});
    EXPECT_EQ(e.code, 1) << destination << "\n" << e.output;
    EXPECT_NE(e.output.find("is the root folder or the home folder"), std::string::npos)
        << destination << "\n"
        << e.output;
    EXPECT_FALSE(fsys::exists(fsys::path(destination) / "default.asp")) << destination;
  }
}

// A second run into a site another run is writing stops with a message; runs of one template set
// with an empty cache, side by side, all make the same site.
TEST_F(FaultRuns, ConcurrentRunsNeitherMixNorRace) {
  const fsys::path vtp = project(dir_.path(), templateSet(dir_.path(), [](auto&) {}));
  const fsys::path site = dir_.path() / "site";
  fsys::create_directories(site);
  {
    const std::optional<vantorel::fs::FolderLock> held =
        vantorel::fs::FolderLock::acquire(vantorel::fs::fromNative(site), false);
    ASSERT_TRUE(held);
    const Exit e = generate(vtp, site);
    EXPECT_EQ(e.code, 1) << e.output;
    EXPECT_NE(e.output.find("is in use by another generation"), std::string::npos) << e.output;
    EXPECT_TRUE(fsys::is_empty(site));
  }

  std::vector<HostRun> runs;
  for (int i = 0; i < 4; ++i) {
    runs.emplace_back(
        home(), std::vector<std::string>{"generate", vtp.string(), "--destination",
                                         (dir_.path() / ("site" + std::to_string(i))).string()});
  }
  for (HostRun& r : runs) {
    const Exit e = r.wait();
    EXPECT_EQ(e.code, 0) << e.output;
  }
  for (int i = 1; i < 4; ++i) {
    for (const auto& entry : fsys::recursive_directory_iterator(dir_.path() / "site0")) {
      if (!entry.is_regular_file()) continue;
      const fsys::path other = dir_.path() / ("site" + std::to_string(i)) /
                               fsys::relative(entry.path(), dir_.path() / "site0");
      EXPECT_EQ(readFile(other), readFile(entry.path())) << other;
    }
  }
}

// SIGTERM ends a run as Ctrl-C does; kill -9 leaves temporaries that the next run clears; an
// interrupted first run leaves a settings store the next run can use.
TEST_F(FaultRuns, InterruptedRunsLeaveNothingHalfWritten) {
  const fsys::path vtp = project(dir_.path());
  const fsys::path site = dir_.path() / "site";

  HostRun terminated(home(), {"generate", vtp.string(), "--destination", site.string()});
  waitForFirstPage(terminated, site);
  terminated.signal(SIGTERM);
  const Exit t = terminated.wait();
  EXPECT_EQ(t.signal, 0) << t.output;
  EXPECT_TRUE(t.code == 143 || t.code == 0) << t.code << "\n" << t.output;
  EXPECT_EQ(temporariesBelow(site), std::vector<std::string>{});

  HostRun killed(home(), {"generate", vtp.string(), "--destination", site.string()});
  waitForFirstPage(killed, site);
  killed.signal(SIGKILL);
  killed.wait();
  // What a killed writer leaves looks like this.
  const std::string dead = std::to_string(endedPid());
  for (const fsys::path& stale : {site / (".default.asp.tmp-" + dead + "-0-1-0"),
                                  site / "css" / (".site.css.tmp-" + dead + "-3-2-0")}) {
    writeFile(stale, "half");
  }
  const Exit after = generate(vtp, site);
  EXPECT_EQ(after.code, 0) << after.output;
  EXPECT_EQ(temporariesBelow(site), std::vector<std::string>{});

  // Killed at any point of a first run, the settings store is either absent or whole.
  for (int i = 0; i < 3; ++i) {
    const fsys::path fresh = dir_.path() / ("fresh" + std::to_string(i));
    HostRun first(fresh, {"check", vtp.string(), "--destination", site.string()});
    while (first.running() && !fsys::exists(fresh / "config" / "registry.reg")) usleep(500);
    first.signal(SIGKILL);
    first.wait();
    const Exit next = run(fresh, {"check", vtp.string(), "--destination", site.string()});
    EXPECT_EQ(next.code, 0) << next.output;
    EXPECT_NE(readFile(fresh / "config" / "registry.reg").find("; end of store"),
              std::string::npos);
  }
}

// A disk that fills up fails the run and keeps every file as it was.
TEST_F(FaultRuns, AFullDiskFailsTheRunAndKeepsTheOldFiles) {
  const fsys::path vtp = project(dir_.path());
  const fsys::path site = dir_.path() / "site";
  ASSERT_EQ(generate(vtp, site).code, 0);
  std::map<fsys::path, std::string> before;
  std::uintmax_t largest = 0;
  for (const auto& entry : fsys::recursive_directory_iterator(site)) {
    if (!entry.is_regular_file()) continue;
    before[entry.path()] = readFile(entry.path());
    largest = std::max(largest, entry.file_size());
  }
  // Pages change when the project's name and header do; no page may be written whole any more.
  std::string text = readFile(vtp);
  for (const std::string attribute : {"ProjName=\"", "AppHeader=\""}) {
    const std::size_t at = text.find(attribute);
    ASSERT_NE(at, std::string::npos) << attribute;
    text.insert(at + attribute.size(), "Renamed");
  }
  writeFile(vtp, text);
  const fsys::path renamed = dir_.path() / "renamed";
  ASSERT_EQ(generate(vtp, renamed).code, 0);
  const Exit e = generate(vtp, site, 512);
  EXPECT_EQ(e.signal, 0) << e.output;
  EXPECT_NE(e.code, 0) << e.output;
  // Each file is the old one or the new one, never a part of either.
  std::size_t kept = 0;
  for (const auto& [path, bytes] : before) {
    const std::string now = readFile(path);
    const std::string fresh = readFile(renamed / fsys::relative(path, site));
    EXPECT_TRUE(now == bytes || now == fresh) << path;
    kept += now == bytes && bytes != fresh ? 1 : 0;
  }
  EXPECT_GT(kept, 0u);
  EXPECT_EQ(temporariesBelow(site), std::vector<std::string>{});
  EXPECT_GT(largest, 512u);

  // Saving the project on a full disk keeps the old project file.
  const fsys::path script = dir_.path() / "save.vbs";
  writeFile(script,
            "Set p = CreateObject(\"vantorel4.AGP\")\r\np.Load WScript.Arguments(0)\r\n"
            "p.Save WScript.Arguments(0)\r\n");
  const std::string saved = readFile(vtp);
  const Exit s = run(home(), {"run", script.string(), vtp.string()}, 1024);
  EXPECT_EQ(s.signal, 0) << s.output;
  EXPECT_EQ(readFile(vtp), saved);
  EXPECT_EQ(temporariesBelow(dir_.path()), std::vector<std::string>{});
}

// The site's files by path below it, with their bytes.
std::map<fsys::path, std::string> filesBelow(const fsys::path& folder) {
  std::map<fsys::path, std::string> files;
  for (const auto& entry : fsys::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.find(".tmp-") == std::string::npos) {
      files[fsys::relative(entry.path(), folder)] = readFile(entry.path());
    }
  }
  return files;
}

// The output a backup was made of: a backup holds the file as it was before the run that
// replaced it ("x.asp.bak", "images.bak/logo.svg").
fsys::path backedUp(const fsys::path& path) {
  fsys::path out;
  for (const fsys::path& part : path) {
    out /= part.extension() == ".bak" ? fsys::path(part).replace_extension() : part;
  }
  return out;
}

// The temporaries below folder that a process other than pid left.
std::vector<std::string> othersTemporaries(const fsys::path& folder, pid_t pid) {
  std::vector<std::string> found;
  for (const std::string& name : temporariesBelow(folder)) {
    if (name.find(".tmp-" + std::to_string(pid) + "-") == std::string::npos) found.push_back(name);
  }
  return found;
}

// Killed at random points of many runs, a site only ever holds each page as it was or as the
// run makes it, never a part of one; a run that has started writing has cleared what the killed
// ones left.
TEST_F(FaultRuns, KilledGenerationsLeaveEveryPageOldOrNew) {
  const fsys::path vtp = project(dir_.path());
  const fsys::path site = dir_.path() / "site";
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(generate(vtp, site).code, 0);
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);
  const std::map<fsys::path, std::string> old = filesBelow(site);
  std::string text = readFile(vtp);
  const std::size_t at = text.find("AppHeader=\"");
  ASSERT_NE(at, std::string::npos);
  text.insert(at + 11, "Renamed");
  writeFile(vtp, text);
  const fsys::path reference = dir_.path() / "reference";
  ASSERT_EQ(generate(vtp, reference).code, 0);
  const std::map<fsys::path, std::string> fresh = filesBelow(reference);
  ASSERT_NE(old, fresh);
  // What a run without kills makes of the old site (outputs made only once stay as they were).
  const fsys::path control = dir_.path() / "control";
  fsys::copy(site, control, fsys::copy_options::recursive);
  ASSERT_EQ(generate(vtp, control).code, 0);
  const std::map<fsys::path, std::string> expected = filesBelow(control);

  std::mt19937 random(2112);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    HostRun host(home(), {"generate", vtp.string(), "--destination", site.string()});
    // Up to the length of a whole run, so that some kills fall into the commit of the pages.
    const auto delay = static_cast<useconds_t>(random() % (runTime.count() + 1));
    usleep(delay);
    // Once this run writes, it has removed the temporaries of the runs killed before it.
    if (host.running() && !temporariesBelow(site).empty()) {
      const std::vector<std::string> stale = othersTemporaries(site, host.pid());
      const bool ownSeen = stale.size() < temporariesBelow(site).size();
      if (ownSeen) {
        EXPECT_EQ(stale, std::vector<std::string>{});
      }
    }
    host.signal(SIGKILL);
    host.wait();
    for (const auto& [path, bytes] : filesBelow(site)) {
      const fsys::path page = backedUp(path);
      const auto before = old.find(page);
      const auto after = fresh.find(page);
      const bool isOld = before != old.end() && before->second == bytes;
      const bool isNew = after != fresh.end() && after->second == bytes;
      EXPECT_TRUE(isOld || isNew) << path;
    }
  }
  const Exit last = generate(vtp, site);
  EXPECT_EQ(last.code, 0) << last.output;
  EXPECT_EQ(temporariesBelow(site), std::vector<std::string>{});
  for (const auto& [path, bytes] : expected) {
    if (backedUp(path) == path) {
      EXPECT_EQ(readFile(site / path), bytes) << path;
    }
  }
}

// A save killed at any point leaves the project file as it was or as the save writes it, and
// its temporaries, beside the project or in the backup folder, go with the next save.
TEST_F(FaultRuns, KilledSavesLeaveTheOldOrTheNewProjectFile) {
  const fsys::path vtp = project(dir_.path());
  const fsys::path script = dir_.path() / "rename.vbs";
  writeFile(script,
            "Set p = CreateObject(\"vantorel4.AGP\")\r\np.Load WScript.Arguments(0)\r\n"
            "p.SetV \"ProjName\", \"Renamed\"\r\np.Save WScript.Arguments(0)\r\n");
  const fsys::path copy = dir_.path() / "copy" / "shop.vtp";
  writeFile(copy, readFile(vtp));
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(run(home(), {"run", script.string(), copy.string()}).code, 0);
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);
  const std::string old = readFile(vtp);
  const std::string saved = readFile(copy);
  ASSERT_NE(old, saved);

  std::mt19937 random(2113);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    writeFile(vtp, old);
    HostRun host(home(), {"run", script.string(), vtp.string()});
    usleep(static_cast<useconds_t>(random() % (runTime.count() + 1)));
    host.signal(SIGKILL);
    host.wait();
    const std::string now = readFile(vtp);
    EXPECT_TRUE(now == old || now == saved);
  }
  // The next save clears what the killed ones left beside the project and among its backups.
  const Exit last = run(home(), {"run", script.string(), vtp.string()});
  EXPECT_EQ(last.code, 0) << last.output;
  EXPECT_EQ(readFile(vtp), saved);
  EXPECT_EQ(temporariesBelow(dir_.path()), std::vector<std::string>{});
}

}  // namespace
