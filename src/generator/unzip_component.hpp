#pragma once
// UnzipComponent: unpacks a zip archive (a zipped template set) into a folder, sub-folders
// included. An archive that names any entry outside the target folder (an absolute name, a
// drive, ".." climbing above it, a symbolic link) is refused whole, so nothing of it is written.
#include <cstdint>
#include <string>

#include "platform/automation/object.hpp"

namespace vantorel {

class UnzipComponent final : public Object {
 public:
  // The results of Extract.
  static constexpr std::int32_t kOk = 0;
  static constexpr std::int32_t kNoArchive = 1;    // missing, unreadable or not a zip archive
  static constexpr std::int32_t kNoTarget = 2;     // no target folder, or it cannot be made
  static constexpr std::int32_t kRefused = 3;      // an entry would land outside the target
  static constexpr std::int32_t kWriteFailed = 4;  // an entry could not be read or written
  static constexpr std::int32_t kBadAction = 5;    // Action is neither 1 nor 2

  // Action values: unpack the archive, or only check that it could be unpacked.
  static constexpr std::int32_t kExtract = 1;
  static constexpr std::int32_t kTestOnly = 2;

  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& ZipFile() const noexcept { return zipFile_; }
  void setZipFile(const std::u16string& v) { zipFile_ = v; }
  const std::u16string& TargetFolder() const noexcept { return targetFolder_; }
  void setTargetFolder(const std::u16string& v) { targetFolder_ = v; }
  // Replace files that exist already (else they are kept).
  bool Overwrite() const noexcept { return overwrite_; }
  void setOverwrite(bool v) noexcept { overwrite_ = v; }
  // Keep the archive's sub-folders (else every file lands in the target folder itself).
  bool UseFolders() const noexcept { return useFolders_; }
  void setUseFolders(bool v) noexcept { useFolders_ = v; }
  std::int32_t Action() const noexcept { return action_; }
  void setAction(std::int32_t v) noexcept { action_ = v; }

  // One of the results above; the reason of a failure is left in LastMessage.
  std::int32_t Extract();
  const std::u16string& LastMessage() const noexcept { return lastMessage_; }
  // Files written (or, when testing, that would be written) by the last Extract.
  std::int32_t FileCount() const noexcept { return fileCount_; }

 private:
  std::int32_t fail(std::int32_t code, std::u16string message);

  std::u16string zipFile_;
  std::u16string targetFolder_;
  bool overwrite_ = true;
  bool useFolders_ = true;
  std::int32_t action_ = kExtract;
  std::u16string lastMessage_;
  std::int32_t fileCount_ = 0;
};

// The unpacker generation uses, one per thread, created on first use.
UnzipComponent& SharedUnzipComponent();

}  // namespace vantorel
