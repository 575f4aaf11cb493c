#include <gtest/gtest.h>

#include <string>

#include "foundation/properties.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_access.hpp"
#include "foundation/setting_members.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "registry_test_support.hpp"

namespace vantorel {
namespace {

const SettingCatalog& sampleCatalog() {
  static const SettingCatalog catalog{
      {u"Name", u"String", false, 0, true, false},
      {u"Shown", u"Boolean", true, 1, true, true},
      {u"Width", u"Integer", true, 4, true, true},
      {u"Title", u"String", true, 1, false, true},
  };
  return catalog;
}

// A class whose settings are all generated from the catalog, with Name read only.
class Sample final : public Object {
 public:
  AGProperties& properties() { return *bag_; }
  const std::u16string& name() { return bag_->setting(0).stringValue(); }
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Sample", [](ClassInfo& c) {
      ClassBuilder<Sample>(c).settings<&Sample::properties>(sampleCatalog()).get<&Sample::name>(
          u"Name");
    });
    return info;
  }

 private:
  Ref<AGProperties> bag_ = makeRef<AGProperties>(sampleCatalog());
};

std::string order(AGProperties& bag) {
  std::string out;
  Ref<Enumerator> e = bag.newEnum();
  for (Variant v; e->next(v);) out += toUtf8(toString(v.objectValue()->get(u"Name"))) + " ";
  return out;
}

TEST(SettingCatalog, BagSharesDeclarationsAndKeepsPublicBehaviour) {
  auto bag = makeRef<AGProperties>(sampleCatalog());
  EXPECT_EQ(bag->count(), 4);
  EXPECT_EQ(order(*bag), "Name Shown Width Title ");
  EXPECT_FALSE(bag->add(u"WIDTH"));
  EXPECT_TRUE(bag->add(u"Extra", u"Long"));
  EXPECT_TRUE(bag->remove(u"shown"));
  EXPECT_FALSE(bag->exists(u"Shown"));
  // A deleted catalog row declared again goes last, like any new setting.
  EXPECT_TRUE(bag->add(u"Shown", u"Long"));
  EXPECT_EQ(order(*bag), "Name Width Title Extra Shown ");
  EXPECT_EQ(bag->item(u"shown")->dataType(), u"Long");
  EXPECT_EQ(bag->at(3)->name(), u"Extra");
  EXPECT_EQ(bag->count(), 5);

  // Editing a declaration through a view changes this bag only.
  bag->item(u"Title")->setFileSave(true);
  auto other = makeRef<AGProperties>(sampleCatalog());
  EXPECT_TRUE(bag->find(u"Title")->fileSave());
  EXPECT_FALSE(other->find(u"Title")->fileSave());

  bag->reset();
  EXPECT_EQ(order(*bag), "Name Shown Width Title ");
  EXPECT_FALSE(bag->find(u"Title")->fileSave());
}

TEST(SettingCatalog, ViewsOutliveDeletionAndWalksSurviveIt) {
  auto bag = makeRef<AGProperties>(sampleCatalog());
  Ref<AGProperty> width = bag->item(u"Width");
  width->setValue(Variant(std::int16_t{7}));
  // Deleting every setting while walking reaches every one (what clearing a project does).
  Ref<Enumerator> e = bag->newEnum();
  for (Variant v; e->next(v);) {
    EXPECT_TRUE(bag->remove(static_cast<AGProperty*>(v.objectValue())->name()));
  }
  EXPECT_EQ(bag->count(), 0);
  EXPECT_EQ(toLong(width->value()), 7);
  // The typed row access declares a deleted row again, as Item would.
  bag->setting(2) = Variant(std::int16_t{3});
  EXPECT_EQ(bag->count(), 1);
  EXPECT_EQ(toLong(bag->find(u"width")->value()), 3);
}

TEST(SettingCatalog, GeneratedAccessorsConvertByRowType) {
  auto s = makeRef<Sample>();
  struct Case {
    const char16_t* member;
    Variant written;
    VarType readType;
    std::u16string readText;
  };
  const Case cases[] = {
      {u"Shown", Variant(u"True"), VarType::Boolean, u"True"},
      {u"Width", Variant(12.4), VarType::Integer, u"12"},
      {u"Title", Variant(std::int32_t{5}), VarType::String, u"5"},
  };
  for (const Case& tc : cases) {
    s->let(tc.member, tc.written);
    Variant read = s->get(tc.member);
    EXPECT_EQ(read.type(), tc.readType) << toUtf8(tc.member);
    EXPECT_EQ(toString(read), tc.readText);
  }
  // Name was defined again as read only.
  EXPECT_THROW(s->let(u"Name", Variant(u"x")), AutomationError);
  // A stored text that is no number fails on reading and stays as it was.
  s->properties().item(u"Width")->setValue(Variant(u"wide"));
  EXPECT_THROW(s->get(u"Width"), AutomationError);
  EXPECT_EQ(toString(s->properties().find(u"Width")->value()), u"wide");
  EXPECT_THROW(s->let(u"Width", Variant(u"70000")), AutomationError);
}

TEST(SettingCatalog, GetVAndSetVDeclareUnknownNames) {
  auto bag = makeRef<AGProperties>(sampleCatalog());
  setSettingConverted(*bag, u"width", Variant(u"40"));
  EXPECT_EQ(bag->setting(2).type(), VarType::Integer);
  setSettingConverted(*bag, u"Custom", Variant(std::int32_t{9}));
  EXPECT_EQ(bag->find(u"Custom")->value().type(), VarType::Long);
  EXPECT_EQ(getSettingText(*bag, u"Width").stringValue(), u"40");
  EXPECT_EQ(getSettingText(*bag, u"Unknown").stringValue(), u"");
  Ref<AGProperty> unknown = bag->find(u"Unknown");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->dataType(), u"String");
  EXPECT_TRUE(unknown->fileSave() && unknown->sync());
  EXPECT_EQ(getSettingText(*bag, u"").stringValue(), u"");
}

class RegistryDefaultsTest : public test::RegistryTest {};

TEST_F(RegistryDefaultsTest, ReadsRegSaveRowsAndFollowsTheStore) {
  const std::u16string key = u"Software\\Test\\Sample";
  SetRegValue(u"HKCU", key, u"Shown", 1, Variant(u"True"));
  SetRegValue(u"HKCU", key, u"Name", 1, Variant(u"not a default"));
  struct Case {
    MissingDefault missing;
    const char* expected;  // Name Shown Width Title
  };
  const Case cases[] = {
      {MissingDefault::TypedZero, "[] [True] [0] []"},
      {MissingDefault::EmptyText, "[] [True] [] []"},
  };
  for (const Case& tc : cases) {
    auto bag = makeRef<AGProperties>(sampleCatalog());
    loadRegistryDefaults(*bag, key, tc.missing);
    std::string seen;
    bag->forEachSetting([&](SettingSlot, const SettingRecord&, const Variant& v) {
      seen += (seen.empty() ? "[" : " [") + toUtf8(toString(v)) + "]";
    });
    EXPECT_EQ(seen, tc.expected);
  }
  // A changed store is seen by the next object.
  SetRegValue(u"HKCU", key, u"Width", 4, Variant(std::int32_t{25}));
  auto bag = makeRef<AGProperties>(sampleCatalog());
  loadRegistryDefaults(*bag, key, MissingDefault::TypedZero);
  EXPECT_EQ(bag->setting(2).type(), VarType::Integer);
  EXPECT_EQ(toLong(bag->setting(2)), 25);
}

TEST_F(RegistryDefaultsTest, AScopeReadsTheStoreOnce) {
  const std::u16string key = u"Software\\Test\\Pinned";
  auto widthAfterCreation = [&] {
    auto bag = makeRef<AGProperties>(sampleCatalog());
    loadRegistryDefaults(*bag, key, MissingDefault::TypedZero);
    return toLong(bag->setting(2));
  };
  SetRegValue(u"HKCU", key, u"Width", 4, Variant(std::int32_t{1}));
  {
    RegistryDefaultsScope outer;
    EXPECT_EQ(widthAfterCreation(), 1);
    {
      RegistryDefaultsScope inner;
      SetRegValue(u"HKCU", key, u"Width", 4, Variant(std::int32_t{2}));
    }
    // The inner scope's end does not unpin the outer one.
    EXPECT_EQ(widthAfterCreation(), 1);
  }
  EXPECT_EQ(widthAfterCreation(), 2);
}

}  // namespace
}  // namespace vantorel
