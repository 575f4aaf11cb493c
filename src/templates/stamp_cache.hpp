#pragma once
// AGPCache: per template set, the modification stamp and size of each file a generation used,
// by group and key (both compared without regard to case), so that a later run can tell which
// files changed. Kept in "cache.xml" in the set's cache folder below the user's documents; the
// list is read when the object is made and written only by WriteCacheFile.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPCache final : public Object {
 public:
  // Creates the cache folder as needed and reads the cache file; raises when a folder cannot be
  // made or a file standing in the template folder's place cannot be moved aside.
  AGPCache();
  const ClassInfo& classInfo() const noexcept override;

  bool AddCache(const Variant& sGroup, const Variant& sKey, const Variant& dt, const Variant& size);
  bool DeleteCache(const Variant& sGroup, const Variant& sKey);
  bool DeleteCacheGroup(const Variant& sGroup);
  // Always false; nothing reads it.
  bool DeleteAllCache();
  // 2 no entry, 0 same stamp and size, 1 different.
  std::int16_t CheckCache(const Variant& sGroup, const Variant& sKey, const Variant& dt,
                          const Variant& size);
  // The stored stamp text, or the date value zero when there is no entry.
  Variant GetCacheDate(const Variant& sGroup, const Variant& sKey);
  // Whether the group's keys and the CR LF separated lines of sList are the same set.
  bool MatchCacheGroup(const Variant& sGroup, const Variant& sList);
  void WriteCacheFile();

  struct Entry {
    std::u16string Group;
    std::u16string Key;
    std::u16string DateTime;
    std::u16string Size;
  };
  const std::vector<Entry>& entries() const noexcept { return entries_; }
  const std::u16string& cacheFile() const noexcept { return cacheFile_; }

 private:
  void LoadCacheFile();
  std::size_t find(const std::u16string& group, const std::u16string& key) const;

  std::u16string cacheFile_;
  std::vector<Entry> entries_;
};

// The folder of the current template set's cache: the documents folder, the product's name,
// "Templates", the template's name (blanks and "/" removed from both names), "cache". Raises
// when there is no documents folder or the template's name would lead out of "Templates".
std::u16string templateCacheFolder();

}  // namespace vantorel
