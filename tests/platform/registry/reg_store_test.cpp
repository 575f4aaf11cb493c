#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <thread>

#include "platform/registry/reg_error.hpp"
#include "platform/registry/reg_hives.hpp"
#include "platform/registry/reg_store.hpp"
#include "platform/text/unicode.hpp"
#include "support/scoped_env.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::reg {
namespace {

// Sets an environment variable for one scope.
class RegStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_.path() / "registry.reg"; }
  std::u16string path() const { return fromUtf8(file().string()); }
  RegStore open() const { return RegStore(path(), u"HKEY_CURRENT_USER", false); }

  test::TempDir dir_;
};

bool setText(RegKey& root, std::u16string_view path, std::u16string name, std::u16string text) {
  return root.ensurePath(path).setValue({std::move(name), kRegSz, stringData(text)});
}

TEST_F(RegStoreTest, MissingFileIsEmptyAndFirstWriteCreatesIt) {
  RegStore store = open();
  EXPECT_EQ(store.snapshot()->childCount(), 0u);
  EXPECT_FALSE(std::filesystem::exists(file()));
  store.update([](RegKey& root) { return setText(root, u"Software\\App", u"Name", u"x"); });
  EXPECT_EQ(test::readFile(file()),
            "Windows Registry Editor Version 5.00\n"
            "; Written whole: the last line is \"; end of store\".\n"
            "\n[HKEY_CURRENT_USER\\Software\\App]\n"
            "\"Name\"=\"x\"\n\n; end of store\n");
}

TEST_F(RegStoreTest, NamesIgnoreCaseKeepSpellingAndOrder) {
  RegStore store = open();
  store.update([](RegKey& root) {
    setText(root, u"Soft\\Zeta", u"b", u"1");
    setText(root, u"SOFT\\alpha", u"Second", u"2");
    setText(root, u"soft\\ALPHA", u"First", u"3");
    setText(root, u"soft\\Alpha", u"SECOND", u"4");
    root.ensurePath(u"Soft\\beta\\deep");
    return true;
  });
  RegStore reopened = open();
  auto root = reopened.snapshot();
  const RegKey* soft = root->findPath(u"sOfT");
  ASSERT_NE(soft, nullptr);
  EXPECT_EQ(soft->name(), u"Soft");
  ASSERT_EQ(soft->childCount(), 3u);
  EXPECT_EQ(soft->child(0).name(), u"alpha");
  EXPECT_EQ(soft->child(1).name(), u"beta");
  EXPECT_EQ(soft->child(2).name(), u"Zeta");
  const RegKey* alpha = root->findPath(u"soft\\alpha");
  ASSERT_EQ(alpha->values().size(), 2u);
  EXPECT_EQ(alpha->values()[0].name, u"Second");
  EXPECT_EQ(textOfStringData(alpha->values()[0].data), u"4");
  EXPECT_EQ(alpha->values()[1].name, u"First");

  reopened.update([](RegKey& root) { return root.findPath(u"soft")->removeChild(u"BETA"); });
  EXPECT_EQ(open().snapshot()->findPath(u"Soft\\beta\\deep"), nullptr);
  EXPECT_EQ(open().snapshot()->findPath(u"Soft")->childCount(), 2u);
}

TEST_F(RegStoreTest, ReadsSeeChangesMadeBehindTheCache) {
  RegStore store = open();
  store.update([](RegKey& root) { return setText(root, u"K", u"v", u"aaaa"); });
  ASSERT_NE(store.snapshot()->findPath(u"K"), nullptr);

  // Same size, same modification time, same inode: only the change time tells.
  struct stat before;
  ASSERT_EQ(::stat(file().c_str(), &before), 0);
  std::string text = test::readFile(file());
  text.replace(text.find("aaaa"), 4, "bbbb");
  test::writeFile(file(), text);
  struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file().c_str(), times, 0), 0);
  EXPECT_EQ(textOfStringData(store.snapshot()->findPath(u"K")->values()[0].data), u"bbbb");

  // A writer holding an older copy keeps what another writer added.
  RegStore other = open();
  other.update([](RegKey& root) { return setText(root, u"K", u"w", u"from other"); });
  store.update([](RegKey& root) { return setText(root, u"K", u"x", u"from store"); });
  EXPECT_EQ(open().snapshot()->findPath(u"K")->values().size(), 3u);
}

TEST_F(RegStoreTest, UnparsableFileIsReportedAndNeverReplaced) {
  const std::string broken =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"a\"=dword:xyz\n";
  test::writeFile(file(), broken);
  RegStore store = open();
  try {
    store.snapshot();
    ADD_FAILURE() << "parsed";
  } catch (const RegParseError& e) {
    EXPECT_EQ(e.line(), 4u);
    EXPECT_EQ(e.column(), 11u);
    EXPECT_NE(std::string(e.what()).find(file().string()), std::string::npos);
  }
  EXPECT_THROW(store.update([](RegKey& root) { return setText(root, u"K", u"b", u"x"); }),
               RegParseError);
  EXPECT_EQ(test::readFile(file()), broken);
}

TEST_F(RegStoreTest, ReadOnlyStoreAndUnstorableNamesRefuseWrites) {
  RegStore machine(path(), u"HKEY_LOCAL_MACHINE", true);
  EXPECT_THROW(machine.update([](RegKey&) { return true; }), RegStoreError);
  EXPECT_FALSE(std::filesystem::exists(file()));

  RegStore store = open();
  store.update([](RegKey& root) { return setText(root, u"K", u"ok", u"1"); });
  const std::string before = test::readFile(file());
  EXPECT_THROW(store.update([](RegKey& root) { return setText(root, u"K", u"line\nbreak", u""); }),
               RegStoreError);
  EXPECT_THROW(store.update([](RegKey& root) { return setText(root, u"K\\a\rb", u"x", u""); }),
               RegStoreError);
  EXPECT_EQ(test::readFile(file()), before);
}

TEST_F(RegStoreTest, HivesFollowTheConfiguredFolders) {
  test::ScopedEnv home("VANTOREL_HOME", (dir_.path() / "home").string());
  test::ScopedEnv data("VANTOREL_DATA_DIR", (dir_.path() / "data").string());
  EXPECT_EQ(hiveStorePath(RegHive::CurrentUser),
            fromUtf8((dir_.path() / "home/registry.reg").string()));
  EXPECT_EQ(hiveStorePath(RegHive::ClassesRoot),
            fromUtf8((dir_.path() / "home/classes.reg").string()));
  EXPECT_EQ(hiveStorePath(RegHive::LocalMachine),
            fromUtf8((dir_.path() / "data/machine.reg").string()));
  EXPECT_TRUE(hiveStore(RegHive::LocalMachine)->readOnly());
  EXPECT_FALSE(hiveStore(RegHive::CurrentUser)->readOnly());
  EXPECT_EQ(hiveStore(RegHive::CurrentUser), hiveStore(RegHive::CurrentUser));
  EXPECT_EQ(hiveFromName(u"hkcr"), RegHive::ClassesRoot);
  EXPECT_EQ(hiveFromName(u"Hkey_Local_Machine"), RegHive::LocalMachine);
  EXPECT_FALSE(hiveFromName(u"HKEY_USERS"));
}

void writeMany(const std::u16string& path, char16_t prefix) {
  RegStore store(path, u"HKEY_CURRENT_USER", false);
  for (int i = 0; i < 200; ++i) {
    std::u16string name = std::u16string(1, prefix) + fromUtf8(std::to_string(i));
    store.update([&](RegKey& root) {
      return root.ensurePath(u"Shared").setValue(
          {name, kRegDword, dwordData(static_cast<std::uint32_t>(i))});
    });
  }
}

void expectAllWritten(RegStore& store) {
  const RegKey* shared = store.snapshot()->findPath(u"Shared");
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->values().size(), 400u);
  for (char16_t prefix : {u'a', u'b'}) {
    for (int i = 0; i < 200; ++i) {
      const RegValue* value =
          shared->findValue(std::u16string(1, prefix) + fromUtf8(std::to_string(i)));
      ASSERT_NE(value, nullptr);
      EXPECT_EQ(dwordOf(value->data), static_cast<std::uint32_t>(i));
    }
  }
}

TEST_F(RegStoreTest, ConcurrentProcessesLoseNoValue) {
  std::vector<pid_t> children;
  for (char16_t prefix : {u'a', u'b'}) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try {
        writeMany(path(), prefix);
      } catch (...) {
        status = 1;
      }
      _exit(status);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  RegStore store = open();
  expectAllWritten(store);
}

TEST_F(RegStoreTest, ConcurrentThreadsWithTheirOwnStoresLoseNoValue) {
  std::thread a([&] { writeMany(path(), u'a'); });
  std::thread b([&] { writeMany(path(), u'b'); });
  a.join();
  b.join();
  RegStore store = open();
  expectAllWritten(store);
}

// A store that lost its tail (a crash, a full disk, a copy cut short) is damaged, wherever the
// cut fell, even where what is left still parses; it is never taken as a smaller store.
TEST_F(RegStoreTest, AStoreCutShortIsDamagedNotSmaller) {
  {
    RegStore store = open();
    store.update([](RegKey& root) {
      setText(root, u"Software\\A", u"One", u"1");
      setText(root, u"Software\\B", u"Two", u"2");
      return setText(root, u"Software\\C", u"Three", u"3");
    });
  }
  const std::string whole = test::readFile(file());
  EXPECT_EQ(open().snapshot()->findPath(u"Software")->childCount(), 3u);
  // Every cut at a line boundary, and at every byte, of the whole file.
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    // A cut that only drops the final line break leaves the store whole.
    if (cut == whole.size() - 1) continue;
    test::writeFile(file(), whole.substr(0, cut));
    RegStore store = open();
    EXPECT_THROW(store.snapshot(), RegParseError) << "cut at byte " << cut;
    // A write refuses to replace it, so nothing more is lost.
    EXPECT_THROW(store.update([](RegKey& root) { return setText(root, u"K", u"v", u"x"); }),
                 RegStoreError)
        << cut;
    EXPECT_EQ(test::readFile(file()), whole.substr(0, cut)) << cut;
  }
  test::writeFile(file(), whole.substr(0, whole.size() - 1));
  EXPECT_EQ(open().snapshot()->findPath(u"Software")->childCount(), 3u);
  // A store written by hand carries no seal and is read as it stands; an empty file never is.
  test::writeFile(file(),
                  "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"1\"\n");
  EXPECT_NE(open().snapshot()->findPath(u"K"), nullptr);
  for (const char* empty : {"", "\n", "  \r\n\n"}) {
    test::writeFile(file(), empty);
    try {
      open().snapshot();
      ADD_FAILURE() << "an empty store was accepted";
    } catch (const RegParseError& e) {
      EXPECT_EQ(e.line(), 1u);
      EXPECT_NE(std::string(e.what()).find(file().string()), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace vantorel::reg
