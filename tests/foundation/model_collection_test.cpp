#include "foundation/model_collection.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/class_info.hpp"

namespace vantorel {
namespace {

using Seq = std::optional<std::int16_t>;

// An item whose number may fail to read (nullopt), as a field's FldSeq can.
class Numbered final : public Object {
 public:
  Numbered(char name, Seq seq) : name(name), seq(seq) {}
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Numbered");
    return info;
  }
  char name;
  Seq seq;
};

Seq readSeq(Numbered& n) {
  return n.seq;
}

class Numbers final : public ModelCollection<Numbered> {
 public:
  explicit Numbers(const std::vector<Seq>& seqs) {
    char name = 'a';
    for (Seq s : seqs) append(makeRef<Numbered>(name++, s), {});
  }
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Numbers");
    return info;
  }

  std::string teardownOrder(EqualSeqs ties) const {
    std::string names;
    for (const Ref<Numbered>& n : highestSeqFirst(&readSeq, ties)) names += n->name;
    return names;
  }
  // The numbers after the gap `removed` leaves is closed, "-" for one that does not read.
  std::string closingGap(std::int16_t removed) const {
    closeSeqGap(removed, &readSeq, [](Numbered& n, std::int16_t s) { n.seq = lowerSeq(s); });
    std::string out;
    for (std::size_t i = 0; i < static_cast<std::size_t>(count()); ++i) {
      const Seq s = at(i).seq;
      out += s ? std::to_string(*s) + " " : "- ";
    }
    return out;
  }
  char withSeq(std::int16_t seq) const {
    const Numbered* n = firstWithSeq(seq, &readSeq);
    return n ? n->name : '0';
  }
};

TEST(ModelCollectionTest, TeardownMeetsTheHighestNumberFirstAndUnreadableOnesLast) {
  constexpr std::int16_t kBottom = -32768;
  struct Case {
    std::vector<Seq> seqs;  // of a, b, c, ... in position order
    std::string inPositionOrder;
    std::string lastFirst;
  };
  const Case cases[] = {
      {{}, "", ""},
      {{1, 2, 3}, "cba", "cba"},
      {{2, 2, 1}, "abc", "bac"},
      {{std::nullopt, 1, std::nullopt, 2}, "dbac", "dbca"},
      {{kBottom, std::nullopt, 0}, "cab", "cab"},
  };
  for (const Case& c : cases) {
    const Ref<Numbers> numbers = makeRef<Numbers>(c.seqs);
    EXPECT_EQ(numbers->teardownOrder(EqualSeqs::InPositionOrder), c.inPositionOrder);
    EXPECT_EQ(numbers->teardownOrder(EqualSeqs::LastFirst), c.lastFirst);
  }
}

TEST(ModelCollectionTest, ClosingAGapLowersOnlyReadableNumbersFromTheRemovedOneUp) {
  constexpr std::int16_t kBottom = -32768;
  const Ref<Numbers> numbers = makeRef<Numbers>(std::vector<Seq>{1, 3, std::nullopt, 2, kBottom});
  EXPECT_EQ(numbers->withSeq(2), 'd');
  EXPECT_EQ(numbers->closingGap(2), "1 2 - 1 -32768 ");
  EXPECT_EQ(numbers->withSeq(1), 'a');
  EXPECT_EQ(numbers->withSeq(3), '0');
  EXPECT_EQ(numbers->closingGap(kBottom), "0 1 - 0 -32768 ");
}

}  // namespace
}  // namespace vantorel
