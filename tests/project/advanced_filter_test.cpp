#include "project/advanced_filter.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "foundation/registry_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

const std::string kRoot = "HKEY_CURRENT_USER\\Software\\Vantorel\\4.0\\AdvancedFilters";

// The store section of one option, with an "Order" value when order is not empty.
std::string option(const std::string& group, const std::string& name, const std::string& order,
                   const std::string& evalString = {}) {
  return "[" + kRoot + "\\" + group + "\\" + name + "]\n" +
         (evalString.empty() ? "" : "\"EvalString\"=" + evalString + "\n") +
         (order.empty() ? "" : "\"Order\"=" + order + "\n") + "\n";
}

// The groups, then each option as "group:name=expression@order".
std::string listing(const AGPFilter& filter) {
  std::string out;
  for (std::int32_t g = 1; g <= filter.groupCount(); ++g) {
    out += toUtf8(filter.groupName(Variant(g))) + ";";
  }
  for (const FilterOption& o : filter.options()) {
    out += " " + toUtf8(o.GroupName + u":" + o.OptionName + u"=" + o.EvalString) + "@" +
           std::to_string(o.Order);
  }
  return out;
}

class AdvancedFilterTest : public test::RegistryTest {};

TEST_F(AdvancedFilterTest, LoadsGroupsAndOrdersOptions) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"[" + kRoot + "]\n", ""},
      {option("G", "a", "dword:0000001e", "\"x30\"") +
           option("G", "b", "dword:0000000a", "\"x10\"") + option("G", "c", "\"20\"", "\"x20\""),
       "G; G:b=x10@1 G:c=x20@2 G:a=x30@3"},
      {option("One", "only", "dword:00000063"), "One; One:only=@1"},
      {option("G", "first", "dword:00000005") + option("G", "second", "dword:00000005"),
       "G; G:first=@1 G:second=@2"},
      // Groups come sorted by name, an empty one keeps its place; a missing Order counts as 0.
      {"[" + kRoot + "\\Empty]\n" + option("zeta", "z", "", "\"Z\"") +
           option("Alpha", "late", "dword:00000002") + option("Alpha", "early", "\" 1 \"", "\"E\""),
       "Alpha;Empty;zeta; Alpha:early=E@1 Alpha:late=@2 zeta:z=Z@1"},
      {option("G", "n", "", "dword:00000007"), "G; G:n=7@1"},
  };
  for (const auto& [store, expected] : cases) {
    SCOPED_TRACE(store);
    spillStore(userFile(), store);
    AGPFilter filter;
    filter.load();
    EXPECT_EQ(listing(filter), expected);
  }
}

TEST_F(AdvancedFilterTest, LookupsNeverRaise) {
  spillStore(userFile(), option("Date", "Today", "dword:0000001e", "\"d=0\"") +
                             option("Date", "Week", "dword:0000000a", "\"d<7\"") +
                             option("Text", "Starts", "dword:00000001", "\"s\""));
  AGPFilter& filter = SharedFilter();
  filter.call(u"Load");
  EXPECT_EQ(toLong(filter.get(u"GroupCount")), 2);
  const Variant none;
  const std::vector<std::tuple<const char16_t*, Variant, Variant, std::u16string>> cases = {
      {u"GroupName", std::int32_t{0}, none, u""},
      {u"GroupName", std::int32_t{3}, none, u""},
      {u"GroupName", 0.4, none, u""},
      {u"GroupName", 1.5, none, u"Text"},
      {u"GroupName", u"1", none, u"Date"},
      {u"GroupName", u"one", none, u""},
      {u"GroupName", Variant::null(), none, u""},
      {u"OptionCount", u"dAtE", none, u"2"},
      {u"OptionCount", Variant::null(), none, u"0"},
      {u"OptionName", u"DATE", 1.0, u"Week"},
      {u"OptionName", u"Date", u"2", u"Today"},
      {u"OptionName", u"Date", 30.0, u""},
      {u"OptionName", u"Date", 1.5, u""},
      {u"OptionName", u"Date", u"x", u""},
      {u"Expression", u"text", 1.0, u"s"},
      {u"Expression", u"Date", none, u""},
      {u"Expression", u"Other", 1.0, u""},
  };
  int row = 0;
  for (const auto& [member, group, order, expected] : cases) {
    SCOPED_TRACE(row++);
    const Variant r = order.isEmpty() && std::u16string(member) != u"Expression"
                          ? filter.call(member, {group})
                          : filter.call(member, {group, order});
    EXPECT_EQ(toString(r), expected);
  }
  spillStore(userFile(), "");
  filter.load();
  EXPECT_EQ(filter.groupCount(), 0);
  EXPECT_EQ(filter.optionName(Variant(u"Date"), Variant(1.0)), u"");
}

TEST_F(AdvancedFilterTest, BadOrderRaisesNamingTheOption) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"\"soon\"", vberr::kTypeMismatch},
      {"\"\"", vberr::kTypeMismatch},
      {"hex:01,02", vberr::kTypeMismatch},
      {"\"1e12\"", vberr::kOverflow},
  };
  for (const auto& [order, error] : cases) {
    SCOPED_TRACE(order);
    spillStore(userFile(), option("A", "ok", "dword:00000001") + option("B", "bad", order) +
                               option("C", "later", "dword:00000001"));
    AGPFilter filter;
    try {
      filter.load();
      ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), error);
      EXPECT_NE(toUtf8(e.description()).find("B\\bad"), std::string::npos);
    }
    // Every group was counted; only the group completed before holds options.
    EXPECT_EQ(listing(filter), "A;B;; A:ok=@1");
  }
}

TEST_F(AdvancedFilterTest, MangledStoresGiveCleanErrors) {
  const std::string valid = "Windows Registry Editor Version 5.00\n\n" +
                            option("Date", "Today", "dword:00000001", "\"a \\\"b\\\"\"") +
                            option("Text", "Has", "\"2\"", "\"x\"");
  std::mt19937 random(7);
  for (int round = 0; round < 150; ++round) {
    std::string text = valid;
    for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
      const char pick[] = "[]\\\"=:\n,x0";
      text[random() % text.size()] =
          random() % 3 ? pick[random() % (sizeof pick - 1)] : static_cast<char>(random());
    }
    test::writeFile(userFile(), text);
    AGPFilter filter;
    try {
      filter.load();
    } catch (const AutomationError&) {
    }
    EXPECT_LE(filter.groupCount(), 3);
  }
}

TEST_F(AdvancedFilterTest, ShippedDefinitionsLoad) {
  // The machine-wide definitions as the first run copies them to the user.
  std::string text = test::readFile(std::string(VANTOREL_DATA_DIR) + "/machine.reg");
  for (std::size_t at; (at = text.find("HKEY_LOCAL_MACHINE")) != std::string::npos;) {
    text.replace(at, 18, "HKEY_CURRENT_USER");
  }
  test::writeFile(userFile(), text);
  AGPFilter filter;
  filter.load();
  ASSERT_EQ(filter.groupCount(), 2);
  EXPECT_EQ(filter.optionName(Variant(u"Date"), Variant(1.0)), u"Today");
  EXPECT_EQ(filter.optionCount(Variant(u"Text")), 5);
  EXPECT_EQ(filter.expression(Variant(u"Text"), Variant(3.0)),
            u"fld & \" LIKE '%\" & val & \"%'\"");
}

TEST_F(AdvancedFilterTest, SharedFilterIsPerThread) {
  AGPFilter* there = nullptr;
  std::thread([&] { there = &SharedFilter(); }).join();
  EXPECT_EQ(&SharedFilter(), &SharedFilter());
  EXPECT_NE(&SharedFilter(), there);
}

}  // namespace
}  // namespace vantorel
