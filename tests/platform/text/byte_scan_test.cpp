#include "platform/text/byte_scan.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace vantorel {
namespace {

// Random texts over a few bytes, searched from every place: both scans find what a byte-by-byte
// search finds, and the odd count agrees with counting.
TEST(ByteScan, AgreesWithAByteByByteSearch) {
  std::mt19937 random(7);
  const std::string alphabet = "ab\"'>\x80\xff\x1f\x7f ";
  for (int round = 0; round < 300; ++round) {
    std::string text(random() % 70, 'a');
    for (char& c : text) {
      if (random() % 4 == 0) c = alphabet[random() % alphabet.size()];
    }
    for (std::size_t from = 0; from <= text.size(); ++from) {
      const std::size_t expected = std::min(text.find_first_of("'>", from), text.size());
      SCOPED_TRACE(testing::Message() << "\"" << text << "\" from " << from);
      EXPECT_EQ((scan::findFirstOf<'\'', '>'>(text.data(), from, text.size())), expected);
      EXPECT_EQ((scan::findFirstOfByWords<'\'', '>'>(text.data(), from, text.size())), expected);
      EXPECT_EQ(scan::findFirstOf<'\x80'>(text.data(), from, text.size()),
                std::min(text.find('\x80', from), text.size()));
      std::size_t printable = from;
      while (printable < text.size() && static_cast<unsigned char>(text[printable]) >= 0x20 &&
             static_cast<unsigned char>(text[printable]) < 0x80) {
        ++printable;
      }
      EXPECT_EQ(scan::printableAsciiEnd(text.data(), from, text.size()), printable);
      bool odd = false;
      EXPECT_EQ((scan::findFirstOfCountingOdd<'"', '\'', '>'>(text.data(), from, text.size(), odd)),
                expected);
      EXPECT_EQ(odd, std::count(text.begin() + static_cast<std::ptrdiff_t>(from),
                                text.begin() + static_cast<std::ptrdiff_t>(expected), '"') %
                             2 !=
                         0);
    }
  }
}

}  // namespace
}  // namespace vantorel
