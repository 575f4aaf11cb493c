#include "generator/key_lists.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "generator/generation_run.hpp"
#include "model/table.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test {
namespace {

Ref<AGPTable> tableWith(const std::vector<std::u16string>& names) {
  Ref<AGPTable> table = makeRef<AGPTable>();
  table->setTblName(u"Orders");
  for (const std::u16string& name : names) table->fields().add(u"Orders", name);
  return table;
}

std::string keyFlags(AGPTable& table) {
  std::string flags;
  for (std::size_t i = 0; i < static_cast<std::size_t>(table.fields().count()); ++i) {
    flags += table.fields().at(i).FldIsPrimaryKey() ? '1' : '0';
  }
  return flags;
}

TEST(KeyListsTest, UnquotesKeyNames) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"id", u"id"},
      {u"\"id\"", u"id"},
      {u"[Order ID]", u"Order ID"},
      {u"\"say \"\"hi\"\"\"", u"say \"hi\""},
      {u"\"[both]\"", u"both"},
      {u"\"", u"\""},
      {u"\"\"", u""},
      {u"\"half", u"\"half"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(toUtf8(UnquoteName(name)), toUtf8(expected)) << toUtf8(name);
  }
}

TEST(KeyListsTest, FlagsFollowTheKeyList) {
  struct Case {
    std::u16string key;
    std::string flags;  // for the fields id, Name, Order ID, "q"
  };
  const std::vector<Case> cases = {
      {u"id", "1000"},
      {u"Name\r\nid", "1100"},
      {u"[Order ID]", "0010"},
      {u"\"\"\"q\"\"\"", "0001"},
      // Names are compared with their case.
      {u"ID\r\nname", "0000"},
      {u"", "0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.key));
    Ref<AGPTable> table = tableWith({u"id", u"Name", u"Order ID", u"\"q\""});
    for (std::size_t i = 0; i < 4; ++i) table->fields().at(i).setFldIsPrimaryKey(true);
    table->properties().setting(kTblKey) = Variant(c.key);
    SetFieldsFromTblKey(*table);
    EXPECT_EQ(keyFlags(*table), c.flags);
    EXPECT_EQ(TableHasPrimaryKey(*table), c.flags.find('1') != std::string::npos);
  }
}

TEST(KeyListsTest, TablesWithoutKeyLoseTheirKeyPages) {
  const Ref<AGP> proj = makeRef<AGP>();
  GenerationRun run(*proj);
  const SettingSlot pages[] = {kTblAdd, kTblCopy, kTblView, kTblEdit, kTblInlineEdit, kTblDelete};
  struct Case {
    Variant key;
    bool keepsPages;
  };
  const std::vector<Case> cases = {{Variant(u"id"), true},
                                   {Variant(u""), false},
                                   {Variant(u" \r\n "), false},
                                   {Variant::null(), false}};
  for (const Case& c : cases) {
    Ref<AGPTable> table = tableWith({u"id"});
    table->properties().setting(kTblVar) = Variant(u"orders");
    table->properties().setting(kTblKey) = c.key;
    for (SettingSlot slot : pages) table->properties().setting(slot) = Variant(true);
    run.currentTableVar = u"before";
    LoadTableGenSettings(run, table.get());
    EXPECT_EQ(toUtf8(run.currentTableVar), "orders");
    for (SettingSlot slot : pages) {
      EXPECT_EQ(toBool(table->properties().setting(slot)), c.keepsPages) << slot;
    }
  }
  run.currentTableVar = u"kept";
  LoadTableGenSettings(run, nullptr);
  EXPECT_EQ(toUtf8(run.currentTableVar), "kept");
}

}  // namespace
}  // namespace vantorel::test
