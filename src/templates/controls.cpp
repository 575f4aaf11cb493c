#include "templates/controls.hpp"

#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>

#include "foundation/captions.hpp"
#include "foundation/model_collection.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "platform/xml/text_position.hpp"

namespace vantorel {

namespace {

constexpr const char* kRootAttributes[] = {"date", "version", "desc", "author"};
constexpr std::size_t kMaxControls = std::numeric_limits<std::int16_t>::max();

Failure unloadable(std::u16string why) {
  return Failure{std::move(why), kControlFileUnloadable};
}

Failure foreign(std::u16string why) {
  return Failure{std::move(why), kControlFileForeign};
}

std::u16string productRootName() {
  return StripSpacesAndSlashes(projectContext().productName);
}

}  // namespace

const ClassInfo& AGPControls::classInfo() const noexcept {
  return MemberTable<AGPControls>::get(u"AGPControls");
}

bool AGPControls::LoadControls(const std::u16string& file) {
  return loadControlFile(file).ok();
}

Expected<> AGPControls::loadControlFile(const std::u16string& file) {
  loadWarnings_.clear();
  const std::optional<std::string> bytes = file.empty() ? std::nullopt : fs::readFile(file);
  if (!bytes) return unloadable(file + u": the file cannot be read");
  xml::Document doc;
  if (std::optional<xml::ParseError> error =
          xml::parseBuffer(doc, *bytes, xml::ReadMode::ExactWithProlog)) {
    error->file = file;
    return unloadable(error->text());
  }
  const xml::Node root = doc.document_element();
  const std::u16string rootName = xml::nameOf(root);
  const std::u16string product = productRootName();
  if (!equalsNoCase(std::u16string_view(rootName).substr(0, product.size()), product)) {
    items_.clear();
    return foreign(file + u": the root element \"" + rootName + u"\" does not name the product \"" +
                   product + u"\"");
  }
  // Everything is read and checked before anything is replaced, so that a file with a fault
  // leaves the controls as they were.
  std::u16string rootValues[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const xml::Attribute a = root.attribute(kRootAttributes[i]);
    if (!a) {
      return unloadable(file + u": " + xml::elementPosition(*bytes, root) +
                        u": the root element lacks the attribute \"" +
                        fromAscii(kRootAttributes[i]) + u"\"");
    }
    rootValues[i] = xml::valueOf(a);
  }
  std::vector<Ref<AGPControl>> loaded;
  std::vector<std::u16string> warnings;
  std::unordered_map<std::u16string, xml::Node> ids;
  try {
    for (const xml::Node child : root.children()) {
      if (!xml::isElementNamed(child, u"control")) continue;
      // Positions are counted only for a message, never for every control of a large file.
      const auto at = [&](const xml::Node& node) {
        return file + u": " + xml::elementPosition(*bytes, node) + u": ";
      };
      if (loaded.size() >= kMaxControls) return unloadable(at(child) + u"more than 32767 controls");
      auto control = makeRef<AGPControl>();
      if (Expected<> filled = control->Load(child); !filled) {
        return unloadable(at(child) + filled.failure().text);
      }
      // Both controls are kept; look-ups by id find the first, so the second is worth a
      // warning. Compiled names that clash are refused before a run compiles anything.
      const std::u16string& id = control->CtrlID();
      if (!id.empty()) {
        const auto [first, fresh] = ids.emplace(id, child);
        if (!fresh) {
          warnings.push_back(
              at(child) + u"the control id \"" + id + u"\" is used twice (first at " +
              xml::elementPosition(*bytes, first->second) + u"); look-ups by id find the first");
        }
      }
      loaded.push_back(std::move(control));
    }
  } catch (const AutomationError& e) {
    return unloadable(file + u": " + e.description());
  }
  items_ = std::move(loaded);
  loadWarnings_ = std::move(warnings);
  rootName_ = rootName;
  prodDate_ = std::move(rootValues[0]);
  prodVersion_ = std::move(rootValues[1]);
  prodDesc_ = std::move(rootValues[2]);
  prodAuthor_ = std::move(rootValues[3]);
  return {};
}

std::optional<std::size_t> AGPControls::find(const std::u16string& sId) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->CtrlID() == sId) return i;
  }
  return std::nullopt;
}

bool AGPControls::AddControl(const Ref<AGPControl>& ctrl) {
  if (!ctrl) raiseVbError(vberr::kObjectVariableNotSet);
  if (find(ctrl->CtrlID())) return false;
  if (items_.size() >= kMaxControls) raiseVbError(vberr::kOverflow);
  auto copy = makeRef<AGPControl>();
  AGControlFields& to = copy->fields();
  to = ctrl->fields();
  to.CtrlGen = false;
  to.CtrlRemark.clear();
  for (const Ref<AGPSession>& session : ctrl->Sessions()->items()) {
    session->setSessExt(ctrl->CtrlExt());
    copy->Sessions()->AddSession(session, u"", u"");
  }
  items_.push_back(std::move(copy));
  return true;
}

bool AGPControls::DeleteControl(const std::u16string& sId) {
  const std::optional<std::size_t> at = find(sId);
  if (!at) return false;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

bool AGPControls::ControlExist(const std::u16string& sId) const {
  return find(sId).has_value();
}

Ref<AGPControl> AGPControls::Item(const Variant& Index) {
  if (const std::optional<std::int32_t> position = itemPosition(Index, Count())) {
    if (*position == 0) return nullptr;
    curIndex_ = static_cast<std::int16_t>(*position);
    return items_[static_cast<std::size_t>(*position - 1)];
  }
  if (Index.type() != VarType::String) return nullptr;
  const std::optional<std::size_t> at = find(Index.stringValue());
  if (!at) return nullptr;
  curIndex_ = static_cast<std::int16_t>(*at + 1);
  return items_[*at];
}

void AGPControls::writeControlFile(const std::u16string& file) const {
  xml::Document doc;
  xml::Node declaration = doc.append_child(xml::kDeclarationNode);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  const std::u16string rootName = rootName_.empty() ? productRootName() : rootName_;
  xml::Node root = doc.append_child(toUtf8(rootName).c_str());
  const std::u16string* values[] = {&prodDate_, &prodVersion_, &prodDesc_, &prodAuthor_};
  for (std::size_t i = 0; i < 4; ++i) {
    root.append_attribute(kRootAttributes[i]) = toUtf8(*values[i]).c_str();
  }
  for (const Ref<AGPControl>& control : items_) {
    xml::Node element = root.append_child("control");
    control->save(element);
  }
  xml::saveFileAtomic(file, doc, xml::Encoding::Utf8, xml::Layout::Indented);
}

}  // namespace vantorel
