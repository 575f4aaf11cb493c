#pragma once
// Extension and CustomScript elements of loaded project files, kept as they were read while no
// extensions subsystem is installed to take them, and written back by the next save in the
// file's layout: a project saved here keeps what a fuller engine stored in it. Per thread, as
// the extension and custom-script lists they stand in for.
#include <string>

#include "platform/xml/xml_document.hpp"

namespace vantorel {

// An extension whose Name, or a script whose keys, are kept already are not kept again.
void keepExtensionElement(const xml::Node& element);
void keepCustomScriptElement(const xml::Node& element, const std::u16string& code);
bool keptExtensions() noexcept;
bool keptCustomScripts() noexcept;
// Each kept element, followed by a line break; the block's leading line break is the caller's.
void writeKeptExtensions(xml::Node root);
void writeKeptCustomScripts(xml::Node root);
void forgetKeptElements();

}  // namespace vantorel
