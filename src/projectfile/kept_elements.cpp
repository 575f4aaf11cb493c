#include "projectfile/kept_elements.hpp"

#include <string_view>

#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

struct Kept {
  xml::Document extensions;
  xml::Document scripts;
};

Kept& kept() {
  thread_local Kept elements;
  return elements;
}

// The key a script list files a script under.
std::u16string scriptKey(const xml::Node& node) {
  std::u16string key;
  for (const char* name : {"ScriptType", "ScriptCodeType", "ScriptName", "ScriptCtrlID",
                           "ScriptL1Key", "ScriptL2Key"}) {
    if (!key.empty()) key += u'_';
    key += xml::attributeTextNoCase(node, name);
  }
  return key;
}

// Whether a kept element already stands for the same extension or script: the lists refuse a
// second one, so loading a file twice must not write its elements twice.
bool alreadyKept(const xml::Document& kept, const xml::Node& element,
                 std::u16string (*keyOf)(const xml::Node&)) {
  const std::u16string key = keyOf(element);
  for (const xml::Node other : kept.children()) {
    if (equalsNoCase(keyOf(other), key)) return true;
  }
  return false;
}

std::u16string extensionName(const xml::Node& node) {
  return xml::attributeTextNoCase(node, "Name");
}

// A copy of the element's attributes under the element name the layout spells.
xml::Node copyElement(xml::Node parent, const char* name, const xml::Node& from) {
  xml::Node to = parent.append_child(name);
  for (const xml::Attribute a : from.attributes()) {
    to.append_attribute(a.name()).set_value(a.value());
  }
  return to;
}

template <class Fn>
void forEachChild(const xml::Node& node, std::string_view name, Fn&& fn) {
  for (const xml::Node child : node.children()) {
    if (child.type() == xml::kElementNode && xml::nameEqualsAscii(child.name(), name)) fn(child);
  }
}

void writeExtTable(xml::Node database, const xml::Node& from) {
  xml::Node table = copyElement(database, "ExtTable", from);
  xml::appendLineBreak(table);
  for (const char* kind : {"ExtChart", "ExtField"}) {
    forEachChild(from, kind, [&](const xml::Node& item) {
      copyElement(table, kind, item);
      xml::appendLineBreak(table);
    });
  }
  xml::appendLineBreak(database);
}

}  // namespace

void keepExtensionElement(const xml::Node& element) {
  if (alreadyKept(kept().extensions, element, extensionName)) return;
  kept().extensions.append_copy(element);
}

void keepCustomScriptElement(const xml::Node& element, const std::u16string& code) {
  if (alreadyKept(kept().scripts, element, scriptKey)) return;
  xml::Node script = copyElement(kept().scripts, "CustomScript", element);
  xml::appendCData(script, code);
}

bool keptExtensions() noexcept {
  return kept().extensions.first_child();
}
bool keptCustomScripts() noexcept {
  return kept().scripts.first_child();
}

void writeKeptExtensions(xml::Node root) {
  for (const xml::Node from : kept().extensions.children()) {
    xml::Node extension = copyElement(root, "Extension", from);
    bool project = false;
    forEachChild(from, "extproject", [&](const xml::Node& projectFrom) {
      if (project) return;  // the layout has one
      project = true;
      xml::appendLineBreak(extension);
      xml::Node projectTo = copyElement(extension, "ExtProject", projectFrom);
      xml::appendLineBreak(projectTo);
      bool database = false;
      forEachChild(projectFrom, "extdatabase", [&](const xml::Node& databaseFrom) {
        if (database) return;
        database = true;
        xml::Node databaseTo = copyElement(projectTo, "ExtDatabase", databaseFrom);
        xml::appendLineBreak(databaseTo);
        forEachChild(databaseFrom, "exttable",
                     [&](const xml::Node& table) { writeExtTable(databaseTo, table); });
      });
    });
    xml::appendLineBreak(root);
  }
}

void writeKeptCustomScripts(xml::Node root) {
  for (const xml::Node from : kept().scripts.children()) {
    xml::Node script = copyElement(root, "CustomScript", from);
    xml::appendLineBreak(script);
    script.append_child(xml::kCDataNode).set_value(from.first_child().value());
    xml::appendLineBreak(script);
    xml::appendLineBreak(root);
  }
}

void forgetKeptElements() {
  kept().extensions.reset();
  kept().scripts.reset();
}

}  // namespace vantorel
