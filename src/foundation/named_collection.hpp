#pragma once
// NamedCollection<T>: the collections whose items carry their own name (tables, charts,
// trendlines, fields). Their Add and Change take one course, written once here; what each does
// its own way (a name held already, what a rename carries along) is passed in.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "foundation/model_collection.hpp"

namespace vantorel {

template <class T>
class NamedCollection : public ModelCollection<T> {
 protected:
  // What Add does with a name an item holds already, in any case.
  enum class HeldName { Refused, MadeCurrent };
  // What Change does with a NewName another item holds.
  enum class Clash {
    // False, changing nothing; renaming an item to its own name passes as it is.
    Refused,
    // The keys' own change raises its duplicate-key error.
    Raised,
  };

  // Add: "" is refused, and so may be a name held already, which is otherwise made current with
  // its number `seq(item)`. A name an item carries in its setting `nameRow`, written there
  // straight, is that item's: `rename(stored)` renames it rather than make a second one.
  // Otherwise the new item is appended (`init` and `number` as appendNew takes them) and becomes
  // current.
  template <class Rename, class Init, class Number, class Seq>
  bool addNamed(const std::u16string& name, SettingSlot nameRow, HeldName held, Rename rename,
                Init init, Number number, Seq seq) {
    if (name.empty()) return false;
    if (T* existing = this->find(name)) {
      if (held == HeldName::Refused) return false;
      setCurrent(name, std::invoke(seq, *existing));
      return true;
    }
    if (std::optional<std::u16string> stored = this->storedNameMatching(name, nameRow)) {
      return rename(*stored);
    }
    setCurrent(name, this->appendNew(name, init, number));
    return true;
  }

  // Change: "" on either side and a missing OldName are refused; a held NewName as `clash` says.
  // `rekey(item)` renames the item, kept alive meanwhile, and gives its number; the item then
  // becomes current, and `carry(item)` takes the new name to what knew the old one.
  template <class Rekey, class Carry>
  bool changeNamed(const std::u16string& oldName, const std::u16string& newName, Clash clash,
                   Rekey rekey, Carry carry) {
    if (oldName.empty() || newName.empty()) return false;
    if (clash == Clash::Refused && oldName == newName) return true;
    T* item = clash == Clash::Refused ? this->renameable(oldName, newName) : this->find(oldName);
    if (!item) return false;
    Ref<T> hold(item);
    setCurrent(newName, rekey(*item));
    carry(*item);
    return true;
  }

  // The item last added, renamed or looked up: its name as the caller spelt it, and its number.
  void setCurrent(std::u16string name, std::int16_t seq) {
    curName_ = std::move(name);
    curSeq_ = seq;
  }

  std::u16string curName_;
  std::int16_t curSeq_ = 0;
};

}  // namespace vantorel
