#pragma once
// Scripting.FileSystemObject: path text functions that never touch the disk, and the methods
// that hand out File, Folder, Drive and TextStream objects.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class FsFile;
class FsFolder;
class FsDrive;
class FsDrives;
class TextStream;

// Helpers shared by the file-system objects.
namespace fso {

// File attribute bits as scripts test them.
constexpr std::int32_t kAttrReadOnly = 1;
constexpr std::int32_t kAttrHidden = 2;
constexpr std::int32_t kAttrDirectory = 16;
constexpr std::int32_t kAttrArchive = 32;

constexpr std::int32_t kForReading = 1;
constexpr std::int32_t kForWriting = 2;
constexpr std::int32_t kForAppending = 8;
constexpr std::int32_t kTristateUseDefault = -2;
constexpr std::int32_t kTristateTrue = -1;
constexpr std::int32_t kTristateFalse = 0;

// Absolute, with '/' separators, "." and ".." resolved against the current folder.
std::u16string absolutePath(std::u16string_view path);
// The last element of the path as the user wrote it; "" for a root.
std::u16string fileName(std::u16string_view path);
std::u16string parentFolderName(std::u16string_view path);

std::int32_t attributesOf(std::u16string_view path);
void setAttributes(std::u16string_view path, std::int32_t attributes);
enum class Stamp { Created, Modified, Accessed };
// As a Date Variant; raises `missingError` when the path is gone.
Variant stampOf(std::u16string_view path, Stamp stamp, std::int32_t missingError);
// Long when it fits, else Double, as the size properties report.
Variant sizeVariant(std::uint64_t size);
// Renames within the same folder (the Name property): 58 when the new name is taken.
std::u16string renameTo(std::u16string_view path, std::u16string_view newName);

// Copies and moves that File, Folder and FileSystemObject share. A destination ending with a
// separator names the folder to put the item into.
void copyOneFile(std::u16string_view source, std::u16string_view destination, bool overwrite);
void copyOneFolder(std::u16string_view source, std::u16string_view destination, bool overwrite);
void moveOne(std::u16string_view source, std::u16string_view destination, bool isFolder);
void deleteOneFile(std::u16string_view path, bool force);
void deleteOneFolder(std::u16string_view path, bool force);

// Opens a text stream as OpenTextFile does, raising 53, 58, 70, 76 or 5.
Ref<TextStream> openTextFile(std::u16string_view path, std::int32_t ioMode, bool create,
                             std::int32_t format, bool mustNotExist = false);

}  // namespace fso

class FileSystemObject : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  std::u16string BuildPath(const std::u16string& path, const std::u16string& name);
  void CopyFile(const std::u16string& source, const std::u16string& destination,
                std::optional<bool> overwrite);
  void CopyFolder(const std::u16string& source, const std::u16string& destination,
                  std::optional<bool> overwrite);
  Ref<FsFolder> CreateFolder(const std::u16string& path);
  Ref<TextStream> CreateTextFile(const std::u16string& path, std::optional<bool> overwrite,
                                 std::optional<bool> unicode);
  void DeleteFile(const std::u16string& spec, std::optional<bool> force);
  void DeleteFolder(const std::u16string& spec, std::optional<bool> force);
  bool DriveExists(const std::u16string& spec);
  bool FileExists(const std::u16string& path);
  bool FolderExists(const std::u16string& path);
  std::u16string GetAbsolutePathName(const std::u16string& path);
  std::u16string GetBaseName(const std::u16string& path);
  std::u16string GetExtensionName(const std::u16string& path);
  std::u16string GetFileName(const std::u16string& path);
  std::u16string GetParentFolderName(const std::u16string& path);
  std::u16string GetDriveName(const std::u16string& path);
  Ref<FsDrive> GetDrive(const std::u16string& spec);
  Ref<FsDrives> Drives();
  Ref<FsFile> GetFile(const std::u16string& path);
  Ref<FsFolder> GetFolder(const std::u16string& path);
  Ref<FsFolder> GetSpecialFolder(std::int32_t which);
  // The process's standard input (0), output (1) or error (2) as a TextStream.
  Ref<Object> GetStandardStream(std::int32_t which, std::optional<bool> unicode);
  std::u16string GetTempName();
  std::u16string GetFileVersion(const std::u16string& path);
  void MoveFile(const std::u16string& source, const std::u16string& destination);
  void MoveFolder(const std::u16string& source, const std::u16string& destination);
  Ref<TextStream> OpenTextFile(const std::u16string& path, std::optional<std::int32_t> ioMode,
                               std::optional<bool> create, std::optional<std::int32_t> format);
};

}  // namespace vantorel::vbs
