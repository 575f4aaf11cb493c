#include "platform/fs/path.hpp"

#include <gtest/gtest.h>

namespace vantorel::fs {
namespace {

TEST(Path, NormalizesSeparators) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"a\\b/c", u"a/b/c"},
      {u"a//b\\\\c", u"a/b/c"},
      {u"\\\\server\\share", u"/server/share"},
      {u"/", u"/"},
      {u"", u""},
      {u"dir\\", u"dir/"},
  };
  for (const auto& c : cases) EXPECT_EQ(normalizeSeparators(c.in), c.out);
  EXPECT_EQ(toNative(u"a\\b").string(), "a/b");
  EXPECT_EQ(fromNative(toNative(u"caf\u00E9/x")), u"caf\u00E9/x");
}

TEST(Path, Joins) {
  const struct {
    std::u16string_view folder, name, out;
  } cases[] = {
      {u"/tmp", u"a.txt", u"/tmp/a.txt"},
      {u"/tmp/", u"/a.txt", u"/tmp/a.txt"},
      {u"C:\\out", u"x\\y", u"C:/out/x/y"},
      {u"", u"a", u"a"},
      {u"/tmp", u"", u"/tmp"},
  };
  for (const auto& c : cases) EXPECT_EQ(joinPath(c.folder, c.name), c.out);
}

TEST(Path, JoinInsideKeepsNamesInTheFolder) {
  const struct {
    std::u16string_view relative;
    std::optional<std::u16string> out;
  } cases[] = {
      {u"a.asp", u"/site/a.asp"},
      {u"include\\menu.asp", u"/site/include/menu.asp"},
      {u"./a/../b.asp", u"/site/b.asp"},
      {u"a/b/../../c", u"/site/c"},
      {u"", u"/site"},
      {u"..", std::nullopt},
      {u"../x", std::nullopt},
      {u"..\\x", std::nullopt},
      {u"a/../../x", std::nullopt},
      {u"a\\..\\..\\x", std::nullopt},
      {u"/etc/passwd", std::nullopt},
      {u"\\etc\\passwd", std::nullopt},
      {u"\\\\server\\share\\x", std::nullopt},
      {u"C:x", std::nullopt},
      {u"c:\\windows", std::nullopt},
      {std::u16string_view(u"ok\0.asp", 7), std::nullopt},
      {u"...", u"/site/..."},  // an ordinary name, not a climb
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joinInside(u"/site/", c.relative), c.out)
        << testing::PrintToString(std::u16string(c.relative));
  }
}

TEST(Path, SplitsIntoParts) {
  const struct {
    std::u16string_view path, parent, name, base, extension;
  } cases[] = {
      {u"/a/b/list.asp", u"/a/b", u"list.asp", u"list", u"asp"},
      {u"a\\b\\archive.tar.gz", u"a/b", u"archive.tar.gz", u"archive.tar", u"gz"},
      {u"folder/", u"", u"folder", u"folder", u""},
      {u"/top", u"/", u"top", u"top", u""},
      {u"/", u"", u"", u"", u""},
      {u"name", u"", u"name", u"name", u""},
      {u"x/.htaccess", u"x", u".htaccess", u"", u"htaccess"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parentFolder(c.path), c.parent) << testing::PrintToString(std::u16string(c.path));
    EXPECT_EQ(fileNameOf(c.path), c.name);
    EXPECT_EQ(baseNameOf(c.path), c.base);
    EXPECT_EQ(extensionOf(c.path), c.extension);
  }
}

}  // namespace
}  // namespace vantorel::fs
