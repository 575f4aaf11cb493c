#pragma once
// Where generation finds the input files of a template control: the template set's folder or an
// extension's template folder.
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// The folder an extension is unpacked into, below the extensions' work folder; nothing while
// that folder is unknown or when the name would lead outside it.
std::optional<std::u16string> ExtensionFolder(std::u16string_view name);
// The folder a control's input files are read from: the template set's for a control of the
// set, its extension's for one an extension added (empty when that extension has no folder).
std::u16string ControlSourceFolder(std::u16string_view extension);

// The name of a template file's working folders (its unpacked set and compiled templates): the
// file's name and a digest of its full path, so that two sets of one name in different folders
// never share (or fight over) one cache. Empty for an empty path.
std::u16string TemplateWorkName(std::u16string_view templateFile);
// TemplateWorkName of the current template: of TemplateFile while TemplateName is still the
// name that file gave, else TemplateName itself (set without a file, as tests and hosts may).
std::u16string CurrentTemplateWorkName();

// The path of the template set of that name shipped in the data folder's "templates" folder
// (the data folder VANTOREL_DATA names, else the program's).
std::u16string BundledTemplateSet(std::u16string_view name);

// The trimmed path with "\" appended unless it already ends with "\" or "/"; empty stays empty.
std::u16string AddBackslash(std::u16string_view path);

}  // namespace vantorel
