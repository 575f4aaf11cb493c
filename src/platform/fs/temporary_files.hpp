#pragma once
// The steps of an atomic replacement, for writers that make many files durable together
// (DeferredWrites) as well as for the one-file writes of files.hpp.
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace vantorel::fs {

// Writes a new temporary file beside target (resolved through a symbolic link, unless
// linkFreeRoot is given: see writeFileAtomic) with the target's permissions, flushed to disk
// when flush is set; its path. Throws FileError, leaving nothing behind.
std::filesystem::path prepareTemporary(std::u16string_view displayPath,
                                       std::filesystem::path& target,
                                       const std::function<int(int fd)>& writeBody,
                                       std::optional<mode_t> modeForNewFile, bool overwrite,
                                       bool flush, std::u16string_view linkFreeRoot = {});
// Renames the temporary over the target; throws FileError, removing the temporary.
void placeTemporary(std::u16string_view displayPath, const std::filesystem::path& temp,
                    const std::filesystem::path& target, bool overwrite);
// Flushes the folder's entries (the renames in it) to disk; failures are ignored.
void syncFolder(const std::filesystem::path& folder);
// Writes everything or returns false with errno set.
bool writeAll(int fd, const char* data, std::size_t size);

}  // namespace vantorel::fs
