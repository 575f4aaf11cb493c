#include "platform/sys/folders.hpp"

#include <gtest/gtest.h>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "support/scoped_env.hpp"
#include "support/temp_home.hpp"

namespace vantorel::sys {
namespace {

TEST(Folders, DocumentsFolderIsNeverTheRoot) {
  const struct {
    const char* documents;
    const char* home;
    std::u16string_view out;
  } cases[] = {
      {"/data/docs", "/home/u", u"/data/docs"},
      {nullptr, "/home/u", u"/home/u/Documents"},
      {"", "/home/u/", u"/home/u/Documents"},
      {"$HOME/Dokumente", "/home/u", u"/home/u/Dokumente"},
      {"relative/docs", "/home/u", u"/home/u/Documents"},  // XDG ignores relative values
      {nullptr, nullptr, u""},
      {nullptr, "", u""},
      {nullptr, "/", u""},
      {nullptr, "//", u""},
      {"/", "/", u""},
      {"$HOME/Documents", nullptr, u""},
  };
  for (const auto& c : cases) {
    test::ScopedEnv documents("XDG_DOCUMENTS_DIR", c.documents);
    test::ScopedEnv home("HOME", c.home);
    EXPECT_EQ(documentsFolder(), c.out)
        << (c.documents ? c.documents : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

TEST(Folders, UserConfigFolderFollowsItsSettings) {
  const struct {
    const char* vantorelHome;
    const char* xdgConfig;
    const char* home;
    std::u16string_view out;
  } cases[] = {
      {"/tmp/vh", "/x", "/home/u", u"/tmp/vh"},
      {nullptr, "/x/config", "/home/u", u"/x/config/vantorel"},
      {"", "", "/home/u", u"/home/u/.config/vantorel"},
      {nullptr, "rel", "/home/u", u"/home/u/.config/vantorel"},
  };
  for (const auto& c : cases) {
    test::ScopedEnv vantorelHome("VANTOREL_HOME", c.vantorelHome);
    test::ScopedEnv xdg("XDG_CONFIG_HOME", c.xdgConfig);
    test::ScopedEnv home("HOME", c.home);
    EXPECT_EQ(userConfigFolder(), c.out);
  }
  // Without HOME the account's home stands in; settings never land in the working folder.
  test::ScopedEnv vantorelHome("VANTOREL_HOME", nullptr);
  test::ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  test::ScopedEnv home("HOME", nullptr);
  const std::u16string fallback = userConfigFolder();
  EXPECT_TRUE(fallback.empty() || fallback.front() == u'/') << toUtf8(fallback);
}

TEST(Folders, ProgramAndDataFolders) {
  const std::u16string program = programFolder();
  ASSERT_FALSE(program.empty());
  EXPECT_TRUE(fs::folderExists(program));

  test::TempDir data;
  {
    test::ScopedEnv env("VANTOREL_DATA_DIR", data.str().c_str());
    EXPECT_EQ(dataFolder(), fs::fromNative(data.path()));
  }
  test::ScopedEnv env("VANTOREL_DATA_DIR", nullptr);
  // The test program is not installed, so the source tree's data folder is used.
  EXPECT_EQ(dataFolder(), fromUtf8(VANTOREL_DATA_DIR));
}

}  // namespace
}  // namespace vantorel::sys
