#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "object_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/objects/file_objects.hpp"
#include "platform/vbscript/objects/file_system.hpp"
#include "platform/vbscript/objects/text_stream.hpp"
#include "support/raised_error.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::vbs {
namespace {

using namespace object_test;

class FileObjects : public ::testing::Test {
 protected:
  std::u16string at(const std::string& name) const {
    return fromUtf8((dir_.path() / name).string());
  }
  std::filesystem::path native(const std::string& name) const { return dir_.path() / name; }
  Ref<Object> open(const std::string& name, int mode, bool create = false, int format = 0) {
    return Ref<Object>(fso_->call(u"OpenTextFile", {at(name), mode, create, format}).objectValue());
  }
  std::u16string readAll(const std::string& name, int format = 0) {
    return toString(open(name, 1, false, format)->call(u"ReadAll"));
  }

  test::TempDir dir_;
  Ref<Object> fso_ = ClassFactory::instance().create(u"Scripting.FileSystemObject");

  static void SetUpTestSuite() { registerFileObjects(ClassFactory::instance()); }
};

TEST_F(FileObjects, PathFunctionsFollowTheWindowsTextRules) {
  struct Case {
    const char16_t* function;
    std::u16string path;
    std::u16string second;  // BuildPath's name
    std::u16string expected;
  };
  const Case cases[] = {
      {u"GetBaseName", u"C:\\dir\\report.final.txt", u"", u"report.final"},
      {u"GetBaseName", u"/srv/site/index.asp", u"", u"index"},
      {u"GetBaseName", u"/srv/site/", u"", u"site"},
      {u"GetBaseName", u"noext", u"", u"noext"},
      {u"GetBaseName", u"C:\\", u"", u""},
      {u"GetExtensionName", u"C:\\dir\\report.final.TXT", u"", u"TXT"},
      {u"GetExtensionName", u"/a.b/c", u"", u""},
      {u"GetExtensionName", u"archive.tar.gz", u"", u"gz"},
      {u"GetFileName", u"C:\\dir\\sub\\", u"", u"sub"},
      {u"GetFileName", u"/", u"", u""},
      {u"GetParentFolderName", u"C:\\dir\\file.txt", u"", u"C:\\dir"},
      {u"GetParentFolderName", u"C:\\dir", u"", u"C:\\"},
      {u"GetParentFolderName", u"/srv/site/", u"", u"/srv"},
      {u"GetParentFolderName", u"/srv", u"", u"/"},
      {u"GetParentFolderName", u"a/b\\c", u"", u"a/b"},
      {u"GetParentFolderName", u"file.txt", u"", u""},
      {u"BuildPath", u"C:\\dir", u"file.txt", u"C:\\dir\\file.txt"},
      {u"BuildPath", u"C:\\dir\\", u"\\file.txt", u"C:\\dir\\file.txt"},
      {u"BuildPath", u"/srv/site", u"index.asp", u"/srv/site/index.asp"},
      {u"BuildPath", u"/srv/site/", u"/index.asp", u"/srv/site/index.asp"},
      {u"BuildPath", u"out", u"x", u"out/x"},
      {u"BuildPath", u"", u"x", u"x"},
      {u"BuildPath", u"/", u"etc", u"/etc"},
      {u"GetDriveName", u"c:\\dir\\x", u"", u"c:"},
      {u"GetDriveName", u"\\\\server\\share\\dir", u"", u"\\\\server\\share"},
      {u"GetDriveName", u"relative\\x", u"", u""},
  };
  for (const auto& c : cases) {
    const Variant result = c.second.empty() && std::u16string_view(c.function) != u"BuildPath"
                               ? fso_->call(c.function, {c.path})
                               : fso_->call(c.function, {c.path, c.second});
    EXPECT_EQ(toString(result), c.expected) << toUtf8(c.function) << "(" << toUtf8(c.path) << ")";
  }
  EXPECT_EQ(toString(fso_->call(u"GetAbsolutePathName", {std::u16string(u"/a/./b/../c//d\\")})),
            u"/a/c/d");
  const std::u16string temp = toString(fso_->call(u"GetTempName"));
  EXPECT_EQ(temp.size(), 12u);
  EXPECT_TRUE(temp.starts_with(u"rad") && temp.ends_with(u".tmp"));
}

TEST_F(FileObjects, TextRoundTripsInEachEncoding) {
  const std::u16string text = u"caf\u00E9 \u20AC\r\nzwei";
  struct Case {
    bool unicode;
    std::string bytes;
  };
  const Case cases[] = {
      {false, "caf\xE9 \x80\r\nzwei"},
      {true, std::string("\xFF\xFE"
                         "c\0a\0f\0\xE9\0 \0\xAC\x20\r\0\n\0z\0w\0e\0i\0",
                         26)},
  };
  for (const auto& c : cases) {
    auto stream =
        Ref<Object>(fso_->call(u"CreateTextFile", {at("t.txt"), true, c.unicode}).objectValue());
    stream->call(u"Write", {text});
    stream->call(u"Close");
    EXPECT_EQ(test::readFile(native("t.txt")), c.bytes) << c.unicode;
    EXPECT_EQ(readAll("t.txt", c.unicode ? -1 : 0), text);
    // The default format finds the UTF-16 mark by itself.
    EXPECT_EQ(readAll("t.txt", -2), text);
  }
  // A UTF-8 mark read as ANSI stays three characters, as on Windows.
  test::writeFile(native("u8.txt"), "\xEF\xBB\xBFok");
  EXPECT_EQ(readAll("u8.txt"), u"\u00EF\u00BB\u00BFok");
}

TEST_F(FileObjects, ReadLineEndsLinesAtCrLfLfAndCr) {
  test::writeFile(native("lines.txt"), "one\r\ntwo\nthree\rfour\r\n\r\nlast");
  auto stream = open("lines.txt", 1);
  const struct {
    std::u16string line;
    std::int32_t lineNumberAfter;
  } expected[] = {{u"one", 2}, {u"two", 3}, {u"three", 4}, {u"four", 5}, {u"", 6}, {u"last", 6}};
  for (const auto& e : expected) {
    ASSERT_FALSE(toBool(stream->get(u"AtEndOfStream")));
    EXPECT_EQ(toString(stream->call(u"ReadLine")), e.line);
    EXPECT_EQ(toLong(stream->get(u"Line")), e.lineNumberAfter) << toUtf8(e.line);
  }
  EXPECT_TRUE(toBool(stream->get(u"AtEndOfStream")));
  EXPECT_EQ(test::errorOf([&] { stream->call(u"ReadLine"); }), 62);

  stream = open("lines.txt", 1);
  EXPECT_EQ(toString(stream->call(u"Read", {2})), u"on");
  EXPECT_EQ(toLong(stream->get(u"Column")), 3);
  EXPECT_FALSE(toBool(stream->get(u"AtEndOfLine")));
  stream->call(u"Skip", {1});
  EXPECT_TRUE(toBool(stream->get(u"AtEndOfLine")));
  stream->call(u"SkipLine");
  EXPECT_EQ(toString(stream->call(u"ReadLine")), u"two");
  EXPECT_EQ(toString(stream->call(u"Read", {1000})), u"three\rfour\r\n\r\nlast");
}

TEST_F(FileObjects, WritingGoesToTheFileOnCloseOrRelease) {
  test::writeFile(native("w.txt"), "old");
  auto stream = open("w.txt", 2);
  stream->call(u"WriteLine", {std::u16string(u"a")});
  stream->call(u"WriteBlankLines", {2});
  stream->call(u"Write", {std::u16string(u"b")});
  EXPECT_EQ(toLong(stream->get(u"Line")), 4);
  EXPECT_EQ(toLong(stream->get(u"Column")), 2);
  EXPECT_EQ(test::readFile(native("w.txt")), "old");  // replaced whole, at close
  stream->call(u"Close");
  EXPECT_EQ(test::readFile(native("w.txt")), "a\r\n\r\n\r\nb");

  stream = open("w.txt", 8);
  stream->call(u"Write", {std::u16string(u"+")});
  stream.reset();  // the last release writes too
  EXPECT_EQ(test::readFile(native("w.txt")), "a\r\n\r\n\r\nb+");

  // Appending in the default format keeps a Unicode file Unicode.
  auto unicode =
      Ref<Object>(fso_->call(u"CreateTextFile", {at("u.txt"), true, true}).objectValue());
  unicode->call(u"Write", {std::u16string(u"x")});
  unicode->call(u"Close");
  open("u.txt", 8, false, -2)->call(u"Write", {std::u16string(u"y")});
  EXPECT_EQ(test::readFile(native("u.txt")), std::string("\xFF\xFEx\0y\0", 6));

  // A host ending the process at once (WScript.Quit) still gets the text to the file.
  stream = open("q.txt", 2, true);
  stream->call(u"Write", {std::u16string(u"kept")});
  closeOpenTextStreams();
  EXPECT_EQ(test::readFile(native("q.txt")), "kept");
  EXPECT_EQ(test::errorOf([&] { stream->call(u"Write", {std::u16string(u"x")}); }), 52);
}

TEST_F(FileObjects, ErrorNumbersMatchTheScriptRuntime) {
  test::writeFile(native("exists.txt"), "x");
  test::writeFile(native("empty.txt"), "");
  std::filesystem::create_directory(native("sub"));
  const std::u16string missingFile = at("missing.txt");
  const std::u16string missingFolder = at("nowhere/file.txt");
  const struct {
    const char* what;
    std::function<void()> action;
    std::int32_t number;
  } cases[] = {
      {"GetFile missing", [&] { fso_->call(u"GetFile", {missingFile}); }, 53},
      {"OpenTextFile missing", [&] { fso_->call(u"OpenTextFile", {missingFile}); }, 53},
      {"DeleteFile missing", [&] { fso_->call(u"DeleteFile", {missingFile}); }, 53},
      {"DeleteFile no match", [&] { fso_->call(u"DeleteFile", {at("*.none")}); }, 53},
      {"CopyFile missing",
       [&] {
         fso_->call(u"CopyFile", {missingFile, at("x")});
       },
       53},
      {"CreateTextFile no overwrite",
       [&] {
         fso_->call(u"CreateTextFile", {at("exists.txt"), false});
       },
       58},
      {"CreateFolder exists", [&] { fso_->call(u"CreateFolder", {at("sub")}); }, 58},
      {"CopyFile no overwrite",
       [&] {
         fso_->call(u"CopyFile", {at("exists.txt"), at("empty.txt"), false});
       },
       58},
      {"MoveFile onto a file",
       [&] {
         fso_->call(u"MoveFile", {at("exists.txt"), at("empty.txt")});
       },
       58},
      {"CreateTextFile in missing folder", [&] { fso_->call(u"CreateTextFile", {missingFolder}); },
       76},
      {"GetFolder missing", [&] { fso_->call(u"GetFolder", {at("nowhere")}); }, 76},
      {"DeleteFolder missing", [&] { fso_->call(u"DeleteFolder", {at("nowhere")}); }, 76},
      {"CreateFolder below missing", [&] { fso_->call(u"CreateFolder", {at("nowhere/x")}); }, 76},
      {"CopyFile into missing folder",
       [&] {
         fso_->call(u"CopyFile", {at("exists.txt"), at("nowhere/")});
       },
       76},
      {"Write on a reader", [&] { open("exists.txt", 1)->call(u"Write", {std::u16string(u"x")}); },
       54},
      {"ReadLine on a writer", [&] { open("exists.txt", 8)->call(u"ReadLine"); }, 54},
      {"AtEndOfStream on a writer", [&] { open("exists.txt", 2)->get(u"AtEndOfStream"); }, 54},
      {"ReadAll of an empty file", [&] { open("empty.txt", 1)->call(u"ReadAll"); }, 62},
      {"Read at the end", [&] { open("empty.txt", 1)->call(u"Read", {1}); }, 62},
      {"SkipLine at the end", [&] { open("empty.txt", 1)->call(u"SkipLine"); }, 62},
      {"OpenTextFile bad mode",
       [&] {
         fso_->call(u"OpenTextFile", {at("exists.txt"), 3});
       },
       5},
      {"GetSpecialFolder 3", [&] { fso_->call(u"GetSpecialFolder", {3}); }, 5},
      {"Copy a folder into itself",
       [&] {
         fso_->call(u"CopyFolder", {at("sub"), at("sub/inner")});
       },
       70},
  };
  for (const auto& c : cases) EXPECT_EQ(test::errorOf(c.action), c.number) << c.what;
  EXPECT_EQ(test::readFile(native("empty.txt")), "");  // nothing was replaced by the failures
}

TEST_F(FileObjects, FilesAndFoldersReportAndChangeTheDisk) {
  std::filesystem::create_directories(native("site/img"));
  test::writeFile(native("site/a.txt"), "12345");
  test::writeFile(native("site/B.asp"), "1");
  test::writeFile(native("site/img/logo.png"), "123");

  auto folder = Ref<Object>(fso_->call(u"GetFolder", {at("site")}).objectValue());
  EXPECT_EQ(toString(folder->get(u"Name")), u"site");
  EXPECT_EQ(toLong(folder->get(u"Size")), 9);
  EXPECT_EQ(toLong(folder->get(u"Attributes")) & 16, 16);
  auto files = Ref<Object>(folder->get(u"Files").objectValue());
  EXPECT_EQ(toLong(files->get(u"Count")), 2);
  std::vector<std::u16string> names;
  auto walk = files->newEnum();
  for (Variant item; walk->next(item);) names.push_back(toString(item.objectValue()->get(u"Name")));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"B.asp", u"a.txt"}));
  test::writeFile(native("site/late.txt"), "");  // the collection sees files made after it
  EXPECT_EQ(toLong(files->get(u"Count")), 3);
  std::filesystem::remove(native("site/late.txt"));
  auto file = Ref<Object>(files->get(u"Item", {std::u16string(u"A.TXT")}).objectValue());
  EXPECT_EQ(toLong(file->get(u"Size")), 5);
  EXPECT_EQ(toString(file->get(u"Type")), u"Text Document");
  EXPECT_EQ(toString(Variant(file.get())), at("site/a.txt"));  // Path is the default
  EXPECT_EQ(toString(file->get(u"ParentFolder").objectValue()->get(u"Path")), at("site"));
  EXPECT_EQ(Variant(file->get(u"DateLastModified")).type(), VarType::Date);

  file->call(u"Copy", {at("site/img/")});
  EXPECT_EQ(test::readFile(native("site/img/a.txt")), "12345");
  file->let(u"Name", std::u16string(u"renamed.txt"));
  EXPECT_TRUE(std::filesystem::exists(native("site/renamed.txt")));
  EXPECT_EQ(toString(file->get(u"Path")), at("site/renamed.txt"));

  file->let(u"Attributes", 1);
  EXPECT_EQ(toLong(file->get(u"Attributes")) & 1, 1);
  EXPECT_EQ(test::errorOf([&] { file->call(u"Delete"); }), 70);
  file->call(u"Delete", {true});
  EXPECT_FALSE(std::filesystem::exists(native("site/renamed.txt")));

  fso_->call(u"CopyFolder", {at("site"), at("copy")});
  EXPECT_EQ(test::readFile(native("copy/img/logo.png")), "123");
  fso_->call(u"CopyFile", {at("copy/img/*.png"), at("copy/")});
  EXPECT_EQ(test::readFile(native("copy/logo.png")), "123");
  fso_->call(u"MoveFolder", {at("copy"), at("moved")});
  EXPECT_TRUE(toBool(fso_->call(u"FolderExists", {at("moved/img")})));
  EXPECT_FALSE(toBool(fso_->call(u"FolderExists", {at("copy")})));
  EXPECT_EQ(toLong(fso_->call(u"GetFolder", {at("moved")})
                       .objectValue()
                       ->get(u"SubFolders")
                       .objectValue()
                       ->get(u"Count")),
            1);
  fso_->call(u"DeleteFile", {at("moved/*.png")});
  EXPECT_FALSE(std::filesystem::exists(native("moved/logo.png")));
  fso_->call(u"DeleteFolder", {at("moved")});
  EXPECT_FALSE(std::filesystem::exists(native("moved")));

  auto root = Ref<Object>(fso_->call(u"GetFolder", {std::u16string(u"/")}).objectValue());
  EXPECT_TRUE(toBool(root->get(u"IsRootFolder")));
  EXPECT_TRUE(root->get(u"ParentFolder").isNothing());
  EXPECT_TRUE(toBool(fso_->call(u"DriveExists", {std::u16string(u"/")})));
  EXPECT_EQ(toLong(fso_->get(u"Drives").objectValue()->get(u"Count")), 1);
}

TEST_F(FileObjects, WildcardsSelectFilesAsTheWindowsShellDoes) {
  for (const char* name : {"a.txt", "b.TXT", "c.asp", "noext", "ab.txt.bak"}) {
    test::writeFile(native(name), name);
  }
  const struct {
    std::u16string pattern;
    std::vector<std::string> copied;
  } cases[] = {
      {u"*.txt", {"a.txt", "b.TXT"}},
      {u"?.asp", {"c.asp"}},
      {u"*.*", {"a.txt", "ab.txt.bak", "b.TXT", "c.asp", "noext"}},
      {u"a*", {"a.txt", "ab.txt.bak"}},
      {u"*ext", {"noext"}},
  };
  int round = 0;
  for (const auto& c : cases) {
    const std::string folder = "out" + std::to_string(round++);
    std::filesystem::create_directory(native(folder));
    fso_->call(u"CopyFile", {at(toUtf8(c.pattern)), at(folder)});
    std::vector<std::string> copied;
    for (const auto& entry : std::filesystem::directory_iterator(native(folder))) {
      copied.push_back(entry.path().filename().string());
    }
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, c.copied) << toUtf8(c.pattern);
  }
}

TEST_F(FileObjects, StreamsFromFileAndFolderObjects) {
  std::filesystem::create_directory(native("f"));
  auto folder = Ref<Object>(fso_->call(u"GetFolder", {at("f")}).objectValue());
  auto writer =
      Ref<Object>(folder->call(u"CreateTextFile", {std::u16string(u"n.txt")}).objectValue());
  writer->call(u"WriteLine", {std::u16string(u"\u00FCber")});
  writer->call(u"Close");
  EXPECT_EQ(test::readFile(native("f/n.txt")),
            "\xFC"
            "ber\r\n");

  auto file = Ref<Object>(fso_->call(u"GetFile", {at("f/n.txt")}).objectValue());
  auto appender = Ref<Object>(file->call(u"OpenAsTextStream", {8}).objectValue());
  appender->call(u"Write", {std::u16string(u"end")});
  appender->call(u"Close");
  auto reader = Ref<Object>(file->call(u"OpenAsTextStream").objectValue());
  EXPECT_EQ(toString(reader->call(u"ReadAll")), u"\u00FCber\r\nend");
  EXPECT_EQ(test::errorOf([&] {
              folder->call(u"CreateTextFile", {std::u16string(u"n.txt"), false});
            }),
            58);

  // OpenTextFile may create the file it reads; it is empty then.
  auto created = open("new.txt", 1, true);
  EXPECT_TRUE(toBool(created->get(u"AtEndOfStream")));
  EXPECT_TRUE(std::filesystem::exists(native("new.txt")));

  const char* saved = getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  setenv("TMPDIR", dir_.str().c_str(), 1);
  EXPECT_EQ(toString(fso_->call(u"GetSpecialFolder", {2}).objectValue()->get(u"Path")),
            fromUtf8(dir_.str()));
  if (saved) {
    setenv("TMPDIR", savedValue.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

// Arbitrary bytes read through every format give text or a clean error, never a crash.
TEST_F(FileObjects, ArbitraryBytesReadCleanly) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 40, '\0');
    for (char& b : bytes)
      b = static_cast<char>(
          "\r\n\xFF\xFE\xEF\xBB\xBF"
          "a\0"[random() % 9]);
    test::writeFile(native("fuzz.txt"), bytes);
    for (int format : {0, -1, -2}) {
      auto stream = open("fuzz.txt", 1, false, format);
      while (!toBool(stream->get(u"AtEndOfStream"))) {
        if (random() % 2) {
          stream->call(u"ReadLine");
        } else {
          stream->call(u"Read", {static_cast<std::int32_t>(random() % 5 + 1)});
        }
        if (random() % 3 == 0) break;
      }
    }
  }
}

}  // namespace
}  // namespace vantorel::vbs
