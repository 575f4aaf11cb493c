#include "projectfile/kept_elements.hpp"

#include <string_view>

#include <pugixml.hpp>

#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

struct Kept {
  pugi::xml_document extensions;
  pugi::xml_document scripts;
};

Kept& kept() {
  thread_local Kept elements;
  return elements;
}

bool sameNameNoCase(const char* a, std::string_view b) {
  std::size_t i = 0;
  for (; a[i] != '\0' && i < b.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return a[i] == '\0' && i == b.size();
}

std::u16string attributeNoCase(const pugi::xml_node& node, std::string_view name) {
  for (const pugi::xml_attribute a : node.attributes()) {
    if (sameNameNoCase(a.name(), name)) return fromUtf8(a.value());
  }
  return {};
}

// The key a script list files a script under.
std::u16string scriptKey(const pugi::xml_node& node) {
  std::u16string key;
  for (const char* name : {"ScriptType", "ScriptCodeType", "ScriptName", "ScriptCtrlID",
                           "ScriptL1Key", "ScriptL2Key"}) {
    if (!key.empty()) key += u'_';
    key += attributeNoCase(node, name);
  }
  return key;
}

// Whether a kept element already stands for the same extension or script: the lists refuse a
// second one, so loading a file twice must not write its elements twice.
bool alreadyKept(const pugi::xml_document& kept, const pugi::xml_node& element,
                 std::u16string (*keyOf)(const pugi::xml_node&)) {
  const std::u16string key = keyOf(element);
  for (const pugi::xml_node other : kept.children()) {
    if (equalsNoCase(keyOf(other), key)) return true;
  }
  return false;
}

std::u16string extensionName(const pugi::xml_node& node) {
  return attributeNoCase(node, "Name");
}

void lineBreak(pugi::xml_node parent) {
  parent.append_child(pugi::node_pcdata).set_value("\r\n");
}

// A copy of the element's attributes under the element name the layout spells.
pugi::xml_node copyElement(pugi::xml_node parent, const char* name, const pugi::xml_node& from) {
  pugi::xml_node to = parent.append_child(name);
  for (const pugi::xml_attribute a : from.attributes()) {
    to.append_attribute(a.name()).set_value(a.value());
  }
  return to;
}

template <class Fn>
void forEachChild(const pugi::xml_node& node, std::string_view name, Fn&& fn) {
  for (const pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element && sameNameNoCase(child.name(), name)) fn(child);
  }
}

void writeExtTable(pugi::xml_node database, const pugi::xml_node& from) {
  pugi::xml_node table = copyElement(database, "ExtTable", from);
  lineBreak(table);
  for (const char* kind : {"ExtChart", "ExtField"}) {
    forEachChild(from, kind, [&](const pugi::xml_node& item) {
      copyElement(table, kind, item);
      lineBreak(table);
    });
  }
  lineBreak(database);
}

}  // namespace

void keepExtensionElement(const pugi::xml_node& element) {
  if (alreadyKept(kept().extensions, element, extensionName)) return;
  kept().extensions.append_copy(element);
}

void keepCustomScriptElement(const pugi::xml_node& element, const std::u16string& code) {
  if (alreadyKept(kept().scripts, element, scriptKey)) return;
  pugi::xml_node script = copyElement(kept().scripts, "CustomScript", element);
  script.append_child(pugi::node_cdata).set_value(toUtf8(code).c_str());
}

bool keptExtensions() noexcept {
  return kept().extensions.first_child();
}
bool keptCustomScripts() noexcept {
  return kept().scripts.first_child();
}

void writeKeptExtensions(pugi::xml_node root) {
  for (const pugi::xml_node from : kept().extensions.children()) {
    pugi::xml_node extension = copyElement(root, "Extension", from);
    bool project = false;
    forEachChild(from, "extproject", [&](const pugi::xml_node& projectFrom) {
      if (project) return;  // the layout has one
      project = true;
      lineBreak(extension);
      pugi::xml_node projectTo = copyElement(extension, "ExtProject", projectFrom);
      lineBreak(projectTo);
      bool database = false;
      forEachChild(projectFrom, "extdatabase", [&](const pugi::xml_node& databaseFrom) {
        if (database) return;
        database = true;
        pugi::xml_node databaseTo = copyElement(projectTo, "ExtDatabase", databaseFrom);
        lineBreak(databaseTo);
        forEachChild(databaseFrom, "exttable",
                     [&](const pugi::xml_node& table) { writeExtTable(databaseTo, table); });
      });
    });
    lineBreak(root);
  }
}

void writeKeptCustomScripts(pugi::xml_node root) {
  for (const pugi::xml_node from : kept().scripts.children()) {
    pugi::xml_node script = copyElement(root, "CustomScript", from);
    lineBreak(script);
    script.append_child(pugi::node_cdata).set_value(from.first_child().value());
    lineBreak(script);
    lineBreak(root);
  }
}

void forgetKeptElements() {
  kept().extensions.reset();
  kept().scripts.reset();
}

}  // namespace vantorel
