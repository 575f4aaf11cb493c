#include "foundation/reg_values.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "platform/automation/automation_error.hpp"
#include "platform/text/unicode.hpp"
#include "registry_test_support.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

using test::byteArray;
using test::show;

constexpr char16_t kKey[] = u"Software\\Vantorel\\4.0\\Test";

class RegValuesTest : public test::RegistryTest {};

TEST_F(RegValuesTest, EveryWritableTypeRoundTrips) {
  test::ScopedEnv set("VANTOREL_REG_TEST", "/opt/set");
  const char* pathVariable = getenv("PATH");
  const std::string path = pathVariable ? pathVariable : "";
  struct Case {
    std::int32_t writeType;
    Variant written;
    std::string read;  // as show() gives it
    std::int32_t storedType;
  };
  const std::vector<Case> cases = {
      {1, u"plain", "8:plain", 1},
      {2, u"no reference", "8:no reference", 1},
      {1, u"%PATH%", "8:" + path, 2},
      {2, u"%VANTOREL_REG_TEST%\\lang", "8:/opt/set\\lang", 2},
      {1, u"50%", "8:50%", 1},
      {1, u"%%", "8:%%", 1},
      {1, u"100%% sure", "8:100%% sure", 1},
      {1, u"%VANTOREL_NOPE%", "8:%VANTOREL_NOPE%", 2},
      {2, u"50% of %VANTOREL_NOPE%\\x", "8:50% of %VANTOREL_NOPE%\\x", 2},
      {1, u"Ünï 日本 😀", "8:\\u220n\\u239 \\u26085\\u26412 \\u55357\\u56832", 1},
      {1, Variant(std::int32_t{42}), "8:42", 1},
      {1, Variant(), "8:", 1},
      {4, Variant(std::int32_t{31}), "3:31", 4},
      {4, Variant(std::int16_t{-2}), "3:-2", 4},
      {5, Variant(std::int32_t{0x01020304}), "3:16909060", 4},
      {3, byteArray({0, 1, 255}), "8209:[0]0,1,255,", 3},
      {3, byteArray({}), "8209:[0]", 3},
  };
  int n = 0;
  for (const auto& c : cases) {
    std::u16string name = u"V" + fromUtf8(std::to_string(n++));
    SCOPED_TRACE(show(c.written));
    SetRegValue(u"HKCU", kKey, name, c.writeType, c.written);
    projectContext().lastRegValueType = -1;
    EXPECT_EQ(show(GetRegValue(u"HKCU", kKey, name)), c.read);
    EXPECT_EQ(projectContext().lastRegValueType, c.storedType);
  }
  // The text went to the file as UTF-8, not through a code page.
  EXPECT_NE(test::readFile(userFile()).find("\"Ünï 日本 😀\""), std::string::npos);
}

TEST_F(RegValuesTest, ReadsEveryStoredTypeSafely) {
  test::ScopedEnv set("VANTOREL_REG_TEST", "/opt/set");
  spillStore(userFile(),
             "[HKEY_CURRENT_USER\\T]\n"
             "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
             "\"Big\"=hex(5):00,00,01,02\n"
             "\"BigNegative\"=hex(5):ff,ff,ff,fe\n"
             "\"ShortBig\"=hex(5):01\n"
             "\"Qword\"=hex(b):01,02,03,04,05,06,07,08\n"
             "\"None\"=hex(0):\n"
             "\"NoBytes\"=hex(1):\n"
             "\"NoTerminator\"=hex(1):61,00,62,00\n"
             "\"ShortDword\"=hex(4):2a\n"
             "\"LongDword\"=hex(4):01,00,00,00,ff,ff,ff,ff\n"
             "\"Expand\"=hex(2):25,00,56,00,41,00,4e,00,54,00,4f,00,52,00,45,00,4c,00,5f,00,52,"
             "00,45,00,47,00,5f,00,54,00,45,00,53,00,54,00,25,00,00,00\n");
  const std::vector<std::tuple<const char16_t*, std::string, std::int32_t>> cases = {
      {u"Multi", "8:a\\u0b\\u0", 7},
      {u"Big", "3:258", 5},
      {u"BigNegative", "3:-2", 5},
      {u"ShortBig", "3:16777216", 5},
      {u"Qword", "8209:[0]1,2,3,4,5,6,7,8,", 11},
      {u"None", "8209:[0]", 0},
      {u"NoBytes", "8:", 1},
      {u"NoTerminator", "8:ab", 1},
      {u"ShortDword", "3:42", 4},
      {u"LongDword", "3:1", 4},
      {u"Expand", "8:/opt/set", 2},
  };
  for (const auto& [name, read, type] : cases) {
    SCOPED_TRACE(toUtf8(name));
    EXPECT_EQ(show(GetRegValue(u"HKCU", u"T", name)), read);
    EXPECT_EQ(projectContext().lastRegValueType, type);
  }
}

// Values read with GetRegValue and written back with the type it reported, as the first-run
// copy does, are stored exactly as they were.
TEST_F(RegValuesTest, CopyThroughTheAccessorKeepsEveryValueExactly) {
  const std::string values =
      "\"Text\"=\"x\"\n"
      "\"Keep\"=hex(2):25,00,4e,00,4f,00,50,00,45,00,25,00,00,00\n"
      "\"Number\"=dword:0000001f\n"
      "\"Bytes\"=hex:01,02,03\n"
      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
      "\"Big\"=hex(5):00,00,00,01\n"
      "\"Qword\"=hex(b):01,02,03,04,05,06,07,08\n"
      "\"None\"=hex(0):\n\n";
  spillStore(machineFile(), "[HKEY_LOCAL_MACHINE\\S]\n" + values);
  cRegistry& registry = projectContext().registry;
  registry.ClassKey(kHkeyLocalMachine);
  registry.SectionKey(u"S");
  std::vector<std::u16string> names;
  std::int32_t count = 0;
  ASSERT_TRUE(registry.EnumerateValues(names, count));
  ASSERT_EQ(count, 8);
  for (const auto& name : names) {
    Variant value = GetRegValue(u"HKLM", u"S", name);
    SetRegValue(u"HKCU", u"S", name, projectContext().lastRegValueType, value);
  }
  // Type 5 is written as a plain dword holding the same number.
  // The store is sealed: a line below the header, and its last line.
  std::string expected =
      "Windows Registry Editor Version 5.00\n"
      "; Written whole: the last line is \"; end of store\".\n"
      "\n[HKEY_CURRENT_USER\\S]\n" +
      values + "; end of store\n";
  expected.replace(expected.find("hex(5):00,00,00,01"), 18, "dword:00000001");
  EXPECT_EQ(test::readFile(userFile()), expected);
}

TEST_F(RegValuesTest, MissingValueLeavesLastTypeAsItWas) {
  SetRegValue(u"HKCU", kKey, u"N", 4, Variant(std::int32_t{7}));
  GetRegValue(u"HKCU", kKey, u"N");
  ASSERT_EQ(projectContext().lastRegValueType, 4);
  EXPECT_TRUE(GetRegValue(u"HKCU", kKey, u"Missing").isEmpty());
  EXPECT_EQ(projectContext().lastRegValueType, 4);
  EXPECT_TRUE(GetRegValue(u"HKCU", u"No\\Such\\Key", u"N").isEmpty());
  EXPECT_EQ(projectContext().lastRegValueType, 4);
  // A write sets the accessor's type, which a following miss hands on.
  SetRegValue(u"HKCU", kKey, u"S", 1, u"text");
  EXPECT_TRUE(GetRegValue(u"HKCU", kKey, u"Missing").isEmpty());
  EXPECT_EQ(projectContext().lastRegValueType, 1);
}

TEST_F(RegValuesTest, DwordWritesTakeOnlyIntegers) {
  SetRegValue(u"HKCU", kKey, u"D", 4, Variant(std::int32_t{5}));
  const std::string before = test::readFile(userFile());
  for (const Variant& value :
       {Variant(true), Variant(u"123"), Variant(1.5), Variant(), Variant(std::uint8_t{1})}) {
    SCOPED_TRACE(show(value));
    EXPECT_NO_THROW(SetRegValue(u"HKCU", kKey, u"D", 4, value));
    EXPECT_NO_THROW(SetRegValue(u"HKCU", kKey, u"D", 5, value));
    EXPECT_EQ(test::readFile(userFile()), before);
  }
  EXPECT_EQ(show(GetRegValue(u"HKCU", kKey, u"D")), "3:5");
}

TEST_F(RegValuesTest, OnlyExactHklmReadsTheMachineStore) {
  spillStore(machineFile(), "[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"machine\"\n");
  spillStore(userFile(), "[HKEY_CURRENT_USER\\K]\n\"V\"=\"user\"\n");
  EXPECT_EQ(show(GetRegValue(u"HKLM", u"K", u"V")), "8:machine");
  EXPECT_EQ(show(GetRegValue(u"hklm", u"K", u"V")), "8:user");
  EXPECT_EQ(show(GetRegValue(u"HKCU", u"k", u"v")), "8:user");
  EXPECT_EQ(show(GetRegValue(Variant(), u"K", u"V")), "8:user");
}

TEST_F(RegValuesTest, MachineStoreRefusesWrites) {
  spillStore(machineFile(), "[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"machine\"\n");
  const std::string before = test::readFile(machineFile());
  try {
    SetRegValue(u"HKLM", u"K", u"V", 1, u"changed");
    ADD_FAILURE() << "written";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), u"vantorel4.cRegistry");
    EXPECT_EQ(e.description(),
              u"Failed to set registry value Key: '-2147483646',Section: 'K',Key: 'V' to value: "
              u"'changed'");
  }
  EXPECT_EQ(test::readFile(machineFile()), before);
}

TEST_F(RegValuesTest, UnparsableStoreIsReportedAndKept) {
  const std::string broken =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"V\"\n";
  test::writeFile(userFile(), broken);
  try {
    GetRegValue(u"HKCU", u"K", u"V");
    ADD_FAILURE() << "read";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 26001);
    EXPECT_NE(e.description().find(u"line 4, column 4"), std::u16string::npos);
    EXPECT_NE(e.description().find(fromUtf8(userFile().string())), std::u16string::npos);
  }
  try {
    SetRegValue(u"HKCU", u"K", u"V", 1, u"x");
    ADD_FAILURE() << "written";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 26001);
    EXPECT_NE(e.description().find(u"Failed to set registry value Key: '-2147483647'"),
              std::u16string::npos);
    EXPECT_NE(e.description().find(u"line 4, column 4"), std::u16string::npos);
  }
  EXPECT_EQ(test::readFile(userFile()), broken);
}

TEST_F(RegValuesTest, ShippedMachineStoreHoldsTheGeneralSettings) {
  test::ScopedEnv data("VANTOREL_DATA_DIR", VANTOREL_DATA_DIR);
  test::ScopedEnv folder("VANTOREL_DATA", "/opt/vantorel/data");
  const std::u16string general = u"Software\\Vantorel\\4.0\\Settings\\General";
  EXPECT_EQ(show(GetRegValue(u"HKLM", general, u"LanguageFolder")),
            "8:/opt/vantorel/data/languages");
  EXPECT_EQ(projectContext().lastRegValueType, 2);
  EXPECT_EQ(show(GetRegValue(u"HKLM", general, u"Keyword")), "8:/opt/vantorel/data/keywords.xml");
  EXPECT_EQ(show(GetRegValue(u"HKLM", general, u"ScriptEngineTimeout")), "3:60000");
  EXPECT_EQ(show(GetRegValue(u"HKLM", general, u"UnloadThresholdCount")), "3:20");
  EXPECT_EQ(show(GetRegValue(u"HKLM", general, u"MaxProjectBackupCount")), "3:10");

  cRegistry& registry = projectContext().registry;
  registry.ClassKey(kHkeyLocalMachine);
  std::vector<std::u16string> names;
  std::int32_t count = 0;
  registry.SectionKey(u"Software\\Vantorel\\4.0\\Settings");
  registry.EnumerateSections(names, count);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Chart", u"Database", u"Field", u"General",
                                                u"Project", u"Table", u"Trendline"}));
  registry.SectionKey(u"Software\\Vantorel\\4.0");
  registry.EnumerateSections(names, count);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"AdvancedFilters", u"Extensions", u"Settings"}));
}

TEST_F(RegValuesTest, EachThreadHasItsOwnAccessorAndLastType) {
  SetRegValue(u"HKCU", kKey, u"N", 4, Variant(std::int32_t{1}));
  GetRegValue(u"HKCU", kKey, u"N");
  cRegistry* mine = &projectContext().registry;
  cRegistry* theirs = nullptr;
  std::int32_t theirLastType = -1;
  std::thread([&] {
    theirs = &projectContext().registry;
    theirLastType = projectContext().lastRegValueType;
  }).join();
  EXPECT_NE(mine, theirs);
  EXPECT_EQ(theirLastType, 0);
  EXPECT_EQ(projectContext().lastRegValueType, 4);
  EXPECT_EQ(&projectContext().registry, mine);
}

}  // namespace
}  // namespace vantorel
