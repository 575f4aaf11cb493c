#pragma once
// CreateObject: ProgIDs mapped to constructors, compared without regard to case.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"

namespace vantorel {

class ClassFactory {
 public:
  using Constructor = std::function<Ref<Object>()>;

  static ClassFactory& instance();

  // Replaces an earlier registration of the same ProgID.
  void registerClass(std::u16string_view progId, Constructor constructor);
  bool isRegistered(std::u16string_view progId) const;
  // Raises 429 "ActiveX component can't create object" for an unknown ProgID.
  Ref<Object> create(std::u16string_view progId) const;

 private:
  ClassFactory() = default;
  std::vector<std::pair<std::u16string, Constructor>> classes_;
};

}  // namespace vantorel
