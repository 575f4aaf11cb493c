#include "foundation/control_items.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "templates/template_classes.hpp"

namespace vantorel {
namespace {

std::u16string idsOf(AGControlItems& items) {
  std::u16string out;
  Ref<Enumerator> walk = items.newEnum();
  for (Variant v; walk->next(v);) {
    auto& item = static_cast<AGControlItem&>(*v.objectValue());
    out += item.ItemId() + u"=" + item.ItemFn() + (item.ItemGen() ? u"+" : u"-") + u" ";
  }
  return out;
}

TEST(ControlItemsTest, AddFindAndDelete) {
  registerTemplateClasses(ClassFactory::instance());
  Ref<Object> object = ClassFactory::instance().create(u"vantorel4.AGControlItems");
  auto& items = static_cast<AGControlItems&>(*object);
  struct Add {
    std::u16string id, fn;
    bool gen, added;
  };
  const std::vector<Add> adds = {
      {u"list", u"list.asp", true, true},    {u"", u"x.asp", true, false},
      {u"LIST", u"other.asp", false, false}, {u"edit", u"edit.asp", false, true},
      {u"1", u"one.asp", true, true},
  };
  for (const Add& a : adds) {
    EXPECT_EQ(
        toBool(object->call(u"Add", {Variant(a.id), Variant(a.fn), Variant(a.gen), Variant(u"r")})),
        a.added)
        << toUtf8(a.id);
  }
  EXPECT_EQ(toUtf8(idsOf(items)), "list=list.asp+ edit=edit.asp- 1=one.asp+ ");
  struct Lookup {
    Variant index;
    std::u16string id;  // "" for Nothing
  };
  const std::vector<Lookup> lookups = {
      {Variant(u"LIST"), u"list"},
      {Variant(std::int16_t{1}), u"list"},
      {Variant(std::int32_t{3}), u"1"},
      {Variant(u"1"), u"1"},
      {Variant(std::int32_t{0}), u""},
      {Variant(std::int32_t{4}), u""},
      {Variant(2.0), u"edit"},
      {Variant(std::uint8_t{2}), u"edit"},
      {Variant(true), u""},
      {Variant::date(2.0), u""},
      {Variant::null(), u""},
      {Variant(u""), u""},
  };
  for (const Lookup& l : lookups) {
    const Variant item = object->call(u"Item", {l.index});
    EXPECT_EQ(item.isNothing() ? u"" : toString(item.objectValue()->get(u"ItemId")), l.id)
        << toUtf8(toString(Variant(l.index.varType())));
  }
  EXPECT_TRUE(toBool(object->call(u"ItemExist", {Variant(u"Edit")})));
  EXPECT_FALSE(toBool(object->call(u"ItemExist", {Variant::null()})));
  EXPECT_FALSE(toBool(object->call(u"Delete", {Variant(u"nope")})));
  EXPECT_FALSE(toBool(object->call(u"Delete", {Variant(u"")})));
  EXPECT_TRUE(toBool(object->call(u"Delete", {Variant(u"LIST")})));
  EXPECT_EQ(toString(items.Item(Variant(std::int32_t{1}))->ItemId()), u"edit");
  EXPECT_EQ(items.Count(), 2);
  EXPECT_EQ(items.Item(Variant(u"edit"))->Key(), u"");
}

}  // namespace
}  // namespace vantorel
