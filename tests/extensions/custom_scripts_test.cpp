// Custom scripts: the matching rule, the keys shown, renumbering, and the re-keying of a table
// rename, with the keys that once collided.
#include <gtest/gtest.h>

#include "agp/agp.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/script_functions.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/tables.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

class CustomScriptsTest : public ::testing::Test {
 protected:
  void SetUp() override { projectContext().customScripts = nullptr; }
  AGPCustomScripts& list() { return SharedCustomScripts(); }
};

TEST_F(CustomScriptsTest, AddRefusesAndMatches) {
  struct Case {
    CustomScriptKeys keys;
    bool added;
  };
  const Case cases[] = {
      {{u"VB", u"", u"Init", u"", u"", u""}, false},
      {{u"", u"table", u"Init", u"", u"", u""}, false},
      {{u"VB", u"table", u"", u"", u"", u""}, false},
      {{u"VB", u"table", u"Init", u"", u"", u""}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(list().add(c.keys), c.added) << toUtf8(c.keys.name);
  EXPECT_EQ(list().curName(), u"VB_table_Init___");
  EXPECT_EQ(list().count(), 1);

  list().add({u"VB", u"table", u"Show", u"list", u"Orders", u""});
  // Type, code type, name and control in any case; object keys exactly.
  EXPECT_TRUE(list().exists({u"vb", u"TABLE", u"show", u"LIST", u"Orders", u""}));
  EXPECT_FALSE(list().exists({u"VB", u"table", u"Show", u"list", u"orders", u""}));
  // Keys differing only in the case of L1Key are two scripts, and adding the second never
  // raises.
  EXPECT_TRUE(list().add({u"VB", u"table", u"Show", u"list", u"orders", u""}));
  EXPECT_EQ(list().count(), 3);
  // Parts holding "_" join to the same text but stay apart.
  EXPECT_TRUE(list().add({u"VB", u"t", u"n", u"", u"a_b", u"c"}));
  EXPECT_TRUE(list().add({u"VB", u"t", u"n", u"", u"a", u"b_c"}));
  EXPECT_EQ(list().count(), 5);
  EXPECT_EQ(list().curName(), u"VB_t_n__a_b_c");

  EXPECT_EQ(list().scriptItem({u"x", u"y", u"z", u"", u"", u""}), nullptr);
  EXPECT_EQ(list().curName(), u"VB_t_n__a_b_c");
}

TEST_F(CustomScriptsTest, DeleteRenumbers) {
  for (const char16_t* name : {u"A", u"B", u"C"}) list().add({u"VB", u"t", name, u"", u"", u""});
  EXPECT_TRUE(list().remove({u"vb", u"T", u"a", u"", u"", u""}));
  EXPECT_FALSE(list().remove({u"vb", u"T", u"a", u"", u"", u""}));
  EXPECT_EQ(list().seq(1)->keys().name, u"B");
  EXPECT_EQ(list().seq(2)->keys().name, u"C");
}

TEST_F(CustomScriptsTest, TableRenameMovesScriptsAndNeverCollides) {
  list().add({u"VB", u"t", u"n", u"", u"Orders", u""});
  list().add({u"VB", u"t", u"m", u"", u"Orders", u""});
  list().add({u"VB", u"t", u"n", u"", u"orders", u""});
  list().add({u"VB", u"t", u"n", u"", u"Sales", u""});
  // The first script would land on the fourth: both stay; the second moves.
  EXPECT_FALSE(list().change(u"Orders", u"Sales"));
  EXPECT_TRUE(list().exists({u"VB", u"t", u"n", u"", u"Orders", u""}));
  EXPECT_TRUE(list().exists({u"VB", u"t", u"n", u"", u"Sales", u""}));
  EXPECT_TRUE(list().exists({u"VB", u"t", u"m", u"", u"Sales", u""}));
  EXPECT_FALSE(list().exists({u"VB", u"t", u"m", u"", u"Orders", u""}));
  // The other case is another table.
  EXPECT_TRUE(list().exists({u"VB", u"t", u"n", u"", u"orders", u""}));
  AGPCustomScript* moved = list().scriptItem({u"VB", u"t", u"m", u"", u"Sales", u""});
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->seq(), 2);
  EXPECT_EQ(moved->key(), u"VB_t_m__Sales_");
}

TEST_F(CustomScriptsTest, ProjectFunctionsAndTheTableRename) {
  Ref<AGP> proj = makeRef<AGP>();
  EXPECT_TRUE(AddCustomScript(*proj, u"VB", u"t", u"n", u"", u"Orders", u"", u"one"));
  EXPECT_TRUE(AddCustomScript(*proj, u"VB", u"t", u"n", u"", u"Orders", u"", u"two"));
  EXPECT_EQ(list().count(), 1);
  EXPECT_EQ(list().seq(1)->code(), u"two");
  EXPECT_FALSE(UpdateCustomScript(*proj, u"VB", u"t", u"x", u"", u"", u"", u"code"));
  EXPECT_EQ(list().count(), 1);
  EXPECT_TRUE(UpdateCustomScript(*proj, u"vb", u"T", u"N", u"", u"Orders", u"", u"three"));
  EXPECT_EQ(list().seq(1)->code(), u"three");

  // The model's rename goes on whatever the scripts' answer.
  proj->databases().add(u"db");
  proj->setDB(proj->databases().item(Variant(u"db")));
  AGPTables& tables = proj->DB()->tables();
  tables.add(u"Orders");
  tables.add(u"Sales");
  AddCustomScript(*proj, u"VB", u"t", u"n", u"", u"Sales", u"", u"kept");
  tables.remove(u"Sales");
  EXPECT_TRUE(tables.change(u"Orders", u"Sales"));
  EXPECT_NE(tables.find(u"Sales"), nullptr);
  EXPECT_EQ(list().scriptItem({u"VB", u"t", u"n", u"", u"Sales", u""})->code(), u"kept");
  EXPECT_EQ(list().scriptItem({u"VB", u"t", u"n", u"", u"Orders", u""})->code(), u"three");

  EXPECT_TRUE(DeleteCustomScript(*proj, u"VB", u"t", u"n", u"", u"Orders", Variant()));
  EXPECT_EQ(list().count(), 1);
}

}  // namespace
}  // namespace vantorel
