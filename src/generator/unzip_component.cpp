#include "generator/unzip_component.hpp"

#include <sys/stat.h>
#include <zip.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const noexcept { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
  void operator()(zip_file_t* file) const noexcept { zip_fclose(file); }
};
using EntryFile = std::unique_ptr<zip_file_t, EntryCloser>;

struct Entry {
  zip_uint64_t index = 0;
  std::u16string path;  // where it lands, inside the target folder
  bool folder = false;
};

bool isSymbolicLink(zip_t* archive, zip_uint64_t index) {
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) return false;
  return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// A template set's files are small; a larger entry is taken for a damaged or hostile archive
// rather than read into memory.
constexpr zip_uint64_t kLargestEntry = zip_uint64_t{256} << 20;

std::optional<std::string> readEntry(zip_t* archive, zip_uint64_t index) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
      stat.size > kLargestEntry) {
    return std::nullopt;
  }
  EntryFile file(zip_fopen_index(archive, index, 0));
  if (!file) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(stat.size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const zip_int64_t n = zip_fread(file.get(), bytes.data() + done, bytes.size() - done);
    if (n <= 0) return std::nullopt;
    done += static_cast<std::size_t>(n);
  }
  return bytes;
}

}  // namespace

const ClassInfo& UnzipComponent::classInfo() const noexcept {
  return MemberTable<UnzipComponent>::get(u"UnzipComponent");
}

std::int32_t UnzipComponent::fail(std::int32_t code, std::u16string message) {
  lastMessage_ = std::move(message);
  return code;
}

std::int32_t UnzipComponent::Extract() {
  lastMessage_.clear();
  fileCount_ = 0;
  if (action_ != kExtract && action_ != kTestOnly) {
    return fail(kBadAction, u"Unknown action " + fromUtf8(std::to_string(action_)) + u".");
  }
  if (targetFolder_.empty()) return fail(kNoTarget, u"No target folder.");
  if (zipFile_.empty() || !fs::fileExists(zipFile_)) {
    return fail(kNoArchive, u"Archive \"" + zipFile_ + u"\" not found.");
  }

  int error = 0;
  Archive archive(zip_open(fs::toNative(zipFile_).c_str(), ZIP_RDONLY, &error));
  if (!archive) {
    zip_error_t why;
    zip_error_init_with_code(&why, error);
    std::u16string reason = fromUtf8(zip_error_strerror(&why));
    zip_error_fini(&why);
    return fail(kNoArchive, u"Archive \"" + zipFile_ + u"\" cannot be opened: " + reason);
  }

  // Every entry is placed before anything is written, so a hostile archive leaves no trace.
  std::vector<Entry> entries;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* rawName = zip_get_name(archive.get(), index, ZIP_FL_ENC_GUESS);
    if (rawName == nullptr) {
      return fail(kNoArchive, u"Archive \"" + zipFile_ + u"\" has an unreadable entry.");
    }
    const std::u16string name = fromUtf8(rawName);
    const std::u16string normal = fs::normalizeSeparators(name);
    const bool folder = !normal.empty() && normal.back() == u'/';
    const bool absolute = !name.empty() && fs::isSeparator(name.front());
    std::u16string relative = useFolders_ ? normal : fs::fileNameOf(normal);
    if (!useFolders_ && folder) continue;
    const std::optional<std::u16string> path =
        absolute ? std::nullopt : fs::joinInside(targetFolder_, relative);
    if (!path || isSymbolicLink(archive.get(), index)) {
      return fail(kRefused, u"Archive \"" + zipFile_ + u"\" refused: its entry \"" + name +
                                u"\" would land outside the folder \"" + targetFolder_ + u"\".");
    }
    entries.push_back({index, *path, folder});
  }

  for (const Entry& e : entries) {
    if (!e.folder) ++fileCount_;
  }
  if (action_ == kTestOnly) return kOk;
  fileCount_ = 0;

  if (!fs::createFolders(targetFolder_)) {
    return fail(kNoTarget, u"Folder \"" + targetFolder_ + u"\" cannot be created.");
  }
  for (const Entry& e : entries) {
    if (e.folder) {
      if (!fs::createFolders(e.path)) {
        return fail(kWriteFailed, u"Folder \"" + e.path + u"\" cannot be created.");
      }
      continue;
    }
    if (!overwrite_ && fs::fileExists(e.path)) continue;
    const std::optional<std::string> bytes = readEntry(archive.get(), e.index);
    if (!bytes) {
      return fail(kWriteFailed, u"Archive \"" + zipFile_ + u"\": the entry for \"" + e.path +
                                    u"\" is damaged or too large.");
    }
    const std::u16string parent = fs::parentFolder(e.path);
    if (!parent.empty()) fs::createFolders(parent);
    try {
      fs::writeFileAtomic(e.path, *bytes);
    } catch (const fs::FileError& err) {
      return fail(kWriteFailed, fromUtf8(err.what()));
    }
    ++fileCount_;
  }
  return kOk;
}

UnzipComponent& SharedUnzipComponent() {
  return sharedObject<UnzipComponent>(projectContext().unzip);
}

}  // namespace vantorel
