#pragma once
// Internet character-set names ("utf-8", "Windows-1252") and the code pages they stand for,
// shared by every reader that honours a declared encoding.
#include <string_view>

namespace vantorel {

constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;

// The code page of a character-set name, compared without case; 0 when unknown.
int codePageOfCharset(std::u16string_view charset);

}  // namespace vantorel
