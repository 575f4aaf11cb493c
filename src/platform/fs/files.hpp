#pragma once
// File and folder operations. Every write replaces its target atomically: the bytes go to a
// temporary file in the same folder, are flushed, and are renamed over the target, so a failed
// write leaves the old file as it was.
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel::fs {

class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& what, std::string reason = {})
      : std::runtime_error(what), reason_(std::move(reason)) {}
  // The system's reason alone ("No space left on device"); the whole message when none is known.
  std::string reason() const { return reason_.empty() ? what() : reason_; }

 private:
  std::string reason_;
};

bool fileExists(std::u16string_view path);
bool folderExists(std::u16string_view path);

// Whole-file read; nothing when the file is missing or cannot be read.
std::optional<std::string> readFile(std::u16string_view path);
// Throws FileError, naming the path and the reason, when the file cannot be written. A write
// through a symbolic link replaces the file it points to, unless linkFreeRoot names the folder
// path lies in: then no link below that folder is followed (link_free_paths.hpp), the missing
// folders below it are made, and a link in the way is refused. A new file gets newFileMode
// when given, else what the umask leaves; an existing one keeps its permissions.
void writeFileAtomic(std::u16string_view path, std::string_view bytes,
                     std::u16string_view linkFreeRoot = {},
                     std::optional<unsigned> newFileMode = std::nullopt);
// Adds the bytes at the end of the file, creating it when missing: for logs that a second run
// extends. Throws FileError, naming the path and the reason, when it cannot.
void appendFile(std::u16string_view path, std::string_view bytes);

// Creates the folder and every missing parent; true when it exists afterwards.
bool createFolders(std::u16string_view path);
// The same, throwing FileError with the system's reason when the folder cannot be made.
void makeFolders(std::u16string_view path);
// Creates the folder and its missing parents like createFolders; the folder itself, when this
// made it, is for its owner only (0700). One that exists keeps its permissions.
bool createPrivateFolder(std::u16string_view path);

// Permissions of files that hold secrets: read and write for their owner only.
inline constexpr unsigned kPrivateFileMode = 0600;
// Throws FileError on failure; a missing source is a failure. linkFreeRoot as for
// writeFileAtomic, for the target. A new target gets the source's permissions, or
// newFileMode when given; an existing one keeps its own.
void copyFile(std::u16string_view from, std::u16string_view to, bool overwrite,
              std::u16string_view linkFreeRoot = {},
              std::optional<unsigned> newFileMode = std::nullopt);
// Copies every file below `from` into `to`, making the folders, each file replaced atomically
// as copyFile does: a copy cut short leaves each file whole, old or new. Files only in `to`
// stay. Throws FileError at the first file or folder that cannot be copied. linkFreeRoot as for
// writeFileAtomic, for every folder and file made in `to`.
void copyFolder(std::u16string_view from, std::u16string_view to,
                std::u16string_view linkFreeRoot = {});
// The same copy, over an existing target, without waiting for the disk: for a copy that a flush
// of its whole file system makes durable later (DeferredWrites::commit of files in its folder).
void copyFileUnflushed(std::u16string_view from, std::u16string_view to,
                       std::u16string_view linkFreeRoot = {});
// Gives the file's present bytes the name backup, replacing what that name held: a second link
// to the same file, so that nothing is copied or waited for. Only for a file that is replaced by
// renames from now on (as every write here does), which leave the backup's bytes as they were;
// where the file system has no hard links, an unflushed copy. Throws FileError.
void keepAsBackup(std::u16string_view file, std::u16string_view backup,
                  std::u16string_view linkFreeRoot = {});
// True when the file is gone afterwards (also when it never existed).
bool deleteFile(std::u16string_view path);
void renamePath(std::u16string_view from, std::u16string_view to);  // throws FileError

// Deletes the temporary files that writers killed before their rename left in the folder (and,
// with recursive, in its subfolders): those whose writing process no longer runs. Returns how
// many were deleted; an unreadable folder is skipped.
std::size_t removeStaleTemporaries(std::u16string_view folder, bool recursive);

std::vector<std::u16string> listFiles(std::u16string_view folder);    // names, sorted
std::vector<std::u16string> listFolders(std::u16string_view folder);  // names, sorted

std::optional<std::chrono::system_clock::time_point> modifiedTime(std::u16string_view path);
std::optional<std::uint64_t> fileSize(std::u16string_view path);

// What tells one version of a file from the next: a file replaced atomically is a new inode,
// one rewritten in place changes its size or modification time.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// One stat; nothing when the path is missing or a folder (where fileExists is false).
std::optional<FileStamp> fileStamp(std::u16string_view path);

}  // namespace vantorel::fs
