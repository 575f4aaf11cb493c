#pragma once
// AGPFileCache: the named sections of the template files a generation has loaded, keyed by the
// name the file was added under and the section's name (both compared exactly). A section runs
// from "<!--##session name##-->" to the first "<!--##/session##-->" after it.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/object.hpp"

namespace vantorel {

class AGPFileCache final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  void Clear();
  // Adds every section of the file at FilePath under FileName; a missing file adds nothing.
  void AddFile(const std::u16string& FilePath, const std::u16string& FileName);
  // The section's text, "" when there is none.
  std::u16string GetSession(const std::u16string& FileName, const std::u16string& SessName) const;

  // For engine callers and tests.
  void addText(std::u16string_view text, const std::u16string& fileName);
  // nullptr when there is no such section.
  const std::u16string* find(std::u16string_view fileName, std::u16string_view sessName) const;
  std::size_t size() const noexcept { return entries_.size(); }
  // Whether a file was added under that name (a missing file is not).
  bool hasFile(std::u16string_view fileName) const;
  // The first fault of a file's section markers, with its line and column (a marker without its
  // "##-->", a section without its end), or nullptr when it had none: the sections it lost that
  // way must not be taken as merely empty.
  const std::u16string* fault(std::u16string_view fileName) const;

  struct Entry {
    std::u16string file;
    std::u16string section;
    std::u16string content;
  };
  const std::vector<Entry>& entries() const noexcept { return entries_; }

 private:
  void put(const std::u16string& fileName, std::u16string section, std::u16string content);

  std::vector<Entry> entries_;
  // file name -> the first fault of its markers ("" when none), for every file added
  std::unordered_map<std::u16string, std::u16string> files_;
  // file name -> section name -> index into entries_
  std::unordered_map<std::u16string, std::unordered_map<std::u16string, std::size_t>> index_;
};

// The thread's shared section cache, created on first use.
AGPFileCache& SharedFileCache();

}  // namespace vantorel
