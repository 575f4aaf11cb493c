#pragma once
// UTF-16 is the engine's one inner text form; UTF-8 appears only at the edges.
#include <string>
#include <string_view>

namespace vantorel {

// Decodes UTF-8; malformed sequences become U+FFFD, never an error.
std::u16string fromUtf8(std::string_view utf8);
// Whether the bytes are well-formed UTF-8 (no overlong form, surrogate or code point above
// U+10FFFF); plain ASCII is.
bool isValidUtf8(std::string_view bytes) noexcept;
// Encodes UTF-16; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
// The same into a string kept from call to call, which keeps its memory.
void assignUtf8(std::string& out, std::u16string_view text);
// Appends one code point (at most U+10FFFF, no surrogate) as UTF-8.
void appendUtf8(std::string& out, char32_t cp);

// For literals and identifiers that are plain ASCII.
std::u16string fromAscii(std::string_view ascii);

}  // namespace vantorel
