#pragma once
// The project file reader: AGP.Load with its version and extension checks, the refused conversion,
// the recursive node reader that fills the model, and the small attribute accessors that
// language-file generation shares.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class AGP;
class AGProperties;

// 2 when a's major part is newer, 1 when its minor part is, -1 when one of the first three
// parts is older, else 0. A part that is no 16-bit whole number raises 13.
std::int16_t CompareVersion(std::u16string_view a, std::u16string_view b);

// The value of the first attribute whose name equals name without regard to case; "" when none.
std::u16string GetNodeAttribNoCase(const xml::Node& node, std::u16string_view name);
// The attribute of exactly that name as text; "" when the node is unset or lacks it.
Variant GetNodeAttribute(const xml::Node& node, std::u16string_view name);
// Adds or replaces the attribute; does nothing for an unset node.
void SetNodeAttribute(xml::Node node, std::u16string_view name, const Variant& value);

// Copies an element's attributes into the bag: declared FileSave settings converted to their
// types, unknown names declared as saved settings (typed by the custom settings file on the
// project element) so that a later save writes them back unchanged.
void LoadNodeAttribs(const xml::Node& node, AGProperties& props);

// Reads the children of one element into the model (model elements, then extension elements).
void LoadProjectNode(AGP& project, const xml::Node& node);

// The text after the last "." of the path's file name; nothing when the name has no ".".
std::optional<std::u16string> projectFileExtension(std::u16string_view path);

// Asked, with the question's text, when the live schema differs from the project: True keeps
// the project's definition, False updates it from the database.
using KeepOldDefinition = std::function<bool(const std::u16string& question)>;

// Whether the load runs the schema check the project asks for (AutoSync). A caller that checks
// and synchronises in the open itself skips it.
enum class LoadSchemaCheck { AsProjectAsks, Skip };

// What a load went on past, for its caller to warn the user of.
struct ProjectLoadWarnings {
  // The database of a project that asks for the synchronisation check could not be read, and
  // the load went on without the check: the warning's text; empty when it was read.
  std::u16string unreadableDatabase;

  bool any() const noexcept { return !unreadableDatabase.empty(); }
};

// AGP.Load: reads the project file into the project. The outcome is left in the project
// context's lastErrorText, empty after success. The file itself is only read. A keyword or
// custom settings file that does not load is shown as it is read; what else the user is to be
// warned of is returned, for the caller to show. The keep-or-update question goes to keepOld
// (without one, the definition is kept).
ProjectLoadWarnings loadProject(AGP& project, const std::u16string& projFile,
                                const KeepOldDefinition& keepOld = {},
                                LoadSchemaCheck check = LoadSchemaCheck::AsProjectAsks);

}  // namespace vantorel
