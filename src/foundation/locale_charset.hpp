#pragma once
// The system's default code page and the name of its character set, the default of a project's
// XML encoding.
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

void InitLocaleCharset();
// The charset name of a code page given as a number or as its decimal text (NULs and
// surrounding blanks ignored): 1252 -> "iso-8859-1", 65001 -> "utf-8"; empty when unknown.
Variant CodePageToCharset(const Variant& codePage);

}  // namespace vantorel
