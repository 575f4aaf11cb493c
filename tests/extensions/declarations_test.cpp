// Declaration files: the five fixed paths, names in any case where the format allows it, and
// fuzzed files.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "extensions/declarations.hpp"
#include "foundation/properties.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/xml/attributes.hpp"
#include "support/random_edits.hpp"

namespace vantorel {
namespace {

TEST(Declarations, FixedPathsTakeTheFirstMatchAndExactNames) {
  ExtensionDeclarations d;
  ASSERT_TRUE(
      d.loadText("<Root><project><attribute name=\"wrong case\"/></project>"
                 "<Project id=\"1\"><Table id=\"not below Database\"/>"
                 "<Database id=\"2\"><Table id=\"3\"><Field id=\"5\"/><Chart id=\"4\"/></Table>"
                 "<Table id=\"later\"/></Database></Project>"
                 "<Project id=\"second\"><Database id=\"second\"/></Project></Root>")
          .ok());
  struct Case {
    DeclarationLevel level;
    const char16_t* id;
  };
  const Case cases[] = {
      {DeclarationLevel::Project, u"1"}, {DeclarationLevel::Database, u"2"},
      {DeclarationLevel::Table, u"3"},   {DeclarationLevel::Chart, u"4"},
      {DeclarationLevel::Field, u"5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(xml::attributeText(d.node(c.level), "id"), c.id);
  }
  EXPECT_EQ(declarationLevelNamed(u"FIELD"), DeclarationLevel::Field);
  EXPECT_EQ(declarationLevelNamed(u"other"), DeclarationLevel::Project);

  ASSERT_TRUE(d.loadText("<Project><Database/></Project>").ok());
  EXPECT_FALSE(d.node(DeclarationLevel::Table));
  EXPECT_EQ(GetCondAttr(d.node(DeclarationLevel::Table)), u"");
}

TEST(Declarations, AttributeElementsInAnyCase) {
  ExtensionDeclarations d;
  ASSERT_TRUE(d.loadText("<Project Cond=\"proj/x/eq/1\" cond=\"second\">"
                         "<Attribute NAME=\"A\" TYPE=\"Boolean\" DEFAULT=\"1\" name=\"B\"/>"
                         "<attribute name=\"b\" default=\"again\"/>"
                         "<attributes name=\"Other\"/>text<!-- c --></Project>")
                  .ok());
  const xml::Node node = d.node(DeclarationLevel::Project);
  EXPECT_EQ(GetCondAttr(node), u"proj/x/eq/1");
  auto bag = makeRef<AGProperties>();
  bag->add(u"Kept", u"Integer");
  LoadAttributeDefs(*bag, node);
  // A repeated XML attribute overwrites; a name the bag holds in any case is left alone.
  EXPECT_TRUE(bag->exists(u"B"));
  EXPECT_FALSE(bag->exists(u"A"));
  EXPECT_EQ(bag->count(), 2);
  EXPECT_TRUE(toBool(*bag->findValue(u"B")));
  EXPECT_EQ(bag->record(*bag->slotOf(u"B")).dataType, u"Boolean");
  EXPECT_TRUE(bag->record(*bag->slotOf(u"B")).fileSave);
  EXPECT_TRUE(bag->record(*bag->slotOf(u"B")).sync);
  EXPECT_FALSE(bag->record(*bag->slotOf(u"B")).regSave);
}

// Random damage to a declaration file never raises, and whatever reads is declared sanely.
TEST(Declarations, FuzzedFilesNeverRaise) {
  const std::string good =
      "<Project cond=\"\"><attribute name=\"A\" type=\"Integer\" default=\"1\"/>"
      "<Database><attribute name=\"B\"/><Table><attribute name=\"C\" type=\"Boolean\" "
      "default=\"True\"/><Chart><attribute name=\"D\"/></Chart><Field><attribute "
      "name=\"E\" type=\"Double\" default=\"1.5\"/></Field></Table></Database></Project>";
  std::mt19937 random(1015);
  const DeclarationLevel levels[] = {DeclarationLevel::Project, DeclarationLevel::Database,
                                     DeclarationLevel::Table, DeclarationLevel::Chart,
                                     DeclarationLevel::Field};
  for (int round = 0; round < 400; ++round) {
    const std::string text = test::randomlyEdited(good, random, "<>&\"=/ a", 6);
    ExtensionDeclarations d;
    EXPECT_NO_THROW({
      if (d.loadText(text).ok()) {
        for (DeclarationLevel level : levels) {
          auto bag = makeRef<AGProperties>();
          LoadAttributeDefs(*bag, d.node(level));
          GetCondAttr(d.node(level));
          DeclaredDefault(d.node(level), u"A");
          bag->forEachSetting([](SettingSlot, const SettingRecord& r, const Variant&) {
            EXPECT_FALSE(r.name.empty());
          });
        }
      }
    }) << text;
  }
}

}  // namespace
}  // namespace vantorel
