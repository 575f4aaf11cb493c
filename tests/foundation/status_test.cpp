#include "foundation/status.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {
namespace {

using namespace std::chrono_literals;
using Kind = ui::RecordingBackend::Event::Kind;

class StatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::setBackendForTesting(rec);
    sys::setClockForTesting([this] { return now; });
    status = makeRef<AGPStatus>();
  }
  void TearDown() override {
    status.reset();
    sys::setClockForTesting(nullptr);
    ui::setBackendForTesting(nullptr);
  }
  std::vector<int> percents() const {
    std::vector<int> out;
    for (const auto& e : rec->events(Kind::Percent)) out.push_back(e.percent);
    return out;
  }

  std::shared_ptr<ui::RecordingBackend> rec = std::make_shared<ui::RecordingBackend>();
  sys::TimePoint now = sys::TimePoint{} + std::chrono::hours(24 * 365 * 40);
  Ref<AGPStatus> status;
};

TEST_F(StatusTest, MembersInInterfaceOrder) {
  const char16_t* expected[] = {u"DispStatus",  u"ShowStatus",        u"ShowStatus2",
                                u"ShowStatus3", u"StatusIsCancelled", u"CloseStatus",
                                u"SetStatus",   u"Refresh",           u"GetSysCode"};
  const auto& members = status->classInfo().members();
  ASSERT_EQ(members.size(), std::size(expected));
  for (std::size_t i = 0; i < members.size(); ++i) EXPECT_EQ(members[i].name, expected[i]);
}

TEST_F(StatusTest, CreationState) {
  EXPECT_EQ(status->dialogHandle(), 0);
  EXPECT_EQ(status->lastValue().type(), VarType::Integer);
  EXPECT_EQ(status->lastValue().integerValue(), 0);
  EXPECT_EQ(status->lastUpdate(), now);
}

TEST_F(StatusTest, LooksAndTextsReachTheDisplayByName) {
  struct Case {
    const char16_t* member;
    ui::ProgressLook look;
  } cases[] = {{u"ShowStatus", ui::ProgressLook::Standard},
               {u"ShowStatus2", ui::ProgressLook::Compact},
               {u"ShowStatus3", ui::ProgressLook::Cancellable}};
  for (const Case& c : cases) {
    rec->clearEvents();
    status->call(c.member, {Variant(std::int32_t{0}), Variant(u"App - Generating...")});
    EXPECT_GT(status->dialogHandle(), 0);
    status->call(u"DispStatus", {Variant(u"list.asp")});
    status->call(u"SetStatus", {Variant(42.5)});
    EXPECT_FALSE(toBool(status->call(u"StatusIsCancelled")));
    status->call(u"CloseStatus");
    auto ev = rec->events();
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[0].text, u"App - Generating...");
    EXPECT_EQ(ev[0].look, c.look);
    EXPECT_EQ(ev[1].text, u"list.asp");
    EXPECT_EQ(ev[2].percent, 42);
    EXPECT_EQ(ev[3].kind, Kind::Closed);
  }
}

TEST_F(StatusTest, PercentagesRoundHalfToEven) {
  status->ShowStatus(Variant(), Variant(u"c"));
  for (double v : {0.5, 1.5, 2.5, 99.5, 100.0}) status->SetStatus(Variant(v));
  EXPECT_EQ(percents(), (std::vector<int>{0, 2, 2, 100, 100}));
  EXPECT_EQ(status->lastValue().doubleValue(), 100.0);
}

TEST_F(StatusTest, SetStatusWithNothingOpenKeepsTheEarlierValue) {
  status->ShowStatus(Variant(), Variant(u"c"));
  status->SetStatus(Variant(std::int32_t{30}));
  sys::TimePoint setAt = now;
  status->CloseStatus();
  now += 5s;
  status->SetStatus(Variant(std::int32_t{50}));
  status->Refresh();  // nothing open: nothing sent
  EXPECT_EQ(percents(), (std::vector<int>{30}));
  EXPECT_EQ(status->lastValue().longValue(), 30);
  EXPECT_EQ(status->lastUpdate(), setAt);

  status->ShowStatus(Variant(), Variant(u"again"));
  status->Refresh();
  EXPECT_EQ(percents(), (std::vector<int>{30, 30}));
  EXPECT_EQ(status->lastUpdate(), now);
}

TEST_F(StatusTest, RefreshSendsAtMostOncePerSecond) {
  status->ShowStatus(Variant(), Variant(u"c"));
  status->SetStatus(Variant(std::int32_t{40}));
  struct Step {
    std::chrono::milliseconds advance;
    std::size_t sent;
  } steps[] = {{500ms, 1}, {400ms, 1}, {300ms, 2}, {100ms, 2}, {0ms, 2}, {800ms, 2}, {100ms, 3}};
  for (const Step& s : steps) {
    now += s.advance;
    status->Refresh();
    EXPECT_EQ(percents().size(), s.sent) << s.advance.count();
  }
  // A clock set back does not silence the display until it catches up.
  now -= 1h;
  status->Refresh();
  EXPECT_EQ(percents().size(), 4u);
}

TEST_F(StatusTest, CloseTwiceClosesOnce) {
  status->ShowStatus(Variant(), Variant(u"c"));
  status->CloseStatus();
  status->CloseStatus();
  EXPECT_EQ(rec->events(Kind::Closed).size(), 1u);
  EXPECT_EQ(status->dialogHandle(), 0);
}

TEST_F(StatusTest, StatusLinesOnlyWhileOpen) {
  status->DispStatus(Variant(u"nobody sees this"));
  status->ShowStatus(Variant(), Variant(u"c"));
  status->DispStatus(Variant(std::u16string()));
  status->DispStatus(Variant());
  auto lines = rec->events(Kind::Status);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, u"");
  EXPECT_EQ(lines[1].text, u"");
}

TEST_F(StatusTest, LongTextsAreShortenedNotRefused) {
  std::u16string longText(300, u'x');
  status->ShowStatus(Variant(), Variant(longText));
  status->DispStatus(Variant(std::u16string(255, u'y')));
  status->DispStatus(Variant(longText));
  auto ev = rec->events();
  ASSERT_EQ(ev.size(), 3u);
  EXPECT_EQ(ev[0].text, std::u16string(252, u'x') + u"...");
  EXPECT_EQ(ev[1].text, std::u16string(255, u'y'));
  EXPECT_EQ(ev[2].text.size(), 255u);

  // A surrogate pair straddling the cut is kept whole or not at all.
  std::u16string pairs = std::u16string(251, u'a') + u"\U0001F600" + std::u16string(10, u'b');
  EXPECT_EQ(limitStatusText(pairs), std::u16string(251, u'a') + u"...");
}

TEST_F(StatusTest, CancelAndReopen) {
  status->ShowStatus3(Variant(), Variant(u"c"));
  int first = status->dialogHandle();
  rec->cancel(first);
  EXPECT_TRUE(status->StatusIsCancelled());
  // Opening again closes the display whose handle would otherwise be lost.
  status->ShowStatus3(Variant(), Variant(u"d"));
  EXPECT_NE(status->dialogHandle(), first);
  EXPECT_FALSE(status->StatusIsCancelled());
  auto closed = rec->events(Kind::Closed);
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0].handle, first);
  status->CloseStatus();
  EXPECT_FALSE(status->StatusIsCancelled());
}

TEST_F(StatusTest, SystemCodeKeys) {
  struct Case {
    Variant key;
    const char16_t* startsWith;  // nullptr: empty
  } cases[] = {
      {Variant(u"VB"), u"' System functions"},
      {Variant(u"VL"), u"' Validation functions"},
      {Variant(u"VBS"), u"' System functions"},  // cut to two characters
      {Variant(u"V"), nullptr},                  // "V " names nothing
      {Variant(u""), nullptr},
      {Variant(u"vb"), nullptr},
      {Variant(std::int32_t{12}), nullptr},
  };
  for (const Case& c : cases) {
    Variant text = status->GetSysCode(c.key);
    ASSERT_TRUE(text.isString());
    if (!c.startsWith) {
      EXPECT_EQ(text.stringValue(), u"");
    } else {
      EXPECT_EQ(text.stringValue().rfind(c.startsWith, 0), 0u) << toString(c.key).size();
      EXPECT_NE(text.stringValue().front(), u'\uFEFF');
    }
  }
}

TEST_F(StatusTest, SharedInstancePerThread) {
  AGPStatus* here = &Status();
  EXPECT_EQ(here, &Status());
  AGPStatus* there = nullptr;
  std::thread([&] { there = &Status(); }).join();
  EXPECT_NE(here, there);
}

}  // namespace
}  // namespace vantorel
