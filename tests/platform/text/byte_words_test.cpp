#include "platform/text/byte_words.hpp"

#include <gtest/gtest.h>

#include <string>

namespace vantorel {
namespace {

// Every byte value at every place among ordinary letters, against the test one byte at a time.
TEST(ByteWords, TestsAgreeWithBytes) {
  for (int place = 0; place < 8; ++place) {
    for (int value = 0; value < 256; ++value) {
      std::string bytes = "abcdefgh";
      bytes[static_cast<std::size_t>(place)] = static_cast<char>(value);
      const std::uint64_t w = words::load(bytes.data());
      SCOPED_TRACE(testing::Message() << "byte " << value << " at " << place);
      EXPECT_EQ(words::hasByteBelow(w, 1), value == 0);
      EXPECT_EQ(words::hasByteBelow(w, 0x20), value < 0x20);
      EXPECT_EQ(words::allPrintableAscii(w), value >= 0x20 && value < 0x80);
    }
  }
  // Neighbours of a low byte neither hide nor fake one.
  EXPECT_TRUE(words::hasByteBelow(words::load("\x01\x20\x01\x20\xff\xff\xff\xff"), 0x20));
  EXPECT_FALSE(words::hasByteBelow(words::load("\x20\x21\xbe\x3e\x7f\x7f\x20\x7e"), 0x20));
  EXPECT_TRUE(words::allPrintableAscii(words::load("        \x1f")));  // the ninth is not read
  EXPECT_TRUE(words::allPrintableAscii(words::load("~~~~~~~~")));
}

// Every length around the two-load range, equal and differing at each place.
TEST(ByteWords, SameBytesAgreesWithComparison) {
  for (std::size_t n = 0; n <= 20; ++n) {
    const std::string a(n, 'x');
    EXPECT_TRUE(words::sameBytes(a, std::string(n, 'x')));
    EXPECT_FALSE(words::sameBytes(a, std::string(n + 1, 'x')));
    for (std::size_t place = 0; place < n; ++place) {
      std::string b = a;
      b[place] = 'y';
      EXPECT_FALSE(words::sameBytes(a, b)) << n << " " << place;
    }
  }
}

}  // namespace
}  // namespace vantorel
