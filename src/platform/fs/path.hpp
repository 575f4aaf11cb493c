#pragma once
// Engine paths are UTF-16 text that may use '\' or '/'; the engine forms them with '/'.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::fs {

bool isSeparator(char16_t c) noexcept;

// Both separators become '/'; repeated separators collapse (a leading "//" stays one).
std::u16string normalizeSeparators(std::u16string_view path);
// The OS path for engine text.
std::filesystem::path toNative(std::u16string_view path);
std::u16string fromNative(const std::filesystem::path& path);

// Joins with one '/' between the parts (either part may end or begin with a separator).
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);
// Joins a stored relative name below folder; nothing when the result would leave folder
// (an absolute name, a drive, or ".." that climbs above it).
std::optional<std::u16string> joinInside(std::u16string_view folder, std::u16string_view relative);
// The elements of a path written with '/', without empty and "." ones, each ".." taking away
// the element before it. A ".." with nothing before it gives nothing, or with `stopAtTop` is
// dropped, as at the root.
std::optional<std::vector<std::u16string_view>> pathElements(std::u16string_view path,
                                                             bool stopAtTop);

std::u16string parentFolder(std::u16string_view path);  // "" when there is none
std::u16string fileNameOf(std::u16string_view path);    // the last element
std::u16string baseNameOf(std::u16string_view path);    // the last element without extension
std::u16string extensionOf(std::u16string_view path);   // without the dot; "" when none

}  // namespace vantorel::fs
