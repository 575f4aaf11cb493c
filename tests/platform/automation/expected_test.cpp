#include "platform/automation/expected.hpp"

#include <gtest/gtest.h>

#include <string>

#include "platform/automation/automation_error.hpp"

namespace vantorel {
namespace {

Expected<std::u16string> nameOf(int id) {
  if (id < 0) return Failure{u"no such id", 5};
  return std::u16string(u"item");
}

TEST(Expected, HoldsTheValueOrTheFailure) {
  Expected<std::u16string> found = nameOf(1);
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(*found, u"item");
  EXPECT_EQ(found->size(), 4u);

  const Expected<std::u16string> missing = nameOf(-1);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.failure().text, u"no such id");
  EXPECT_EQ(missing.failure().number, 5);
}

// Asking a failed result for its value raises its failure, as the automation surface reports it.
TEST(Expected, AValueAskedOfAFailureRaises) {
  try {
    static_cast<void>(nameOf(-1).value());
    FAIL() << "no exception";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), u"no such id");
  }
  const Expected<> done;
  EXPECT_TRUE(done.ok());
  EXPECT_NO_THROW(done.value());
  const Expected<> refused = Failure{u"refused"};
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.failure().number, 0);
  EXPECT_THROW(refused.value(), AutomationError);
}

}  // namespace
}  // namespace vantorel
