// Long chains of the engine's objects, each link holding the next through a value (a setting's
// value, a table's bag, a dictionary's item), end without exhausting the stack when the last
// reference goes, whether C++ or a script built them. Each link holds a counted object that
// terminates once, in chain order, as a recursive release would.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "foundation/foundation_classes.hpp"
#include "foundation/properties.hpp"
#include "model/model_classes.hpp"
#include "model/model_test_support.hpp"
#include "model/table.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/engine.hpp"
#include "platform/vbscript/objects/script_objects.hpp"
#include "platform/vbscript/script_runtime.hpp"

namespace vantorel {
namespace {

struct Terminations {
  std::int32_t count = 0;
  std::int32_t outOfOrder = 0;
};

// Terminates with its place in the chain and holds the rest of the chain.
class CountedLink final : public Object {
 public:
  CountedLink(Terminations& log, std::int32_t place, Variant rest)
      : log_(log), place_(place), rest_(std::move(rest)) {}
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"CountedLink");
    return info;
  }

 protected:
  void terminate() noexcept override {
    ++log_.count;
    if (place_ != log_.count) ++log_.outOfOrder;
  }

 private:
  Terminations& log_;
  std::int32_t place_;
  Variant rest_;
};

// The engine object(s) of one link, holding `inner` as a value.
using Wrap = Variant (*)(const Variant& inner);

Variant inPropertyValue(const Variant& inner) {
  auto setting = makeRef<AGProperty>();
  setting->setValue(inner);
  return Variant(setting);
}

Variant inBagSetting(const Variant& inner) {
  auto bag = makeRef<AGProperties>();
  bag->item(u"Next")->setValue(inner);
  return Variant(bag);
}

Variant inTableBag(const Variant& inner) {
  auto table = makeRef<AGPTable>();
  table->properties().item(u"Next")->setValue(inner);
  return Variant(table);
}

Variant inDictionaryOfSetting(const Variant& inner) {
  Ref<Object> dictionary = vbs::createDictionary();
  dictionary->call(u"Add", {Variant(u"next"), inPropertyValue(inner)});
  return Variant(dictionary);
}

struct Chain {
  const char* name;
  std::int32_t links;
  Wrap wrap;
  const char16_t* scriptWrap;  // the script's body of Function Wrap(inner)
};

void PrintTo(const Chain& chain, std::ostream* out) {
  *out << chain.name;
}

const Chain kChains[] = {
    {"AGPropertyThroughValue", 60000, inPropertyValue,
     u"Set Wrap = CreateObject(\"vantorel4.AGProperty\")\nSet Wrap.Value = inner"},
    {"AGPropertiesThroughSetting", 300000, inBagSetting,
     u"Set b = CreateObject(\"vantorel4.AGProperties\")\n"
     u"Set b(\"Next\").Value = inner\nSet Wrap = b"},
    {"AGPTableThroughBag", 100000, inTableBag,
     u"Set Wrap = CreateObject(\"vantorel4.AGPTable\")\n"
     u"Set Wrap.Properties(\"Next\").Value = inner"},
    {"DictionaryAndAGProperty", 100000, inDictionaryOfSetting,
     u"Set p = CreateObject(\"vantorel4.AGProperty\")\nSet p.Value = inner\n"
     u"Set Wrap = CreateObject(\"Scripting.Dictionary\")\nWrap.Add \"next\", p"},
};

class LongChainReleaseTest : public test::ModelTest, public ::testing::WithParamInterface<Chain> {
 protected:
  void SetUp() override {
    test::ModelTest::SetUp();
    registerFoundationClasses(ClassFactory::instance());
    registerModelClasses(ClassFactory::instance());
    vbs::registerScriptRuntime(ClassFactory::instance());
  }
};

TEST_P(LongChainReleaseTest, BuiltInCxx) {
  const Chain& chain = GetParam();
  Terminations log;
  Variant head = Variant::nothing();
  for (std::int32_t place = chain.links; place >= 1; --place) {
    head = chain.wrap(Variant(makeRef<CountedLink>(log, place, std::move(head))));
  }
  ASSERT_EQ(log.count, 0);
  head.clear();
  EXPECT_EQ(log.count, chain.links);
  EXPECT_EQ(log.outOfOrder, 0);
}

// Builds the chain in `head`, each link a Counted instance wrapped by Wrap, and counts the
// terminations with the place of each.
std::u16string chainScript(const Chain& chain) {
  return u"Dim terminated, outOfOrder, head\n"
         u"Class Counted\n"
         u"  Public Place, Rest\n"
         u"  Private Sub Class_Terminate()\n"
         u"    terminated = terminated + 1\n"
         u"    If Place <> terminated Then outOfOrder = outOfOrder + 1\n"
         u"  End Sub\n"
         u"End Class\n"
         u"Function Wrap(inner)\n" +
         std::u16string(chain.scriptWrap) +
         u"\nEnd Function\n"
         u"terminated = 0\n"
         u"outOfOrder = 0\n"
         u"Set head = Nothing\n"
         u"Dim place, c\n"
         u"For place = " +
         fromAscii(std::to_string(chain.links)) +
         u" To 1 Step -1\n"
         u"  Set c = New Counted\n"
         u"  c.Place = place\n"
         u"  Set c.Rest = head\n"
         u"  Set head = Wrap(c)\n"
         u"Next\n"
         u"Set c = Nothing\n";
}

TEST_P(LongChainReleaseTest, BuiltByScript) {
  const Chain& chain = GetParam();
  vbs::Engine engine;
  vbs::Module script = engine.globalModule();
  script.addCode(chainScript(chain));
  ASSERT_EQ(toLong(script.eval(u"terminated")), 0);
  script.executeStatement(u"Set head = Nothing");
  EXPECT_EQ(toLong(script.eval(u"terminated")), chain.links);
  EXPECT_EQ(toLong(script.eval(u"outOfOrder")), 0);
}

INSTANTIATE_TEST_SUITE_P(Chains, LongChainReleaseTest, ::testing::ValuesIn(kChains),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantorel
