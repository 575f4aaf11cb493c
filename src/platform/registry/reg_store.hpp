#pragma once
// One settings store: a registry export text file holding one hive. Reads come from an
// in-memory copy that is refreshed whenever the file changed on disk. A write holds an
// exclusive lock on "<file>.lock", re-reads the file if another writer changed it, applies the
// change to a copy and replaces the file atomically, so concurrent writers never lose each
// other's values. A file that cannot be parsed is never replaced.
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/registry/reg_key.hpp"

namespace vantorel::reg {

class RegStore {
 public:
  // rootName is the hive's full name ("HKEY_CURRENT_USER"). A missing file is an empty hive.
  RegStore(std::u16string path, std::u16string rootName, bool readOnly);
  RegStore(const RegStore&) = delete;
  RegStore& operator=(const RegStore&) = delete;

  const std::u16string& path() const noexcept { return path_; }
  const std::u16string& rootName() const noexcept { return rootName_; }
  bool readOnly() const noexcept { return readOnly_; }

  // The hive as the file now holds it; the tree stays valid and unchanged however the store
  // changes later. Throws RegParseError for an unparsable file, RegStoreError for an unreadable
  // one.
  std::shared_ptr<const RegKey> snapshot();

  // Applies change to the current hive and saves the result; change returns whether it changed
  // anything (nothing is saved when not). Throws RegStoreError for a read-only store, a file
  // that cannot be read, parsed or written, and passes on whatever change throws; in each case
  // the file is left as it was.
  void update(const std::function<bool(RegKey& root)>& change);

 private:
  struct Stamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long modifiedSeconds = 0, modifiedNanos = 0, changedSeconds = 0, changedNanos = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  struct FileState {
    Stamp stamp;
    std::string bytes;
  };

  Stamp statFile() const;
  FileState readFile() const;
  void load(FileState state);

  const std::u16string path_;
  const std::u16string rootName_;
  const bool readOnly_;

  std::mutex mutex_;  // guards the cached copy below
  Stamp stamp_;
  std::string bytes_;
  std::shared_ptr<const RegKey> root_;
};

}  // namespace vantorel::reg
