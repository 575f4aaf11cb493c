#pragma once
// The code base: a read-only library of named script snippets kept in one XML file (root
// element "<product>.codebase", one <code scripttype codetype name> element with a CDATA text
// per snippet), handed out by script type, code type and name. The thread's one AGPCodeBase is
// filled by Load and replaced only by the next good Load.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

struct CodeBaseSnippet {
  std::u16string scriptType, codeType, codeName, source;
};

// The snippets of a code base file's text, or the reason it is unusable. A snippet whose keys
// match an earlier one (letter case aside) replaces that one's text in its place.
struct CodeBaseRead {
  std::vector<CodeBaseSnippet> snippets;
  std::u16string error;   // empty when the file was read
  std::u16string detail;  // where and what, when known
};
CodeBaseRead ReadCodeBase(std::string_view bytes, std::u16string_view file = {});

class AGPCodeBase final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  std::int16_t curIndex() const noexcept { return 0; }
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(snippets_.size()); }
  bool CodeExist(const std::u16string& scriptType, const std::u16string& codeType,
                 const std::u16string& name) const;
  // With every LF as CR LF; "" when no snippet matches.
  std::u16string CodeSource(const std::u16string& scriptType, const std::u16string& codeType,
                            const std::u16string& name) const;
  // Reads the file into a new list and takes it only when the whole file was good, so a bad
  // file leaves the snippets of the last good one. False, with the reason kept, otherwise.
  bool Load(const std::u16string& file);

  const std::u16string& loadErrorText() const noexcept { return loadErrorText_; }
  const std::vector<CodeBaseSnippet>& snippets() const noexcept { return snippets_; }

  bool scriptLoad(Variant& file) { return Load(toText(file)); }

 private:
  static std::u16string toText(const Variant& v);
  const CodeBaseSnippet* match(const std::u16string& scriptType, const std::u16string& codeType,
                               const std::u16string& name) const;

  std::vector<CodeBaseSnippet> snippets_;
  std::u16string loadErrorText_;
};

AGPCodeBase& SharedCodeBase();

}  // namespace vantorel
