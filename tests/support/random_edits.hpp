#pragma once
// The damage the parser fuzz tests do to a good input: one to four edits, each an erased run of
// up to maxErase bytes, an inserted byte from `inserts`, or a byte overwritten at random.
#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace vantorel::test {

inline std::string randomlyEdited(std::string text, std::mt19937& random, std::string_view inserts,
                                  unsigned maxErase) {
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !text.empty(); ++e) {
    const std::size_t at = random() % text.size();
    switch (random() % 3) {
      case 0:
        text.erase(at, 1 + random() % maxErase);
        break;
      case 1:
        text.insert(at, 1, inserts[random() % inserts.size()]);
        break;
      default:
        text[at] = static_cast<char>(random() % 256);
    }
  }
  return text;
}

// The damage the text conversion fuzz tests do: `edits` times a character of `alphabet` inserted
// or written over one, or one erased, each at a random place.
inline std::u16string randomlyEdited(std::u16string text, std::mt19937& random,
                                     std::u16string_view alphabet, int edits) {
  for (int e = 0; e < edits; ++e) {
    const char16_t c = alphabet[random() % alphabet.size()];
    const std::size_t at = text.empty() ? 0 : random() % text.size();
    switch (random() % 3) {
      case 0:
        text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c);
        break;
      case 1:
        if (!text.empty()) text[at] = c;
        break;
      default:
        if (!text.empty()) text.erase(at, 1);
    }
  }
  return text;
}

}  // namespace vantorel::test
