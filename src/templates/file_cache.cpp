#include "templates/file_cache.hpp"

#include <utility>

#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "foundation/text_files.hpp"
#include "platform/automation/bind.hpp"
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
  using T = AGPFileCache;
  static const ClassInfo info(u"AGPFileCache", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .method<&T::Clear>(u"Clear")
        .method<&T::AddFile>(u"AddFile")
        .method<&T::GetSession>(u"GetSession");
  });
  return info;
}

void AGPFileCache::Clear() {
  entries_.clear();
  index_.clear();
}

void AGPFileCache::AddFile(const std::u16string& FilePath, const std::u16string& FileName) {
  if (FilePath.empty() || !fs::fileExists(FilePath)) return;
  const std::u16string text = toString(ReadTextFile(Variant(FilePath)));
  addText(text, FileName);
}

void AGPFileCache::addText(std::u16string_view text, const std::u16string& fileName) {
  // The end marker last found; since start markers are met in order, it serves every section
  // that starts before it, and the text is scanned for end markers only once.
  std::size_t close = 0;
  bool closeKnown = false;
  for (std::size_t p = templates::findMarker(text, kSectionOpen, 0); p != kNotFound;) {
    Status().Refresh();
    const std::size_t nameStart = p + kSectionOpen.size();
    const std::size_t q = templates::findMarker(text, kBlockClose, nameStart);
    if (q == kNotFound) break;
    const std::size_t contentStart = q + kBlockClose.size();
    if (!closeKnown || (close != kNotFound && close < contentStart)) {
      close = templates::findMarker(text, kSectionClose, contentStart);
      closeKnown = true;
    }
    // A start marker without an end marker after it drops only its own section.
    if (close != kNotFound) {
      put(fileName, std::u16string(trimBlanks(text.substr(nameStart, q - nameStart))),
          std::u16string(text.substr(contentStart, close - contentStart)));
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

std::u16string AGPFileCache::GetSession(const std::u16string& FileName,
                                        const std::u16string& SessName) const {
  const std::u16string* content = find(FileName, SessName);
  return content ? *content : std::u16string();
}

AGPFileCache& SharedFileCache() {
  return sharedObject<AGPFileCache>(projectContext().fileCache);
}

}  // namespace vantorel
