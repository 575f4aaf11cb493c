#pragma once
// What the project object does through the layers built on top of it: the project file saves
// and loads it, the template engine runs a piece of template text for it, generation makes its
// site. Each of those layers installs its operations once at start-up, so that this layer links
// without them; a member whose operation is not installed raises 445.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

class AGP;

struct ProjectOperations {
  void (*save)(AGP& project, const std::u16string& projFile) = nullptr;
  void (*load)(AGP& project, const std::u16string& projFile) = nullptr;
  void (*saveDefault)(AGP& project) = nullptr;
  std::u16string (*buildExParseFunction)(AGP& project, const std::u16string& text) = nullptr;
  void (*genScript)(AGP& project) = nullptr;
  std::int16_t (*genCheck)(AGP& project) = nullptr;
  // Helpers of the project file that scripts reach as the project's members.
  std::int16_t (*compareVersion)(std::u16string_view a, std::u16string_view b) = nullptr;
  std::int16_t (*boolToNum)(const Variant& value) = nullptr;
  bool (*writeOutputFile)(const std::u16string& path, const std::u16string& text,
                          bool plainOnly) = nullptr;
  bool (*writeUtf8File)(const std::u16string& path, std::u16string_view text) = nullptr;
  void (*deleteFolderIfExists)(const std::u16string& folder) = nullptr;
};

// Process-wide, like the class factory: filled at start-up, before any project object runs.
ProjectOperations& projectOperations() noexcept;

}  // namespace vantorel
