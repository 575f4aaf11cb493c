#pragma once
// Single-byte code pages at the file and OS edges. Windows-1252 uses our own table so that
// the five bytes Windows leaves unassigned round-trip (as U+0081, U+008D, U+008F, U+0090, U+009D).
#include <string>
#include <string_view>

namespace vantorel {

constexpr int kCodePageWindows1252 = 1252;
constexpr int kCodePageLatin1 = 28591;
constexpr int kCodePageAscii = 20127;
constexpr int kCodePageUtf8 = 65001;

// True for the code pages this build can convert.
bool isSupportedCodePage(int codePage) noexcept;

// Decodes bytes in the code page; unsupported code pages are read as Windows-1252.
std::u16string decodeCodePage(std::string_view bytes, int codePage);
// Encodes text; a character the code page lacks becomes '?', as Windows' best-fit-less
// conversion does.
std::string encodeCodePage(std::u16string_view text, int codePage);

// The system ("ANSI") code page: Windows-1252 unless VANTOREL_CODEPAGE names another.
int systemCodePage() noexcept;
std::u16string fromAnsi(std::string_view bytes);
std::string toAnsi(std::u16string_view text);

}  // namespace vantorel
