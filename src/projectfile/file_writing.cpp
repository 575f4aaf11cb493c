#include "projectfile/file_writing.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <variant>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/value_conversion.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/link_free_paths.hpp"
#include "platform/fs/path.hpp"
#include "platform/fs/temporary_files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The file system's reason as the script error a caller expects: a missing folder is "Path not
// found", anything else "Permission denied"; the description names the file and the cause.
[[noreturn]] void raiseFileError(const std::u16string& path, const fs::FileError& e) {
  const std::u16string folder = fs::parentFolder(path);
  const bool folderMissing = !folder.empty() && !fs::folderExists(folder);
  raiseVbError(folderMissing ? vberr::kPathNotFound : vberr::kPermissionDenied, fromUtf8(e.what()));
}

std::u16string readOnlyDescription(const std::u16string& path) {
  return u"Permission denied: '" + path + u"' is read-only";
}

void refuseReadOnly(const std::u16string& path) {
  if (isReadOnlyFile(path)) raiseVbError(vberr::kPermissionDenied, readOnlyDescription(path));
}

void showFailure(std::u16string_view what, const std::u16string& path,
                 std::u16string_view description) {
  std::u16string text(what);
  text += u" '";
  text += path;
  text += u"', error description: ";
  text += description;
  ui::messageBox(text);
}

// Replaces path with the bytes; raises the file system's reason, keeping the old file. A link
// in the way is named rather than the read-only file it may lead to.
void replaceFile(const std::u16string& path, std::string_view bytes,
                 std::u16string_view linkFreeRoot) {
  try {
    if (!linkFreeRoot.empty()) fs::refuseLinksBelow(linkFreeRoot, path);
    refuseReadOnly(path);
    fs::writeFileAtomic(path, bytes, linkFreeRoot);
  } catch (const fs::FileError& e) {
    raiseFileError(path, e);
  }
}

// The bytes of a file: given, or made when they are written (on the deferred writes' thread).
using OutputBytes = std::variant<std::string, std::pair<std::function<std::string()>, std::size_t>>;

// Writes a file a run produces. A failure is shown as `what` says, and the file is reported
// unwritten with the system's reason, so that an unattended run cannot end as a success.
bool writeOutput(std::u16string_view what, const std::u16string& path, OutputBytes bytes,
                 fs::DeferredWrites* outputs = nullptr, std::optional<bool> readOnly = std::nullopt,
                 std::u16string_view linkFreeRoot = {},
                 std::optional<unsigned> newFileMode = std::nullopt) {
  std::u16string description;
  std::u16string reason;
  if (readOnly ? *readOnly : isReadOnlyFile(path)) {
    description = readOnlyDescription(path);
    reason = u"Permission denied (the file is read-only)";
  } else {
    try {
      auto* made = std::get_if<1>(&bytes);
      if (outputs && made) {
        outputs->write(path, std::move(made->first), made->second, linkFreeRoot, newFileMode);
      } else if (outputs) {
        outputs->write(path, std::get<0>(std::move(bytes)), linkFreeRoot, newFileMode);
      } else {
        fs::writeFileAtomic(path, made ? made->first() : std::get<0>(bytes), linkFreeRoot,
                            newFileMode);
      }
      return true;
    } catch (const fs::FileError& e) {
      description = fromUtf8(e.what());
      reason = fromUtf8(e.reason());
    }
  }
  ui::reportUnwritten(path, reason);
  showFailure(what, path, description);
  return false;
}

std::string utf8WithMark(std::u16string_view text) {
  std::string bytes(kUtf8Mark);
  bytes += toUtf8(text);
  return bytes;
}

// The file names of the folder written last, by their lower-case form. A generation writes
// thousands of files into a few folders; listing the folder for every file would cost the square
// of their number. The folder's modification time says when something else changed it.
struct FolderNames {
  std::u16string folder;
  std::optional<std::chrono::system_clock::time_point> stamp;
  std::unordered_multimap<std::u16string, std::u16string> byLowerName;
};

FolderNames& folderNames() {
  thread_local FolderNames names;
  return names;
}

std::u16string folderOf(const std::u16string& path) {
  const std::u16string folder = fs::parentFolder(path);
  return folder.empty() ? std::u16string(u".") : folder;
}

// While a batch of deferred writes goes into the folder, the folder changes by the batch's
// temporaries, made on another thread: the listing kept in step by noteWritten holds.
FolderNames& currentNames(const std::u16string& folder, const fs::DeferredWrites* outputs) {
  FolderNames& names = folderNames();
  if (names.folder == folder && outputs && outputs->writesInto(fs::toNative(folder))) return names;
  const auto stamp = fs::modifiedTime(folder);
  if (names.folder != folder || !stamp || names.stamp != stamp) {
    names.byLowerName.clear();
    for (const std::u16string& name : fs::listFiles(folder)) {
      names.byLowerName.emplace(toLower(name), name);
    }
    names.folder = folder;
    names.stamp = stamp;
  }
  return names;
}

// A file in the same folder whose name equals the requested one only without regard to case.
std::u16string sameNameOtherCase(const std::u16string& path, const fs::DeferredWrites* outputs) {
  const std::u16string folder = folderOf(path);
  const std::u16string name = fs::fileNameOf(path);
  const auto [first, last] = currentNames(folder, outputs).byLowerName.equal_range(toLower(name));
  for (auto it = first; it != last; ++it) {
    if (it->second != name) return fs::joinPath(folder, it->second);
  }
  return {};
}

// Keeps the listing of the folder in step with a file this thread wrote or renamed. While a
// batch of deferred writes goes into the folder, its stamp is not looked at (currentNames), and
// the batch's renames change it again when it commits.
void noteWritten(const std::u16string& path, const fs::DeferredWrites* outputs) {
  FolderNames& names = folderNames();
  const std::u16string folder = folderOf(path);
  if (names.folder != folder) return;
  const std::u16string name = fs::fileNameOf(path);
  const std::u16string lower = toLower(name);
  // Only the entries of this name are looked at: a run writes thousands of files into one
  // folder, and a pass over all of them for each write would cost the square of their number.
  bool listed = false;
  for (auto [it, last] = names.byLowerName.equal_range(lower); it != last;) {
    if (it->second != name && !fs::fileExists(fs::joinPath(folder, it->second))) {
      it = names.byLowerName.erase(it);
      continue;
    }
    listed = listed || it->second == name;
    ++it;
  }
  if (!listed) names.byLowerName.emplace(lower, name);
  if (!outputs || !outputs->writesInto(fs::toNative(folder)))
    names.stamp = fs::modifiedTime(folder);
}

bool utf8OutputChosen() {
  const Variant value = ConvertSetting(
      GetRegValue(u"HKCU", projectContext().generalKey, u"UTF8Project"), Variant(u"Boolean"));
  try {
    return toBool(value);
  } catch (const AutomationError&) {
    return false;
  }
}

}  // namespace

namespace {

// What a write finds at its target, from one look: a page costs one `stat` of it, not two.
struct TargetFile {
  bool exists = false;    // something other than a folder
  bool readOnly = false;  // a regular file that nobody may write
};

// With noFollow a link is looked at itself: not read-only, so that its writer refuses it by name.
TargetFile lookAtTarget(const std::u16string& path, bool noFollow = false) {
  struct stat st {};
  const std::string native = fs::toNative(path).string();
  if ((noFollow ? ::lstat(native.c_str(), &st) : ::stat(native.c_str(), &st)) != 0) return {};
  return {!S_ISDIR(st.st_mode),
          S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0};
}

}  // namespace

bool isReadOnlyFile(const std::u16string& path) {
  return lookAtTarget(path).readOnly;
}

std::string xmlDocumentText(const xml::Document& doc) {
  return xml::documentBytes(doc);
}

void SaveXmlFile(const std::u16string& path, const xml::Document& doc, const Variant& utf8,
                 std::u16string_view linkFreeRoot) {
  if (toBool(utf8)) {
    replaceFile(path, std::string(kUtf8Mark) + xml::documentBytes(doc), linkFreeRoot);
    return;
  }
  replaceFile(path, xml::documentBytes(doc, xml::declaredEncoding(doc)), linkFreeRoot);
}

namespace {

// A write the file system refused, with its errno, out of the markup writer's sink.
struct SinkFailure {
  int error;
};

}  // namespace

void SaveXmlStreamed(const std::u16string& path,
                     const std::function<void(xml::MarkupWriter&)>& write,
                     std::u16string_view linkFreeRoot, const std::function<void()>& beforeReplace,
                     std::optional<unsigned> newFileMode) {
  // What `write` raised, kept while the temporary is taken away.
  std::exception_ptr raised;
  const auto body = [&](int fd) {
    try {
      xml::MarkupWriter out([fd](std::string_view bytes) {
        if (!fs::writeAll(fd, bytes.data(), bytes.size())) throw SinkFailure{errno};
      });
      out.raw(kUtf8Mark);
      write(out);
      out.flush();
    } catch (const SinkFailure& failure) {
      return failure.error;
    } catch (...) {
      raised = std::current_exception();
      return ECANCELED;
    }
    return 0;
  };
  try {
    if (!linkFreeRoot.empty()) fs::refuseLinksBelow(linkFreeRoot, path);
    refuseReadOnly(path);
    std::filesystem::path target = fs::toNative(path);
    const std::filesystem::path temp = fs::prepareTemporary(
        path, target, body, newFileMode ? std::optional<mode_t>(*newFileMode) : std::nullopt, true,
        true, linkFreeRoot);
    if (beforeReplace) {
      try {
        beforeReplace();
      } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw;
      }
    }
    fs::placeTemporary(path, temp, target, true);
    fs::syncFolder(target.parent_path());
  } catch (const fs::FileError& e) {
    if (raised) std::rethrow_exception(raised);
    raiseFileError(path, e);
  }
}

bool WriteUtf8File(const std::u16string& path, std::u16string_view text) {
  return writeOutput(u"Error in writing utf8 data to file", path, utf8WithMark(text));
}

bool WriteOutputFile(const std::u16string& path, const std::u16string& text, bool plainOnly) {
  return WriteOutputFile(path, text, plainOnly, nullptr);
}

namespace {

constexpr std::u16string_view kUtf8Failure = u"Error in writing utf8 data to file";
constexpr std::u16string_view kTextFailure = u"Error in writing text data to file";

// A generated text as the user's option has it: UTF-8 with its mark, or the system code page.
std::string outputBytes(std::u16string_view text, bool utf8) {
  return utf8 ? utf8WithMark(text) : toAnsi(text);
}

// An old output whose name differs only in letter case is the same output and takes the
// requested spelling: the file system compares names exactly. Whether it took one.
bool takeRequestedSpelling(const std::u16string& path, const fs::DeferredWrites* outputs,
                           bool targetExists) {
  if (targetExists) return false;
  const std::u16string actual = sameNameOtherCase(path, outputs);
  if (actual.empty()) return false;
  try {
    fs::renamePath(actual, path);
    noteWritten(path, outputs);
    return true;
  } catch (const fs::FileError& e) {
    ui::messageBox(u"Error in moving file '" + actual + u"' to '" + path +
                   u"', error description: " + fromUtf8(e.what()));
  }
  return false;
}

// Whether the target is read-only, when the first look at it still holds: a file renamed into
// its place is looked at again.
std::optional<bool> readOnlyTarget(const std::u16string& path, const fs::DeferredWrites* outputs,
                                   bool noFollow) {
  const TargetFile target = lookAtTarget(path, noFollow);
  if (takeRequestedSpelling(path, outputs, target.exists)) return std::nullopt;
  return target.readOnly;
}

}  // namespace

bool WriteOutputFile(const std::u16string& path, std::function<std::u16string()> makeText,
                     std::size_t sizeHint, fs::DeferredWrites& outputs,
                     std::u16string_view linkFreeRoot, std::optional<unsigned> newFileMode) {
  const std::optional<bool> readOnly = readOnlyTarget(path, &outputs, !linkFreeRoot.empty());
  const bool utf8 = utf8OutputChosen();
  auto make = [makeText = std::move(makeText), utf8] { return outputBytes(makeText(), utf8); };
  const bool written =
      writeOutput(utf8 ? kUtf8Failure : kTextFailure, path,
                  std::pair{std::function<std::string()>(std::move(make)), sizeHint}, &outputs,
                  readOnly, linkFreeRoot, newFileMode);
  if (written) noteWritten(path, &outputs);
  return written;
}

bool WriteOutputFile(const std::u16string& path, const std::u16string& text, bool plainOnly,
                     fs::DeferredWrites* outputs, std::u16string_view linkFreeRoot,
                     std::optional<unsigned> newFileMode) {
  const std::optional<bool> readOnly = readOnlyTarget(path, outputs, !linkFreeRoot.empty());
  const bool utf8 = utf8OutputChosen() && !plainOnly;
  const bool written =
      writeOutput(utf8 ? kUtf8Failure : kTextFailure, path, outputBytes(text, utf8), outputs,
                  readOnly, linkFreeRoot, newFileMode);
  if (written) noteWritten(path, outputs);
  return written;
}

}  // namespace vantorel
