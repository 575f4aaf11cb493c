#include "project/language.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

Ref<Object> toObject(const Variant& v) {
  EXPECT_EQ(v.type(), VarType::Object);
  return Ref<Object>(v.objectValue());
}

// Calls a member by name with the arguments "a|b|c".
Variant call(Object& o, std::u16string_view member, std::u16string_view args) {
  std::vector<Variant> values;
  for (const std::u16string& a : split(args, u"|")) values.emplace_back(a);
  if (args.empty()) values.emplace_back(u"");
  std::vector<Variant*> pointers;
  for (Variant& v : values) pointers.push_back(&v);
  return invokeByName(o, member, kInvokeMethod | kInvokeGet, CallArgs(pointers));
}

// A table kind's records through its Count and Item members, as "f1/f2/...=phrase;".
std::u16string dump(Object& o, const std::u16string& kind) {
  std::u16string out;
  const std::int32_t n = toLong(o.get(kind + u"Count"));
  for (std::int32_t i = 1; i <= n; ++i) {
    Ref<Object> record = toObject(o.get(kind + u"Item", {i}));
    for (const auto& member : record->classInfo().members()) {
      out += toString(record->get(member.name)) + (member.name == u"Phrase" ? u";" : u"/");
    }
  }
  return out;
}

TEST(LanguageTest, PhraseTablesThroughTheMemberTable) {
  struct Step {
    std::u16string member, args;
    std::u16string result;  // of the call, as text
    std::u16string kind;    // the table whose records follow
    std::u16string records;
  };
  const std::vector<Step> steps = {
      {u"SetTablePhrase", u"en|Orders|Caption|Orders", u"", u"Table", u"en/Orders/Caption/Orders;"},
      {u"SetTablePhrase", u"en|Orders|Caption|All", u"", u"Table", u"en/Orders/Caption/All;"},
      {u"GetTablePhrase", u"en|orders|Caption", u"", u"Table", u"en/Orders/Caption/All;"},
      {u"GetTablePhrase", u"en|Orders|Caption", u"All", u"Table", u"en/Orders/Caption/All;"},
      // Keys whose fields only join to the same text stay apart; empty fields are kept.
      {u"SetTablePhrase", u"en|Or|dersCaption|x", u"", u"Table",
       u"en/Orders/Caption/All;en/Or/dersCaption/x;"},
      {u"SetTablePhrase", u"|||", u"", u"Table", u"en/Orders/Caption/All;en/Or/dersCaption/x;///;"},
      {u"HasTablePhrase", u"caption", u"False", u"Project", u""},
      {u"SetMenuPhrase", u"en|1|Text|Home", u"", u"Menu", u"en/1/Text/Home;"},
      {u"SetMenuPhrase", u"de|1|Tip|Start", u"", u"Menu", u"en/1/Text/Home;de/1/Tip/Start;"},
      {u"SetMenuPhrase", u"de|2|Text|Kunden", u"", u"Menu",
       u"en/1/Text/Home;de/1/Tip/Start;de/2/Text/Kunden;"},
      {u"SetMenuPhrase", u"en|3|Tip|Go", u"", u"Menu",
       u"en/1/Text/Home;de/1/Tip/Start;de/2/Text/Kunden;en/3/Tip/Go;"},
      {u"HasMenuPhrase", u"Text", u"True", u"Menu",
       u"en/1/Text/Home;de/1/Tip/Start;de/2/Text/Kunden;en/3/Tip/Go;"},
      {u"ResetMenuPhrase", u"Text", u"", u"Menu", u"de/1/Tip/Start;en/3/Tip/Go;"},
      // After a removal the remaining keys are still found, so Set replaces.
      {u"SetMenuPhrase", u"en|3|Tip|Go!", u"", u"Menu", u"de/1/Tip/Start;en/3/Tip/Go!;"},
      {u"DeleteMenuPhrase", u"1", u"", u"Menu", u"en/3/Tip/Go!;"},
      {u"SetChartPhrase", u"en|Orders|ByMonth|Caption|M", u"", u"Chart",
       u"en/Orders/ByMonth/Caption/M;"},
      {u"SetChartPhrase", u"de|Orders|ByMonth|Title|T", u"", u"Chart",
       u"en/Orders/ByMonth/Caption/M;de/Orders/ByMonth/Title/T;"},
      {u"SetChartPhrase", u"en|Orders|ByYear|Caption|Y", u"", u"Chart",
       u"en/Orders/ByMonth/Caption/M;de/Orders/ByMonth/Title/T;en/Orders/ByYear/Caption/Y;"},
      {u"SetFieldPhrase", u"en|Orders|ByMonth|Caption|F", u"", u"Field",
       u"en/Orders/ByMonth/Caption/F;"},
      {u"DeleteChartPhrase", u"Orders|ByMonth", u"", u"Chart", u"en/Orders/ByYear/Caption/Y;"},
      // The chart's delete left the table's and the field's records alone.
      {u"GetFieldPhrase", u"en|Orders|ByMonth|Caption", u"F", u"Table",
       u"en/Orders/Caption/All;en/Or/dersCaption/x;///;"},
      {u"DeleteTablePhrase", u"Orders", u"", u"Chart", u"en/Orders/ByYear/Caption/Y;"},
      {u"DeleteFieldPhrase", u"Orders|ByMonth", u"", u"Field", u""},
      {u"SetProjectPhrase", u"en|Title|Shop", u"", u"Project", u"en/Title/Shop;"},
      {u"SetProjectPhrase", u"de|Title|Laden", u"", u"Project", u"en/Title/Shop;de/Title/Laden;"},
      {u"GetProjectPhrase", u"de|Title", u"Laden", u"Project", u"en/Title/Shop;de/Title/Laden;"},
      {u"ResetProjectPhrase", u"Title", u"", u"Project", u""},
      {u"HasProjectPhrase", u"Title", u"False", u"Project", u""},
  };
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  for (const Step& s : steps) {
    SCOPED_TRACE(toUtf8(s.member + u" " + s.args));
    EXPECT_EQ(toString(call(*lang, s.member, s.args)), s.result);
    EXPECT_EQ(dump(*lang, s.kind), s.records);
  }
}

TEST(LanguageTest, ItemsOutsideTheTableAreEmptyRecords) {
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  EXPECT_EQ(lang->ChartItem(0), AGChartPhrase{});
  EXPECT_EQ(lang->ChartItem(1), AGChartPhrase{});
  lang->SetChartPhrase(u"en", u"T", u"C", u"A", u"P");
  EXPECT_EQ(lang->ChartItem(lang->ChartCount() + 1), AGChartPhrase{});
  EXPECT_EQ(lang->ChartItem(-5), AGChartPhrase{});
  // Scripts get a copy: changing it leaves the table as it is.
  Ref<Object> record = toObject(lang->get(u"ChartItem", {1}));
  EXPECT_EQ(record->typeName(), u"AGChartPhrase");
  record->let(u"Phrase", u"changed");
  EXPECT_EQ(toString(record->get(u"phrase")), u"changed");
  EXPECT_EQ(lang->GetChartPhrase(u"en", u"T", u"C", u"A"), u"P");
  EXPECT_EQ(toString(toObject(lang->get(u"ChartItem", {0}))->get(u"ChartName")), u"");
  EXPECT_EQ(toLong(lang->get(u"curIndex")), 0);
}

TEST(LanguageTest, PhraseListComparesIdsWithoutCase) {
  struct Step {
    std::u16string member, args, result;
    std::int32_t count;
  };
  const std::vector<Step> steps = {
      {u"AddPhrase", u"Save|Save", u"True", 1},
      {u"AddPhrase", u"SAVE|Store", u"False", 1},
      {u"Phrase", u"save", u"Save", 1},
      {u"ReplacePhrase", u"sAvE|Keep", u"True", 1},
      {u"Phrase", u"Save", u"Keep", 1},
      {u"ReplacePhrase", u"Delete|Remove", u"False", 1},
      {u"Phrase", u"Delete", u"", 1},
      {u"AddPhrase", u"\u00C4ndern|Edit", u"True", 2},
      {u"Phrase", u"\u00E4ndern", u"Edit", 2},
      {u"AddPhrase", u"|empty", u"True", 3},
      {u"Phrase", u"", u"empty", 3},
  };
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  for (const Step& s : steps) {
    SCOPED_TRACE(toUtf8(s.member + u" " + s.args));
    EXPECT_EQ(toString(call(*lang, s.member, s.args)), s.result);
    EXPECT_EQ(lang->Count(), s.count);
  }
}

TEST(LanguageTest, FullPhraseListRefusesANewIdWithOverflow) {
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  for (std::int32_t i = 0; i < PhraseList::kCapacity; ++i) {
    ASSERT_TRUE(lang->AddPhrase(u"id" + toU16(i), u"p"));
  }
  try {
    lang->AddPhrase(u"one more", u"p");
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), vberr::kOverflow);
  }
  EXPECT_EQ(lang->Count(), PhraseList::kCapacity);
  EXPECT_FALSE(lang->AddPhrase(u"ID0", u"q"));
  EXPECT_TRUE(lang->ReplacePhrase(u"id32766", u"last"));
  EXPECT_EQ(lang->Phrase(u"ID32766"), u"last");
  EXPECT_EQ(lang->Phrase(u"missing"), u"");
}

TEST(LanguageTest, CheckpointRestoresPhrasesButNotFiles) {
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  lang->SetProjectPhrase(u"en", u"Title", u"Shop");
  lang->RestoreCheckPoint();  // nothing saved yet: empties everything
  EXPECT_EQ(lang->ProjectCount(), 0);

  lang->AddPhrase(u"a", u"1");
  lang->SetProjectPhrase(u"en", u"Title", u"Shop");
  lang->SetMenuPhrase(u"en", u"1", u"Text", u"Home");
  lang->SetTablePhrase(u"en", u"T", u"Caption", u"T");
  lang->SetChartPhrase(u"en", u"T", u"C", u"Caption", u"C");
  lang->SetFieldPhrase(u"en", u"T", u"F", u"Caption", u"F");
  lang->SaveCheckPoint();
  const PhraseList::Entry savedEntry{u"a", u"1"};

  lang->AddPhrase(u"b", u"2");
  lang->ReplacePhrase(u"a", u"changed");
  lang->SetProjectPhrase(u"en", u"Title", u"Other");
  lang->DeleteMenuPhrase(u"1");
  lang->SetTablePhrase(u"de", u"T", u"Caption", u"T");
  lang->ResetChartPhrase(u"Caption");
  lang->DeleteFieldPhrase(u"T", u"F");
  lang->call(u"InitSettings");
  EXPECT_EQ(lang->MenuCount(), 0);

  for (int round = 0; round < 2; ++round) {
    lang->RestoreCheckPoint();
    EXPECT_EQ(lang->phraseEntries(), std::vector<PhraseList::Entry>{savedEntry});
    EXPECT_EQ(lang->Phrase(u"A"), u"1");
    EXPECT_EQ(lang->ProjectItem(1), (AGProjectPhrase{u"en", u"Title", u"Shop"}));
    EXPECT_EQ(lang->MenuItem(1), (AGMenuPhrase{u"en", u"1", u"Text", u"Home"}));
    EXPECT_EQ(lang->TableCount(), 1);
    EXPECT_EQ(lang->ChartItem(1), (AGChartPhrase{u"en", u"T", u"C", u"Caption", u"C"}));
    EXPECT_EQ(lang->FieldItem(1), (AGFieldPhrase{u"en", u"T", u"F", u"Caption", u"F"}));
    lang->SetMenuPhrase(u"en", u"1", u"Text", u"changed after restore");
  }
}

TEST(LanguageTest, SharedPerThreadAndCreatableByProgId) {
  AGPLanguage* mine = &SharedLanguage();
  EXPECT_EQ(&SharedLanguage(), mine);
  AGPLanguage* other = nullptr;
  std::thread([&] { other = &SharedLanguage(); }).join();
  EXPECT_NE(other, mine);

  ClassFactory& factory = ClassFactory::instance();
  registerProjectLanguageClasses(factory);
  Ref<Object> created = factory.create(u"Vantorel4.AGPLanguage");
  EXPECT_EQ(created->typeName(), u"AGPLanguage");
  EXPECT_EQ(created->call(u"ResetFiles").type(), VarType::Empty);
}

}  // namespace
}  // namespace vantorel
