#include "project/master_detail.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "project/master_details.hpp"

namespace vantorel {
namespace {

struct Step {
  std::u16string op, a, b;
  std::u16string result;
  std::u16string state;
};

// The pairs of a link as "m1=d1,m2=d2", the selected pair marked by '*'.
std::u16string pairsOf(AGPMasterDetail& link) {
  std::u16string out;
  for (std::int16_t i = 1; i <= link.fieldCount(); ++i) {
    out += (i > 1 ? u"," : u"") + std::u16string(i == link.currentField() ? u"*" : u"") +
           link.masterField(i) + u"=" + link.detailField(i);
  }
  return out;
}

TEST(MasterDetailTest, RelationsThroughTheMemberTable) {
  const std::vector<Step> steps = {
      {u"add", u"", u"d", u"F", u""},
      {u"add", u"id", u"orderId", u"T", u"*id=orderId"},
      {u"add", u"id", u"other", u"F", u"*id=orderId"},               // master already used
      {u"add", u"x", u"orderId", u"F", u"*id=orderId"},              // detail already used
      {u"add", u"ID", u"OrderID", u"T", u"id=orderId,*ID=OrderID"},  // exact compare
      {u"add", u"k", u"k2", u"T", u"id=orderId,ID=OrderID,*k=k2"},
      {u"CurrentField", u"0", u"", u"", u"id=orderId,ID=OrderID,*k=k2"},
      {u"CurrentField", u"4", u"", u"", u"id=orderId,ID=OrderID,*k=k2"},
      {u"CurrentField", u"1", u"", u"", u"*id=orderId,ID=OrderID,k=k2"},
      {u"CurrentMasterField", u"k", u"", u"", u"*k=orderId,ID=OrderID,k=k2"},  // unchecked
      // Master of pair 2, detail of pair 3: the first pair matching either goes.
      {u"del", u"ID", u"k2", u"T", u"*k=orderId,k=k2"},
      {u"del", u"nope", u"none", u"F", u"*k=orderId,k=k2"},
      {u"del", u"", u"k2", u"F", u"*k=orderId,k=k2"},
      {u"CurrentField", u"2", u"", u"", u"k=orderId,*k=k2"},
      {u"del", u"zz", u"k2", u"T", u"*k=orderId"},  // the selection follows the shrinking list
      {u"del", u"k", u"zz", u"T", u""},
  };
  auto link = makeRef<AGPMasterDetail>();
  for (const Step& s : steps) {
    SCOPED_TRACE(toUtf8(s.op + u" " + s.a + u" " + s.b));
    if (s.op == u"add" || s.op == u"del") {
      const Variant r = link->call(s.op == u"add" ? u"AddRelation" : u"DeleteRelation", {s.a, s.b});
      ASSERT_EQ(r.type(), VarType::Boolean);
      EXPECT_EQ(toBool(r) ? u"T" : u"F", s.result);
    } else {
      link->let(s.op, Variant(s.a));
    }
    EXPECT_EQ(pairsOf(*link), s.state);
  }
  EXPECT_EQ(toLong(link->get(u"CurrentField")), 0);
  EXPECT_EQ(toString(link->get(u"CurrentMasterField")), u"");
  link->let(u"CurrentDetailField", Variant(u"ignored"));
  EXPECT_EQ(toString(link->call(u"MasterField", {Variant(std::int16_t{1})})), u"");
}

// The links as "Master/Detail#Seq", then "| curSeq curMasterTable/curDetailTable".
std::u16string stateOf(AGPMasterDetails& links) {
  std::u16string out;
  for (std::size_t i = 0; i < static_cast<std::size_t>(links.count()); ++i) {
    const AGPMasterDetail& link = links.at(i);
    out += link.masterTable() + u"/" + link.detailTable() + u"#" + toString(Variant(link.seq())) +
           u",";
  }
  return out + u"| " + toString(links.get(u"curSeq")) + u" " +
         toString(links.get(u"curMasterTable")) + u"/" + toString(links.get(u"curDetailTable"));
}

TEST(MasterDetailTest, CollectionOperations) {
  // Results: T/F, a link as "M/D", "-" for Nothing, "E457" for an error.
  const std::vector<Step> steps = {
      {u"Add", u"", u"B", u"F", u"| 0 /"},
      {u"Add", u"A", u"B", u"T", u"A/B#1,| 1 A/B"},
      {u"Add", u"A", u"C", u"T", u"A/B#1,A/C#2,| 2 A/C"},
      {u"Add", u"B", u"C", u"T", u"A/B#1,A/C#2,B/C#3,| 3 B/C"},
      {u"Add", u"A", u"B", u"T", u"A/B#1,A/C#2,B/C#3,| 3 A/B"},  // existing: current by name
      // Differs only in case: not found exactly, yet its key clashes; nothing changes.
      {u"Add", u"a", u"b", u"E457", u"A/B#1,A/C#2,B/C#3,| 3 A/B"},
      {u"Item", u"B", u"C", u"B/C", u"A/B#1,A/C#2,B/C#3,| 3 B/C"},
      {u"Item", u"b", u"c", u"-", u"A/B#1,A/C#2,B/C#3,| 3 B/C"},
      {u"Delete", u"a", u"b", u"F", u"A/B#1,A/C#2,B/C#3,| 3 B/C"},
      {u"Seq", u"2", u"", u"A/C", u"A/B#1,A/C#2,B/C#3,| 3 B/C"},
      {u"Delete", u"A", u"B", u"T", u"A/C#1,B/C#2,| 3 B/C"},
      {u"Seq", u"3", u"", u"-", u"A/C#1,B/C#2,| 3 B/C"},
      {u"Add", u"X__", u"Y", u"T", u"A/C#1,B/C#2,X__/Y#3,| 3 X__/Y"},
      {u"Add", u"X", u"__Y", u"E457", u"A/C#1,B/C#2,X__/Y#3,| 3 X__/Y"},  // same joined key
      // A link renamed by a script is deleted by its names, not by a key that misses it.
      {u"rename", u"Q", u"", u"", u"Q/C#1,B/C#2,X__/Y#3,| 3 X__/Y"},
      {u"Delete", u"A", u"C", u"F", u"Q/C#1,B/C#2,X__/Y#3,| 3 X__/Y"},
      {u"Delete", u"Q", u"C", u"T", u"B/C#1,X__/Y#2,| 3 X__/Y"},
  };
  auto links = makeRef<AGPMasterDetails>();
  for (const Step& s : steps) {
    SCOPED_TRACE(toUtf8(s.op + u" " + s.a + u" " + s.b));
    std::u16string result;
    try {
      if (s.op == u"rename") {
        links->at(0).setMasterTable(s.a);
      } else if (s.op == u"Add" || s.op == u"Delete") {
        result = toBool(links->call(s.op, {s.a, s.b})) ? u"T" : u"F";
      } else {
        const Variant r =
            s.op == u"Item" ? links->call(s.op, {s.a, s.b}) : links->call(s.op, {Variant(s.a)});
        auto* link = dynamic_cast<AGPMasterDetail*>(r.objectValue());
        result = link ? link->masterTable() + u"/" + link->detailTable() : u"-";
      }
    } catch (const AutomationError& e) {
      result = u"E" + toString(Variant(e.number()));
    }
    EXPECT_EQ(result, s.result);
    EXPECT_EQ(stateOf(*links), s.state);
  }
  EXPECT_TRUE(toBool(links->call(u"MasterDetailExist", {u"X__", u"Y"})));
  EXPECT_FALSE(toBool(links->call(u"MasterDetailExist", {u"x__", u"Y"})));
}

TEST(MasterDetailTest, CreatedByProgIdAndEnumerated) {
  registerProjectLinkClasses(ClassFactory::instance());
  EXPECT_TRUE(ClassFactory::instance().isRegistered(u"vantorel4.AGPMasterDetail"));
  EXPECT_TRUE(ClassFactory::instance().isRegistered(u"vantorel4.AGPFilter"));
  Ref<Object> made = ClassFactory::instance().create(u"Vantorel4.AGPMasterDetails");
  auto* links = dynamic_cast<AGPMasterDetails*>(made.get());
  ASSERT_NE(links, nullptr);
  for (const char16_t* detail : {u"Lines", u"Notes", u"Audit"}) links->add(u"Orders", detail);
  const Variant held = links->call(u"NewEnum_md");
  auto* e = dynamic_cast<Enumerator*>(held.objectValue());
  ASSERT_NE(e, nullptr);
  std::u16string seen;
  for (Variant v; e->next(v);) seen += toString(v.objectValue()->get(u"DetailTable")) + u";";
  EXPECT_EQ(seen, u"Lines;Notes;Audit;");
}

}  // namespace
}  // namespace vantorel
