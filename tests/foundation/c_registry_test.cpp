#include "foundation/c_registry.hpp"

#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/automation_error.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "registry_test_support.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

using test::show;

class CRegistryTest : public test::RegistryTest {
 protected:
  cRegistry at(std::int32_t classKey, std::u16string section, std::u16string value = {}) {
    cRegistry r;
    r.ClassKey(classKey);
    r.SectionKey(std::move(section));
    r.ValueKey(std::move(value));
    return r;
  }
  std::string read(std::int32_t classKey, std::u16string section, std::u16string value = {}) {
    return show(at(classKey, std::move(section), std::move(value)).Value());
  }
};

TEST_F(CRegistryTest, KeysAreCreatedTestedAndDeletedWithTheirSubtree) {
  cRegistry r = at(kHkeyCurrentUser, u"A\\B\\C");
  EXPECT_FALSE(r.KeyExists());
  EXPECT_TRUE(r.CreateKey());
  EXPECT_TRUE(r.CreateKey());
  EXPECT_TRUE(at(kHkeyCurrentUser, u"a\\b").KeyExists());
  r.ValueType(kRegSz);
  r.Value(u"x");

  cRegistry top = at(kHkeyCurrentUser, u"A\\B");
  EXPECT_TRUE(top.DeleteKey());
  EXPECT_FALSE(r.KeyExists());
  EXPECT_FALSE(top.KeyExists());
  EXPECT_TRUE(at(kHkeyCurrentUser, u"A").KeyExists());

  r.ValueKey(u"gone");
  EXPECT_EQ(read(kHkeyCurrentUser, u"A\\B\\C", u""), "0:");
}

TEST_F(CRegistryTest, EnumerationsListValuesInOrderAndSubkeysSorted) {
  cRegistry r = at(kHkeyCurrentUser, u"E");
  r.ValueType(kRegDword);
  for (const char16_t* name : {u"zeta", u"Alpha", u"", u"mid"}) {
    r.ValueKey(name);
    r.Value(std::int32_t{1});
  }
  for (const char16_t* name : {u"E\\b", u"E\\C", u"E\\a", u"E\\b\\deeper"}) {
    r.SectionKey(name);
    r.CreateKey();
  }
  r.SectionKey(u"e");
  std::vector<std::u16string> names{u"stale"};
  std::int32_t count = -1;
  EXPECT_TRUE(r.EnumerateValues(names, count));
  EXPECT_EQ(count, 4);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"zeta", u"Alpha", u"", u"mid"}));
  EXPECT_TRUE(r.EnumerateSections(names, count));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"b", u"C"}));

  for (std::int32_t root : {kHkeyCurrentUser, kHkeyLocalMachine, kHkeyClassesRoot, 0}) {
    cRegistry missing = at(root, u"No\\Such\\Key");
    names = {u"stale"};
    count = -1;
    EXPECT_TRUE(missing.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());
    names = {u"stale"};
    count = -1;
    EXPECT_TRUE(missing.EnumerateSections(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());
  }
}

TEST_F(CRegistryTest, FailuresRaiseTheDocumentedErrors) {
  spillStore(machineFile(), "[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"machine\"\n");
  cRegistry existing = at(kHkeyCurrentUser, u"K", u"V");
  existing.ValueType(kRegSz);
  existing.Value(u"user");

  struct Case {
    const char* what;
    std::function<void()> call;
    std::int32_t number;
    std::u16string source, description;
  };
  const std::u16string src = u"vantorel4.cRegistry";
  const std::vector<Case> cases = {
      {"delete missing key", [&] { at(kHkeyCurrentUser, u"No\\Such").DeleteKey(); }, 26001, src,
       u"Failed to delete registry Key: '-2147483647',Section: 'No\\Such"},
      {"delete the hive", [&] { at(kHkeyCurrentUser, u"").DeleteKey(); }, 26001, src,
       u"Failed to delete registry Key: '-2147483647',Section: '"},
      {"delete machine key", [&] { at(kHkeyLocalMachine, u"K").DeleteKey(); }, 26001, src,
       u"Failed to delete registry Key: '-2147483646',Section: 'K"},
      {"delete value of missing key", [&] { at(kHkeyCurrentUser, u"No", u"V").DeleteValue(); },
       26001, src, u"Failed to open key '-2147483647',Section: 'No' for delete access"},
      {"delete missing value", [&] { at(kHkeyCurrentUser, u"K", u"X").DeleteValue(); }, 26001, src,
       u"Failed to delete registry Key: '-2147483647',Section: 'K',Key: 'X"},
      {"delete machine value", [&] { at(kHkeyLocalMachine, u"K", u"V").DeleteValue(); }, 26001, src,
       u"Failed to open key '-2147483646',Section: 'K' for delete access"},
      {"create machine key", [&] { at(kHkeyLocalMachine, u"K\\New").CreateKey(); }, 26001, src,
       u"Failed to create registry Key: 'K\\New"},
      {"write without a root",
       [&] {
         cRegistry r;
         r.ValueType(kRegDword);
         r.Value(std::int32_t{3});
       },
       26001, src, u"Failed to set registry value Key: '0',Section: '',Key: '' to value: '3'"},
      {"binary from text",
       [&] {
         cRegistry r = at(kHkeyCurrentUser, u"K", u"B");
         r.ValueType(kRegBinary);
         r.Value(u"bytes");
       },
       26001, u"vantorel4", u"Application-defined or object-defined error"},
      {"binary from a variant array",
       [&] {
         cRegistry r = at(kHkeyCurrentUser, u"K", u"B");
         r.ValueType(kRegBinary);
         r.Value(Variant(SafeArray::fromValues({Variant(std::uint8_t{1})})));
       },
       26001, u"vantorel4", u"Application-defined or object-defined error"},
      {"odd association list",
       [&] {
         std::vector<Variant> list{u"a", u"b", u"c", u"d"};
         cRegistry().CreateAdditionalEXEAssociations(u"Cls", list);
       },
       static_cast<std::int32_t>(0x800469ACu), src,
       u"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
       u"Name/Text/Command"},
      {"associations before class",
       [&] {
         std::vector<Variant> list{u"a", u"b", u"c"};
         cRegistry().CreateAdditionalEXEAssociations(u"Cls", list);
       },
       static_cast<std::int32_t>(0x800469ADu), src,
       u"Error - attempt to create additional associations before class defined."},
  };
  const std::string userBefore = test::readFile(userFile());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(e.source(), c.source);
      EXPECT_EQ(toUtf8(e.description()), toUtf8(c.description));
    }
  }
  EXPECT_EQ(test::readFile(userFile()), userBefore);
  EXPECT_EQ(read(kHkeyLocalMachine, u"K", u"V"), "8:machine");
  EXPECT_EQ(kRegEnumError, -2147194454);
}

TEST_F(CRegistryTest, ReadsWithoutAStoreGiveDefault) {
  cRegistry r;
  EXPECT_TRUE(r.Value().isEmpty());
  EXPECT_FALSE(r.KeyExists());
  r.ClassKey(kHkeyCurrentUser);
  r.SectionKey(u"Missing");
  r.Default(u"fallback");
  r.ValueType(9);
  EXPECT_EQ(show(r.Value()), "8:fallback");
  EXPECT_EQ(r.ValueType(), 9);
}

TEST_F(CRegistryTest, EnumeratingAnUnparsableStoreRaisesWithItsPlace) {
  test::writeFile(userFile(), "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K\n");
  cRegistry r = at(kHkeyCurrentUser, u"K");
  std::vector<std::u16string> names;
  std::int32_t count = 0;
  try {
    r.EnumerateSections(names, count);
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), kRegEnumError);
    EXPECT_NE(e.description().find(u"line 2, column 21: missing ']'"), std::u16string::npos);
  }
  EXPECT_THROW(r.KeyExists(), AutomationError);
  EXPECT_THROW(r.CreateKey(), AutomationError);
}

TEST_F(CRegistryTest, FileTypesAreRegisteredUnderClassesRoot) {
  cRegistry r;
  r.CreateEXEAssociation(u"  /usr/bin/vantorel  ", u"Vantorel.Project", u"Vantorel project", u"vtp",
                         u"", true, u"", true, u"Ne&w", true, u"", 2);
  const std::vector<std::pair<std::u16string, std::string>> expected = {
      {u".vtp", "8:Vantorel.Project"},
      {u"Vantorel.Project", "8:Vantorel project"},
      {u"Vantorel.Project\\shell\\open", "8:&Open"},
      {u"Vantorel.Project\\shell\\open\\command", "8:\"/usr/bin/vantorel\" \"%1\""},
      {u"Vantorel.Project\\shell\\print", "8:&Print"},
      {u"Vantorel.Project\\shell\\print\\command", "8:\"/usr/bin/vantorel\" /p \"%1\""},
      {u"Vantorel.Project\\shell\\add", "8:&Install vtp"},
      {u"Vantorel.Project\\shell\\add\\command", "8:\"/usr/bin/vantorel\" /a \"%1\""},
      {u"Vantorel.Project\\shell\\new", "8:Ne&w"},
      {u"Vantorel.Project\\shell\\new\\command", "8:\"/usr/bin/vantorel\" /n \"%1\""},
      {u"Vantorel.Project\\DefaultIcon", "8:\"/usr/bin/vantorel\",2"},
  };
  for (const auto& [section, value] : expected) {
    SCOPED_TRACE(toUtf8(section));
    EXPECT_EQ(read(kHkeyClassesRoot, section), value);
  }
  EXPECT_FALSE(at(kHkeyCurrentUser, u".vtp").KeyExists());

  r.CreateEXEAssociation(u"\"/opt/v app\"", u"Other", u"", u"oth");
  EXPECT_EQ(read(kHkeyClassesRoot, u"Other\\shell\\open\\command"), "8:\"/opt/v app\" \"%1\"");
  EXPECT_FALSE(at(kHkeyClassesRoot, u"Other\\shell\\print").KeyExists());
  EXPECT_FALSE(at(kHkeyClassesRoot, u"Other\\DefaultIcon").KeyExists());

  std::vector<Variant> verbs{u"edit", u"&Edit", u"vi \"%1\"", u"view", u"&View", u"less \"%1\""};
  r.CreateAdditionalEXEAssociations(u"Other", verbs);
  EXPECT_EQ(read(kHkeyClassesRoot, u"Other\\shell\\edit"), "8:&Edit");
  EXPECT_EQ(read(kHkeyClassesRoot, u"Other\\shell\\view\\command"), "8:less \"%1\"");
}

// A long series of values reaches the store in one write: one rewrite of the whole file per
// value made saving the user's defaults take minutes. Reads see the values at once; a series
// dropped half way writes nothing.
TEST_F(CRegistryTest, ABatchWritesItsValuesInOneReplaceOfTheStore) {
  cRegistry r = at(kHkeyCurrentUser, u"S", u"first");
  r.ValueType(kRegSz);
  r.Value(u"before");
  const std::string before = test::readFile(userFile());
  {
    RegistryBatch batch(r);
    for (int i = 0; i < 200; ++i) {
      r.SectionKey(u"S\\K" + toU16(static_cast<long long>(i % 7)));
      r.ValueKey(u"v" + toU16(static_cast<long long>(i)));
      r.ValueType(i % 2 ? kRegSz : kRegDword);
      if (i % 2) {
        r.Value(Variant(u"text " + toU16(static_cast<long long>(i))));
      } else {
        r.Value(Variant(static_cast<std::int32_t>(i)));
      }
      EXPECT_TRUE(r.ValueExists());
      EXPECT_EQ(test::readFile(userFile()), before) << i;
    }
    // A nested batch sends nothing of its own.
    {
      RegistryBatch inner(r);
      r.SectionKey(u"S");
      r.ValueKey(u"first");
      r.ValueType(kRegSz);
      r.Value(u"after");
      inner.commit();
    }
    EXPECT_EQ(read(kHkeyCurrentUser, u"S", u"first"), "8:before");  // another accessor
    EXPECT_EQ(show(r.Value()), "8:after");                          // this one sees it
    EXPECT_EQ(test::readFile(userFile()), before);
    batch.commit();
  }
  EXPECT_EQ(read(kHkeyCurrentUser, u"S", u"first"), "8:after");
  EXPECT_EQ(read(kHkeyCurrentUser, u"S\\K3", u"v3"), "8:text 3");
  EXPECT_EQ(read(kHkeyCurrentUser, u"S\\K0", u"v14"), "3:14");

  const std::string committed = test::readFile(userFile());
  {
    RegistryBatch dropped(r);
    r.SectionKey(u"S");
    r.ValueKey(u"first");
    r.ValueType(kRegSz);
    r.Value(u"dropped");
    EXPECT_EQ(show(r.Value()), "8:dropped");
  }
  EXPECT_EQ(test::readFile(userFile()), committed);
  EXPECT_EQ(read(kHkeyCurrentUser, u"S", u"first"), "8:after");

  // Another kind of write sends what collected first, so the order of changes holds.
  {
    RegistryBatch batch(r);
    r.SectionKey(u"T\\U");
    r.ValueKey(u"v");
    r.ValueType(kRegSz);
    r.Value(u"1");
    r.SectionKey(u"T");
    EXPECT_TRUE(r.DeleteKey());
    EXPECT_FALSE(at(kHkeyCurrentUser, u"T\\U").KeyExists());
    batch.commit();
  }
  EXPECT_FALSE(at(kHkeyCurrentUser, u"T").KeyExists());
}

}  // namespace
}  // namespace vantorel
