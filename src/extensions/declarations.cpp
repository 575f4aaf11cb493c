#include "extensions/declarations.hpp"

#include <array>

#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
#include "foundation/value_conversion.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

// Each level's path, element names from the outermost; the first may stand at any depth.
std::array<const char*, 3> pathOf(DeclarationLevel level, std::size_t& steps) {
  switch (level) {
    case DeclarationLevel::Project:
      steps = 1;
      return {"Project", nullptr, nullptr};
    case DeclarationLevel::Database:
      steps = 2;
      return {"Project", "Database", nullptr};
    case DeclarationLevel::Table:
      steps = 3;
      return {"Project", "Database", "Table"};
    case DeclarationLevel::Chart:
      steps = 4;
      return {"Project", "Database", "Table"};
    case DeclarationLevel::Field:
      steps = 4;
      return {"Project", "Database", "Table"};
  }
  steps = 1;
  return {"Project", nullptr, nullptr};
}

const char* lastStep(DeclarationLevel level, const std::array<const char*, 3>& path,
                     std::size_t steps) {
  if (level == DeclarationLevel::Chart) return "Chart";
  if (level == DeclarationLevel::Field) return "Field";
  return path[steps - 1];
}

struct AttributeRecord {
  std::u16string name, type, defaultText;
};

// One attribute element's three XML attributes, names in any case; a repeated one overwrites.
AttributeRecord readRecord(const xml::Node& element, std::u16string_view typeFallback) {
  AttributeRecord r{{}, std::u16string(typeFallback), {}};
  for (xml::Attribute a = element.first_attribute(); a; a = a.next_attribute()) {
    const std::u16string name = toLower(xml::nameOf(a));
    if (name == u"name") {
      r.name = xml::valueOf(a);
    } else if (name == u"type") {
      r.type = xml::valueOf(a);
    } else if (name == u"default") {
      r.defaultText = xml::valueOf(a);
    }
  }
  return r;
}

bool isAttributeElement(const xml::Node& node) {
  return node.type() == xml::kElementNode && toLower(xml::nameOf(node)) == u"attribute";
}

}  // namespace

DeclarationLevel declarationLevelNamed(std::u16string_view nodeType) {
  const std::u16string name = toLower(nodeType);
  if (name == u"database") return DeclarationLevel::Database;
  if (name == u"table") return DeclarationLevel::Table;
  if (name == u"chart") return DeclarationLevel::Chart;
  if (name == u"field") return DeclarationLevel::Field;
  return DeclarationLevel::Project;
}

std::optional<std::u16string> declarationFilePath(std::u16string_view xmlFile) {
  if (xmlFile.empty()) return std::nullopt;
  return fs::joinInside(projectContext().extensionsFolder, xmlFile);
}

Expected<> ExtensionDeclarations::load(std::u16string_view xmlFile) {
  doc_.reset();
  const std::optional<std::u16string> path = declarationFilePath(xmlFile);
  if (!path) {
    return Failure{u"The declaration file name \"" + std::u16string(xmlFile) +
                   u"\" leads outside the extensions folder."};
  }
  if (std::optional<xml::ParseError> error = xml::parseFile(doc_, *path, xml::ReadMode::Exact)) {
    return Failure{error->text()};
  }
  return {};
}

Expected<> ExtensionDeclarations::loadText(std::string_view bytes) {
  doc_.reset();
  if (std::optional<xml::ParseError> error = xml::parseBuffer(doc_, bytes, xml::ReadMode::Exact)) {
    return Failure{error->text()};
  }
  return {};
}

xml::Node ExtensionDeclarations::node(DeclarationLevel level) const {
  std::size_t steps = 0;
  const std::array<const char*, 3> path = pathOf(level, steps);
  const char* last = lastStep(level, path, steps);
  // The candidates in document order; the first whose ancestors spell the rest of the path.
  for (const xml::Node& candidate : xml::descendantsNamed(doc_, last)) {
    xml::Node up = candidate.parent();
    bool matches = true;
    for (std::size_t i = steps - 1; i-- > 0;) {
      if (!up || up.type() != xml::kElementNode || std::string_view(up.name()) != path[i]) {
        matches = false;
        break;
      }
      up = up.parent();
    }
    if (matches) return candidate;
  }
  return {};
}

void LoadAttributeDefs(AGProperties& properties, const xml::Node& node) {
  if (!node) return;
  for (xml::Node child = node.first_child(); child; child = child.next_sibling()) {
    if (!isAttributeElement(child)) continue;
    const AttributeRecord r = readRecord(child, u"String");
    if (r.name.empty() || r.type.empty() || properties.exists(r.name)) continue;
    properties.add(r.name, r.type, false, 0, true, true);
    if (!r.defaultText.empty()) {
      const std::optional<SettingSlot> slot = properties.slotOf(r.name);
      if (slot) properties.setValue(*slot, ConvertValue(Variant(r.defaultText), Variant(r.type)));
    }
  }
}

std::u16string GetCondAttr(const xml::Node& node) {
  if (!node) return {};
  for (xml::Attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    if (toLower(xml::nameOf(a)) == u"cond") return xml::valueOf(a);
  }
  return {};
}

Variant DeclaredDefault(const xml::Node& node, std::u16string_view attName) {
  if (!node) return Variant(std::u16string());
  for (xml::Node child = node.first_child(); child; child = child.next_sibling()) {
    if (!isAttributeElement(child)) continue;
    const AttributeRecord r = readRecord(child, u"");
    if (r.name != attName) continue;
    if (r.type.empty()) return Variant(r.defaultText);
    return ConvertSetting(Variant(r.defaultText), Variant(r.type));
  }
  return Variant(std::u16string());
}

}  // namespace vantorel
