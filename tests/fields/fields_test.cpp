#include "fields/fields.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {
namespace {

// The fields in position order as "name:seq", then "|" and the current field as "name:seq".
std::u16string stateOf(AGPFields& fields) {
  std::u16string out;
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& f = fields.at(static_cast<std::size_t>(i));
    out += (i ? u"," : u"") + f.FldName() + u":" + toString(Variant(f.FldSeq()));
  }
  return out + u"|" + fields.curName() + u":" + toString(Variant(fields.curSeq()));
}

// Records what the collection hands to the extension subsystem.
class RecordingCascade final : public ExtensionCascade {
 public:
  std::vector<std::u16string> calls;
  void renameTable(std::u16string_view, std::u16string_view) override {}
  void deleteTable(std::u16string_view) override {}
  void renameChart(std::u16string_view, std::u16string_view, std::u16string_view) override {}
  void deleteChart(std::u16string_view, std::u16string_view) override {}
  void renameField(std::u16string_view t, std::u16string_view o, std::u16string_view n) override {
    calls.push_back(u"rename " + std::u16string(t) + u"." + std::u16string(o) + u">" +
                    std::u16string(n));
  }
  void deleteField(std::u16string_view t, std::u16string_view f) override {
    calls.push_back(u"delete " + std::u16string(t) + u"." + std::u16string(f));
  }
  bool changeCustomScripts(std::u16string_view, std::u16string_view) override { return false; }
};

class FieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SharedLanguage().InitSettings();
    previous_ = Installed<ExtensionCascade>::install(&cascade_);
  }
  void TearDown() override { Installed<ExtensionCascade>::install(previous_); }
  ExtensionCascade* previous_ = nullptr;
  std::vector<std::u16string> phrases() const {
    std::vector<std::u16string> out;
    AGPLanguage& l = SharedLanguage();
    for (std::int32_t i = 1; i <= l.FieldCount(); ++i) {
      const AGFieldPhrase p = l.FieldItem(i);
      out.push_back(p.LanguageId + u"/" + p.TableName + u"." + p.FieldName + u"." +
                    p.FieldAttribute + u"=" + p.Phrase);
    }
    return out;
  }
  RecordingCascade cascade_;
};

struct Step {
  std::u16string op, a, b;
  const char16_t* result;
  std::u16string state;
};

TEST_F(FieldsTest, AddChangeDeleteKeepSeqAndCurrent) {
  const std::vector<Step> steps = {
      {u"Add", u"", u"", u"F", u"|:0"},
      {u"Add", u"Id", u"", u"T", u"Id:1|Id:1"},
      {u"Add", u"ID", u"", u"F", u"Id:1|Id:1"},
      {u"Add", u"Name", u"", u"T", u"Id:1,Name:2|Name:2"},
      {u"Add", u"Price", u"", u"T", u"Id:1,Name:2,Price:3|Price:3"},
      {u"Add", u"2", u"", u"T", u"Id:1,Name:2,Price:3,2:4|2:4"},
      {u"Change", u"name", u"NAME", u"T", u"Id:1,NAME:2,Price:3,2:4|NAME:2"},
      {u"Change", u"Price", u"id", u"F", u"Id:1,NAME:2,Price:3,2:4|NAME:2"},
      {u"Change", u"Ghost", u"Ghost", u"T", u"Id:1,NAME:2,Price:3,2:4|NAME:2"},
      {u"Change", u"Ghost", u"Other", u"F", u"Id:1,NAME:2,Price:3,2:4|NAME:2"},
      {u"Change", u"", u"X", u"F", u"Id:1,NAME:2,Price:3,2:4|NAME:2"},
      {u"Change", u"Price", u"Cost", u"T", u"Id:1,NAME:2,Cost:3,2:4|Cost:3"},
      {u"Delete", u"name", u"", u"T", u"Id:1,Cost:2,2:3|Cost:3"},
      {u"Delete", u"nope", u"", u"F", u"Id:1,Cost:2,2:3|Cost:3"},
      {u"Delete", u"", u"", u"F", u"Id:1,Cost:2,2:3|Cost:3"},
  };
  auto fields = makeRef<AGPFields>();
  for (const Step& s : steps) {
    SCOPED_TRACE(toUtf8(s.op + u" " + s.a + u" " + s.b));
    Variant r;
    if (s.op == u"Add") r = fields->call(u"Add", {u"T1", s.a});
    if (s.op == u"Change") r = fields->call(u"Change", {u"T1", s.a, s.b});
    if (s.op == u"Delete") r = fields->call(u"Delete", {u"T1", s.a});
    ASSERT_EQ(r.type(), VarType::Boolean);
    EXPECT_EQ(r.boolValue() ? u"T" : u"F", std::u16string(s.result));
    EXPECT_EQ(stateOf(*fields), s.state);
  }
  AGPField* renamed = fields->find(u"cost");
  ASSERT_NE(renamed, nullptr);
  EXPECT_EQ(renamed->FldVar(), u"x_Cost");
  // A number names a field by its text, never by position.
  EXPECT_FALSE(fields->remove(u"T1", Variant(std::int32_t{1})));
  EXPECT_TRUE(fields->remove(u"T1", Variant(std::int16_t{2})));
  EXPECT_EQ(stateOf(*fields), u"Id:1,Cost:2|Cost:3");
  EXPECT_EQ(cascade_.calls,
            (std::vector<std::u16string>{u"rename T1.Name>NAME", u"rename T1.Price>Cost",
                                         u"delete T1.NAME", u"delete T1.2"}));
}

TEST_F(FieldsTest, AddAfterDirectNameWrite) {
  auto fields = makeRef<AGPFields>();
  ASSERT_TRUE(fields->add(u"T", u"A"));
  fields->find(u"A")->let(u"Key", Variant(u"B"));
  // The key is still "A"; the field's own name "B" counts as existing.
  EXPECT_TRUE(fields->fieldExist(Variant(u"a")));
  EXPECT_TRUE(fields->add(u"T", u"B"));
  EXPECT_FALSE(fields->add(u"T", u"b"));
  EXPECT_EQ(fields->count(), 1);
}

TEST_F(FieldsTest, PhrasesFollowRenameAndGoWithDelete) {
  AGPLanguage& lang = SharedLanguage();
  auto fields = makeRef<AGPFields>();
  fields->add(u"Orders", u"Qty");
  fields->add(u"Orders", u"Price");
  lang.SetFieldPhrase(u"en", u"Orders", u"Qty", u"FldCaption", u"Quantity");
  lang.SetFieldPhrase(u"de", u"Orders", u"Qty", u"FldCaption", u"Menge");
  lang.SetFieldPhrase(u"en", u"Orders", u"Price", u"FldCaption", u"Price");
  lang.SetFieldPhrase(u"en", u"Other", u"Qty", u"FldCaption", u"Elsewhere");

  ASSERT_TRUE(fields->change(u"Orders", u"qty", u"Amount"));
  EXPECT_EQ(phrases(),
            (std::vector<std::u16string>{
                u"en/Orders.Price.FldCaption=Price", u"en/Other.Qty.FldCaption=Elsewhere",
                u"en/Orders.Amount.FldCaption=Quantity", u"de/Orders.Amount.FldCaption=Menge"}));
  // Named in other case than stored, the field still takes its phrases along.
  ASSERT_TRUE(fields->remove(u"Orders", Variant(u"AMOUNT")));
  EXPECT_EQ(phrases(), (std::vector<std::u16string>{u"en/Orders.Price.FldCaption=Price",
                                                    u"en/Other.Qty.FldCaption=Elsewhere"}));
}

// The save matches phrases to tables and fields without regard to case; the rename compared by
// case, so phrases stored in another spelling were left under the old name and then dropped.
TEST_F(FieldsTest, RenameMovesPhrasesStoredInAnotherCase) {
  AGPLanguage& lang = SharedLanguage();
  auto fields = makeRef<AGPFields>();
  fields->add(u"Orders", u"Name");
  lang.SetFieldPhrase(u"en", u"orders", u"name", u"FldCaption", u"Customer");
  lang.SetFieldPhrase(u"de", u"ORDERS", u"Name", u"FldCaption", u"Kunde");
  lang.SetFieldPhrase(u"en", u"orders", u"names", u"FldCaption", u"Other");
  ASSERT_TRUE(fields->change(u"Orders", u"Name", u"Title"));
  EXPECT_EQ(phrases(), (std::vector<std::u16string>{u"en/orders.names.FldCaption=Other",
                                                    u"en/orders.Title.FldCaption=Customer",
                                                    u"de/ORDERS.Title.FldCaption=Kunde"}));
}

TEST_F(FieldsTest, GapsInSeqNeitherFailNorSkip) {
  auto fields = makeRef<AGPFields>();
  for (const char16_t* n : {u"A", u"B", u"C", u"D"}) fields->add(u"T", n);
  fields->find(u"A")->setFldSeq(1);
  fields->find(u"B")->setFldSeq(5);
  fields->find(u"C")->setFldSeq(9);
  fields->find(u"D")->properties().item(u"FldSeq")->setValue(Variant(u"junk"));
  EXPECT_EQ(fields->seq(2), nullptr);
  EXPECT_TRUE(fields->remove(u"T", Variant(u"B")));
  EXPECT_EQ(fields->find(u"A")->FldSeq(), 1);
  EXPECT_EQ(fields->find(u"C")->FldSeq(), 8);
  EXPECT_TRUE(fields->remove(u"T", Variant(u"D")));
  EXPECT_EQ(fields->find(u"C")->FldSeq(), 8);

  for (const char16_t* n : {u"E", u"F"}) fields->add(u"T", n);
  fields->find(u"F")->setFldSeq(8);  // a duplicate of C's number
  SharedLanguage().SetFieldPhrase(u"en", u"T", u"E", u"FldCaption", u"e");
  cascade_.calls.clear();
  fields->removeAll(u"T");
  EXPECT_EQ(fields->count(), 0);
  EXPECT_TRUE(phrases().empty());
  EXPECT_EQ(cascade_.calls.size(), 4u);
}

// Seq finds a field by its number however the number was stored: as the Integer Add writes,
// as text a script or a project file put there, or as another numeric kind; the first field
// in position order wins a duplicate.
TEST_F(FieldsTest, SeqReadsEveryStoredKindOfNumber) {
  auto fields = makeRef<AGPFields>();
  for (const char16_t* n : {u"A", u"B", u"C", u"D", u"E"}) fields->add(u"T", n);
  fields->find(u"B")->properties().item(u"FldSeq")->setValue(Variant(u"7"));
  fields->find(u"C")->properties().item(u"FldSeq")->setValue(Variant(std::int32_t{8}));
  fields->find(u"D")->properties().item(u"FldSeq")->setValue(Variant(9.4));
  fields->find(u"E")->setFldSeq(7);
  const struct {
    std::int16_t seq;
    const char16_t* name;  // nullptr: none
  } cases[] = {{1, u"A"}, {2, nullptr}, {7, u"B"}, {8, u"C"}, {9, u"D"}, {5, nullptr}};
  for (const auto& c : cases) {
    const Ref<AGPField> found = fields->seq(c.seq);
    if (c.name) {
      ASSERT_NE(found, nullptr) << c.seq;
      EXPECT_EQ(found->FldName(), c.name) << c.seq;
    } else {
      EXPECT_EQ(found, nullptr) << c.seq;
    }
  }
}

TEST_F(FieldsTest, LookupsRefuseBadInputAndKeepCurrent) {
  auto fields = makeRef<AGPFields>();
  for (const char16_t* n : {u"A", u"2", u"C"}) fields->add(u"T", n);
  fields->setItem(Variant(u"a"));
  ASSERT_EQ(stateOf(*fields), u"A:1,2:2,C:3|A:1");
  const Variant misses[] = {Variant(),
                            Variant::null(),
                            Variant(true),
                            Variant(std::int32_t{0}),
                            Variant(std::int32_t{4}),
                            Variant(-1.0),
                            Variant(1e300),
                            Variant(u"zz"),
                            Variant(u""),
                            Variant::nothing()};
  for (const Variant& index : misses) {
    SCOPED_TRACE(index.varType());
    EXPECT_TRUE(fields->call(u"Item", {index}).isNothing());
    fields->call(u"SetItem", {index});
    EXPECT_FALSE(fields->call(u"FieldExist", {index}).boolValue());
    EXPECT_FALSE(fields->call(u"Delete", {u"T", index}).boolValue());
    EXPECT_EQ(stateOf(*fields), u"A:1,2:2,C:3|A:1");
  }
  EXPECT_TRUE(fields->call(u"Seq", {Variant(std::int16_t{5})}).isNothing());
  fields->call(u"SetSeq", {Variant(std::int16_t{0})});
  EXPECT_EQ(stateOf(*fields), u"A:1,2:2,C:3|A:1");
  EXPECT_THROW(fields->call(u"Seq", {Variant(u"many")}), AutomationError);
  EXPECT_THROW(fields->call(u"Item"), AutomationError);

  // Positions by number (rounded), names by text.
  EXPECT_EQ(fields->item(Variant(std::int16_t{2}))->FldName(), u"2");
  EXPECT_EQ(fields->item(Variant(2.6))->FldName(), u"C");
  EXPECT_EQ(fields->item(Variant(u"2"))->FldName(), u"2");
  fields->setSeq(3);
  EXPECT_EQ(stateOf(*fields), u"A:1,2:2,C:3|C:3");
  EXPECT_EQ(fields->seq(1)->FldName(), u"A");
  EXPECT_EQ(stateOf(*fields), u"A:1,2:2,C:3|C:3");
  // A field whose number does not read is still found, but does not become current.
  fields->find(u"A")->properties().item(u"FldSeq")->setValue(Variant(u"junk"));
  for (const Variant& index : {Variant(u"a"), Variant(1.0)}) {
    Ref<AGPField> found = fields->item(index);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->FldName(), u"A");
  }
  fields->setItem(Variant(u"A"));
  EXPECT_EQ(fields->curName(), u"C");

  std::vector<std::u16string> walked;
  Ref<Enumerator> e = fields->newEnum();
  for (Variant v; e->next(v);) walked.push_back(toString(v.objectValue()->get(u"FldName")));
  EXPECT_EQ(walked, (std::vector<std::u16string>{u"A", u"2", u"C"}));
}

// Every member of the collection by name, with the kind of result the interface gives.
TEST_F(FieldsTest, MembersByName) {
  auto fields = makeRef<AGPFields>();
  const struct {
    const char16_t* member;
    std::vector<Variant> args;
    VarType result;
  } calls[] = {
      {u"Add", {u"T", u"A"}, VarType::Boolean},
      {u"Change", {u"T", u"A", u"B"}, VarType::Boolean},
      {u"Count", {}, VarType::Long},
      {u"FieldExist", {u"b"}, VarType::Boolean},
      {u"Item", {u"B"}, VarType::Object},
      {u"Seq", {Variant(std::int16_t{1})}, VarType::Object},
      {u"SetItem", {u"B"}, VarType::Empty},
      {u"SetSeq", {Variant(std::int16_t{1})}, VarType::Empty},
      {u"curName", {}, VarType::String},
      {u"curSeq", {}, VarType::Integer},
      {u"NewEnum_fld", {}, VarType::Object},
      {u"Delete", {u"T", u"B"}, VarType::Boolean},
  };
  for (const auto& c : calls) {
    SCOPED_TRACE(toUtf8(c.member));
    std::vector<Variant> args = c.args;
    std::vector<Variant*> ptrs;
    for (Variant& a : args) ptrs.push_back(&a);
    const Variant r = invokeByName(*fields, c.member, kInvokeMethod | kInvokeGet, CallArgs(ptrs));
    EXPECT_EQ(r.type(), c.result);
  }
  EXPECT_EQ(fields->count(), 0);
  EXPECT_THROW(fields->call(u"Remove", {u"T", u"B"}), AutomationError);
}

TEST_F(FieldsTest, RefusedRenameChangesNothing) {
  auto fields = makeRef<AGPFields>();
  fields->add(u"T", u"A");
  fields->add(u"T", u"B");
  SharedLanguage().SetFieldPhrase(u"en", u"T", u"A", u"FldCaption", u"a");
  fields->find(u"A")->properties().item(u"FldSeq")->setValue(Variant(u"junk"));
  cascade_.calls.clear();
  EXPECT_THROW(fields->change(u"T", u"A", u"Z"), AutomationError);
  EXPECT_NE(fields->find(u"A"), nullptr);
  EXPECT_EQ(fields->find(u"A")->FldName(), u"A");
  EXPECT_TRUE(cascade_.calls.empty());
  EXPECT_EQ(phrases(), std::vector<std::u16string>{u"en/T.A.FldCaption=a"});
  EXPECT_FALSE(fields->change(u"T", u"A", u"b"));
  EXPECT_EQ(fields->count(), 2);
  EXPECT_EQ(fields->find(u"B")->FldName(), u"B");
}

}  // namespace
}  // namespace vantorel
