#pragma once
// The few components of a Windows web server the generated pages create besides ADODB:
// MSXML2.DOMDocument (loading a file, XPath selection, attributes) and Scriptlet.TypeLib (a
// fresh GUID, the usual source of unguessable tokens in classic ASP).
#include <string_view>

#include "platform/automation/object.hpp"

namespace vantorel::test::asp {

// Nothing for another ProgID.
Ref<Object> createServerComponent(std::u16string_view progId);

}  // namespace vantorel::test::asp
