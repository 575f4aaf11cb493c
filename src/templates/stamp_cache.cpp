#include "templates/stamp_cache.hpp"

#include <limits>
#include <optional>
#include <string_view>

#include "foundation/captions.hpp"
#include "foundation/locale_charset.hpp"
#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/clock.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

constexpr std::size_t kMaxEntries = std::numeric_limits<std::int16_t>::max();
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

void makeFolder(const std::u16string& path) {
  if (!fs::createFolders(path)) {
    raiseVbError(vberr::kPathNotFound, u"Cannot create the folder " + path);
  }
}

// The current local time as 14 digits, YYYYMMDDHHNNSS.
std::u16string stampDigits() {
  const DateParts p = splitDate(sys::nowAsOleDate());
  std::u16string out;
  const int parts[] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
  for (std::size_t i = 0; i < 6; ++i) {
    out += toString(PadZero(Variant(static_cast<std::int32_t>(parts[i])),
                            Variant(std::int32_t{i == 0 ? 4 : 2})));
  }
  return out;
}

void appendAttribute(std::string& out, const char* name, std::u16string_view value) {
  out += name;
  out += "=\"";
  for (const char ch : toUtf8(value)) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(ch);
    }
  }
  out += "\" ";
}

}  // namespace

std::u16string templateCacheFolder() {
  std::u16string documents(trimBlanks(projectContext().myDocumentsFolder));
  if (documents.empty()) documents = sys::documentsFolder();
  if (documents.empty()) {
    raiseVbError(vberr::kPathNotFound, u"There is no documents folder for the template cache");
  }
  const std::u16string userData =
      fs::joinPath(documents, StripSpacesAndSlashes(projectContext().productName));
  makeFolder(userData);
  const std::u16string templates = fs::joinPath(userData, u"Templates");
  makeFolder(templates);
  const std::u16string name = StripSpacesAndSlashes(CurrentTemplateWorkName());
  const std::optional<std::u16string> folder =
      name.empty() ? std::optional<std::u16string>(templates) : fs::joinInside(templates, name);
  if (!folder) {
    raiseVbError(vberr::kPathNotFound, u"The template name \"" + projectContext().templateName +
                                           u"\" leads out of " + templates);
  }
  if (!fs::folderExists(*folder)) {
    // A file in the folder's place is kept under a dated name rather than lost.
    if (fs::fileExists(*folder)) {
      try {
        fs::renamePath(*folder, *folder + u"." + stampDigits());
      } catch (const fs::FileError& e) {
        raiseVbError(vberr::kPermissionDenied, fromUtf8(e.what()));
      }
    }
    makeFolder(*folder);
  }
  const std::u16string cache = fs::joinPath(*folder, u"cache");
  makeFolder(cache);
  return cache;
}

AGPCache::AGPCache() : cacheFile_(fs::joinPath(templateCacheFolder(), u"cache.xml")) {
  if (fs::fileExists(cacheFile_)) LoadCacheFile();
}

const ClassInfo& AGPCache::classInfo() const noexcept {
  return MemberTable<AGPCache>::get(u"AGPCache");
}

void AGPCache::LoadCacheFile() {
  xml::Document doc;
  if (xml::parseFile(doc, cacheFile_, xml::ReadMode::ExactWithProlog)) return;
  const xml::Node root = doc.document_element();
  if (std::string_view(root.name()) != "Cache") return;
  std::vector<Entry> loaded;
  for (const xml::Node child : root.children()) {
    if (child.type() != xml::kElementNode || std::string_view(child.name()) != "CacheEntry") {
      continue;
    }
    // A file longer than the list can hold is as unusable as a malformed one.
    if (loaded.size() >= kMaxEntries) return;
    Entry& e = loaded.emplace_back();
    e.Group = xml::attributeText(child, "Group");
    e.Key = xml::attributeText(child, "Key");
    e.DateTime = xml::attributeText(child, "DateTime");
    e.Size = xml::attributeText(child, "Size");
  }
  entries_ = std::move(loaded);
}

std::size_t AGPCache::find(const std::u16string& group, const std::u16string& key) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (equalsNoCase(entries_[i].Group, group) && equalsNoCase(entries_[i].Key, key)) return i;
  }
  return kNone;
}

bool AGPCache::AddCache(const Variant& sGroup, const Variant& sKey, const Variant& dt,
                        const Variant& size) {
  const std::u16string group = toString(sGroup);
  const std::u16string key = toString(sKey);
  std::u16string stamp = toString(FormatDateStamp(dt));
  std::u16string sizeText = toString(size);
  if (const std::size_t at = find(group, key); at != kNone) {
    entries_[at].DateTime = std::move(stamp);
    entries_[at].Size = std::move(sizeText);
    return true;
  }
  if (entries_.size() >= kMaxEntries) raiseVbError(vberr::kOverflow);
  entries_.push_back({group, key, std::move(stamp), std::move(sizeText)});
  return true;
}

bool AGPCache::DeleteCache(const Variant& sGroup, const Variant& sKey) {
  const std::size_t at = find(toString(sGroup), toString(sKey));
  if (at == kNone) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

bool AGPCache::DeleteCacheGroup(const Variant& sGroup) {
  const std::u16string group = toString(sGroup);
  const std::size_t before = entries_.size();
  std::erase_if(entries_, [&](const Entry& e) { return equalsNoCase(e.Group, group); });
  return entries_.size() != before;
}

bool AGPCache::DeleteAllCache() {
  entries_.clear();
  return false;
}

std::int16_t AGPCache::CheckCache(const Variant& sGroup, const Variant& sKey, const Variant& dt,
                                  const Variant& size) {
  const std::u16string stamp = toString(FormatDateStamp(dt));
  const std::size_t at = find(toString(sGroup), toString(sKey));
  if (at == kNone) return 2;
  const Entry& e = entries_[at];
  if (e.DateTime != stamp) return 1;
  if (size.isNumericType() || size.type() == VarType::Byte) {
    // A stored size that is no number cannot equal one.
    const std::optional<Variant> stored = parseNumber(trimBlanks(e.Size));
    if (!stored || toDouble(*stored) != toDouble(size)) return 1;
    return 0;
  }
  return e.Size == toString(size) ? 0 : 1;
}

Variant AGPCache::GetCacheDate(const Variant& sGroup, const Variant& sKey) {
  const std::size_t at = find(toString(sGroup), toString(sKey));
  if (at == kNone) return Variant::date(0.0);
  return Variant(entries_[at].DateTime);
}

bool AGPCache::MatchCacheGroup(const Variant& sGroup, const Variant& sList) {
  const std::u16string group = toString(sGroup);
  const std::u16string list = toString(sList);
  std::vector<std::u16string> lines;
  if (!list.empty()) lines = split(list, u"\r\n");
  std::vector<bool> marked(lines.size(), false);
  for (const Entry& e : entries_) {
    if (!equalsNoCase(e.Group, group)) continue;
    bool found = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (equalsNoCase(lines[i], e.Key)) {
        marked[i] = true;
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  for (const bool m : marked) {
    if (!m) return false;
  }
  return true;
}

void AGPCache::WriteCacheFile() {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<Cache ";
  appendAttribute(out, "Product", projectContext().productName);
  appendAttribute(out, "Version", projectContext().shortVersion);
  out += ">\r\n";
  for (const Entry& e : entries_) {
    out += "<CacheEntry ";
    appendAttribute(out, "Group", e.Group);
    appendAttribute(out, "Key", e.Key);
    appendAttribute(out, "DateTime", e.DateTime);
    appendAttribute(out, "Size", e.Size);
    out += "/>\r\n";
  }
  out += "</Cache>\r\n";
  try {
    fs::writeFileAtomic(cacheFile_, out);
  } catch (const fs::FileError& e) {
    raiseVbError(vberr::kPermissionDenied, fromUtf8(e.what()));
  }
  InitLocaleCharset();
}

}  // namespace vantorel
