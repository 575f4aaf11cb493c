// Whole-file writing: encodings, replacement of existing files and their capitalisation,
// read-only targets, and failures that are reported and keep the old file.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/ui/ui.hpp"
#include "platform/xml/attributes.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

namespace fsys = std::filesystem;

class FileWritingTest : public test::ProjectFileTest {
 protected:
  static void setUtf8Project(const char16_t* value) {
    SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(u"UTF8Project"), 1,
                Variant(value));
  }
  static void makeReadOnly(const fsys::path& p) {
    fsys::permissions(
        p, fsys::perms::owner_write | fsys::perms::group_write | fsys::perms::others_write,
        fsys::perm_options::remove);
  }
};

TEST_F(FileWritingTest, EncodingFollowsTheUsersOption) {
  struct Case {
    const char16_t* option;  // nullptr: not set
    bool plainOnly;
    std::u16string text;
    std::string expected;
  } cases[] = {
      {nullptr, false, u"caf\u00E9\r\n", "caf\xE9\r\n"},
      {u"nonsense", false, u"caf\u00E9\r\n", "caf\xE9\r\n"},
      {u"True", false, u"caf\u00E9\r\n",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9\r\n"},
      {u"True", true, u"caf\u00E9\r\n", "caf\xE9\r\n"},
      {u"True", false, u"", "\xEF\xBB\xBF"},
      {u"False", false, u"", ""},
  };
  for (const Case& c : cases) {
    if (c.option) setUtf8Project(c.option);
    EXPECT_TRUE(WriteOutputFile(workFile("page.asp"), c.text, c.plainOnly));
    EXPECT_EQ(test::readFile(work() / "page.asp"), c.expected);
  }
  EXPECT_TRUE(WriteUtf8File(workFile("page.asp"), u"new \U0001F600"));
  EXPECT_EQ(test::readFile(work() / "page.asp"), "\xEF\xBB\xBFnew \xF0\x9F\x98\x80");
  EXPECT_TRUE(messages().empty());
}

TEST_F(FileWritingTest, OutputTakesTheRequestedCapitalisation) {
  test::writeFile(work() / "Default.asp", "old");
  EXPECT_TRUE(WriteOutputFile(workFile("default.asp"), u"new", false));
  // A file another program puts into a folder written before is found as well.
  test::writeFile(work() / "EDIT.ASP", "old");
  EXPECT_TRUE(WriteOutputFile(workFile("edit.asp"), u"new", false));
  EXPECT_TRUE(WriteOutputFile(workFile("Edit.asp"), u"newer", false));
  std::vector<std::string> names;
  for (const auto& e : fsys::directory_iterator(work())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Edit.asp", "default.asp"}));
  EXPECT_EQ(test::readFile(work() / "Edit.asp"), "newer");
}

TEST_F(FileWritingTest, FailedWritesAreReportedAndKeepTheOldFile) {
  const std::u16string missing = workFile("no/such/folder/x.txt");
  EXPECT_FALSE(WriteUtf8File(missing, u"x"));
  EXPECT_FALSE(WriteOutputFile(missing, u"x", false));
  test::writeFile(work() / "locked.asp", "old");
  makeReadOnly(work() / "locked.asp");
  EXPECT_FALSE(WriteOutputFile(workFile("locked.asp"), u"new", false));
  setUtf8Project(u"True");
  EXPECT_FALSE(WriteOutputFile(workFile("locked.asp"), u"new", false));
  EXPECT_EQ(test::readFile(work() / "locked.asp"), "old");
  const std::vector<std::u16string> shown = messages();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_TRUE(shown[0].starts_with(u"Error in writing utf8 data to file '" + missing +
                                   u"', error description: "));
  EXPECT_TRUE(shown[1].starts_with(u"Error in writing text data to file '" + missing));
  EXPECT_TRUE(
      shown[2].starts_with(u"Error in writing text data to file '" + workFile("locked.asp")));
  EXPECT_TRUE(
      shown[3].starts_with(u"Error in writing utf8 data to file '" + workFile("locked.asp")));

  xml::Document doc;
  doc.append_child("root").append_child(xml::kTextNode).set_value("\r\n");
  SaveXmlFile(workFile("d.xml"), doc, Variant(true));
  EXPECT_EQ(test::readFile(work() / "d.xml"), "\xEF\xBB\xBF<root>\r\n</root>");
  makeReadOnly(work() / "d.xml");
  EXPECT_THROW(SaveXmlFile(workFile("d.xml"), doc, Variant(false)), AutomationError);
}

// The old output comes into the requested spelling first, and is then refused as read-only.
TEST_F(FileWritingTest, AReadOnlyOutputSpelledOtherwiseStaysUnwritten) {
  test::writeFile(work() / "LOCKED.ASP", "old");
  makeReadOnly(work() / "LOCKED.ASP");
  EXPECT_FALSE(WriteOutputFile(workFile("locked.asp"), u"new", false));
  EXPECT_EQ(test::readFile(work() / "locked.asp"), "old");
  EXPECT_EQ(messages().size(), 1u);
}

// Unattended runs used to lose these failures with the message box: each output that stays
// unwritten is now reported with the system's reason alone, for the host to name at the end.
TEST_F(FileWritingTest, UnwrittenOutputsAreReportedWithTheSystemsReason) {
  ui::takeNotices();
  fsys::create_directories(work() / "taken.asp");
  test::writeFile(work() / "full.asp", "old page");
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 10;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool fullWritten = WriteOutputFile(workFile("full.asp"), u"a page longer than ten", false);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(fullWritten);
  EXPECT_EQ(test::readFile(work() / "full.asp"), "old page");
  EXPECT_FALSE(WriteOutputFile(workFile("taken.asp"), u"x", false));
  EXPECT_FALSE(WriteUtf8File(workFile("no/folder/x.asp"), u"x"));
  EXPECT_TRUE(WriteOutputFile(workFile("fine.asp"), u"x", false));
  const ui::Notices n = ui::takeNotices();
  EXPECT_EQ(n.unwritten, (std::vector<ui::Unwritten>{
                             {workFile("full.asp"), u"File too large"},
                             {workFile("taken.asp"), u"Is a directory"},
                             {workFile("no/folder/x.asp"), u"No such file or directory"},
                         }));
  EXPECT_EQ(messages().size(), 3u);
}

// The file system refuses the write half way (a file size limit): the project file stays.
TEST_F(FileWritingTest, SaveThatCannotBeCompletedKeepsTheOldProjectFile) {
  Ref<AGP> p = makeRef<AGP>();
  test::writeFile(work() / "big.vtp", "old project");
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &small);
  bool raised = false;
  try {
    saveProject(*p, workFile("big.vtp"));
  } catch (const AutomationError&) {
    raised = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  EXPECT_TRUE(raised);
  EXPECT_EQ(test::readFile(work() / "big.vtp"), "old project");
}

// Root writes into read-only folders: the save runs in a child without the capabilities that
// let it, so the folder's permissions hold for every user the suite runs as.
TEST_F(FileWritingTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
  test::writeFile(work() / "ro" / "p.vtp", "old project");
  makeReadOnly(work() / "ro");
  const pid_t child = fork();
  if (child == 0) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    if (syscall(SYS_capget, &header, caps) != 0) _exit(3);
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
      caps[0].effective &= ~(1U << cap);
      caps[0].permitted &= ~(1U << cap);
    }
    if (syscall(SYS_capset, &header, caps) != 0) _exit(3);
    if (access((work() / "ro").c_str(), W_OK) == 0) _exit(4);
    try {
      Ref<AGP> p = makeRef<AGP>();
      saveProject(*p, workFile("ro/p.vtp"));
    } catch (const AutomationError&) {
      _exit(0);
    }
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  fsys::permissions(work() / "ro", fsys::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved, 3: capabilities unchanged, 4: still writable";
  EXPECT_EQ(test::readFile(work() / "ro" / "p.vtp"), "old project");
}

}  // namespace
}  // namespace vantorel
