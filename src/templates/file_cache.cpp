#include "templates/file_cache.hpp"

#include <utility>

#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "foundation/text_files.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/strings.hpp"
#include "templates/markers.hpp"

namespace vantorel {

using templates::kBlockClose;
using templates::kNotFound;
using templates::kSectionClose;
using templates::kSectionOpen;

const ClassInfo& AGPFileCache::classInfo() const noexcept {
  return MemberTable<AGPFileCache>::get(u"AGPFileCache");
}

void AGPFileCache::Clear() {
  entries_.clear();
  index_.clear();
  files_.clear();
}

void AGPFileCache::AddFile(const std::u16string& FilePath, const std::u16string& FileName) {
  if (FilePath.empty() || !fs::fileExists(FilePath)) return;
  const std::u16string text = toString(ReadTextFile(Variant(FilePath)));
  addText(text, FileName);
}

namespace {

// "line L column C" of a position, both from 1; columns count UTF-16 code units.
std::u16string positionOf(std::u16string_view text, std::size_t at) {
  const std::u16string_view before = text.substr(0, at);
  std::size_t line = 1;
  for (const char16_t c : before) line += c == u'\n' ? 1 : 0;
  const std::size_t lineStart = before.find_last_of(u'\n');
  const std::size_t column = lineStart == kNotFound ? at + 1 : at - lineStart;
  return u"line " + toU16(static_cast<long long>(line)) + u" column " +
         toU16(static_cast<long long>(column));
}

}  // namespace

void AGPFileCache::addText(std::u16string_view text, const std::u16string& fileName) {
  // The end marker last found; since start markers are met in order, it serves every section
  // that starts before it, and the text is scanned for end markers only once.
  std::u16string& fault = files_[fileName];
  const auto noteFault = [&](std::u16string what, std::size_t at) {
    if (fault.empty()) fault = what + u" at " + positionOf(text, at);
  };
  std::size_t close = 0;
  bool closeKnown = false;
  for (std::size_t p = templates::findMarker(text, kSectionOpen, 0); p != kNotFound;) {
    Status().Refresh();
    const std::size_t nameStart = p + kSectionOpen.size();
    const std::size_t q = templates::findMarker(text, kBlockClose, nameStart);
    if (q == kNotFound) {
      noteFault(u"\"<!--##session\" without its \"##-->\"", p);
      break;
    }
    const std::u16string_view name = trimBlanks(text.substr(nameStart, q - nameStart));
    // A closer past the end of the line belongs to a later marker: this one lost its own.
    if (name.find_first_of(u"\r\n") != std::u16string_view::npos) {
      noteFault(u"\"<!--##session\" without its \"##-->\"", p);
      p = templates::findMarker(text, kSectionOpen, nameStart);
      continue;
    }
    const std::size_t contentStart = q + kBlockClose.size();
    if (!closeKnown || (close != kNotFound && close < contentStart)) {
      close = templates::findMarker(text, kSectionClose, contentStart);
      closeKnown = true;
    }
    // A start marker without an end marker after it drops only its own section.
    if (close != kNotFound) {
      put(fileName, std::u16string(name),
          std::u16string(text.substr(contentStart, close - contentStart)));
    } else {
      noteFault(u"Section \"" + std::u16string(name) + u"\" without its \"<!--##/session##-->\"",
                p);
    }
    p = templates::findMarker(text, kSectionOpen, contentStart);
  }
}

void AGPFileCache::put(const std::u16string& fileName, std::u16string section,
                       std::u16string content) {
  auto& sections = index_[fileName];
  if (auto it = sections.find(section); it != sections.end()) {
    entries_[it->second].content = std::move(content);
    return;
  }
  sections.emplace(section, entries_.size());
  entries_.push_back({fileName, std::move(section), std::move(content)});
}

const std::u16string* AGPFileCache::find(std::u16string_view fileName,
                                         std::u16string_view sessName) const {
  const auto file = index_.find(std::u16string(fileName));
  if (file == index_.end()) return nullptr;
  const auto section = file->second.find(std::u16string(sessName));
  if (section == file->second.end()) return nullptr;
  return &entries_[section->second].content;
}

bool AGPFileCache::hasFile(std::u16string_view fileName) const {
  return files_.contains(std::u16string(fileName));
}

const std::u16string* AGPFileCache::fault(std::u16string_view fileName) const {
  const auto it = files_.find(std::u16string(fileName));
  return it == files_.end() || it->second.empty() ? nullptr : &it->second;
}

std::u16string AGPFileCache::GetSession(const std::u16string& FileName,
                                        const std::u16string& SessName) const {
  const std::u16string* content = find(FileName, SessName);
  return content ? *content : std::u16string();
}

AGPFileCache& SharedFileCache() {
  return sharedObject<AGPFileCache>(projectContext().fileCache);
}

}  // namespace vantorel
