// Writes kept below a root: a symbolic link in the way, to a file or to a folder, is refused by
// name and nothing outside the root changes; missing folders are made; the root may be a link.
#include "platform/fs/link_free_paths.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/fs/deferred_writes.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"

namespace vantorel::fs {
namespace {

namespace fsys = std::filesystem;

std::u16string u16(const fsys::path& path) {
  return fromUtf8(path.string());
}

// The names below folder, recursively, so that anything new outside the root shows.
std::vector<std::string> contents(const fsys::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fsys::recursive_directory_iterator(folder)) {
    names.push_back(fsys::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class LinkFreePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    fsys::create_directories(outside() / "dir");
    writeFileAtomic(u16(outside() / "secret.txt"), "secret");
    fsys::create_directories(site() / "real");
    fsys::create_symlink(outside() / "secret.txt", site() / "page.asp");
    fsys::create_symlink(outside() / "missing.txt", site() / "gone.asp");
    fsys::create_directory_symlink(outside() / "dir", site() / "css");
    fsys::create_directory_symlink(site(), dir_.path() / "site-link");
    writeFileAtomic(u16(dir_.path() / "source.txt"), "new");
  }
  fsys::path outside() const { return dir_.path() / "outside"; }
  fsys::path site() const { return dir_.path() / "site"; }

  test::TempDir dir_;
};

// The ways a file reaches its target: each must treat a link in the way alike.
using Writer = std::function<void(const std::u16string& root, const std::u16string& target,
                                  const std::u16string& source)>;

void throwFirstFailure(DeferredWrites& writes) {
  const std::vector<DeferredWrites::Failure> failures = writes.commit();
  if (!failures.empty()) throw FileError(failures.front().description, failures.front().reason);
}

TEST_F(LinkFreePaths, ALinkInTheWayIsRefusedByNameAndNothingOutsideChanges) {
  const struct {
    const char* name;
    Writer write;
  } writers[] = {
      {"whole file", [](const auto& root, const auto& target,
                        const auto&) { writeFileAtomic(target, "new", root); }},
      {"copy", [](const auto& root, const auto& target,
                  const auto& source) { copyFile(source, target, true, root); }},
      {"deferred",
       [](const auto& root, const auto& target, const auto&) {
         DeferredWrites writes;
         writes.write(target, std::string("new"), root);
         throwFirstFailure(writes);
       }},
  };
  const struct {
    const char* what;
    fsys::path root;
    fsys::path target;
    fsys::path link;  // empty: the write goes through
  } cases[] = {
      {"a link to a file elsewhere", site(), site() / "page.asp", site() / "page.asp"},
      {"a link to a file not there yet", site(), site() / "gone.asp", site() / "gone.asp"},
      {"a linked folder", site(), site() / "css" / "site.css", site() / "css"},
      {"below a linked folder", site(), site() / "css" / "sub" / "a.css", site() / "css"},
      {"folders still missing", site(), site() / "new" / "deeper" / "a.asp", {}},
      {"a root that is itself a link",
       dir_.path() / "site-link",
       dir_.path() / "site-link" / "real" / "b.asp",
       {}},
  };
  const std::vector<std::string> before = contents(outside());
  for (const auto& w : writers) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(w.name) + ", " + c.what);
      fsys::remove_all(site() / "new");
      fsys::remove(site() / "real" / "b.asp");
      try {
        w.write(u16(c.root), u16(c.target), u16(dir_.path() / "source.txt"));
        EXPECT_TRUE(c.link.empty());
        EXPECT_EQ(readFile(u16(c.target)), "new");
        EXPECT_FALSE(fsys::is_symlink(c.target));
      } catch (const FileError& e) {
        ASSERT_FALSE(c.link.empty()) << e.what();
        EXPECT_NE(std::string(e.what()).find("\"" + c.link.string() + "\" is a symbolic link"),
                  std::string::npos)
            << e.what();
        EXPECT_TRUE(fsys::is_symlink(c.link));
      }
      EXPECT_EQ(contents(outside()), before);
      EXPECT_EQ(readFile(u16(outside() / "secret.txt")), "secret");
    }
  }
}

// A folder copied below the root is refused where it would go into a linked folder, and made
// where it is new; the check alone walks only what exists.
TEST_F(LinkFreePaths, FolderCopiesAndChecks) {
  fsys::create_directories(dir_.path() / "from" / "sub");
  writeFileAtomic(u16(dir_.path() / "from" / "sub" / "f.txt"), "f");
  EXPECT_THROW(copyFolder(u16(dir_.path() / "from"), u16(site() / "css" / "copy"), u16(site())),
               FileError);
  EXPECT_TRUE(fsys::is_empty(outside() / "dir"));
  copyFolder(u16(dir_.path() / "from"), u16(site() / "copy"), u16(site()));
  EXPECT_EQ(readFile(u16(site() / "copy" / "sub" / "f.txt")), "f");

  EXPECT_NO_THROW(refuseLinksBelow(u16(site()), u16(site() / "absent" / "page.asp")));
  EXPECT_THROW(refuseLinksBelow(u16(site()), u16(site() / "page.asp")), FileError);
  // Only what lies below the root is written that way.
  EXPECT_THROW(refuseLinksBelow(u16(site()), u16(outside() / "secret.txt")), FileError);
  EXPECT_THROW(refuseLinksBelow(u16(site()), u16(site() / ".." / "outside")), FileError);
  EXPECT_THROW(makeFoldersBelow(u16(site()), u16(site() / "css" / "made")), FileError);
  EXPECT_TRUE(fsys::is_empty(outside() / "dir"));
}

}  // namespace
}  // namespace vantorel::fs
