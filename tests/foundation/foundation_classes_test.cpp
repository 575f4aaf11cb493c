#include <gtest/gtest.h>

#include "foundation/foundation_classes.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {
namespace {

TEST(FoundationClasses, PublicClassesAreCreatableByProgIdAndReachableByName) {
  ClassFactory& factory = ClassFactory::instance();
  registerFoundationClasses(factory);

  const char16_t* classes[] = {u"AGProperty", u"AGProperties", u"AGPStringBuilder",
                               u"AGPKeyword", u"AGPSettings",  u"AGPStatus"};
  for (const char16_t* name : classes) {
    Ref<Object> o = factory.create(std::u16string(u"VANTOREL4.") + name);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->typeName(), name);
  }

  Ref<Object> builder = factory.create(u"vantorel4.AGPStringBuilder");
  builder->call(u"append", {Variant(u"a")});
  builder->call(u"APPEND", {Variant(42)});
  EXPECT_EQ(toString(builder->call(u"ToString")), u"a42");

  Ref<Object> bag = factory.create(u"vantorel4.AGProperties");
  bag->call(u"Add", {Variant(u"TblName"), Variant(u"String")});
  Ref<Object> setting(bag->get(u"Item", {Variant(u"tblname")}).objectValue());
  setting->let(u"Value", Variant(u"Orders"));
  // The default member of the bag is Item.
  Variant key(u"TBLNAME");
  Variant* args[] = {&key};
  Variant viaDefault = bag->invoke(kDispIdValue, kInvokeGet, CallArgs(args));
  EXPECT_EQ(toString(viaDefault.objectValue()->get(u"Value")), u"Orders");
}

}  // namespace
}  // namespace vantorel
