#include "foundation/properties.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

std::string flags(const AGProperty& p) {
  return toUtf8(p.name()) + " " + toUtf8(p.dataType()) + " reg=" + (p.regSave() ? "1" : "0") +
         " fmt=" + std::to_string(p.regFormat()) + " file=" + (p.fileSave() ? "1" : "0") +
         " sync=" + (p.sync() ? "1" : "0");
}

std::string names(AGProperties& bag) {
  std::string out;
  Ref<Enumerator> e = bag.newEnum();
  for (Variant v; e->next(v);) {
    out += toUtf8(static_cast<AGProperty*>(v.objectValue())->name()) + " ";
  }
  return out;
}

TEST(Properties, AddDeclaresWithDefaults) {
  struct Case {
    std::vector<Variant> args;
    bool result;
    std::string declared;
  };
  const Case cases[] = {
      {{Variant(u"Plain")}, true, "Plain String reg=0 fmt=0 file=1 sync=1"},
      {{Variant(u"Full"), Variant(u"Long"), Variant(true), Variant(std::int32_t{4}), Variant(false),
        Variant(false)},
       true,
       "Full Long reg=1 fmt=4 file=0 sync=0"},
      {{Variant(u"Gaps"), Variant::missing(), Variant(true), Variant::missing(), Variant(false)},
       true,
       "Gaps String reg=1 fmt=0 file=0 sync=1"},
      {{Variant(u"")}, false, ""},
  };
  for (const Case& tc : cases) {
    auto bag = makeRef<AGProperties>();
    std::vector<Variant*> args;
    std::vector<Variant> values = tc.args;
    for (Variant& v : values) args.push_back(&v);
    Variant result = invokeByName(*bag, u"Add", kInvokeMethod, CallArgs(args));
    SCOPED_TRACE(tc.declared);
    EXPECT_EQ(result.type(), VarType::Boolean);
    EXPECT_EQ(result.boolValue(), tc.result);
    EXPECT_EQ(bag->count(), tc.result ? 1 : 0);
    if (tc.result) {
      EXPECT_EQ(flags(*bag->find(toString(tc.args[0]))), tc.declared);
    }
  }
}

TEST(Properties, NamesIgnoreCase) {
  Ref<AGProperties> hold = makeRef<AGProperties>();
  AGProperties& bag = *hold;
  EXPECT_TRUE(bag.add(u"TblName", u"String", true, 1, true, false));
  EXPECT_FALSE(bag.add(u"TBLNAME", u"Long"));
  EXPECT_EQ(flags(*bag.find(u"tblname")), "TblName String reg=1 fmt=1 file=1 sync=0");
  EXPECT_TRUE(bag.exists(u"tblNAME"));
  EXPECT_EQ(bag.count(), 1);
  EXPECT_EQ(bag.find(u"Other"), nullptr);
}

TEST(Properties, ItemDeclaresAnUndeclaredName) {
  auto bag = makeRef<AGProperties>();
  bag->add(u"Known", u"Long");
  struct Case {
    const char* label;
    Variant index;
    std::string declared;  // "" when Item gives Nothing
    std::int32_t countAfter;
  };
  const Case cases[] = {
      {"known, other case", Variant(u"KNOWN"), "Known Long reg=0 fmt=0 file=1 sync=1", 1},
      {"new name", Variant(u"Fresh"), "Fresh String reg=0 fmt=0 file=1 sync=1", 2},
      {"number is its digits", Variant(std::int32_t{5}), "5 String reg=0 fmt=0 file=1 sync=1", 3},
      {"Null has no text", Variant::null(), "", 3},
      {"empty name", Variant(u""), "", 3},
      {"object without a default value", Variant(makeRef<AGProperty>()), "", 3},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Ref<AGProperty> p = bag->item(tc.index);
    EXPECT_EQ(p ? flags(*p) : "", tc.declared);
    EXPECT_EQ(bag->count(), tc.countAfter);
  }
  EXPECT_TRUE(toBool(bag->get(u"PropertyExist", {Variant(u"fresh")})));
  EXPECT_TRUE(bag->find(u"Fresh")->value().isEmpty());
}

TEST(Properties, DeleteAndOrder) {
  auto bag = makeRef<AGProperties>();
  for (const char16_t* n : {u"One", u"Two", u"Three", u"Four"}) bag->add(n);
  struct Case {
    Variant index;
    bool result;
  };
  const Case cases[] = {
      {Variant(u""), false}, {Variant(u"Nine"), false}, {Variant::null(), false},
      {Variant(), false},    {Variant(u"TWO"), true},   {Variant(u"two"), false},
  };
  for (const Case& tc : cases) {
    Variant r = bag->call(u"Delete", {tc.index});
    EXPECT_EQ(r.type(), VarType::Boolean);
    EXPECT_EQ(r.boolValue(), tc.result);
  }
  EXPECT_EQ(bag->count(), 3);
  EXPECT_EQ(names(*bag), "One Three Four ");
  bag->add(u"Two");
  EXPECT_EQ(names(*bag), "One Three Four Two ");
  EXPECT_EQ(bag->at(1)->name(), u"Three");
}

// For Each walked a snapshot: a setting deleted during the walk was still yielded and one added
// was missed. The walk now follows the bag as the keyed collection's walk follows its items.
TEST(Properties, ForEachSeesChangesMadeDuringTheWalk) {
  struct Case {
    const char* label;
    std::function<void(AGProperties&, const std::u16string&)> body;
    std::string yielded;
  };
  const Case cases[] = {
      {"plain", nullptr, "A B C D "},
      {"delete ahead and add while at the first",
       [](AGProperties& bag, const std::u16string& at) {
         if (at == u"A") {
           bag.remove(u"C");
           bag.add(u"E");
         }
       },
       "A B D E "},
      {"delete the current one",
       [](AGProperties& bag, const std::u16string& at) {
         if (at == u"B") bag.remove(u"B");
       },
       "A B C D "},
      {"delete one already walked",
       [](AGProperties& bag, const std::u16string& at) {
         if (at == u"C") bag.remove(u"A");
       },
       "A B C D "},
      {"add at the last step",
       [](AGProperties& bag, const std::u16string& at) {
         if (at == u"D") bag.add(u"E");
       },
       "A B C D E "},
      {"delete the last and add",
       [](AGProperties& bag, const std::u16string& at) {
         if (at == u"B") {
           bag.remove(u"D");
           bag.add(u"F");
         }
       },
       "A B C F "},
  };
  for (const Case& tc : cases) {
    auto bag = makeRef<AGProperties>();
    for (const char16_t* n : {u"A", u"B", u"C", u"D"}) bag->add(n);
    std::string out;
    Ref<Enumerator> e = bag->newEnum();
    for (Variant v; e->next(v);) {
      const std::u16string name = static_cast<AGProperty*>(v.objectValue())->name();
      out += toUtf8(name) + " ";
      if (tc.body) tc.body(*bag, name);
    }
    EXPECT_EQ(out, tc.yielded) << tc.label;
  }
}

TEST(Properties, ValueIsKeptAsAssigned) {
  auto bag = makeRef<AGProperties>();
  bag->add(u"Size", u"Long");
  Ref<AGProperty> held = bag->item(u"Size");
  Object& p = *held;
  p.let(u"Value", Variant(u"5"));
  Variant v = p.get(u"Value");
  EXPECT_EQ(v.type(), VarType::String);
  EXPECT_EQ(v.stringValue(), u"5");
  // Key and Name are one field.
  p.let(u"Key", Variant(u"Width"));
  EXPECT_EQ(toString(p.get(u"Name")), u"Width");
}

TEST(Properties, LateBoundThroughTheMemberTable) {
  auto bag = makeRef<AGProperties>();
  EXPECT_TRUE(toBool(bag->call(u"Add", {Variant(u"Alpha"), Variant(u"Boolean")})));
  EXPECT_FALSE(toBool(bag->call(u"add", {Variant(u"ALPHA")})));
  bag->call(u"Add", {Variant(u"Beta")});
  EXPECT_EQ(toLong(bag->get(u"Count")), 2);

  // The default member is Item: Properties("alpha").Value = True.
  Variant name(u"alpha");
  Variant* args[] = {&name};
  Variant item = bag->invoke(kDispIdValue, kInvokeGet, CallArgs(args));
  ASSERT_TRUE(item.isObject());
  item.objectValue()->let(u"Value", Variant(true));
  EXPECT_TRUE(bag->find(u"Alpha")->value().boolValue());
  EXPECT_EQ(toString(item.objectValue()->get(u"DataType")), u"Boolean");

  Variant e = bag->get(u"NewEnum_prp");
  ASSERT_TRUE(e.isObject());
  auto* walker = dynamic_cast<Enumerator*>(e.objectValue());
  ASSERT_NE(walker, nullptr);
  std::string seen;
  for (Variant v; walker->next(v);) seen += toUtf8(toString(v.objectValue()->get(u"Name"))) + " ";
  EXPECT_EQ(seen, "Alpha Beta ");
}

}  // namespace
}  // namespace vantorel
