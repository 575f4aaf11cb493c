#pragma once
// An extension's declaration file: the settings it adds at project, database, table, chart
// and field level. Each level is one element at a fixed path (//Project, //Project/Database,
// //Project/Database/Table, .../Table/Chart, .../Table/Field), which may carry a condition
// ("cond") and holds one <attribute name type default> element per setting.
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/expected.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class AGProperties;

enum class DeclarationLevel { Project, Database, Table, Chart, Field };

// The level a node type names ("project", "database", "table", "chart", "field", any case);
// any other text names the project level.
DeclarationLevel declarationLevelNamed(std::u16string_view nodeType);

// One declaration file read for one operation; nothing is kept between operations, so each
// reads the file afresh.
class ExtensionDeclarations {
 public:
  // Reads the file named by xmlFile below the extensions folder. Fails, with the reason, for an
  // empty name, a name that would lead outside that folder, a file that is missing or is no XML.
  Expected<> load(std::u16string_view xmlFile);
  Expected<> loadText(std::string_view bytes);
  // The first element at the level's path, in document order; an empty node when none.
  xml::Node node(DeclarationLevel level) const;

 private:
  xml::Document doc_;
};

// The path of a declaration file below the extensions folder; nothing when the name is empty
// or leads outside it.
std::optional<std::u16string> declarationFilePath(std::u16string_view xmlFile);

// Declares in the bag each setting the node's attribute elements name that the bag lacks, as a
// saved and copied setting with its default converted to its type. Nothing for an empty node.
void LoadAttributeDefs(AGProperties& properties, const xml::Node& node);
// The node's "cond" attribute (name in any case); "" for an empty node or none.
std::u16string GetCondAttr(const xml::Node& node);

// The declared default of the setting named exactly attName under the node, converted by its
// type (a "String" loses enclosing quotes), or its text when it names no type; "" when no
// attribute element declares that name.
Variant DeclaredDefault(const xml::Node& node, std::u16string_view attName);

}  // namespace vantorel
