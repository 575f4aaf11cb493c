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
      EXPECT_EQ(words::hasByte(w, '>'), value == '>');
      EXPECT_EQ(words::hasByte(w, '"'), value == '"');
      EXPECT_EQ(words::hasByte(w, 0), value == 0);
      EXPECT_EQ(words::allPrintableAscii(w), value >= 0x20 && value < 0x80);
    }
  }
  // Neighbours of a match neither hide nor fake one.
  EXPECT_TRUE(words::hasByte(words::load("\x01>\x01>\xff\xff\xff\xff"), '>'));
  EXPECT_FALSE(words::hasByte(words::load("\x3f\x3d\xbe\x3e\x00\x7f\x80\xff"), '<'));
  EXPECT_TRUE(words::allPrintableAscii(words::load("        \x1f")));  // the ninth is not read
  EXPECT_TRUE(words::allPrintableAscii(words::load("~~~~~~~~")));
}

}  // namespace
}  // namespace vantorel
